// Shortcut files and the existence test the scanners share.
#pragma once

#include <cstdint>
#include <string>

// Whether a path names an existing file or folder. The empty path does not exist.
bool FileExists(const std::string& path);

// Reads a shortcut's fields; 0 on success, 1 when the link path is empty or a single blank
// or the shortcut cannot be read (then "Error in GetShortcutInfo: " is logged).
long GetShortcutInfo(const std::string& linkPath, std::string& targetPath, std::string& description,
                     std::string& arguments, std::uint16_t& hotkey, std::string& iconPath,
                     long& iconIndex, std::string& workingDirectory, long& showCommand);

// Points the shortcut at `newTarget` and saves it to the same file; false (and
// "Error in ShortcutRepairDest: " logged) when that fails.
bool ShortcutRepairDest(const std::string& linkPath, const std::string& newTarget);
