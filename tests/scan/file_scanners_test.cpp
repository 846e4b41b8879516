// The folder walks of a scan (broken shortcuts, old temporary files), the shortcut file
// operations and the existence test they rely on.
#include <string>
#include <vector>

#include "model/item.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/shelllink.h"
#include "scan/progress_window.h"
#include "scan/scanners.h"
#include "scan/shortcut.h"
#include "support/sandbox_test.h"
#include "ui/controls.h"

namespace {

constexpr const char* kDesktop = "C:\\Users\\ann\\Desktop";
constexpr const char* kTemp = "C:\\Users\\ann\\AppData\\Local\\Temp";

class FileScanners : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        colProblems = ProblemCollection();
        bScanRunning = true;
        sandbox::MakeFolder(kDesktop);
        sandbox::MakeFolder(kTemp);
        sandbox::MakeFolder("C:\\Apps");
        sandbox::WriteFile("C:\\Apps\\present.exe", "MZ");
        sandbox::SetLocalTime(2007, 3, 15);
    }
    void TearDown() override {
        sDesktopFolder.clear();
        sTempFolder.clear();
        SandboxTest::TearDown();
    }

    static std::string Desktop(const std::string& name) {
        return std::string(kDesktop) + "\\" + name;
    }
    static std::string Temp(const std::string& name) { return std::string(kTemp) + "\\" + name; }

    static void Link(const std::string& path, const std::string& target,
                     const std::string& arguments = "") {
        sandbox::Shortcut link;
        link.path = target;
        link.arguments = arguments;
        sandbox::WriteShortcut(path, link);
    }
    static void DatedFile(const std::string& path, int year, int month, int day, int hour = 0,
                          int minute = 0, int second = 0) {
        sandbox::WriteFile(path, "x");
        sandbox::SetLastWriteTime(path, year, month, day, hour, minute, second);
    }
    // The locations of the records found, in scan order.
    static std::vector<std::string> Found() {
        std::vector<std::string> names;
        for (const auto& item : colProblems)
            names.push_back(item->pName());
        return names;
    }
    static void ScanTemp(std::string folder = kTemp) { ScanTempFiles(folder); }
};

using Names = std::vector<std::string>;

// --- Existence -----------------------------------------------------------------------------

