// Files and folders as the program relies on them: listings, attributes, times, path forms.
#include <map>
#include <vector>

#include "platform/contract_scratch.h"
#include "platform/filesystem.h"
#include "platform/folders.h"

using namespace platform;

namespace {

// The bits that mean the same on every file system; Wine keeps the archive bit on every file.
constexpr std::uint32_t kKeptBits = kFileAttributeReadOnly | kFileAttributeHidden |
                                    kFileAttributeSystem | kFileAttributeDirectory |
                                    kFileAttributeReparsePoint;

class FileSystemContract : public contract::Scratch {
  protected:
    std::map<std::string, FindData> List(const std::string& pattern) {
        std::map<std::string, FindData> entries;
        FindData data;
        FindHandle handle;
        long result = FindFirst(Path(pattern), data, handle);
        for (; result == kErrorSuccess; result = FindNext(handle, data))
            entries[data.cFileName] = data;
        EXPECT_EQ(result, kErrorNoMoreFiles) << pattern;
        return entries;
    }
    // Each name the pattern lists with its kept bits (16 a folder, 1024 a reparse point).
    std::string Names(const std::string& pattern) {
        std::string names;
        for (const auto& [name, entry] : List(pattern))
            names += (names.empty() ? "" : " ") + name + ":" +
                     std::to_string(entry.dwFileAttributes & kKeptBits);
        return names;
    }
};

TEST_F(FileSystemContract, ListsTimesAttributesAndPathFormsHoldAndNoReadOnlyOrInUseFileIsRemoved) {
    contract::MakeFolder(Path("Sub"));
    contract::WriteFile(Path("b.txt"), "abc");
    for (const char* name : {"A.lnk", "c.LNK", "noext"})
        contract::WriteFile(Path(name), "");
    const auto all = List("*.*");
    EXPECT_EQ(Names("*.*"), ".:16 ..:16 A.lnk:0 Sub:16 b.txt:0 c.LNK:0 noext:0");
    FileAttributeData data;
    ASSERT_EQ(GetAttributeData(Path("b.txt"), data), kErrorSuccess);
    EXPECT_EQ(all.at("b.txt").ftLastWriteTime, data.ftLastWriteTime);
    EXPECT_EQ(all.at("b.txt").nFileSize + data.nFileSize, 6u);
    EXPECT_GT(data.ftLastWriteTime, 133541226162340000u) << "written now, in steps from 1601";
    EXPECT_EQ(Names("*.lnk"), "A.lnk:0 c.LNK:0") << "names match without regard to case";

    // Times come back in local time, UTC for the tests as on the sandbox, and the user's form.
    SystemTime t;  // 2024-03-05, a Tuesday, 14:30:16.234
    ASSERT_TRUE(FileTimeToLocalSystemTime(133541226162340000, t));
    EXPECT_EQ((std::vector<int>{t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute,
                                t.wSecond, t.wMilliseconds}),
              (std::vector<int>{2024, 3, 5, 2, 14, 30, 16, 234}));
    EXPECT_EQ(TimeText({2024, 3, 2, 5, 14, 5, 9, 0}), "2:05:09 PM") << "the user's time form";
    EXPECT_EQ(TimeText({2024, 3, 2, 5, 0, 30, 0, 0}), "12:30:00 AM");

    const std::string file = Path("keep.txt"), used = Path("in use.txt"), folder = Path("Sub");
    contract::WriteFile(file, "x");
    contract::WriteFile(used, "x");
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
    EXPECT_EQ(GetAttributes(used) & kKeptBits, 0u) << "its attributes still read";
    for (const std::string& missing : {Path("missing.txt"), Path("Missing\\file.txt")}) {
        EXPECT_EQ(GetAttributes(missing), kInvalidFileAttributes) << missing;
        EXPECT_NE(OpenForReading(missing), kErrorSuccess) << missing;
        EXPECT_NE(RemoveFile(missing), kErrorSuccess) << missing;
    }
    EXPECT_EQ(GetAttributes("Q:\\"), kInvalidFileAttributes) << "a drive that is not there";

    contract::SetAttributes(file, kFileAttributeNormal);
    EXPECT_EQ(RemoveFile(file), kErrorSuccess);
    EXPECT_EQ(GetAttributes(file), kInvalidFileAttributes);

    // Appends, path forms and the result texts the logs write after the code, on the same line.
    const std::string log = Path("app.log"), named = Path("Long Folder Name");
    ASSERT_TRUE(AppendToFile(log, "one\r\n"));
    ASSERT_TRUE(AppendToFile(log, "two\r\n"));
    EXPECT_EQ(contract::ReadFile(log), "one\r\ntwo\r\n");
    EXPECT_FALSE(AppendToFile(Path("no folder\\app.log"), "x"));

    const std::string longPath = named + "\\Another long name.txt";
    contract::MakeFolder(named);
    contract::WriteFile(longPath, "x");
    const std::string shortPath = ShortPathName(longPath);
    EXPECT_NE(shortPath.find('~'), std::string::npos) << shortPath;
    EXPECT_EQ(LongPathName(shortPath), longPath);
    EXPECT_EQ(LongPathName(named + "\\missing"), "");
    EXPECT_TRUE(ShortPathName(named + "\\").ends_with('\\')) << "as the backup asks for it";

    for (const long code : {kErrorFileNotFound, kErrorInvalidHandle, kErrorSharingViolation}) {
        const std::string text = ErrorDescription(code);
        EXPECT_TRUE(!text.empty() && !text.ends_with('\n') &&
                    text != ErrorDescription(kErrorMoreData))
            << text;
    }
    EXPECT_NE(ErrorDescription(kErrorAccessDenied).find("denied"), std::string::npos);

    // No walk of a tree enters a reparse point: each link lists as one.
    contract::MakeFolder(Path("Tree\\Inner"));
    contract::WriteFile(Path("Tree\\file.txt"), "x");
    if (!contract::MakeSymbolicLink(Path("Tree\\Inner\\Loop"), Path("Tree")) ||
        !contract::MakeSymbolicLink(Path("Tree\\file link"), Path("Tree\\file.txt")))
        GTEST_SKIP() << "this machine makes no symbolic links";
    EXPECT_EQ(Names("Tree\\Inner\\*.*"), ".:16 ..:16 Loop:1040");
    EXPECT_EQ(Names("Tree\\*.*"), ".:16 ..:16 Inner:16 file link:1024 file.txt:0");
    EXPECT_EQ(OpenForReading(Path("Tree\\file link")), kErrorSuccess) << "opening follows it";
}

}  // namespace
