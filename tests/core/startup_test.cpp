// Start-up: the first-run hand-off, the special folders, the start line and the run mode.
#include <string>

#include "core/app_state.h"
#include "core/first_run.h"
#include "core/folders.h"
#include "core/settings.h"
#include "core/startup.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "support/sandbox_test.h"

using namespace platform;

namespace {

constexpr const char* kRunOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class Startup : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        sandbox::CreateKey(kHkeyLocalMachine, kRunOnce);
    }
    // A later start: the first-run note was left before.
    void NotFirstStart() {
        sandbox::WriteFile(AppFile("setup.ini"), "[Main]\r\nwasfirstrun=1\r\n");
    }
    static std::string Note(const char* name) {
        const auto value = sandbox::GetValue(kHkeyLocalMachine, kRunOnce, name);
        return value ? value->data : "<absent>";
    }
    static std::string Setting(const std::string& key) {
        char buffer[256];
        const auto n =
            ReadProfileString("Main", key, "<absent>", buffer, sizeof buffer, AppFile("setup.ini"));
        return std::string(buffer, n);
    }
};

TEST_F(Startup, TheFirstStartLeavesTheNoteBeforeItLogsAndLaterStartsDoNot) {
    sandbox::SetApplication("C:\\Tools", "");
    sandbox::MakeFolder("C:\\Tools");
    Main();
    EXPECT_EQ(Note("update_purgelint2"),
              std::string("\"C:\\Tools\\Novaroll.exe\" /FIRSTRUN") + '\0');
    EXPECT_EQ(sandbox::ReadFile("C:\\Tools\\setup.ini"), "[Main]\r\nwasfirstrun=1\r\n");
    const auto& journal = sandbox::Journal();
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0], "set HKLM\\" + std::string(kRunOnce) + "\\update_purgelint2");
    EXPECT_EQ(journal[1], "profile C:\\Tools\\setup.ini wasfirstrun");
    EXPECT_EQ(journal[2], "append C:\\Tools\\app.log");
    EXPECT_EQ(sandbox::ReadFile("C:\\Tools\\app.log").value_or(""),
              "Program started 12/7/2026 with params: \r\n");

    sandbox::SetValue(kHkeyLocalMachine, kRunOnce, "update_purgelint2", kRegSz, "");
    Main();
    EXPECT_EQ(Note("update_purgelint2"), "") << "a second start writes no note";
}

TEST_F(Startup, WithoutRightsToRunOnceTheFlagIsStillSet) {
    sandbox::RefuseFullAccess(kHkeyLocalMachine, "SOFTWARE");
    HandOffFirstRun();
    EXPECT_EQ(Note("update_purgelint2"), "<absent>");
    EXPECT_EQ(Setting("wasfirstrun"), "1");
}

TEST_F(Startup, TheFirstScanNoteCarriesTheCountOrC) {
    HandOffFirstErrors(12);
    EXPECT_EQ(Note("update_purgelint3"),
              std::string("\"C:\\Purgelint\\Novaroll.exe\" /FIRSTERRORS_12") + '\0');
    HandOffFirstErrors(-1);
    EXPECT_EQ(Note("update_purgelint3"),
              std::string("\"C:\\Purgelint\\Novaroll.exe\" /FIRSTERRORS_C") + '\0');
    EXPECT_EQ(Setting("wasfirstrun"), "1");
}

TEST_F(Startup, SettingsAndFoldersFillTheApplicationState) {
    sandbox::WriteFile(AppFile("setup.ini"),
                       "[Main]\r\nlanguage=deu\r\nwasfirstrun=1\r\nfirsterrors=7\r\n");
    sandbox::SetString(kHkeyCurrentUser, kShellFolders, "Desktop", "C:\\Users\\ann\\Desktop");
    sandbox::SetString(kHkeyCurrentUser, kShellFolders, "Programs", "");
    sandbox::SetSpecialFolder(kCsidlProgramFiles, "C:\\Program Files");
    sandbox::SetWindowsDirectory("C:\\windows");
    sandbox::MakeFolder("C:\\Users\\Long User Name\\Temp");
    sandbox::SetTempPath("C:\\Users\\LONGUS~1\\Temp\\");
    Main();
    EXPECT_EQ(sLanguage, "deu");
    EXPECT_TRUE(bWasFirstRun);
    EXPECT_EQ(lFirstErrors, 7);
    EXPECT_EQ(sDesktopFolder, "C:\\Users\\ann\\Desktop");
    EXPECT_EQ(sProgramsFolder, "");
    EXPECT_EQ(sCacheFolder, "") << "an absent value";
    EXPECT_EQ(sProgramFilesFolder, "C:\\Program Files");
    EXPECT_EQ(sTempFolder, "C:\\Users\\Long User Name\\Temp\\");
    EXPECT_EQ(sWindowsFolder, "C:\\windows");
    EXPECT_EQ(Note("update_purgelint2"), "<absent>");
}

