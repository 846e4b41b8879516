// /SCAN and /REPAIR on the seeded machine: the switches, the safe answers, the exit codes and
// what the starter, the report and the log are told.
#include <nlohmann/json.hpp>

#include "app/switches.h"
#include "app/unattended.h"
#include "app/weekly_scan.h"
#include "core/exclusions.h"
#include "support/app_test.h"

namespace {

struct SwitchCase {
    const char *input, *expected;  // "mode method backUp report", or the reason's beginning
};

TEST(Switches, AreReadInAnyCaseAndAWrongLineSaysWhy) {
    const SwitchCase rows[] = {
        {"", "0 0 1 "},
        {"/scheduled", "1 0 1 "},
        {"/Scan /report:C:\\r\\%computername%.csv", "2 0 1 C:\\r\\SANDBOX.csv"},
        {"/REPAIR:aggressive /NoBackup \"/REPORT:C:\\My Reports\\x.JSON\"",
         "3 1 0 C:\\My Reports\\x.JSON"},
        {"/REPAIR:Conservative /REPORT:\"C:\\a b\\%UNSET%.json\"", "3 0 1 C:\\a b\\%UNSET%.json"},
        {"/SCAN /REPAIR:AGGRESSIVE", "only one of"},
        {"/SCHEDULED /SCAN", "only one of"},
        {"/REPAIR", "unknown switch: /REPAIR"},
        {"/REPAIR:FAST", "/REPAIR takes"},
        {"/SCAN /NOBACKUP", "/NOBACKUP goes"},
        {"/REPORT:C:\\r.csv", "/REPORT goes"},
        {"/SCAN /REPORT:", "/REPORT needs"},
        {"/SCAN /REPORT:C:\\r.txt", "the report is"},
        {"-x", "unknown switch: -x"},
        {"/SCAN\t/REPORT:C:\\r.json", "2 0 1 C:\\r.json"},
        {"/SCAN \"\"", "unknown switch: "},
        {"/SCAN /REPORT:.cs", "the report is"},
        {"/undo:latest /REPORT:C:\\u.csv", "4 0 1 C:\\u.csv "},
        {"/UNDO:", "/UNDO takes"},
        {"/REPAIR:AGGRESSIVE /UNDO:LATEST", "only one of"},
    };
    ForEachRow(rows, [](const SwitchCase& row) {
        const auto parsed = app::ParseSwitches(row.input);
        std::string shown;
        if (const auto* reason = std::get_if<std::string>(&parsed)) {
            shown = reason->substr(0, std::string(row.expected).size());
        } else {
            const auto& i = std::get<app::Invocation>(parsed);
            shown = std::to_string(static_cast<int>(i.mode)) + " " +
                    std::to_string(static_cast<int>(i.method)) + " " + std::to_string(i.backUp) +
                    " " + i.reportPath + (i.mode == app::Mode::Undo ? " " + i.run : "");
        }
        EXPECT_EQ(shown, row.expected);
    });
}

class Unattended : public AppTest {
  protected:
    // The seeded machine, a start-up entry with a comma and quotes in its name whose file is
    // found twice with equal evidence, and a third find of tool.exe in a folder named "Gone".
    void SetUp() override {
        AppTest::SetUp();
        Installed();
        Seed();
        sandbox::SetString(platform::kHkeyCurrentUser, kRun, "Beta, \"new\"", "C:\\Gone\\beta.exe");
        for (const char* find : {"C:\\Windows\\Gone\\beta.exe", "C:\\Program Files\\Gone\\beta.exe",
                                 "C:\\Program Files\\Gone\\tool.exe", "C:\\Windows\\tool.hlp"})
            sandbox::WriteFile(find, "x");
    }
    static int Run(const std::string& arguments) {
        const auto invocation = std::get<app::Invocation>(app::ParseSwitches(arguments));
        return app::RunUnattended(invocation, *StartProgram(arguments));
    }
    static constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
};

TEST_F(Unattended, AScanTellsEveryProblemAndEndsWithOne) {
    EXPECT_EQ(Run("/SCAN /REPORT:C:\\r.csv"), app::kExitFound);
    const auto& lines = sandbox::OutputLines();
    ASSERT_EQ(lines.size(), 8u) << "one per problem, the shortcut in both walks once";
    EXPECT_EQ(lines[0], "shortcut\tbroken-link\t" + kDesktop + "\\Tool.lnk\tC:\\Gone\\tool.exe");
    EXPECT_EQ(lines.back(), "7 problems found");
    const std::string csv = ReadAppFile("..\\r.csv");
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF") << "Excel's UTF-8 mark";
    EXPECT_NE(csv.find("\r\nregistry,broken-link,\"HKCU\\SOFTWARE\\Microsoft\\Windows\\"
                       "CurrentVersion\\Run\\Beta, \"\"new\"\"\",\"Beta, \"\"new\"\"\","
                       "C:\\Gone\\beta.exe,,,,\r\n"),
              std::string::npos)
        << csv;
    EXPECT_EQ(ValueText(kEntry, "UninstallString"), "C:\\Gone\\tool.exe") << "nothing changed";
}

// A report that cannot be written, then the backups that fail on the seeded machine: nothing
// is changed until they are off; then a find that alone shares a folder name is taken, ties
// and doubtful finds are left, a file that cannot be deleted is left with the reason.
TEST_F(Unattended, ARepairTakesOnlyTheSafeAnswers) {
    EXPECT_EQ(Run("/REPAIR:AGGRESSIVE /NOBACKUP /REPORT:C:\\Missing\\r.json"),
              app::kExitBadCommandLine);
    EXPECT_EQ(sandbox::OutputLines().back(),
              "purgelint: the report C:\\Missing\\r.json cannot be "
              "written: The system cannot find the path specified.");
    EXPECT_EQ(Run("/REPAIR:CONSERVATIVE"), app::kExitBackupFailed);
    EXPECT_EQ(ValueText(kEntry, "UninstallString"), "C:\\Gone\\tool.exe");
    EXPECT_EQ(Run("/REPAIR:CONSERVATIVE /NOBACKUP /REPORT:C:\\r.json"), app::kExitLeft);
    const auto report = nlohmann::json::parse(ReadAppFile("..\\r.json"));
    std::string actions;
    for (const auto& problem : report["problems"])
        actions += problem["action"].get<std::string>() + " ";
    // Tool.lnk, p.lnk, the uninstall entry, Beta, tool.hlp, kept.tmp (read-only), old.tmp.
    EXPECT_EQ(actions,
              "repointed repointed repointed left-needs-choice left-needs-choice left-failed "
              "deleted ");
    EXPECT_EQ(report["problems"][5]["reason"], "Access is denied.");
    EXPECT_EQ(report["mode"].get<std::string>() + " " + report["machine"].get<std::string>() + " " +
                  report["time"].get<std::string>() + " " + report["counts"].dump(),
              "repair-conservative SANDBOX 2026-12-07T09:00:00 "
              "{\"found\":7,\"left\":3,\"repaired\":4}");
    EXPECT_EQ(ValueText(kEntry, "UninstallString"), "\"C:\\Program Files\\Gone\\tool.exe\"");
    EXPECT_NE(ReadAppFile("app.log").find(
                  ".. repair-conservative: 7 problems found, 4 repaired, 3 left\r\n"),
              std::string::npos);
}

// The latest run comes back whole: its registry values from the exports, its shortcuts from
// their copies; the temporary file it deleted is reported as gone for good. A second undo
// finds everything as it was before, and a run that is not kept is a wrong command line.
TEST_F(Unattended, AnUndoPutsBackWhatTheLatestRunChanged) {
    sandbox::OnProcessStart(sandbox::RunRegTool);
    const auto link = sandbox::ReadFile(kDesktop + "\\Tool.lnk");
    EXPECT_EQ(Run("/UNDO:LATEST"), app::kExitBadCommandLine) << "no run yet";
    EXPECT_EQ(Run("/REPAIR:AGGRESSIVE"), app::kExitLeft);
    EXPECT_EQ(Run("/UNDO:991231-000000"), app::kExitBadCommandLine);
    EXPECT_EQ(sandbox::OutputLines().back(),
              "purgelint: no repair run 991231-000000 is kept in " + AppFile("backup"));
    for (const char* expected : {"restored", "already-restored"}) {
        EXPECT_EQ(Run("/UNDO:LATEST /REPORT:C:\\u.json"), app::kExitClean);
        const auto report = nlohmann::json::parse(ReadAppFile("..\\u.json"));
        // Tool.lnk, p.lnk, the uninstall entry, Beta, tool.hlp: 5 restored; old.tmp: gone.
        EXPECT_EQ(
            report["changes"][0]["action"].get<std::string>() +
                report["changes"][5]["action"].get<std::string>() + report["counts"].dump(),
            std::string(expected) + "not-restorable" + "{\"changes\":6,\"left\":0,\"restored\":5}");
        EXPECT_EQ(ValueText(kEntry, "UninstallString") + "|" + ValueText(kHelp, "tool.hlp"),
                  "C:\\Gone\\tool.exe|C:\\Gone");
        EXPECT_EQ(sandbox::ReadFile(kDesktop + "\\Tool.lnk"), link);
    }
    EXPECT_EQ(sandbox::OutputLines().back().substr(0, 24), "6 changes of run 261207-");
    sandbox::WriteFile(AppFile("backup\\200101-000000.json"), "{\"time\"");
    EXPECT_EQ(Run("/UNDO:200101-000000"), app::kExitLeft);
    EXPECT_EQ(sandbox::OutputLines().end()[-2].substr(0, 43),
              "purgelint: the record of run 200101-000000 ");
}

TEST(Exclusions, MatchWholeTextsWithWildcardsInAnyCase) {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"*\\gone\\*.EXE", "C:\\Gone\\tool.exe", true},
        {"C:\\Gone\\t??l.exe", "c:\\gone\\TOOL.exe", true},
        {"C:\\Gone\\t?l.exe", "C:\\Gone\\tool.exe", false},
        {"*a*b*", "xxaxxbxx", true},
        {"*a*b", "xxaxxbxx", false},
        {"*ab?d", "xabxabcd", true},
    };
    for (const auto& [pattern, text, matches] : rows)
        EXPECT_EQ(core::MatchesWildcard(pattern, text), matches) << pattern << " " << text;
}

