// A form that moves to a screen of another density hears of it through WM_DPICHANGED (the
// program is per-monitor aware): its controls, their fonts and the list columns are scaled
// by the ratio of the new density to the old, and the form takes the rectangle the system
// suggests; the resize that follows lays the form out again.
#include <cstdlib>
#include <iterator>

#include "platform/win32/window/window_internal.h"

namespace platform::win32 {
namespace {

struct Rescale {
    HWND form;
    int from;
    int to;
    int Scale(int pixels) const { return ::MulDiv(pixels, to, from); }
};

void ScaleFont(HWND control, const Rescale& r) {
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW face = {};
    if (!font || ::GetObjectW(font, sizeof face, &face) != sizeof face) return;
    const int points = ::MulDiv(std::abs(face.lfHeight), 72, r.from);
    if (HFONT scaled = SharedFont(points, face.lfWeight >= FW_BOLD, r.to))
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), TRUE);
}

void ScaleColumns(HWND control, const Rescale& r) {
    wchar_t className[64] = {};
    ::GetClassNameW(control, className, static_cast<int>(std::size(className)));
    if (::lstrcmpiW(className, WC_LISTVIEWW) != 0) return;
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(control, LVM_GETHEADER, 0, 0));
    const int columns =
        header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int column = 0; column < columns; ++column) {
        const int width = static_cast<int>(::SendMessageW(control, LVM_GETCOLUMNWIDTH, column, 0));
        ::SendMessageW(control, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(r.Scale(width), 0));
    }
}

// The form's own controls only: a list view's header is its own business.
BOOL CALLBACK ScaleControl(HWND control, LPARAM lp) {
    const Rescale& r = *reinterpret_cast<const Rescale*>(lp);
    if (::GetParent(control) != r.form) return TRUE;
    RECT rc = {};
    ::GetWindowRect(control, &rc);
    ::MapWindowPoints(nullptr, r.form, reinterpret_cast<POINT*>(&rc), 2);
    ::MoveWindow(control, r.Scale(rc.left), r.Scale(rc.top), r.Scale(rc.right - rc.left),
                 r.Scale(rc.bottom - rc.top), TRUE);
    ScaleFont(control, r);
    ScaleColumns(control, r);
    return TRUE;
}

}  // namespace

void OnDpiChanged(HWND form, FormData& data, WPARAM wp, LPARAM lp) {
    const int dpi = HIWORD(wp);
    if (dpi > 0 && dpi != data.dpi) {
        const Rescale rescale = {form, data.dpi, dpi};
        data.dpi = dpi;
        ::EnumChildWindows(form, ScaleControl, reinterpret_cast<LPARAM>(&rescale));
    }
    const RECT* suggested = reinterpret_cast<const RECT*>(lp);
    if (suggested)
        ::SetWindowPos(form, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace platform::win32
