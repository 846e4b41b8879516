// File operations of the system.
#pragma once

#include <string>

namespace platform {

// Appends the bytes of `text` to the file, creating it when missing. False on any failure.
bool AppendToFile(const std::string& path, const std::string& text);

}  // namespace platform
