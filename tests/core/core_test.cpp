// The decisions of the core layer on the sandbox machine, one table each.
#include <algorithm>

#include "core/command_line.h"
#include "core/first_run.h"
#include "core/language.h"
#include "core/problem.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/shortcut.h"
#include "support/sandbox_test.h"

namespace {

constexpr platform::RootKey kHklm = platform::kHkeyLocalMachine;

using CoreTest = SandboxTest;

TEST_F(CoreTest, SettingsReadBooleansInAnyCaseAndNumbersRoundedHalfToEvenWithin32Bits) {
    struct Row {
        const char* input;
        bool defaultValue, expected;
    };
    const Row rows[] = {{"1", false, true},    {"0", true, false},     {"2", false, true},
                        {"-2.5", false, true}, {" 0.0 ", true, false}, {"7e2", false, true},
                        {"True", false, true}, {"tRuE", false, true},  {"FALSE", true, false},
                        {"yes", true, true},   {"yes", false, false},  {"", true, true},
                        {"", false, false},    {"1x", false, false},   {"Truely", false, false},
                        {"Falsey", true, true}};
    ForEachRow(rows, [](const Row& row) {
        core::WriteSetting("flag", row.input);
        EXPECT_EQ(core::ReadSettingBool("flag", row.defaultValue), row.expected);
    });
    for (const bool value : {true, false}) {
        EXPECT_EQ(core::ReadSettingBool("absent", value), value);
        core::WriteSettingBool("flag", value);
        EXPECT_EQ(core::ReadSetting("flag", ""), value ? "1" : "0");
    }

    struct Number {
        const char* input;
        long expected;
    };
    constexpr long kMax = 2147483647, kMin = -kMax - 1;
    const Number numbers[] = {{"42", 42},   {"+8", 8},     {"0.5", 0},    {"1.5", 2},    {"2.5", 2},
                              {"-2.5", -2}, {"1e3", 1000}, {"", -1},      {"12abc", -1}, {".", -1},
                              {"1e", -1},   {"1e10", -1},  {"2E+2", 200}, {"25e-1", 2}},
                 edges[] = {{"2147483647", kMax}, {"-2147483648", kMin}, {"-2147483648.5", kMin},
                            {"2147483648", -1},   {"-2147483649", -1},   {"2147483647.5", -1}};
    const auto check = [](const Number& row) {
        core::WriteSetting("number", row.input);
        EXPECT_EQ(core::ReadSettingLong("number", -1), row.expected);
    };
    ForEachRow(numbers, check);
    ForEachRow(edges, check);
    EXPECT_EQ(core::ReadSettingLong("absent", 9), 9);
    core::WriteSettingLong("number", -5);
    EXPECT_EQ(core::ReadSetting("number", ""), "-5");
}

TEST_F(CoreTest, TextsComeFromTheFileThenTheBuiltInEnglishReadAsAProfileThenTheDefault) {
    const std::string file = AppFile("languages\\eng.txt");
    sandbox::SetBuiltInLanguageFile("[Lang]\r\nbuilt=Built||in\r\nboth=English\r\n");
    sandbox::WriteFile(file, "[Lang]\r\nboth=Mine\r\nbars=One||Two||\r\n");
    const core::Language english("eng");
    EXPECT_EQ(english.Text("both", "x") + english.Text("BOTH", "x"), "MineMine");
    EXPECT_EQ(english.Text("bars", ""), "One\r\nTwo\r\n");
    EXPECT_EQ(english.Text("built", "x"), "Built\r\nin");
    EXPECT_EQ(english.Text("nowhere", "De||fault"), "De\r\nfault");
    EXPECT_EQ(ReadAppFile("languages\\_missing.txt"), "[Lang_eng]\r\nbuilt=\r\nnowhere=\r\n");

    // The same size: only the file's time tells of the edit.
    sandbox::WriteFile(file, "[Lang]\r\nboth=Ours\r\nbars=One||Two||\r\n");
    EXPECT_EQ(english.Text("both", "x"), "Ours");
    EXPECT_EQ(core::Language("deu").Text("both", "x"), "English");
    EXPECT_EQ(ReadAppFile("languages\\_missing.txt"),
              "[Lang_eng]\r\nbuilt=\r\nnowhere=\r\n[Lang_deu]\r\nboth=\r\n");

    // The built-in file is read as the profile functions read one: UTF-16 after its mark, else
    // UTF-8 without one; blanks and matching quotes go, [Lang] in any case, the first key counts.
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : base::Utf16FromUtf8("[Lang]\r\nk=\u00DCber\r\n"))
        utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const std::pair<std::string, const char*> files[] = {
        {"\xEF\xBB\xBF[Other]\r\nk=no\r\n [ lang ] \n k = \"quoted\" \nk=second\ny='x\n", "quoted"},
        {utf16, "\u00DCber"}};
    for (const auto& [bytes, expected] : files) {
        sandbox::SetBuiltInLanguageFile(bytes);
        EXPECT_EQ(core::Language("xx").Text("k", "default"), expected);
    }
    sandbox::SetBuiltInLanguageFile(files[0].first);
    EXPECT_EQ(core::Language("xx").Text("y", "default"), "'x") << "an unmatched quote stays";
}

