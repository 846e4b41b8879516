// Profile (INI) file operations with the Windows semantics: section and key names match
// without regard to case, values come back trimmed and unquoted, writes replace in place.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// GetPrivateProfileStringA for one key: copies the value (or the default) into `buffer`,
// cut to size - 1 characters, and returns the number of characters copied.
std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                       const std::string& defaultText, char* buffer,
                                       std::uint32_t size, const std::string& file);

// WritePrivateProfileStringA: creates the file and section as needed. False on failure.
bool WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& file);

}  // namespace platform
