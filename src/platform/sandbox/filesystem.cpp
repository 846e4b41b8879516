// The sandbox's file system: folder listings, attributes, times, opening and deleting over
// the host folder of each drive. What the host cannot hold (DOS attributes, locks, reparse
// tags) lives in the machine's side table, keyed by the upper-case Windows path.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"
#include "base/text.h"

namespace sandbox {

std::string FileKey(const std::string& windowsPath) {
    std::string key;
    for (const auto& part : SplitPath(windowsPath))
        key += (key.empty() ? "" : "\\") + part;
    return base::UpperCase(key);
}

const FileState* FindFileState(const std::string& windowsPath) {
    const auto& files = TheMachine().files;
    const auto it = files.find(FileKey(windowsPath));
    return it == files.end() ? nullptr : &it->second;
}

}  // namespace sandbox

namespace platform {
namespace {

using sandbox::FileState;
using sandbox::TheMachine;

constexpr std::uint32_t kDosAttributes =
    kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem | kFileAttributeArchive;
constexpr FileTime kTicksPerSecond = 10'000'000;
constexpr FileTime kUnixEpoch = 116'444'736'000'000'000;  // 1970-01-01 as a FILETIME

bool IsDrive(const std::string& windowsPath) {
    return sandbox::SplitPath(windowsPath).size() == 1;
}

// Finds an entry without following a final link: ERROR_SUCCESS with its host path and
// status, or why it is missing. A drive without a host folder is a missing path.
long Lookup(const std::string& windowsPath, std::filesystem::path& host, struct stat& status) {
    host = sandbox::HostPath(windowsPath);
    if (host.empty()) return kErrorPathNotFound;
    if (::lstat(host.c_str(), &status) == 0) return kErrorSuccess;
    std::error_code ec;
    return !IsDrive(windowsPath) && std::filesystem::is_directory(host.parent_path(), ec)
               ? kErrorFileNotFound
               : kErrorPathNotFound;
}

bool IsFolder(const std::filesystem::path& host, const struct stat& status,
              const FileState* state) {
    if (!S_ISLNK(status.st_mode)) return S_ISDIR(status.st_mode);
    std::error_code ec;
    return state ? state->linksFolder : std::filesystem::is_directory(host, ec);
}

// The attributes Windows would report for the entry itself (a link is not followed).
std::uint32_t Attributes(const std::filesystem::path& host, const struct stat& status,
                         const FileState* state) {
    const bool folder = IsFolder(host, status, state);
    std::uint32_t attributes = state && state->hasDosAttributes ? state->dosAttributes
                               : folder                         ? 0
                                                                : kFileAttributeArchive;
    if (folder) attributes |= kFileAttributeDirectory;
    if (S_ISLNK(status.st_mode)) attributes |= kFileAttributeReparsePoint;
    return attributes ? attributes : kFileAttributeNormal;
}

FileTime ToFileTime(const struct timespec& time) {
    return kUnixEpoch + static_cast<FileTime>(time.tv_sec) * kTicksPerSecond +
           static_cast<FileTime>(time.tv_nsec) / 100;
}

FindData MakeFindData(const std::string& windowsPath, const std::filesystem::path& host,
                      const struct stat& status, const std::string& name) {
    const FileState* state = sandbox::FindFileState(windowsPath);
    FindData data;
    data.dwFileAttributes = Attributes(host, status, state);
    data.ftLastWriteTime = ToFileTime(status.st_mtim);
    data.nFileSize = S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0;
    if (S_ISLNK(status.st_mode))
        data.dwReserved0 = state && state->reparseTag ? *state->reparseTag : kIoReparseTagSymlink;
    data.cFileName = name;
    return data;
}

// '*' and '?' as the file system matches them, without regard to case: '?' is one UTF-16
// character.
bool WildcardMatch(std::string_view maskText, std::string_view nameText) {
    const std::u16string mask = base::Utf16FromUtf8(base::UpperCase(std::string(maskText)));
    const std::u16string name = base::Utf16FromUtf8(base::UpperCase(std::string(nameText)));
    size_t m = 0, n = 0, starMask = std::u16string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == u'?' || mask[m] == name[n])) {
            ++m;
            ++n;
        } else if (starMask != std::u16string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

// A mask ending in ".*" also takes names without an extension ("*.*" takes every name).
bool MatchesMask(std::string_view mask, std::string_view name) {
    if (WildcardMatch(mask, name)) return true;
    return mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*" &&
           name.find('.') == std::string_view::npos &&
           WildcardMatch(mask.substr(0, mask.size() - 2), name);
}

// NTFS keeps a folder's names in the order of their upper-case forms.
bool NtfsLess(const FindData& a, const FindData& b) {
    return base::NoCaseLess()(a.cFileName, b.cFileName);
}

// The entries of a folder that match the mask, in the order NTFS returns them.
std::vector<FindData> ListFolder(const std::string& folder, const std::filesystem::path& host,
                                 const std::string& mask) {
    std::vector<FindData> entries;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(host, ec)) {
        const std::string name = entry.path().filename().string();
        struct stat status;
        if (MatchesMask(mask, name) && ::lstat(entry.path().c_str(), &status) == 0)
            entries.push_back(MakeFindData(folder + "\\" + name, entry.path(), status, name));
    }
    std::sort(entries.begin(), entries.end(), NtfsLess);
    if (IsDrive(folder)) return entries;
    // A folder's own entries "." and ".." come first, as the folder and its parent.
    const std::string parent = folder.substr(0, folder.find_last_of("\\/"));
    std::vector<FindData> dots;
    for (const auto& [name, path] : {std::pair{".", folder}, std::pair{"..", parent}}) {
        std::filesystem::path dotHost;
        struct stat status;
        if (MatchesMask(mask, name) && Lookup(path, dotHost, status) == kErrorSuccess)
            dots.push_back(MakeFindData(path, dotHost, status, name));
    }
    entries.insert(entries.begin(), dots.begin(), dots.end());
    return entries;
}

}  // namespace

