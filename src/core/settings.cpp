#include "core/settings.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/application.h"
#include "platform/profile.h"
#include "base/text.h"

namespace core {

namespace {

constexpr std::uint32_t kIniBufferSize = 2048;
const std::string kSection = "Main";

std::string SettingsFile() {
    return platform::ApplicationFolder() + "\\setup.ini";
}

// A decimal number as a numeric conversion takes it: sign, digits, fraction, exponent.
std::optional<long double> ParseNumber(const std::string& raw) {
    const std::string text = base::Trim(raw, " \t");
    size_t i = 0, digits = 0;
    auto skipDigits = [&] {
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i, ++digits;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    skipDigits();
    if (i < text.size() && text[i] == '.') ++i, skipDigits();
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        digits = 0;
        skipDigits();
        if (digits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    return std::strtold(text.c_str(), nullptr);
}

}  // namespace

std::string ReadIniString(const std::string& section, const std::string& key,
                          const std::string& defaultText, const std::string& file) {
    std::string buffer(kIniBufferSize, '\0');
    const auto n =
        platform::ReadProfileString(section, key, defaultText, buffer.data(), kIniBufferSize, file);
    buffer.resize(n);
    return buffer;
}

std::string ReadSetting(const std::string& key, const std::string& defaultText) {
    return ReadIniString(kSection, key, defaultText, SettingsFile());
}

void WriteSetting(const std::string& key, const std::string& value) {
    // A read-only or missing settings file costs the setting, not the program.
    platform::WriteProfileValue(kSection, key, value, SettingsFile());
}

bool ReadSettingBool(const std::string& key, bool defaultValue) {
    const std::string text = base::Trim(ReadSetting(key, defaultValue ? "1" : "0"), " \t");
    if (const auto number = ParseNumber(text)) return *number != 0;
    if (base::EqualsNoCase(text, "true")) return true;
    if (base::EqualsNoCase(text, "false")) return false;
    return defaultValue;
}

void WriteSettingBool(const std::string& key, bool value) {
    WriteSetting(key, value ? "1" : "0");
}

long ReadSettingLong(const std::string& key, long defaultValue) {
    const auto number = ParseNumber(ReadSetting(key, std::to_string(defaultValue)));
    if (!number) return defaultValue;
    const long double rounded = std::nearbyint(*number);  // ties go to the even neighbour
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) return defaultValue;
    return static_cast<long>(rounded);
}

void WriteSettingLong(const std::string& key, long value) {
    WriteSetting(key, std::to_string(value));
}

}  // namespace core
