// Profile files, folders, the running program, the clock, files and error texts.
#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "platform/application.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/win32/unique_handle.h"

namespace platform {
namespace {

SystemTime FromSystemTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
            st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

SYSTEMTIME ToSystemTime(const SystemTime& time) {
    return {time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
            time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
}

}  // namespace

std::string ErrorDescription(long code) {
    char buffer[512] = {};
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                               static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
    while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' '))
        --n;
    return std::string(buffer, n);
}

std::uint32_t ReadProfileString(const std::string& section, const std::string& key,
                                const std::string& defaultText, char* buffer, std::uint32_t size,
                                const std::string& file) {
    return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), buffer,
                                      size, file.c_str());
}

bool WriteProfileValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) {
    // The API would store blank-edged names as given, and a cached copy of the file would then
    // not match them again: each write would add another section.
    return ::WritePrivateProfileStringA(Trim(section, kProfileBlanks).c_str(),
                                        Trim(key, kProfileBlanks).c_str(), value.c_str(),
                                        file.c_str()) != FALSE;
}

std::uint32_t GetTempPathA(std::uint32_t bufferLength, char* buffer) {
    return ::GetTempPathA(bufferLength, buffer);
}

std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    return ::GetWindowsDirectoryA(buffer, size);
}

std::uint32_t GetLongPathNameA(const std::string& path, char* buffer, std::uint32_t size) {
    return ::GetLongPathNameA(path.c_str(), buffer, size);
}

std::uint32_t GetShortPathNameA(const std::string& path, char* buffer, std::uint32_t size) {
    return ::GetShortPathNameA(path.c_str(), buffer, size);
}

bool SHGetSpecialFolderPathA(char* buffer, int folder, bool create) {
    return ::SHGetSpecialFolderPathA(nullptr, buffer, folder, create) != FALSE;
}

namespace {

// The executable's full path, however long.
std::string ModulePath() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), path.size());
        if (n == 0) return {};
        if (n < path.size()) return std::string(path.data(), n);
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::string ApplicationFolder() {
    const std::string full = ModulePath();
    const auto slash = full.find_last_of('\\');
    return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

std::string ExecutableBaseName() {
    std::string name = ModulePath();
    name.erase(0, name.find_last_of('\\') + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

std::string CommandLineArguments() {
    const char* p = ::GetCommandLineA();
    // The program's path comes first, quoted or up to the first blank.
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

void GetLocalTime(SystemTime& time) {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    time = FromSystemTime(st);
}

bool FileTimeToLocalSystemTime(FileTime time, SystemTime& local) {
    const FILETIME utc = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    FILETIME localTime;
    SYSTEMTIME st;
    if (!::FileTimeToLocalFileTime(&utc, &localTime) || !::FileTimeToSystemTime(&localTime, &st))
        return false;
    local = FromSystemTime(st);
    return true;
}

std::string ShortDateText(const SystemTime& time) {
    const SYSTEMTIME st = ToSystemTime(time);
    char buffer[128] = {};
    const int n =
        ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer) : std::string();
}

std::string TimeText(const SystemTime& time) {
    const SYSTEMTIME st = ToSystemTime(time);
    char buffer[128] = {};
    const int n = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer) : std::string();
}

bool AppendToFile(const std::string& path, const std::string& text) {
    win32::UniqueFile file(::CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), text.data(), text.size(), &written, nullptr) &&
           written == text.size();
}

}  // namespace platform
