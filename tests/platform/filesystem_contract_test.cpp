// Folder listings, attributes, times, opening and deleting as the file scanners rely on them.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/filesystem.h"

using namespace platform;

namespace {

// The bits that mean the same on every file system; Wine keeps the archive bit on every file.
constexpr std::uint32_t kKeptBits = kFileAttributeReadOnly | kFileAttributeHidden |
                                    kFileAttributeSystem | kFileAttributeDirectory |
                                    kFileAttributeReparsePoint;

class FileSystemContract : public ::testing::Test {
  protected:
    void SetUp() override { scratch_ = contract::PrepareMachine(); }
    std::string Path(const std::string& name) const { return scratch_ + "\\" + name; }

    // Every entry of a listing by name; the listing must end with ERROR_NO_MORE_FILES.
    std::map<std::string, FindData> List(const std::string& pattern) {
        std::map<std::string, FindData> entries;
        FindData data;
        FindHandle handle;
        long result = FindFirst(Path(pattern), data, handle);
        EXPECT_TRUE(handle.is_valid()) << pattern;
        for (; result == kErrorSuccess; result = FindNext(handle, data))
            entries[data.cFileName] = data;
        EXPECT_EQ(result, kErrorNoMoreFiles) << pattern;
        return entries;
    }
    std::string Names(const std::string& pattern) {
        std::string names;
        for (const auto& [name, entry] : List(pattern))
            names += (names.empty() ? "" : " ") + name;
        return names;
    }

