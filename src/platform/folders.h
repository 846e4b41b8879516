// Folder lookups of the system: temporary, Windows and special folders, and path forms.
// Each is empty when the call fails; however long a path is, it comes whole.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// CSIDL values of the folders the program looks in.
constexpr int kCsidlCommonPrograms = 23;
constexpr int kCsidlCommonDesktop = 25;
constexpr int kCsidlSystem = 37;
constexpr int kCsidlProgramFiles = 38;
constexpr int kCsidlSystemX86 = 41;
constexpr int kCsidlProgramFilesX86 = 42;
constexpr std::uint32_t kMaxPath = 260;

// GetTempPathW: the temporary folder, with its trailing backslash.
std::string TempPath();
// GetWindowsDirectoryW.
std::string WindowsDirectory();
// GetLongPathNameW and GetShortPathNameW: the other form of an existing path.
std::string LongPathName(const std::string& path);
std::string ShortPathName(const std::string& path);
// SHGetSpecialFolderPathW without an owner window.
std::string SpecialFolderPath(int folder, bool create);

}  // namespace platform
