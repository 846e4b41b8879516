#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/contract_machine.h"
#include "platform/folders.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace contract {
namespace {

using platform::win32::Wide;

// A Windows path in UTF-8 as the standard library takes it: wide, or it would go through the
// ANSI code page.
std::filesystem::path StdPath(const std::string& windowsPath) {
    return std::filesystem::path(Wide(windowsPath));
}

// Files held open by LockFile, closed by the next PrepareMachine.
std::vector<platform::win32::UniqueFile>& Locks() {
    static std::vector<platform::win32::UniqueFile> locks;
    return locks;
}

void Check(bool ok, const char* what, const std::string& path) {
    if (!ok)
        throw std::runtime_error(std::string(what) + " failed on " + path + ": " +
                                 std::to_string(::GetLastError()));
}

}  // namespace

std::string PrepareMachine() {
    Locks().clear();
    const std::string temp = platform::TempPath();
    if (temp.empty()) throw std::runtime_error("no temporary folder");
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
    if (!in) return "<none>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void SetAttributes(const std::string& windowsPath, std::uint32_t attributes) {
    Check(::SetFileAttributesW(Wide(windowsPath).c_str(), attributes), "SetFileAttributesW",
          windowsPath);
}

void SetLastWriteTimeUtc(const std::string& windowsPath, const platform::SystemTime& utc) {
    const SYSTEMTIME st = {utc.wYear, utc.wMonth,  utc.wDayOfWeek, utc.wDay,
                           utc.wHour, utc.wMinute, utc.wSecond,    utc.wMilliseconds};
    FILETIME time;
    Check(::SystemTimeToFileTime(&st, &time), "SystemTimeToFileTime", windowsPath);
    const platform::win32::UniqueFile file(::CreateFileW(
        Wide(windowsPath).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    Check(file.is_valid(), "CreateFileW", windowsPath);
    Check(::SetFileTime(file.get(), nullptr, nullptr, &time), "SetFileTime", windowsPath);
}

void LockFile(const std::string& windowsPath) {
    platform::win32::UniqueFile file(::CreateFileW(Wide(windowsPath).c_str(), GENERIC_READ, 0,
                                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                   nullptr));
    Check(file.is_valid(), "CreateFileW", windowsPath);
    Locks().push_back(std::move(file));
}

std::optional<char16_t> SystemUpperCase(char16_t unit) {
    return static_cast<char16_t>(
        reinterpret_cast<ULONG_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(ULONG_PTR{unit}))));
}

bool MakeSymbolicLink(const std::string& linkPath, const std::string& target) {
    const DWORD flags =
        std::filesystem::is_directory(StdPath(target)) ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;
    return ::CreateSymbolicLinkW(Wide(linkPath).c_str(), Wide(target).c_str(), flags) &&
           ::GetFileAttributesW(Wide(linkPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Written by the shell's own link object, as an installer writes it.
void WriteShortcut(const std::string& windowsPath, const Shortcut& link) {
    Microsoft::WRL::ComPtr<IShellLinkW> shellLink;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    const auto check = [&](HRESULT hr, const char* what) {
        if (FAILED(hr))
            throw std::runtime_error(std::string(what) + " failed on " + windowsPath + ": " +
                                     std::to_string(hr));
    };
    check(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                             IID_PPV_ARGS(&shellLink)),
          "CoCreateInstance");
    check(shellLink->SetPath(Wide(link.path).c_str()), "SetPath");
    check(shellLink->SetDescription(Wide(link.description).c_str()), "SetDescription");
    check(shellLink->SetArguments(Wide(link.arguments).c_str()), "SetArguments");
    check(shellLink->SetHotkey(link.hotkey), "SetHotkey");
    check(shellLink->SetIconLocation(Wide(link.iconPath).c_str(), link.iconIndex),
          "SetIconLocation");
    check(shellLink->SetWorkingDirectory(Wide(link.workingDirectory).c_str()),
          "SetWorkingDirectory");
    check(shellLink->SetShowCmd(link.showCommand), "SetShowCmd");
    check(shellLink.As(&file), "QueryInterface");
    check(file->Save(Wide(windowsPath).c_str(), TRUE), "Save");
}

// Wine's ping waits a second between its echoes.
std::string CommandThatKeepsRunning() {
    return "ping -n 120 127.0.0.1";
}

bool ListsInNameOrder() {
    return false;  // Wine hands on the host file system's order
}

}  // namespace contract