TEST_F(Startup, PathFormsBeyondTheBufferAreNotCut) {
    std::string deep = "C:\\Data";
    while (deep.size() < 300)
        deep += "\\A rather long folder name";
    sandbox::MakeFolder(deep);
    EXPECT_EQ(GetLongPath(deep), deep);
    const std::string shortForm = GetShortPath(deep);
    EXPECT_NE(shortForm, deep);
    EXPECT_EQ(GetLongPath(shortForm), deep);

    sandbox::SetTempPath(deep + "\\");
    InitTempFolder();
    EXPECT_EQ(sTempFolder, deep + "\\");
    EXPECT_EQ(GetLongPath("C:\\Missing\\file.txt"), "C:\\Missing\\file.txt");
    EXPECT_EQ(GetShortPath("C:\\Missing\\file.txt"), "C:\\Missing\\file.txt");
}

// The run-mode table: which starts scan, which end, and what they leave behind.
struct RunCase {
    const char* name;
    const char* arguments;
    int day;              // of December 2026: 7 and 14 are Mondays, 8 a Tuesday
    const char* stored;   // "last_scheduled_run" line, or nullptr
    bool scheduled;       // bScheduledRun after Main
    const char* log;      // app.log after Main
    const char* lastRun;  // "last_scheduled_run" after Main
};

class RunMode : public Startup, public ::testing::WithParamInterface<RunCase> {};

TEST_P(RunMode, DecidesAndLogs) {
    const RunCase& c = GetParam();
    NotFirstStart();
    if (c.stored) WriteSetting("last_scheduled_run", c.stored);
    sandbox::SetApplication(kAppFolder, c.arguments);
    sandbox::SetLocalTime(2026, 12, c.day);
    Main();
    EXPECT_EQ(bScheduledRun, c.scheduled);
    EXPECT_EQ(ReadAppFile("app.log"), c.log);
    EXPECT_EQ(Setting("last_scheduled_run"), c.lastRun);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, RunMode,
    ::testing::Values(RunCase{"Interactive", "", 7, nullptr, false,
                              "Program started 12/7/2026 with params: \r\n", "<absent>"},
                      RunCase{"OtherArgumentsAreUpperCased", "-x foo", 7, nullptr, false,
                              "Program started 12/7/2026 with params: -X FOO\r\n", "<absent>"},
                      RunCase{"LowerCaseSwitchOnMonday", "/scheduled", 7, nullptr, true,
                              "Program started 12/7/2026 with params: /SCHEDULED\r\n"
                              ".. performing scheduled run\r\n",
                              "07122026"},
                      RunCase{"SwitchInsideOtherText", "x/ScheduledY", 7, "30112026", true,
                              "Program started 12/7/2026 with params: X/SCHEDULEDY\r\n"
                              ".. performing scheduled run\r\n",
                              "07122026"},
                      RunCase{"TuesdayIsNeverDue", "/SCHEDULED", 8, nullptr, false,
                              "Program started 12/8/2026 with params: /SCHEDULED\r\n"
                              ".. scheduled run, skipped, ending\r\n",
                              "<absent>"},
                      RunCase{"SecondStartOnTheSameMonday", "/SCHEDULED", 7, "07122026", false,
                              "Program started 12/7/2026 with params: /SCHEDULED\r\n"
                              ".. scheduled run, skipped, ending\r\n",
                              "07122026"},
                      RunCase{"StoredDayWithBlanksStillMatches", "/SCHEDULED", 7,
                              "\"  07122026  \"", false,
                              "Program started 12/7/2026 with params: /SCHEDULED\r\n"
                              ".. scheduled run, skipped, ending\r\n",
                              "  07122026  "},
                      RunCase{"LastWeeksMondayIsDueAgain", "/SCHEDULED", 14, "07122026", true,
                              "Program started 12/14/2026 with params: /SCHEDULED\r\n"
                              ".. performing scheduled run\r\n",
                              "14122026"},
                      RunCase{"GarbageStoredDayDiffers", "/SCHEDULED", 7, "someday", true,
                              "Program started 12/7/2026 with params: /SCHEDULED\r\n"
                              ".. performing scheduled run\r\n",
                              "07122026"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, AScheduledStartThatIsNotDueStillHandsOffTheFirstRun) {
    sandbox::SetApplication(kAppFolder, "/SCHEDULED");
    sandbox::SetLocalTime(2026, 12, 8);
    Main();
    EXPECT_NE(Note("update_purgelint2"), "<absent>");
    EXPECT_EQ(ReadAppFile("app.log"),
              "Program started 12/8/2026 with params: /SCHEDULED\r\n"
              ".. scheduled run, skipped, ending\r\n");
}

}  // namespace
