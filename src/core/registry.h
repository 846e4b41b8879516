// The program's whole access to single registry values. Every key is opened with
// KEY_ALL_ACCESS; a key that cannot be opened that way counts as absent, silently.
#pragma once

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

}  // namespace core
