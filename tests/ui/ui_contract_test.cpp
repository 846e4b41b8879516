// The window and control layer as the system relies on it: the same test on the headless
// backend and on real windows under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <source_location>
#include <stdexcept>
#include <thread>

#include "platform/failure.h"
#include "ui/controls.h"
#include "ui/interaction.h"
#include "ui/ui_driver.h"

namespace {

constexpr int kTick = 50;

class EveryControl : public ui::Form {
  public:
    explicit EveryControl(const std::string& name = "frmEvery") : ui::Form(name) {
        SetBorder(platform::BorderStyle::FixedDialog);
        SetStartPosition(ui::StartPosition::CenterOwner);
    }
    ui::Label lblInfo;
    ui::Button btnOK;
    ui::Button btnCancel;
    ui::CheckBox chBackup;
    ui::OptionButton optMethod[2];
    ui::ListBox List1;
    ui::ListView lstMain;
    ui::ProgressBar ProgressBar1;
    ui::Timer Timer1;
    std::function<void()> onTick;
    std::function<void()> onResize;
    std::vector<std::string> events;

  protected:
    void Design() override {
        SetClientSize(9855, 6000);
        Add(lblInfo, "lblInfo", {120, 120, 9615, 615});
        Add(btnOK, "btnOK", {5880, 5400, 1935, 375});
        Add(btnCancel, "btnCancel", {7920, 5400, 1815, 375});
        Add(chBackup, "chBackup", {240, 840, 6735, 255});
        for (int i = 0; i < 2; ++i) {
            Add(optMethod[i], "optMethod" + std::to_string(i), {240, 1200 + 420 * i, 5655, 375});
            optMethod[i].SetIndex(i);
            optMethod[i].Click = [this](int index) {
                events.push_back("option " + std::to_string(index));
            };
        }
        Add(List1, "List1", {120, 2100, 4500, 1425});
        Add(lstMain, "lstMain", {4800, 2100, 4935, 1425});
        Add(ProgressBar1, "ProgressBar1", {120, 3720, 9615, 495});
        chBackup.Click = [this] { events.push_back("check " + std::to_string(chBackup.Value())); };
        btnOK.Click = [this] { events.push_back("ok"); };
        btnCancel.Click = [this] { events.push_back("cancel"); };
        SetDialogButtons(&btnOK, &btnCancel);
        Add(Timer1, kTick, false);
        Timer1.Tick = [this] {
            if (onTick) onTick();
        };
    }
    void Form_Unload(int&) override { events.push_back("unload"); }
    void Form_Resize() override {
        if (onResize) onResize();
    }
};

// Collects the failures the window layer reports while it lives.
class ReportedFailures {
  public:
    ReportedFailures()
        : previous_(platform::SetFailureReport(
              [this](const std::string& line) { lines.push_back(line); })) {}
    ~ReportedFailures() { platform::SetFailureReport(previous_); }
    std::vector<std::string> lines;

  private:
    platform::FailureReport previous_;
};

class UiContract : public ::testing::Test {
  protected:
    void SetUp() override { driver::Prepare(); }
    void TearDown() override { EXPECT_TRUE(driver::Finish()) << "an action never came to pass"; }

