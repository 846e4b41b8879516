// The sandbox's folders, running program, clock, files and error texts.
#include <chrono>
#include <cstring>
#include <fstream>
#include <string_view>

#include "base/text.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"
#include "platform/shelllink.h"

namespace platform {
namespace {

using sandbox::TheMachine;

bool IsShortName(const std::string& name) {
    const auto dot = name.find('.');
    if (name.find_first_of(" +,;=[]") != std::string::npos) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    if (dot == std::string::npos) return !name.empty() && name.size() <= 8;
    return dot > 0 && dot <= 8 && name.find('.', dot + 1) == std::string::npos &&
           name.size() - dot - 1 <= 3;
}

std::string ShortStem(const std::string& name, std::string& extension) {
    const auto dot = name.find_last_of('.');
    const std::string base = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    extension.clear();
    if (dot != std::string::npos && dot > 0)
        for (char c : name.substr(dot + 1, 3))
            extension += static_cast<char>(std::toupper(c));
    std::string stem;
    for (char c : base) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ' || c == '.' || (byte >= 0x80 && byte < 0xC0)) continue;
        // A letter outside ASCII becomes one '_', as one outside the OEM code page does.
        stem += std::strchr("+,;=[]", c) || byte >= 0xC0 ? '_' : static_cast<char>(std::toupper(c));
        if (stem.size() == 6) break;
    }
    return stem;
}

// The 8.3 name of `name` within `folder`: PROGRA~1 style, numbered in name order.
std::string ShortName(const std::filesystem::path& folder, const std::string& name) {
    if (IsShortName(name)) return name;
    std::string extension, otherExtension;
    const std::string stem = ShortStem(name, extension);
    std::set<std::string, sandbox::NoCaseLess> siblings;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        siblings.insert(entry.path().filename().string());
    int number = 0;
    for (const auto& sibling : siblings) {
        if (IsShortName(sibling) || ShortStem(sibling, otherExtension) != stem ||
            otherExtension != extension)
            continue;
        ++number;
        if (base::EqualsNoCase(sibling, name)) break;
    }
    return stem + "~" + std::to_string(number) + (extension.empty() ? "" : "." + extension);
}

// Rewrites every component of an existing path in its long or its short form.
bool PathForm(const std::string& path, bool shortForm, std::string& result) {
    const auto parts = sandbox::SplitPath(path);
    if (parts.empty() || parts[0].size() != 2 || parts[0][1] != ':') return false;
    std::filesystem::path host = TheMachine().hostRoot / sandbox::DriveFolder(parts[0]);
    result = parts[0];
    std::error_code ec;
    for (size_t i = 1; i < parts.size(); ++i) {
        std::filesystem::path found;
        for (const auto& entry : std::filesystem::directory_iterator(host, ec)) {
            const std::string name = entry.path().filename().string();
            if (base::EqualsNoCase(name, parts[i]) ||
                base::EqualsNoCase(ShortName(host, name), parts[i])) {
                found = entry.path();
                break;
            }
        }
        if (found.empty()) return false;
        const std::string name = found.filename().string();
        result += "\\" + (shortForm ? ShortName(host, name) : name);
        host = found;
    }
    if (path.back() == '\\' || parts.size() == 1) result += "\\";
    return true;
}

std::string TwoDigits(int n) {
    return std::string(n < 10 ? "0" : "").append(std::to_string(n));
}

// A date or time in GetDateFormat and GetTimeFormat picture notation: a run of one letter
// is one field (one letter without, two with a leading zero), other characters stand for
// themselves.
std::string FormatPicture(const std::string& picture, const SystemTime& time) {
    constexpr std::string_view kNumberFields = "dMhHms";
    const int hour12 = time.wHour % 12 == 0 ? 12 : time.wHour % 12;
    const int numbers[] = {time.wDay, time.wMonth, hour12, time.wHour, time.wMinute, time.wSecond};
    std::string text;
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        if (const auto field = kNumberFields.find(c); field != std::string_view::npos)
            text += run >= 2 ? TwoDigits(numbers[field]) : std::to_string(numbers[field]);
        else if (c == 'y')
            text += run >= 3 ? std::to_string(time.wYear) : TwoDigits(time.wYear % 100);
        else if (c == 't')
            text += std::string(time.wHour < 12 ? "AM" : "PM").substr(0, run >= 2 ? 2 : 1);
        else
            text.append(run, c);
        i += run;
    }
    return text;
}

}  // namespace

std::string ErrorDescription(long code) {
    switch (code) {
        case kErrorSuccess:
            return "The operation completed successfully.";
        case kErrorFileNotFound:
            return "The system cannot find the file specified.";
        case kErrorPathNotFound:
            return "The system cannot find the path specified.";
        case kErrorAccessDenied:
            return "Access is denied.";
        case kErrorInvalidHandle:
            return "The handle is invalid.";
        case kErrorNoMoreFiles:
            return "There are no more files.";
        case kErrorSharingViolation:
            return "The process cannot access the file because it is being used by another "
                   "process.";
        case kErrorInvalidParameter:
            return "The parameter is incorrect.";
        case kErrorMoreData:
            return "More data is available.";
        case kErrorBadPathname:
            return "The specified path is invalid.";
        case kErrorNoMoreItems:
            return "No more data is available.";
        case kErrorKeyDeleted:
            return "Illegal operation attempted on a registry key that has been marked for "
                   "deletion.";
        case kEFail:
            return "Unspecified error";
        default:
            // An HRESULT made of a Win32 error reads as that error.
            if ((static_cast<std::uint32_t>(code) & 0xFFFF0000) == 0x80070000)
                return ErrorDescription(code & 0xFFFF);
            return "Unknown error " + std::to_string(code) + ".";
    }
}

