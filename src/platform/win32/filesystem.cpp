// Folder listings, attributes, times, opening and deleting through the wide file functions;
// paths and names cross in UTF-8.
#include <windows.h>

#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

using win32::Wide;

FileTime ToFileTime(const FILETIME& time) {
    return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void Copy(const WIN32_FIND_DATAW& from, FindData& to) {
    to.dwFileAttributes = from.dwFileAttributes;
    to.ftLastWriteTime = ToFileTime(from.ftLastWriteTime);
    to.nFileSize = (static_cast<std::uint64_t>(from.nFileSizeHigh) << 32) | from.nFileSizeLow;
    to.dwReserved0 = from.dwReserved0;
    to.cFileName = win32::NarrowUpToNul(from.cFileName, MAX_PATH);
}

long Result(BOOL ok) {
    return ok ? kErrorSuccess : static_cast<long>(::GetLastError());
}

}  // namespace

bool FindClose(std::uintptr_t handle) {
    return ::FindClose(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

// No short names (FindExInfoBasic) and larger reads: the same entries in the same order.
long FindFirst(const std::string& pattern, FindData& data, FindHandle& handle) {
    WIN32_FIND_DATAW found;
    const HANDLE first =
        ::FindFirstFileExW(Wide(pattern).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                           nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (first == INVALID_HANDLE_VALUE) {
        handle.reset();
        return static_cast<long>(::GetLastError());
    }
    handle.reset(reinterpret_cast<std::uintptr_t>(first));
    Copy(found, data);
    return kErrorSuccess;
}

long FindNext(const FindHandle& handle, FindData& data) {
    WIN32_FIND_DATAW found;
    if (!::FindNextFileW(reinterpret_cast<HANDLE>(handle.get()), &found))
        return static_cast<long>(::GetLastError());
    Copy(found, data);
    return kErrorSuccess;
}

std::uint32_t GetAttributes(const std::string& path) {
    return ::GetFileAttributesW(Wide(path).c_str());
}

long GetAttributeData(const std::string& path, FileAttributeData& data) {
    WIN32_FILE_ATTRIBUTE_DATA found;
    if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &found))
        return static_cast<long>(::GetLastError());
    data.dwFileAttributes = found.dwFileAttributes;
    data.ftLastWriteTime = ToFileTime(found.ftLastWriteTime);
    data.nFileSize = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return kErrorSuccess;
}

long OpenForReading(const std::string& path) {
    const win32::UniqueFile file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return Result(file.is_valid());
}

long RemoveFile(const std::string& path) {
    return Result(::DeleteFileW(Wide(path).c_str()));
}

long MakeDirectory(const std::string& path) {
    return Result(::CreateDirectoryW(Wide(path).c_str(), nullptr));
}

// The bytes go to the file as they are: a log in UTF-8 stays UTF-8.
long ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const win32::UniqueFile file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return static_cast<long>(::GetLastError());
    char buffer[64 * 1024];
    for (DWORD read = 0;;) {
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
            return static_cast<long>(::GetLastError());
        if (read == 0) return kErrorSuccess;
        bytes.append(buffer, read);
    }
}

long WriteWholeFile(const std::string& path, const std::string& bytes) {
    const win32::UniqueFile file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                               nullptr));
    if (!file) return static_cast<long>(::GetLastError());
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return static_cast<long>(::GetLastError());
    return written == bytes.size() ? kErrorSuccess : static_cast<long>(ERROR_WRITE_FAULT);
}

bool AppendToFile(const std::string& path, const std::string& text) {
    const win32::UniqueFile file(::CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                       nullptr) &&
           written == text.size();
}

}  // namespace platform
