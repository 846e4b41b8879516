// "Repair selected problems" from the main window, on a machine seeded with leftovers and
// scanned for real: both methods on every kind of record, the progress window and its
// Cancel, files that cannot be deleted, the closing count, and what stops a repair early.
#include <functional>
#include <source_location>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/registry_access.h"
#include "core/settings.h"
#include "model/problem_list.h"
#include "platform/filesystem.h"
#include "repair/repair_command.h"
#include "repair/repair_options.h"
#include "repair/repair_progress.h"
#include "support/main_window_test.h"
#include "ui/interaction.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

constexpr const char* kDesktop = "C:\\Users\\ann\\Desktop";
constexpr const char* kTemp = "C:\\Users\\ann\\Temp\\";
constexpr const char* kWindows = "C:\\Windows";
constexpr const char* kProgramFiles = "C:\\Program Files";
constexpr const char* kVendor = "C:\\Program Files\\Vendor";
constexpr const char* kUninstallApp =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kAppPath =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe";
constexpr const char* kHelp = "Software\\Microsoft\\Windows\\Help";
constexpr const char* kLink = "C:\\Users\\ann\\Desktop\\Game.lnk";
constexpr const char* kOldFile = "C:\\Users\\ann\\Temp\\old.tmp";
constexpr const char* kDeleteError =
    "Error: Cannot delete the file\r\nC:\\Users\\ann\\Temp\\old.tmp\r\n"
    "File is most propably read-only. You should delete this file manually.";
const std::string kUseCount("\x01\0\0\0", 4);

