// Headless controls: check and option buttons, the progress bar, the list box and the list
// view keep their values as the real ones do, indexes out of range included.
#include <algorithm>

#include "platform/sandbox/window/window_internal.h"

namespace platform {
namespace {

using namespace headless;

constexpr int kListViewColumns = 4;  // the texts a row keeps

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

template <typename Change>
void UpdateRow(Hwnd view, int row, Change change) {
    Update(view, [&](HeadlessWindow& w) {
        if (auto* r = At(w.rows, row)) change(*r);
    });
}

const HeadlessWindow::Column& GetColumn(Hwnd view, int index) {
    static const HeadlessWindow::Column none;
    const auto* column = At(Get(view).columns, index);
    return column ? *column : none;
}

const HeadlessWindow::Row& GetRow(Hwnd view, int row) {
    static const HeadlessWindow::Row none;
    const auto* r = At(Get(view).rows, row);
    return r ? *r : none;
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

int ListViewAppendRow(Hwnd view, const std::string& text, int icon) {
    int row = -1;
    Update(view, [&](HeadlessWindow& w) {
        HeadlessWindow::Row added;
        added.texts[0] = text;
        added.icon = icon;
        w.rows.push_back(added);
        row = static_cast<int>(w.rows.size()) - 1;
        if (w.currentRow < 0) w.currentRow = 0;  // the control's own default current row
    });
    return row;
}

void ListViewSetItemText(Hwnd view, int row, int subItem, const std::string& text) {
    UpdateRow(view, row, [&](auto& r) {
        if (IsSubItem(subItem)) r.texts[subItem] = text;
    });
}

std::string ListViewGetItemText(Hwnd view, int row, int subItem) {
    return IsSubItem(subItem) ? GetRow(view, row).texts[subItem] : "";
}

int ListViewGetIcon(Hwnd view, int row) {
    return GetRow(view, row).icon;
}

int ListViewGetItemCount(Hwnd view) {
    return static_cast<int>(Get(view).rows.size());
}

void ListViewDeleteAllItems(Hwnd view) {
    Update(view, [&](HeadlessWindow& w) {
        w.rows.clear();
        w.currentRow = w.visibleRow = -1;
    });
}

void ListViewSetSelected(Hwnd view, int row, bool selected) {
    UpdateRow(view, row, [&](auto& r) { r.selected = selected; });
}

bool ListViewGetSelected(Hwnd view, int row) {
    return GetRow(view, row).selected;
}

void ListViewSetCurrent(Hwnd view, int row) {
    Update(view, [&](HeadlessWindow& w) {
        if (At(w.rows, row)) w.currentRow = row;
    });
}

int ListViewGetCurrent(Hwnd view) {
    return Get(view).currentRow;
}

void ListViewEnsureVisible(Hwnd view, int row) {
    Update(view, [&](HeadlessWindow& w) { w.visibleRow = row; });
}

// A headless view draws nothing: there is no drawing to hold back.
void ListViewSetRedraw(Hwnd view, bool) {
    Get(view);
}

}  // namespace platform
