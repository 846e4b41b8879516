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

    // The user's Shell Folders and the system's own folders, as this machine has them.
    static Folders OfThisMachine();
};

// The long (short) form of an existing path; any other path comes back unchanged.
std::string LongPath(const std::string& path);
std::string ShortPath(const std::string& path);

}  // namespace core
