#include "core/folders.h"

#include "core/app_state.h"
#include "core/registry_access.h"
#include "platform/folders.h"

namespace {

const char kShellFoldersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
}  // namespace

std::string GetShellFolder(const std::string& name) {
    return ReadRegistryValue(platform::kHkeyCurrentUser, kShellFoldersKey, name);
}

void InitProgramFilesFolder() {
    // A failed lookup leaves the folder as it was.
    const std::string folder = platform::SpecialFolderPath(platform::kCsidlProgramFiles, false);
    if (!folder.empty()) sProgramFilesFolder = folder;
}

void InitTempFolder() {
    sTempFolder = GetLongPath(platform::TempPath());
}

void InitWindowsFolder() {
    sWindowsFolder = platform::WindowsDirectory();
}

std::string GetLongPath(const std::string& path) {
    const std::string result = platform::LongPathName(path);
    return result.empty() ? path : result;
}

std::string GetShortPath(const std::string& path) {
    const std::string result = platform::ShortPathName(path);
    return result.empty() ? path : result;
}
