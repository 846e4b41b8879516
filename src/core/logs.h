// The two plain-text logs beside the program; a line that cannot be written is lost.
#pragma once

#include <string>

namespace core {

// Appends one line to log.txt (errors).
void WriteLog(const std::string& text);
// Appends one line to app.log (starts and run-mode decisions).
void WriteAppLog(const std::string& text);

}  // namespace core
