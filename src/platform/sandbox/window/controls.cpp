// Headless controls: check and option buttons, the progress bar, the list box and the list
// view keep their values as the real ones do, indexes out of range included. The list view is
// an owner-data one: it asks its rows' source for what a row shows.
#include <algorithm>

#include "platform/sandbox/window/window_internal.h"

namespace platform {
namespace {

using namespace headless;

constexpr int kListViewColumns = 4;  // the columns a row shows

// The element at `index`, or null when the index is out of range.
template <typename Vector>
auto* At(Vector& items, int index) {
    return index >= 0 && index < static_cast<int>(items.size()) ? &items[index] : nullptr;
}

template <typename Change>
void UpdateColumn(Hwnd view, int index, Change change) {
    Update(view, [&](HeadlessWindow& w) {
        if (auto* column = At(w.columns, index)) change(*column);
    });
}

const HeadlessWindow::Column& GetColumn(Hwnd view, int index) {
    static const HeadlessWindow::Column none;
    const auto* column = At(Get(view).columns, index);
    return column ? *column : none;
}

bool IsRow(const HeadlessWindow& w, int row) {
    return w.rowSource && row >= 0 && row < w.selection.Count();
}

bool IsSubItem(int subItem) {
    return subItem >= 0 && subItem < kListViewColumns;
}

}  // namespace

void SetCheck(Hwnd button, int value) {
    Update(button, [&](HeadlessWindow& w) { w.check = value; });
}

int GetCheck(Hwnd button) {
    return Get(button).check;
}

void SetProgressRange(Hwnd bar, int minimum, int maximum) {
    Update(bar, [&](HeadlessWindow& w) {
        w.minimum = minimum;
        w.maximum = maximum;
        w.position = std::clamp(w.position, minimum, maximum);
    });
}

void SetProgressPos(Hwnd bar, int value) {
    Update(bar, [&](HeadlessWindow& w) { w.position = std::clamp(value, w.minimum, w.maximum); });
}

int GetProgressPos(Hwnd bar) {
    return Get(bar).position;
}

int ListBoxAddString(Hwnd list, const std::string& text) {
    int index = -1;
    Update(list, [&](HeadlessWindow& w) {
        w.items.push_back(text);
        index = static_cast<int>(w.items.size()) - 1;
    });
    return index;
}

int ListBoxGetCount(Hwnd list) {
    return static_cast<int>(Get(list).items.size());
}

std::string ListBoxGetText(Hwnd list, int index) {
    const std::string* text = At(Get(list).items, index);
    return text ? *text : std::string();
}

int ListBoxGetCurSel(Hwnd list) {
    return Get(list).selectedItem;
}

void ListBoxSetCurSel(Hwnd list, int index) {
    Update(list, [&](HeadlessWindow& w) { w.selectedItem = At(w.items, index) ? index : -1; });
}

void ListBoxResetContent(Hwnd list) {
    Update(list, [&](HeadlessWindow& w) {
        w.items.clear();
        w.selectedItem = -1;
    });
}

void ListViewInsertColumn(Hwnd view, int index, const std::string& text, int width) {
    Update(view, [&](HeadlessWindow& w) {
        const auto at = std::min<std::size_t>(index, w.columns.size());
        w.columns.insert(w.columns.begin() + at, {text, width});
    });
}

std::string ListViewGetColumnText(Hwnd view, int index) {
    return GetColumn(view, index).text;
}

void ListViewSetColumnText(Hwnd view, int index, const std::string& text) {
    UpdateColumn(view, index, [&](auto& column) { column.text = text; });
}

int ListViewGetColumnWidth(Hwnd view, int index) {
    return GetColumn(view, index).width;
}

void ListViewSetColumnWidth(Hwnd view, int index, int width) {
    UpdateColumn(view, index, [&](auto& column) { column.width = width; });
}

void ListViewSetRows(Hwnd view, const ListViewRows* rows, int count) {
    Update(view, [&](HeadlessWindow& w) {
        w.rowSource = rows;
        w.selection.Reset(rows ? count : 0);
        w.currentRow = w.visibleRow = -1;
    });
}

int ListViewGetItemCount(Hwnd view) {
    return Get(view).selection.Count();
}

std::string ListViewGetItemText(Hwnd view, int row, int subItem) {
    const HeadlessWindow& w = Get(view);
    return IsRow(w, row) && IsSubItem(subItem) ? w.rowSource->RowText(row, subItem) : "";
}

int ListViewGetIcon(Hwnd view, int row) {
    const HeadlessWindow& w = Get(view);
    return IsRow(w, row) ? w.rowSource->RowIcon(row) : 0;
}

// Row -1 stands for every row, as with LVM_SETITEMSTATE.
void ListViewSetSelected(Hwnd view, int row, bool selected) {
    Update(view, [&](HeadlessWindow& w) { w.selection.Set(row, selected); });
}

bool ListViewGetSelected(Hwnd view, int row) {
    const HeadlessWindow& w = Get(view);
    return IsRow(w, row) && w.selection.Selected(row);
}

void ListViewInvertSelection(Hwnd view) {
    Update(view, [](HeadlessWindow& w) { w.selection.Invert(); });
}

std::vector<int> ListViewGetSelectedRows(Hwnd view) {
    return Get(view).selection.Rows();
}

// A filled view has a current row from the start, as the real one reports it.
void ListViewSetCurrent(Hwnd view, int row) {
    Update(view, [&](HeadlessWindow& w) {
        if (IsRow(w, row)) w.currentRow = row;
    });
}

int ListViewGetCurrent(Hwnd view) {
    const HeadlessWindow& w = Get(view);
    return w.currentRow < 0 && w.selection.Count() > 0 ? 0 : w.currentRow;
}

void ListViewEnsureVisible(Hwnd view, int row) {
    Update(view, [&](HeadlessWindow& w) { w.visibleRow = row; });
}

}  // namespace platform
