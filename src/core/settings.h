// Settings in section "Main" of setup.ini beside the program, read and written on demand.
#pragma once

#include <string>

namespace core {

// The general profile reader: at most 2047 characters of a value.
std::string ReadIniString(const std::string& section, const std::string& key,
                          const std::string& defaultText, const std::string& file);

std::string ReadSetting(const std::string& key, const std::string& defaultText);
void WriteSetting(const std::string& key, const std::string& value);

// Stored as "1" / "0"; reads a number (non-zero is true) or True/False in any letter case.
// Any other text, the empty text included, gives the default.
bool ReadSettingBool(const std::string& key, bool defaultValue);
void WriteSettingBool(const std::string& key, bool value);

// A decimal number in the 32-bit range; a fraction rounds half to even. Else the default.
long ReadSettingLong(const std::string& key, long defaultValue);
void WriteSettingLong(const std::string& key, long value);

}  // namespace core