// The shell's failure is logged with its procedure's name. A missing path stays as it is.
TEST_F(CoreTest, AShortcutThatCannotBeReadIsNoneAndLogged) {
    sandbox::WriteFile("C:\\bad.lnk", "no shortcut");
    for (const char* path : {"", " ", "C:\\missing.lnk", "C:\\bad.lnk"})
        EXPECT_FALSE(core::ReadShortcut(path) || core::RepointShortcut(path, "C:\\x.exe")) << path;
    EXPECT_FALSE(core::FileExists(""));
    EXPECT_EQ(core::LongPath("C:\\none") + core::ShortPath("C:\\none"), "C:\\noneC:\\none");
    const std::string log = ReadAppFile("log.txt");
    EXPECT_EQ(log.rfind("Error in GetShortcutInfo: ", 0), 0u) << log;
    EXPECT_NE(log.find("\r\nError in ShortcutRepairDest: "), std::string::npos) << log;
}

TEST_F(CoreTest, AProblemIsKnownByItsKindLocationAndValueName) {
    core::Problem problem;
    problem.location = "HKLM\\Run";
    problem.valueName = "Tool";
    std::string identities;
    using enum core::ProblemKind;
    for (const core::ProblemKind kind : {Registry, Shortcut, File})
        identities += (problem.kind = kind, problem.Identity()) + " ";
    EXPECT_EQ(identities, "registry_HKLM\\Run_Tool shortcut__HKLM\\Run file_HKLM\\Run_ ");
}

TEST_F(CoreTest, ACommandLineNamesOnePathOrNone) {
    core::Folders folders;
    folders.programFiles = "C:\\Program Files";
    folders.windows = "C:\\WINDOWS";
    struct Row {
        const char *input, *expected;
    };
    const Row rows[] = {
        {"\"C:\\Program Files\\App\\app.exe\" /S", "C:\\Program Files\\App\\app.exe"},
        {"C:\\App\\app.exe /min", "C:\\App\\app.exe /min"},
        {"  C:\\App\\app.exe  ", "C:\\App\\app.exe"},
        {"C:\\App\\app.exe \"C:\\doc.txt\"", "C:\\App\\app.exe"},
        {"%SystemRoot%\\system32\\tool.exe -x", "C:\\WINDOWS\\system32\\tool.exe -x"},
        {"\"%ProgramFiles%\\App\\u.exe\" /x", "C:\\Program Files\\App\\u.exe"},
        {"MsiExec.exe /X{6A4F1D12}", ""},
        {"\"RunDll32.exe\" C:\\App\\x.dll,Entry", ""},
        {"", ""}};
    ForEachRow(rows, [&](const Row& row) {
        EXPECT_EQ(core::PathFromCommandLine(row.input, folders), row.expected);
    });
}