// exclude.txt beside the program: comments, blanks and letter case aside, a pattern hides
// what it matches from the window's list and from an unattended run alike; "Never report this"
// on a row adds its location.
TEST_F(Unattended, ExcludedProblemsAreNeitherListedNorReported) {
    sandbox::WriteFile(AppFile("exclude.txt"),
                       "\xEF\xBB\xBF# never these\r\n\r\n*\\gone\\BETA.exe\r\n  " +
                           base::UpperCase(kDesktop) + "\\*.lnk ");
    for (const char* dll : {"C:\\Gone\\a.dll", "C:\\Gone\\b.dll"})  // two rows, one location
        sandbox::SetValue(platform::kHkeyLocalMachine,
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", dll,
                          platform::kRegDword, std::string(4, '\1'));
    EXPECT_EQ(Run("/SCAN"), app::kExitFound);
    EXPECT_EQ(sandbox::OutputLines().back(), "6 problems found");
    InstallShippedLanguage();
    std::optional<app::Session> session = StartProgram();
    std::vector<std::string> rows;
    Reply(forms::Answer::No);
    sandbox::Script("scan", sandbox::ClickOn("MainWindow", "find"));
    sandbox::Script(
        "read the rows", [&] { rows = Rows(); },
        [] { return sandbox::MessageBoxes().size() == 1; });
    for (const int row : {1, 0}) {  // a.dll, then the uninstall entry
        sandbox::AnswerPopupMenu(1);
        sandbox::Script("never report a row", [row] {
            platform::ListViewSetCurrent(sandbox::FindControl("MainWindow", "problems"), row);
            sandbox::ContextMenuOn("MainWindow", "problems")();
        });
    }
    std::size_t left = 0;
    sandbox::Script("count the rows left", [&] { left = Rows().size(); });
    sandbox::Script("close", sandbox::CloseBoxOf("MainWindow"));
    app::MainWindow(*session).Run();
    EXPECT_EQ(sandbox::PopupMenus(),
              std::vector<std::vector<std::string>>(2, {"Never report this"}));
    const std::string entry = "HKLM\\" + kEntry;
    EXPECT_EQ(ReadAppFile("exclude.txt").substr(ReadAppFile("exclude.txt").find(".lnk ")),
              ".lnk \r\nC:\\Gone\\a.dll\r\n" + entry + "\r\n");
    EXPECT_EQ(left, 4u) << "b.dll stays";
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_NE(rows[0].find(entry), std::string::npos);
    for (const std::string& row : rows)
        EXPECT_TRUE(row.find("Beta") == std::string::npos && row.find(".lnk") == std::string::npos)
            << row;
}

