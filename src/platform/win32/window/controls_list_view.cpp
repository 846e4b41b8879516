// The list view in report view and owner-data mode: columns, a small icon a row, several rows
// selectable; the rows' texts and icons are asked for as the view draws or is read.
#include <algorithm>

#include "platform/win32/resource_ids.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window/window_internal.h"

namespace platform {
namespace {

using win32::Send;

constexpr int kTextLimit = 1024;  // characters read back from a column or cell

// One of the executable's icons at the small icon size of the screen's dots per inch. An
// executable without the program's resources (a test) gets the system's application icon,
// so that every kind keeps its place in the image list.
HICON SmallIcon(int id, int size) {
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    HANDLE icon = ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED);
    if (!icon)
        icon = ::LoadImageW(nullptr, win32::SystemResource(IDI_APPLICATION), IMAGE_ICON, size, size,
                            LR_SHARED);
    return static_cast<HICON>(icon);
}

HIMAGELIST SmallIcons() {
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
    // In the order of the kinds: registry, shortcut, file.
    for (int id : {PURGELINT_ICON_REGISTRY, PURGELINT_ICON_SHORTCUT, PURGELINT_ICON_FILE})
        ImageList_AddIcon(list, SmallIcon(id, size));
    return list;
}

// A column's or a cell's text, which the list view copies into a buffer of ours; `info`
// (an LVCOLUMNW or LVITEMW) says which.
template <typename Info>
std::string ReadText(Hwnd view, UINT message, WPARAM wp, Info info) {
    wchar_t buffer[kTextLimit] = {};
    info.pszText = buffer;
    info.cchTextMax = kTextLimit;
    Send(view, message, wp, reinterpret_cast<LPARAM>(&info));
    return win32::NarrowUpToNul(buffer, kTextLimit);
}

// The view draws nothing while one of these lives, then redraws whole: a change of many rows
// would otherwise invalidate each row on its own, a trip to the window system apiece. A hidden
// view is left alone, as turning its drawing back on would show it.
class HeldRedraw {
  public:
    explicit HeldRedraw(Hwnd view)
        : view_(view), held_(::GetWindowLongW(win32::H(view), GWL_STYLE) & WS_VISIBLE) {
        if (held_) Send(view_, WM_SETREDRAW, FALSE);
    }
    ~HeldRedraw() {
        if (!held_) return;
        Send(view_, WM_SETREDRAW, TRUE);
        ::InvalidateRect(win32::H(view_), nullptr, TRUE);
    }
    HeldRedraw(const HeldRedraw&) = delete;
    HeldRedraw& operator=(const HeldRedraw&) = delete;

  private:
    Hwnd view_;
    bool held_;
};

void SetRowState(Hwnd view, int row, UINT state, bool on) {
    LVITEMW item = {};
    item.stateMask = state;
    item.state = on ? state : 0;
    Send(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

namespace win32 {

// LVN_GETDISPINFOW: the texts go into the view's buffer, cut to its size.
void AnswerRowInfo(NMLVDISPINFOW& info) {
    const auto* rows = reinterpret_cast<const ListViewRows*>(
        ::GetWindowLongPtrW(info.hdr.hwndFrom, GWLP_USERDATA));
    LVITEMW& item = info.item;
    if (!rows || item.iItem < 0) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring text = Wide(rows->RowText(item.iItem, item.iSubItem));
        const std::size_t length =
            std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
        std::copy_n(text.c_str(), length, item.pszText);
        item.pszText[length] = L'\0';
    }
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) {
        const int icon = rows->RowIcon(item.iItem);
        item.iImage = icon > 0 ? icon - 1 : I_IMAGENONE;
    }
}

void PrepareListView(HWND view) {
    ::SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // The list view owns the image list and destroys it with itself.
    ::SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SmallIcons()));
}

}  // namespace win32

