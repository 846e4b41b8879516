// Local date and time, and the system's date text.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct SystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;  // 0 Sunday, 1 Monday ... 6 Saturday
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
};

void GetLocalTime(SystemTime& time);

// GetDateFormatW with the user's short date form, without a time.
std::string ShortDateText(const SystemTime& time);
// GetTimeFormatW with the user's time form (as "h:mm:ss tt" in English), without a date.
std::string TimeText(const SystemTime& time);

}  // namespace platform