// An administrator's weekly scan is a log-on task too, made and removed with schtasks; a
// standard user's is the Run value alone.
TEST_F(Unattended, AnAdministratorsWeeklyScanIsALogonTaskToo) {
    const std::string file = kTemp + "purgelint-task.xml";
    std::string xml;
    sandbox::OnProcessStart([&](const std::string& line) {
        if (line.find("/XML") != std::string::npos) xml = sandbox::ReadFile(file).value_or("");
        return sandbox::ProcessOutcome::EndsWith(line.find("/Delete") != std::string::npos);
    });
    app::ApplyWeeklyScan(true);
    EXPECT_TRUE(sandbox::StartedProcesses().empty());
    sandbox::SetElevated(true);
    sandbox::SetEnvironmentVariable("USERDOMAIN", "PC");
    sandbox::SetEnvironmentVariable("USERNAME", "ann & <co>");
    app::ApplyWeeklyScan(true);
    app::ApplyWeeklyScan(false);
    sandbox::SetTempPath("C:\\Missing\\");
    app::ApplyWeeklyScan(true);
    const std::string task = " /TN \"Tallowquince Purgelint weekly scan\"";
    EXPECT_EQ(sandbox::StartedProcesses(),
              (std::vector<std::string>{"schtasks /Create" + task + " /XML \"" + file + "\" /F",
                                        "schtasks /Delete" + task + " /F"}));
    EXPECT_FALSE(sandbox::ReadFile(file)) << "the task's file goes";
    EXPECT_EQ(xml.substr(0, 2), "\xFF\xFE");
    std::erase(xml, '\0');
    for (const char* part :
         {"<LogonTrigger><UserId>PC\\ann &amp; &lt;co&gt;</UserId>",
          "<RunLevel>HighestAvailable</RunLevel>",
          "<Command>C:\\Purgelint\\purgelint.exe</Command><Arguments>/SCHEDULED<"})
        EXPECT_NE(xml.find(part), std::string::npos) << part << " in " << xml;
    EXPECT_EQ(
        ReadAppFile("log.txt"),
        "Error: schtasks /Delete" + task + " /F: ended with exit code 1\r\nError: writing " +
            "C:\\Missing\\purgelint-task.xml: The system cannot find the path specified.\r\n");
}

// Both start-up entries may fire at one log-on: while one scheduled run lives, another ends.
TEST_F(Unattended, AScheduledStartEndsWhileAnotherRuns) {
    auto first = StartProgram("/SCHEDULED");  // Monday 7 December
    ASSERT_TRUE(first && first->scheduledRun);
    core::WriteSetting("last_scheduled_run", "");
    EXPECT_FALSE(StartProgram("/SCHEDULED"));
    EXPECT_NE(ReadAppFile("app.log").find(".. scheduled run, already running, ending\r\n"),
              std::string::npos);
    first.reset();
    EXPECT_TRUE(StartProgram("/SCHEDULED")) << "due again once the first has ended";
}

}  // namespace
