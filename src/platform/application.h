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

// The English language file built into the executable (the shipped eng.txt), byte for byte;
// empty when the executable carries none.
std::string BuiltInLanguageFile();

}  // namespace platform
