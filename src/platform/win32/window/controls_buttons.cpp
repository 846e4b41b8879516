// Buttons, check boxes and option buttons.
#include "platform/win32/window/window_internal.h"

namespace platform {

namespace win32 {

// A user's click on a check box toggles it, as the headless one does: the three-state
// style leaves the value to the program.
void OnUserClick(HWND control) {
    if ((::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) != BS_3STATE) return;
    const bool checked = ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    ::SendMessageW(control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
}

}  // namespace win32

void SetCheck(Hwnd button, int value) {
    win32::Send(button, BM_SETCHECK, value);
}

int GetCheck(Hwnd button) {
    return static_cast<int>(win32::Send(button, BM_GETCHECK));
}

}  // namespace platform
