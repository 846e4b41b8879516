// The program driven through its headless windows, one run per flow: the start, a scan and
// its repair, a cancelled scan, the chooser, the selection, the options and the window state.
#include <functional>
#include <string>
#include <vector>

#include "app/options_dialog.h"
#include "support/app_test.h"

namespace {

using forms::Answer;

const std::string kNovaroll = "\"C:\\Purgelint\\Novaroll.exe\" ";

struct StartCase {
    const char* name;
    const char* arguments;
    int day;              // of December 2026: 7 and 14 are Mondays, 8 a Tuesday
    const char* stored;   // "last_scheduled_run" before; nullptr: the first start
    int outcome;          // -1: the program ends; 0: an ordinary session; 1: a scheduled run
    const char* lastRun;  // "last_scheduled_run" after
};

class Startup : public AppTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(Startup, DecidesTheScheduledRunHandsOffTheFirstRunAndLogs) {
    const StartCase& c = GetParam();
    if (c.stored) Installed();
    if (c.stored) core::WriteSetting("last_scheduled_run", c.stored);
    sandbox::SetLocalTime(2026, 12, c.day);
    const std::optional<app::Session> session = StartProgram(c.arguments);
    EXPECT_EQ(session ? static_cast<int>(session->scheduledRun) : -1, c.outcome);
    const char* decision = c.outcome == 1    ? ".. performing scheduled run\r\n"
                           : c.outcome == -1 ? ".. scheduled run, skipped, ending\r\n"
                                             : "";
    EXPECT_EQ(ReadAppFile("app.log"), "Program started 12/" + std::to_string(c.day) +
                                          "/2026 with params: " + base::UpperCase(c.arguments) +
                                          "\r\n" + decision);
    EXPECT_EQ(core::ReadSetting("last_scheduled_run", "<absent>"), c.lastRun);
    EXPECT_EQ(Note("update_purgelint2"), c.stored ? "<absent>" : kNovaroll + "/FIRSTRUN");
}

INSTANTIATE_TEST_SUITE_P(
    Starts, Startup,
    ::testing::Values(StartCase{"Interactive", "-x", 7, nullptr, 0, "<absent>"},
                      StartCase{"LowerCaseOnMonday", "/scheduled", 7, nullptr, 1, "07122026"},
                      StartCase{"InOtherText", "x/ScheduledY", 7, "30112026", 1, "07122026"},
                      StartCase{"Tuesday", "/SCHEDULED", 8, nullptr, -1, "<absent>"},
                      StartCase{"SameMonday", "/SCHEDULED", 7, "07122026", -1, "07122026"},
                      StartCase{"SameMondayBlanks", "/SCHEDULED", 7, "\"  07122026  \"", -1,
                                "  07122026  "},
                      StartCase{"NextMonday", "/SCHEDULED", 14, "07122026", 1, "14122026"}),
    [](const auto& info) { return std::string(info.param.name); });

using Flows = AppTest;

// The conservative repair without the backup; the aggressive one is below.
TEST_F(Flows, AScanFindsSelectsRepairsAndTakesTheRepairedOut) {
    Installed();
    InstallShippedLanguage(kAppFolder);
    BrokenShortcut(std::string(kDesktop) + "\\Game.lnk");
    const std::string entry = std::string(kUninstall) + "\\OldApp";
    sandbox::SetString(platform::kHkeyLocalMachine, entry, "UninstallString", "C:\\Gone\\u.exe");
    sandbox::WriteFile("C:\\Program Files\\OldApp\\u.exe", "x");
    OldFile("old.tmp");
    OldFile("kept.tmp", true);
    sandbox::WriteFile(kTemp + std::string("new.tmp"), "x");
    std::optional<app::Session> session = StartProgram();
    app::MainWindow window(*session);
    window.Show();
    const std::string file = "* File|Unused file|C:\\Users\\ann\\Temp\\";
    const std::string date = ".tmp|File in temporary folder, last used 1/1/2020";
    const std::vector<std::string> rows = {
        "* Shortcut|Broken link|C:\\Users\\ann\\Desktop\\Game.lnk|Links to nonexisting file "
        "C:\\Gone\\game.exe",
        "* Registry|Wrong uninstall info|HKLM\\" + entry + "|Links to nonexisting file " +
            "C:\\Gone\\u.exe",
        file + "kept" + date, file + "old" + date};
    Reply(Answer::Yes);  // repair at once
    sandbox::Script(
        "look at the list",
        [&] {
            EXPECT_EQ(Rows(), rows);
            EXPECT_EQ(CountLabel(), "Problems: 4");
        },
        [] { return sandbox::FindForm("RepairOptionsDialog") != 0; });
    ScriptRepairOptions("conservative", false);
    Reply(Answer::Ok);  // kept.tmp is read-only
    Reply(Answer::Ok);
    window.FindProblems();
    const auto& boxes = sandbox::MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NE(boxes[0].text.find("found 2 temporary files"), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[1].text.find("Temp\\kept.tmp"), std::string::npos) << boxes[1].text;
    EXPECT_EQ(boxes[2].text, "Problems repaired: 3");
    EXPECT_EQ(Rows(), std::vector<std::string>{rows[2]});
    EXPECT_EQ(CountLabel(), "Problems: 1");
    EXPECT_FALSE(sandbox::ReadShortcut(std::string(kDesktop) + "\\Game.lnk"));
    EXPECT_FALSE(sandbox::ReadFile(kTemp + std::string("old.tmp")));
    EXPECT_EQ(ValueText(platform::kHkeyLocalMachine, entry, "UninstallString"),
              "\"C:\\Program Files\\OldApp\\u.exe\"");
    EXPECT_EQ(sandbox::StartedProcesses().size(), 0u) << "no REG EXPORT: no backup";
    EXPECT_EQ(core::ReadSettingLong("firsterrors", -1), 4);
    EXPECT_EQ(Note("update_purgelint3"), kNovaroll + "/FIRSTERRORS_4");
}

TEST_F(Flows, ACancelledFirstScanHandsOverCAndALaterStartReportsNoScan) {
    Installed();
    BrokenShortcut(std::string(kDesktop) + "\\a.lnk");
    BrokenShortcut(std::string(kDesktop) + "\\b.lnk");
    OldFile("old.tmp");
    sandbox::Script("cancel after the desktop", sandbox::ClickOn("ScanWindow", "cancel"), [] {
        return platform::GetProgressPos(sandbox::FindControl("ScanWindow", "bar")) == 1;
    });
    for (int start = 1; start <= 2; ++start) {
        std::optional<app::Session> session = StartProgram();
        app::MainWindow window(*session);
        window.Show();
        Reply(Answer::No);
        window.FindProblems();
        EXPECT_EQ(Rows().size(), start == 1 ? 2u : 3u) << "the temporary folder comes last";
        EXPECT_EQ(Note("update_purgelint3"), start == 1 ? kNovaroll + "/FIRSTERRORS_C" : "");
        EXPECT_EQ(core::ReadSettingLong("firsterrors", -1), 2) << "only the first scan reports";
        sandbox::SetValue(platform::kHkeyLocalMachine, kRunOnce, "update_purgelint3", 1, "");
    }
}

TEST_F(Flows, TheChooserOffersEveryFindWithTheFirstSelected) {
    Installed();
    InstallShippedLanguage(kAppFolder);
    BrokenShortcut(std::string(kDesktop) + "\\One.lnk", "C:\\Gone\\tool.exe");
    BrokenShortcut(std::string(kDesktop) + "\\Two.lnk", "C:\\Gone\\tool.exe");
    const std::string finds[] = {"C:\\Windows\\A\\tool.exe", "C:\\Program Files\\B\\TOOL.EXE"};
    for (const std::string& find : finds)
        sandbox::WriteFile(find, "x");
    std::optional<app::Session> session = StartProgram();
    app::MainWindow window(*session);
    window.Show();
    Reply(Answer::Yes);
    ScriptRepairOptions("conservative", false);
    const auto chooser = [] { return sandbox::FindForm("ChooserDialog") != 0; };
    sandbox::Script(
        "take the second find",
        [&] {
            const platform::Hwnd paths = sandbox::FindControl("ChooserDialog", "paths");
            ASSERT_EQ(platform::ListBoxGetCount(paths), 2);
            EXPECT_EQ(platform::ListBoxGetText(paths, 0), finds[0]);
            EXPECT_EQ(platform::ListBoxGetText(paths, 1), finds[1]);
            EXPECT_EQ(platform::ListBoxGetCurSel(paths), 0);
            platform::ListBoxSetCurSel(paths, 1);
            sandbox::ClickOn("ChooserDialog", "ok")();
        },
        chooser);
    sandbox::Script("choose none", sandbox::ClickOn("ChooserDialog", "cancel"), chooser);
    Reply(Answer::Ok);
    window.FindProblems();
    EXPECT_EQ(sandbox::PendingActions(), 0u);
    const auto one = sandbox::ReadShortcut(std::string(kDesktop) + "\\One.lnk");
    EXPECT_EQ(one ? one->path : "<none>", finds[1]);
    EXPECT_FALSE(sandbox::ReadShortcut(std::string(kDesktop) + "\\Two.lnk")) << "deleted";
    EXPECT_EQ(sandbox::MessageBoxes().back().text, "Problems repaired: 2");
}

TEST_F(Flows, SelectionButtonsAndTheCurrentRowAfterARepair) {
    Installed();
    for (const char* name : {"a", "b", "c"})
        BrokenShortcut(std::string(kDesktop) + "\\" + name + ".lnk");
    BrokenShortcut(std::string(kPrograms) + "\\p.lnk");  // found twice: one row
    sandbox::WriteFile("C:\\Windows\\game.exe", "x");    // a find the aggressive repair ignores
    std::optional<app::Session> session = StartProgram();
    app::MainWindow window(*session);
    window.Show();
    Reply(Answer::No);
    window.FindProblems();
    const platform::Hwnd view = sandbox::FindControl("MainWindow", "problems");
    // Clicks `button` and returns the selection as "x" and "." by row.
    const auto click = [](const char* button) {
        if (*button) sandbox::ClickOn("MainWindow", button)();
        std::string marks;
        for (const std::string& row : Rows())
            marks += row[0] == '*' ? 'x' : '.';
        return marks;
    };
    EXPECT_EQ(click(""), "xxxx");
    EXPECT_EQ(CountLabel(), "Problems: 5") << "the duplicate counts";
    EXPECT_EQ(click("selectNone"), "....");
    platform::ListViewSetSelected(view, 0, true);
    platform::ListViewSetSelected(view, 2, true);
    EXPECT_EQ(click("selectInvert"), ".x.x");
    EXPECT_EQ(click("selectAll"), "xxxx");

    // Only the first row repaired, the aggressive way; the current row, the last, stays current.
    click("selectNone");
    platform::ListViewSetSelected(view, 0, true);
    platform::ListViewSetCurrent(view, 3);
    const std::string current = Rows()[3].substr(2);
    ScriptRepairOptions("aggressive", false);
    Reply(Answer::Ok);
    click("repair");
    EXPECT_EQ(sandbox::MessageBoxes().back().text, " 1") << "the count, without its text";
    EXPECT_FALSE(sandbox::ReadShortcut(std::string(kDesktop) + "\\a.lnk"));
    ASSERT_EQ(Rows().size(), 3u);
    EXPECT_EQ(platform::ListViewGetCurrent(view), 2);
    EXPECT_EQ(Rows()[2].substr(2), current);
    EXPECT_EQ(CountLabel(), "Problems: 4");
}

TEST_F(Flows, TheOptionsDialogWritesOrDeletesTheWeeklyRunEntry) {
    Installed();
    std::optional<app::Session> session = StartProgram();
    app::MainWindow window(*session);
    window.Show();
    // The dialog shown with the box as `box`, `clicks` on it; the setting and the entry after.
    const auto options = [](int box, std::vector<const char*> clicks) {
        sandbox::Script(
            "look at the box",
            [box] {
                EXPECT_EQ(platform::GetCheck(sandbox::FindControl("OptionsDialog", "weekly")), box);
            },
            [] { return sandbox::FindForm("OptionsDialog") != 0; });
        for (const char* control : clicks)
            sandbox::Script(control, sandbox::ClickOn("OptionsDialog", control));
        sandbox::ClickOn("MainWindow", "options")();
        return core::ReadSetting("runautomatically", "") + " " +
               ValueText(platform::kHkeyLocalMachine, base::kRunKeyPath, "ro_zuvaviv");
    };
    EXPECT_EQ(app::ScheduledRunCommand(), "\"C:\\Purgelint\\purgelint.exe\" /SCHEDULED");
    EXPECT_EQ(options(1, {"ok"}), "1 " + app::ScheduledRunCommand());
    EXPECT_EQ(options(1, {"weekly", "ok"}), "0 <absent>");
    EXPECT_EQ(options(0, {"weekly", "cancel"}), "0 <absent>");
    EXPECT_EQ(sandbox::PendingActions(), 0u);
}

TEST_F(Flows, PlaceStateAndColumnWidthsComeBackAtTheNextStart) {
    Installed();
    std::optional<app::Session> session = StartProgram();
    // A start of the main window: `act` on it, then its close box.
    const auto start = [&](const std::function<void(app::MainWindow&)>& act) {
        app::MainWindow window(*session);
        window.Show();
        act(window);
        sandbox::CloseBoxOf("MainWindow")();
    };
    const auto list = [] { return sandbox::FindControl("MainWindow", "problems"); };
    const auto expectPlace = [](const forms::TwipRect& r) {
        EXPECT_EQ(std::vector<int>({r.left, r.top, r.width, r.height}),
                  std::vector<int>({1500, 900, 9000, 7500}));
    };
    start([&](app::MainWindow& window) {
        window.Move({1500, 900, 9000, 7500});
        platform::ListViewSetColumnWidth(list(), 1, 192);
    });
    start([&](app::MainWindow& window) {
        expectPlace(window.Bounds());
        EXPECT_EQ(platform::ListViewGetColumnWidth(list(), 1), 192);
        window.SetWindowState(platform::WindowState::Maximized);
    });
    start([](app::MainWindow& window) {
        EXPECT_EQ(window.WindowState(), platform::WindowState::Maximized);
    });
    core::WriteSettingLong("frmmain_window_state", 5);
    start([](app::MainWindow& window) {
        EXPECT_EQ(window.WindowState(), platform::WindowState::Normal) << "an unknown state";
    });
}

}  // namespace
