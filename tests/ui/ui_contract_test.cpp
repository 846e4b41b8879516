// The window and control layer as the program relies on it: the same test on the headless
// backend and on real windows under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <source_location>
#include <stdexcept>
#include <thread>

#include "forms/controls.h"
#include "forms/interaction.h"
#include "platform/failure.h"
#include "ui/ui_driver.h"

namespace {

constexpr int kTick = 50;
using Events = std::vector<std::string>;

// A dialog with a control of every kind that records what is done to it.
class SampleDialog : public forms::Form {
  public:
    explicit SampleDialog(const std::string& name = "SampleDialog") : forms::Form(name) {
        SetBorder(platform::BorderStyle::FixedDialog);
        SetStartPosition(forms::StartPosition::CenterOwner);
    }
    forms::Label message;
    forms::CheckBox backUp;
    forms::OptionButton methods[2];
    forms::ListBox paths;
    forms::ListView problems;
    forms::ProgressBar progress;
    forms::Button ok, cancel;
    forms::Timer ticker;
    std::function<void()> onTick, onResized;
    Events events;

  protected:
    void Design() override {
        SetClientSize(9855, 6000);
        int top = 120;  // one control under the other
        const auto place = [&](forms::Control& control, const std::string& name, int height) {
            Add(control, name, {120, top, 4500, height});
            top += height + 120;
        };
        place(message, "Message", 375);
        place(backUp, "BackUp", 255);
        for (int i = 0; i < 2; ++i)
            place(methods[i], "Method" + std::to_string(i), 375);
        place(paths, "Paths", 900);
        place(problems, "Problems", 1425);
        place(progress, "Progress", 255);
        place(ok, "OK", 375);
        place(cancel, "Cancel", 375);
        backUp.Click = [this] { events.push_back("back up " + std::to_string(backUp.Value())); };
        for (int i = 0; i < 2; ++i) {
            methods[i].SetIndex(i);
            methods[i].Click = [this](int index) {
                events.push_back("method " + std::to_string(index));
            };
        }
        ok.Click = [this] { events.push_back("ok"); };
        cancel.Click = [this] { events.push_back("cancel"); };
        SetDialogButtons(&ok, &cancel);
        SetTabOrder({&message, &backUp, &paths, &ok, &cancel, &methods[0], &methods[1], &problems,
                     &progress});
        Add(ticker, kTick, false);
        ticker.Tick = [this] {
            if (onTick) onTick();
        };
    }
    void OnUnload() override { events.push_back("unload"); }
    void OnResized() override {
        if (onResized) onResized();
    }
};

// Collects the failures the window layer reports while it lives.
class ReportedFailures {
  public:
    ReportedFailures()
        : previous_(
              platform::SetFailureReport([this](const std::string& l) { lines.push_back(l); })) {}
    ~ReportedFailures() { platform::SetFailureReport(previous_); }
    Events lines;

  private:
    platform::FailureReport previous_;
};

// Each side of `actual` within `slack` of `expected`, reported at the caller's line.
template <typename Rect>
void ExpectNear(const Rect& actual, const Rect& expected, int slack,
                std::source_location at = std::source_location::current()) {
    const ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()), "");
    EXPECT_NEAR(actual.left, expected.left, slack);
    EXPECT_NEAR(actual.top, expected.top, slack);
    EXPECT_NEAR(actual.width, expected.width, slack);
    EXPECT_NEAR(actual.height, expected.height, slack);
}

class UiContract : public ::testing::Test {
  protected:
    void SetUp() override { driver::Prepare(); }
    void TearDown() override { EXPECT_TRUE(driver::Finish()) << "an action never came to pass"; }

    // Lets events run until `done`, for five seconds at most.
    static bool RunEventsUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 250 && !done(); ++i) {
            forms::RunPendingEvents();
            if (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return done();
    }
};

