// The lines that time the system's windows: the problem list refilled beside the same rows
// put into a bare list view, and a whole scan in the progress window beside the same
// scanners run without a window.
#pragma once

#include <functional>
#include <string>

#include "bench/plan.h"
#include "ui/controls.h"

namespace bench {

// A window laid out like the main window's list and count, with nothing else on it.
class ListForm : public ui::Form {
  public:
    explicit ListForm(const char* name) : ui::Form(name) {}

    ui::ListView lstMain;
    ui::Label lblInfo;

  protected:
    void Design() override;
};

// What prints a line: name, milliseconds, floor milliseconds.
using LinePrinter = std::function<void(const std::string&, double, double)>;

// RefreshList of `records` problems in a list like the main window's, against the same rows
// inserted into a bare list view. Best of `reps`; false when the rows came out wrong.
bool MeasureListRefresh(int records, int reps, const LinePrinter& print);

// The scan's phases through a modal progress window (its timer runs them) against the same
// scanners called one after another without a window (`registryScanners` runs the registry
// phases in their order). The plan's folders stand for the
// desktop, the programs and the temporary folder. Returns the problems each found, -1 when
// the two differed.
int MeasureScanInWindow(const Plan& plan, const std::function<void()>& registryScanners, int reps,
                        const LinePrinter& print);

}  // namespace bench
