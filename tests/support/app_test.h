// Fixture of the app tests: a machine with a user's folders, the program started as main.cpp
// starts it, and the main window read as a user sees it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "base/product.h"
#include "core/settings.h"
#include "forms/interaction.h"
#include "platform/folders.h"
#include "support/sandbox_test.h"
#include "support/shipped_language.h"

class AppTest : public SandboxTest {
  protected:
    static constexpr const char* kDesktop = "C:\\Users\\ann\\Desktop";
    // Inside the desktop: a shortcut here is found by both walks.
    static constexpr const char* kPrograms = "C:\\Users\\ann\\Desktop\\Programs";
    static constexpr const char* kTemp = "C:\\Users\\ann\\Temp\\";
    static constexpr const char* kRunOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    static constexpr const char* kUninstall =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

    void SetUp() override {
        SandboxTest::SetUp();
        for (const char* folder : {kDesktop, kPrograms, kTemp, "C:\\Program Files", "C:\\Windows"})
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

    // A later start of an installation whose user has had the welcome.
    static void Installed() {
        core::WriteSettingBool("wasfirstrun", true);
        core::WriteSettingBool("userwelcomed", true);
    }
    static std::optional<app::Session> StartProgram(const std::string& arguments = "") {
        platform::SystemTime today;
        platform::GetLocalTime(today);
        return app::Start(arguments, today);
    }
    static void BrokenShortcut(const std::string& path,
                               const std::string& target = "C:\\Gone\\game.exe") {
        sandbox::Shortcut link;
        link.path = target;
        sandbox::WriteShortcut(path, link);
    }
    static void OldFile(const std::string& name, bool readOnly = false) {
        sandbox::WriteFile(kTemp + name, "x");
        sandbox::SetLastWriteTime(kTemp + name, 2020, 1, 1);
        if (readOnly) sandbox::SetAttributes(kTemp + name, platform::kFileAttributeReadOnly);
    }
    static void Reply(forms::Answer answer) { sandbox::AnswerMessageBox(static_cast<int>(answer)); }
    // A registry value's text without its NUL, or "<absent>".
    static std::string ValueText(platform::RootKey root, const std::string& key,
                                 const std::string& name) {
        const auto value = sandbox::GetValue(root, key, name);
        return value ? value->data.substr(0, value->data.find('\0')) : "<absent>";
    }
    static std::string Note(const char* name) {
        return ValueText(platform::kHkeyLocalMachine, kRunOnce, name);
    }

    // The main window's rows as "kind|category|location|description", "* " before selected.
    static std::vector<std::string> Rows() {
        const platform::Hwnd view = sandbox::FindControl("MainWindow", "problems");
        std::vector<std::string> rows;
        for (int row = 0; row < platform::ListViewGetItemCount(view); ++row) {
            rows.push_back(platform::ListViewGetSelected(view, row) ? "* " : "  ");
            for (int column = 0; column < 4; ++column)
                rows.back() +=
                    (column ? "|" : "") + platform::ListViewGetItemText(view, row, column);
        }
        return rows;
    }
    static std::string CountLabel() {  // "<hidden>" when hidden
        const platform::Hwnd label = sandbox::FindControl("MainWindow", "count");
        return platform::IsWindowVisible(label) ? platform::GetWindowText(label) : "<hidden>";
    }
    // Scripts the repair options dialog: `method` clicked, the backup box cleared unless
    // `backUp`, then the start button.
    static void ScriptRepairOptions(const char* method, bool backUp) {
        sandbox::Script("choose the method", sandbox::ClickOn("RepairOptionsDialog", method),
                        [] { return sandbox::FindForm("RepairOptionsDialog") != 0; });
        if (!backUp) sandbox::Script("clear", sandbox::ClickOn("RepairOptionsDialog", "backUp"));
        sandbox::Script("start", sandbox::ClickOn("RepairOptionsDialog", "start"));
    }
};
