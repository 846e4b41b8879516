#include "core/shortcut.h"

#include <cstdint>

#include "core/logs.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/shelllink.h"

namespace core {

namespace {

using platform::HResult;
using platform::ShellLink;

// The HRESULT as a 32-bit signed number, whatever width `long` has on this build.
std::int32_t Signed32(HResult hr) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(hr));
}

// Only failure codes are errors: S_FALSE (GetPath of a link to no file) is a success.
bool Failed(HResult hr) {
    return Signed32(hr) < 0;
}

// Runs the steps in order and stops at the first one that fails; its HRESULT, else the last.
template <typename... Steps>
HResult RunSteps(Steps&&... steps) {
    HResult hr = platform::kSOk;
    static_cast<void>((... && !Failed(hr = steps())));
    return hr;
}

// "Error in <procedure>: <number>,<description>", the number as a signed decimal.
void LogShellLinkError(const char* procedure, HResult hr) {
    WriteLog(std::string("Error in ") + procedure + ": " + std::to_string(Signed32(hr)) + "," +
             platform::ErrorDescription(hr));
}

// The empty path and a single blank name no shortcut.
bool NamesNoLink(const std::string& linkPath) {
    return linkPath.empty() || linkPath == " ";
}

}  // namespace

// Anything whose attributes can be read exists, a file that is in use or protected against
// reading included: calling it missing would have the repair delete a working entry.
bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    if (platform::GetAttributes(path) != platform::kInvalidFileAttributes) return true;
    return platform::OpenForReading(path) == platform::kErrorSuccess;
}

std::optional<Shortcut> ReadShortcut(const std::string& linkPath) {
    if (NamesNoLink(linkPath)) return std::nullopt;
    ShellLink* link = nullptr;
    Shortcut read;
    const HResult hr =
        RunSteps([&] { return ShellLink::Instance(link); },
                 [&] { return link->Load(linkPath, platform::kStgmRead); },
                 [&] { return link->GetPath(read.target, platform::kSlgpUncPriority); },
                 [&] { return link->GetDescription(read.description); },
                 [&] { return link->GetArguments(read.arguments); },
                 [&] { return link->GetHotkey(read.hotkey); },
                 [&] { return link->GetIconLocation(read.iconPath, read.iconIndex); },
                 [&] { return link->GetWorkingDirectory(read.workingDirectory); },
                 [&] { return link->GetShowCmd(read.showCommand); });
    if (!Failed(hr)) return read;
    LogShellLinkError("GetShortcutInfo", hr);
    return std::nullopt;
}

bool RepointShortcut(const std::string& linkPath, const std::string& newTarget) {
    if (NamesNoLink(linkPath)) return false;
    ShellLink* link = nullptr;
    const HResult hr =
        RunSteps([&] { return ShellLink::Instance(link); },
                 [&] { return link->Load(linkPath, platform::kStgmRead); },
                 [&] { return link->SetPath(newTarget); },
                 [&] { return link->Resolve(platform::kSlrUpdate | platform::kSlrNoUi); },
                 [&] { return link->Save(linkPath, false); });
    if (!Failed(hr)) return true;
    LogShellLinkError("ShortcutRepairDest", hr);
    return false;
}

}  // namespace core
