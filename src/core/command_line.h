// The one file path a stored command line names.
#pragma once

#include <string>

#include "core/folders.h"

namespace core {

// The path of a quoted or unquoted command line, with %SystemRoot% and %ProgramFiles%
// expanded; empty for the Windows installer, the DLL host and texts without a path.
std::string PathFromCommandLine(const std::string& commandLine, const Folders& folders);

}  // namespace core
