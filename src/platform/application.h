// The running program: its folder and the arguments it was started with.
#pragma once

#include <string>

namespace platform {

// The folder that holds the program's executable, without a trailing backslash.
std::string ApplicationFolder();

// The executable's file name without its folder and without ".exe" (e.g. "purgelint").
std::string ExecutableBaseName();

// The argument text that follows the program's own path, as one string.
std::string CommandLineArguments();

// Writes one line for whoever started the program: to standard output when it goes to a file
// or a pipe (as UTF-8), else to the console of the parent process when it has one; nowhere
// for a program started from the desktop.
void WriteOutputLine(const std::string& line);

// ExpandEnvironmentStringsW: every %NAME% of a set variable replaced by its value; the text as
// it is when the expansion fails.
std::string ExpandEnvironment(const std::string& text);

// Whether the program runs with an administrator's rights (its token's TokenElevation).
bool ProcessIsElevated();

// GetComputerNameW: the machine's NetBIOS name; empty when it cannot be read.
std::string ComputerName();

// The English language file built into the executable (the shipped eng.txt), byte for byte;
// empty when the executable carries none.
std::string BuiltInLanguageFile();

}  // namespace platform
