// Forms: windows of our own class whose one procedure hands their events to the ui layer,
// and the calls that only forms take.
#include <memory>

#include "platform/win32/resource_ids.h"
#include "platform/win32/window/window_internal.h"

#include <windowsx.h>  // GET_X_LPARAM, after windows.h

namespace platform {
namespace {

using win32::FormData;
using win32::FormDataOf;
using win32::H;
using win32::Raise;

constexpr wchar_t kFormClass[] = L"PurgelintForm";

ATOM formClass = 0;

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
    if (reinterpret_cast<HWND>(lp) == control) win32::OnUserClick(control);
    Raise(data, "Click", [&] { data.events->OnCommand(id); });
}

// Enter presses the push button that has the focus, as in a dialog; elsewhere the form's
// default button. The dialog manager asks for it when the focused button is not drawn as
// the default, as after the focus came back to it without the Tab key.
LRESULT DefaultButton(HWND form, const FormData& data) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(form, focus) &&
        (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
        return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
    return data.defaultId ? MAKELRESULT(data.defaultId, DC_HASDEFID) : 0;
}

// As a dialog does, a form gives the focus it gets to the control that had it last (before
// a modal window or another program took it), else to its first tab stop: with the focus
// on the form itself no key would reach a control.
void SaveFocus(HWND form, FormData& data) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(form, focus)) data.lastFocus = focus;
}

void RestoreFocus(HWND form, const FormData& data) {
    HWND target = data.lastFocus;
    if (!target || !::IsChild(form, target) || !::IsWindowVisible(target) ||
        !::IsWindowEnabled(target))
        target = ::GetNextDlgTabItem(form, nullptr, FALSE);
    if (target && target != form) ::SetFocus(target);
}

// One procedure for every form: it finds the form's data in the window and hands the
// events to the ui layer. `data` may be gone once a handler has run (it can destroy its
// window), so nothing touches it afterwards.
LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<std::unique_ptr<FormData>*>(
            reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner->release()));
    }
    FormData* data = reinterpret_cast<FormData*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_DESTROY) win32::ForgetNames(hwnd);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        std::unique_ptr<FormData> gone(data);
        return ::DefWindowProcW(hwnd, message, wp, lp);
    }
    if (!data || !data->events) return ::DefWindowProcW(hwnd, message, wp, lp);
    switch (message) {
        case WM_COMMAND:
            Command(*data, hwnd, wp, lp);
            return 0;
        case DM_GETDEFID:
            return DefaultButton(hwnd, *data);
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) SaveFocus(hwnd, *data);
            break;
        case WM_SETFOCUS:
            RestoreFocus(hwnd, *data);
            return 0;
        case WM_TIMER:
            win32::OnTimer(hwnd, *data, wp);
            return 0;
        case WM_NOTIFY:
            if (auto* info = reinterpret_cast<NMLVDISPINFOW*>(lp);
                info->hdr.code == LVN_GETDISPINFOW) {
                Raise(*data, "RowInfo", [&] { win32::AnswerRowInfo(*info); });
                return 0;
            }
            if (const auto* find = reinterpret_cast<NMLVFINDITEMW*>(lp);
                find->hdr.code == LVN_ODFINDITEMW) {
                int row = -1;
                Raise(*data, "FindRow", [&] { row = win32::FindRow(*find); });
                return row;
            }
            if (const auto* key = reinterpret_cast<NMLVKEYDOWN*>(lp);
                key->hdr.code == LVN_KEYDOWN && key->wVKey == 'A' &&
                ::GetKeyState(VK_CONTROL) < 0) {
                const int id = static_cast<int>(key->hdr.idFrom);
                Raise(*data, "SelectAll", [&] { data->events->OnSelectAll(id); });
                return 0;
            }
            break;
        case WM_CLOSE:
            Raise(*data, "Close", [&] { data->events->OnClose(); });
            return 0;
        case WM_SIZE:
            if (data->shown) Raise(*data, "Resize", [&] { data->events->OnResize(); });
            return 0;
        case WM_DPICHANGED:
            win32::OnDpiChanged(hwnd, *data, wp, lp);
            return 0;
        case WM_CONTEXTMENU:
            // A control's own menu request reaches its form through DefWindowProc.
            if (HWND control = reinterpret_cast<HWND>(wp);
                control != hwnd && ::IsChild(hwnd, control)) {
                const int id = ::GetDlgCtrlID(control);
                const bool keyboard = GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1;
                Raise(*data, "ContextMenu", [&] { data->events->OnContextMenu(id, keyboard); });
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (data->waitCursor) {
                ::SetCursor(::LoadCursorW(nullptr, win32::SystemResource(IDC_WAIT)));
                return TRUE;
            }
            break;
    }
    return ::DefWindowProcW(hwnd, message, wp, lp);
}

