// The decisions of the core layer, one table each: settings, texts by key, the path a command
// line names, changes to single registry values and the notes left for the updater.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/command_line.h"
#include "core/first_run.h"
#include "core/folders.h"
#include "core/language.h"
#include "core/registry.h"
#include "core/settings.h"
#include "platform/registry.h"
#include "support/sandbox_test.h"

namespace {

constexpr platform::RootKey kHklm = platform::kHkeyLocalMachine;

// Runs `check` on every row; a failure names the row's index and input.
template <typename Row, std::size_t N, typename Check>
void ForEachRow(const Row (&rows)[N], Check&& check) {
    for (std::size_t i = 0; i < N; ++i) {
        SCOPED_TRACE(::testing::Message() << "row " << i << ": \"" << rows[i].input << "\"");
        check(rows[i]);
    }
}

using CoreTest = SandboxTest;

TEST_F(CoreTest, BooleanSettingsReadNumbersAndTrueOrFalseInAnyCase) {
    struct Row {
        const char* input;
        bool defaultValue;
        bool expected;
    };
    const Row rows[] = {{"1", false, true},     {"0", true, false},     {"2", false, true},
                        {"-2.5", false, true},  {" 0.0 ", true, false}, {"7e2", false, true},
                        {"True", false, true},  {"TRUE", false, true},  {"tRuE", false, true},
                        {"False", true, false}, {"false", true, false}, {"FALSE", true, false},
                        {"yes", true, true},    {"yes", false, false},  {"", true, true},
                        {"", false, false},     {"1x", false, false},   {"Truely", false, false},
                        {"Falsey", true, true}};
    ForEachRow(rows, [](const Row& row) {
        core::WriteSetting("flag", row.input);
        EXPECT_EQ(core::ReadSettingBool("flag", row.defaultValue), row.expected);
    });
    EXPECT_TRUE(core::ReadSettingBool("absent", true));
    EXPECT_FALSE(core::ReadSettingBool("absent", false));
    core::WriteSettingBool("flag", true);
    EXPECT_EQ(core::ReadSetting("flag", ""), "1");
    core::WriteSettingBool("flag", false);
    EXPECT_EQ(core::ReadSetting("flag", ""), "0");
}

TEST_F(CoreTest, NumberSettingsRoundHalfToEvenWithinThe32BitRange) {
    struct Row {
        const char* input;
        long expected;
    };
    const Row numbers[] = {
        {"42", 42}, {"-7", -7},    {"+8", 8},    {"0.5", 0}, {"1.5", 2},    {"2.5", 2},
        {"3.5", 4}, {"-2.5", -2},  {"-3.5", -4}, {"2.6", 3}, {"1e3", 1000}, {"abc", -1},
        {"", -1},   {"12abc", -1}, {".", -1},    {"1e", -1}, {"1e10", -1},
    };
    const Row edges[] = {
        {"2147483647", 2147483647L}, {"-2147483648", -2147483648L}, {"-2147483648.5", -2147483648L},
        {"2147483648", -1},          {"-2147483649", -1},           {"2147483647.5", -1},
    };
    const auto check = [](const Row& row) {
        core::WriteSetting("number", row.input);
        EXPECT_EQ(core::ReadSettingLong("number", -1), row.expected);
    };
    ForEachRow(numbers, check);
    ForEachRow(edges, check);
    EXPECT_EQ(core::ReadSettingLong("absent", 9), 9);
    core::WriteSettingLong("number", -5);
    EXPECT_EQ(core::ReadSetting("number", ""), "-5");
}

TEST_F(CoreTest, TextsComeFromTheFileThenTheBuiltInEnglishThenTheDefault) {
    const auto writeLanguage = [](const std::string& text) {
        sandbox::WriteFile(AppFile("languages\\eng.txt"), text);
    };
    sandbox::SetBuiltInLanguageFile("[Lang]\r\nbuilt=Built||in\r\nboth=English\r\n");
    writeLanguage("[Lang]\r\nboth=Mine\r\nbars=One||Two||\r\n");
    struct Row {
        const char* input;
        const char* defaultText;
        const char* expected;
    };
    const Row rows[] = {
        {"both", "x", "Mine"},
        {"BOTH", "x", "Mine"},
        {"bars", "", "One\r\nTwo\r\n"},
        {"built", "x", "Built\r\nin"},
        {"nowhere", "De||fault", "De\r\nfault"},
    };
    const core::Language english("eng");
    ForEachRow(rows, [&](const Row& row) {
        EXPECT_EQ(english.Text(row.input, row.defaultText), row.expected);
    });
    EXPECT_EQ(ReadAppFile("languages\\_missing.txt"), "[Lang_eng]\r\nbuilt=\r\nnowhere=\r\n");

    // The same size: only the file's time tells of the edit.
    writeLanguage("[Lang]\r\nboth=Ours\r\nbars=One||Two||\r\n");
    EXPECT_EQ(english.Text("both", "x"), "Ours");
    EXPECT_EQ(core::Language("deu").Text("both", "x"), "English");
    EXPECT_EQ(ReadAppFile("languages\\_missing.txt"),
              "[Lang_eng]\r\nbuilt=\r\nnowhere=\r\n[Lang_deu]\r\nboth=\r\n");
}

TEST_F(CoreTest, ACommandLineNamesOnePathOrNone) {
    core::Folders folders;
    folders.windows = "C:\\WINDOWS";
    folders.programFiles = "C:\\Program Files";
    struct Row {
        const char* input;
        const char* expected;
    };
    const Row rows[] = {
        {"\"C:\\Program Files\\App\\app.exe\" /S", "C:\\Program Files\\App\\app.exe"},
        {"\"C:\\App\\app.exe\"", "C:\\App\\app.exe"},
        {"C:\\App\\app.exe /min", "C:\\App\\app.exe /min"},
        {"  C:\\App\\app.exe  ", "C:\\App\\app.exe"},
        {"C:\\App\\app.exe \"C:\\doc.txt\"", "C:\\App\\app.exe"},
        {"%SystemRoot%\\system32\\tool.exe -x", "C:\\WINDOWS\\system32\\tool.exe -x"},
        {"\"%ProgramFiles%\\App\\u.exe\" /x", "C:\\Program Files\\App\\u.exe"},
        {"MsiExec.exe /X{6A4F1D12}", ""},
        {"msiexec.exe /i app.msi", ""},
        {"RUNDLL32.EXE shell32.dll,Control_RunDLL", ""},
        {"\"rundll32.exe\" C:\\App\\x.dll,Entry", ""},
        {"", ""}};
    ForEachRow(rows, [&](const Row& row) {
        EXPECT_EQ(core::PathFromCommandLine(row.input, folders), row.expected);
    });
}

// The values of a key planted for one row, as "name:type=data" ("@" the default value, NULs
// shown as \0), or "<no key>".
std::string ValuesOf(const std::string& key) {
    if (!sandbox::KeyExists(kHklm, key)) return "<no key>";
    std::string shown;
    for (const std::string name : {"", "Old", "New", "Taken"}) {
        const auto value = sandbox::GetValue(kHklm, key, name);
        if (!value) continue;
        shown += (shown.empty() ? "" : " ") + (name.empty() ? "@" : name) + ":" +
                 std::to_string(value->type) + "=";
        for (const char c : value->data)
            shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    }
    return shown;
}

TEST_F(CoreTest, RegistryValuesAreDeletedRenamedAndWrittenWithoutHarmToOthers) {
    using Change = std::function<bool(const std::string& key)>;
    const auto del = [](const char* below, const char* name) -> Change {
        return [=](auto& key) { return core::DeleteRegistryValue(kHklm, key + below, name); };
    };
    const auto rename = [](const char* from, const char* to) -> Change {
        return [=](auto& key) { return core::RenameRegistryValue(kHklm, key, from, to); };
    };
    const auto write = [](const char* below, const char* name) -> Change {
        return [=](auto& key) { return core::WriteRegistryText(kHklm, key + below, name, "text"); };
    };
    const std::string untouched = "@:1=dflt\\0 Old:3=a\\0b Taken:1=mine\\0";
    struct Row {
        const char* input;
        Change change;
        bool result;
        std::string after;
    };
    const Row rows[] = {{"delete Old", del("", "Old"), true, "@:1=dflt\\0 Taken:1=mine\\0"},
                        {"delete an absent value", del("", "Absent"), true, untouched},
                        {"delete in an absent key", del("\\Missing", "Old"), true, untouched},
                        {"delete the default value", del("", ""), false, untouched},
                        {"rename Old to New", rename("Old", "New"), true,
                         "@:1=dflt\\0 New:3=a\\0b Taken:1=mine\\0"},
                        {"rename Old onto Taken", rename("Old", "Taken"), false, untouched},
                        {"rename Old to the empty name", rename("Old", ""), false, untouched},
                        {"rename the default value", rename("", "New"), false, untouched},
                        {"rename an absent value", rename("Absent", "New"), false, untouched},
                        {"write New", write("", "New"), true,
                         "@:1=dflt\\0 Old:3=a\\0b New:1=text\\0 Taken:1=mine\\0"},
                        {"write into an absent key", write("\\Missing", "New"), false, untouched}};
    int index = 0;
    ForEachRow(rows, [&](const Row& row) {
        const std::string key = "Software\\Test\\" + std::to_string(index++);
        sandbox::SetString(kHklm, key, "", "dflt");
        sandbox::SetValue(kHklm, key, "Old", platform::kRegBinary, std::string("a\0b", 3));
        sandbox::SetString(kHklm, key, "Taken", "mine");
        EXPECT_EQ(row.change(key), row.result);
        EXPECT_EQ(ValuesOf(key), row.after);
        EXPECT_EQ(ValuesOf(key + "\\Missing"), "<no key>");
    });
}

TEST_F(CoreTest, TheFirstScansCountIsHandedToTheUpdater) {
    const std::string runOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    sandbox::CreateKey(kHklm, runOnce);
    struct Row {
        const char* input;
        std::optional<long> count;
    };
    const Row rows[] = {{"/FIRSTERRORS_12", 12}, {"/FIRSTERRORS_0", 0}, {"/FIRSTERRORS_C", {}}};
    ForEachRow(rows, [&](const Row& row) {
        core::WriteSettingBool("wasfirstrun", false);
        core::HandOffFirstErrors(row.count);
        EXPECT_EQ(core::ReadRegistryText(kHklm, runOnce, "update_purgelint3"),
                  std::string("\"C:\\Purgelint\\Novaroll.exe\" ") + row.input);
        EXPECT_TRUE(core::ReadSettingBool("wasfirstrun", false));
    });
}

}  // namespace