    // Lets events run until `done`, for five seconds at most.
    static bool RunEventsUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 250 && !done(); ++i) {
            ui::DoEvents();
            if (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return done();
    }
    // Lets events run for `milliseconds` of real time.
    static void RunEventsFor(int milliseconds) {
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        RunEventsUntil([&] { return std::chrono::steady_clock::now() >= until; });
    }
    static void ExpectPixels(const ui::Control& control, const ui::TwipRect& twips,
                             std::source_location caller = std::source_location::current()) {
        const ::testing::ScopedTrace trace(caller.file_name(), static_cast<int>(caller.line()),
                                           control.Name());
        const int x = ui::Screen::TwipsPerPixelX(), y = ui::Screen::TwipsPerPixelY();
        const platform::PixelRect r = platform::GetWindowRect(control.Hwnd());
        EXPECT_NEAR(r.left, twips.left / x, 1);
        EXPECT_NEAR(r.top, twips.top / y, 1);
        EXPECT_NEAR(r.width, twips.width / x, 1);
        EXPECT_NEAR(r.height, twips.height / y, 1);
    }
};

TEST_F(UiContract, ControlsStandWhereTheirTwipsSay) {
    EveryControl form;
    form.Show();
    EXPECT_EQ(1440 % ui::Screen::TwipsPerPixelX(), 0);
    EXPECT_NEAR(form.ScaleWidth(), 9855, ui::Screen::TwipsPerPixelX());
    EXPECT_NEAR(form.ScaleHeight(), 6000, ui::Screen::TwipsPerPixelY());
    ExpectPixels(form.lblInfo, {120, 120, 9615, 615});
    ExpectPixels(form.btnCancel, {7920, 5400, 1815, 375});
    ExpectPixels(form.optMethod[1], {240, 1620, 5655, 375});
    ExpectPixels(form.lstMain, {4800, 2100, 4935, 1425});
    ExpectPixels(form.ProgressBar1, {120, 3720, 9615, 495});
    form.lblInfo.SetCaption("C:\\Program Files\\A & B\\setup.exe");
    EXPECT_EQ(form.lblInfo.Caption(), "C:\\Program Files\\A & B\\setup.exe");
    form.lblInfo.SetVisible(false);
    EXPECT_FALSE(form.lblInfo.Visible());
    form.Unload();
    EXPECT_FALSE(form.IsLoaded());
}

// What a form's load does to its window (a stored place, then a stored state) raises no
// Resize before the window shows, so nothing half restored can be stored from there; and
// the state set after the place leaves that place to come back to.
TEST_F(UiContract, AFormResizesOnlyOnceShownAndComesBackToItsPlace) {
    struct PlacedBySystem : EveryControl {
        PlacedBySystem() { SetStartPosition(ui::StartPosition::System); }
    } form;
    int resizes = 0;
    form.onResize = [&] { ++resizes; };
    form.Load();
    const ui::TwipRect place = {1500, 900, 9000, 7500};
    form.Move(place);
    form.SetWindowState(platform::WindowState::Maximized);
    EXPECT_EQ(resizes, 0);
    form.Show();
    EXPECT_GE(resizes, 1);
    EXPECT_EQ(form.WindowState(), platform::WindowState::Maximized);
    form.SetWindowState(platform::WindowState::Normal);
    const ui::TwipRect restored = form.Bounds();
    const int x = ui::Screen::TwipsPerPixelX(), y = ui::Screen::TwipsPerPixelY();
    EXPECT_NEAR(restored.left, place.left, x);
    EXPECT_NEAR(restored.top, place.top, y);
    EXPECT_NEAR(restored.width, place.width, x);
    EXPECT_NEAR(restored.height, place.height, y);
}

// Moved to a screen of twice the density, a form scales its controls, their fonts and the
// list's columns, and takes the place the system offers.
TEST_F(UiContract, AFormMovedToADenserScreenScalesItsControls) {
    EveryControl form;
    form.Show();
    form.lblInfo.SetFont(12, true);
    const auto before = [&](const ui::Control& c) { return platform::GetWindowRect(c.Hwnd()); };
    const platform::PixelRect label = before(form.lblInfo), list = before(form.lstMain);
    form.lstMain.AddColumn("Type", 1440);
    const int column = platform::ListViewGetColumnWidth(form.lstMain.Hwnd(), 0);
    const int font = driver::FontPixelHeight(form.lblInfo.Hwnd());
    const platform::PixelRect offered = {40, 30, 1400, 1000};
    if (!driver::MoveToScreenOfDpi(form.Hwnd(), 192, offered))
        GTEST_SKIP() << "the headless backend has no screens of their own";
    const platform::PixelRect placed = platform::GetWindowRect(form.Hwnd());
    EXPECT_EQ(placed.left, offered.left);
    EXPECT_EQ(placed.width, offered.width);
    using Was = std::pair<const ui::Control*, platform::PixelRect>;
    for (const auto& [control, was] : {Was{&form.lblInfo, label}, Was{&form.lstMain, list}}) {
        SCOPED_TRACE(control->Name());
        const platform::PixelRect now = platform::GetWindowRect(control->Hwnd());
        EXPECT_NEAR(now.left, 2 * was.left, 1);
        EXPECT_NEAR(now.top, 2 * was.top, 1);
        EXPECT_NEAR(now.width, 2 * was.width, 1);
        EXPECT_NEAR(now.height, 2 * was.height, 1);
    }
    EXPECT_NEAR(driver::FontPixelHeight(form.lblInfo.Hwnd()), 2 * font, 1);
    EXPECT_NEAR(platform::ListViewGetColumnWidth(form.lstMain.Hwnd(), 0), 2 * column, 1);
}

TEST_F(UiContract, AModalFormDisablesItsOwnerAndItsTimerFiresInTheLoop) {
    EveryControl owner("frmOwner"), dialog;
    owner.Show();
    int ticks = 0;
    bool ownerWasEnabled = true;
    dialog.onTick = [&] {
        ownerWasEnabled = platform::IsWindowEnabled(owner.Hwnd());
        if (++ticks == 3) dialog.Unload();
    };
    dialog.Load();
    dialog.Timer1.SetEnabled(true);
    dialog.Show(ui::ShowMode::Modal, &owner);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(ownerWasEnabled);
    EXPECT_TRUE(platform::IsWindowEnabled(owner.Hwnd())) << "enabled again after the loop";
}

TEST_F(UiContract, ATimerDoesNotFireAgainWhileItsHandlerRuns) {
    EveryControl dialog, nested("frmNested");
    int ticks = 0, depth = 0, deepest = 0, nestedTicks = 0;
    nested.onTick = [&] {
        if (++nestedTicks == 5) nested.Unload();
    };
    dialog.onTick = [&] {
        deepest = std::max(deepest, ++depth);
        if (++ticks == 1) {
            // Several intervals pass while this handler lets events run, then while a
            // modal form runs its loop inside it.
            RunEventsFor(5 * kTick);
            nested.Load();
            nested.Timer1.SetEnabled(true);
            nested.Show(ui::ShowMode::Modal, &dialog);
        } else {
            dialog.Unload();
        }
        --depth;
    };
    dialog.Load();
    dialog.Timer1.SetEnabled(true);
    dialog.Show(ui::ShowMode::Modal);
    EXPECT_EQ(deepest, 1) << "the handler ran inside itself";
    EXPECT_EQ(nestedTicks, 5);
    EXPECT_EQ(ticks, 2) << "the timer fires again once its handler is done";
}

TEST_F(UiContract, AFailingHandlerIsReportedAndEndsOnlyTheInnermostModalLoop) {
    ReportedFailures failures;
    EveryControl owner("frmOwner"), dialog;
    owner.onTick = [&] {
        owner.Timer1.SetEnabled(false);
        dialog.Load();
        dialog.btnOK.Click = [] { throw std::runtime_error("disk full"); };
        driver::ClickWhenShown("frmEvery", "btnOK");
        dialog.Show(ui::ShowMode::Modal, &owner);
        EXPECT_FALSE(dialog.IsLoaded()) << "the failed form is gone";
        EXPECT_TRUE(dialog.events.empty()) << "without its Unload";
        EXPECT_TRUE(platform::IsWindowEnabled(owner.Hwnd())) << "the owner is enabled again";

        // The program goes on: the same dialog shows again, and a failing timer ends it too.
        dialog.Load();
        dialog.onTick = [] { throw 42; };
        dialog.Timer1.SetEnabled(true);
        dialog.Show(ui::ShowMode::Modal, &owner);
        EXPECT_FALSE(dialog.IsLoaded());
        EXPECT_TRUE(platform::IsWindowEnabled(owner.Hwnd()));
        owner.Unload();
    };
    owner.Load();
    owner.Timer1.SetEnabled(true);
    owner.Show(ui::ShowMode::Modal);
    EXPECT_EQ(owner.events, std::vector<std::string>{"unload"}) << "the owner's loop went on";
    EXPECT_EQ(failures.lines,
              (std::vector<std::string>{"Error in frmEvery Click: disk full",
                                        "Error in frmEvery Timer: unknown exception"}));

    // Outside a modal loop only the report is left: the form stays.
    dialog.Show();
    dialog.onResize = [] { throw std::logic_error("negative width"); };
    dialog.Move({0, 0, 9000, 7000});
    EXPECT_TRUE(dialog.IsLoaded());
    ASSERT_EQ(failures.lines.size(), 3u);
    EXPECT_EQ(failures.lines[2], "Error in frmEvery Resize: negative width");
}

TEST_F(UiContract, ClicksFromOutsideArriveWhileTheCodeLetsEventsRun) {
    EveryControl dialog;
    driver::ClickWhenShown("frmEvery", "chBackup");
    driver::ClickWhenShown("frmEvery", "optMethod1");
    driver::ClickWhenShown("frmEvery", "optMethod1");
    driver::ClickWhenShown("frmEvery", "btnOK");
    driver::CloseWhenShown("frmEvery");
    dialog.onTick = [&] {
        dialog.Timer1.SetEnabled(false);
        // The whole work runs inside this tick; clicks come in through DoEvents.
        EXPECT_TRUE(RunEventsUntil([&] { return dialog.events.size() >= 4; }));
    };
    dialog.Load();
    dialog.Timer1.SetEnabled(true);
    dialog.Show(ui::ShowMode::Modal);
    // A user's click on the option already selected still fires, unlike setting its value.
    EXPECT_EQ(dialog.events,
              (std::vector<std::string>{"check 1", "option 1", "option 1", "ok", "unload"}));
}

TEST_F(UiContract, OptionButtonsFormOneGroupAndValuesClickOnlyOnChange) {
    EveryControl form;
    form.Show();
    form.optMethod[0].SetValue(true);
    form.optMethod[1].SetValue(true);
    form.optMethod[1].SetValue(true);
    EXPECT_FALSE(form.optMethod[0].Value()) << "one group: the other is cleared";
    EXPECT_TRUE(form.optMethod[1].Value());
    form.chBackup.SetValue(1);
    form.chBackup.SetValue(1);
    form.chBackup.SetValue(2);
    EXPECT_EQ(form.chBackup.Value(), 2) << "grayed";
    EXPECT_EQ(form.events,
              (std::vector<std::string>{"option 0", "option 1", "check 1", "check 2"}));
}

TEST_F(UiContract, AWindowsNameGoesWithTheWindow) {
    EveryControl form("frmNamed");
    form.Show();
    EXPECT_TRUE(driver::NameHeld("frmNamed", "lstMain"));
    form.Unload();
    EXPECT_FALSE(driver::NameHeld("frmNamed", "lstMain")) << "the form's and its controls' names";
}

TEST_F(UiContract, ListRowsKeepKeysTagsIconsAndSelection) {
    EveryControl form;
    form.Show();
    ui::ListView& list = form.lstMain;
    for (const char* column : {"Type", "Category", "Location", "Description"})
        list.AddColumn(column, 1440);
    list.SetColumnText(3, "Ort");
    EXPECT_EQ(list.ColumnText(3), "Ort");
    list.SetColumnWidth(4, 3000);
    EXPECT_NEAR(list.ColumnWidth(4), 3000, ui::Screen::TwipsPerPixelX());

    ASSERT_TRUE(list.Add("registry_HKLM\\Run_x", "Registry", 1));
    ASSERT_TRUE(list.Add("shortcut__C:\\a.lnk", "Shortcut", 2));
    EXPECT_FALSE(list.Add("SHORTCUT__c:\\A.LNK", "Shortcut", 2)) << "keys ignore case";
    ASSERT_TRUE(list.Add("unknown_", "", ui::ListView::kNoIcon));
    EXPECT_EQ(list.FindKey("Shortcut__C:\\A.lnk"), 2);
    EXPECT_EQ(list.CurrentItem(), 1) << "a filled list has a current row";
    list.SetTag(2, "5");
    for (int sub = 1; sub <= 3; ++sub)
        list.SetText(2, sub, "sub " + std::to_string(sub));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(platform::ListViewGetItemCount(list.Hwnd()), 3);
    EXPECT_EQ(list.Text(2), "Shortcut");
    EXPECT_EQ(list.Text(2, 3), "sub 3");
    EXPECT_EQ(list.Tag(2), "5");
    EXPECT_EQ(list.Icon(1), 1);
    EXPECT_EQ(list.Icon(2), 2);
    EXPECT_EQ(list.Icon(3), 0);

    list.SetSelected(1, true);
    list.SetSelected(3, true);
    list.SetSelected(1, false);
    EXPECT_FALSE(list.Selected(1));
    EXPECT_FALSE(list.Selected(2));
    EXPECT_TRUE(list.Selected(3));
    list.SetCurrentItem(3);
    list.EnsureVisible(3);
    EXPECT_EQ(list.CurrentItem(), 3);
    list.Clear();
    EXPECT_EQ(platform::ListViewGetItemCount(list.Hwnd()), 0);
    EXPECT_EQ(list.CurrentItem(), 0);
    EXPECT_TRUE(list.Add("shortcut__C:\\a.lnk", "Shortcut")) << "keys go with their rows";
}

TEST_F(UiContract, ListBoxAndProgressBarKeepTheirValues) {
    EveryControl form;
    form.Show();
    form.List1.AddItem("C:\\Windows\\a.exe");
    form.List1.AddItem("C:\\Program Files\\b\\a.exe");
    form.List1.SetListIndex(1);
    EXPECT_EQ(form.List1.ListCount(), 2);
    EXPECT_EQ(form.List1.List(1), "C:\\Program Files\\b\\a.exe");
    EXPECT_EQ(form.List1.ListIndex(), 1);
    form.ProgressBar1.SetRange(0, 14);
    form.ProgressBar1.SetValue(5);
    EXPECT_EQ(form.ProgressBar1.Value(), 5);
    form.ProgressBar1.SetValue(20);
    EXPECT_EQ(form.ProgressBar1.Value(), 14) << "held to the range";
}

TEST_F(UiContract, AMessageBoxIsAnsweredFromOutside) {
    driver::AnswerNextMessageBox(ui::vbNo);
    EXPECT_EQ(ui::MsgBox("Repair the selected problems now?", ui::vbYesNo + ui::vbExclamation,
                         "Scan result"),
              ui::vbNo);
}

}  // namespace
