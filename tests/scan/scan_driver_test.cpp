// "Find problems" from the main window: the list filled from a real scan of a seeded
// machine, the first scan's report, and the summary with its advice.
#include <string>

#include "core/registry_access.h"
#include "model/problem_list.h"
#include "scan/scan_driver.h"
#include "support/main_window_test.h"
#include "ui/interaction.h"

namespace {

constexpr const char* kDesktop = "C:\\Users\\ann\\Desktop";
constexpr const char* kPrograms = "C:\\Users\\ann\\Start Menu\\Programs";
constexpr const char* kTemp = "C:\\Users\\ann\\Temp\\";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class ScanDriver : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        for (const char* folder : {kDesktop, kPrograms, kTemp})
            sandbox::MakeFolder(folder);
        sDesktopFolder = kDesktop;
        sProgramsFolder = kPrograms;
        sTempFolder = kTemp;
        WriteSettingBool("userwelcomed", true);
        // Short marks for the summary's texts, so that a summary reads as its parts.
        Language(
            "scanresult_caption=Results\r\nscanresult_1=[\r\nscanresult_final=]\r\n"
            "scanresult_files1=F(\r\nscanresult_files2=)\r\nscanresult_registry1=R(\r\n"
            "scanresult_registry2=)\r\nscanresult_shortcuts1=S(\r\nscanresult_shortcuts2=)\r\n"
            "scanresult_filesadvice1=f1\r\nscanresult_filesadvice2=f2\r\n"
            "scanresult_filesadvice3=f3\r\nscanresult_registryadvice1=r1\r\n"
            "scanresult_registryadvice2=r2\r\nscanresult_registryadvice3=r3\r\n"
            "scanresult_shortcutsadvice1=s1\r\nscanresult_shortcutsadvice2=s2\r\n"
            "scanresult_shortcutsadvice3=s3\r\nmsgbox_congratnoproblems=None found\r\n");
        OpenMainWindow();
    }

    static void BrokenShortcut(const std::string& path) {
        sandbox::Shortcut link;
        link.path = "C:\\Gone\\program.exe";
        sandbox::WriteShortcut(path, link);
    }
    static void OldFile(const std::string& name) {
        const std::string path = std::string(kTemp) + name;
        sandbox::WriteFile(path, "x");
        sandbox::SetLastWriteTime(path, 2020, 1, 1);
    }
    // More broken shortcuts on the desktop and old files in the temporary folder.
    void Seed(int shortcuts, int files) {
        for (int i = 0; i < shortcuts; ++i)
            BrokenShortcut(std::string(kDesktop) + "\\link" + std::to_string(seeded_++) + ".lnk");
        for (int i = 0; i < files; ++i)
            OldFile("old" + std::to_string(seeded_++) + ".tmp");
    }
    static void Scan(int summaryAnswer = ui::vbNo) {
        sandbox::AnswerMessageBox(summaryAnswer);
        frmMain->btnCheck_Click();
    }
    static const sandbox::ShownMessageBox& LastMessage() {
        EXPECT_FALSE(sandbox::MessageBoxes().empty());
        return sandbox::MessageBoxes().back();
    }
    int seeded_ = 1000;

    static std::string FirstErrorsNote() {
        return ReadRegistryValue(platform::kHkeyLocalMachine, kRunOnceKey, "update_purgelint3");
    }
};

TEST_F(ScanDriver, AFullScanFillsTheListInScanOrderAndSelectsEveryRow) {
    BrokenShortcut(std::string(kDesktop) + "\\b.lnk");
    BrokenShortcut(std::string(kDesktop) + "\\A.lnk");
    BrokenShortcut(std::string(kPrograms) + "\\Games\\c.lnk");
    sandbox::SetString(platform::kHkeyLocalMachine, std::string(kUninstall) + "\\Gone",
                       "UninstallString", "C:\\Gone\\uninst.exe");
    OldFile("old.tmp");
    sandbox::WriteFile(std::string(kTemp) + "new.tmp", "x");
    Scan();

    ASSERT_EQ(colProblems.Count(), 5);
    const ui::ListView& list = frmMain->lstMain;
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Key(1), "shortcut__C:\\Users\\ann\\Desktop\\A.lnk") << "the desktop comes first";
    EXPECT_EQ(list.Key(3), "shortcut__C:\\Users\\ann\\Start Menu\\Programs\\Games\\c.lnk");
    const int expectedIcons[] = {kIconShortcut, kIconShortcut, kIconShortcut, kIconRegistry,
                                 kIconFile};
    for (int row = 1; row <= 5; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const clsItem& item = *colProblems.Item(row);
        EXPECT_EQ(list.Key(row), item.UID());
        EXPECT_EQ(list.Tag(row), std::to_string(row));
        EXPECT_EQ(list.Icon(row), expectedIcons[row - 1]);
        EXPECT_EQ(list.Text(row, 0), item.pTypeName());
        EXPECT_EQ(list.Text(row, 1), item.pStatusName());
        EXPECT_EQ(list.Text(row, 2), item.pName());
        EXPECT_EQ(list.Text(row, 3), item.pDescription);
        EXPECT_TRUE(list.Selected(row));
    }
    EXPECT_EQ(list.Text(5, 0), "File");
    EXPECT_EQ(list.Text(5, 2), "C:\\Users\\ann\\Temp\\old.tmp");
    EXPECT_EQ(list.Text(4, 1), "Wrong uninstall info");
    EXPECT_TRUE(frmMain->lblInfo.Visible());
    EXPECT_EQ(frmMain->lblInfo.Caption(), "Problems: 5");

    ASSERT_EQ(sandbox::MessageBoxes().size(), 1u);
    EXPECT_EQ(LastMessage().text, "[F( 1 )f2R( 1 )r2S( 3 )s2]");
    EXPECT_EQ(LastMessage().caption, "Results");
    EXPECT_EQ(LastMessage().type, 52);
}

