// What only the headless backend can show: another screen scale, the virtual clock and the
// focus, clicks a user could not make, recorded message boxes, and a loop that would hang.
// The rest of the window layer is held to the same test on both backends (ui_contract_test).
#include "support/sandbox_test.h"
#include "ui/controls.h"
#include "ui/interaction.h"

namespace {

class Dialog : public ui::Form {
  public:
    explicit Dialog(const std::string& name = "dlg") : ui::Form(name) {
        SetBorder(platform::BorderStyle::FixedDialog);
        SetStartPosition(ui::StartPosition::CenterOwner);
    }
    ui::Label lblInfo;
    ui::OptionButton optMethod[2];
    ui::CheckBox chBackup;
    ui::Button OKButton, CancelButton;
    ui::Timer Timer1;
    std::vector<int> clicked;
    std::function<void()> onTick;
    int unloads = 0;

  protected:
    void Design() override {
        SetClientSize(8790, 5040);
        Add(lblInfo, "lblInfo", {240, 120, 8415, 375});
        for (int i = 0; i < 2; ++i) {
            Add(optMethod[i], "optMethod" + std::to_string(i), {240, 1320 + 1080 * i, 5655, 375});
            optMethod[i].SetIndex(i);
            optMethod[i].Click = [this](int index) { clicked.push_back(index); };
        }
        Add(chBackup, "chBackup", {240, 3360, 6735, 255});
        Add(OKButton, "OKButton", {4680, 4440, 1935, 375});
        Add(CancelButton, "CancelButton", {6720, 4440, 1935, 375});
        OKButton.Click = [this] { Unload(); };
        SetDialogButtons(&OKButton, &CancelButton);
        SetTabOrder({&optMethod[0], &optMethod[1], &chBackup, &OKButton, &lblInfo, &CancelButton});
        Add(Timer1, 100, false);
        Timer1.Tick = [this] {
            if (onTick) onTick();
        };
    }
    void Form_Unload(int&) override { ++unloads; }
};

using HeadlessUi = SandboxTest;

TEST_F(HeadlessUi, TwipsBecomePixelsAtTheScreensScale) {
    sandbox::SetScreen({1600, 1200, 12, 12});  // 120 dots per inch
    Dialog large;
    large.Load();
    EXPECT_EQ(platform::GetClientRect(large.Hwnd()).width, 733);  // 8790 / 12, rounded
    EXPECT_EQ(platform::GetWindowRect(large.lblInfo.Hwnd()).top, 10);
    EXPECT_EQ(large.ScaleWidth(), 8796) << "whole pixels";
    EXPECT_EQ(ui::Screen::Width(), 1600 * 12);
}

TEST_F(HeadlessUi, AModalDialogFocusesItsFirstTabStopAndWaitsOnTheVirtualClock) {
    Dialog dialog;
    dialog.onTick = [&] {
        EXPECT_TRUE(dialog.optMethod[0].HasFocus()) << "first in the tab order";
        dialog.Unload();
    };
    dialog.Load();
    dialog.Timer1.SetEnabled(true);
    dialog.Show(ui::ShowMode::Modal);
    EXPECT_EQ(dialog.unloads, 1);
    EXPECT_EQ(sandbox::VirtualTime(), 100) << "one interval of the timer, not waited for";
}

TEST_F(HeadlessUi, ClicksReachOnlyEnabledWindows) {
    Dialog owner("owner"), dialog;
    owner.Show();
    sandbox::Script("click the owner's option", sandbox::ClickOn("owner", "optMethod1"));
    sandbox::Script("press OK", sandbox::ClickOn("dlg", "OKButton"));
    dialog.Show(ui::ShowMode::Modal, &owner);
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(owner.clicked.empty()) << "the owner was disabled";
    EXPECT_EQ(sandbox::PendingActions(), 0u);
}

TEST_F(HeadlessUi, MessageBoxesRecordWhatTheyShowedAndTakeScriptedAnswers) {
    sandbox::AnswerMessageBox(ui::vbYes);
    EXPECT_EQ(ui::MsgBox("Repair now?", 52, "Scan result"), ui::vbYes);
    sandbox::AnswerMessageBox(ui::vbOK);
    ui::MsgBox("Nothing found");
    ASSERT_EQ(sandbox::MessageBoxes().size(), 2u);
    EXPECT_EQ(sandbox::MessageBoxes()[0].type, ui::vbYesNo + ui::vbExclamation);
    EXPECT_EQ(sandbox::MessageBoxes()[1].caption, "Tallowquince Purgelint");
    EXPECT_THROW(ui::MsgBox("Unanswered"), sandbox::StuckUi);
}

TEST_F(HeadlessUi, AModalLoopWithNothingToDoFailsInsteadOfHanging) {
    Dialog dialog;
    EXPECT_THROW(dialog.Show(ui::ShowMode::Modal), sandbox::StuckUi);
    Dialog ticking;
    ticking.onTick = [] {};
    ticking.Timer1.SetEnabled(true);
    EXPECT_THROW(ticking.Show(ui::ShowMode::Modal), sandbox::StuckUi)
        << "a timer that never ends the loop";

    // From inside a handler too: the alarm passes the handlers' boundary, and the owner of
    // the dialog left behind is enabled again.
    Dialog owner("owner"), waiting;
    owner.Load();
    owner.OKButton.Click = [&] { waiting.Show(ui::ShowMode::Modal, &owner); };
    sandbox::Script("open a dialog that waits forever", sandbox::ClickOn("owner", "OKButton"));
    EXPECT_THROW(owner.Show(ui::ShowMode::Modal), sandbox::StuckUi);
    EXPECT_TRUE(platform::IsWindowEnabled(owner.Hwnd()));
}

}  // namespace
