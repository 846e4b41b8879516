// The folders a scan and a repair look in, and the long and short forms of a path.
#pragma once

#include <string>

namespace core {

// An empty text means the folder was not found.
struct Folders {
    std::string desktop;
    std::string programs;  // the start menu's programs
    std::string cache;     // the browser's cache
    std::string programFiles;
    std::string temp;  // long form, with a trailing backslash
    std::string windows;
    // Everyone's desktop and start-menu programs.
    std::string commonDesktop;
    std::string commonPrograms;
    // Where 32-bit programs of a 64-bit Windows install and find their system files; empty
    // on a Windows where they are the same folders as for every program.
    std::string programFilesX86;
    std::string system;
    std::string systemX86;

    // The user's Shell Folders and the system's own folders, as this machine has them.
    static Folders OfThisMachine();
    // The folders as a 32-bit program sees them: %ProgramFiles% is its own program files.
    Folders SeenBy32BitPrograms() const;
};

// Whether a path a 32-bit program wrote names an existing file: its System32 is the 32-bit
// system folder, where the file may be when it is not in the 64-bit one.
bool ExistsFor32BitPrograms(const std::string& path, const Folders& folders);

// The long (short) form of an existing path; any other path comes back unchanged.
std::string LongPath(const std::string& path);
std::string ShortPath(const std::string& path);

}  // namespace core