class RepairRun : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        for (const char* folder : {kDesktop, kTemp, kWindows, kProgramFiles})
            sandbox::MakeFolder(folder);
        sDesktopFolder = kDesktop;
        sTempFolder = kTemp;
        sWindowsFolder = kWindows;
        sProgramFilesFolder = kProgramFiles;
        WriteSettingBool("userwelcomed", true);
        Language("msgbox_repaired=Repaired:\r\n");
        OpenMainWindow();
    }
    void TearDown() override {
        sWindowsFolder.clear();
        sProgramFilesFolder.clear();
        MainWindowTest::TearDown();
    }

    // One leftover of every kind a scan finds, all pointing into the missing C:\Gone, in
    // the scan's order: shortcut, uninstall entry, Run entry, shared DLL, application path,
    // help file, old temporary file.
    static void SeedEveryKind() {
        sandbox::Shortcut link;
        link.path = "C:\\Gone\\game.exe";
        link.arguments = "-full";
        sandbox::WriteShortcut(kLink, link);
        sandbox::SetString(kHkeyLocalMachine, kUninstallApp, "UninstallString",
                           "\"C:\\Gone\\uninst.exe\" /S");
        sandbox::SetString(kHkeyCurrentUser, kRun, "Tool", "C:\\Gone\\tool.exe");
        sandbox::SetValue(kHkeyLocalMachine, kSharedDlls, "C:\\Gone\\shared.dll",
                          platform::kRegDword, kUseCount);
        sandbox::SetString(kHkeyLocalMachine, kAppPath, "", "C:\\Gone\\gone.exe");
        sandbox::SetString(kHkeyLocalMachine, kHelp, "gone.hlp", "C:\\Gone");
        sandbox::WriteFile(kOldFile, "x");
        sandbox::SetLastWriteTime(kOldFile, 2020, 1, 1);
    }
    static constexpr int kEveryKind = 7;
    // The files the seeded entries miss, found in the program-files tree.
    static void InstallMovedFiles() {
        for (const char* name :
             {"game.exe", "uninst.exe", "tool.exe", "shared.dll", "gone.exe", "gone.hlp"})
            sandbox::WriteFile(std::string(kVendor) + "\\" + name, "x");
    }

    // "Find problems", the summary's offer to repair declined.
    static void Scan() {
        sandbox::AnswerMessageBox(ui::vbNo);
        frmMain->btnCheck_Click();
    }
    // Answers the options dialog with `method`, the backup box cleared unless asked for;
    // `during` scripts what happens in the run, and the closing message is acknowledged.
    static void ChooseOptions(short method, bool backup = false,
                              const std::function<void()>& during = nullptr) {
        ScriptRepairOptions(method, backup);
        if (during) during();
        sandbox::AnswerMessageBox(ui::vbOK);
    }
    // "Repair selected problems", the options dialog answered as above.
    static void Repair(short method, bool backup = false,
                       const std::function<void()>& during = nullptr) {
        ChooseOptions(method, backup, during);
        frmMain->btnMore.Click();
    }
    // Clicks `button` of the chooser once it is open.
    static void InTheChooser(const std::string& button) {
        sandbox::Script("the chooser's " + button, sandbox::ClickOn("frmRepairSelectPath", button),
                        [] { return sandbox::FindForm("frmRepairSelectPath") != 0; });
    }

    static std::string ClosingMessage() {
        return sandbox::MessageBoxes().empty() ? "<none>" : sandbox::MessageBoxes().back().text;
    }
    // The locations of the rows left, each of which must be selected.
    static std::vector<std::string> RowsLeft(
        std::source_location caller = std::source_location::current()) {
        const ::testing::ScopedTrace trace(caller.file_name(), static_cast<int>(caller.line()),
                                           "rows left");
        std::vector<std::string> rows;
        const ui::ListView& list = frmMain->lstMain;
        for (int row = 1; row <= list.Count(); ++row) {
            EXPECT_TRUE(list.Selected(row)) << "row " << row;
            EXPECT_EQ(list.Tag(row), std::to_string(row));
            rows.push_back(list.Text(row, 2));
        }
        return rows;
    }
    static std::string Text(platform::RootKey root, const std::string& key,
                            const std::string& name) {
        const auto value = sandbox::GetValue(root, key, name);
        return value ? ReadRegistryValue(root, key, name) : "<absent>";
    }
    static bool Exists(const std::string& path) { return sandbox::ReadFile(path).has_value(); }
    static std::string LinkTarget() {
        const auto link = sandbox::ReadShortcut(kLink);
        return link ? link->path : "<absent>";
    }

    // Every seeded entry deleted, but the application path: its value is the key's default,
    // which is never deleted, so that record stays unrepaired.
    static void ExpectEverythingDeletedButTheApplicationPath(
        std::source_location caller = std::source_location::current()) {
        const ::testing::ScopedTrace trace(caller.file_name(), static_cast<int>(caller.line()),
                                           "everything deleted");
        EXPECT_FALSE(Exists(kLink));
        EXPECT_EQ(Text(kHkeyLocalMachine, kUninstallApp, "UninstallString"), "<absent>");
        EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Tool"), "<absent>");
        EXPECT_EQ(Text(kHkeyLocalMachine, kSharedDlls, "C:\\Gone\\shared.dll"), "<absent>");
        EXPECT_EQ(Text(kHkeyLocalMachine, kHelp, "gone.hlp"), "<absent>");
        EXPECT_FALSE(Exists(kOldFile));
        EXPECT_EQ(Text(kHkeyLocalMachine, kAppPath, ""), "C:\\Gone\\gone.exe");
        EXPECT_EQ(RowsLeft(), std::vector<std::string>{"HKLM\\" + std::string(kAppPath)});
        EXPECT_EQ(ClosingMessage(), "Repaired: 6");
        EXPECT_EQ(lRepaired, 6);
        EXPECT_EQ(ReadAppFile("log.txt"), "Error: DeleteRegistryValue: valuename is empty\r\n");
    }
};

TEST_F(RepairRun, TheAggressiveMethodDeletesEveryEntryItCan) {
    SeedEveryKind();
    InstallMovedFiles();  // not looked for
    Scan();
    ASSERT_EQ(colProblems.Count(), kEveryKind);
    Repair(kRepairAggressive);
    ExpectEverythingDeletedButTheApplicationPath();
    EXPECT_FALSE(frmRepairRun) << "forgotten once the window has gone";
}

