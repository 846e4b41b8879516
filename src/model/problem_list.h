// The problem list of the main window: rows rebuilt from colProblems, and the selection
// that says which problems the user wants repaired.
#pragma once

namespace ui {
class Form;
class Label;
class ListView;
}  // namespace ui

// Icons of the list's image list, by kind of problem.
constexpr int kIconRegistry = 1;
constexpr int kIconShortcut = 2;
constexpr int kIconFile = 3;

// Modes of SelectRows.
constexpr int kSelectAll = 1;
constexpr int kSelectNone = 2;
constexpr int kSelectInvert = 3;

// The main window's parts that the list works on.
struct ProblemListView {
    ui::Form& window;  // shows the hourglass while the list fills
    ui::ListView& lstMain;
    ui::Label& lblInfo;
};

// Set by the main window while it exists (null when it goes); without it the list
// procedures do nothing.
void SetProblemListView(const ProblemListView* view);

// Rebuilds lstMain from colProblems: one row per record, keyed by its UID and tagged with
// its 1-based position; a record whose UID already has a row is left out. The current row
// is found again by its key. lblInfo shows the number of records, or hides when none.
void RefreshList();

// Selects every row (kSelectAll), none (kSelectNone) or the others (kSelectInvert), then
// gives the list the focus; any other mode only moves the focus.
void SelectRows(int mode);