TEST_F(ScanDriver, OnlyTheFirstScanIsReportedAndASecondScanStartsFromNothing) {
    Seed(2, 1);
    Scan();
    EXPECT_EQ(lFirstErrors, 3);
    EXPECT_EQ(ReadSettingLong("firsterrors", -1), 3);
    EXPECT_EQ(FirstErrorsNote(), "\"C:\\Purgelint\\Novaroll.exe\" /FIRSTERRORS_3");

    DeleteRegistryValue(platform::kHkeyLocalMachine, kRunOnceKey, "update_purgelint3");
    Seed(1, 0);
    sandbox::Script(
        "look at the list as the scan starts",
        [] {
            EXPECT_EQ(colProblems.Count(), 0);
            EXPECT_EQ(frmMain->lstMain.Count(), 0);
            EXPECT_FALSE(frmMain->lblInfo.Visible());
        },
        [] { return frmProgress && frmProgress->IsLoaded(); });
    Scan();
    EXPECT_EQ(sandbox::PendingActions(), 0u);
    EXPECT_EQ(colProblems.Count(), 4) << "the first scan's records are gone, not doubled";
    EXPECT_EQ(frmMain->lstMain.Count(), 4);
    EXPECT_EQ(ReadSettingLong("firsterrors", -1), 3) << "later scans report nothing";
    EXPECT_EQ(FirstErrorsNote(), "");
}

TEST_F(ScanDriver, ACancelledFirstScanKeepsItsFindingsAndHandsOverMinusOne) {
    Seed(2, 4);
    sandbox::Script("click Cancel after the desktop", sandbox::ClickOn("frmProgress", "btnCancel"),
                    [] { return frmProgress && frmProgress->ProgressBar1.Value() == 1; });
    Scan();
    EXPECT_EQ(colProblems.Count(), 2) << "the temporary folder was never reached";
    EXPECT_EQ(ReadSettingLong("firsterrors", -1), 2) << "the count is still stored";
    EXPECT_EQ(FirstErrorsNote(), "\"C:\\Purgelint\\Novaroll.exe\" /FIRSTERRORS_C");
    EXPECT_EQ(LastMessage().text, "[F( 0 )f1R( 0 )r1S( 2 )s2]") << "a summary of what was found";
}

TEST_F(ScanDriver, AScanThatFindsNothingOnlyCongratulates) {
    Scan(ui::vbOK);
    ASSERT_EQ(sandbox::MessageBoxes().size(), 1u);
    EXPECT_EQ(LastMessage().text, "None found");
    EXPECT_EQ(LastMessage().type, ui::vbOKOnly);
    EXPECT_EQ(LastMessage().caption, "Tallowquince Purgelint");
    EXPECT_FALSE(frmMain->lblInfo.Visible());
    EXPECT_EQ(ReadSettingLong("firsterrors", -1), 0);
    EXPECT_EQ(FirstErrorsNote(), "\"C:\\Purgelint\\Novaroll.exe\" /FIRSTERRORS_0");
}

TEST_F(ScanDriver, TheAdviceChangesAtFiftyFilesAndTenShortcuts) {
    Seed(9, 49);
    Scan();
    EXPECT_EQ(LastMessage().text, "[F( 49 )f2R( 0 )r1S( 9 )s2]");
    Seed(1, 1);
    Scan();
    EXPECT_EQ(LastMessage().text, "[F( 50 )f3R( 0 )r1S( 10 )s3]");

    // Registry entries and the kinds that are neither file nor registry entry.
    colProblems = ProblemCollection();
    for (int i = 0; i < 50; ++i)
        AddItem(std::make_shared<clsItem>());
    auto repaired = std::make_shared<clsItem>();
    repaired->pType(kTypeRepaired);
    AddItem(repaired);
    EXPECT_EQ(ScanSummary(), "[F( 0 )f1R( 50 )r3S( 1 )s2]");
    colProblems.Remove(1);
    EXPECT_EQ(ScanSummary(), "[F( 0 )f1R( 49 )r2S( 1 )s2]");
}

TEST_F(ScanDriver, YesRunsTheRepairCommandWithEveryRowSelected) {
    Seed(3, 0);
    int repairs = 0;
    sandbox::AnswerMessageBox(ui::vbYes);
    FindProblems(*frmMain, [&] {
        ++repairs;
        for (int row = 1; row <= 3; ++row)
            EXPECT_TRUE(frmMain->lstMain.Selected(row));
    });
    EXPECT_EQ(repairs, 1);

    sandbox::AnswerMessageBox(ui::vbNo);
    FindProblems(*frmMain, [&] { ++repairs; });
    EXPECT_EQ(repairs, 1) << "No leaves the problems as they are";
}

}  // namespace
