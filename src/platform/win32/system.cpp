// Profile files, folders, the running program, the clock and error texts, through the wide
// functions; text crosses in UTF-8.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/application.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"  // FileTimeToLocalSystemTime
#include "platform/folders.h"
#include "platform/profile.h"
#include "base/text.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

using win32::Narrow;
using win32::Wide;

SystemTime FromSystemTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
            st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

SYSTEMTIME ToSystemTime(const SystemTime& time) {
    return {time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
            time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
}

// A text from a call that fills `buffer` of `size` characters and returns the length, or,
// when the buffer is too small, the size it needs (its NUL counted); 0 on failure. Asks
// again with the size it says it needs, however long the text is.
template <typename Call>
std::string GrowingText(Call call) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return Narrow(std::wstring_view(buffer.data(), n));
        buffer.resize(n > buffer.size() ? n : buffer.size() * 2);
    }
}

// A wide text that ends at a line break, as the system's messages do, without it.
std::string WithoutLineEnd(std::wstring_view text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.remove_suffix(1);
    return Narrow(text);
}

bool IsHighSurrogate(wchar_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

}  // namespace

std::string ErrorDescription(long code) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const win32::UniqueLocalMemory owner(text);
    if (n == 0 || !text) return {};
    return WithoutLineEnd(std::wstring_view(text, n));
}

// The wide read takes as many characters as the caller has bytes, so that it cuts and
// unquotes as the real call does for a buffer of that size; the UTF-8 of what it read is then
// cut to the bytes that fit, at the start of a letter.
std::uint32_t ReadProfileString(const std::string& section, const std::string& key,
                                const std::string& defaultText, char* buffer, std::uint32_t size,
                                const std::string& file) {
    if (size == 0) return 0;
    std::vector<wchar_t> wide(size);
    DWORD n = ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                         Wide(defaultText).c_str(), wide.data(), size,
                                         Wide(file).c_str());
    n = std::min<DWORD>(n, size - 1);
    // A cut between the halves of a pair leaves no letter.
    if (n > 0 && n == size - 1 && IsHighSurrogate(wide[n - 1])) --n;
    const std::string value = base::CutUtf8(Narrow(std::wstring_view(wide.data(), n)), size - 1);
    std::copy_n(value.data(), value.size(), buffer);
    buffer[value.size()] = '\0';
    return static_cast<std::uint32_t>(value.size());
}

bool WriteProfileValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) {
    // The API would store blank-edged names as given, and a cached copy of the file would then
    // not match them again: each write would add another section.
    return ::WritePrivateProfileStringW(Wide(base::Trim(section, kProfileBlanks)).c_str(),
                                        Wide(base::Trim(key, kProfileBlanks)).c_str(),
                                        Wide(value).c_str(), Wide(file).c_str()) != FALSE;
}

std::string TempPath() {
    return GrowingText([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); });
}

std::string WindowsDirectory() {
    return GrowingText(
        [](wchar_t* buffer, DWORD size) { return ::GetWindowsDirectoryW(buffer, size); });
}

std::string LongPathName(const std::string& path) {
    const std::wstring wide = Wide(path);
    return GrowingText([&](wchar_t* buffer, DWORD size) {
        return ::GetLongPathNameW(wide.c_str(), buffer, size);
    });
}

std::string ShortPathName(const std::string& path) {
    const std::wstring wide = Wide(path);
    return GrowingText([&](wchar_t* buffer, DWORD size) {
        return ::GetShortPathNameW(wide.c_str(), buffer, size);
    });
}

std::string SpecialFolderPath(int folder, bool create) {
    wchar_t buffer[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, buffer, folder, create)) return {};
    return win32::NarrowUpToNul(buffer, MAX_PATH);
}

namespace {

// The executable's full path, however long.
std::string ModulePath() {
    // A path cut to the buffer comes with the buffer's size: GrowingText asks again.
    return GrowingText(
        [](wchar_t* buffer, DWORD size) { return ::GetModuleFileNameW(nullptr, buffer, size); });
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
    const wchar_t* p = ::GetCommandLineW();
    // The program's path comes first, quoted or up to the first blank.
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return Narrow(p);
}

namespace {

// Where the program's output lines go, found once: the redirected standard output, else the
// parent's console (attached on the first line), else nowhere.
class Output {
  public:
    Output() {
        handle_ = ::GetStdHandle(STD_OUTPUT_HANDLE);
        if (!Usable(handle_) && ::AttachConsole(ATTACH_PARENT_PROCESS))
            handle_ = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        DWORD mode = 0;
        console_ = Usable(handle_) && ::GetConsoleMode(handle_, &mode);
    }
    void Write(const std::string& line) {
        if (!Usable(handle_)) return;
        DWORD written = 0;
        if (console_) {
            // A console shows Unicode only through the wide call, whatever its code page.
            const std::wstring text = Wide(line + "\r\n");
            ::WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &written,
                            nullptr);
        } else {
            const std::string text = line + "\r\n";
            ::WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        }
    }

  private:
    static bool Usable(HANDLE handle) {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    HANDLE handle_;
    bool console_ = false;
};

}  // namespace

void WriteOutputLine(const std::string& line) {
    static Output output;
    output.Write(line);
}

std::string ExpandEnvironment(const std::string& text) {
    const std::wstring wide = Wide(text);
    const DWORD needed = ::ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::wstring expanded(needed, L'\0');
    const DWORD length = ::ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), needed);
    if (length == 0 || length > needed) return text;
    expanded.resize(length - 1);
    return Narrow(expanded);
}

bool ProcessIsElevated() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const win32::UniqueHandle owner(token);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    return ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

std::string ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &size) ? Narrow(std::wstring_view(name, size)) : std::string();
}

std::string BuiltInLanguageFile() {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(PURGELINT_LANGUAGE_ENGLISH),
                                        MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!found) return {};
    const HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = ::SizeofResource(module, found);
    if (!bytes) return {};
    return std::string(static_cast<const char*>(bytes), size);
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
    wchar_t buffer[128] = {};
    const int n = ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer,
                                   static_cast<int>(std::size(buffer)));
    return n > 0 ? win32::NarrowUpToNul(buffer, std::size(buffer)) : std::string();
}

std::string TimeText(const SystemTime& time) {
    const SYSTEMTIME st = ToSystemTime(time);
    wchar_t buffer[128] = {};
    const int n = ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer,
                                   static_cast<int>(std::size(buffer)));
    return n > 0 ? win32::NarrowUpToNul(buffer, std::size(buffer)) : std::string();
}

}  // namespace platform
