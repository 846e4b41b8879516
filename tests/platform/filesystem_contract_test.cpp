// Folder listings, attributes, times, opening and deleting as the file scanners rely on them.
#include <gtest/gtest.h>

#include <map>
#include <set>
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

    // Every entry of a listing, in the order it came; the listing must end with
    // ERROR_NO_MORE_FILES.
    std::vector<FindData> List(const std::string& pattern) {
        SCOPED_TRACE(pattern);
        std::vector<FindData> entries;
        FindData data;
        FindHandle handle;
        long result = FindFirst(pattern, data, handle);
        EXPECT_TRUE(handle.is_valid());
        for (; result == kErrorSuccess; result = FindNext(handle, data))
            entries.push_back(data);
        EXPECT_EQ(result, kErrorNoMoreFiles);
        return entries;
    }
    std::map<std::string, FindData> ListByName(const std::string& pattern) {
        std::map<std::string, FindData> byName;
        for (const auto& entry : List(pattern))
            byName[entry.cFileName] = entry;
        return byName;
    }
    static std::set<std::string> Names(const std::map<std::string, FindData>& entries) {
        std::set<std::string> names;
        for (const auto& [name, entry] : entries)
            names.insert(name);
        return names;
    }
    long FindFirstFails(const std::string& pattern) {
        FindData data;
        FindHandle handle;
        const long result = FindFirst(pattern, data, handle);
        EXPECT_FALSE(handle.is_valid()) << pattern;
        return result;
    }

    std::string scratch_;
};

TEST_F(FileSystemContract, ListingTakesEveryEntryThePatternMatches) {
    contract::MakeFolder(Path("Sub"));
    contract::WriteFile(Path("b.txt"), "abc");
    contract::WriteFile(Path("A.lnk"), "");
    contract::WriteFile(Path("c.LNK"), "");
    contract::WriteFile(Path("noext"), "");

    const auto all = ListByName(Path("*.*"));
    EXPECT_EQ(Names(all),
              (std::set<std::string>{".", "..", "A.lnk", "b.txt", "c.LNK", "noext", "Sub"}));
    for (const char* folder : {".", "..", "Sub"})
        EXPECT_TRUE(all.at(folder).dwFileAttributes & kFileAttributeDirectory) << folder;
    EXPECT_FALSE(all.at("b.txt").dwFileAttributes & kFileAttributeDirectory);
    EXPECT_EQ(all.at("b.txt").nFileSize, 3u);
    EXPECT_EQ(all.at("b.txt").dwReserved0, 0u);

    EXPECT_EQ(Names(ListByName(Path("*.lnk"))), (std::set<std::string>{"A.lnk", "c.LNK"}))
        << "names match without regard to case";
    EXPECT_EQ(Names(ListByName(Path("b.txt"))), std::set<std::string>{"b.txt"});

    if (contract::ListsInNameOrder()) {
        std::vector<std::string> order;
        for (const auto& entry : List(Path("*.*")))
            order.push_back(entry.cFileName);
        EXPECT_EQ(order,
                  (std::vector<std::string>{".", "..", "A.lnk", "b.txt", "c.LNK", "noext", "Sub"}));
    }
}

TEST_F(FileSystemContract, ListingFailuresSayWhy) {
    EXPECT_EQ(FindFirstFails(Path("*.zzz")), kErrorFileNotFound);
    EXPECT_EQ(FindFirstFails(Path("Missing\\*.*")), kErrorPathNotFound);
    EXPECT_EQ(FindFirstFails("Q:\\*.*"), kErrorPathNotFound) << "a drive that is not there";

    FindData data;
    FindHandle handle;
    ASSERT_EQ(FindFirst(Path("*.*"), data, handle), kErrorSuccess);
    FindHandle moved = std::move(handle);
    EXPECT_EQ(FindNext(moved, data), kErrorSuccess) << "the listing goes with its owner";
}

TEST_F(FileSystemContract, AttributesKeepReadOnlyFilesFromDeletion) {
    const std::string file = Path("keep.txt");
    contract::WriteFile(file, "x");
    contract::MakeFolder(Path("Sub"));
    contract::SetAttributes(file,
                            kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem);

    const std::uint32_t expected =
        kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem;
    EXPECT_EQ(GetAttributes(file) & kKeptBits, expected);
    EXPECT_EQ(ListByName(Path("*.*")).at("keep.txt").dwFileAttributes & kKeptBits, expected)
        << "the listing agrees";
    EXPECT_EQ(GetAttributes(Path("Sub")) & kKeptBits, kFileAttributeDirectory);
    EXPECT_EQ(GetAttributes(Path("Missing")), kInvalidFileAttributes);
    EXPECT_EQ(GetAttributes("Q:\\file.txt"), kInvalidFileAttributes);

    EXPECT_EQ(RemoveFile(file), kErrorAccessDenied);
    EXPECT_NE(GetAttributes(file), kInvalidFileAttributes) << "still there";
    EXPECT_EQ(RemoveFile(Path("Sub")), kErrorAccessDenied) << "a folder is no file";

    contract::SetAttributes(file, kFileAttributeNormal);
    EXPECT_EQ(GetAttributes(file) & kKeptBits, 0u);
    EXPECT_EQ(RemoveFile(file), kErrorSuccess);
    EXPECT_EQ(GetAttributes(file), kInvalidFileAttributes);
    EXPECT_EQ(RemoveFile(file), kErrorFileNotFound);
    EXPECT_EQ(RemoveFile(Path("Missing\\keep.txt")), kErrorPathNotFound);
}