TEST_F(RepairRun, AYesToTheScanSummaryRepairsWhatTheScanFound) {
    SeedEveryKind();
    sandbox::AnswerMessageBox(ui::vbYes);
    ChooseOptions(kRepairAggressive);
    frmMain->btnCheck_Click();
    ExpectEverythingDeletedButTheApplicationPath();
}

TEST_F(RepairRun, TheConservativeMethodFindingNothingDeletesAsTheAggressiveOne) {
    SeedEveryKind();
    Scan();
    ASSERT_EQ(colProblems.Count(), kEveryKind);
    Repair(kRepairConservative);
    ExpectEverythingDeletedButTheApplicationPath();
}

TEST_F(RepairRun, TheConservativeMethodRepointsEveryEntryToTheFoundFile) {
    SeedEveryKind();
    Scan();
    InstallMovedFiles();
    // Rewritten since the scan, in other letters and with an argument.
    sandbox::SetString(kHkeyCurrentUser, kRun, "Tool", "c:\\gone\\TOOL.EXE -min");
    Repair(kRepairConservative);

    EXPECT_EQ(LinkTarget(), "C:\\Program Files\\Vendor\\game.exe");
    EXPECT_EQ(sandbox::ReadShortcut(kLink)->arguments, "-full");
    // Command lines keep their arguments and quotes; a new path with a blank is quoted.
    EXPECT_EQ(Text(kHkeyLocalMachine, kUninstallApp, "UninstallString"),
              "\"C:\\Program Files\\Vendor\\uninst.exe\" /S");
    EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Tool"), "\"C:\\Program Files\\Vendor\\tool.exe\" -min")
        << "the missing path is found without regard to case";
    // The shared DLL's path is its value's name: the value is renamed, its count kept.
    EXPECT_EQ(Text(kHkeyLocalMachine, kSharedDlls, "C:\\Gone\\shared.dll"), "<absent>");
    const auto dll =
        sandbox::GetValue(kHkeyLocalMachine, kSharedDlls, "C:\\Program Files\\Vendor\\shared.dll");
    ASSERT_TRUE(dll);
    EXPECT_EQ(dll->type, platform::kRegDword);
    EXPECT_EQ(dll->data, kUseCount);
    // A bare path is no command line: it is not quoted.
    EXPECT_EQ(Text(kHkeyLocalMachine, kAppPath, ""), "C:\\Program Files\\Vendor\\gone.exe");
    EXPECT_EQ(Text(kHkeyLocalMachine, kHelp, "gone.hlp"), "C:\\Program Files\\Vendor")
        << "a help entry holds the folder, without its backslash";
    EXPECT_FALSE(Exists(kOldFile)) << "old temporary files are deleted, never searched for";

    EXPECT_TRUE(RowsLeft().empty());
    EXPECT_EQ(ClosingMessage(), "Repaired: 7");
    EXPECT_EQ(ReadAppFile("log.txt"), "<none>");
}

TEST_F(RepairRun, APathAlreadyQuotedOrNotInTheValueIsRepointedAsItStands) {
    sandbox::SetString(kHkeyCurrentUser, kRun, "Quoted", "\"C:\\Gone\\tool.exe\" /tray");
    // A value naming its program through a variable: the expanded path is not in its text.
    sandbox::SetString(kHkeyLocalMachine, kUninstallApp, "UninstallString",
                       "\"%ProgramFiles%\\Old App\\uninst.exe\" /S");
    sandbox::WriteFile("C:\\Program Files\\Tools\\tool.exe", "x");
    sandbox::WriteFile("C:\\Windows\\uninst.exe", "x");
    Scan();
    ASSERT_EQ(colProblems.Count(), 2);
    Repair(kRepairConservative);
    EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Quoted"),
              "\"C:\\Program Files\\Tools\\tool.exe\" /tray");
    EXPECT_EQ(Text(kHkeyLocalMachine, kUninstallApp, "UninstallString"), "C:\\Windows\\uninst.exe")
        << "the whole value is replaced";
    EXPECT_EQ(ClosingMessage(), "Repaired: 2");
}

