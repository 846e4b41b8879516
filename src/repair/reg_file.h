// Reading values back from a registry export (a .reg file as REG EXPORT and the registry
// editor write it).
#pragma once

#include <optional>
#include <string>

#include "core/registry.h"

namespace repair {

// The name the export files give a root key ("HKEY_LOCAL_MACHINE"); empty for an unknown root.
const char* RootKeyLongName(platform::RootKey root);

// The value `valueName` (empty: the default value) of the key `root\keyPath` as the export
// holds it; nothing when the file does not hold it or its line is damaged. The file is
// UTF-16 with its byte-order mark as Windows writes it, or UTF-8.
std::optional<core::RegistryValue> ExportedValue(const std::string& fileBytes,
                                                 platform::RootKey root, const std::string& keyPath,
                                                 const std::string& valueName);

}  // namespace repair