// A form's load (a stored place, then a stored state) raises no resize before the window
// shows, so nothing half restored is stored from there; and the state set after the place
// leaves that place to come back to.
TEST_F(UiContract, AFormResizesOnlyOnceShownAndComesBackToItsPlace) {
    struct PlacedBySystem : SampleDialog {
        PlacedBySystem() { SetStartPosition(forms::StartPosition::System); }
    } form;
    int resizes = 0;
    form.onResized = [&] { ++resizes; };
    form.Load();
    const forms::TwipRect place = {1500, 900, 9000, 7500};
    form.Move(place);
    form.SetWindowState(platform::WindowState::Maximized);
    EXPECT_EQ(resizes, 0);
    form.Show();
    EXPECT_GE(resizes, 1);
    EXPECT_EQ(form.WindowState(), platform::WindowState::Maximized);
    form.SetWindowState(platform::WindowState::Normal);
    ExpectNear(form.Bounds(), place, forms::Screen::TwipsPerPixelX());
}

// Moved to a screen of twice the density, a form takes the place offered and scales its
// controls, their fonts and the list's columns.
TEST_F(UiContract, AFormMovedToADenserScreenScalesItsControls) {
    SampleDialog form;
    form.Show();
    EXPECT_NEAR(form.ScaleWidth(), 9855, forms::Screen::TwipsPerPixelX()) << "the client area";
    EXPECT_NEAR(form.ScaleHeight(), 6000, forms::Screen::TwipsPerPixelY());
    form.message.SetFont(12, true);
    form.problems.AddColumn("Type", 1440);
    const auto rect = [](const forms::Control& c) { return platform::GetWindowRect(c.Hwnd()); };
    const platform::PixelRect label = rect(form.message), list = rect(form.problems);
    const int column = platform::ListViewGetColumnWidth(form.problems.Hwnd(), 0);
    const int font = driver::FontPixelHeight(form.message.Hwnd());
    if (!driver::MoveToScreenOfDpi(form.Hwnd(), 192, {40, 30, 1400, 1000}))
        GTEST_SKIP() << "the headless backend has no screens of their own";
    EXPECT_EQ(platform::GetWindowRect(form.Hwnd()).left, 40);
    EXPECT_EQ(platform::GetWindowRect(form.Hwnd()).width, 1400);
    const auto doubled = [](platform::PixelRect r) {
        return platform::PixelRect{2 * r.left, 2 * r.top, 2 * r.width, 2 * r.height};
    };
    ExpectNear(rect(form.message), doubled(label), 1);
    ExpectNear(rect(form.problems), doubled(list), 1);
    EXPECT_NEAR(driver::FontPixelHeight(form.message.Hwnd()), 2 * font, 1);
    EXPECT_NEAR(platform::ListViewGetColumnWidth(form.problems.Hwnd(), 0), 2 * column, 1);
}

// A modal form's timers fire in its loop while its owner is disabled; a timer does not fire
// again while its handler runs.
TEST_F(UiContract, ModalLoopsRunTimersButNoTimerInsideItsOwnHandler) {
    SampleDialog dialog, nested("NestedDialog");
    int ticks = 0, depth = 0, deepest = 0, nestedTicks = 0;
    bool ownerWasEnabled = true;
    nested.onTick = [&] {
        ownerWasEnabled = ownerWasEnabled && platform::IsWindowEnabled(dialog.Hwnd());
        if (++nestedTicks == 5) nested.Unload();
    };
    dialog.onTick = [&] {
        deepest = std::max(deepest, ++depth);
        if (++ticks == 1) {
            // Intervals pass while the handler lets events run, then while a modal form runs
            // its loop inside it.
            const auto until =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(5 * kTick);
            RunEventsUntil([&] { return std::chrono::steady_clock::now() >= until; });
            nested.Load();
            nested.ticker.SetEnabled(true);
            nested.Show(forms::ShowMode::Modal, &dialog);
            EXPECT_TRUE(platform::IsWindowEnabled(dialog.Hwnd())) << "enabled after the loop";
        } else {
            dialog.Unload();
        }
        --depth;
    };
    dialog.Load();
    dialog.ticker.SetEnabled(true);
    dialog.Show(forms::ShowMode::Modal);
    EXPECT_EQ(deepest, 1) << "the handler ran inside itself";
    EXPECT_EQ(nestedTicks, 5);
    EXPECT_FALSE(ownerWasEnabled) << "the owner of a modal form";
    EXPECT_EQ(ticks, 2) << "the timer fires again once its handler is done";
}

