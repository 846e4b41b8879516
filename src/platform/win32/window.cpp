// Real windows and common controls. Forms are windows of our own class that pass their
// events to the ui layer; controls are the system's classes.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/failure.h"
#include "platform/win32/unique_handle.h"
#include "platform/window.h"

// The A/W-switching macros would rename the platform's own functions.
#undef GetWindowText
#undef SetWindowText
#undef MessageBox

namespace platform {
namespace {

constexpr char kFormClass[] = "PurgelintForm";
constexpr char kNameProperty[] = "PurgelintName";
constexpr int kDefaultDpi = 96;

// What a form's window keeps, in its GWLP_USERDATA: created with the window (WM_NCCREATE)
// and freed with it (WM_NCDESTROY).
struct FormData {
    WindowEvents* events = nullptr;
    std::string name;
    int defaultId = 0;
    int cancelId = 0;
    bool waitCursor = false;
    bool shown = false;
    int pendingShow = SW_SHOWNORMAL;  // the state to show in, set while hidden
    std::vector<win32::UniqueFont> fonts;
};

ATOM formClass = 0;
std::map<HWND, ControlKind> controls;
// The timers whose handler runs now. A handler that lets events run would otherwise get
// its own timer again from the nested loop, ever deeper.
std::set<std::pair<HWND, WPARAM>> firingTimers;

HWND H(Hwnd window) {
    return reinterpret_cast<HWND>(window);
}
Hwnd Handle(HWND window) {
    return reinterpret_cast<Hwnd>(window);
}

FormData* Data(HWND form) {
    if (!form || !formClass || ::GetClassLongPtrA(form, GCW_ATOM) != formClass) return nullptr;
    return reinterpret_cast<FormData*>(::GetWindowLongPtrA(form, GWLP_USERDATA));
}

// Every call into the ui layer goes through here: nothing it throws may unwind into the
// system's code that called the window procedure.
template <typename Handler>
void Raise(const FormData& data, const char* event, Handler&& handler) {
    CallHandler(data.name, event, handler);
}

// Names travel as atoms in a window property, so that a test's driver can find windows
// from another thread.
void Name(HWND window, const std::string& name) {
    ::SetPropA(window, kNameProperty,
               reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(::AddAtomA(name.c_str()))));
}

void Command(FormData& data, HWND form, WPARAM wp, LPARAM lp) {
    HWND control = reinterpret_cast<HWND>(lp);
    int id = LOWORD(wp);
    if (control == nullptr || id == IDCANCEL || id == IDOK) {
        // Esc and Enter, from the dialog manager.
        id = id == IDCANCEL ? data.cancelId : id == IDOK ? data.defaultId : 0;
        control = id ? ::GetDlgItem(form, id) : nullptr;
        if (!control) return;
    } else if (HIWORD(wp) != BN_CLICKED) {
        return;
    }
    auto kind = controls.find(control);
    if (kind != controls.end() && kind->second == ControlKind::CheckBox &&
        reinterpret_cast<HWND>(lp) == control) {
        // A user's click on a check box toggles it, as the headless one does.
        const bool checked = ::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        ::SendMessageA(control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    Raise(data, "Click", [&] { data.events->OnCommand(id); });
}

void Timer(FormData& data, HWND form, WPARAM id) {
    const auto key = std::make_pair(form, id);
    if (!firingTimers.insert(key).second) return;  // its handler is still running
    Raise(data, "Timer", [&] { data.events->OnTimer(static_cast<int>(id)); });
    firingTimers.erase(key);
}

// One procedure for every form: it finds the form's data in the window and hands the
// events to the ui layer. `data` may be gone once a handler has run (it can destroy its
// window), so nothing touches it afterwards.
LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<std::unique_ptr<FormData>*>(
            reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner->release()));
    }
    FormData* data = reinterpret_cast<FormData*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        std::unique_ptr<FormData> gone(data);
        return ::DefWindowProcA(hwnd, message, wp, lp);
    }
    if (!data || !data->events) return ::DefWindowProcA(hwnd, message, wp, lp);
    switch (message) {
        case WM_COMMAND:
            Command(*data, hwnd, wp, lp);
            return 0;
        case DM_GETDEFID:
            return data->defaultId ? MAKELRESULT(data->defaultId, DC_HASDEFID) : 0;
        case WM_TIMER:
            Timer(*data, hwnd, wp);
            return 0;
        case WM_CLOSE:
            Raise(*data, "Close", [&] { data->events->OnClose(); });
            return 0;
        case WM_SIZE:
            if (data->shown) Raise(*data, "Resize", [&] { data->events->OnResize(); });
            return 0;
        case WM_SETCURSOR:
            if (data->waitCursor) {
                ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
    }
    return ::DefWindowProcA(hwnd, message, wp, lp);
}

