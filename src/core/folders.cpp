#include "core/folders.h"

#include <cstdint>
#include <functional>

#include "core/app_state.h"
#include "core/registry_access.h"
#include "platform/folders.h"

namespace {

const char kShellFoldersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::uint32_t kFolderBuffer = 255;

// Path calls return the length written, or the size they need when the buffer is too small:
// ask again with that size rather than take a cut path. Empty on failure.
std::string PathFromCall(std::uint32_t size,
                         const std::function<std::uint32_t(char*, std::uint32_t)>& call) {
    std::string buffer(size, '\0');
    std::uint32_t n = call(buffer.data(), size);
    if (n >= size) {
        buffer.assign(n, '\0');
        n = call(buffer.data(), n);
        if (n >= buffer.size()) return {};
    }
    buffer.resize(n);
    return buffer.substr(0, buffer.find('\0'));
}

}  // namespace

std::string GetShellFolder(const std::string& name) {
    return ReadRegistryValue(platform::kHkeyCurrentUser, kShellFoldersKey, name);
}

void InitProgramFilesFolder() {
    // The call writes up to MAX_PATH characters, so the buffer must hold that many.
    std::string buffer(platform::kMaxPath, ' ');
    platform::SHGetSpecialFolderPathA(buffer.data(), platform::kCsidlProgramFiles, false);
    const auto nul = buffer.find('\0');
    if (nul != std::string::npos) sProgramFilesFolder = buffer.substr(0, nul);
}

void InitTempFolder() {
    sTempFolder = GetLongPath(PathFromCall(kFolderBuffer, [](char* buffer, std::uint32_t size) {
        return platform::GetTempPathA(size, buffer);
    }));
}

void InitWindowsFolder() {
    sWindowsFolder = PathFromCall(kFolderBuffer, platform::GetWindowsDirectoryA);
}

std::string GetLongPath(const std::string& path) {
    const std::string result =
        PathFromCall(platform::kMaxPath, [&path](char* buffer, std::uint32_t size) {
            return platform::GetLongPathNameA(path, buffer, size);
        });
    return result.empty() ? path : result;
}

std::string GetShortPath(const std::string& path) {
    const std::string result =
        PathFromCall(platform::kMaxPath, [&path](char* buffer, std::uint32_t size) {
            return platform::GetShortPathNameA(path, buffer, size);
        });
    return result.empty() ? path : result;
}
