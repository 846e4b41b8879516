#include "core/folders.h"

#include "base/text.h"
#include "core/registry.h"
#include "core/shortcut.h"
#include "platform/folders.h"

namespace core {
namespace {

const char kShellFoldersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ShellFolder(const std::string& name) {
    return ReadRegistryText(platform::kHkeyCurrentUser, kShellFoldersKey, name);
}

std::string SpecialFolder(int folder) {
    return platform::SpecialFolderPath(folder, false);
}

// The 32-bit programs' own folder, or nothing where it is the one every program uses (a
// 32-bit Windows answers with that one).
std::string OwnFolderOf32BitPrograms(int folder, const std::string& common) {
    std::string path = SpecialFolder(folder);
    return base::EqualsNoCase(path, common) ? std::string() : path;
}

}  // namespace

Folders Folders::OfThisMachine() {
    Folders folders;
    folders.desktop = ShellFolder("Desktop");
    folders.programs = ShellFolder("Programs");
    folders.cache = ShellFolder("Cache");
    folders.programFiles = SpecialFolder(platform::kCsidlProgramFiles);
    folders.temp = LongPath(platform::TempPath());
    folders.windows = platform::WindowsDirectory();
    folders.commonDesktop = SpecialFolder(platform::kCsidlCommonDesktop);
    folders.commonPrograms = SpecialFolder(platform::kCsidlCommonPrograms);
    folders.programFilesX86 =
        OwnFolderOf32BitPrograms(platform::kCsidlProgramFilesX86, folders.programFiles);
    folders.system = SpecialFolder(platform::kCsidlSystem);
    folders.systemX86 = OwnFolderOf32BitPrograms(platform::kCsidlSystemX86, folders.system);
    return folders;
}

Folders Folders::SeenBy32BitPrograms() const {
    Folders seen = *this;
    if (!programFilesX86.empty()) seen.programFiles = programFilesX86;
    return seen;
}

bool ExistsFor32BitPrograms(const std::string& path, const Folders& folders) {
    if (FileExists(path)) return true;
    const std::string& system = folders.system;
    if (folders.systemX86.empty() || system.empty() || path.size() <= system.size() ||
        path[system.size()] != '\\' || !base::EqualsNoCase(path.substr(0, system.size()), system))
        return false;
    return FileExists(folders.systemX86 + path.substr(system.size()));
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