TEST_F(RepairRun, ARepointThatFailsDeletesTheEntryInstead) {
    SeedEveryKind();
    Scan();
    InstallMovedFiles();
    // A value named after the found file has its own count: it is not overwritten, and the
    // broken value is deleted instead. The shortcut file no longer reads as a shortcut.
    sandbox::SetValue(kHkeyLocalMachine, kSharedDlls, "C:\\Program Files\\Vendor\\shared.dll",
                      platform::kRegDword, std::string("\x04\0\0\0", 4));
    sandbox::WriteFile(kLink, "not a shortcut");
    Repair(kRepairConservative);

    EXPECT_EQ(Text(kHkeyLocalMachine, kSharedDlls, "C:\\Gone\\shared.dll"), "<absent>");
    EXPECT_EQ(
        sandbox::GetValue(kHkeyLocalMachine, kSharedDlls, "C:\\Program Files\\Vendor\\shared.dll")
            ->data,
        std::string("\x04\0\0\0", 4));
    EXPECT_FALSE(Exists(kLink));
    EXPECT_EQ(ClosingMessage(), "Repaired: 7");
    const std::string log = ReadAppFile("log.txt");
    EXPECT_NE(log.find("Error: RenameRegistryValue: valuename exists\r\n"), std::string::npos);
    EXPECT_NE(log.find("Error in ShortcutRepairDest"), std::string::npos);
}

TEST_F(RepairRun, AnEntryThatCanBeNeitherRepointedNorDeletedStays) {
    SeedEveryKind();
    Scan();
    InstallMovedFiles();
    sandbox::RefuseFullAccess(kHkeyCurrentUser, kRun);  // since the scan
    Repair(kRepairConservative);
    EXPECT_EQ(sandbox::GetValue(kHkeyCurrentUser, kRun, "Tool")->data,
              std::string("C:\\Gone\\tool.exe") + '\0');
    EXPECT_EQ(RowsLeft(), std::vector<std::string>{"HKCU\\" + std::string(kRun) + "\\Tool"});
    EXPECT_EQ(ClosingMessage(), "Repaired: 6");
}

TEST_F(RepairRun, AChoiceAmongSeveralFindsRepointsAndACancelledOneDeletes) {
    sandbox::SetString(kHkeyCurrentUser, kRun, "Tool", "C:\\Gone\\tool.exe");
    sandbox::Shortcut link;
    link.path = "C:\\Gone\\game.exe";
    sandbox::WriteShortcut(kLink, link);
    for (const char* folder : {"C:\\Windows\\A", "C:\\Program Files\\B"}) {
        sandbox::WriteFile(std::string(folder) + "\\tool.exe", "x");
        sandbox::WriteFile(std::string(folder) + "\\game.exe", "x");
    }
    Scan();
    Repair(kRepairConservative, false, [] {
        InTheChooser("CancelButton");  // the shortcut comes first
        InTheChooser("OKButton");      // the first line: the Windows tree's find
    });
    EXPECT_EQ(sandbox::PendingActions(), 0u);
    EXPECT_FALSE(Exists(kLink));
    EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Tool"), "C:\\Windows\\A\\tool.exe");
    EXPECT_EQ(sRepairItemName, "HKCU\\" + std::string(kRun) + "\\Tool");
    EXPECT_EQ(ClosingMessage(), "Repaired: 2");
}

