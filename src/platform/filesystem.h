// File operations of the system, shaped after the wide file functions: same arguments,
// same result codes. Paths and names are UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "base/unique_any.h"

namespace platform {

constexpr std::uint32_t kFileAttributeReadOnly = 0x01;
constexpr std::uint32_t kFileAttributeHidden = 0x02;
constexpr std::uint32_t kFileAttributeSystem = 0x04;
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr std::uint32_t kFileAttributeArchive = 0x20;
constexpr std::uint32_t kFileAttributeNormal = 0x80;
constexpr std::uint32_t kFileAttributeReparsePoint = 0x400;
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

constexpr std::uint32_t kIoReparseTagMountPoint = 0xA0000003;  // a junction
constexpr std::uint32_t kIoReparseTagSymlink = 0xA000000C;

// A FILETIME: 100-nanosecond intervals since 1601-01-01 00:00 UTC.
using FileTime = std::uint64_t;

// What a folder listing returns for one entry (WIN32_FIND_DATAW).
struct FindData {
    std::uint32_t dwFileAttributes = 0;
    FileTime ftLastWriteTime = 0;
    std::uint64_t nFileSize = 0;
    std::uint32_t dwReserved0 = 0;  // the reparse tag, for a reparse point
    std::string cFileName;
};

// A reparse point, whatever its tag: no walk of a tree looks at or enters one. Junctions and
// symbolic links lead to an ancestor (a walk that never ends) or out of the tree (where a repair
// would delete what was never a leftover), and Wine leaves the tag of a host link undefined, so the
// tag cannot tell a link from anything else. Cloud placeholders and deduplicated folders are not
// where leftovers live.
inline bool IsReparsePoint(const FindData& entry) {
    return (entry.dwFileAttributes & kFileAttributeReparsePoint) != 0;
}

// FindClose; the system's code leaves it to FindHandle.
bool FindClose(std::uintptr_t handle);
struct FindHandleTraits {
    using Type = std::uintptr_t;
    static Type Invalid() { return 0; }
    static void Close(Type handle) { FindClose(handle); }
};
// The one owner of an open folder listing.
using FindHandle = base::UniqueAny<FindHandleTraits>;

// FindFirstFileW on a pattern such as "C:\Folder\*.*": ERROR_SUCCESS with the first entry
// in `data` and the listing in `handle`, or the failure (ERROR_FILE_NOT_FOUND when nothing
// matches, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED ...). Entries come in the order the
// file system returns them; "." and ".." are among them where the file system has them.
long FindFirst(const std::string& pattern, FindData& data, FindHandle& handle);
// FindNextFileW: ERROR_SUCCESS with the next entry, ERROR_NO_MORE_FILES at the end.
long FindNext(const FindHandle& handle, FindData& data);

// GetFileAttributesW: the attributes, or kInvalidFileAttributes when they cannot be read.
std::uint32_t GetAttributes(const std::string& path);
// What GetFileAttributesExW tells of a file or folder (WIN32_FILE_ATTRIBUTE_DATA).
struct FileAttributeData {
    std::uint32_t dwFileAttributes = 0;
    FileTime ftLastWriteTime = 0;
    std::uint64_t nFileSize = 0;
};
// GetFileAttributesExW: ERROR_SUCCESS with the entry's attributes, time and size, or the
// failure.
long GetAttributeData(const std::string& path, FileAttributeData& data);
// FileTimeToLocalFileTime then FileTimeToSystemTime: the time in local time.
bool FileTimeToLocalSystemTime(FileTime time, SystemTime& local);

// Opens the file for reading (GENERIC_READ, sharing read and write, OPEN_EXISTING) and
// closes it again: ERROR_SUCCESS, or why it could not be opened.
long OpenForReading(const std::string& path);
// DeleteFileW: ERROR_SUCCESS or the failure (ERROR_ACCESS_DENIED for a read-only file).
long RemoveFile(const std::string& path);

// CreateDirectoryW without security attributes: the last folder of the path only.
// ERROR_SUCCESS, ERROR_ALREADY_EXISTS, ERROR_PATH_NOT_FOUND when its parent is missing ...
long MakeDirectory(const std::string& path);

// The whole file's bytes: ERROR_SUCCESS, or why it could not be read (ERROR_FILE_NOT_FOUND ...).
long ReadWholeFile(const std::string& path, std::string& bytes);

// Writes the bytes as the whole file (CREATE_ALWAYS): ERROR_SUCCESS, or why it could not be
// written (ERROR_PATH_NOT_FOUND for a missing folder, ERROR_ACCESS_DENIED ...).
long WriteWholeFile(const std::string& path, const std::string& bytes);

// Appends the bytes of `text` to the file, creating it when missing. False on any failure.
bool AppendToFile(const std::string& path, const std::string& text);

}  // namespace platform
