#include "app/main_window.h"

#include <algorithm>
#include <string>

#include "app/options_dialog.h"
#include "app/repair_command.h"
#include "app/restore_dialog.h"
#include "app/scan_command.h"
#include "app/weekly_scan.h"
#include "base/product.h"
#include "core/settings.h"
#include "forms/interaction.h"
#include "platform/errors.h"

namespace app {
namespace {

constexpr const char* kColumnKey = "frmmain_lstmain_columns_";
constexpr const char* kStateKey = "frmmain_window_state";
constexpr const char* kLeftKey = "frmmain_window_left";
constexpr const char* kTopKey = "frmmain_window_top";
constexpr const char* kWidthKey = "frmmain_window_width";
constexpr const char* kHeightKey = "frmmain_window_height";

constexpr const char* kWelcomeText =
    "Welcome to the Tallowquince Purgelint. Cleaning your computer is now easy as 1-2-3. "
    "First you should scan your computer for potential problems. To do this, click button "
    "'Find problems' on the main screen or click 'OK' now. If you don't want to find "
    "problems now, please click 'Cancel'.";

// Frame and title of a normal window, and the task bar of a maximized one, in pixels.
constexpr int kFrameWidthPixels = 8;
constexpr int kFrameHeightPixels = 35;
constexpr int kTaskBarPixels = 60;
constexpr int kMarginPixels = 6;

}  // namespace

MainWindow::MainWindow(Session& session)
    : forms::Form("MainWindow"), session_(session), listView_(list_, count_, session.language) {}

void MainWindow::Design() {
    SetClientSize(12510, 8280);
    Add(find_, "find", {4680, 480, 1815, 495});
    find_.Click = [this] { FindProblems(); };
    Add(repair_, "repair", {6600, 480, 1815, 495});
    repair_.Click = [this] { Repair(); };
    Add(options_, "options", {8520, 480, 1815, 495});
    options_.Click = [this] { ShowOptions(); };
    Add(restore_, "restore", {10440, 480, 1815, 495});
    restore_.Click = [this] { Restore(); };
    Add(list_, "problems", {120, 1440, 12255, 4935});
    list_.ContextMenu = [this](bool fromKeyboard) { NeverReport(fromKeyboard); };
    list_.SelectAllKeys = [this] { listView_.Select(Selection::All); };
    // The column names are the ends of their language keys.
    for (const char* column : {"Type", "Category", "Location", "Description"})
        list_.AddColumn(column, 1440);
    Add(selectAll_, "selectAll", {120, 6480, 2415, 375});
    selectAll_.Click = [this] { listView_.Select(Selection::All); };
    Add(selectNone_, "selectNone", {2640, 6480, 2415, 375});
    selectNone_.Click = [this] { listView_.Select(Selection::None); };
    Add(selectInvert_, "selectInvert", {5160, 6480, 2415, 375});
    selectInvert_.Click = [this] { listView_.Select(Selection::Invert); };
    Add(count_, "count", {120, 6960, 12255, 375});
    SetTabOrder({&find_, &repair_, &options_, &restore_, &list_, &selectAll_, &selectNone_,
                 &selectInvert_});
    Add(welcome_, 700, true);
    welcome_.Tick = [this] { Welcome(); };
    Add(scheduledScan_, 500, false);
    scheduledScan_.Tick = [this] {
        scheduledScan_.SetEnabled(false);
        FindProblems();
    };
}

void MainWindow::Run() {
    Load();
    if (session_.scheduledRun) scheduledScan_.SetEnabled(true);
    Show(forms::ShowMode::Modeless);
    if (IsLoaded()) platform::RunModalLoop(Hwnd());
}

void MainWindow::FindProblems() {
    if (app::FindProblems(*this, session_, problems_, listView_)) Repair();
}

void MainWindow::Repair() {
    RunRepairCommand(*this, session_, problems_, listView_);
}

void MainWindow::ShowOptions() {
    const bool weeklyScan = core::ReadSettingBool("runautomatically", true);
    if (const auto answer = AskWeeklyScan(*this, session_.language, weeklyScan))
        ApplyWeeklyScan(*answer);
}

void MainWindow::Restore() {
    if (RunRestoreCommand(*this, session_)) FindProblems();
}

void MainWindow::OnLoad() {
    RestoreWindowState();
    for (int n = 1; n <= kColumns; ++n)
        list_.SetColumnWidth(
            n, core::ReadSettingLong(kColumnKey + std::to_string(n), list_.ColumnWidth(n)));
    SetCaption(base::kProductTitle);
    const core::Language& language = session_.language;
    for (int n = 1; n <= kColumns; ++n) {
        const std::string text = list_.ColumnText(n);
        list_.SetColumnText(n, language.Text(kColumnKey + text, text));
    }
    options_.SetCaption(language.Text("frmmain_button_options", ""));
    restore_.SetCaption(language.Text("frmmain_button_restore", "Restore..."));
    find_.SetCaption(language.Text("frmmain_button_check", ""));
    repair_.SetCaption(language.Text("frmmain_button_repair", ""));
    selectAll_.SetCaption(language.Text("frmmain_button_select_all", ""));
    selectNone_.SetCaption(language.Text("frmmain_button_select_none", ""));
    selectInvert_.SetCaption(language.Text("frmmain_button_select_invert", ""));
    listView_.Refresh(problems_);
}

// The stored normal-state geometry goes on first, while the window is still normal, so a
// maximized or minimized window comes back to it when restored; then the stored state.
// The window raises no Resize before it shows, so none of this stores anything yet.
void MainWindow::RestoreWindowState() {
    const long state = core::ReadSettingLong(kStateKey, static_cast<long>(WindowState()));
    forms::TwipRect bounds = Bounds();
    bounds.left = core::ReadSettingLong(kLeftKey, bounds.left);
    bounds.top = core::ReadSettingLong(kTopKey, bounds.top);
    bounds.width = core::ReadSettingLong(kWidthKey, bounds.width);
    bounds.height = core::ReadSettingLong(kHeightKey, bounds.height);
    Move(bounds);
    // A state the window does not know is not applied.
    if (state >= 0 && state <= static_cast<long>(platform::WindowState::Maximized))
        SetWindowState(static_cast<platform::WindowState>(state));
}

// The geometry is stored only for the normal state: it is what a restore returns to.
void MainWindow::SaveWindowState() {
    const platform::WindowState state = WindowState();
    core::WriteSettingLong(kStateKey, static_cast<long>(state));
    if (state != platform::WindowState::Normal) return;
    const forms::TwipRect bounds = Bounds();
    core::WriteSettingLong(kLeftKey, bounds.left);
    core::WriteSettingLong(kTopKey, bounds.top);
    core::WriteSettingLong(kWidthKey, bounds.width);
    core::WriteSettingLong(kHeightKey, bounds.height);
}

// The list fills the width between equal margins and the height down to the selection
// buttons, which sit just above the count at the bottom. A place or size that comes out
// zero or less is not applied. Twips per pixel are whole numbers here, so every product is
// already a whole number of twips.
void MainWindow::OnResized() {
    SaveWindowState();
    const int tppX = forms::Screen::TwipsPerPixelX(), tppY = forms::Screen::TwipsPerPixelY();
    int width = 0, height = 0;
    switch (WindowState()) {
        case platform::WindowState::Minimized:
            return;
        case platform::WindowState::Maximized:
            width = forms::Screen::Width();
            height = forms::Screen::Height() - kTaskBarPixels * tppY;
            break;
        case platform::WindowState::Normal:
            width = Bounds().width - kFrameWidthPixels * tppX;
            height = Bounds().height - kFrameHeightPixels * tppY;
            break;
    }
    const int margin = kMarginPixels * tppY;
    forms::TwipRect list = list_.Bounds(), info = count_.Bounds();
    const int buttonHeight = selectAll_.Bounds().height;
    if (const int a = width - 2 * list.left; a > 0) {
        list.width = a;
        info.width = a;
    }
    if (const int b = height - 2 * margin - info.height; b > 0) info.top = b;
    if (const int c = info.top - list.top - 2 * margin - buttonHeight; c > 0) list.height = c;
    list_.Move(list);
    count_.Move(info);
    if (const int d = info.top - margin - buttonHeight; d > 0) {
        for (forms::Button* button : {&selectAll_, &selectInvert_, &selectNone_}) {
            forms::TwipRect bounds = button->Bounds();
            bounds.top = d;
            button->Move(bounds);
        }
    }
}

void MainWindow::OnUnload() {
    for (int n = 1; n <= kColumns; ++n)
        core::WriteSettingLong(kColumnKey + std::to_string(n), list_.ColumnWidth(n));
    SaveWindowState();
}

// The welcome is offered once per installation: it is marked as given before it shows, so
// cancelling or closing it does not bring it back.
void MainWindow::Welcome() {
    welcome_.SetEnabled(false);
    if (session_.scheduledRun) return;
    if (core::ReadSettingBool("userwelcomed", false)) return;
    core::WriteSettingBool("userwelcomed", true);
    const core::Language& language = session_.language;
    if (forms::ShowMessage(language.Text("welcome_text", kWelcomeText),
                           language.Text("welcome_title", "Welcome to the Tallowquince Purgelint"),
                           forms::Buttons::OkCancel) == forms::Answer::Ok)
        FindProblems();
}

// The row's location goes into the exclusions, or its missing file when other rows share the
// location (the shared DLLs all stand at their key); every row the pattern matches goes.
void MainWindow::NeverReport(bool fromKeyboard) {
    const std::optional<std::size_t> position = listView_.CurrentProblem(problems_.size());
    if (!position) return;
    const core::Language& language = session_.language;
    if (list_.ShowMenu({language.Text("frmmain_menu_neverreport", "Never report this")},
                       !fromKeyboard) != 1)
        return;
    const core::Problem& problem = problems_[*position];
    const bool shared =
        std::count_if(problems_.begin(), problems_.end(), [&](const core::Problem& other) {
            return other.location == problem.location;
        }) > 1;
    const std::string pattern =
        shared && !problem.missingFile.empty() ? problem.missingFile : problem.location;
    if (const long error = session_.exclusions.AddToFile(pattern);
        error != platform::kErrorSuccess) {
        forms::ShowMessage("exclude.txt: " + platform::ErrorDescription(error), base::kProductTitle,
                           forms::Buttons::Ok, forms::Icon::Warning);
        return;
    }
    session_.exclusions.RemoveFrom(problems_);
    listView_.Refresh(problems_);
}

}  // namespace app
