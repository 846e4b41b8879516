// What the files of the real window layer share: handle conversions, the data a form keeps
// in its window, the boundary around the ui layer's handlers, and the windows' names.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>

#include "platform/failure.h"
#include "platform/win32/wide.h"
#include "platform/window.h"

// The A/W-switching macros would rename the platform's own functions.
#undef GetWindowText
#undef SetWindowText
#undef MessageBox

namespace platform::win32 {

inline HWND H(Hwnd window) {
    return reinterpret_cast<HWND>(window);
}
inline Hwnd Handle(HWND window) {
    return reinterpret_cast<Hwnd>(window);
}
inline LRESULT Send(Hwnd window, UINT message, WPARAM wp = 0, LPARAM lp = 0) {
    return ::SendMessageW(H(window), message, wp, lp);
}
// The system's own icons and cursors (IDI_APPLICATION, IDC_ARROW ...) are numbered
// resources: the same number names them to the wide calls.
inline LPCWSTR SystemResource(LPCSTR id) {
    return reinterpret_cast<LPCWSTR>(id);
}

// The system's dots per inch, and the fonts drawn at a density.
POINT ScreenDpi();
HFONT SharedFont(int pointSize, bool bold, int dpi);

// What a form's window keeps, in its GWLP_USERDATA: created with the window (WM_NCCREATE)
// and freed with it (WM_NCDESTROY).
struct FormData {
    WindowEvents* events = nullptr;
    std::string name;
    int defaultId = 0;
    int cancelId = 0;
    HWND lastFocus = nullptr;  // the control that had the focus when the form lost it
    bool waitCursor = false;
    bool shown = false;
    int pendingShow = SW_SHOWNORMAL;  // the state to show in, set while hidden
    int dpi = ScreenDpi().y;          // the density its controls are laid out for
    // The timers whose handler runs now. A handler that lets events run would otherwise
    // get its own timer again from the nested loop, ever deeper.
    std::set<WPARAM> firingTimers;
};

// The data of one of our forms; null for any other window (controls, message boxes).
FormData* FormDataOf(HWND window);

// Option buttons are the radio buttons that the ui layer keeps checked itself.
inline bool IsOptionButton(HWND control) {
    return control && (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON);
}

// Every call into the ui layer goes through here: nothing it throws may unwind into the
// system's code that called the window procedure.
template <typename Handler>
void Raise(const FormData& data, const char* event, Handler&& handler) {
    CallHandler(data.name, event, handler);
}

// Names travel as atoms in a window property, so that a test's driver can find windows
// from another thread. A form's WM_DESTROY, which comes while its controls still exist,
// removes its own and theirs.
void SetName(HWND window, const std::string& name);
void ForgetNames(HWND form);

// Routing of the form's messages to the families that handle them.
void OnUserClick(HWND control);  // a button's own click, before the form hears of it
void OnTimer(HWND form, FormData& data, WPARAM id);
void PrepareListView(HWND view);
void AnswerRowInfo(NMLVDISPINFOW& info);  // a list view asks for what a row shows
int FindRow(const NMLVFINDITEMW& find);   // and for the row the user types the start of
void OnDpiChanged(HWND form, FormData& data, WPARAM wp, LPARAM lp);

}  // namespace platform::win32