TEST_F(RepairRun, TheWindowShowsTheRecordInHandAndCountsTheSelectedRows) {
    Language(
        "repairprogress_info=Fixing\r\nfrmrepairprogress_caption=Repair\r\n"
        "msgbox_repaired=Repaired:\r\n");
    SeedEveryKind();
    Scan();
    frmMain->lstMain.SetSelected(1, false);
    frmMain->lstMain.SetSelected(3, false);
    const std::string second = colProblems.Item(2)->pName();
    const long long scanned = sandbox::VirtualTime();
    const auto look = [second, scanned] {
        sandbox::Script(
            "look at the window after the first selected row",
            [second, scanned] {
                EXPECT_EQ(sandbox::VirtualTime() - scanned, 300)
                    << "the run starts 300 ms after the load";
                EXPECT_EQ(frmRepairRun->Caption(), "Repair");
                EXPECT_EQ(frmRepairRun->btnCancel.Caption(), "Cancel");
                EXPECT_EQ(frmRepairRun->lbl1.Caption(), "Fixing " + second);
                EXPECT_EQ(frmRepairRun->ProgressBar1.Max(), kEveryKind - 2);
                EXPECT_EQ(frmRepairRun->ProgressBar1.Value(), 1);
                EXPECT_EQ(frmRepairRun->ScaleWidth(), 7920);
                EXPECT_EQ(frmRepairRun->ScaleHeight(), 2325);
                const ui::TwipRect bar = frmRepairRun->ProgressBar1.Bounds();
                EXPECT_EQ(bar.top, 1080);
                EXPECT_EQ(bar.width, 7695);
                const ui::TwipRect cancel = frmRepairRun->btnCancel.Bounds();
                EXPECT_EQ(cancel.left, 2880);
                EXPECT_EQ(cancel.top, 1680);
            },
            [] { return colProblems.Item(2)->pType() == kTypeRepaired; });
    };
    Repair(kRepairAggressive, false, look);
    EXPECT_EQ(sandbox::PendingActions(), 0u);
    EXPECT_TRUE(Exists(kLink)) << "unselected rows are left alone";
    EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Tool"), "C:\\Gone\\tool.exe");
    EXPECT_EQ(RowsLeft().size(), 3u) << "the two unselected and the application path";
    EXPECT_EQ(ClosingMessage(), "Repaired: 4");
}

TEST_F(RepairRun, CancelEndsTheRunBetweenRecordsAndKeepsWhatWasRepaired) {
    SeedEveryKind();
    Scan();
    Repair(kRepairAggressive, false, [] {
        sandbox::Script("Cancel", sandbox::ClickOn("frmRepairProgress", "btnCancel"),
                        [] { return colProblems.Item(2)->pType() == kTypeRepaired; });
    });
    EXPECT_FALSE(Exists(kLink));
    EXPECT_EQ(Text(kHkeyLocalMachine, kUninstallApp, "UninstallString"), "<absent>");
    EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Tool"), "C:\\Gone\\tool.exe");
    EXPECT_EQ(RowsLeft().size(), 5u);
    EXPECT_EQ(ClosingMessage(), "Repaired: 2");
}

TEST_F(RepairRun, AReadOnlyTemporaryFileIsReportedAndStaysSelected) {
    SeedEveryKind();
    Scan();
    sandbox::SetAttributes(kOldFile, platform::kFileAttributeReadOnly);
    sandbox::AnswerMessageBox(ui::vbOK);
    Repair(kRepairConservative);
    const auto& boxes = sandbox::MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u) << "summary, the failed deletion, closing";
    EXPECT_EQ(boxes[1].text, kDeleteError);
    EXPECT_EQ(boxes[1].caption, "Error deleting file");
    EXPECT_EQ(boxes[1].type, ui::vbOKOnly);
    EXPECT_TRUE(Exists(kOldFile));
    EXPECT_EQ(RowsLeft(), (std::vector<std::string>{"HKLM\\" + std::string(kAppPath), kOldFile}));
    EXPECT_EQ(ClosingMessage(), "Repaired: 5");
    EXPECT_EQ(boxes[2].caption, ui::kAppTitle);
}

TEST_F(RepairRun, ARowWithoutItsRecordEndsTheRun) {
    SeedEveryKind();
    Scan();
    for (const char* tag : {"3x", "99"}) {
        SCOPED_TRACE(tag);
        const int count = colProblems.Count();
        frmMain->lstMain.SetTag(2, tag);
        Repair(kRepairAggressive);
        EXPECT_EQ(ClosingMessage(), "Repaired: 1") << "the first row only";
        EXPECT_EQ(colProblems.Count(), count - 1);
        EXPECT_FALSE(frmRepairRun);
    }
    EXPECT_EQ(Text(kHkeyLocalMachine, kUninstallApp, "UninstallString"), "<absent>")
        << "the rows were numbered anew after the first run";
    EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Tool"), "C:\\Gone\\tool.exe");
}

