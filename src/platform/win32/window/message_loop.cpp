// The loops that run the UI's events: a modal form's, DoEvents', and the message box's own.
#include "platform/win32/window/window_internal.h"

namespace platform {
namespace {

using win32::H;

// Forms take the dialog manager's keys: Tab, Enter, Esc.
void Dispatch(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && win32::FormDataOf(root) && ::IsDialogMessageA(root, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

}  // namespace

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

}  // namespace platform
