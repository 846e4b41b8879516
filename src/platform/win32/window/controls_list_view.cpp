// The list view in report view: columns, rows appended or all removed, a small icon a row,
// several rows selectable.
#include "platform/win32/resource_ids.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window/window_internal.h"

namespace platform {
namespace {

using win32::Send;

constexpr int kTextLimit = 1024;  // characters read back from a column or cell
constexpr const wchar_t* kRedrawOff = L"PurgelintListRedrawOff";  // property while not drawing

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

void SetRowState(Hwnd view, int row, UINT state, bool on) {
    LVITEMW item = {};
    item.stateMask = state;
    item.state = on ? state : 0;
    Send(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

namespace win32 {

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

int ListViewAppendRow(Hwnd view, const std::string& text, int icon) {
    std::wstring wide = win32::Wide(text);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListViewGetItemCount(view);
    item.pszText = wide.data();
    item.iImage = icon > 0 ? icon - 1 : I_IMAGENONE;
    return static_cast<int>(Send(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListViewSetItemText(Hwnd view, int row, int subItem, const std::string& text) {
    std::wstring wide = win32::Wide(text);
    LVITEMW item = {};
    item.iSubItem = subItem;
    item.pszText = wide.data();
    Send(view, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
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

void ListViewDeleteAllItems(Hwnd view) {
    Send(view, LVM_DELETEALLITEMS);
}

void ListViewSetSelected(Hwnd view, int row, bool selected) {
    SetRowState(view, row, LVIS_SELECTED, selected);
}

bool ListViewGetSelected(Hwnd view, int row) {
    return Send(view, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
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

// WM_SETREDRAW shows or hides the window as well: a hidden view is left alone, and only a
// view that was turned off here is turned on again.
void ListViewSetRedraw(Hwnd view, bool redraw) {
    const HWND window = win32::H(view);
    if (!redraw) {
        if (!(::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE)) return;
        ::SetPropW(window, kRedrawOff, reinterpret_cast<HANDLE>(1));
        Send(view, WM_SETREDRAW, FALSE);
    } else if (::RemovePropW(window, kRedrawOff)) {
        Send(view, WM_SETREDRAW, TRUE);
        ::InvalidateRect(window, nullptr, TRUE);
    }
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