    std::string scratch_;
};

long FindFirstResult(const std::string& pattern) {
    FindData data;
    FindHandle handle;
    const long result = FindFirst(pattern, data, handle);
    EXPECT_EQ(handle.is_valid(), result == kErrorSuccess) << pattern;
    return result;
}

TEST_F(FileSystemContract, ListingTakesEveryEntryThePatternMatches) {
    contract::MakeFolder(Path("Sub"));
    contract::WriteFile(Path("b.txt"), "abc");
    for (const char* name : {"A.lnk", "c.LNK", "noext"})
        contract::WriteFile(Path(name), "");
    const auto all = List("*.*");
    EXPECT_EQ(Names("*.*"), ". .. A.lnk Sub b.txt c.LNK noext");
    for (const auto& [name, entry] : all)
        EXPECT_EQ(entry.dwFileAttributes & kFileAttributeDirectory,
                  name.starts_with('.') || name == "Sub" ? kFileAttributeDirectory : 0u)
            << name;
    EXPECT_EQ(all.at("b.txt").nFileSize, 3u);
    EXPECT_EQ(all.at("b.txt").dwReserved0, 0u) << "no reparse tag";
    EXPECT_EQ(Names("*.lnk"), "A.lnk c.LNK") << "names match without regard to case";
    EXPECT_EQ(Names("b.txt"), "b.txt");
}

TEST_F(FileSystemContract, MissingEntriesFailWithTheirOwnCodes) {
    for (const auto& [name, code] : {std::pair{"missing.txt", kErrorFileNotFound},
                                     std::pair{"Missing\\file.txt", kErrorPathNotFound}}) {
        FileAttributeData data;
        EXPECT_EQ(FindFirstResult(Path(name)), code) << name;
        EXPECT_EQ(OpenForReading(Path(name)), code) << name;
        EXPECT_EQ(RemoveFile(Path(name)), code) << name;
        EXPECT_EQ(GetAttributeData(Path(name), data), code) << name;
        EXPECT_EQ(GetAttributes(Path(name)), kInvalidFileAttributes) << name;
    }
    EXPECT_EQ(FindFirstResult(Path("*.zzz")), kErrorFileNotFound);
    EXPECT_EQ(FindFirstResult("Q:\\*.*"), kErrorPathNotFound) << "a drive that is not there";
    EXPECT_EQ(GetAttributes("Q:\\file.txt"), kInvalidFileAttributes);
}

TEST_F(FileSystemContract, ReadOnlyFilesInUseFilesAndFoldersAreNotRemoved) {
    const std::string file = Path("keep.txt"), used = Path("in use.txt"), folder = Path("Sub");
    contract::WriteFile(file, "x");
    contract::WriteFile(used, "x");
    contract::MakeFolder(folder);
    const std::uint32_t bits = kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem;
    contract::SetAttributes(file, bits);
    EXPECT_EQ(GetAttributes(file) & kKeptBits, bits);
    EXPECT_EQ(List("*.*").at("keep.txt").dwFileAttributes & kKeptBits, bits) << "listed alike";
    EXPECT_EQ(GetAttributes(folder) & kKeptBits, kFileAttributeDirectory);
    EXPECT_EQ(OpenForReading(used), kErrorSuccess);
    EXPECT_EQ(OpenForReading(used), kErrorSuccess) << "opening closes again";
    contract::LockFile(used);

    EXPECT_EQ(RemoveFile(file), kErrorAccessDenied);
    EXPECT_EQ(RemoveFile(folder), kErrorAccessDenied) << "a folder is no file";
    EXPECT_EQ(OpenForReading(folder), kErrorAccessDenied) << "nor does it open";
    EXPECT_EQ(RemoveFile(used), kErrorSharingViolation);
    EXPECT_EQ(OpenForReading(used), kErrorSharingViolation);
    EXPECT_EQ(Names("*.txt"), "in use.txt keep.txt") << "both still there";

    contract::SetAttributes(file, kFileAttributeNormal);
    EXPECT_EQ(GetAttributes(file) & kKeptBits, 0u);
    EXPECT_EQ(RemoveFile(file), kErrorSuccess);
    EXPECT_EQ(GetAttributes(file), kInvalidFileAttributes);
}

TEST_F(FileSystemContract, LastWriteTimeComesBackInLocalTime) {
    // The tests run with UTC as the local time zone, as the sandbox has it.
    contract::WriteFile(Path("dated.txt"), "x");
    contract::SetLastWriteTimeUtc(Path("dated.txt"), {2024, 3, 0, 5, 14, 30, 15, 0});
    FileAttributeData data;
    ASSERT_EQ(GetAttributeData(Path("dated.txt"), data), kErrorSuccess);
    EXPECT_EQ(List("dated.txt").at("dated.txt").ftLastWriteTime, data.ftLastWriteTime);
    EXPECT_EQ(data.nFileSize, 1u);
    EXPECT_EQ(data.dwFileAttributes & kFileAttributeDirectory, 0u);
    const auto local = [](FileTime time) {
        SystemTime t;
        EXPECT_TRUE(FileTimeToLocalSystemTime(time, t));
        return std::vector<int>{t.wYear, t.wMonth,  t.wDay,    t.wDayOfWeek,
                                t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    };
    EXPECT_EQ(local(data.ftLastWriteTime), (std::vector<int>{2024, 3, 5, 2, 14, 30, 15, 0}));
    // 1970-01-01 00:00:01.234, a Thursday, in 100-nanosecond steps from 1601.
    EXPECT_EQ(local(116444736000000000 + 12340000),
              (std::vector<int>{1970, 1, 1, 4, 0, 0, 1, 234}));
    EXPECT_EQ(TimeText({2024, 3, 2, 5, 14, 5, 9, 0}), "2:05:09 PM") << "the user's time form";
    EXPECT_EQ(TimeText({2024, 3, 2, 5, 0, 30, 0, 0}), "12:30:00 AM");
}

TEST_F(FileSystemContract, LinksListAsReparsePoints) {
    contract::MakeFolder(Path("Tree\\Inner"));
    contract::WriteFile(Path("Tree\\file.txt"), "x");
    if (!contract::MakeSymbolicLink(Path("Tree\\Inner\\Loop"), Path("Tree")) ||
        !contract::MakeSymbolicLink(Path("Tree\\file link"), Path("Tree\\file.txt")))
        GTEST_SKIP() << "this machine makes no symbolic links";
    const FindData loop = List("Tree\\Inner\\*.*").at("Loop");
    const FindData fileLink = List("Tree\\*.*").at("file link");
    const auto dirLink = kFileAttributeReparsePoint | kFileAttributeDirectory;
    EXPECT_EQ(loop.dwFileAttributes & kKeptBits, dirLink);
    EXPECT_EQ(GetAttributes(Path("Tree\\Inner\\Loop")) & kKeptBits, dirLink);
    EXPECT_EQ(fileLink.dwFileAttributes & kKeptBits, kFileAttributeReparsePoint);
    EXPECT_EQ(loop.dwReserved0, kIoReparseTagSymlink);
    EXPECT_EQ(fileLink.dwReserved0, kIoReparseTagSymlink);
    EXPECT_EQ(OpenForReading(Path("Tree\\file link")), kErrorSuccess) << "opening follows it";
    EXPECT_EQ(Names("Tree\\Inner\\Loop\\Inner\\Loop\\*.txt"), "file.txt")
        << "a path through the loop still lists";
}

}  // namespace
