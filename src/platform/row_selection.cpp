#include "platform/row_selection.h"

#include <algorithm>

namespace platform {

void RowSelection::Reset(int count) {
    rows_.assign(static_cast<std::size_t>(std::max(count, 0)), 0);
    selected_ = 0;
    anchor_ = -1;
}

void RowSelection::Set(int row, bool on) {
    if (row == -1) {
        std::fill(rows_.begin(), rows_.end(), on);
        selected_ = on ? Count() : 0;
    } else if (IsRow(row) && Selected(row) != on) {
        rows_[row] = on;
        selected_ += on ? 1 : -1;
    }
}

void RowSelection::Invert() {
    for (unsigned char& row : rows_)
        row = !row;
    selected_ = Count() - selected_;
}

std::vector<int> RowSelection::Rows() const {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(selected_));
    for (int row = 0; row < Count(); ++row)
        if (rows_[row]) rows.push_back(row);
    return rows;
}

void RowSelection::Only(int row) {
    Set(-1, false);
    Set(row, true);
    anchor_ = row;
}

void RowSelection::Run(int row, bool keepOthers) {
    if (!IsRow(anchor_)) anchor_ = row;
    if (!keepOthers) Set(-1, false);
    for (int each = std::min(anchor_, row); each <= std::max(anchor_, row); ++each)
        Set(each, true);
}

void RowSelection::Click(int row, Modifiers keys) {
    if (!IsRow(row)) {
        if (!keys.control && !keys.shift) Set(-1, false);
    } else if (keys.shift) {
        Run(row, keys.control);
        if (keys.control) anchor_ = row;
    } else if (keys.control) {
        Set(row, !Selected(row));
        anchor_ = row;
    } else {
        Only(row);
    }
}

// The menu that follows acts on the selection, so a click on a row outside it selects that row.
void RowSelection::RightClick(int row, Modifiers keys) {
    if (!IsRow(row))
        Set(-1, false);
    else if (!keys.control && !keys.shift && !Selected(row))
        Only(row);
}

void RowSelection::MovedTo(int row, Modifiers keys, bool space) {
    if (!IsRow(row)) return;
    if (keys.shift) {
        Run(row, false);
    } else if (keys.control) {
        if (!space) return;
        Set(row, !Selected(row));
        if (Selected(row)) anchor_ = row;
    } else {
        Only(row);
    }
}

}  // namespace platform