TEST_F(UiContract, AFailingHandlerIsReportedAndEndsOnlyTheInnermostModalLoop) {
    ReportedFailures failures;
    SampleDialog owner("OwnerWindow"), dialog;
    owner.onTick = [&] {
        owner.ticker.SetEnabled(false);
        dialog.Load();
        dialog.ok.Click = [] { throw std::runtime_error("disk full"); };
        driver::ClickWhenShown("SampleDialog", "OK");
        dialog.Show(forms::ShowMode::Modal, &owner);
        EXPECT_FALSE(dialog.IsLoaded()) << "the failed form is gone";
        EXPECT_TRUE(dialog.events.empty()) << "without its OnUnload";
        EXPECT_TRUE(platform::IsWindowEnabled(owner.Hwnd())) << "the owner is enabled again";
        // The program goes on: the same dialog shows again, and a failing timer ends it too.
        dialog.Load();
        dialog.onTick = [] { throw 42; };
        dialog.ticker.SetEnabled(true);
        dialog.Show(forms::ShowMode::Modal, &owner);
        EXPECT_FALSE(dialog.IsLoaded());
        owner.Unload();
    };
    owner.Load();
    owner.ticker.SetEnabled(true);
    owner.Show(forms::ShowMode::Modal);
    EXPECT_EQ(owner.events, Events{"unload"}) << "the owner's loop went on";
    // Outside a modal loop only the report is left: the form stays.
    dialog.Show();
    dialog.onResized = [] { throw std::logic_error("negative width"); };
    dialog.Move({0, 0, 9000, 7000});
    EXPECT_TRUE(dialog.IsLoaded());
    EXPECT_EQ(failures.lines, (Events{"Error in SampleDialog Click: disk full",
                                      "Error in SampleDialog Timer: unknown exception",
                                      "Error in SampleDialog Resize: negative width"}));
}

TEST_F(UiContract, ClicksFromOutsideArriveWhileTheCodeLetsEventsRun) {
    SampleDialog dialog;
    for (const char* control : {"BackUp", "Method1", "Method1", "OK"})
        driver::ClickWhenShown("SampleDialog", control);
    driver::CloseWhenShown("SampleDialog");
    dialog.onTick = [&] {
        dialog.ticker.SetEnabled(false);
        // The whole work runs inside this tick; the clicks come in while it lets events run.
        EXPECT_TRUE(RunEventsUntil([&] { return dialog.events.size() >= 4; }));
    };
    dialog.Load();
    dialog.ticker.SetEnabled(true);
    dialog.Show(forms::ShowMode::Modal);
    // A user's click on the option already selected fires again, unlike setting its value.
    EXPECT_EQ(dialog.events, (Events{"back up 1", "method 1", "method 1", "ok", "unload"}));
}

TEST_F(UiContract, OptionButtonsAreOneGroupAndValuesClickOnlyOnChange) {
    SampleDialog form;
    form.Show();
    for (int option : {0, 1, 1})
        form.methods[option].SetValue(true);
    for (int value : {1, 1, 2})
        form.backUp.SetValue(value);
    EXPECT_FALSE(form.methods[0].Value()) << "one group: the other is cleared";
    EXPECT_TRUE(form.methods[1].Value());
    EXPECT_EQ(form.backUp.Value(), 2) << "grayed";
    EXPECT_EQ(form.events, (Events{"method 0", "method 1", "back up 1", "back up 2"}));
}

TEST_F(UiContract, TheFocusStartsInTabOrderAndEnterAndEscPressTheDialogButtons) {
    SampleDialog dialog;
    dialog.Load();
    dialog.backUp.SetEnabled(false);
    dialog.Show();
    EXPECT_TRUE(dialog.paths.HasFocus()) << "the first control in tab order that takes it";
    driver::PressWhenShown("SampleDialog", driver::Key::Enter);
    driver::PressWhenShown("SampleDialog", driver::Key::Esc);
    EXPECT_TRUE(RunEventsUntil([&] { return dialog.events.size() >= 2; }));
    EXPECT_EQ(dialog.events, (Events{"ok", "cancel"}));
}