TEST_F(FileSystemContract, FileInUseListsButNeitherOpensNorDeletes) {
    const std::string file = Path("in use.txt");
    contract::WriteFile(file, "x");
    EXPECT_EQ(OpenForReading(file), kErrorSuccess);
    EXPECT_EQ(OpenForReading(file), kErrorSuccess) << "opening closes again";

    contract::LockFile(file);
    EXPECT_EQ(OpenForReading(file), kErrorSharingViolation);
    EXPECT_EQ(RemoveFile(file), kErrorSharingViolation);
    EXPECT_NE(GetAttributes(file), kInvalidFileAttributes);
    EXPECT_EQ(ListByName(Path("*.txt")).count("in use.txt"), 1u);

    EXPECT_EQ(OpenForReading(Path("missing.txt")), kErrorFileNotFound);
    EXPECT_EQ(OpenForReading(Path("Missing\\file.txt")), kErrorPathNotFound);
    contract::MakeFolder(Path("Sub"));
    EXPECT_EQ(OpenForReading(Path("Sub")), kErrorAccessDenied) << "a folder does not open";
}

TEST_F(FileSystemContract, LastWriteTimeComesBackInLocalTime) {
    // The tests run with UTC as the local time zone, as the sandbox has it.
    const std::string file = Path("dated.txt");
    contract::WriteFile(file, "x");
    contract::SetLastWriteTimeUtc(file, {2024, 3, 0, 5, 14, 30, 15, 0});

    FileAttributeData data;
    ASSERT_EQ(GetAttributeData(file, data), kErrorSuccess);
    const FileTime written = data.ftLastWriteTime;
    EXPECT_EQ(ListByName(Path("dated.txt")).at("dated.txt").ftLastWriteTime, written);
    EXPECT_EQ(data.nFileSize, 1u);
    EXPECT_EQ(data.dwFileAttributes & kFileAttributeDirectory, 0u);
    SystemTime local;
    ASSERT_TRUE(FileTimeToLocalSystemTime(written, local));
    EXPECT_EQ(std::vector<int>({local.wYear, local.wMonth, local.wDay, local.wDayOfWeek,
                                local.wHour, local.wMinute, local.wSecond}),
              std::vector<int>({2024, 3, 5, 2, 14, 30, 15}));

    EXPECT_EQ(GetAttributeData(Path("missing.txt"), data), kErrorFileNotFound);
    EXPECT_EQ(GetAttributeData(Path("Missing\\file.txt"), data), kErrorPathNotFound);

    // 1970-01-01 00:00:01.234, a Thursday, counted in 100-nanosecond steps from 1601.
    ASSERT_TRUE(FileTimeToLocalSystemTime(116444736000000000 + 12340000, local));
    EXPECT_EQ(std::vector<int>({local.wYear, local.wMonth, local.wDay, local.wDayOfWeek,
                                local.wHour, local.wSecond, local.wMilliseconds}),
              std::vector<int>({1970, 1, 1, 4, 0, 1, 234}));
}

TEST_F(FileSystemContract, LinksListAsReparsePoints) {
    contract::MakeFolder(Path("Tree\\Inner"));
    contract::WriteFile(Path("Tree\\file.txt"), "x");
    if (!contract::MakeSymbolicLink(Path("Tree\\Inner\\Loop"), Path("Tree")) ||
        !contract::MakeSymbolicLink(Path("Tree\\file link"), Path("Tree\\file.txt")))
        GTEST_SKIP() << "this machine makes no symbolic links";

    const auto loop = ListByName(Path("Tree\\Inner\\*.*")).at("Loop");
    EXPECT_EQ(loop.dwFileAttributes & kKeptBits,
              kFileAttributeReparsePoint | kFileAttributeDirectory);
    EXPECT_EQ(loop.dwReserved0, kIoReparseTagSymlink);
    EXPECT_EQ(GetAttributes(Path("Tree\\Inner\\Loop")) & kKeptBits,
              kFileAttributeReparsePoint | kFileAttributeDirectory);

    const auto fileLink = ListByName(Path("Tree\\*.*")).at("file link");
    EXPECT_EQ(fileLink.dwFileAttributes & kKeptBits, kFileAttributeReparsePoint);
    EXPECT_EQ(fileLink.dwReserved0, kIoReparseTagSymlink);
    EXPECT_EQ(OpenForReading(Path("Tree\\file link")), kErrorSuccess) << "opening follows it";
    EXPECT_EQ(Names(ListByName(Path("Tree\\Inner\\Loop\\Inner\\Loop\\*.txt"))),
              std::set<std::string>{"file.txt"})
        << "a path through the loop still lists";
}

TEST(ClockContract, TimeTextIsTheUsersTimeForm) {
    EXPECT_EQ(TimeText({2024, 3, 2, 5, 14, 5, 9, 0}), "2:05:09 PM");
    EXPECT_EQ(TimeText({2024, 3, 2, 5, 0, 30, 0, 0}), "12:30:00 AM");
}

}  // namespace
