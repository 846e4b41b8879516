// The lines that time the system's windows: the problem list shown and its selection inverted
// beside the same rows put into a bare list view, and a whole scan in the scan window beside the
// same phases run without a window.
#pragma once

#include <functional>
#include <string>

#include "bench/plan.h"
#include "core/language.h"
#include "forms/controls.h"

namespace bench {

// A window laid out like the main window's list and count, with nothing else on it.
class ListForm : public forms::Form {
  public:
    explicit ListForm(const char* name) : forms::Form(name) {}

    forms::ListView lstMain;
    forms::Label lblInfo;

  protected:
    void Design() override;
};

// What prints a line: name, milliseconds, floor milliseconds.
using LinePrinter = std::function<void(const std::string&, double, double)>;

// The main window's list showing `records` problems and selecting them all (list-refresh-N),
// and fifty of them (list-refresh-50: the part that does not grow with the rows),
// and inverting a selection of every other row (select-invert-N), each the best of `reps`,
// against the old way of showing them: the rows inserted into a bare list view. Only where
// there are real list views; false when the list came out wrong.
bool MeasureListLines(int records, int reps, const core::Language& language,
                      const LinePrinter& print);

// The scan's phases in the scan window shown modally (its timer runs them) against the same
// phases run without a window. The plan's folders stand for the desktop, the programs and
// the temporary folder. Returns the problems each found, -1 when the two differed.
int MeasureScanInWindow(const Plan& plan, int reps, const LinePrinter& print);

}  // namespace bench
