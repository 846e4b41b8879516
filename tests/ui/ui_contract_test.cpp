// The window and control layer as the forms rely on it: the same test on the headless
// backend and on real windows under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <tuple>

#include "forms/controls.h"
#include "forms/interaction.h"
#include "platform/failure.h"
#include "ui/ui_driver.h"

namespace {

constexpr int kTick = 50;
using Events = std::vector<std::string>;
using driver::Action;

// A dialog with a control of every kind, one under the other, that records what is done to it.
class SampleDialog : public forms::Dialog {
  public:
    explicit SampleDialog(const std::string& name = "SampleDialog") : forms::Dialog(name) {}
    using forms::Dialog::SetStartPosition;
    // Shows the form modal with its timer running `tick`; returns once it is unloaded.
    void RunModal(std::function<void()> tick, forms::Form* owner = nullptr) {
        onTick = std::move(tick);
        Load();
        ticker.SetEnabled(true);
        Show(forms::ShowMode::Modal, owner);
    }
    forms::Label message;
    forms::CheckBox backUp;
    forms::OptionButton methods[2];
    forms::ListBox paths;
    forms::ListView problems;
    forms::ProgressBar progress;
    forms::Button ok, cancel;
    forms::Timer ticker;
    std::function<void()> onTick = [] {}, onResized = [] {};
    Events events;

  protected:
    void Design() override {
        SetClientSize(9855, 6000);
        const std::tuple<forms::Control*, const char*, int> controls[] = {
            {&message, "Message", 375},    {&backUp, "BackUp", 255}, {&methods[0], "Method0", 375},
            {&methods[1], "Method1", 375}, {&paths, "Paths", 900},   {&problems, "Problems", 1425},
            {&progress, "Progress", 255},  {&ok, "OK", 375},         {&cancel, "Cancel", 375}};
        for (int top = 120; const auto& [control, name, height] : controls) {
            Add(*control, name, {120, top, 4500, height});
            top += height + 120;
        }
        backUp.Click = [this] { events.push_back("back up " + std::to_string(backUp.Value())); };
        methods[1].SetIndex(1);
        for (auto& method : methods)
            method.Click = [this](int i) { events.push_back("method " + std::to_string(i)); };
        ok.Click = [this] { events.push_back("ok"); };
        cancel.Click = [this] { events.push_back("cancel"); };
        SetDialogButtons(&ok, &cancel);
        SetTabOrder({&message, &backUp, &paths, &ok, &cancel, &methods[0], &methods[1], &problems,
                     &progress});
        Add(ticker, kTick, false);
        ticker.Tick = [this] { onTick(); };
    }
    void OnUnload() override { events.push_back("unload"); }
    void OnResized() override { onResized(); }
};

// The largest difference between the sides of `a` and those of `b` times `times`.
int Off(const auto& a, const auto& b, int times = 1) {
    return std::max({std::abs(a.left - times * b.left), std::abs(a.top - times * b.top),
                     std::abs(a.width - times * b.width), std::abs(a.height - times * b.height)});
}

// Lets events run until `done`, for five seconds at most.
bool RunEventsUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 250 && !done();
         ++i, std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        forms::RunPendingEvents();
    return done();
}

class UiContract : public ::testing::Test {
  protected:
    void SetUp() override { driver::Prepare(); }
    void TearDown() override { EXPECT_TRUE(driver::Finish()) << "an action never came to pass"; }
};