void RegisterFormClass() {
    if (formClass) return;
    INITCOMMONCONTROLSEX icc = {sizeof icc,
                                ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, win32::SystemResource(IDC_ARROW));
    wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(PURGELINT_ICON_PROGRAM));
    if (!wc.hIcon) wc.hIcon = ::LoadIconW(nullptr, win32::SystemResource(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    formClass = ::RegisterClassExW(&wc);
}

}  // namespace

namespace win32 {

FormData* FormDataOf(HWND window) {
    if (!window || !formClass || ::GetClassLongPtrW(window, GCW_ATOM) != formClass) return nullptr;
    return reinterpret_cast<FormData*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace win32

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
    HWND hwnd = ::CreateWindowExW(exStyle, kFormClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  320, 240, H(owner), nullptr, ::GetModuleHandleW(nullptr), &data);
    if (!hwnd) return 0;
    win32::SetName(hwnd, name);
    return win32::Handle(hwnd);
}

void SetOwner(Hwnd form, Hwnd owner) {
    ::SetWindowLongPtrW(H(form), GWLP_HWNDPARENT, static_cast<LONG_PTR>(owner));
}

void ShowWindow(Hwnd window, bool visible) {
    FormData* data = FormDataOf(H(window));
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

void SetWindowState(Hwnd form, WindowState state) {
    const int show = state == WindowState::Minimized   ? SW_SHOWMINIMIZED
                     : state == WindowState::Maximized ? SW_SHOWMAXIMIZED
                                                       : SW_SHOWNORMAL;
    FormData* data = FormDataOf(H(form));
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
    FormData* data = FormDataOf(H(form));
    if (!data) return;
    data->defaultId = defaultId;
    data->cancelId = cancelId;
    if (HWND button = defaultId ? ::GetDlgItem(H(form), defaultId) : nullptr)
        ::SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

// The tab order is the order of the controls' windows. A run of option buttons in it is one
// group (WS_GROUP on its first button and on the control after it): the arrow keys go round
// within the group, and Tab stops in it only at the selected button.
void SetTabOrder(Hwnd, const std::vector<Hwnd>& order) {
    HWND previous = HWND_TOP;
    bool previousOption = false;
    for (Hwnd control : order) {
        HWND window = H(control);
        ::SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const bool option = win32::IsOptionButton(window);
        const LONG style = ::GetWindowLongW(window, GWL_STYLE) & ~WS_GROUP;
        const bool groupStart = previous == HWND_TOP || option != previousOption;
        ::SetWindowLongW(window, GWL_STYLE, style | (groupStart ? WS_GROUP : 0));
        previous = window;
        previousOption = option;
    }
}

void SetWaitCursor(Hwnd form, bool wait) {
    if (FormData* data = FormDataOf(H(form))) data->waitCursor = wait;
    ::SetCursor(::LoadCursorW(nullptr, win32::SystemResource(wait ? IDC_WAIT : IDC_ARROW)));
}

}  // namespace platform
