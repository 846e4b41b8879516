// "Find problems": one complete scan in the modal progress window, then the list, the
// first scan's report and the summary that offers to repair at once.
#pragma once

#include <functional>
#include <string>

namespace ui {
class Form;
}

// Empties colProblems, runs the scan with `owner` disabled, fills and selects the list and
// shows the summary; `repairCommand` runs when the user answers Yes to it.
void FindProblems(ui::Form& owner, const std::function<void()>& repairCommand);

// The summary of colProblems by kind, worded by the language file alone.
std::string ScanSummary();
