#include "ui/main_window.h"

#include <string>
#include <utility>

#include "core/app_state.h"
#include "core/settings.h"
#include "core/translate.h"
#include "model/problem_list.h"
#include "repair/repair_command.h"
#include "scan/scan_driver.h"
#include "ui/interaction.h"
#include "ui/options_dialog.h"

std::unique_ptr<MainForm> frmMain;

namespace {

constexpr const char* kTitle = "Tallowquince Purgelint";
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

MainForm::MainForm() : ui::Form("Form1") {}

MainForm::~MainForm() {
    SetProblemListView(nullptr);
}

void MainForm::Design() {
    SetClientSize(12510, 8280);
    Add(btnCheck, "btnCheck", {4680, 480, 1815, 495});
    btnCheck.SetCaption("Find problems");
    btnCheck.Click = [this] { btnCheck_Click(); };
    Add(btnMore, "btnMore", {6600, 480, 1815, 495});
    btnMore.SetCaption("Repair selected problems");
    btnMore.Click = [this] { btnMore_Click(); };
    Add(btnOptions, "btnOptions", {8520, 480, 1815, 495});
    btnOptions.SetCaption("Options...");
    btnOptions.Click = [this] { btnOptions_Click(); };
    Add(lstMain, "lstMain", {120, 1440, 12255, 4935});
    for (const char* column : {"Type", "Category", "Location", "Description"})
        lstMain.AddColumn(column, 1440);
    Add(btnSelectAll, "btnSelectAll", {120, 6480, 2415, 375});
    btnSelectAll.SetCaption("Select All");
    btnSelectAll.Click = [] { SelectRows(kSelectAll); };
    Add(btnSelectNone, "btnSelectNone", {2640, 6480, 2415, 375});
    btnSelectNone.SetCaption("Select none");
    btnSelectNone.Click = [] { SelectRows(kSelectNone); };
    Add(btnSelectInvert, "btnSelectInvert", {5160, 6480, 2415, 375});
    btnSelectInvert.SetCaption("Invert selection");
    btnSelectInvert.Click = [] { SelectRows(kSelectInvert); };
    Add(lblInfo, "lblInfo", {120, 6960, 12255, 375});
    lblInfo.SetCaption("Info:");
    SetTabOrder({&btnCheck, &btnMore, &btnOptions, &lstMain, &btnSelectAll, &btnSelectNone,
                 &btnSelectInvert});
    Add(tmrStartup, 700, true);
    tmrStartup.Tick = [this] { tmrStartup_Timer(); };
    Add(tmrScheduledRun, 500, false);
    tmrScheduledRun.Tick = [this] { tmrScheduledRun_Timer(); };
}

void MainForm::btnCheck_Click() {
    FindProblems(*this, [this] { btnMore_Click(); });
}

void MainForm::btnMore_Click() {
    RunRepairCommand(*this, lstMain);
}

void MainForm::btnOptions_Click() {
    OptionsForm options;
    options.Show(ui::ShowMode::Modal, this);
}

void MainForm::Form_Load() {
    RestoreWindowState();
    for (int n = 1; n <= kColumns; ++n)
        lstMain.SetColumnWidth(
            n, ReadSettingLong(kColumnKey + std::to_string(n), lstMain.ColumnWidth(n)));
    SetCaption(kTitle);
    for (int n = 1; n <= kColumns; ++n) {
        const std::string text = lstMain.ColumnText(n);
        lstMain.SetColumnText(n, Translate(kColumnKey + text, text));
    }
    btnOptions.SetCaption(Translate("frmmain_button_options", ""));
    btnCheck.SetCaption(Translate("frmmain_button_check", ""));
    btnMore.SetCaption(Translate("frmmain_button_repair", ""));
    btnSelectAll.SetCaption(Translate("frmmain_button_select_all", ""));
    btnSelectNone.SetCaption(Translate("frmmain_button_select_none", ""));
    btnSelectInvert.SetCaption(Translate("frmmain_button_select_invert", ""));
    SetProblemListView(&listView_);
    RefreshList();
}

// The stored normal-state geometry goes on first, while the window is still normal, so a
// maximized or minimized window comes back to it when restored; then the stored state.
// The window raises no Resize before it shows, so none of this stores anything yet.
void MainForm::RestoreWindowState() {
    const long state = ReadSettingLong(kStateKey, static_cast<long>(WindowState()));
    ui::TwipRect bounds = Bounds();
    bounds.left = ReadSettingLong(kLeftKey, bounds.left);
    bounds.top = ReadSettingLong(kTopKey, bounds.top);
    bounds.width = ReadSettingLong(kWidthKey, bounds.width);
    bounds.height = ReadSettingLong(kHeightKey, bounds.height);
    Move(bounds);
    // A state the window does not know is not applied.
    if (state >= 0 && state <= static_cast<long>(platform::WindowState::Maximized))
        SetWindowState(static_cast<platform::WindowState>(state));
}

// The geometry is stored only for the normal state: it is what a restore returns to.
void MainForm::SaveWindowState() {
    const platform::WindowState state = WindowState();
    WriteSettingLong(kStateKey, static_cast<long>(state));
    if (state != platform::WindowState::Normal) return;
    const ui::TwipRect bounds = Bounds();
    WriteSettingLong(kLeftKey, bounds.left);
    WriteSettingLong(kTopKey, bounds.top);
    WriteSettingLong(kWidthKey, bounds.width);
    WriteSettingLong(kHeightKey, bounds.height);
}

// The list fills the width between equal margins and the height down to the selection
// buttons, which sit just above the count at the bottom. A place or size that comes out
// zero or less is not applied. Twips per pixel are whole numbers here, so every product is
// already a whole number of twips.
void MainForm::Form_Resize() {
    SaveWindowState();
    const int tppX = ui::Screen::TwipsPerPixelX(), tppY = ui::Screen::TwipsPerPixelY();
    int width = 0, height = 0;
    switch (WindowState()) {
        case platform::WindowState::Minimized:
            return;
        case platform::WindowState::Maximized:
            width = ui::Screen::Width();
            height = ui::Screen::Height() - kTaskBarPixels * tppY;
            break;
        case platform::WindowState::Normal:
            width = Bounds().width - kFrameWidthPixels * tppX;
            height = Bounds().height - kFrameHeightPixels * tppY;
            break;
    }
    const int margin = kMarginPixels * tppY;
    ui::TwipRect list = lstMain.Bounds(), info = lblInfo.Bounds();
    const int buttonHeight = btnSelectAll.Bounds().height;
    if (const int a = width - 2 * list.left; a > 0) {
        list.width = a;
        info.width = a;
    }
    if (const int b = height - 2 * margin - info.height; b > 0) info.top = b;
    if (const int c = info.top - list.top - 2 * margin - buttonHeight; c > 0) list.height = c;
    lstMain.Move(list);
    lblInfo.Move(info);
    if (const int d = info.top - margin - buttonHeight; d > 0) {
        for (ui::Button* button : {&btnSelectAll, &btnSelectInvert, &btnSelectNone}) {
            ui::TwipRect bounds = button->Bounds();
            bounds.top = d;
            button->Move(bounds);
        }
    }
}

void MainForm::Form_Unload(int&) {
    for (int n = 1; n <= kColumns; ++n)
        WriteSettingLong(kColumnKey + std::to_string(n), lstMain.ColumnWidth(n));
    SaveWindowState();
}

void MainForm::tmrScheduledRun_Timer() {
    tmrScheduledRun.SetEnabled(false);
    btnCheck_Click();
}

// The welcome is offered once per installation: it is marked as given before it shows, so
// cancelling or closing it does not bring it back.
void MainForm::tmrStartup_Timer() {
    tmrStartup.SetEnabled(false);
    if (bScheduledRun) return;
    if (ReadSettingBool("userwelcomed", false)) return;
    WriteSettingBool("userwelcomed", true);
    const int answer =
        ui::MsgBox(Translate("welcome_text", kWelcomeText), ui::vbOKCancel,
                   Translate("welcome_title", "Welcome to the Tallowquince Purgelint"));
    if (answer == ui::vbOK) btnCheck_Click();
}

void MainWindow::CreateAndLoad() {
    frmMain = std::make_unique<MainForm>();
    frmMain->Load();
}

void MainWindow::EnableScheduledRun() {
    if (frmMain) frmMain->tmrScheduledRun.SetEnabled(true);
}

void MainWindow::Show() {
    if (frmMain) frmMain->Show(ui::ShowMode::Modeless);
}

void MainWindow::RunUntilClosed() {
    if (frmMain && frmMain->IsLoaded()) platform::RunModalLoop(frmMain->Hwnd());
}