long FindFirst(const std::string& pattern, FindData& data, FindHandle& handle) {
    handle.reset();
    const auto slash = pattern.find_last_of("\\/");
    if (slash == std::string::npos) return kErrorPathNotFound;
    std::string folder = pattern.substr(0, slash);
    while (folder.size() > 2 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    std::filesystem::path host;
    struct stat status;
    std::error_code ec;
    if (Lookup(folder, host, status) != kErrorSuccess || !std::filesystem::is_directory(host, ec))
        return kErrorPathNotFound;
    const FileState* state = sandbox::FindFileState(folder);
    if (state && state->listingDenied) return kErrorAccessDenied;

    auto entries = ListFolder(folder, host, pattern.substr(slash + 1));
    if (entries.empty()) return kErrorFileNotFound;
    auto& machine = TheMachine();
    const std::uintptr_t id = machine.nextFindHandle++;
    data = entries.front();
    machine.listings[id] = {std::move(entries), 1};
    handle.reset(id);
    return kErrorSuccess;
}

long FindNext(const FindHandle& handle, FindData& data) {
    auto& listings = TheMachine().listings;
    const auto it = listings.find(handle.get());
    if (it == listings.end()) return kErrorInvalidHandle;
    auto& listing = it->second;
    if (listing.next >= listing.entries.size()) return kErrorNoMoreFiles;
    data = listing.entries[listing.next++];
    return kErrorSuccess;
}

bool FindClose(std::uintptr_t handle) {
    return TheMachine().listings.erase(handle) > 0;
}

std::uint32_t GetAttributes(const std::string& path) {
    std::filesystem::path host;
    struct stat status;
    if (Lookup(path, host, status) != kErrorSuccess) return kInvalidFileAttributes;
    const FileState* state = sandbox::FindFileState(path);
    if (state && state->attributesHidden) return kInvalidFileAttributes;
    return Attributes(host, status, state);
}

long GetAttributeData(const std::string& path, FileAttributeData& data) {
    std::filesystem::path host;
    struct stat status;
    if (const long error = Lookup(path, host, status); error != kErrorSuccess) return error;
    const FileState* state = sandbox::FindFileState(path);
    if (state && state->attributesHidden) return kErrorAccessDenied;
    data.dwFileAttributes = Attributes(host, status, state);
    data.ftLastWriteTime = ToFileTime(status.st_mtim);
    data.nFileSize = S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0;
    return kErrorSuccess;
}

bool FileTimeToLocalSystemTime(FileTime time, SystemTime& local) {
    using namespace std::chrono;
    using Ticks = duration<std::int64_t, std::ratio<1, kTicksPerSecond>>;
    if (time >= 0x8000000000000000ULL) return false;
    // The sandbox's local time is UTC.
    const sys_time<milliseconds> point =
        sys_days{year{1601} / 1 / 1} + duration_cast<milliseconds>(Ticks(time));
    const auto day = floor<days>(point);
    const year_month_day date{day};
    const hh_mm_ss clock{point - day};
    local = {static_cast<std::uint16_t>(static_cast<int>(date.year())),
             static_cast<std::uint16_t>(static_cast<unsigned>(date.month())),
             static_cast<std::uint16_t>(weekday{day}.c_encoding()),
             static_cast<std::uint16_t>(static_cast<unsigned>(date.day())),
             static_cast<std::uint16_t>(clock.hours().count()),
             static_cast<std::uint16_t>(clock.minutes().count()),
             static_cast<std::uint16_t>(clock.seconds().count()),
             static_cast<std::uint16_t>(clock.subseconds().count())};
    return true;
}

long OpenForReading(const std::string& path) {
    std::filesystem::path host;
    struct stat status;
    if (const long error = Lookup(path, host, status); error != kErrorSuccess) return error;
    std::error_code ec;
    if (!std::filesystem::exists(host, ec)) return kErrorFileNotFound;  // a dangling link
    const FileState* state = sandbox::FindFileState(path);
    if (state && state->locked) return kErrorSharingViolation;
    if (std::filesystem::is_directory(host, ec)) return kErrorAccessDenied;
    return std::ifstream(host, std::ios::binary) ? kErrorSuccess : kErrorAccessDenied;
}

long RemoveFile(const std::string& path) {
    std::filesystem::path host;
    struct stat status;
    if (const long error = Lookup(path, host, status); error != kErrorSuccess) return error;
    const FileState* state = sandbox::FindFileState(path);
    if (IsFolder(host, status, state) || sandbox::IsWriteDenied(path) ||
        (Attributes(host, status, state) & kFileAttributeReadOnly))
        return kErrorAccessDenied;
    if (state && state->locked) return kErrorSharingViolation;
    std::error_code ec;
    if (!std::filesystem::remove(host, ec)) return kErrorAccessDenied;
    auto& machine = TheMachine();
    machine.files.erase(sandbox::FileKey(path));
    machine.journal.push_back("delete " + path);
    return kErrorSuccess;
}

long MakeDirectory(const std::string& path) {
    std::filesystem::path host;
    struct stat status;
    const long error = Lookup(path, host, status);
    if (error == kErrorSuccess) return kErrorAlreadyExists;
    if (error != kErrorFileNotFound) return error;
    if (sandbox::IsWriteDenied(path)) return kErrorAccessDenied;
    std::error_code ec;
    return std::filesystem::create_directory(host, ec) ? kErrorSuccess : kErrorAccessDenied;
}

}  // namespace platform

