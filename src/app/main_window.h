// The program's main window: the problem list with the buttons to find problems, repair the
// selected ones, open the options, undo a repair and select all, none or the inverse.
#pragma once

#include "app/problem_list_view.h"
#include "app/session.h"
#include "core/problem.h"
#include "forms/controls.h"
#include "forms/form.h"

namespace app {

class MainWindow : public forms::Form {
  public:
    static constexpr int kColumns = 4;

    explicit MainWindow(Session& session);

    // Loads and shows the window, starts the scheduled scan when the session has one, and
    // runs the program's events until the window has closed.
    void Run();

    // "Find problems": the whole scan, as if the button had been clicked.
    void FindProblems();
    const core::Problems& Problems() const { return problems_; }

  protected:
    void Design() override;
    // "Never report this" on the current row.
    void NeverReport(bool fromKeyboard);
    void OnLoad() override;
    void OnUnload() override;
    void OnResized() override;

  private:
    void Repair();
    void ShowOptions();
    void Restore();
    void Welcome();
    void SaveWindowState();
    void RestoreWindowState();

    Session& session_;
    core::Problems problems_;
    forms::Button find_;
    forms::Button repair_;
    forms::Button options_;
    forms::Button restore_;
    forms::ListView list_;
    forms::Button selectAll_;
    forms::Button selectNone_;
    forms::Button selectInvert_;
    forms::Label count_;
    forms::Timer welcome_;
    forms::Timer scheduledScan_;
    ProblemListView listView_;
};

}  // namespace app
