// Folder lookups of the system: temporary, Windows and special folders, and path forms.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr int kCsidlProgramFiles = 38;
constexpr std::uint32_t kMaxPath = 260;

// Each returns the number of characters written (without the NUL), or the size needed
// (with the NUL) when the buffer is too small, or 0 on failure, as the real calls do.
std::uint32_t GetTempPathA(std::uint32_t bufferLength, char* buffer);
std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size);
std::uint32_t GetLongPathNameA(const std::string& path, char* buffer, std::uint32_t size);
std::uint32_t GetShortPathNameA(const std::string& path, char* buffer, std::uint32_t size);

// SHGetSpecialFolderPathA without an owner window; `buffer` holds kMaxPath characters.
bool SHGetSpecialFolderPathA(char* buffer, int folder, bool create);

}  // namespace platform
