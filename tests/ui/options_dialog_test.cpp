// The options dialog: the weekly scan switched on and off through the Run entry.
#include <string>

#include "core/registry_access.h"
#include "support/main_window_test.h"
#include "ui/interaction.h"
#include "ui/options_dialog.h"

namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class OptionsDialog : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        sandbox::CreateKey(platform::kHkeyLocalMachine, kRunKey);
        OpenMainWindow();
    }
    static std::string RunEntry() {
        return ReadRegistryValue(platform::kHkeyLocalMachine, kRunKey, "ro_zuvaviv");
    }
    static platform::Hwnd Box() { return sandbox::FindControl("frmOptions", "chRunAutomatically"); }
    // Opens the dialog from the main window and clicks the named controls in it.
    static void OpenAndClick(std::initializer_list<const char*> controls) {
        sandbox::Script("open the options", sandbox::ClickOn("Form1", "btnOptions"));
        for (const char* control : controls)
            sandbox::Script(std::string("click ") + control,
                            sandbox::ClickOn("frmOptions", control));
        ui::DoEvents();
        EXPECT_EQ(sandbox::PendingActions(), 0u);
        EXPECT_EQ(sandbox::FindForm("frmOptions"), 0u) << "the dialog closed";
    }
};

TEST_F(OptionsDialog, OkOnAFreshInstallationSwitchesTheWeeklyScanOn) {
    sandbox::Script("open the options", sandbox::ClickOn("Form1", "btnOptions"));
    sandbox::Script("look at it", [] {
        const platform::Hwnd dialog = sandbox::FindForm("frmOptions");
        EXPECT_EQ(platform::GetWindowText(dialog), "Options");
        EXPECT_EQ(platform::GetCheck(Box()), 1) << "ticked before any entry exists";
        EXPECT_EQ(platform::GetWindowText(Box()), "Perform automatic scan once a week");
        EXPECT_EQ(platform::GetWindowText(sandbox::FindControl("frmOptions", "btnCancel")),
                  "Cancel");
        EXPECT_FALSE(platform::IsWindowEnabled(frmMain->Hwnd())) << "modal over the main window";
        EXPECT_EQ(platform::GetFocus(), sandbox::FindControl("frmOptions", "btnOK"));
        EXPECT_EQ(RunEntry(), "");
    });
    sandbox::Script("OK", sandbox::ClickOn("frmOptions", "btnOK"));
    ui::DoEvents();
    EXPECT_EQ(RunEntry(), "\"C:\\Purgelint\\purgelint.exe\" /SCHEDULED");
    EXPECT_TRUE(ReadSettingBool("runautomatically", false));
    EXPECT_TRUE(platform::IsWindowEnabled(frmMain->Hwnd()));
}

TEST_F(OptionsDialog, UntickingRemovesTheEntryAndCancelKeepsEverything) {
    OpenAndClick({"btnOK"});
    OpenAndClick({"chRunAutomatically", "btnOK"});
    EXPECT_EQ(RunEntry(), "");
    EXPECT_EQ(ReadSetting("runautomatically", ""), "0");

    sandbox::Script("open the options", sandbox::ClickOn("Form1", "btnOptions"));
    sandbox::Script("look at the box", [] { EXPECT_EQ(platform::GetCheck(Box()), 0); });
    sandbox::Script("tick", sandbox::ClickOn("frmOptions", "chRunAutomatically"));
    sandbox::Script("Cancel", sandbox::ClickOn("frmOptions", "btnCancel"));
    ui::DoEvents();
    EXPECT_EQ(RunEntry(), "");
    EXPECT_EQ(ReadSetting("runautomatically", ""), "0");
}

TEST_F(OptionsDialog, AFolderWithBlanksIsQuotedInTheEntryWithTheProgramsOwnName) {
    sandbox::SetApplication("C:\\Program Files\\Tallowquince Purgelint", "", "purgelint-1.0");
    OpenAndClick({"btnOK"});
    EXPECT_EQ(RunEntry(),
              "\"C:\\Program Files\\Tallowquince Purgelint\\purgelint-1.0.exe\" /SCHEDULED");
}

}  // namespace
