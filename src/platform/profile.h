// Profile (INI) files with the Windows semantics. A file is read whole: lines end at CR or LF
// (any run of them), blank lines vanish, a line starting with '[' and holding a ']' opens the
// section named up to its last ']' (without one it is an ordinary line), other lines are
// "name=value" or a bare name, which is a key without a value. Names and values lose the
// blanks at their edges and end at a NUL; names match without regard to case, and only the
// first section and the first key of a name count. A UTF-8 or UTF-16 byte-order mark makes
// the file Unicode; without one it is in the ANSI code page. Text crosses these calls in UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// What the profile functions take for blanks: tab, LF, VT, FF, CR, ^Z and space.
inline constexpr std::string_view kProfileBlanks = "\t\n\v\f\r\x1a ";

// GetPrivateProfileStringW for one key: copies the value (or the default) into `buffer`,
// cut to size - 1 bytes (never inside a letter), and returns the number of bytes copied. A value or
// default in matching quotes loses them; the default also loses its trailing spaces, but an
// all-space default keeps one. A key without a value gives the default.
std::uint32_t ReadProfileString(const std::string& section, const std::string& key,
                                const std::string& defaultText, char* buffer, std::uint32_t size,
                                const std::string& file);

// WritePrivateProfileStringW: creates the file, section and key as needed (with the names
// trimmed of blanks, as a read finds them) and rewrites the whole file in its own encoding,
// one "name=value" a line, without blank lines; the value loses its leading blanks. An
// unchanged value leaves the file alone. False on failure.
bool WriteProfileValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file);

}  // namespace platform
