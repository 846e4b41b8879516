// The program's main window: the problem list with the buttons to find problems, repair the
// selected ones, open the options and select all, none or the inverse.
#pragma once

#include <memory>

#include "core/startup.h"
#include "model/problem_list.h"
#include "ui/controls.h"

class MainForm : public ui::Form {
  public:
    static constexpr int kColumns = 4;

    MainForm();
    ~MainForm() override;

    ui::Button btnCheck;
    ui::Button btnMore;
    ui::Button btnOptions;
    ui::ListView lstMain;
    ui::Button btnSelectAll;
    ui::Button btnSelectNone;
    ui::Button btnSelectInvert;
    ui::Label lblInfo;
    ui::Timer tmrStartup;
    ui::Timer tmrScheduledRun;

    // "Find problems": the whole scan, as if the button had been clicked.
    void btnCheck_Click();

  protected:
    void Design() override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;

  private:
    void btnMore_Click();
    void btnOptions_Click();
    void SaveWindowState();
    void RestoreWindowState();
    void tmrScheduledRun_Timer();
    void tmrStartup_Timer();

    const ProblemListView listView_{*this, lstMain, lblInfo};
};

// The one main window, from start-up until the program ends.
extern std::unique_ptr<MainForm> frmMain;

// How start-up opens frmMain.
class MainWindow : public MainWindowStarter {
  public:
    void CreateAndLoad() override;
    void EnableScheduledRun() override;
    void Show() override;
    // Runs the program's events until the main window has closed; at once when none opened.
    static void RunUntilClosed();
};
