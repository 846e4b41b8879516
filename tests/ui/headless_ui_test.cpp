// The window and control layer on the headless backend: twips, modality, groups, list rows,
// message boxes, and a loop that would hang.
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
    ui::ListView lstMain;
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
        Add(lstMain, "lstMain", {120, 3720, 8535, 600});
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
    Dialog dialog;
    dialog.Load();
    EXPECT_EQ(platform::GetClientRect(dialog.Hwnd()).width, 586);
    EXPECT_EQ(platform::GetWindowRect(dialog.lblInfo.Hwnd()).left, 16);
    EXPECT_EQ(platform::GetWindowRect(dialog.lblInfo.Hwnd()).width, 561);
    EXPECT_EQ(dialog.ScaleWidth(), 8790);

    sandbox::SetScreen({1600, 1200, 12, 12});  // 120 dots per inch
    Dialog large;
    large.Load();
    EXPECT_EQ(platform::GetClientRect(large.Hwnd()).width, 733);  // 8790 / 12, rounded
    EXPECT_EQ(platform::GetWindowRect(large.lblInfo.Hwnd()).top, 10);
    EXPECT_EQ(ui::Screen::Width(), 1600 * 12);
}

TEST_F(HeadlessUi, AModalDialogDisablesItsOwnerUntilItUnloads) {
    Dialog owner("owner"), dialog;
    owner.Show();
    dialog.onTick = [&] {
        EXPECT_FALSE(platform::IsWindowEnabled(owner.Hwnd()));
        EXPECT_TRUE(dialog.optMethod[0].HasFocus()) << "first in the tab order";
        dialog.Unload();
    };
    dialog.Load();
    dialog.Timer1.SetEnabled(true);
    dialog.Show(ui::ShowMode::Modal, &owner);
    EXPECT_EQ(dialog.unloads, 1);
    EXPECT_TRUE(platform::IsWindowEnabled(owner.Hwnd()));
    EXPECT_EQ(sandbox::VirtualTime(), 100);
}

TEST_F(HeadlessUi, ClicksReachControlsOnlyOfEnabledWindows) {
    Dialog owner("owner"), dialog;
    owner.Show();
    sandbox::Script("click the owner's option", sandbox::ClickOn("owner", "optMethod1"));
    sandbox::Script("pick the second method", sandbox::ClickOn("dlg", "optMethod1"));
    sandbox::Script("tick the check box", sandbox::ClickOn("dlg", "chBackup"));
    sandbox::Script("check and press OK", [&] {
        EXPECT_TRUE(dialog.optMethod[1].Value());
        EXPECT_FALSE(dialog.optMethod[0].Value());
        EXPECT_EQ(dialog.chBackup.Value(), 1);
        sandbox::ClickOn("dlg", "OKButton")();
    });
    dialog.Show(ui::ShowMode::Modal, &owner);
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(owner.clicked.empty()) << "the owner was disabled";
    EXPECT_EQ(dialog.clicked, std::vector<int>{1});
    EXPECT_EQ(sandbox::PendingActions(), 0u);
}

TEST_F(HeadlessUi, OptionButtonsFormOneGroupAndCheckBoxesClickOnChange) {
    Dialog dialog;
    dialog.Show();
    int checkClicks = 0;
    dialog.chBackup.Click = [&] { ++checkClicks; };
    dialog.optMethod[0].SetValue(true);
    dialog.optMethod[1].SetValue(true);
    dialog.optMethod[1].SetValue(true);
    EXPECT_FALSE(dialog.optMethod[0].Value());
    EXPECT_EQ(dialog.clicked, (std::vector<int>{0, 1})) << "no Click when already selected";
    sandbox::ClickOn("dlg", "optMethod1")();
    EXPECT_EQ(dialog.clicked, (std::vector<int>{0, 1, 1})) << "a user's click always fires";
    dialog.chBackup.SetValue(1);
    dialog.chBackup.SetValue(1);
    sandbox::ClickOn("dlg", "chBackup")();
    EXPECT_EQ(dialog.chBackup.Value(), 0);
    EXPECT_EQ(checkClicks, 2);
}

TEST_F(HeadlessUi, ListRowsCarryUniqueKeysTagsIconsAndSelection) {
    Dialog dialog;
    dialog.Show();
    ui::ListView& list = dialog.lstMain;
    list.AddColumn("Type", 1440);
    list.AddColumn("Category", 2000);
    EXPECT_EQ(list.ColumnWidth(2), 1995) << "whole pixels";
    ASSERT_TRUE(list.Add("shortcut__C:\\a.lnk", "Shortcut", 2));
    EXPECT_FALSE(list.Add("SHORTCUT__c:\\A.LNK", "Shortcut", 2)) << "keys ignore case";
    ASSERT_TRUE(list.Add("file_C:\\t.tmp_", "File", 3));
    list.SetTag(2, "3");
    list.SetText(2, 2, "C:\\t.tmp");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.FindKey("file_c:\\t.tmp_"), 2);
    EXPECT_EQ(list.Tag(2), "3");
    EXPECT_EQ(list.Text(2, 2), "C:\\t.tmp");
    EXPECT_EQ(list.Icon(1), 2);
    EXPECT_EQ(list.CurrentItem(), 1) << "the control's own default current row";
    list.SetSelected(2, true);
    list.SetCurrentItem(2);
    EXPECT_TRUE(list.Selected(2));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_EQ(list.CurrentItem(), 2);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.CurrentItem(), 0);
    EXPECT_TRUE(list.Add("shortcut__C:\\a.lnk", "Shortcut")) << "keys go with their rows";
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
