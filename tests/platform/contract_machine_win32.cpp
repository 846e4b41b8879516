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
std::filesystem::path StdPath(const std::string& path) {
    return std::filesystem::path(Wide(path));
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

void MakeFolder(const std::string& path) {
    std::filesystem::create_directories(StdPath(path));
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(StdPath(path), std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(StdPath(path), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<none>";
}

void SetAttributes(const std::string& path, std::uint32_t attributes) {
    Check(::SetFileAttributesW(Wide(path).c_str(), attributes), "SetFileAttributesW", path);
}

void LockFile(const std::string& path) {
    locks.emplace_back(::CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    Check(locks.back().is_valid(), "CreateFileW", path);
}

bool MakeSymbolicLink(const std::string& linkPath, const std::string& target) {
    const DWORD flags =
        std::filesystem::is_directory(StdPath(target)) ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;
    return ::CreateSymbolicLinkW(Wide(linkPath).c_str(), Wide(target).c_str(), flags) &&
           ::GetFileAttributesW(Wide(linkPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteShortcut(const std::string& path, const Shortcut& link) {
    Microsoft::WRL::ComPtr<IShellLinkW> sl;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    const auto check = [&](HRESULT hr) { Check(SUCCEEDED(hr), "IShellLinkW", path, hr); };
    check(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sl)));
    for (const HRESULT hr :
         {sl->SetPath(Wide(link.path).c_str()), sl->SetHotkey(link.hotkey),
          sl->SetDescription(Wide(link.description).c_str()), sl.As(&file),
          sl->SetArguments(Wide(link.arguments).c_str()), sl->SetShowCmd(link.showCommand),
          sl->SetIconLocation(Wide(link.iconPath).c_str(), link.iconIndex),
          sl->SetWorkingDirectory(Wide(link.workingDirectory).c_str())})
        check(hr);
    check(file->Save(Wide(path).c_str(), TRUE));
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