// No resize before the window shows; the place set before the state is the one it comes back
// to. On a screen of twice the density it takes the place offered and scales its controls.
TEST_F(UiContract, AFormReturnsToItsPlaceItsControlsKeepWhatTheyAreGivenAndScaleOnADenserScreen) {
    SampleDialog form;
    form.SetStartPosition(forms::StartPosition::System);
    int resizes = 0;
    form.onResized = [&] { ++resizes; };
    form.Load();
    EXPECT_NEAR(form.ScaleWidth(), 9855, forms::Screen::TwipsPerPixelX()) << "the client area";
    EXPECT_NEAR(form.ScaleHeight(), 6000, forms::Screen::TwipsPerPixelY());
    const forms::TwipRect place = {1500, 900, 9000, 7500};
    form.Move(place);
    form.SetWindowState(platform::WindowState::Maximized);
    EXPECT_EQ(resizes, 0);
    form.Show();
    EXPECT_GE(resizes, 1);
    EXPECT_EQ(form.WindowState(), platform::WindowState::Maximized);
    form.SetWindowState(platform::WindowState::Normal);
    EXPECT_LE(Off(form.Bounds(), place), forms::Screen::TwipsPerPixelX());

    forms::ListView& list = form.problems;
    for (const char* column : {"Type", "Category", "Location", "Description"})
        list.AddColumn(column, 1440);
    list.SetColumnText(3, "Ort");
    list.SetColumnWidth(4, 3000);
    EXPECT_EQ(list.ColumnText(3), "Ort");
    EXPECT_NEAR(list.ColumnWidth(4), 3000, forms::Screen::TwipsPerPixelX());
    // The view asks for a row's texts and icon whenever it shows them or is read.
    struct Rows : platform::ListViewRows {
        std::string first = "Registry";
        std::string RowText(int row, int column) const override {
            return row == 0 && column == 0 ? first
                                           : std::to_string(row) + "日本" + std::to_string(column);
        }
        int RowIcon(int row) const override { return (row + 1) % 4; }
    } rows;
    list.SetRows(rows, 5);
    rows.first = "Shortcut";
    EXPECT_EQ(list.Text(1) + "|" + list.Text(2, 3), "Shortcut|1日本3");
    EXPECT_EQ((std::vector{list.Icon(1), list.Icon(2), list.Icon(4), list.Icon(5)}),
              (std::vector{1, 2, 0, 1}));
    for (const auto& [row, selected] : {std::pair{1, true}, {3, true}, {1, false}})
        list.SetSelected(row, selected);
    // The inverse of few selected rows, of many, of none and of all.
    for (const auto& [none, inverse] : {std::pair{false, std::vector{1, 2, 4, 5}},
                                        {false, {3}},
                                        {true, {1, 2, 3, 4, 5}},
                                        {false, {}}}) {
        if (none) list.SelectAll(false);
        list.InvertSelection();
        EXPECT_EQ(list.SelectedRows(), inverse);
    }
    list.SelectAll(true);
    list.SetCurrentItem(4);
    list.EnsureVisible(4);
    EXPECT_EQ(list.CurrentItem(), 4);
    list.SetRows(rows, 2);  // none selected, the first current: a filled list has a current row
    EXPECT_EQ(std::tuple(list.Count(), list.SelectedRows().size(), list.CurrentItem()),
              std::tuple(2, 0u, 1));
    list.Clear();
    EXPECT_EQ(platform::ListViewGetItemCount(list.Hwnd()) + list.CurrentItem(), 0);

    for (const char* path : {"C:\\Windows\\a.exe", "C:\\Program Files\\b\\a.exe"})
        form.paths.Add(path);
    EXPECT_EQ(form.paths.Selection(), -1);
    form.paths.Select(1);
    EXPECT_EQ(form.paths.Text(form.paths.Selection()) + "|" + std::to_string(form.paths.Count()),
              "C:\\Program Files\\b\\a.exe|2");
    form.progress.SetRange(0, 14);
    form.progress.SetValue(20);
    EXPECT_EQ(form.progress.Value(), 14) << "held to the range";

    form.message.SetFont(12, true);
    const auto rect = [](const forms::Control& c) { return platform::GetWindowRect(c.Hwnd()); };
    const platform::PixelRect label = rect(form.message), table = rect(form.problems);
    const int column = platform::ListViewGetColumnWidth(form.problems.Hwnd(), 0);
    const int font = driver::FontPixelHeight(form.message.Hwnd());
    if (!driver::MoveToScreenOfDpi(form.Hwnd(), 192, {40, 30, 1400, 1000}))
        GTEST_SKIP() << "the headless backend has no screens of their own";
    EXPECT_EQ(platform::GetWindowRect(form.Hwnd()).left, 40);
    EXPECT_EQ(platform::GetWindowRect(form.Hwnd()).width, 1400);
    EXPECT_LE(Off(rect(form.message), label, 2), 1);
    EXPECT_LE(Off(rect(form.problems), table, 2), 1);
    EXPECT_NEAR(driver::FontPixelHeight(form.message.Hwnd()), 2 * font, 1);
    EXPECT_NEAR(platform::ListViewGetColumnWidth(form.problems.Hwnd(), 0), 2 * column, 1);
}