void ListViewInsertColumn(Hwnd view, int index, const std::string& text, int width) {
    std::wstring wide = win32::Wide(text);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = wide.data();
    column.cx = width;
    Send(view, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

std::string ListViewGetColumnText(Hwnd view, int index) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    return ReadText(view, LVM_GETCOLUMNW, index, column);
}

void ListViewSetColumnText(Hwnd view, int index, const std::string& text) {
    std::wstring wide = win32::Wide(text);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = wide.data();
    Send(view, LVM_SETCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

int ListViewGetColumnWidth(Hwnd view, int index) {
    return static_cast<int>(Send(view, LVM_GETCOLUMNWIDTH, index));
}

void ListViewSetColumnWidth(Hwnd view, int index, int width) {
    Send(view, LVM_SETCOLUMNWIDTH, index, MAKELPARAM(width, 0));
}

void ListViewSetRows(Hwnd view, const ListViewRows* rows, int count) {
    const HWND window = win32::H(view);
    // In the view's own data, not a property: Wine reads a property from its server, and the
    // view asks for its rows' texts many times as it draws.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(rows));
    // An owner-data view forgets the selection and the current row of the rows it loses.
    Send(view, LVM_SETITEMCOUNT, 0);
    Send(view, LVM_SETITEMCOUNT, rows ? count : 0);
    ::InvalidateRect(window, nullptr, TRUE);
}

std::string ListViewGetItemText(Hwnd view, int row, int subItem) {
    LVITEMW item = {};
    item.iSubItem = subItem;
    return ReadText(view, LVM_GETITEMTEXTW, row, item);
}

int ListViewGetIcon(Hwnd view, int row) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (!Send(view, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.iImage >= 0 ? item.iImage + 1 : 0;
}

int ListViewGetItemCount(Hwnd view) {
    return static_cast<int>(Send(view, LVM_GETITEMCOUNT));
}

void ListViewSetSelected(Hwnd view, int row, bool selected) {
    if (row != -1) {
        SetRowState(view, row, LVIS_SELECTED, selected);
        return;
    }
    const HeldRedraw held(view);
    SetRowState(view, row, LVIS_SELECTED, selected);
}

bool ListViewGetSelected(Hwnd view, int row) {
    return Send(view, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
}

// Every row without asking when all are selected, as after a scan; else each row's state. The
// search for the next selected row starts over at every call in an owner-data view, which
// makes it slow over many rows.
std::vector<int> ListViewGetSelectedRows(Hwnd view) {
    const int count = ListViewGetItemCount(view);
    const auto selected = static_cast<int>(Send(view, LVM_GETSELECTEDCOUNT));
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(selected));
    for (int row = 0; row < count && static_cast<int>(rows.size()) < selected; ++row)
        if (selected == count || ListViewGetSelected(view, row)) rows.push_back(row);
    return rows;
}

// The view selects or clears all its rows in one message; there is none for a run of rows. The
// inverse of a selection of all or none is one such message; of any other it is the whole of the
// other state and then the rows of the smaller side set one by one, with the drawing held back.
void ListViewInvertSelection(Hwnd view) {
    const int count = ListViewGetItemCount(view);
    const auto selected = static_cast<int>(Send(view, LVM_GETSELECTEDCOUNT));
    if (selected == 0 || selected == count) {
        ListViewSetSelected(view, -1, selected == 0);
        return;
    }
    const std::vector<int> were = ListViewGetSelectedRows(view);
    const bool fewSelected = 2 * selected <= count;
    const HeldRedraw held(view);
    SetRowState(view, -1, LVIS_SELECTED, fewSelected);
    if (fewSelected) {
        // From the last: the view looks for the run that holds a row from its first run on.
        for (auto row = were.rbegin(); row != were.rend(); ++row)
            SetRowState(view, *row, LVIS_SELECTED, false);
    } else {
        for (int row = 0, next = 0; row < count; ++row) {
            if (next < selected && were[next] == row)
                ++next;
            else
                SetRowState(view, row, LVIS_SELECTED, true);
        }
    }
}

void ListViewSetCurrent(Hwnd view, int row) {
    if (row >= 0 && row < ListViewGetItemCount(view)) SetRowState(view, row, LVIS_FOCUSED, true);
}

int ListViewGetCurrent(Hwnd view) {
    const int focused = static_cast<int>(Send(view, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
    // Like the headless control, a filled list always has a current row.
    return focused < 0 && ListViewGetItemCount(view) > 0 ? 0 : focused;
}

void ListViewEnsureVisible(Hwnd view, int row) {
    Send(view, LVM_ENSUREVISIBLE, row, FALSE);
}

int ShowPopupMenu(Hwnd control, const std::vector<std::string>& items, bool atPointer) {
    const win32::UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return 0;
    for (std::size_t i = 0; i < items.size(); ++i)
        ::AppendMenuW(menu.get(), MF_STRING, i + 1, win32::Wide(items[i]).c_str());
    const HWND window = win32::H(control);
    POINT at = {};
    if (atPointer) {
        ::GetCursorPos(&at);
    } else {
        RECT row = {};
        row.left = LVIR_LABEL;
        const int current = ListViewGetCurrent(control);
        if (current >= 0 &&
            ::SendMessageW(window, LVM_GETITEMRECT, current, reinterpret_cast<LPARAM>(&row)))
            at = {row.left, row.bottom};
        ::ClientToScreen(window, &at);
    }
    return static_cast<int>(::TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                               at.y, ::GetAncestor(window, GA_ROOT), nullptr));
}

}  // namespace platform
