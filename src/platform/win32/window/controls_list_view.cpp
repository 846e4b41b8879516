// The list view in report view and owner-data mode: columns, a small icon a row, several rows
// selectable; the rows' texts, icons and selection are asked for as the view draws or is read.
#include <algorithm>
#include <memory>

#include "base/text.h"
#include "platform/row_selection.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window/icon_sheet.h"
#include "platform/win32/window/window_internal.h"

#include <windowsx.h>  // GET_X_LPARAM, after windows.h

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

// In the order of the kinds: registry, shortcut, file.
std::vector<HICON> KindIcons(int size) {
    std::vector<HICON> icons;
    for (int id : {PURGELINT_ICON_REGISTRY, PURGELINT_ICON_SHORTCUT, PURGELINT_ICON_FILE})
        icons.push_back(SmallIcon(id, size));
    return icons;
}

HIMAGELIST ImageListOf(const std::vector<HICON>& icons, int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (HICON icon : icons)
        ImageList_AddIcon(list, icon);
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

// What a list view keeps beside the control, in its GWLP_USERDATA: the source of its rows and
// their selection, which the control asks for as it draws (the selected state is in its
// callback mask), and the control's own procedure that ours hands the messages on to. Made
// with the view and freed at its WM_NCDESTROY. The control lays the rows out with room for its
// image list's icons, but the icons are drawn from the sheet: while `painting`, rows are said
// to have none.
struct ListViewData {
    ListViewData(const std::vector<HICON>& kindIcons, int size) : icons(kindIcons, size) {}
    const ListViewRows* rows = nullptr;
    RowSelection selection;
    WNDPROC controlProc = nullptr;
    win32::IconSheet icons;
    bool painting = false;
};

LRESULT CALLBACK ListViewProc(HWND view, UINT message, WPARAM wp, LPARAM lp);

ListViewData* StoredData(HWND view) {
    return reinterpret_cast<ListViewData*>(::GetWindowLongPtrW(view, GWLP_USERDATA));
}

// Null for any window but one of our list views, and for one that is gone.
ListViewData* DataOf(HWND view) {
    if (::GetWindowLongPtrW(view, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(ListViewProc))
        return nullptr;
    return StoredData(view);
}

// The drawing follows the selection at the next paint.
void Redraw(HWND view) {
    ::InvalidateRect(view, nullptr, FALSE);
}

// A view that is gone, as when its form closed first, has no selection left to change.
template <typename Change>
void ChangeSelection(Hwnd view, Change change) {
    if (ListViewData* data = DataOf(win32::H(view))) {
        change(data->selection);
        Redraw(win32::H(view));
    }
}

int FocusedRow(HWND view) {
    return static_cast<int>(::SendMessageW(view, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
}

// The row under a point of the view's client area, -1 for none: anywhere along a row counts,
// as the whole row is selectable.
int RowAt(HWND view, LPARAM point) {
    LVHITTESTINFO hit = {};
    hit.pt = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ::SendMessageW(view, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return hit.iItem;
}

Modifiers KeysHeld() {
    return {::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_SHIFT) < 0};
}

// The icons of the rows a paint touches, where the control left room for them.
void DrawIcons(HWND view, const ListViewData& data, HDC dc, const RECT& area) {
    const auto top = static_cast<int>(::SendMessageW(view, LVM_GETTOPINDEX, 0, 0));
    const int end =
        std::min(top + static_cast<int>(::SendMessageW(view, LVM_GETCOUNTPERPAGE, 0, 0)) + 1,
                 data.selection.Count());
    for (int row = std::max(top, 0); row < end; ++row) {
        RECT icon = {}, label = {}, shown = {};
        icon.left = LVIR_ICON;
        label.left = LVIR_LABEL;  // its right edge is the first column's
        const int kind = data.rows->RowIcon(row);
        if (kind > 0 &&
            ::SendMessageW(view, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&icon)) &&
            ::SendMessageW(view, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label)) &&
            ::IntersectRect(&shown, &icon, &area))
            data.icons.Draw(dc, kind - 1, {icon.left, icon.top}, label.right - icon.left);
    }
}

void Paint(HWND view, ListViewData& data) {
    PAINTSTRUCT paint = {};
    const HDC dc = ::BeginPaint(view, &paint);
    if (!dc) return;
    data.painting = true;
    const int saved = ::SaveDC(dc);  // the control may leave its own clipping, font or colours
    ::CallWindowProcW(data.controlProc, view, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    ::RestoreDC(dc, saved);
    data.painting = false;
    if (data.rows)
        CallHandler("ListView", "Paint", [&] { DrawIcons(view, data, dc, paint.rcPaint); });
    ::EndPaint(view, &paint);
}

// The control moves the current row, scrolls and notifies; the selection it would change is
// ours, and changes here as the control would change its own.
LRESULT CALLBACK ListViewProc(HWND view, UINT message, WPARAM wp, LPARAM lp) {
    ListViewData* data = StoredData(view);  // ours from creation to WM_NCDESTROY
    const WNDPROC control = data->controlProc;
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            const Modifiers keys = {(wp & MK_CONTROL) != 0, (wp & MK_SHIFT) != 0};
            const int row = RowAt(view, lp);
            if (message == WM_LBUTTONDOWN)
                data->selection.Click(row, keys);
            else
                data->selection.RightClick(row, keys);
            Redraw(view);
            break;
        }
        case WM_KEYDOWN:
        case WM_CHAR: {  // keys that move the current row, and letters that look for one
            const int before = FocusedRow(view);
            const LRESULT result = ::CallWindowProcW(control, view, message, wp, lp);
            if (DataOf(view) != data) return result;  // a key that closed the window
            const int after = FocusedRow(view);
            const bool space = message == WM_KEYDOWN && wp == VK_SPACE;
            if (after != before || (space && after >= 0)) {
                data->selection.MovedTo(after, KeysHeld(), space);
                Redraw(view);
            }
            return result;
        }
        case WM_PAINT:
            if (wp) break;  // into a context of the caller's: the control draws its own icons
            Paint(view, *data);
            return 0;
        case WM_NCDESTROY: {  // the control has the last message, and our data goes
            const std::unique_ptr<ListViewData> owned(data);
            ::SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control));
            ::SetWindowLongPtrW(view, GWLP_USERDATA, 0);
            return ::CallWindowProcW(control, view, message, wp, lp);
        }
        default:
            break;
    }
    return ::CallWindowProcW(control, view, message, wp, lp);
}

}  // namespace

