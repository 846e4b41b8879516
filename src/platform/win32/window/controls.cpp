// Controls are windows of the system's classes, made children of a form.
#include "platform/win32/window/window_internal.h"

namespace platform {
namespace {

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_3STATE | WS_TABSTOP, 0};
        case ControlKind::OptionButton:
            return {L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0};
        case ControlKind::ListBox:
            return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::ListView:
            // Clipping its header, the view redraws its rows without the header, whose drawing
            // costs Wine more than a page of rows.
            return {WC_LISTVIEWW,
                    LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_CLIPCHILDREN,
                    WS_EX_CLIENTEDGE};
        case ControlKind::ProgressBar:
            return {PROGRESS_CLASSW, 0, 0};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

Hwnd CreateControlWindow(Hwnd form, ControlKind kind, int id, const std::string& name) {
    const ControlClass c = ClassOf(kind);
    HWND hwnd = ::CreateWindowExW(
        c.exStyle, c.className, L"", WS_CHILD | WS_VISIBLE | c.style, 0, 0, 10, 10, win32::H(form),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return 0;
    win32::SetName(hwnd, name);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   FALSE);
    if (kind == ControlKind::ListView) win32::PrepareListView(hwnd);
    return win32::Handle(hwnd);
}

}  // namespace platform
