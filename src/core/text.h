// Small text helpers of the system's code.
#pragma once

#include <string>

// Without the leading and trailing characters of `blanks`.
std::string Trim(const std::string& text, const char* blanks = " ");
// Letters to upper case (the command line is tested that way).
std::string UpperCase(std::string text);
