// The sandbox's own file controls, which have no counterpart a contract test could drive on
// the real system: hidden attributes, denied listings, junctions, NTFS order, its shortcut
// format and its time form.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/sandbox/sandbox.h"
#include "platform/shelllink.h"

using namespace platform;

namespace {

class SandboxFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto root = std::filesystem::temp_directory_path() /
                          ("purgelint-sandbox-files-" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        sandbox::Reset(root);
    }

    std::vector<std::string> Names(const std::string& pattern) {
        SCOPED_TRACE(pattern);
        std::vector<std::string> names;
        FindData data;
        FindHandle handle;
        long result = FindFirst(pattern, data, handle);
        for (; result == kErrorSuccess; result = FindNext(handle, data))
            names.push_back(data.cFileName);
        EXPECT_EQ(result, kErrorNoMoreFiles);
        return names;
    }
    FindData Entry(const std::string& folder, const std::string& name) {
        FindData data;
        FindHandle handle;
        EXPECT_EQ(FindFirst(folder + "\\" + name, data, handle), kErrorSuccess) << name;
        return data;
    }
};

TEST_F(SandboxFiles, ListsInNtfsOrderWithoutDotsAtTheRoot) {
    for (const char* name : {"a_b.txt", "AZB.txt", "b.txt", "Ab.txt"})
        sandbox::WriteFile(std::string("C:\\Folder\\") + name, "");
    sandbox::WriteFile("C:\\top.txt", "");
    // NTFS compares upper-case forms: '_' sorts after every letter.
    EXPECT_EQ(Names("C:\\Folder\\*"),
              (std::vector<std::string>{".", "..", "Ab.txt", "AZB.txt", "a_b.txt", "b.txt"}));
    EXPECT_EQ(Names("C:\\folder\\?.TXT"), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(Names("C:\\*.*"), (std::vector<std::string>{"Folder", "top.txt"}));
}

TEST_F(SandboxFiles, TestsBreakFilesOnPurpose) {
    sandbox::WriteFile("C:\\Data\\secret.dat", "x");
    sandbox::SetLastWriteTime("C:\\Data\\secret.dat", 2020, 1, 2, 3, 4, 5);
    sandbox::HideAttributes("C:\\data\\SECRET.dat");
    FileAttributeData attributes;
    EXPECT_EQ(GetAttributes("C:\\Data\\secret.dat"), kInvalidFileAttributes);
    EXPECT_EQ(GetAttributeData("C:\\Data\\secret.dat", attributes), kErrorAccessDenied);
    SystemTime listed;
    ASSERT_TRUE(FileTimeToLocalSystemTime(Entry("C:\\Data", "secret.dat").ftLastWriteTime, listed));
    EXPECT_EQ(listed.wYear * 10000 + listed.wMonth * 100 + listed.wDay, 20200102)
        << "the listing still reports it, date included";

    sandbox::DenyListing("C:\\Data");
    FindData data;
    FindHandle handle;
    EXPECT_EQ(FindFirst("C:\\Data\\*.*", data, handle), kErrorAccessDenied);
    EXPECT_FALSE(handle.is_valid());

    EXPECT_THROW(sandbox::LockFile("C:\\Data\\missing.dat"), std::invalid_argument)
        << "configuring a file that is not there is the test's own mistake";
}

TEST_F(SandboxFiles, JunctionsAndLinksAreReparsePointsWithTheirTags) {
    sandbox::MakeFolder("C:\\Users\\Public");
    sandbox::WriteFile("C:\\Users\\Public\\file.txt", "x");
    sandbox::MakeJunction("C:\\Users\\Public\\Back", "C:\\Users");
    sandbox::MakeSymbolicLink("C:\\Users\\Public\\file link", "C:\\Users\\Public\\file.txt");

    const FindData junction = Entry("C:\\Users\\Public", "Back");
    EXPECT_EQ(junction.dwFileAttributes, kFileAttributeReparsePoint | kFileAttributeDirectory);
    EXPECT_EQ(junction.dwReserved0, kIoReparseTagMountPoint);
    EXPECT_EQ(GetAttributes("C:\\Users\\Public\\Back"), junction.dwFileAttributes);
    EXPECT_EQ(Entry("C:\\Users\\Public", "file link").dwFileAttributes,
              kFileAttributeReparsePoint | kFileAttributeArchive);
    EXPECT_EQ(Names("C:\\Users\\Public\\Back\\Public\\Back\\Public\\*.txt"),
              std::vector<std::string>{"file.txt"});

    EXPECT_EQ(RemoveFile("C:\\Users\\Public\\Back"), kErrorAccessDenied) << "a folder link";
    EXPECT_EQ(RemoveFile("C:\\Users\\Public\\file link"), kErrorSuccess);
    EXPECT_EQ(GetAttributes("C:\\Users\\Public\\file.txt"), kFileAttributeArchive)
        << "deleting the link leaves its target";
    EXPECT_EQ(sandbox::Journal().back(), "delete C:\\Users\\Public\\file link");

    sandbox::DenyWrites("C:\\Users\\Public");
    EXPECT_EQ(RemoveFile("C:\\Users\\Public\\file.txt"), kErrorAccessDenied);
}

TEST_F(SandboxFiles, ShortcutsKeepTheirFieldsAndRefuseWhatIsNoShortcut) {
    sandbox::Shortcut written;
    written.path = "C:\\App\\" + std::string(300, 'p');
    written.arguments = std::string("-a\0hidden", 9);
    written.iconIndex = -2;
    written.hotkey = 0x0641;
    written.showCommand = 7;
    sandbox::WriteShortcut("C:\\Links\\App.lnk", written);

    ShellLink* link = nullptr;
    ASSERT_EQ(ShellLink::Instance(link), kSOk);
    ASSERT_EQ(link->Load("C:\\links\\app.LNK", kStgmRead), kSOk);
    std::string path, arguments;
    EXPECT_EQ(link->GetPath(path, kSlgpUncPriority), kSOk);
    EXPECT_EQ(path, written.path.substr(0, 259)) << "read into a 260-character buffer";
    EXPECT_EQ(link->GetArguments(arguments), kSOk);
    EXPECT_EQ(arguments, "-a") << "up to the first NUL";

    ASSERT_EQ(link->SetPath("C:\\New\\app.exe"), kSOk);
    ASSERT_EQ(link->Save("C:\\Links\\App.lnk", false), kSOk);
    EXPECT_EQ(sandbox::Journal().back(), "shortcut C:\\Links\\App.lnk");
    const auto saved = sandbox::ReadShortcut("C:\\Links\\App.lnk");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->path, "C:\\New\\app.exe");
    EXPECT_EQ(std::vector<long>({saved->iconIndex, saved->hotkey, saved->showCommand}),
              std::vector<long>({-2, 0x0641, 7}));

    sandbox::SetAttributes("C:\\Links\\App.lnk", kFileAttributeReadOnly);
    EXPECT_EQ(link->Save("C:\\Links\\App.lnk", false), HResultFromWin32(kErrorAccessDenied));
    sandbox::WriteFile("C:\\Links\\bad number.lnk", "[Purgelint sandbox shortcut]\nhotkey=x\n");
    EXPECT_EQ(link->Load("C:\\Links\\bad number.lnk", kStgmRead), kEFail);
    EXPECT_FALSE(sandbox::ReadShortcut("C:\\Links\\bad number.lnk").has_value());
    EXPECT_EQ(link->GetPath(path, kSlgpUncPriority), kSOk) << "a failed load keeps the last";
    EXPECT_EQ(path, "C:\\New\\app.exe");

    EXPECT_EQ(ErrorDescription(kEFail), "Unspecified error");
    EXPECT_EQ(ErrorDescription(HResultFromWin32(kErrorFileNotFound)),
              ErrorDescription(kErrorFileNotFound));
}

TEST_F(SandboxFiles, TimeTextFollowsTheTimeForm) {
    const SystemTime afternoon{2026, 12, 1, 7, 14, 5, 9, 0};
    EXPECT_EQ(TimeText(afternoon), "2:05:09 PM");
    sandbox::SetTimeFormat("HH:mm");
    EXPECT_EQ(TimeText(afternoon), "14:05");
    sandbox::SetTimeFormat("hh.mm.ss t");
    EXPECT_EQ(TimeText({2026, 12, 1, 7, 9, 0, 0, 0}), "09.00.00 A");
}

}  // namespace
