// The shipped language files against the keys the program really asks for: every window and
// message is driven on the sandbox with each file installed, while an observer on Translate
// records each key. A key the program asks for and a file lacks, or a key of a file that
// nothing asks for, fails the test.
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/settings.h"
#include "core/translate.h"
#include "platform/filesystem.h"
#include "support/main_window_test.h"
#include "support/shipped_language.h"
#include "ui/interaction.h"

namespace {

constexpr const char* kDesktop = "C:\\Users\\ann\\Desktop";
constexpr const char* kPrograms = "C:\\Users\\ann\\Start Menu\\Programs";
constexpr const char* kTemp = "C:\\Users\\ann\\Temp\\";
constexpr const char* kCache = "C:\\Users\\ann\\Cache\\";
constexpr const char* kWindows = "C:\\Windows";
constexpr const char* kProgramFiles = "C:\\Program Files";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kHelp = "Software\\Microsoft\\Windows\\Help";

// The key names of a language file's section "Lang", in file order. Key names are ASCII, so a
// UTF-16LE file gives them up by its low bytes.
std::vector<std::string> KeysOf(std::string bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        std::string narrow;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            narrow += bytes[i + 1] == 0 ? bytes[i] : '?';
        bytes = narrow;
    }
    std::vector<std::string> keys;
    bool inLang = false;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (line.starts_with("[")) {
            inLang = line == "[Lang]";
        } else if (inLang && line.find('=') != std::string::npos) {
            keys.push_back(line.substr(0, line.find('=')));
        }
    }
    return keys;
}

size_t LineBreaks(const std::string& text) {
    size_t count = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
        ++count;
    return count;
}

class ShippedLanguage : public MainWindowTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        for (const char* folder : {kDesktop, kPrograms, kTemp, kCache, kWindows, kProgramFiles})
            sandbox::MakeFolder(folder);
        sDesktopFolder = kDesktop;
        sProgramsFolder = kPrograms;
        sTempFolder = kTemp;
        sCacheFolder = kCache;
        sWindowsFolder = kWindows;
        sProgramFilesFolder = kProgramFiles;
        SetTranslateObserver([this](const std::string& key) { used_.insert(key); });
    }
    void TearDown() override {
        SetTranslateObserver(nullptr);
        sWindowsFolder.clear();
        sProgramFilesFolder.clear();
        MainWindowTest::TearDown();
    }

    // Broken shortcuts on the desktop, registry entries of missing programs and old
    // temporary files, numbered on from the ones seeded before.
    void Seed(int shortcuts, int entries, int files) {
        for (int i = 0; i < shortcuts; ++i) {
            sandbox::Shortcut link;
            link.path = "C:\\Gone\\program.exe";
            sandbox::WriteShortcut(std::string(kDesktop) + "\\link" + Next() + ".lnk", link);
        }
        // A Run entry first, then uninstall and help entries in turn with more Run entries.
        for (int i = 0; i < entries; ++i) {
            const std::string n = Next();
            if (i % 3 == 0) {
                sandbox::SetString(platform::kHkeyCurrentUser, kRun, "Tool" + n,
                                   "C:\\Gone\\tool" + n + ".exe");
            } else if (i % 3 == 1) {
                sandbox::SetString(platform::kHkeyLocalMachine, std::string(kUninstall) + "\\" + n,
                                   "UninstallString", "C:\\Gone\\uninst" + n + ".exe");
            } else {
                sandbox::SetString(platform::kHkeyLocalMachine, kHelp, "help" + n + ".hlp",
                                   "C:\\Gone");
            }
        }
        for (int i = 0; i < files; ++i) {
            const std::string path = std::string(kTemp) + "old" + Next() + ".tmp";
            sandbox::WriteFile(path, "x");
            sandbox::SetLastWriteTime(path, 2020, 1, 1);
        }
    }
    std::string Next() { return std::to_string(seeded_++); }

    // "Find problems" from the main window, the summary declined.
    static void Scan(int expectedProblems) {
        sandbox::AnswerMessageBox(ui::vbNo);
        frmMain->btnCheck_Click();
        ASSERT_EQ(colProblems.Count(), expectedProblems);
    }
    // "Repair selected problems" with `method`; `during` scripts what the run meets, and the
    // closing message is acknowledged.
    static void Repair(short method, bool backup, const std::function<void()>& during = nullptr) {
        ScriptRepairOptions(method, backup);
        if (during) during();
        sandbox::AnswerMessageBox(ui::vbOK);
        frmMain->btnMore.Click();
        EXPECT_EQ(sandbox::PendingActions(), 0u);
    }

    // Every window and message of the program, in the order a user might meet them.
    void RunEveryFlow() {
        // The first start: the welcome, accepted, scans a clean machine.
        OpenMainWindow();
        sandbox::AnswerMessageBox(ui::vbOK);
        sandbox::AnswerMessageBox(ui::vbOK);
        RunUntil([] { return sandbox::MessageBoxes().size() == 2; });
        ASSERT_TRUE(ReadSettingBool("userwelcomed", false));

        OpenMainWindow();
        sandbox::AnswerMessageBox(ui::vbOK);
        frmMain->btnMore.Click();  // nothing to repair yet
        sandbox::Script("close the options", sandbox::ClickOn("frmOptions", "btnCancel"),
                        [] { return sandbox::FindForm("frmOptions") != 0; });
        frmMain->btnOptions.Click();

        // Each advice of each group of the summary: many files, no entries and a shortcut,
        // repaired the aggressive way.
        Seed(1, 0, 50);
        Scan(51);
        Repair(kRepairAggressive, false);
        ASSERT_EQ(colProblems.Count(), 0);

        // One file, many entries, no shortcut; repaired the conservative way after a backup
        // that fails: one entry's program is found twice (the chooser), one file is
        // read-only (the deletion error).
        Seed(0, 50, 1);
        Scan(51);
        const std::string chosen = "tool" + std::to_string(seeded_ - 51) + ".exe";
        sandbox::WriteFile(std::string(kWindows) + "\\A\\" + chosen, "x");
        sandbox::WriteFile(std::string(kProgramFiles) + "\\B\\" + chosen, "x");
        const std::string readOnly =
            std::string(kTemp) + "old" + std::to_string(seeded_ - 1) + ".tmp";
        sandbox::SetAttributes(readOnly, platform::kFileAttributeReadOnly);
        sandbox::OnProcessStart(
            [](const std::string&) { return sandbox::ProcessOutcome::EndsWith(1); });
        sandbox::AnswerMessageBox(ui::vbYes);  // repair without a complete backup
        Repair(kRepairConservative, true, [] {
            sandbox::Script("take the first find",
                            sandbox::ClickOn("frmRepairSelectPath", "OKButton"),
                            [] { return sandbox::FindForm("frmRepairSelectPath") != 0; });
            sandbox::AnswerMessageBox(ui::vbOK);  // the file that cannot be deleted
        });
        ASSERT_EQ(colProblems.Count(), 1) << "the read-only file";

        // No files, one entry, many shortcuts.
        std::filesystem::remove(sandbox::HostPath(readOnly));
        Seed(10, 1, 0);
        Scan(11);
    }

    std::set<std::string> used_;
    int seeded_ = 1000;
};