// A planted key's values as "name:type=data" ("@" the default, NULs as |), or "<no key>".
std::string ValuesOf(const std::string& key) {
    if (!sandbox::KeyExists(kHklm, key)) return "<no key>";
    std::string shown;
    for (const std::string name : {"", "Old", "New", "Taken"}) {
        auto value = sandbox::GetValue(kHklm, key, name);
        if (!value) continue;
        std::ranges::replace(value->data, '\0', '|');
        shown += (shown.empty() ? "" : " ") + (name.empty() ? "@" : name) + ":" +
                 std::to_string(value->type) + "=" + value->data;
    }
    return shown;
}

TEST_F(CoreTest, RegistryValuesAreDeletedRenamedAndWrittenWithoutHarmToOthers) {
    const std::string untouched = "@:1=dflt| Old:3=a|b Taken:1=mine|";
    // `change`: 'd'elete value `a`, 'r'ename `a` to `b` or 'w'rite `a`, in the key + `below`.
    struct Row {
        const char* input;
        char change;
        const char *below, *a, *b;
        bool result;
        std::string after;
    };
    const Row rows[] = {
        {"delete Old", 'd', "", "Old", "", true, "@:1=dflt| Taken:1=mine|"},
        {"delete an absent value", 'd', "", "Absent", "", true, untouched},
        {"delete in an absent key", 'd', "\\Missing", "Old", "", true, untouched},
        {"delete the default value", 'd', "", "", "", false, untouched},
        {"rename Old to New", 'r', "", "Old", "New", true, "@:1=dflt| New:3=a|b Taken:1=mine|"},
        {"rename Old onto Taken", 'r', "", "Old", "Taken", false, untouched},
        {"rename Old to the empty name", 'r', "", "Old", "", false, untouched},
        {"rename the default value", 'r', "", "", "New", false, untouched},
        {"rename an absent value", 'r', "", "Absent", "New", false, untouched},
        {"write New", 'w', "", "New", "", true, "@:1=dflt| Old:3=a|b New:1=text| Taken:1=mine|"},
        {"write into an absent key", 'w', "\\Missing", "New", "", false, untouched},
        {"delete in a key that goes", 'd', "", "Old", "", false, "<no key>"},
        {"write into a key that goes", 'w', "", "New", "", false, "<no key>"}};
    int index = 0;
    ForEachRow(rows, [&](const Row& row) {
        const std::string key = "Software\\Test\\" + std::to_string(index++);
        sandbox::SetString(kHklm, key, "", "dflt");
        sandbox::SetValue(kHklm, key, "Old", platform::kRegBinary, std::string("a\0b", 3));
        sandbox::SetString(kHklm, key, "Taken", "mine");
        const std::string at = key + row.below;
        if (row.after == "<no key>")  // another program deletes the key once it is opened
            sandbox::AfterNextKeyOpen([&] { platform::DeleteKeyTree(kHklm, key); });
        EXPECT_EQ(row.change == 'd'   ? core::DeleteRegistryValue(kHklm, at, row.a)
                  : row.change == 'r' ? core::RenameRegistryValue(kHklm, at, row.a, row.b)
                                      : core::WriteRegistryText(kHklm, at, row.a, "text"),
                  row.result);
        EXPECT_EQ(ValuesOf(key), row.after);
        EXPECT_EQ(core::ReadRegistryText(kHklm, key, "Old"),  // no NUL ends it: all of it
                  sandbox::GetValue(kHklm, key, "Old").value_or(sandbox::Value()).data);
        EXPECT_EQ(ValuesOf(key + "\\Missing"), "<no key>");
    });
}

TEST_F(CoreTest, TheFirstScansCountIsHandedToTheUpdater) {
    const std::string runOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    sandbox::CreateKey(kHklm, runOnce);
    const std::pair<std::optional<long>, const char*> rows[] = {{12, "12"}, {0, "0"}, {{}, "C"}};
    for (const auto& [count, argument] : rows) {
        core::WriteSettingBool("wasfirstrun", false);
        core::HandOffFirstErrors(count);
        EXPECT_EQ(core::ReadRegistryText(kHklm, runOnce, "update_purgelint3"),
                  std::string("\"C:\\Purgelint\\Novaroll.exe\" /FIRSTERRORS_") + argument);
        EXPECT_TRUE(core::ReadSettingBool("wasfirstrun", false)) << argument;
    }
}

}  // namespace
