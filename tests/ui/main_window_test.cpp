// The main window: its design and captions, the layout on resize, the state kept across
// starts, the one-time welcome and the scan of a scheduled start.
#include <string>

#include "core/startup.h"
#include "support/main_window_test.h"
#include "ui/interaction.h"

namespace {

constexpr const char* kWelcomeTitle = "Welcome to the Tallowquince Purgelint";

class MainWindowForm : public MainWindowTest {
  protected:
    static void ExpectBounds(const ui::TwipRect& actual, const ui::TwipRect& expected) {
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.width, expected.width);
        EXPECT_EQ(actual.height, expected.height);
    }
    static int Top(const ui::Control& control) { return control.Bounds().top; }
    static long Stored(const std::string& key) { return ReadSettingLong(key, -99); }
    static bool TimerDone() { return !frmMain->tmrStartup.Enabled(); }
};

TEST_F(MainWindowForm, AFirstStartShowsTheDesignWithCaptionsFromTheLanguageFile) {
    Language("frmmain_button_check=Find problems\r\nfrmmain_lstmain_columns_Location=Where\r\n");
    OpenMainWindow();
    EXPECT_EQ(frmMain->Caption(), "Tallowquince Purgelint");
    EXPECT_EQ(frmMain->ScaleWidth(), 12510);
    EXPECT_EQ(frmMain->ScaleHeight(), 8280);
    EXPECT_EQ(frmMain->btnCheck.Caption(), "Find problems");
    EXPECT_EQ(frmMain->btnMore.Caption(), "") << "the wording comes from the language file only";
    EXPECT_EQ(frmMain->btnSelectInvert.Caption(), "");
    const char* columns[] = {"Type", "Category", "Where", "Description"};
    for (int n = 1; n <= MainForm::kColumns; ++n) {
        EXPECT_EQ(frmMain->lstMain.ColumnText(n), columns[n - 1]);
        EXPECT_EQ(frmMain->lstMain.ColumnWidth(n), 1440);
    }
    EXPECT_FALSE(frmMain->lblInfo.Visible()) << "no problems yet";
    EXPECT_TRUE(frmMain->btnCheck.HasFocus()) << "first in the tab order";
    ExpectBounds(frmMain->btnCheck.Bounds(), {4680, 480, 1815, 495});
    EXPECT_TRUE(frmMain->tmrStartup.Enabled());
    EXPECT_EQ(frmMain->tmrStartup.Interval(), 700);
    EXPECT_FALSE(frmMain->tmrScheduledRun.Enabled());
    EXPECT_EQ(frmMain->tmrScheduledRun.Interval(), 500);
}

TEST_F(MainWindowForm, TheLayoutFollowsTheWindowAndSkipsWhatComesOutNegative) {
    OpenMainWindow();
    // 600 x 500 twips at 15 twips per pixel: W = 480, H below zero. The sandbox's window
    // is whole pixels: 600 x 495.
    const int labelTop = Top(frmMain->lblInfo);
    frmMain->Move({0, 0, 600, 500});
    EXPECT_EQ(frmMain->lstMain.Bounds().width, 240);
    EXPECT_EQ(frmMain->lblInfo.Bounds().width, 240);
    EXPECT_EQ(Top(frmMain->lblInfo), labelTop) << "B is negative: the label keeps its top";
    EXPECT_EQ(frmMain->lstMain.Bounds().height, labelTop - 1440 - 180 - 375);
    for (const ui::Button* button :
         {&frmMain->btnSelectAll, &frmMain->btnSelectNone, &frmMain->btnSelectInvert})
        EXPECT_EQ(Top(*button), labelTop - 90 - 375);
    ExpectBounds(frmMain->btnOptions.Bounds(), {8520, 480, 1815, 495});

    // Maximized on a 1280 x 1024 screen: W = 19200, H = 15360 - 900.
    frmMain->SetWindowState(platform::WindowState::Maximized);
    ExpectBounds(frmMain->lstMain.Bounds(), {120, 1440, 18960, 13905 - 1440 - 180 - 375});
    ExpectBounds(frmMain->lblInfo.Bounds(), {120, 13905, 18960, 375});
    EXPECT_EQ(Top(frmMain->btnSelectNone), 13905 - 90 - 375);

    frmMain->SetWindowState(platform::WindowState::Minimized);
    EXPECT_EQ(Top(frmMain->lblInfo), 13905) << "nothing moves while minimized";
    EXPECT_EQ(Stored("frmmain_window_state"), 1);
}

