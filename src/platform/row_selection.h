// Which rows of a list of several selectable rows are selected, and how a click or a key changes
// that: a plain click or move selects the row alone, Ctrl+click toggles it, Shift selects the run
// from the anchor (the row last chosen alone or toggled) to it, Ctrl+Shift+click adds that run.
// The list view keeps its selection here rather than in the control, whose own selection costs a
// call per row to select all or invert.
#pragma once

#include <vector>

namespace platform {

struct Modifiers {
    bool control = false;
    bool shift = false;
};

class RowSelection {
  public:
    void Reset(int count);  // `count` rows, none selected, no anchor
    int Count() const { return static_cast<int>(rows_.size()); }
    int SelectedCount() const { return selected_; }
    bool Selected(int row) const { return IsRow(row) && rows_[row]; }
    void Set(int row, bool on);  // row -1: every row
    void Invert();
    std::vector<int> Rows() const;  // the selected rows, in order

    // Row -1 or one past the end: the click fell on no row.
    void Click(int row, Modifiers keys);
    void RightClick(int row, Modifiers keys);
    // A key made `row` the current row; Space keeps it current and chooses it.
    void MovedTo(int row, Modifiers keys, bool space);

  private:
    bool IsRow(int row) const { return row >= 0 && row < Count(); }
    void Only(int row);
    void Run(int row, bool keepOthers);  // anchor to row

    std::vector<unsigned char> rows_;
    int selected_ = 0;
    int anchor_ = -1;
};

}  // namespace platform
