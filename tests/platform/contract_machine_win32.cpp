#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "platform/contract_machine.h"
#include "platform/folders.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace contract {
namespace {

using platform::win32::Wide;

// Wide, or the standard library would take the path through the ANSI code page.
std::filesystem::path StdPath(const std::string& windowsPath) {
    return std::filesystem::path(Wide(windowsPath));
}

std::vector<platform::win32::UniqueFile> locks;  // closed by the next PrepareMachine

void Check(bool ok, const char* what, const std::string& path, HRESULT hr = S_OK) {
    if (!ok)
        throw std::runtime_error(std::string(what) + " failed on " + path + ": " +
                                 std::to_string(hr ? hr : long(::GetLastError())));
}

}  // namespace

std::string PrepareMachine() {
    locks.clear();
    const std::string temp = platform::TempPath();
    Check(!temp.empty(), "GetTempPathW", "");
    const std::string folder = temp + "PurgelintContract";
    std::filesystem::remove_all(StdPath(folder));
    std::filesystem::create_directories(StdPath(folder));
    platform::DeleteKeyTree(kScratchRoot, kScratchKey);
    return folder;
}

void MakeFolder(const std::string& windowsPath) {
    std::filesystem::create_directories(StdPath(windowsPath));
}

void WriteFile(const std::string& windowsPath, const std::string& bytes) {
    std::ofstream(StdPath(windowsPath), std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& windowsPath) {
    std::ifstream in(StdPath(windowsPath), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())
              : "<none>";
}

void SetAttributes(const std::string& windowsPath, std::uint32_t attributes) {
    Check(::SetFileAttributesW(Wide(windowsPath).c_str(), attributes), "SetFileAttributesW",
          windowsPath);
}

void LockFile(const std::string& windowsPath) {
    locks.emplace_back(::CreateFileW(Wide(windowsPath).c_str(), GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    Check(locks.back().is_valid(), "CreateFileW", windowsPath);
}

bool MakeSymbolicLink(const std::string& linkPath, const std::string& target) {
    const DWORD flags =
        std::filesystem::is_directory(StdPath(target)) ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;
    return ::CreateSymbolicLinkW(Wide(linkPath).c_str(), Wide(target).c_str(), flags) &&
           ::GetFileAttributesW(Wide(linkPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteShortcut(const std::string& windowsPath, const Shortcut& link) {
    Microsoft::WRL::ComPtr<IShellLinkW> shellLink;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    const auto check = [&](HRESULT hr) { Check(SUCCEEDED(hr), "IShellLinkW", windowsPath, hr); };
    check(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                             IID_PPV_ARGS(&shellLink)));
    check(shellLink->SetPath(Wide(link.path).c_str()));
    check(shellLink->SetDescription(Wide(link.description).c_str()));
    check(shellLink->SetArguments(Wide(link.arguments).c_str()));
    check(shellLink->SetHotkey(link.hotkey));
    check(shellLink->SetIconLocation(Wide(link.iconPath).c_str(), link.iconIndex));
    check(shellLink->SetWorkingDirectory(Wide(link.workingDirectory).c_str()));
    check(shellLink->SetShowCmd(link.showCommand));
    check(shellLink.As(&file));
    check(file->Save(Wide(windowsPath).c_str(), TRUE));
}

// Wine's ping waits a second between its echoes.
std::string CommandThatKeepsRunning() {
    return "ping -n 120 127.0.0.1";
}

std::optional<char16_t> SystemUpperCase(char16_t unit) {
    return static_cast<char16_t>(
        reinterpret_cast<ULONG_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(ULONG_PTR{unit}))));
}

}  // namespace contract
