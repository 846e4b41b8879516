// The progress bar.
#include "platform/win32/window/window_internal.h"

namespace platform {

void SetProgressRange(Hwnd bar, int minimum, int maximum) {
    win32::Send(bar, PBM_SETRANGE32, minimum, maximum);
}

void SetProgressPos(Hwnd bar, int value) {
    win32::Send(bar, PBM_SETPOS, value);
}

int GetProgressPos(Hwnd bar) {
    return static_cast<int>(win32::Send(bar, PBM_GETPOS));
}

}  // namespace platform
