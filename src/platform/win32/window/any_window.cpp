// The calls every window takes, form or control: text, place, visibility, state, focus.
#include "platform/win32/window/window_internal.h"

namespace platform {
namespace {

using win32::H;

bool IsControl(HWND window) {
    return (::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
}

}  // namespace

void DestroyWindow(Hwnd window) {
    ::DestroyWindow(H(window));
}

bool IsWindow(Hwnd window) {
    return window != 0 && ::IsWindow(H(window));
}

void SetWindowText(Hwnd window, const std::string& text) {
    ::SetWindowTextW(H(window), win32::Wide(text).c_str());
}

std::string GetWindowText(Hwnd window) {
    std::wstring text(::GetWindowTextLengthW(H(window)) + 1, L'\0');
    text.resize(::GetWindowTextW(H(window), text.data(), static_cast<int>(text.size())));
    return win32::Narrow(text);
}

void MoveWindow(Hwnd window, const PixelRect& rect) {
    ::MoveWindow(H(window), rect.left, rect.top, rect.width, rect.height, TRUE);
}

PixelRect GetWindowRect(Hwnd window) {
    RECT r = {};
    ::GetWindowRect(H(window), &r);
    // A control's place is in its form's client area, as MoveWindow takes it.
    if (HWND parent = ::GetParent(H(window)); parent && IsControl(H(window)))
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
    ::AdjustWindowRectEx(&r, ::GetWindowLongW(H(form), GWL_STYLE), FALSE,
                         ::GetWindowLongW(H(form), GWL_EXSTYLE));
    ::SetWindowPos(H(form), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterWindow(Hwnd form, Hwnd owner) {
    RECT around = {};
    if (owner && !::IsIconic(H(owner))) {
        ::GetWindowRect(H(owner), &around);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    }
    RECT r = {};
    ::GetWindowRect(H(form), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    ::SetWindowPos(H(form), nullptr, around.left + (around.right - around.left - width) / 2,
                   around.top + (around.bottom - around.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    return win32::Handle(::GetFocus());
}

Hwnd GetActiveWindow() {
    return win32::Handle(::GetActiveWindow());
}

}  // namespace platform