void RegisterFormClass() {
    if (formClass) return;
    INITCOMMONCONTROLSEX icc = {sizeof icc,
                                ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
    if (!wc.hIcon) wc.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    formClass = ::RegisterClassExA(&wc);
}

void Dispatch(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && Data(root) && ::IsDialogMessageA(root, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

HIMAGELIST SmallIcons() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
    // Registry, shortcut, file.
    for (LPCSTR icon : {IDI_WINLOGO, IDI_APPLICATION, IDI_INFORMATION}) {
        auto handle = static_cast<HICON>(
            ::LoadImageA(nullptr, icon, IMAGE_ICON, 16, 16, LR_SHARED | LR_DEFAULTSIZE));
        ImageList_AddIcon(list, handle);
    }
    return list;
}

struct ControlClass {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::Button:
            return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::CheckBox:
            return {"BUTTON", BS_3STATE | WS_TABSTOP, 0};
        case ControlKind::OptionButton:
            return {"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0};
        case ControlKind::ListBox:
            return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::ListView:
            return {WC_LISTVIEWA, LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::ProgressBar:
            return {PROGRESS_CLASSA, 0, 0};
    }
    return {"STATIC", 0, 0};
}

// The dots per inch stay as they are for the life of the process; ask once.
POINT ScreenDpi() {
    static const POINT dpi = [] {
        const win32::UniqueScreenDc dc = win32::GetScreenDc();
        if (!dc) return POINT{kDefaultDpi, kDefaultDpi};
        return POINT{::GetDeviceCaps(dc.get(), LOGPIXELSX), ::GetDeviceCaps(dc.get(), LOGPIXELSY)};
    }();
    return dpi;
}

LRESULT Send(Hwnd window, UINT message, WPARAM wp = 0, LPARAM lp = 0) {
    return ::SendMessageA(H(window), message, wp, lp);
}

std::string ListViewText(Hwnd view, int row, int subItem, UINT message, int column = 0) {
    char buffer[1024] = {};
    if (message == LVM_GETCOLUMNA) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT;
        col.pszText = buffer;
        col.cchTextMax = sizeof buffer;
        Send(view, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
    } else {
        LVITEMA item = {};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        Send(view, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
    return buffer;
}

}  // namespace

Hwnd CreateFormWindow(WindowEvents* events, const std::string& name, BorderStyle border,
                      Hwnd owner) {
    RegisterFormClass();
    const bool sizable = border == BorderStyle::Sizable;
    const DWORD style = sizable ? WS_OVERLAPPEDWINDOW : (WS_POPUP | WS_CAPTION | WS_SYSMENU);
    const DWORD exStyle = WS_EX_CONTROLPARENT | (sizable ? 0 : WS_EX_DLGMODALFRAME);
    auto data = std::make_unique<FormData>();
    data->events = events;
    data->name = name;
    // The window takes the data over at WM_NCCREATE; it stays here if that never came.
    HWND hwnd = ::CreateWindowExA(exStyle, kFormClass, "", style, CW_USEDEFAULT, CW_USEDEFAULT, 320,
                                  240, H(owner), nullptr, ::GetModuleHandleA(nullptr), &data);
    if (!hwnd) return 0;
    Name(hwnd, name);
    return Handle(hwnd);
}

void SetOwner(Hwnd form, Hwnd owner) {
    ::SetWindowLongPtrA(H(form), GWLP_HWNDPARENT, static_cast<LONG_PTR>(owner));
}

Hwnd CreateControlWindow(Hwnd form, ControlKind kind, int id, const std::string& name) {
    const ControlClass c = ClassOf(kind);
    HWND hwnd = ::CreateWindowExA(
        c.exStyle, c.className, "", WS_CHILD | WS_VISIBLE | c.style, 0, 0, 10, 10, H(form),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return 0;
    controls[hwnd] = kind;
    Name(hwnd, name);
    ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   FALSE);
    if (kind == ControlKind::ListView) {
        ::SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                       LVS_EX_FULLROWSELECT);
        // The list view owns the image list and destroys it with itself.
        ::SendMessageA(hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SmallIcons()));
    }
    return Handle(hwnd);
}

void DestroyWindow(Hwnd window) {
    ::EnumChildWindows(
        H(window),
        [](HWND child, LPARAM) -> BOOL {
            controls.erase(child);
            return TRUE;
        },
        0);
    ::DestroyWindow(H(window));
}

bool IsWindow(Hwnd window) {
    return window != 0 && ::IsWindow(H(window));
}

void SetWindowText(Hwnd window, const std::string& text) {
    ::SetWindowTextA(H(window), text.c_str());
}

std::string GetWindowText(Hwnd window) {
    std::string text(::GetWindowTextLengthA(H(window)) + 1, '\0');
    text.resize(::GetWindowTextA(H(window), text.data(), static_cast<int>(text.size())));
    return text;
}

void MoveWindow(Hwnd window, const PixelRect& rect) {
    ::MoveWindow(H(window), rect.left, rect.top, rect.width, rect.height, TRUE);
}

PixelRect GetWindowRect(Hwnd window) {
    RECT r = {};
    ::GetWindowRect(H(window), &r);
    if (HWND parent = ::GetParent(H(window)); parent && controls.count(H(window)))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

PixelRect GetClientRect(Hwnd form) {
    RECT r = {};
    ::GetClientRect(H(form), &r);
    return {0, 0, r.right, r.bottom};
}

void SetClientSize(Hwnd form, int width, int height) {
    RECT r = {0, 0, width, height};
    ::AdjustWindowRectEx(&r, ::GetWindowLongA(H(form), GWL_STYLE), FALSE,
                         ::GetWindowLongA(H(form), GWL_EXSTYLE));
    ::SetWindowPos(H(form), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterWindow(Hwnd form, Hwnd owner) {
    RECT around = {};
    if (owner && !::IsIconic(H(owner))) {
        ::GetWindowRect(H(owner), &around);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    }
    RECT r = {};
    ::GetWindowRect(H(form), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    ::SetWindowPos(H(form), nullptr, around.left + (around.right - around.left - width) / 2,
                   around.top + (around.bottom - around.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowWindow(Hwnd window, bool visible) {
    FormData* data = Data(H(window));
    if (!data) {
        ::ShowWindow(H(window), visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    ::ShowWindow(H(window), visible ? data->pendingShow : SW_HIDE);
    if (visible && !data->shown) {
        data->shown = true;
        Raise(*data, "Resize", [&] { data->events->OnResize(); });
    }
}

bool IsWindowVisible(Hwnd window) {
    return ::IsWindowVisible(H(window)) != FALSE;
}

void EnableWindow(Hwnd window, bool enabled) {
    ::EnableWindow(H(window), enabled);
}

bool IsWindowEnabled(Hwnd window) {
    return IsWindow(window) && ::IsWindowEnabled(H(window)) != FALSE;
}

void SetFocus(Hwnd window) {
    ::SetFocus(H(window));
}

Hwnd GetFocus() {
    return Handle(::GetFocus());
}

void SetWindowState(Hwnd form, WindowState state) {
    const int show = state == WindowState::Minimized   ? SW_SHOWMINIMIZED
                     : state == WindowState::Maximized ? SW_SHOWMAXIMIZED
                                                       : SW_SHOWNORMAL;
    FormData* data = Data(H(form));
    if (data && !::IsWindowVisible(H(form))) {
        data->pendingShow = show;
    } else {
        ::ShowWindow(H(form), show);
    }
}

WindowState GetWindowState(Hwnd form) {
    if (::IsIconic(H(form))) return WindowState::Minimized;
    if (::IsZoomed(H(form))) return WindowState::Maximized;
    return WindowState::Normal;
}

void SetDialogButtons(Hwnd form, int defaultId, int cancelId) {
    FormData* data = Data(H(form));
    if (!data) return;
    data->defaultId = defaultId;
    data->cancelId = cancelId;
    if (HWND button = defaultId ? ::GetDlgItem(H(form), defaultId) : nullptr)
        ::SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void SetTabOrder(Hwnd, const std::vector<Hwnd>& order) {
    HWND previous = HWND_TOP;
    for (Hwnd control : order) {
        ::SetWindowPos(H(control), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = H(control);
    }
}

void SetFont(Hwnd control, int pointSize, bool bold) {
    FormData* data = Data(::GetParent(H(control)));
    if (!data) return;
    win32::UniqueFont font(::CreateFontA(-::MulDiv(pointSize, ScreenDpi().y, 72), 0, 0, 0,
                                         bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH, "MS Shell Dlg"));
    if (!font) return;  // the control keeps the font it has
    Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    data->fonts.push_back(std::move(font));
}

void SetWaitCursor(Hwnd form, bool wait) {
    if (FormData* data = Data(H(form))) data->waitCursor = wait;
    ::SetCursor(::LoadCursorA(nullptr, wait ? IDC_WAIT : IDC_ARROW));
}

void SetCheck(Hwnd button, int value) {
    Send(button, BM_SETCHECK, value);
}

int GetCheck(Hwnd button) {
    return static_cast<int>(Send(button, BM_GETCHECK));
}

void SetProgressRange(Hwnd bar, int minimum, int maximum) {
    Send(bar, PBM_SETRANGE32, minimum, maximum);
}

void SetProgressPos(Hwnd bar, int value) {
    Send(bar, PBM_SETPOS, value);
}

int GetProgressPos(Hwnd bar) {
    return static_cast<int>(Send(bar, PBM_GETPOS));
}

int ListBoxAddString(Hwnd list, const std::string& text) {
    return static_cast<int>(Send(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ListBoxGetCount(Hwnd list) {
    return static_cast<int>(Send(list, LB_GETCOUNT));
}

std::string ListBoxGetText(Hwnd list, int index) {
    const LRESULT length = Send(list, LB_GETTEXTLEN, index);
    if (length == LB_ERR) return {};
    std::string text(length + 1, '\0');
    text.resize(Send(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data())));
    return text;
}

int ListBoxGetCurSel(Hwnd list) {
    return static_cast<int>(Send(list, LB_GETCURSEL));
}

void ListBoxSetCurSel(Hwnd list, int index) {
    Send(list, LB_SETCURSEL, index);
}

void ListBoxResetContent(Hwnd list) {
    Send(list, LB_RESETCONTENT);
}

void ListViewInsertColumn(Hwnd view, int index, const std::string& text, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(text.c_str());
    column.cx = width;
    Send(view, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

std::string ListViewGetColumnText(Hwnd view, int index) {
    return ListViewText(view, 0, 0, LVM_GETCOLUMNA, index);
}

void ListViewSetColumnText(Hwnd view, int index, const std::string& text) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(text.c_str());
    Send(view, LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

int ListViewGetColumnWidth(Hwnd view, int index) {
    return static_cast<int>(Send(view, LVM_GETCOLUMNWIDTH, index));
}

void ListViewSetColumnWidth(Hwnd view, int index, int width) {
    Send(view, LVM_SETCOLUMNWIDTH, index, MAKELPARAM(width, 0));
}

int ListViewAppendRow(Hwnd view, const std::string& text, int icon) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListViewGetItemCount(view);
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = icon > 0 ? icon - 1 : I_IMAGENONE;
    return static_cast<int>(Send(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListViewSetItemText(Hwnd view, int row, int subItem, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text.c_str());
    Send(view, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

std::string ListViewGetItemText(Hwnd view, int row, int subItem) {
    return ListViewText(view, row, subItem, LVM_GETITEMTEXTA);
}

int ListViewGetIcon(Hwnd view, int row) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (!Send(view, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.iImage >= 0 ? item.iImage + 1 : 0;
}

int ListViewGetItemCount(Hwnd view) {
    return static_cast<int>(Send(view, LVM_GETITEMCOUNT));
}

void ListViewDeleteAllItems(Hwnd view) {
    Send(view, LVM_DELETEALLITEMS);
}

namespace {

void SetRowState(Hwnd view, int row, UINT state, bool on) {
    LVITEMA item = {};
    item.stateMask = state;
    item.state = on ? state : 0;
    Send(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

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

void SetTimer(Hwnd form, int id, int milliseconds) {
    ::SetTimer(H(form), id, milliseconds, nullptr);
}

void KillTimer(Hwnd form, int id) {
    ::KillTimer(H(form), id);
}

void RunModalLoop(Hwnd form) {
    const ModalLoopScope loop;
    MSG msg;
    while (::IsWindow(H(form)) && !loop.HandlerFailed()) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            return;
        }
        if (got > 0) Dispatch(msg);
    }
    // After a failed handler the form's state is unknown: it goes without its Unload.
    if (loop.HandlerFailed()) DestroyWindow(form);
}

void DoEvents() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

bool ProgressRefreshDue() {
    constexpr ULONGLONG kRefreshMilliseconds = 30;
    static ULONGLONG next = 0;
    const ULONGLONG now = ::GetTickCount64();
    if (now < next) return false;
    next = now + kRefreshMilliseconds;
    return true;
}

int MessageBox(Hwnd owner, const std::string& text, const std::string& caption, int type) {
    return ::MessageBoxA(H(owner), text.c_str(), caption.c_str(), type);
}

Hwnd GetActiveWindow() {
    return Handle(::GetActiveWindow());
}

ScreenMetrics GetScreenMetrics() {
    const POINT dpi = ScreenDpi();
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
            dpi.x > 0 ? 1440 / dpi.x : 15, dpi.y > 0 ? 1440 / dpi.y : 15};
}

}  // namespace platform
