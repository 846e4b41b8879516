// The repair options dialog: its layout, what it offers, and what each way of closing it
// leaves in the three globals the repair command reads.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/sandbox/machine.h"
#include "repair/repair_options.h"
#include "support/sandbox_test.h"
#include "support/shipped_language.h"

namespace {

constexpr const char* kDialog = "frmRepairOptions";

class RepairOptions : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        iRepairMethod = kRepairConservative;
        bBackupRegistry = true;
        bRepairConfirmed = false;
    }

    static platform::Hwnd Control(const std::string& name) {
        return sandbox::FindControl(kDialog, name);
    }
    static std::string Text(const std::string& name) {
        return platform::GetWindowText(Control(name));
    }
    static int Check(const std::string& name) { return platform::GetCheck(Control(name)); }

    // Shows the dialog modally and runs the actions in order once it is up; it must have
    // closed at the end.
    static void ShowDialog(std::initializer_list<std::function<void()>> actions) {
        for (const auto& action : actions)
            sandbox::Script("act on the dialog", action,
                            [] { return sandbox::FindForm(kDialog) != 0; });
        RepairOptionsForm dialog;
        dialog.Show(ui::ShowMode::Modal);
        EXPECT_EQ(sandbox::PendingActions(), 0u);
        EXPECT_FALSE(dialog.IsLoaded());
    }
    static std::function<void()> Click(const std::string& control) {
        return sandbox::ClickOn(kDialog, control);
    }
    // The confirmed choice as "method backup confirmed", e.g. "1 1 1".
    static std::string Globals() {
        return std::to_string(iRepairMethod) + " " + std::to_string(bBackupRegistry) + " " +
               std::to_string(bRepairConfirmed);
    }
};

TEST_F(RepairOptions, OpensOnConservativeWithTheBackupAndTheShippedTexts) {
    const std::string language = InstallShippedLanguage(kAppFolder);
    bRepairConfirmed = true;  // from an earlier dialog
    ShowDialog({[&] {
                    EXPECT_FALSE(bRepairConfirmed) << "cleared when the dialog loads";
                    EXPECT_EQ(platform::GetFocus(), Control("optMethod(0)"));
                    EXPECT_EQ(Check("optMethod(0)"), 1) << "selected through the focus";
                    EXPECT_EQ(Check("optMethod(1)"), 0);
                    EXPECT_EQ(Check("chBackup"), 1);
                    EXPECT_EQ(platform::GetWindowText(sandbox::FindForm(kDialog)),
                              "Repair options");
                    EXPECT_EQ(Text("OKButton"), "Start repair");
                    EXPECT_EQ(Text("CancelButton"), "Cancel");
                    EXPECT_EQ(Text("optMethod(0)"), "Conservative");
                    EXPECT_EQ(Text("optMethod(1)"), "Aggressive");
                    EXPECT_EQ(Text("lblPlease"), "Please select the repair method:");
                    for (const char* label :
                         {"chBackup", "lblMethodConservative", "lblMethodAggresive", "lblBackup"}) {
                        const std::string text = Text(label);
                        EXPECT_GT(text.size(), 20u) << label;
                        EXPECT_NE(language.find(text.substr(0, 20)), std::string::npos) << label;
                    }
                    EXPECT_NE(Text("lblBackup").find(" C:\\Purgelint\\backup\r\nIf anything"),
                              std::string::npos)
                        << Text("lblBackup");
                },
                Click("OKButton")});
    EXPECT_EQ(Globals(), "1 1 1");
}

TEST_F(RepairOptions, AggressiveWithoutBackup) {
    ShowDialog({Click("optMethod(1)"), Click("chBackup"), Click("OKButton")});
    EXPECT_EQ(Globals(), "2 0 1");
    // Back again: each dialog starts from its design state.
    ShowDialog({Click("OKButton")});
    EXPECT_EQ(Globals(), "1 1 1");
}