// A modal form's timers fire in its loop while its owner is disabled; a timer does not fire
// again while its handler runs. A failing handler is reported and ends only the innermost loop.
TEST_F(UiContract, ModalLoopsRunTimersButNoTimerInsideItsOwnHandlerAndAFailureEndsOnlyOne) {
    Events reported;
    const auto previous =
        platform::SetFailureReport([&](const std::string& l) { reported.push_back(l); });
    SampleDialog dialog, nested("NestedDialog"), failing("FailingDialog");
    int ticks = 0, depth = 0, deepest = 0, nestedTicks = 0;
    bool ownerWasEnabled = true;
    dialog.RunModal([&] {
        deepest = std::max(deepest, ++depth);
        if (++ticks == 1) {
            // Intervals pass while the handler lets events run, then in a modal loop inside it.
            const auto until =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(5 * kTick);
            RunEventsUntil([&] { return std::chrono::steady_clock::now() >= until; });
            nested.RunModal(
                [&] {
                    ownerWasEnabled = ownerWasEnabled && platform::IsWindowEnabled(dialog.Hwnd());
                    if (++nestedTicks == 5) nested.Unload();
                },
                &dialog);
            EXPECT_TRUE(platform::IsWindowEnabled(dialog.Hwnd())) << "enabled after the loop";
            failing.Load();
            failing.ok.Click = [] { throw std::runtime_error("disk full"); };
            driver::WhenShown("FailingDialog", Action::Click, "OK");
            failing.Show(forms::ShowMode::Modal, &dialog);
            EXPECT_FALSE(failing.IsLoaded()) << "the failed form is gone";
            EXPECT_TRUE(failing.events.empty()) << "without its OnUnload";
            EXPECT_TRUE(platform::IsWindowEnabled(dialog.Hwnd())) << "the owner is enabled again";
        } else {
            dialog.Unload();
        }
        --depth;
    });
    platform::SetFailureReport(previous);
    EXPECT_EQ(deepest, 1) << "the handler ran inside itself";
    EXPECT_EQ(nestedTicks, 5);
    EXPECT_FALSE(ownerWasEnabled) << "the owner of a modal form";
    EXPECT_EQ(ticks, 2) << "the timer fires again once its handler is done";
    EXPECT_EQ(dialog.events, Events{"unload"}) << "the owner's loop went on";
    EXPECT_EQ(reported, Events{"Error in FailingDialog Click: disk full"});
}

// An option set clears the other of its group. The focus starts on the first control in tab
// order that takes it; a click on the option already selected arrives too.
TEST_F(UiContract, ValuesClickOnChangeAndKeysClicksAndAnswersFromOutsideArrive) {
    SampleDialog dialog;
    dialog.Load();
    for (int option : {0, 1, 1})
        dialog.methods[option].SetValue(true);
    for (int value : {1, 1, 0})
        dialog.backUp.SetValue(value);
    EXPECT_TRUE(!dialog.methods[0].Value() && dialog.methods[1].Value()) << "the last set alone";
    dialog.backUp.SetEnabled(false);
    dialog.RunModal([&] {
        dialog.ticker.SetEnabled(false);
        EXPECT_TRUE(dialog.paths.HasFocus()) << "not the label nor the disabled check box";
        dialog.backUp.SetEnabled(true);
        for (const Action key : {Action::Enter, Action::Esc})
            driver::WhenShown("SampleDialog", key);
        for (const char* control : {"BackUp", "Method1", "OK"})
            driver::WhenShown("SampleDialog", Action::Click, control);
        driver::WhenShown("SampleDialog", Action::Close);
        EXPECT_TRUE(RunEventsUntil([&] { return dialog.events.size() >= 9; }));
    });
    EXPECT_EQ(dialog.events, (Events{"method 0", "method 1", "back up 1", "back up 0", "ok",
                                     "cancel", "back up 1", "method 1", "ok", "unload"}));
    for (const forms::Answer answer : {forms::Answer::No, forms::Answer::Cancel}) {
        driver::AnswerNextMessageBox(static_cast<int>(answer));
        EXPECT_EQ(forms::ShowMessage("Repair the selected problems now?", "Scan result",
                                     answer == forms::Answer::No ? forms::Buttons::YesNo
                                                                 : forms::Buttons::OkCancel,
                                     forms::Icon::Warning),
                  answer);
    }
}

}  // namespace