TEST_P(ShippedLanguage, HoldsEveryKeyTheProgramUsesAndNoOther) {
    const std::string code = GetParam();
    sLanguage = code;
    const std::vector<std::string> keys = KeysOf(InstallShippedLanguage(kAppFolder, code));
    RunEveryFlow();
    ASSERT_FALSE(HasFatalFailure());

    const std::set<std::string> shipped(keys.begin(), keys.end());
    EXPECT_EQ(shipped.size(), keys.size()) << "a key stands twice in " << code << ".txt";
    for (const std::string& key : used_)
        EXPECT_TRUE(shipped.contains(key)) << key << " is used but missing from " << code << ".txt";
    for (const std::string& key : keys)
        EXPECT_TRUE(used_.contains(key)) << key << " in " << code << ".txt is used by nothing";
    EXPECT_EQ(ReadAppFile("languages\\_missing.txt"), "<none>");
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguage, ::testing::Values("eng", "deu", "fra"));

// The translations read as the English does: line breaks in the same places, and their
// letters in UTF-8 whatever the file's encoding.
using ShippedTranslations = SandboxTest;

TEST_F(ShippedTranslations, KeepTheEnglishLineBreaksAndTheirLetters) {
    const std::vector<std::string> keys = KeysOf(InstallShippedLanguage(kAppFolder, "eng"));
    std::map<std::string, std::string> english;
    for (const std::string& key : keys)
        english[key] = Translate(key, "");
    const std::map<std::string, std::string> samples = {{"deu", "Alle ausw\u00E4hlen"},
                                                        {"fra", "Tout s\u00E9lectionner"}};
    for (const auto& [code, selectAll] : samples) {
        SCOPED_TRACE(code);
        InstallShippedLanguage(kAppFolder, code);
        sLanguage = code;
        EXPECT_EQ(Translate("frmmain_button_select_all", ""), selectAll);
        for (const auto& [key, text] : english)
            EXPECT_EQ(LineBreaks(Translate(key, "")), LineBreaks(text)) << key;
    }
    EXPECT_EQ(ReadAppFile("languages\\_missing.txt"), "<none>");
}

}  // namespace
