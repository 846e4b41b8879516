// The shipped language files against the keys the running program asks for: every window
// and message is driven with each file installed while an observer records the keys.
#include <set>
#include <sstream>

#include "app/scan_command.h"
#include "support/app_test.h"

namespace {

using enum forms::Answer;

// The key names of a language file; ASCII, so a UTF-16LE file gives them without its zeros.
std::vector<std::string> KeysOf(std::string text) {
    std::erase(text, '\0');
    std::vector<std::string> keys;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (const auto equals = line.find('='); equals != std::string::npos && line[0] != '[')
            keys.push_back(line.substr(0, equals));
    return keys;
}

class ShippedLanguage : public AppTest, public ::testing::WithParamInterface<const char*> {};

// A first start: the welcome's scan finds nothing, a repair with nothing to repair, the options,
// the seeded machine scanned and repaired with a failing backup; the summary's every advice.
TEST_P(ShippedLanguage, HoldsEveryKeyTheProgramAsksForAndNoOther) {
    const std::string code = GetParam();
    const std::vector<std::string> keys = KeysOf(InstallShippedLanguage(code));
    core::WriteSetting("language", code);
    std::optional<app::Session> session = StartProgram();
    std::set<std::string> asked;
    session->language.SetObserver([&](const std::string& key) { asked.insert(key); });
    Reply(Ok, Ok, Ok, Yes, Yes, Ok, Ok, No, Yes, Yes);
    sandbox::Script("repair nothing", sandbox::ClickOn("MainWindow", "repair"),
                    [] { return sandbox::MessageBoxes().size() == 2; });
    sandbox::Script("open the options", sandbox::ClickOn("MainWindow", "options"));
    sandbox::Script("close the options", sandbox::ClickOn("OptionsDialog", "cancel"),
                    [] { return sandbox::FindForm("OptionsDialog") != 0; });
    sandbox::Script("scan the seeded machine", [] {
        Seed();
        sandbox::WriteFile("C:\\Windows\\tool.hlp", "x");  // a single find, in another folder
        sandbox::ClickOn("MainWindow", "find")();
    });
    sandbox::Script(
        "read the rows, whose texts are asked for as they show", [] { Rows(); },
        [] { return sandbox::FindForm("RepairOptionsDialog") != 0; });
    ScriptRepairOptions("conservative", true);
    for (const char* what : {"Tool.lnk", "p.lnk", "the entry", "the help"})
        sandbox::Script(what, sandbox::ClickOn("ChooserDialog", "ok"),
                        [] { return sandbox::FindForm("ChooserDialog") != 0; });
    sandbox::Script("the row's menu, dismissed", sandbox::ContextMenuOn("MainWindow", "problems"),
                    [] { return sandbox::MessageBoxes().size() == 7; });
    // The restore window: the repair and an older, damaged record listed; the repair restored
    // without a new scan; both backups removed, which leaves the window empty.
    sandbox::WriteFile(AppFile("backup\\200101-000000.json"), "{\"time\"");
    // Each click waits for the message boxes before it; -1: for the restore window to show.
    const std::tuple<const char*, const char*, int> clicks[] = {
        {"MainWindow", "restore", 7},   {"RestoreDialog", "restore", -1},
        {"MainWindow", "restore", 8},   {"RestoreDialog", "remove", -1},
        {"RestoreDialog", "remove", 9}, {"RestoreDialog", "close", 10}};
    for (const auto& [form, control, boxes] : clicks)
        sandbox::Script(control, sandbox::ClickOn(form, control), [boxes] {
            return boxes < 0 ? sandbox::FindForm("RestoreDialog") != 0
                             : sandbox::MessageBoxes().size() == static_cast<std::size_t>(boxes);
        });
    sandbox::Script("close", sandbox::CloseBoxOf("MainWindow"),
                    [] { return sandbox::MessageBoxes().size() == 10; });
    app::MainWindow(*session).Run();
    EXPECT_EQ(sandbox::PendingActions(), 0u);
    // None, some and many of each kind: the files first, the registry entries last.
    const int summaries[][3] = {{0, 10, 1}, {1, 0, 50}, {50, 1, 0}};
    for (const auto& [files, shortcuts, entries] : summaries) {
        core::Problems problems(files + shortcuts + entries);
        for (int i = 0; i < files + shortcuts; ++i)
            problems[i].kind = i < files ? core::ProblemKind::File : core::ProblemKind::Shortcut;
        app::ScanSummary(problems, session->language);
    }
    ASSERT_FALSE(HasFailure());

    const std::set<std::string> shipped(keys.begin(), keys.end());
    EXPECT_EQ(shipped.size(), keys.size()) << "a key stands twice in " << code << ".txt";
    for (const std::string& key : asked)
        EXPECT_TRUE(shipped.contains(key)) << key << " is asked for but missing in " << code;
    for (const std::string& key : shipped)
        EXPECT_TRUE(asked.contains(key)) << key << " in " << code << ".txt is asked for by nothing";
    EXPECT_EQ(ReadAppFile("languages\\_missing.txt"), "<none>");
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguage, ::testing::Values("eng", "deu", "fra"));

}  // namespace
