// The program's whole access to single registry values. Every key is opened with
// KEY_ALL_ACCESS; a key that cannot be opened that way counts as absent, silently.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace core {

// The value as text, at most 1024 bytes; empty when it cannot be read.
std::string ReadRegistryText(platform::RootKey root, const std::string& keyPath,
                             const std::string& valueName);

// Deletes a named value (never the default value). True when the value is gone afterwards:
// deleted, or not there at all; false when the delete was refused or failed.
bool DeleteRegistryValue(platform::RootKey root, const std::string& keyPath,
                         const std::string& valueName);

// Renames a named value: a value `newName` with the old one's type and data, then the old
// one deleted. False, with nothing changed, when either name is empty, the old value cannot
// be read, a value `newName` is already there (it is not overwritten), or a step fails.
bool RenameRegistryValue(platform::RootKey root, const std::string& keyPath,
                         const std::string& oldName, const std::string& newName);

// Writes a REG_SZ value into an existing key. True when the value was written.
bool WriteRegistryText(platform::RootKey root, const std::string& keyPath,
                       const std::string& valueName, const std::string& data);

// A value as stored: its type and data (UTF-8 for the string types, as the platform hands
// them over).
struct RegistryValue {
    std::uint32_t type = platform::kRegNone;
    std::string data;
};

// Whether two values hold the same: a string's terminating NULs do not count, since not
// every program stores them.
bool SameRegistryValue(const RegistryValue& a, const RegistryValue& b);

// The value, nothing when it or its key is not there. Any other failure is the result code.
long ReadRegistryValue(platform::RootKey root, const std::string& keyPath,
                       const std::string& valueName, std::optional<RegistryValue>& value);
// Writes the value, making its key when missing: ERROR_SUCCESS or the failure.
long WriteRegistryValue(platform::RootKey root, const std::string& keyPath,
                        const std::string& valueName, const RegistryValue& value);

}  // namespace core