namespace sandbox {
namespace {

// The side-table entry of an entry that must exist: a test that configures a missing
// file has a mistake of its own.
FileState& ExistingState(const std::string& windowsPath) {
    struct stat status;
    if (::lstat(HostPath(windowsPath).c_str(), &status) != 0)
        throw std::invalid_argument("sandbox: no file or folder " + windowsPath);
    return TheMachine().files[FileKey(windowsPath)];
}

void MakeLink(const std::string& linkPath, const std::string& target, std::uint32_t tag) {
    const auto host = HostPath(linkPath);
    std::filesystem::create_directories(host.parent_path());
    const auto targetHost = HostPath(target);
    std::error_code ec;
    const bool folder = std::filesystem::is_directory(targetHost, ec);
    if (folder)
        std::filesystem::create_directory_symlink(targetHost, host);
    else
        std::filesystem::create_symlink(targetHost, host);
    FileState& state = TheMachine().files[FileKey(linkPath)];
    state.reparseTag = tag;
    state.linksFolder = folder;
}

}  // namespace

void SetAttributes(const std::string& windowsPath, std::uint32_t attributes) {
    FileState& state = ExistingState(windowsPath);
    state.hasDosAttributes = true;
    state.dosAttributes = attributes & platform::kDosAttributes;
}

void SetLastWriteTime(const std::string& windowsPath, int year, int month, int day, int hour,
                      int minute, int second) {
    using namespace std::chrono;
    ExistingState(windowsPath);
    const sys_seconds point = sys_days{std::chrono::year(year) / month / day} + hours(hour) +
                              minutes(minute) + seconds(second);
    const struct timespec times[2] = {{0, UTIME_OMIT},
                                      {static_cast<time_t>(point.time_since_epoch().count()), 0}};
    if (::utimensat(AT_FDCWD, HostPath(windowsPath).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throw std::runtime_error("sandbox: cannot set the time of " + windowsPath);
}

void LockFile(const std::string& windowsPath) {
    ExistingState(windowsPath).locked = true;
}

void HideAttributes(const std::string& windowsPath) {
    ExistingState(windowsPath).attributesHidden = true;
}

void DenyListing(const std::string& windowsFolder) {
    ExistingState(windowsFolder).listingDenied = true;
}

void MakeReparsePoint(const std::string& linkPath, const std::string& target, std::uint32_t tag) {
    MakeLink(linkPath, target, tag);
}

void MakeJunction(const std::string& linkPath, const std::string& targetFolder) {
    MakeLink(linkPath, targetFolder, platform::kIoReparseTagMountPoint);
    TheMachine().files[FileKey(linkPath)].linksFolder = true;
}

void MakeSymbolicLink(const std::string& linkPath, const std::string& target) {
    MakeLink(linkPath, target, platform::kIoReparseTagSymlink);
}

}  // namespace sandbox
