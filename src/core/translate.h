// Every text the user sees, by key, from languages\<language>.txt beside the program.
#pragma once

#include <functional>
#include <string>

// The text of `key` in the current language; where that file lacks it (the key is then
// recorded in languages\_missing.txt), the English built into the program, else
// `defaultText`. Every "||" becomes a line break.
std::string Translate(const std::string& key, const std::string& defaultText);

// For tests: `observer` is called with every key Translate is asked for, before the lookup,
// so that a test learns the keys the running program really uses. An empty function (the
// default) removes it.
void SetTranslateObserver(std::function<void(const std::string& key)> observer);
