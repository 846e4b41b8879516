// Timers of a form, fired through its procedure; one handler of a timer at a time.
#include "platform/win32/window/window_internal.h"

namespace platform {

namespace win32 {

void OnTimer(HWND form, FormData& data, WPARAM id) {
    if (!data.firingTimers.insert(id).second) return;  // its handler is still running
    Raise(data, "Timer", [&] { data.events->OnTimer(static_cast<int>(id)); });
    // The handler may have destroyed the form, and its data with it.
    if (FormData* still = FormDataOf(form)) still->firingTimers.erase(id);
}

}  // namespace win32

void SetTimer(Hwnd form, int id, int milliseconds) {
    ::SetTimer(win32::H(form), id, milliseconds, nullptr);
}

void KillTimer(Hwnd form, int id) {
    ::KillTimer(win32::H(form), id);
}

}  // namespace platform
