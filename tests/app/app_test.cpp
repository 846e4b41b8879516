// The program driven through its headless windows.
#include "app/scan_command.h"
#include "support/app_test.h"

namespace {

using enum forms::Answer;
using platform::WindowState;

const std::string kNovaroll = "\"C:\\Purgelint\\Novaroll.exe\" ";

struct StartCase {
    const char *name, *arguments;
    int day;              // of December 2026: 7 and 14 are Mondays, 8 a Tuesday
    const char* stored;   // "last_scheduled_run" before; nullptr: the first start
    int outcome;          // -1: the program ends; 0: an ordinary session; 1: a scheduled run
    const char* lastRun;  // "last_scheduled_run" after
};

class Startup : public AppTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(Startup, DecidesTheScheduledRunHandsOffTheFirstRunAndLogs) {
    const StartCase& c = GetParam();
    if (c.stored) Installed(), core::WriteSetting("last_scheduled_run", c.stored);
    sandbox::SetLocalTime(2026, 12, c.day);
    const std::optional<app::Session> session = StartProgram(c.arguments);
    EXPECT_EQ(session ? static_cast<int>(session->scheduledRun) : -1, c.outcome);
    const char* decisions[] = {".. scheduled run, skipped, ending\r\n", "",
                               ".. performing scheduled run\r\n"};
    EXPECT_EQ(ReadAppFile("app.log"), "Program started 12/" + std::to_string(c.day) +
                                          "/2026 with params: " + base::UpperCase(c.arguments) +
                                          "\r\n" + decisions[c.outcome + 1]);
    EXPECT_EQ(core::ReadSetting("last_scheduled_run", "<absent>"), c.lastRun);
    EXPECT_EQ(ValueText(kRunOnce, "update_purgelint2"),
              c.stored ? "<absent>" : kNovaroll + "/FIRSTRUN");
}

const StartCase kStarts[] = {{"Interactive", "-x", 7, nullptr, 0, "<absent>"},
                             {"LowerCaseOnMonday", "/scheduled", 7, nullptr, 1, "07122026"},
                             {"InOtherText", "x/ScheduledY", 7, "30112026", 1, "07122026"},
                             {"Tuesday", "/SCHEDULED", 8, nullptr, -1, "<absent>"},
                             {"SameMonday", "/SCHEDULED", 7, "\" 07122026 \"", -1, " 07122026 "},
                             {"NextMonday", "/SCHEDULED", 14, "07122026", 1, "14122026"}};
INSTANTIATE_TEST_SUITE_P(Starts, Startup, ::testing::ValuesIn(kStarts),
                         [](const auto& info) { return std::string(info.param.name); });

using Flows = AppTest;

// A cancelled first scan, a whole one and the selection buttons; repairs offered at once
// and cancelled, refused for want of a backup, done the aggressive way for the first row
// (the current row, the last, staying current), the conservative way for the rest; a rescan.
TEST_F(Flows, ScansSelectionAndRepairs) {
    Installed();
    InstallShippedLanguage();
    Seed();
    std::optional<app::Session> session = StartProgram();
    app::MainWindow window(*session);
    window.Show();
    sandbox::Script("cancel after the desktop", sandbox::ClickOn("ScanWindow", "cancel"), [] {
        return platform::GetProgressPos(sandbox::FindControl("ScanWindow", "bar")) == 1;
    });
    Reply(No);
    window.FindProblems();
    EXPECT_EQ(Rows().size(), 2u) << "the registry and the temporary folder come later";
    EXPECT_EQ(ValueText(kRunOnce, "update_purgelint3"), kNovaroll + "/FIRSTERRORS_C");
    Reply(Yes);  // repair at once
    ScriptRepairOptions("conservative", false, "cancel");
    window.FindProblems();
    EXPECT_EQ(core::ReadSettingLong("firsterrors", -1), 2) << "only the first scan reports";
    const std::string file = "* File|Unused file|" + kTemp;
    const std::string date = ".tmp|File in temporary folder, last used 1/1/2020";
    const std::string gone = "|Links to nonexisting file C:\\Gone\\tool.";
    const std::vector<std::string> rows = {
        "* Shortcut|Broken link|" + kDesktop + "\\Tool.lnk" + gone + "exe",
        "* Shortcut|Broken link|" + kPrograms + "\\p.lnk" + gone + "exe",
        "* Registry|Wrong uninstall info|HKLM\\" + kEntry + gone + "exe",
        "* Registry|Broken help link|HKLM\\" + kHelp + "\\tool.hlp" + gone + "hlp",
        file + "kept" + date,
        file + "old" + date};
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(CountLabel(), "Problems: 7") << "the duplicate counts";
    const platform::Hwnd view = sandbox::FindControl("MainWindow", "problems");
    const auto marks = [] {  // the selection: "x" and "." by row
        std::string text;
        for (const std::string& row : Rows())
            text += row[0] == '*' ? 'x' : '.';
        return text;
    };
    const auto click = [&](const char* button) {
        return sandbox::ClickOn("MainWindow", button)(), marks();
    };
    EXPECT_EQ(click("selectNone"), "......");
    EXPECT_EQ((sandbox::SelectAllKeysOn("MainWindow", "problems")(), marks()), "xxxxxx")
        << "Ctrl+A";
    EXPECT_EQ(click("selectNone"), "......");
    for (const int row : {0, 2})
        platform::ListViewSetSelected(view, row, true);
    EXPECT_EQ(click("selectInvert"), ".x.xxx");
    EXPECT_EQ(click("selectAll"), "xxxxxx");
    ScriptRepairOptions("aggressive", true);
    Reply(No);  // no repair without the backup
    click("repair");

    click("selectNone");
    platform::ListViewSetSelected(view, 0, true);
    platform::ListViewSetCurrent(view, 5);
    ScriptRepairOptions("aggressive", false);
    Reply(Ok);
    click("repair");
    EXPECT_EQ(Rows(), std::vector<std::string>(rows.begin() + 1, rows.end()));
    EXPECT_EQ(platform::ListViewGetCurrent(view), 4);

    ScriptRepairOptions("conservative", false);
    const auto chooser = [] { return sandbox::FindForm("ChooserDialog") != 0; };
    sandbox::Script(
        "look at the finds of the shortcut, take the second",
        [&] {
            const platform::Hwnd paths = sandbox::FindControl("ChooserDialog", "paths");
            ASSERT_EQ(platform::ListBoxGetCount(paths), 2);
            for (int i : {0, 1})
                EXPECT_EQ(platform::ListBoxGetText(paths, i), kFinds[i]);
            EXPECT_EQ(platform::ListBoxGetCurSel(paths), 0);
            const std::string info =
                platform::GetWindowText(sandbox::FindControl("ChooserDialog", "info"));
            EXPECT_NE(info.find(kPrograms + "\\p.lnk"), std::string::npos) << info;
            platform::ListBoxSetCurSel(paths, 1);
            sandbox::ClickOn("ChooserDialog", "ok")();
        },
        chooser);
    sandbox::Script("none for the entry", sandbox::ClickOn("ChooserDialog", "cancel"), chooser);
    Reply(Ok, Ok);  // kept.tmp is read-only
    click("repair");
    Reply(No);  // a scan finds what is left: the repairs lasted
    window.FindProblems();
    const auto& boxes = sandbox::MessageBoxes();
    ASSERT_EQ(boxes.size(), 7u);
    EXPECT_NE(boxes[1].text.find("found 2 temporary files"), std::string::npos) << boxes[1].text;
    EXPECT_NE(boxes[4].text.find("Temp\\kept.tmp"), std::string::npos) << boxes[4].text;
    EXPECT_EQ(boxes[5].text, "Problems repaired: 4");
    EXPECT_EQ(Rows(), std::vector<std::string>{rows[4]});
    EXPECT_EQ(CountLabel(), "Problems: 1");
    const auto link = sandbox::ReadShortcut(kPrograms + "\\p.lnk");
    EXPECT_EQ(link ? link->path : "<none>", kFinds[1]);
    EXPECT_EQ(ValueText(kEntry, "UninstallString"), "<absent>") << "none chosen: deleted";
    EXPECT_FALSE(sandbox::ReadFile(kTemp + "old.tmp"));
    EXPECT_EQ(sandbox::StartedProcesses().size(), 2u) << "the failed backup only";
}

// The options, the place, the state and the column widths come back at the next start. The
// first click waits past the welcome's time: a welcome shown again would stop the test.
TEST_F(Flows, WhatTheUserSetsComesBackAtTheNextStart) {
    Installed();
    std::optional<app::Session> session = StartProgram();
    const auto start = [&](const std::function<void(app::MainWindow&)>& act) {
        app::MainWindow window(*session);
        window.Show();
        act(window);
        sandbox::CloseBoxOf("MainWindow")();
    };
    const auto options = [](std::vector<const char*> clicks) {
        for (const char* control : clicks)
            sandbox::Script(control, sandbox::ClickOn("OptionsDialog", control),
                            [] { return sandbox::VirtualTime() >= 700; });
        sandbox::ClickOn("MainWindow", "options")();
        return core::ReadSetting("runautomatically", "") + " " +
               ValueText(base::kRunKeyPath, "ro_zuvaviv");
    };
    const std::string on = "1 \"C:\\Purgelint\\purgelint.exe\" /SCHEDULED";
    const auto list = [] { return sandbox::FindControl("MainWindow", "problems"); };
    const auto expectPlace = [](const forms::TwipRect& r) {
        EXPECT_EQ(std::vector<int>({r.left, r.top, r.width, r.height}),
                  std::vector<int>({1500, 900, 9000, 7500}));
    };
    start([&](app::MainWindow& window) {
        EXPECT_EQ(options({"ok"}), on) << "ticked at first";
        EXPECT_EQ(options({"weekly", "ok"}), "0 <absent>");
        const platform::PixelRect was = platform::GetWindowRect(list());
        for (const int height : {1500, 1000})  // too small to lay out: the list stays
            window.Move({1500, 900, 300, height});
        const platform::PixelRect is = platform::GetWindowRect(list());
        EXPECT_EQ(std::tie(is.width, is.height), std::tie(was.width, was.height));
        window.Move({1500, 900, 9000, 7500});
        platform::ListViewSetColumnWidth(list(), 1, 192);
    });
    start([&](app::MainWindow& window) {
        EXPECT_EQ(options({"weekly", "cancel"}), "0 <absent>");
        EXPECT_EQ(options({"weekly", "ok"}), on);
        expectPlace(window.Bounds());
        EXPECT_EQ(platform::ListViewGetColumnWidth(list(), 1), 192);
        window.SetWindowState(WindowState::Maximized);
    });
    start([](app::MainWindow& w) { EXPECT_EQ(w.WindowState(), WindowState::Maximized); });
    for (const long state : {5L, -1L}) {
        core::WriteSettingLong("frmmain_window_state", state);
        start([&](app::MainWindow& window) {
            EXPECT_EQ(window.WindowState(), WindowState::Normal) << "an unknown state";
            expectPlace(window.Bounds());
        });
    }
}

// A problem whose identity (in any case) has a row already gets none. A row whose problem has
// gone ends the selection. The current row is found again by its identity.
TEST_F(Flows, ListRowsSkipDuplicatesFollowTheProblemsAndKeepTheCurrentOne) {
    struct ListWindow : forms::Form {
        ListWindow() : forms::Form("ListWindow") {}
        void Design() override { Add(list, "list", {0, 0, 6000, 3000}), Add(count, "c", {}); }
        forms::ListView list;
        forms::Label count;
    } window;
    window.Load();
    const core::Language english;
    core::Problems problems(4);
    for (std::size_t i = 0; i < problems.size(); ++i)
        problems[i].location = problems[i].description = std::string(1, "abAc"[i]);
    problems[1].kind = static_cast<core::ProblemKind>(3);  // a kind and a category of no name
    problems[1].category = static_cast<core::Category>(4);
    app::ProblemListView view(window.list, window.count, english);
    view.Refresh(problems);
    EXPECT_EQ(std::to_string(window.list.Count()) + window.list.Text(2) + window.list.Text(2, 1) +
                  window.list.Text(2, 2) + window.list.Text(2, 3) + window.list.Text(3, 3) +
                  std::to_string(window.list.Icon(2)),
              "3bbc0");
    EXPECT_EQ(app::ScanSummary({problems[1]}, english), app::ScanSummary({}, english));
    view.Select(app::Selection::All);
    EXPECT_EQ(view.SelectedProblems(4), (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_EQ(view.SelectedProblems(3), (std::vector<std::size_t>{0, 1})) << "the last one gone";
    window.list.SetCurrentItem(3);
    EXPECT_EQ(view.CurrentProblem(4), std::optional<std::size_t>(3));
    problems.erase(problems.begin());
    view.Refresh(problems);
    EXPECT_EQ(view.CurrentProblem(3), std::optional<std::size_t>(2)) << "c is still current";
}

}  // namespace