namespace win32 {

// LVN_GETDISPINFOW: the texts go into the view's buffer, cut to its size.
void AnswerRowInfo(NMLVDISPINFOW& info) {
    const ListViewData* data = DataOf(info.hdr.hwndFrom);
    LVITEMW& item = info.item;
    if (!data || !data->rows || item.iItem < 0) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring text = Wide(data->rows->RowText(item.iItem, item.iSubItem));
        const std::size_t length =
            std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
        std::copy_n(text.c_str(), length, item.pszText);
        item.pszText[length] = L'\0';
    }
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) {
        const int icon = data->painting ? 0 : data->rows->RowIcon(item.iItem);
        item.iImage = icon > 0 ? icon - 1 : I_IMAGENONE;
    }
    if ((item.mask & LVIF_STATE) && (item.stateMask & LVIS_SELECTED)) {
        item.state &= ~LVIS_SELECTED;
        if (data->selection.Selected(item.iItem)) item.state |= LVIS_SELECTED;
    }
}

// LVN_ODFINDITEMW: the first row from the start row on, round to it, whose first column begins
// with the text typed (or is it, without LVFI_PARTIAL), without regard to case; -1 for none.
int FindRow(const NMLVFINDITEMW& find) {
    const ListViewData* data = DataOf(find.hdr.hwndFrom);
    const LVFINDINFOW& what = find.lvfi;
    constexpr UINT kPartial = LVFI_PARTIAL | 0x0004;  // and LVFI_SUBSTRING, which means the same
    if (!data || !data->rows || !(what.flags & (LVFI_STRING | kPartial)) || !what.psz) return -1;
    const std::string typed = Narrow(what.psz);
    const int count = data->selection.Count();
    const bool wrap = what.flags & LVFI_WRAP;
    int start = std::max(find.iStart, 0);
    if (start >= count) {
        if (!wrap) return -1;
        start = 0;
    }
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        if (row < start && !wrap) break;
        const std::string text = data->rows->RowText(row, 0);
        if ((what.flags & kPartial) ? base::FindNoCase(text, typed) == 0
                                    : base::EqualsNoCase(text, typed))
            return row;
    }
    return -1;
}

void PrepareListView(HWND view) {
    ::SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // The list view owns the image list and destroys it with itself.
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    const std::vector<HICON> icons = KindIcons(size);
    ::SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL,
                   reinterpret_cast<LPARAM>(ImageListOf(icons, size)));
    auto data = std::make_unique<ListViewData>(icons, size);
    data->controlProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(view, GWLP_WNDPROC));
    ::SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data.release()));
    ::SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListViewProc));
    ::SendMessageW(view, LVM_SETCALLBACKMASK, LVIS_SELECTED, 0);
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
    ListViewData* data = DataOf(win32::H(view));
    if (!data) return;
    data->rows = rows;
    data->selection.Reset(rows ? count : 0);
    // An owner-data view forgets the current row of the rows it loses.
    Send(view, LVM_SETITEMCOUNT, 0);
    Send(view, LVM_SETITEMCOUNT, data->selection.Count());
    ::InvalidateRect(win32::H(view), nullptr, TRUE);
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
    ChangeSelection(view, [&](RowSelection& selection) { selection.Set(row, selected); });
}

bool ListViewGetSelected(Hwnd view, int row) {
    const ListViewData* data = DataOf(win32::H(view));
    return data && data->selection.Selected(row);
}

std::vector<int> ListViewGetSelectedRows(Hwnd view) {
    const ListViewData* data = DataOf(win32::H(view));
    return data ? data->selection.Rows() : std::vector<int>();
}

void ListViewInvertSelection(Hwnd view) {
    ChangeSelection(view, [](RowSelection& selection) { selection.Invert(); });
}

void ListViewSetCurrent(Hwnd view, int row) {
    if (row < 0 || row >= ListViewGetItemCount(view)) return;
    LVITEMW item = {};
    item.stateMask = item.state = LVIS_FOCUSED;
    Send(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
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
