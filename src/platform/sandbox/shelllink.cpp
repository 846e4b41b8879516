// The sandbox's shell link: shortcut files in a text format of its own, a magic first line
// and one "key=value" line per field. Failures come back as the HRESULTs the real object
// gives: the Win32 error of opening the file, E_FAIL for a file that is no shortcut.
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"
#include "platform/shelllink.h"

namespace {

using platform::HResultFromWin32;
using platform::kEFail;
using platform::kSFalse;

constexpr const char* kMagic = "[Purgelint sandbox shortcut]";

std::string Format(const sandbox::Shortcut& link) {
    std::ostringstream text;
    text << kMagic << "\n"
         << "path=" << link.path << "\n"
         << "description=" << link.description << "\n"
         << "arguments=" << link.arguments << "\n"
         << "workingDirectory=" << link.workingDirectory << "\n"
         << "iconPath=" << link.iconPath << "\n"
         << "iconIndex=" << link.iconIndex << "\n"
         << "hotkey=" << link.hotkey << "\n"
         << "showCommand=" << link.showCommand << "\n";
    return text.str();
}

template <typename Number>
bool ParseNumber(const std::string& text, Number& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseField(const std::string& key, const std::string& value, sandbox::Shortcut& link) {
    if (key == "path")
        link.path = value;
    else if (key == "description")
        link.description = value;
    else if (key == "arguments")
        link.arguments = value;
    else if (key == "workingDirectory")
        link.workingDirectory = value;
    else if (key == "iconPath")
        link.iconPath = value;
    else if (key == "iconIndex")
        return ParseNumber(value, link.iconIndex);
    else if (key == "hotkey")
        return ParseNumber(value, link.hotkey);
    else if (key == "showCommand")
        return ParseNumber(value, link.showCommand);
    else
        return false;
    return true;
}

// The shortcut in `bytes`, or nothing when they are not one.
std::optional<sandbox::Shortcut> Parse(const std::string& bytes) {
    std::istringstream text(bytes);
    std::string line;
    if (!std::getline(text, line) || line != kMagic) return std::nullopt;
    sandbox::Shortcut link;
    while (std::getline(text, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos ||
            !ParseField(line.substr(0, equals), line.substr(equals + 1), link))
            return std::nullopt;
    }
    return link;
}

// Text as the real getters return it: up to the first NUL, at most 259 characters.
std::string FromBuffer(const std::string& text) {
    return text.substr(0, std::min<size_t>(text.find('\0'), platform::kMaxPath - 1));
}

}  // namespace

namespace platform {

struct ShellLink::Impl {
    sandbox::Shortcut link;  // what the last Load read, with the changes since
};

ShellLink::ShellLink(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ShellLink::~ShellLink() = default;

HResult ShellLink::Instance(ShellLink*& link) {
    static ShellLink* const theLink = new ShellLink(std::make_unique<Impl>());  // never released
    link = theLink;
    return kSOk;
}

HResult ShellLink::Load(const std::string& file, std::uint32_t) {
    if (const long error = OpenForReading(file); error != kErrorSuccess)
        return HResultFromWin32(error);
    const auto link = Parse(sandbox::ReadFile(file).value_or(""));
    if (!link) return kEFail;
    impl_->link = *link;
    return kSOk;
}

HResult ShellLink::GetPath(std::string& path, std::uint32_t) {
    path = FromBuffer(impl_->link.path);
    return path.empty() ? kSFalse : kSOk;
}

HResult ShellLink::GetDescription(std::string& description) {
    description = FromBuffer(impl_->link.description);
    return kSOk;
}

HResult ShellLink::GetArguments(std::string& arguments) {
    arguments = FromBuffer(impl_->link.arguments);
    return kSOk;
}

HResult ShellLink::GetHotkey(std::uint16_t& hotkey) {
    hotkey = impl_->link.hotkey;
    return kSOk;
}

HResult ShellLink::GetIconLocation(std::string& iconPath, long& iconIndex) {
    iconPath = FromBuffer(impl_->link.iconPath);
    iconIndex = impl_->link.iconIndex;
    return kSOk;
}

HResult ShellLink::GetWorkingDirectory(std::string& folder) {
    folder = FromBuffer(impl_->link.workingDirectory);
    return kSOk;
}

HResult ShellLink::GetShowCmd(long& showCommand) {
    showCommand = impl_->link.showCommand;
    return kSOk;
}

HResult ShellLink::SetPath(const std::string& path) {
    impl_->link.path = path;
    return kSOk;
}

HResult ShellLink::Resolve(std::uint32_t) {
    return kSOk;  // the sandbox keeps no other trace of a target to find it by
}

HResult ShellLink::Save(const std::string& file, bool) {
    const auto host = sandbox::HostPath(file);
    std::error_code ec;
    if (host.empty() || !std::filesystem::is_directory(host.parent_path(), ec))
        return HResultFromWin32(kErrorPathNotFound);
    const sandbox::FileState* state = sandbox::FindFileState(file);
    if (state && state->locked) return HResultFromWin32(kErrorSharingViolation);
    if (sandbox::IsWriteDenied(file) ||
        (std::filesystem::exists(host, ec) &&
         (GetAttributes(file) & (kFileAttributeReadOnly | kFileAttributeDirectory))))
        return HResultFromWin32(kErrorAccessDenied);
    if (!sandbox::WriteHostFile(host, Format(impl_->link)))
        return HResultFromWin32(kErrorAccessDenied);
    sandbox::TheMachine().journal.push_back("shortcut " + file);
    return kSOk;
}

}  // namespace platform

namespace sandbox {

void WriteShortcut(const std::string& windowsPath, const Shortcut& link) {
    WriteFile(windowsPath, Format(link));
}

std::optional<Shortcut> ReadShortcut(const std::string& windowsPath) {
    const auto bytes = ReadFile(windowsPath);
    return bytes ? Parse(*bytes) : std::nullopt;
}

}  // namespace sandbox
