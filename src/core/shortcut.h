// Shortcut files and the existence test the scanners share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace core {

// Whether a path names an existing file or folder. The empty path does not exist.
bool FileExists(const std::string& path);

// What a shortcut file holds.
struct Shortcut {
    std::string target;
    std::string description;
    std::string arguments;
    std::uint16_t hotkey = 0;
    std::string iconPath;
    long iconIndex = 0;
    std::string workingDirectory;
    long showCommand = 0;
};

// The shortcut's fields; nothing when the link path is empty or a single blank, or when the
// shortcut cannot be read (then "Error in GetShortcutInfo: " is logged).
std::optional<Shortcut> ReadShortcut(const std::string& linkPath);

// Points the shortcut at `newTarget` and saves it to the same file; false (and
// "Error in ShortcutRepairDest: " logged) when that fails.
bool RepointShortcut(const std::string& linkPath, const std::string& newTarget);

}  // namespace core
