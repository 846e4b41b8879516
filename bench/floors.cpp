#include "bench/floors.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/shelllink.h"

namespace bench {

namespace {

using platform::kErrorSuccess;

// Days from 1601-01-01 to the given date of the Gregorian calendar.
long long DaysSince1601(int year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + 134774;  // 134774 days from 1601 to 1970
}

// A year and a day before today, as a FILETIME. The plan dates its files two years or ten
// days back, far on either side of the scanner's limit, so this plain cut answers for them.
platform::FileTime OldFileCutoff() {
    platform::SystemTime now;
    platform::GetLocalTime(now);
    const long long days = DaysSince1601(now.wYear, now.wMonth, now.wDay) - 366;
    return static_cast<platform::FileTime>(days) * 86400 * 10000000;
}

bool IsDotEntry(const std::string& name) {
    return name == "." || name == "..";
}

// Lists `folder` once: files to `onFile`, then each subfolder the same way.
template <typename OnFile>
void Walk(const std::string& folder, const OnFile& onFile) {
    std::vector<std::string> subfolders;
    {
        platform::FindData data;
        platform::FindHandle find;
        if (platform::FindFirst(folder + "\\*.*", data, find) != kErrorSuccess) return;
        do {
            if (IsDotEntry(data.cFileName)) continue;
            if (data.dwFileAttributes & platform::kFileAttributeDirectory)
                subfolders.push_back(folder + "\\" + data.cFileName);
            else
                onFile(folder, data);
        } while (platform::FindNext(find, data) == kErrorSuccess);
    }
    for (const auto& subfolder : subfolders)
        Walk(subfolder, onFile);
}

bool EndsWithLnk(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".lnk";
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The quote rules of the command-line extraction; the plan plants no other forms.
std::string PathOf(std::string text) {
    if (!text.empty() && text.front() == '"') text.erase(0, 1);
    if (!text.empty() && text.back() == '"') text.pop_back();
    if (const auto quote = text.find('"'); quote != std::string::npos) text.resize(quote);
    return Trimmed(text);
}

bool IsFolder(const std::string& path) {
    const std::uint32_t attributes = platform::GetAttributes(path);
    return attributes != platform::kInvalidFileAttributes &&
           (attributes & platform::kFileAttributeDirectory);
}

// Whether a registry text names a drive path that is missing, shorter prefixes cut at
// blanks (files, not folders) included, as the registry check decides.
bool NamesMissingFile(const std::string& text) {
    const std::string path = PathOf(text);
    if (path.size() < 2 || path[1] != ':' || Exists(path)) return false;
    for (std::string prefix = path; prefix.find(' ') != std::string::npos;) {
        prefix = Trimmed(prefix.substr(0, prefix.rfind(' ')));
        if (!prefix.empty() && Exists(prefix) && !IsFolder(prefix)) return false;
    }
    return true;
}

std::string TextOf(const char* data, std::uint32_t size) {
    return std::string(data, strnlen(data, size));
}

// The subkeys below an open key, at every depth: each opened once, its value read.
int MissingBelow(const platform::RegKey& key, const std::string& valueName) {
    int missing = 0;
    std::string name;
    for (std::uint32_t index = 0;; ++index) {
        if (platform::EnumKey(key, index, name, 256) != kErrorSuccess) break;
        platform::RegKey subkey;
        if (platform::OpenKey(key, name, 0, platform::kKeyRead, subkey) != kErrorSuccess) continue;
        char data[1024];
        std::uint32_t size = sizeof data;
        if (platform::QueryValue(subkey, valueName, nullptr, data, &size) == kErrorSuccess &&
            NamesMissingFile(TextOf(data, size)))
            ++missing;
        missing += MissingBelow(subkey, valueName);
    }
    return missing;
}

}  // namespace

bool Exists(const std::string& path) {
    if (path.empty()) return false;
    return platform::GetAttributes(path) != platform::kInvalidFileAttributes ||
           platform::OpenForReading(path) == kErrorSuccess;
}

int FloorTempFiles(const std::string& folder) {
    const platform::FileTime cutoff = OldFileCutoff();
    int old = 0;
    Walk(folder, [&](const std::string&, const platform::FindData& data) {
        if (!(data.dwFileAttributes & platform::kFileAttributeSystem) &&
            data.ftLastWriteTime < cutoff)
            ++old;
    });
    return old;
}

int FloorShortcuts(const std::string& folder) {
    platform::ShellLink* link = nullptr;
    if (platform::ShellLink::Instance(link) != platform::kSOk) return 0;
    int broken = 0;
    Walk(folder, [&](const std::string& where, const platform::FindData& data) {
        if (!EndsWithLnk(data.cFileName)) return;
        std::string target;
        if (link->Load(where + "\\" + data.cFileName, platform::kStgmRead) != platform::kSOk ||
            link->GetPath(target, platform::kSlgpUncPriority) != platform::kSOk)
            return;
        if (!target.empty() && !Exists(target)) ++broken;
    });
    return broken;
}

int FloorRegistryList(const RegistryList& list) {
    platform::RegKey key;
    if (platform::OpenKey(list.root, list.key, 0, platform::kKeyRead, key) != kErrorSuccess)
        return 0;
    if (list.pathIn == scan::PathIn::SubkeyValue) return MissingBelow(key, list.valueName);
    int missing = 0;
    std::string valueName;
    char data[1024];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t dataSize = sizeof data;
        std::uint32_t type = 0;
        if (platform::EnumValue(key, index, valueName, 256, &type, data, &dataSize) !=
            kErrorSuccess)
            break;
        switch (list.pathIn) {
            case scan::PathIn::ValueName:
                missing += NamesMissingFile(valueName);
                break;
            case scan::PathIn::HelpFolderAndName:
                if (dataSize > 0 && data[0] != '\0')
                    missing += NamesMissingFile(TextOf(data, dataSize) + "\\" + valueName);
                break;
            default:
                missing += NamesMissingFile(TextOf(data, dataSize));
                break;
        }
    }
    return missing;
}

int FloorWalkTree(const std::string& folder) {
    int entries = 0;
    std::vector<std::string> subfolders;
    {
        platform::FindData data;
        platform::FindHandle find;
        if (platform::FindFirst(folder + "\\*.*", data, find) != kErrorSuccess) return 0;
        do {
            if (IsDotEntry(data.cFileName)) continue;
            ++entries;
            if ((data.dwFileAttributes & platform::kFileAttributeDirectory) &&
                !(data.dwFileAttributes & platform::kFileAttributeReparsePoint))
                subfolders.push_back(folder + "\\" + data.cFileName);
        } while (platform::FindNext(find, data) == kErrorSuccess);
    }
    for (const auto& subfolder : subfolders)
        entries += FloorWalkTree(subfolder);
    return entries;
}

}  // namespace bench