TEST_F(RepairOptions, NoMethodSelectedIsAggressiveAndAGrayedBoxIsNoBackup) {
    ShowDialog({[] {
                    platform::SetCheck(Control("optMethod(0)"), 0);
                    platform::SetCheck(Control("chBackup"), 2);
                },
                Click("OKButton")});
    EXPECT_EQ(Globals(), "2 0 1");
}

TEST_F(RepairOptions, CancelEscAndTheCloseBoxConfirmNothingAndKeepTheEarlierChoice) {
    iRepairMethod = kRepairAggressive;
    bBackupRegistry = false;
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Cancel", Click("CancelButton")},
        {"Esc", sandbox::PressKey(kDialog, sandbox::DialogKey::Esc)},
        {"close box", sandbox::CloseBoxOf(kDialog)},
    };
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        bRepairConfirmed = true;
        ShowDialog({Click("optMethod(0)"), close});
        EXPECT_EQ(Globals(), "2 0 0");
    }
    // Enter presses no button: the dialog has no default one.
    ShowDialog({sandbox::PressKey(kDialog, sandbox::DialogKey::Enter), Click("CancelButton")});
    EXPECT_EQ(Globals(), "2 0 0");
}

TEST_F(RepairOptions, WithoutItsKeysEveryCaptionIsEmpty) {
    ShowDialog({[] {
                    EXPECT_EQ(platform::GetWindowText(sandbox::FindForm(kDialog)), "");
                    for (const char* control :
                         {"OKButton", "CancelButton", "optMethod(0)", "optMethod(1)", "chBackup",
                          "lblPlease", "lblMethodConservative", "lblMethodAggresive"})
                        EXPECT_EQ(Text(control), "") << control;
                    EXPECT_EQ(Text("lblBackup"), " C:\\Purgelint\\backup\r\n");
                },
                Click("CancelButton")});
}

TEST_F(RepairOptions, HasItsDesignedLayoutFontsAndTabOrder) {
    RepairOptionsForm dialog;
    dialog.Load();
    EXPECT_EQ(dialog.ScaleWidth(), 8790);
    EXPECT_EQ(dialog.ScaleHeight(), 5040);
    struct Expected {
        const ui::Control& control;
        ui::TwipRect bounds;
        int fontSize;
        bool bold;
    };
    const Expected expected[] = {
        {dialog.optMethod[0], {240, 1320, 5655, 375}, 8, true},
        {dialog.optMethod[1], {240, 2400, 5655, 375}, 8, true},
        {dialog.chBackup, {240, 3360, 6735, 255}, 8, true},
        {dialog.OKButton, {4680, 4440, 1935, 375}, 8, false},
        {dialog.lblMethodConservative, {480, 1680, 7935, 735}, 8, false},
        {dialog.CancelButton, {6720, 4440, 1935, 375}, 8, false},
        {dialog.lblMethodAggresive, {480, 2760, 8055, 495}, 8, false},
        {dialog.lblBackup, {480, 3600, 8055, 735}, 8, false},
        {dialog.lblPlease, {240, 840, 8415, 375}, 12, true},
    };
    const auto& windows = sandbox::TheMachine().ui.windows;
    std::vector<platform::Hwnd> order;
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.control.Name());
        const ui::TwipRect bounds = e.control.Bounds();
        EXPECT_EQ(bounds.left, e.bounds.left);
        EXPECT_EQ(bounds.top, e.bounds.top);
        EXPECT_EQ(bounds.width, e.bounds.width);
        EXPECT_EQ(bounds.height, e.bounds.height);
        EXPECT_EQ(windows.at(e.control.Hwnd()).fontSize, e.fontSize);
        EXPECT_EQ(windows.at(e.control.Hwnd()).bold, e.bold);
        order.push_back(e.control.Hwnd());
    }
    const auto& form = windows.at(dialog.Hwnd());
    EXPECT_EQ(form.tabOrder, order) << "listed above in tab order";
    EXPECT_EQ(form.border, platform::BorderStyle::FixedDialog);
    EXPECT_EQ(form.defaultId, 0);
    EXPECT_EQ(form.cancelId, windows.at(dialog.CancelButton.Hwnd()).id);
    dialog.Unload();
}

}  // namespace
