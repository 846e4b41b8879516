// The one file path a stored command line names.
#pragma once

#include <string>

// The path of a quoted or unquoted command line, with %SystemRoot% and %ProgramFiles%
// expanded; empty for the Windows installer, the DLL host and texts without a path.
std::string GetPathFromCommandLine(const std::string& commandLine);