TEST_F(FileScanners, AnythingWhoseAttributesReadExistsEvenWhenItCannotBeOpened) {
    sandbox::WriteFile("C:\\Apps\\busy.exe", "MZ");
    sandbox::LockFile("C:\\Apps\\busy.exe");
    sandbox::WriteFile("C:\\Apps\\guarded.exe", "MZ");
    sandbox::HideAttributes("C:\\Apps\\guarded.exe");
    EXPECT_TRUE(FileExists("C:\\Apps\\present.exe"));
    EXPECT_TRUE(FileExists("C:\\apps\\PRESENT.EXE")) << "names match without regard to case";
    EXPECT_TRUE(FileExists("C:\\Apps\\busy.exe")) << "in use, yet there";
    EXPECT_TRUE(FileExists("C:\\Apps\\guarded.exe")) << "opens although its attributes do not read";
    EXPECT_TRUE(FileExists("C:\\Apps")) << "a folder exists";
    EXPECT_FALSE(FileExists("C:\\Apps\\gone.exe"));
    EXPECT_FALSE(FileExists("C:\\Gone\\gone.exe"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("E:\\Setup.exe")) << "no drive E:";
}

// --- Shortcut files ----------------------------------------------------------------------------

TEST_F(FileScanners, ShortcutInfoReadsEveryField) {
    sandbox::Shortcut link;
    link.path = "C:\\Apps\\present.exe";
    link.description = "The app";
    link.arguments = "/fast";
    link.workingDirectory = "C:\\Apps";
    link.iconPath = "C:\\Apps\\icons.dll";
    link.iconIndex = 3;
    link.hotkey = 0x0641;
    link.showCommand = 7;
    sandbox::WriteShortcut(Desktop("App.lnk"), link);

    std::string target, description, arguments, iconPath, folder;
    std::uint16_t hotkey = 0;
    long iconIndex = 0, showCommand = 0;
    ASSERT_EQ(GetShortcutInfo(Desktop("App.lnk"), target, description, arguments, hotkey, iconPath,
                              iconIndex, folder, showCommand),
              0);
    EXPECT_EQ(target, "C:\\Apps\\present.exe");
    EXPECT_EQ(description, "The app");
    EXPECT_EQ(arguments, "/fast");
    EXPECT_EQ(hotkey, 0x0641);
    EXPECT_EQ(iconPath, "C:\\Apps\\icons.dll");
    EXPECT_EQ(iconIndex, 3);
    EXPECT_EQ(folder, "C:\\Apps");
    EXPECT_EQ(showCommand, 7);

    EXPECT_EQ(GetShortcutInfo(" ", target, description, arguments, hotkey, iconPath, iconIndex,
                              folder, showCommand),
              1);
    EXPECT_EQ(ReadAppFile("log.txt"), "<none>") << "a blank link path is not an error";
}

TEST_F(FileScanners, RepointingRewritesTheTargetAndKeepsTheRest) {
    sandbox::Shortcut link;
    link.path = "C:\\Old\\app.exe";
    link.description = "The app";
    link.arguments = "/fast";
    sandbox::WriteShortcut(Desktop("App.lnk"), link);

    EXPECT_TRUE(ShortcutRepairDest(Desktop("App.lnk"), "C:\\Apps\\present.exe"));
    const auto saved = sandbox::ReadShortcut(Desktop("App.lnk"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->path, "C:\\Apps\\present.exe");
    EXPECT_EQ(saved->description, "The app");
    EXPECT_EQ(saved->arguments, "/fast");

    EXPECT_FALSE(ShortcutRepairDest("", "C:\\Apps\\present.exe"));
    EXPECT_FALSE(ShortcutRepairDest(" ", "C:\\Apps\\present.exe"));
    EXPECT_EQ(ReadAppFile("log.txt"), "<none>") << "nothing to re-point is not an error";
}

TEST_F(FileScanners, AFailedRepointingIsLoggedAndReported) {
    EXPECT_FALSE(ShortcutRepairDest(Desktop("Gone.lnk"), "C:\\Apps\\present.exe"));
    // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), written as a signed number.
    const long notFound = -2147024894;
    EXPECT_EQ(ReadAppFile("log.txt"), "Error in ShortcutRepairDest: -2147024894," +
                                          platform::ErrorDescription(notFound) + "\r\n");
    EXPECT_FALSE(sandbox::ReadShortcut(Desktop("Gone.lnk"))) << "no file made";
}

// --- Shortcut scan ------------------------------------------------------------------------------

TEST_F(FileScanners, OnlyShortcutsToMissingFilesAreBroken) {
    Link(Desktop("Upper.LNK"), "C:\\Gone\\upper.exe");
    Link(Desktop("Mixed.Lnk"), "C:\\Gone\\mixed.exe");
    Link(Desktop("Notes.xlnk"), "C:\\Gone\\notes.exe");  // no dot: not a shortcut name
    Link(Desktop("Present.lnk"), "C:\\Apps\\present.exe");
    Link(Desktop("Folder.lnk"), "C:\\Apps");
    Link(Desktop("Shell.lnk"), "");
    Link(Desktop("Tool.lnk"), "C:\\Gone\\tool.exe", "/quiet /x");
    sandbox::WriteFile("C:\\Apps\\busy.exe", "MZ");
    sandbox::LockFile("C:\\Apps\\busy.exe");
    Link(Desktop("Busy.lnk"), "C:\\Apps\\busy.exe");
    Link(Desktop("Stick.lnk"), "E:\\Setup.exe");  // no drive E: to look at
    sandbox::WriteFile(Desktop("Damaged.lnk"), "not a shortcut");

    ScanShortcuts(kDesktop);

    EXPECT_EQ(Found(), (Names{Desktop("Mixed.Lnk"), Desktop("Tool.lnk"), Desktop("Upper.LNK")}));
    ASSERT_EQ(colProblems.Count(), 3);
    const clsItem& tool = *colProblems.Item(2);
    EXPECT_EQ(tool.pType(), kTypeShortcut);
    EXPECT_EQ(tool.pSTATUS, kStatusBrokenLink);
    EXPECT_EQ(tool.UID(), "shortcut__" + Desktop("Tool.lnk"));
    EXPECT_EQ(tool.pDescription, "Links to nonexisting file C:\\Gone\\tool.exe /quiet /x");
    EXPECT_EQ(tool.pCureMissingfile, "C:\\Gone\\tool.exe") << "without the arguments";
    EXPECT_EQ(tool.pCureFilename, Desktop("Tool.lnk"));
    EXPECT_EQ(tool.pCureMethod, 0);
    EXPECT_EQ(tool.pCureKeyName, "");
    EXPECT_EQ(colProblems.Item(3)->pDescription, "Links to nonexisting file C:\\Gone\\upper.exe");
    EXPECT_EQ(ReadAppFile("log.txt"), "Error in GetShortcutInfo: -2147467259," +
                                          platform::ErrorDescription(platform::kEFail) + "\r\n")
        << "the damaged shortcut is logged and skipped";
}

TEST_F(FileScanners, AFoldersOwnShortcutsComeBeforeItsSubfoldersDepthFirst) {
    // Listed as: A (folder), b.lnk, C (folder), d.lnk
    Link(Desktop("b.lnk"), "C:\\Gone\\b.exe");
    Link(Desktop("d.lnk"), "C:\\Gone\\d.exe");
    Link(Desktop("A\\m.lnk"), "C:\\Gone\\m.exe");
    Link(Desktop("A\\Z\\z.lnk"), "C:\\Gone\\z.exe");
    Link(Desktop("A\\n.lnk"), "C:\\Gone\\n.exe");
    Link(Desktop("C\\c.lnk"), "C:\\Gone\\c.exe");
    ScanShortcuts(kDesktop);
    EXPECT_EQ(Found(), (Names{Desktop("b.lnk"), Desktop("d.lnk"), Desktop("A\\m.lnk"),
                              Desktop("A\\n.lnk"), Desktop("A\\Z\\z.lnk"), Desktop("C\\c.lnk")}));
}

TEST_F(FileScanners, CancelDuringAListingLeavesTheCollectedSubfolders) {
    Link(Desktop("A\\inner.lnk"), "C:\\Gone\\inner.exe");
    Link(Desktop("b.lnk"), "C:\\Gone\\b.exe");
    Link(Desktop("c.lnk"), "C:\\Gone\\c.exe");
    // The first progress report lets this run: the user's Cancel.
    sandbox::Script("cancel", [] { bScanRunning = false; });
    ScanShortcuts(kDesktop);
    EXPECT_EQ(Found(), (Names{Desktop("b.lnk")})) << "the shortcut on show is still checked";
    EXPECT_EQ(sandbox::PendingActions(), 0u);

    colProblems = ProblemCollection();
    ScanShortcuts(kDesktop);
    EXPECT_EQ(colProblems.Count(), 0) << "a stopped scan does not start again";
}

TEST_F(FileScanners, ShortcutWalkEntersNoReparsePointWhateverItsTag) {
    Link(Desktop("broken.lnk"), "C:\\Gone\\a.exe");
    MakeReparsePointsOfEveryTag(Desktop("Loop"), kDesktop);
    sandbox::MakeFolder(Desktop("Sub"));
    MakeReparsePointsOfEveryTag(Desktop("Sub\\Back"), kDesktop);
    Link("C:\\Elsewhere\\outside.lnk", "C:\\Gone\\b.exe");
    MakeReparsePointsOfEveryTag(Desktop("Out"), "C:\\Elsewhere");
    ScanShortcuts(kDesktop);
    EXPECT_EQ(Found(), (Names{Desktop("broken.lnk")}));
}

TEST_F(FileScanners, UnlistableFoldersAndEmptyRootsAreSkipped) {
    Link(Desktop("A\\hidden.lnk"), "C:\\Gone\\a.exe");
    sandbox::DenyListing(Desktop("A"));
    Link(Desktop("B\\later.lnk"), "C:\\Gone\\b.exe");
    Link("C:\\root.lnk", "C:\\Gone\\root.exe");
    DatedFile("C:\\root.tmp", 2001, 1, 1);
    ScanShortcuts(kDesktop);
    EXPECT_EQ(Found(), (Names{Desktop("B\\later.lnk")}));

    colProblems = ProblemCollection();
    ScanShortcuts("");
    std::string root = "\\";
    ScanTempFiles(root);
    EXPECT_EQ(colProblems.Count(), 0) << "an empty root is not the drive's root";
}

// --- Temporary-file scan -----------------------------------------------------------------------

TEST_F(FileScanners, AFileIsOldByTheDayNumberNotTheCalendar) {
    struct Case {
        int today[3];
        int file[3];
        bool old;
    };
    const Case cases[] = {
        {{2007, 3, 15}, {2006, 3, 15}, false},  // 365 days
        {{2007, 3, 15}, {2006, 3, 14}, true},   // 366
        {{2007, 2, 1}, {2006, 1, 31}, false},   // 365 + 12 - 30 = 347
        {{2007, 2, 1}, {2005, 12, 31}, true},   // 580
        {{2007, 3, 1}, {2006, 2, 27}, false},   // 365 + 12 - 26 = 351, a year and 2 days
        {{2007, 1, 31}, {2006, 2, 1}, true},    // 365 - 12 + 30 = 383, not quite a year
        {{2007, 3, 15}, {2007, 3, 16}, false},  // from the future
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.file[0] << "-" << c.file[1] << "-" << c.file[2] << " on " << c.today[0]
                     << "-" << c.today[1] << "-" << c.today[2]);
        colProblems = ProblemCollection();
        sandbox::SetLocalTime(c.today[0], c.today[1], c.today[2]);
        DatedFile(Temp("file.tmp"), c.file[0], c.file[1], c.file[2], 23, 59, 59);
        ScanTemp();
        EXPECT_EQ(colProblems.Count(), c.old ? 1 : 0);
    }
}

TEST_F(FileScanners, SystemFilesAreNeverOldHiddenAndReadOnlyOnesAre) {
    for (const char* name : {"hidden.tmp", "readonly.tmp", "system.tmp", "sys-hidden.tmp"})
        DatedFile(Temp(name), 1999, 1, 1);
    sandbox::SetAttributes(Temp("hidden.tmp"), platform::kFileAttributeHidden);
    sandbox::SetAttributes(Temp("readonly.tmp"), platform::kFileAttributeReadOnly);
    sandbox::SetAttributes(Temp("system.tmp"), platform::kFileAttributeSystem);
    sandbox::SetAttributes(Temp("sys-hidden.tmp"),
                           platform::kFileAttributeSystem | platform::kFileAttributeHidden);
    ScanTemp();
    EXPECT_EQ(Found(), (Names{Temp("hidden.tmp"), Temp("readonly.tmp")}));
}

TEST_F(FileScanners, OldFilesAreFoundAtAnyDepthWithTheirDate) {
    sandbox::SetShortDateFormat("dd.MM.yyyy");
    sandbox::SetTimeFormat("HH:mm:ss");
    DatedFile(Temp("B\\C\\deep.tmp"), 2005, 6, 7, 8, 9, 10);
    DatedFile(Temp("a.tmp"), 2005, 6, 7);
    DatedFile(Temp("B\\new.tmp"), 2007, 3, 1);
    DatedFile(Temp("d.tmp"), 2006, 1, 2, 0, 0, 1);

    std::string folder = std::string(kTemp) + "\\";
    ScanTempFiles(folder);
    EXPECT_EQ(folder, kTemp) << "the caller's string loses its trailing backslash";
    const Names expected{Temp("a.tmp"), Temp("d.tmp"), Temp("B\\C\\deep.tmp")};
    EXPECT_EQ(Found(), expected);
    ASSERT_EQ(colProblems.Count(), 3);
    const clsItem& deep = *colProblems.Item(3);
    EXPECT_EQ(deep.pType(), kTypeFile);
    EXPECT_EQ(deep.pSTATUS, kStatusUnusedFile);
    EXPECT_EQ(deep.UID(), "file_" + Temp("B\\C\\deep.tmp") + "_");
    EXPECT_EQ(deep.pDescription, "File in temporary folder, last used 07.06.2005 08:09:10");
    EXPECT_EQ(deep.pCureMissingfile, "");
    EXPECT_EQ(deep.pCureFilename, Temp("B\\C\\deep.tmp"));
    EXPECT_EQ(deep.pCureMethod, 0);
    EXPECT_EQ(colProblems.Item(1)->pDescription, "File in temporary folder, last used 07.06.2005")
        << "midnight shows no time";
    EXPECT_EQ(colProblems.Item(2)->pDescription,
              "File in temporary folder, last used 02.01.2006 00:00:01");

    colProblems = ProblemCollection();
    ScanTempFiles(folder);
    EXPECT_EQ(Found(), expected) << "the same paths without the backslash";
    EXPECT_EQ(folder, kTemp) << "only a trailing backslash is removed";
}

TEST_F(FileScanners, TemporaryWalkNeverLeavesTheFolderThroughAReparsePoint) {
    DatedFile(Temp("real.tmp"), 2001, 1, 1);
    DatedFile("C:\\Users\\ann\\Documents\\thesis.doc", 2001, 1, 1);
    DatedFile("C:\\Users\\ann\\Documents\\Old\\letter.doc", 2001, 1, 1);
    MakeReparsePointsOfEveryTag(Temp("Loop"), kTemp);
    MakeReparsePointsOfEveryTag(Temp("Docs"), "C:\\Users\\ann\\Documents");
    sandbox::MakeFolder(Temp("Sub"));
    MakeReparsePointsOfEveryTag(Temp("Sub\\Back"), "C:\\Users\\ann");
    // A link to a file: its date says nothing about the temporary folder, so it is left alone.
    MakeReparsePointsOfEveryTag(Temp("thesis-link"), "C:\\Users\\ann\\Documents\\thesis.doc");
    for (std::size_t i = 0; i < std::size(kEveryReparseTag); ++i)
        sandbox::SetLastWriteTime(Temp("thesis-link" + std::to_string(i)), 2001, 1, 1);
    ScanTemp();
    EXPECT_EQ(Found(), (Names{Temp("real.tmp")}));
}

TEST_F(FileScanners, AWholeScanFindsBothKindsAndTrimsTheTemporaryFolder) {
    Link(Desktop("Gone.lnk"), "C:\\Gone\\gone.exe");
    DatedFile(Temp("old.tmp"), 2001, 1, 1);
    sDesktopFolder = kDesktop;
    sTempFolder = std::string(kTemp) + "\\";
    frmProgress = std::make_unique<ProgressForm>();
    frmProgress->Show(ui::ShowMode::Modal);
    frmProgress.reset();
    EXPECT_EQ(Found(), (Names{Desktop("Gone.lnk"), Temp("old.tmp")}));
    EXPECT_EQ(sTempFolder, kTemp) << "the scan changed the start-up folder itself";
}

TEST_F(FileScanners, UnlistableTemporaryFoldersAreSkipped) {
    DatedFile(Temp("A\\locked-away.tmp"), 2001, 1, 1);
    sandbox::DenyListing(Temp("A"));
    DatedFile(Temp("B\\old.tmp"), 2001, 1, 1);
    ScanTemp();
    EXPECT_EQ(Found(), (Names{Temp("B\\old.tmp")}));
}

}  // namespace
