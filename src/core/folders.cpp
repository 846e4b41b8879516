#include "core/folders.h"

#include "core/registry.h"
#include "platform/folders.h"

namespace core {
namespace {

const char kShellFoldersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ShellFolder(const std::string& name) {
    return ReadRegistryText(platform::kHkeyCurrentUser, kShellFoldersKey, name);
}

}  // namespace

Folders Folders::OfThisMachine() {
    Folders folders;
    folders.desktop = ShellFolder("Desktop");
    folders.programs = ShellFolder("Programs");
    folders.cache = ShellFolder("Cache");
    folders.programFiles = platform::SpecialFolderPath(platform::kCsidlProgramFiles, false);
    folders.temp = LongPath(platform::TempPath());
    folders.windows = platform::WindowsDirectory();
    return folders;
}

std::string LongPath(const std::string& path) {
    const std::string result = platform::LongPathName(path);
    return result.empty() ? path : result;
}

std::string ShortPath(const std::string& path) {
    const std::string result = platform::ShortPathName(path);
    return result.empty() ? path : result;
}

}  // namespace core