std::string TempPath() {
    return TheMachine().tempPath;
}

std::string WindowsDirectory() {
    return TheMachine().windowsDirectory;
}

std::string LongPathName(const std::string& path) {
    std::string result;
    return PathForm(path, false, result) ? result : std::string();
}

std::string ShortPathName(const std::string& path) {
    std::string result;
    return PathForm(path, true, result) ? result : std::string();
}

std::string SpecialFolderPath(int folder, bool) {
    const auto& folders = TheMachine().specialFolders;
    const auto it = folders.find(folder);
    return it != folders.end() ? it->second : std::string();
}

std::string ApplicationFolder() {
    return TheMachine().appFolder;
}

std::string ExecutableBaseName() {
    return TheMachine().executableBaseName;
}

std::string CommandLineArguments() {
    return TheMachine().arguments;
}

std::string BuiltInLanguageFile() {
    return TheMachine().builtInLanguageFile;
}

void WriteOutputLine(const std::string& line) {
    TheMachine().outputLines.push_back(line);
}

// The machine's variables, matched in any letter case as Windows does; unknown names stay.
std::string ExpandEnvironment(const std::string& text) {
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find('%', at), close = text.find('%', open + 1);
        if (open == std::string::npos || close == std::string::npos) {
            result += text.substr(at);
            break;
        }
        result += text.substr(at, open - at);
        const auto& variables = TheMachine().environment;
        const auto found = variables.find(base::UpperCase(text.substr(open + 1, close - open - 1)));
        if (found != variables.end()) {
            result += found->second;
            at = close + 1;
        } else {
            result += text.substr(open, close - open);
            at = close;
        }
    }
    return result;
}

bool ProcessIsElevated() {
    return TheMachine().elevated;
}

std::string ComputerName() {
    return TheMachine().environment["COMPUTERNAME"];
}

void GetLocalTime(SystemTime& time) {
    time = TheMachine().now;
}

std::string ShortDateText(const SystemTime& time) {
    return FormatPicture(TheMachine().shortDatePicture, time);
}

std::string TimeText(const SystemTime& time) {
    return FormatPicture(TheMachine().timePicture, time);
}

// As the real call, a locked file cannot be read.
long ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    if (const long error = OpenForReading(path); error != kErrorSuccess) return error;
    const auto read = sandbox::ReadFile(path);
    bytes = read.value_or("");
    return read ? kErrorSuccess : kErrorFileNotFound;
}

long WriteWholeFile(const std::string& path, const std::string& bytes) {
    if (!sandbox::MayWrite(path))
        return std::filesystem::is_directory(sandbox::HostPath(path).parent_path())
                   ? kErrorAccessDenied
                   : kErrorPathNotFound;
    TheMachine().journal.push_back("write " + path);
    return sandbox::WriteHostFile(sandbox::HostPath(path), bytes, false) ? kErrorSuccess
                                                                         : kErrorAccessDenied;
}

bool AppendToFile(const std::string& path, const std::string& text) {
    if (!sandbox::MayWrite(path)) return false;
    TheMachine().journal.push_back("append " + path);
    return sandbox::WriteHostFile(sandbox::HostPath(path), text, true);
}

}  // namespace platform

namespace sandbox {

void SetApplication(const std::string& folder, const std::string& arguments,
                    const std::string& executableBaseName) {
    TheMachine().appFolder = folder;
    TheMachine().arguments = arguments;
    TheMachine().executableBaseName = executableBaseName;
}

void SetElevated(bool elevated) {
    TheMachine().elevated = elevated;
}

void SetEnvironmentVariable(const std::string& name, const std::string& value) {
    TheMachine().environment[base::UpperCase(name)] = value;
}

const std::vector<std::string>& OutputLines() {
    return TheMachine().outputLines;
}

void SetBuiltInLanguageFile(const std::string& bytes) {
    TheMachine().builtInLanguageFile = bytes;
}

void SetTempPath(const std::string& path) {
    TheMachine().tempPath = path;
}

void SetWindowsDirectory(const std::string& path) {
    TheMachine().windowsDirectory = path;
}

void SetSpecialFolder(int folder, const std::string& path) {
    TheMachine().specialFolders[folder] = path;
}

void SetLocalTime(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(year), std::chrono::month(month),
                              std::chrono::day(day)};
    const weekday dayOfWeek{sys_days(date)};
    auto& now = TheMachine().now;
    now = {static_cast<std::uint16_t>(year),
           static_cast<std::uint16_t>(month),
           static_cast<std::uint16_t>(dayOfWeek.c_encoding()),
           static_cast<std::uint16_t>(day),
           static_cast<std::uint16_t>(hour),
           static_cast<std::uint16_t>(minute),
           static_cast<std::uint16_t>(second),
           0};
}

void SetShortDateFormat(const std::string& picture) {
    TheMachine().shortDatePicture = picture;
}

void SetTimeFormat(const std::string& picture) {
    TheMachine().timePicture = picture;
}

}  // namespace sandbox
