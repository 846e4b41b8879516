// Every text the user sees, by key, from languages\<language>.txt beside the program.
#pragma once

#include <string>

// The text of `key` in the current language, else `defaultText` (the key is then recorded
// in languages\_missing.txt). Every "||" becomes a line break.
std::string Translate(const std::string& key, const std::string& defaultText);