TEST_F(RepairRun, NoSelectedRowOpensAndClosesTheWindowAndRepairsNothing) {
    Language("");
    SeedEveryKind();
    Scan();
    SelectRows(kSelectNone);
    Repair(kRepairAggressive, false, [] {
        sandbox::Script(
            "the window is open", [] { EXPECT_EQ(frmRepairRun->ProgressBar1.Max(), 100); },
            [] { return frmRepairRun && frmRepairRun->IsLoaded(); });
    });
    EXPECT_EQ(sandbox::PendingActions(), 0u);
    EXPECT_EQ(RowsLeft().size(), static_cast<size_t>(kEveryKind)) << "selected again";
    EXPECT_TRUE(Exists(kLink));
    EXPECT_EQ(ClosingMessage(), " 0") << "the closing text comes from the language file only";
}

TEST_F(RepairRun, WithoutProblemsOnlyAWarningShows) {
    sandbox::AnswerMessageBox(ui::vbOK);
    frmMain->btnMore.Click();
    ASSERT_EQ(sandbox::MessageBoxes().size(), 1u);
    const sandbox::ShownMessageBox& warning = sandbox::MessageBoxes()[0];
    EXPECT_EQ(warning.text,
              "No problems to repair. Please first find issues clicking on button 'Find "
              "problems'");
    EXPECT_EQ(warning.caption, "Warning");
    EXPECT_EQ(warning.type, ui::vbOKOnly);
    EXPECT_EQ(sandbox::FindForm("frmRepairOptions"), 0u);
}

TEST_F(RepairRun, ACancelledOptionsDialogOrADeclinedIncompleteBackupChangesNothing) {
    SeedEveryKind();
    Scan();
    sandbox::Script("Cancel", sandbox::ClickOn("frmRepairOptions", "CancelButton"));
    frmMain->btnMore.Click();
    EXPECT_EQ(sandbox::MessageBoxes().size(), 1u) << "no message after a cancel";

    // Every export fails; asked whether to repair without a complete backup, the user says No.
    sandbox::OnProcessStart(
        [](const std::string&) { return sandbox::ProcessOutcome::EndsWith(1); });
    sandbox::Script("start", sandbox::ClickOn("frmRepairOptions", "OKButton"));
    sandbox::AnswerMessageBox(ui::vbNo);
    frmMain->btnMore.Click();
    EXPECT_EQ(sandbox::MessageBoxes().size(), 2u) << "the backup's question only";
    EXPECT_EQ(sandbox::PendingActions(), 0u);

    EXPECT_EQ(sandbox::FindForm("frmRepairProgress"), 0u);
    EXPECT_EQ(colProblems.Count(), kEveryKind);
    EXPECT_TRUE(Exists(kLink));
    EXPECT_TRUE(Exists(kOldFile));
    EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Tool"), "C:\\Gone\\tool.exe");
}

TEST_F(RepairRun, TheRegistryIsExportedBeforeAnythingChanges) {
    SeedEveryKind();
    Scan();
    std::vector<std::string> exported;
    sandbox::OnProcessStart([&exported](const std::string& commandLine) {
        EXPECT_TRUE(Exists(kLink));
        EXPECT_EQ(Text(kHkeyCurrentUser, kRun, "Tool"), "C:\\Gone\\tool.exe");
        exported.push_back(commandLine);
        return sandbox::ProcessOutcome::EndsWith(0);
    });
    Repair(kRepairAggressive, true);
    ASSERT_EQ(exported.size(), 5u) << "one export per registry record";
    EXPECT_NE(exported[1].find(kRun), std::string::npos);
    EXPECT_EQ(ClosingMessage(), "Repaired: 6");
    EXPECT_FALSE(Exists(kLink));
}

}  // namespace
