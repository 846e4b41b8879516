// The shipped language files against the keys the running program asks for: every window
// and message is driven with each file installed while an observer records the keys.
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/scan_command.h"
#include "support/app_test.h"

namespace {

using forms::Answer;

// The key names of a language file. They are ASCII: a UTF-16LE file gives them up without
// its zero bytes.
std::vector<std::string> KeysOf(std::string text) {
    std::erase(text, '\0');
    std::vector<std::string> keys;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (const auto equals = line.find('='); equals != std::string::npos && line[0] != '[')
            keys.push_back(line.substr(0, equals));
    return keys;
}

class ShippedLanguage : public AppTest, public ::testing::WithParamInterface<const char*> {
  protected:
    // A problem of each category; the shortcut's file is found twice, the old file cannot be
    // deleted and the registry backup fails.
    static void Seed() {
        BrokenShortcut(std::string(kDesktop) + "\\Tool.lnk", "C:\\Gone\\tool.exe");
        for (const char* find : {"C:\\Windows\\A\\tool.exe", "C:\\Program Files\\B\\tool.exe"})
            sandbox::WriteFile(find, "x");
        sandbox::SetString(platform::kHkeyLocalMachine, std::string(kUninstall) + "\\Old",
                           "UninstallString", "C:\\Gone\\uninst.exe");
        sandbox::SetString(platform::kHkeyLocalMachine, "Software\\Microsoft\\Windows\\Help",
                           "tool.hlp", "C:\\Gone");
        OldFile("old.tmp", true);
        sandbox::OnProcessStart(
            [](const std::string&) { return sandbox::ProcessOutcome::EndsWith(1); });
    }

    // A first start as main.cpp runs it: the welcome's scan finds nothing, a repair with
    // nothing to repair, the options, then the seeded machine scanned and repaired.
    static void RunEveryWindow(app::Session& session) {
        for (Answer answer :
             {Answer::Ok, Answer::Ok, Answer::Ok, Answer::Yes, Answer::Yes, Answer::Ok, Answer::Ok})
            Reply(answer);
        const auto shown = [](std::size_t count) {
            return [count] { return sandbox::MessageBoxes().size() == count; };
        };
        sandbox::Script("repair nothing", sandbox::ClickOn("MainWindow", "repair"), shown(2));
        sandbox::Script("open the options", sandbox::ClickOn("MainWindow", "options"));
        sandbox::Script("close the options", sandbox::ClickOn("OptionsDialog", "cancel"),
                        [] { return sandbox::FindForm("OptionsDialog") != 0; });
        sandbox::Script("scan the seeded machine", [] {
            Seed();
            sandbox::ClickOn("MainWindow", "find")();
        });
        ScriptRepairOptions("conservative", true);
        sandbox::Script("take the first find", sandbox::ClickOn("ChooserDialog", "ok"),
                        [] { return sandbox::FindForm("ChooserDialog") != 0; });
        sandbox::Script("close", sandbox::CloseBoxOf("MainWindow"), shown(7));
        app::MainWindow(session).Run();
        EXPECT_EQ(sandbox::PendingActions(), 0u);
        // Every advice of the summary: none, some and many of each kind.
        const auto summary = [&](int files, int entries, int shortcuts) {
            core::Problems problems(files + entries + shortcuts);  // registry entries
            for (int i = 0; i < files; ++i)
                problems[i].kind = core::ProblemKind::File;
            for (int i = files; i < files + shortcuts; ++i)
                problems[i].kind = core::ProblemKind::Shortcut;
            app::ScanSummary(problems, session.language);
        };
        summary(0, 1, 10);
        summary(1, 50, 0);
        summary(50, 0, 1);
    }
};

TEST_P(ShippedLanguage, HoldsEveryKeyTheProgramAsksForAndNoOther) {
    const std::string code = GetParam();
    const std::vector<std::string> keys = KeysOf(InstallShippedLanguage(kAppFolder, code));
    core::WriteSetting("language", code);
    std::optional<app::Session> session = StartProgram();
    std::set<std::string> asked;
    session->language.SetObserver([&](const std::string& key) { asked.insert(key); });
    RunEveryWindow(*session);
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
