// Fixture of the app tests: a machine with a user's folders, the program started as main.cpp
// starts it, and the main window read as a user sees it.
#pragma once

#include <fstream>
#include <iterator>

#include "app/main_window.h"
#include "app/startup.h"
#include "base/product.h"
#include "core/settings.h"
#include "forms/interaction.h"
#include "platform/folders.h"
#include "support/sandbox_test.h"

class AppTest : public SandboxTest {
  protected:
    static inline const std::string kDesktop = "C:\\Users\\ann\\Desktop";
    static inline const std::string kPrograms = kDesktop + "\\Programs";  // in both walks
    static inline const std::string kTemp = "C:\\Users\\ann\\Temp\\";
    static constexpr const char* kRunOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    static inline const std::string kEntry =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OldApp";
    static inline const std::string kHelp = "Software\\Microsoft\\Windows\\Help";
    // The finds of the file the seeded machine's shortcuts and entry lead to.
    static inline const std::string kFinds[] = {"C:\\Windows\\A\\tool.exe",
                                                "C:\\Program Files\\B\\TOOL.EXE"};

    void SetUp() override {
        SandboxTest::SetUp();
        for (const std::string& folder : {kPrograms, kTemp})  // the desktop holds kPrograms
            sandbox::MakeFolder(folder);
        const char* shell = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
        sandbox::SetString(platform::kHkeyCurrentUser, shell, "Desktop", kDesktop);
        sandbox::SetString(platform::kHkeyCurrentUser, shell, "Programs", kPrograms);
        sandbox::SetTempPath(kTemp);
        sandbox::SetWindowsDirectory("C:\\Windows");
        sandbox::SetSpecialFolder(platform::kCsidlProgramFiles, "C:\\Program Files");
        sandbox::CreateKey(platform::kHkeyLocalMachine, kRunOnce);
        sandbox::CreateKey(platform::kHkeyLocalMachine, base::kRunKeyPath);
    }

    static void Installed() {  // a later start: the installation has given its welcome
        core::WriteSettingBool("wasfirstrun", true);
        core::WriteSettingBool("userwelcomed", true);
    }
    // Copies the shipped languages/<code>.txt beside the program, for windows whose texts
    // exist only there; returns its bytes.
    static std::string InstallShippedLanguage(const std::string& code = "eng") {
        std::ifstream shipped(PURGELINT_LANGUAGES_DIR "/" + code + ".txt", std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(shipped), {}};
        EXPECT_FALSE(text.empty()) << code;
        sandbox::WriteFile(AppFile("languages\\" + code + ".txt"), text);
        return text;
    }
    static std::optional<app::Session> StartProgram(const std::string& arguments = "") {
        platform::SystemTime today;
        platform::GetLocalTime(today);
        return app::Start(arguments, today);
    }
    // A problem of each kind: two shortcuts (one in both walks) and an entry whose file is
    // found twice, a help entry, two old files (one read-only). Backups fail.
    static void Seed() {
        sandbox::OnProcessStart([](auto&) { return sandbox::ProcessOutcome::EndsWith(1); });
        for (const std::string& at : {kDesktop + "\\Tool.lnk", kPrograms + "\\p.lnk"})
            sandbox::WriteShortcut(at, {"C:\\Gone\\tool.exe", "", "", "", ""});
        sandbox::SetString(platform::kHkeyLocalMachine, kEntry, "UninstallString",
                           "C:\\Gone\\tool.exe");
        sandbox::SetString(platform::kHkeyLocalMachine, kHelp, "tool.hlp", "C:\\Gone");
        for (const std::string& find : kFinds)
            sandbox::WriteFile(find, "x");
        for (const char* name : {"old.tmp", "kept.tmp"}) {
            sandbox::WriteFile(kTemp + name, "x");
            sandbox::SetLastWriteTime(kTemp + name, 2020, 1, 1);
        }
        sandbox::SetAttributes(kTemp + "kept.tmp", platform::kFileAttributeReadOnly);
    }
    static void Reply(auto... answers) {
        (sandbox::AnswerMessageBox(static_cast<int>(answers)), ...);
    }
    static std::string ValueText(const std::string& key, const std::string& name) {
        const auto value = sandbox::GetValue(platform::kHkeyLocalMachine, key, name);
        return value ? value->data.substr(0, value->data.find('\0')) : "<absent>";
    }

    // The main window's rows as "kind|category|location|description", "* " before selected.
    static std::vector<std::string> Rows() {
        const platform::Hwnd view = sandbox::FindControl("MainWindow", "problems");
        std::vector<std::string> rows;
        for (int row = 0; row < platform::ListViewGetItemCount(view); ++row) {
            rows.push_back(platform::ListViewGetSelected(view, row) ? "* " : "  ");
            for (int c = 0; c < 4; ++c)
                rows.back() += (c ? "|" : "") + platform::ListViewGetItemText(view, row, c);
        }
        return rows;
    }
    static std::string CountLabel() {  // "<hidden>" when hidden
        const platform::Hwnd label = sandbox::FindControl("MainWindow", "count");
        return platform::IsWindowVisible(label) ? platform::GetWindowText(label) : "<hidden>";
    }
    // Scripts the repair options: `method`, the backup box cleared unless `backUp`, `button`.
    static void ScriptRepairOptions(const char* method, bool backUp, const char* button = "start") {
        sandbox::Script("choose the method", sandbox::ClickOn("RepairOptionsDialog", method),
                        [] { return sandbox::FindForm("RepairOptionsDialog") != 0; });
        if (!backUp) sandbox::Script("clear", sandbox::ClickOn("RepairOptionsDialog", "backUp"));
        sandbox::Script(button, sandbox::ClickOn("RepairOptionsDialog", button));
    }
};