TEST_F(UiContract, ListRowsKeepTheirKeysTextsIconsAndSelection) {
    SampleDialog form;
    form.Show();
    forms::ListView& list = form.problems;
    for (const char* column : {"Type", "Category", "Location", "Description"})
        list.AddColumn(column, 1440);
    list.SetColumnText(3, "Ort");
    list.SetColumnWidth(4, 3000);
    EXPECT_EQ(list.ColumnText(3), "Ort");
    EXPECT_NEAR(list.ColumnWidth(4), 3000, forms::Screen::TwipsPerPixelX());
    ASSERT_TRUE(list.Add("registry_HKLM\\Run_x", "Registry", 1));
    ASSERT_TRUE(list.Add("shortcut__C:\\a.lnk", "Shortcut", 2));
    EXPECT_FALSE(list.Add("SHORTCUT__c:\\A.LNK", "Shortcut", 2)) << "keys ignore case";
    ASSERT_TRUE(list.Add("unknown_", "", forms::ListView::kNoIcon));
    EXPECT_EQ(list.CurrentItem(), 1) << "a filled list has a current row";
    for (int sub = 1; sub <= 3; ++sub)
        list.SetText(2, sub, "sub " + std::to_string(sub));
    EXPECT_EQ(platform::ListViewGetItemCount(list.Hwnd()), 3);
    EXPECT_EQ(list.Text(2) + "|" + list.Text(2, 3), "Shortcut|sub 3");
    EXPECT_EQ((std::vector{list.Icon(1), list.Icon(2), list.Icon(3)}), (std::vector{1, 2, 0}));
    list.SetSelected(1, true);
    list.SetSelected(3, true);
    list.SetSelected(1, false);
    EXPECT_EQ((std::vector{list.Selected(1), list.Selected(2), list.Selected(3)}),
              (std::vector{false, false, true}));
    list.SetCurrentItem(3);
    list.EnsureVisible(3);
    EXPECT_EQ(list.CurrentItem(), 3);
    list.Clear();
    EXPECT_EQ(platform::ListViewGetItemCount(list.Hwnd()), 0);
    EXPECT_EQ(list.CurrentItem(), 0);
    EXPECT_TRUE(list.Add("shortcut__C:\\a.lnk", "Shortcut")) << "keys go with their rows";
}

TEST_F(UiContract, ListBoxAndProgressBarKeepTheirValuesAndNamesGoWithTheWindows) {
    SampleDialog form;
    form.Show();
    form.paths.Add("C:\\Windows\\a.exe");
    form.paths.Add("C:\\Program Files\\b\\a.exe");
    EXPECT_EQ(form.paths.Selection(), -1);
    form.paths.Select(1);
    EXPECT_EQ(form.paths.Count(), 2);
    EXPECT_EQ(form.paths.Text(1), "C:\\Program Files\\b\\a.exe");
    EXPECT_EQ(form.paths.Selection(), 1);
    form.progress.SetRange(0, 14);
    form.progress.SetValue(20);
    EXPECT_EQ(form.progress.Value(), 14) << "held to the range";
    EXPECT_TRUE(driver::NameHeld("SampleDialog", "Paths"));
    form.Unload();
    EXPECT_FALSE(driver::NameHeld("SampleDialog", "Paths")) << "names go with their windows";
}

TEST_F(UiContract, AMessageBoxGivesTheAnswerOfTheButtonPressed) {
    using forms::Answer, forms::Buttons;
    for (const auto& [buttons, answer] :
         {std::pair{Buttons::YesNo, Answer::No}, std::pair{Buttons::OkCancel, Answer::Cancel}}) {
        driver::AnswerNextMessageBox(static_cast<int>(answer));
        EXPECT_EQ(forms::ShowMessage("Repair the selected problems now?", "Scan result", buttons,
                                     forms::Icon::Warning),
                  answer);
    }
}

}  // namespace