TEST_F(MainWindowForm, SizePlaceStateAndColumnWidthsComeBackAtTheNextStart) {
    OpenMainWindow();
    frmMain->Move({1500, 900, 9000, 7500});
    frmMain->lstMain.SetColumnWidth(2, 2880);
    RunUntil([] { return true; });
    EXPECT_EQ(Stored("frmmain_window_state"), 0);
    EXPECT_EQ(Stored("frmmain_window_width"), 9000);
    EXPECT_EQ(Stored("frmmain_lstmain_columns_1"), 1440);
    EXPECT_EQ(Stored("frmmain_lstmain_columns_2"), 2880);

    OpenMainWindow();
    ExpectBounds(frmMain->Bounds(), {1500, 900, 9000, 7500});
    EXPECT_EQ(frmMain->lstMain.ColumnWidth(2), 2880);
    frmMain->SetWindowState(platform::WindowState::Maximized);
    RunUntil([] { return true; });
    EXPECT_EQ(Stored("frmmain_window_state"), 2);
    EXPECT_EQ(Stored("frmmain_window_left"), 1500) << "a maximized window keeps the normal one";
    EXPECT_EQ(Stored("frmmain_window_height"), 7500);

    OpenMainWindow();
    EXPECT_EQ(frmMain->WindowState(), platform::WindowState::Maximized);
    frmMain->SetWindowState(platform::WindowState::Normal);
    ExpectBounds(frmMain->Bounds(), {1500, 900, 9000, 7500});
    frmMain.reset();

    WriteSettingLong("frmmain_window_state", 5);
    OpenMainWindow();
    EXPECT_EQ(frmMain->WindowState(), platform::WindowState::Normal) << "an unknown state";
}

TEST_F(MainWindowForm, TheWelcomeIsOfferedOnceAndNeverAfterACancel) {
    OpenMainWindow();
    sandbox::AnswerMessageBox(ui::vbCancel);
    RunUntil(TimerDone);
    ASSERT_EQ(sandbox::MessageBoxes().size(), 1u);
    const sandbox::ShownMessageBox& welcome = sandbox::MessageBoxes()[0];
    EXPECT_EQ(welcome.caption, kWelcomeTitle);
    EXPECT_EQ(welcome.type, ui::vbOKCancel);
    EXPECT_EQ(welcome.text.rfind("Welcome to the Tallowquince Purgelint. Cleaning", 0), 0u);
    EXPECT_EQ(sandbox::VirtualTime(), 700);
    EXPECT_FALSE(frmProgress) << "Cancel starts no scan";
    EXPECT_TRUE(ReadSettingBool("userwelcomed", false));

    OpenMainWindow();
    RunUntil(TimerDone);
    EXPECT_EQ(sandbox::MessageBoxes().size(), 1u);
}

TEST_F(MainWindowForm, OkInTheWelcomeStartsAScan) {
    Language("msgbox_congratnoproblems=Nothing found\r\n");
    OpenMainWindow();
    sandbox::AnswerMessageBox(ui::vbOK);
    sandbox::AnswerMessageBox(ui::vbOK);
    RunUntil([] { return sandbox::MessageBoxes().size() == 2; });
    EXPECT_EQ(sandbox::MessageBoxes()[1].text, "Nothing found");
    EXPECT_EQ(sandbox::VirtualTime(), 700 + 300) << "the progress window's tick";
    EXPECT_EQ(ReadSettingLong("firsterrors", -1), 0);
}

TEST_F(MainWindowForm, StartUpShowsTheWindowAndADueScheduledStartScansWithoutWelcome) {
    Language("msgbox_congratnoproblems=Nothing found\r\n");
    MainWindow mainWindow;
    sandbox::SetApplication(kAppFolder, "/scheduled");  // a Monday
    Main(&mainWindow);
    ASSERT_TRUE(frmMain);
    EXPECT_TRUE(platform::IsWindowVisible(frmMain->Hwnd()));
    EXPECT_TRUE(frmMain->tmrScheduledRun.Enabled());
    sandbox::Script(
        "the scan starts", [] { EXPECT_EQ(sandbox::VirtualTime(), 500); },
        [] { return frmProgress && frmProgress->IsLoaded(); });
    sandbox::AnswerMessageBox(ui::vbOK);
    RunUntil([] { return !sandbox::MessageBoxes().empty() && TimerDone(); });
    ASSERT_EQ(sandbox::MessageBoxes().size(), 1u) << "no welcome";
    EXPECT_EQ(sandbox::MessageBoxes()[0].text, "Nothing found");
    EXPECT_FALSE(ReadSettingBool("userwelcomed", false));
    frmMain.reset();

    Main(&mainWindow);  // the same Monday again: not due, no window
    EXPECT_FALSE(frmMain);

    sandbox::SetApplication(kAppFolder, "");
    Main(&mainWindow);
    ASSERT_TRUE(frmMain);
    EXPECT_TRUE(platform::IsWindowVisible(frmMain->Hwnd()));
    EXPECT_FALSE(frmMain->tmrScheduledRun.Enabled());
}

}  // namespace
