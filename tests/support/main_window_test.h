// Fixture of the tests around the main window: a sandbox machine with frmMain loaded and
// shown, and the language texts a test wants.
#pragma once

#include <string>

#include "core/app_state.h"
#include "core/settings.h"
#include "model/item.h"
#include "repair/repair_options.h"
#include "scan/progress_window.h"
#include "support/sandbox_test.h"
#include "ui/main_window.h"

class MainWindowTest : public SandboxTest {
  protected:
    static constexpr const char* kRunOnceKey =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

    void SetUp() override {
        SandboxTest::SetUp();
        colProblems = ProblemCollection();
        lFirstErrors = -1;
        bScheduledRun = false;
        sandbox::CreateKey(platform::kHkeyLocalMachine, kRunOnceKey);
    }
    void TearDown() override {
        frmProgress.reset();
        frmMain.reset();
        for (std::string* folder : {&sDesktopFolder, &sProgramsFolder, &sTempFolder, &sCacheFolder})
            folder->clear();
        SandboxTest::TearDown();
    }

    // A new main window, loaded and shown as start-up shows it.
    static void OpenMainWindow() {
        frmMain = std::make_unique<MainForm>();
        frmMain->Show();
    }
    // The texts of languages\eng.txt, as "key=text" lines.
    static void Language(const std::string& lines) {
        sandbox::WriteFile(AppFile("languages\\eng.txt"), "[Lang]\r\n" + lines);
    }
    // Scripts the repair-options dialog that "Repair selected problems" opens: `method`
    // chosen, the backup box cleared unless `backup` is asked for, then "Start repair".
    static void ScriptRepairOptions(short method, bool backup) {
        const char* option = method == kRepairConservative ? "optMethod(0)" : "optMethod(1)";
        sandbox::Script("choose the method", sandbox::ClickOn("frmRepairOptions", option),
                        [] { return sandbox::FindForm("frmRepairOptions") != 0; });
        if (!backup)
            sandbox::Script("clear the backup box",
                            sandbox::ClickOn("frmRepairOptions", "chBackup"));
        sandbox::Script("start the repair", sandbox::ClickOn("frmRepairOptions", "OKButton"));
    }
    // Runs the main window's events until `close` holds, then closes it by its close box.
    static void RunUntil(const std::function<bool()>& close) {
        sandbox::Script("close the main window", sandbox::CloseBoxOf("Form1"), close);
        MainWindow::RunUntilClosed();
    }
};
