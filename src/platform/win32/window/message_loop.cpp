// The loops that run the UI's events: a modal form's, RunPendingEvents', and the message box's own.
#include "platform/win32/window/window_internal.h"

namespace platform {
namespace {

using win32::H;

bool IsArrowKey(const MSG& msg) {
    return msg.message == WM_KEYDOWN && msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN;
}

// The dialog manager moves the focus between option buttons with the arrow keys, but it
// selects only the automatic kind; ours keep their state in the ui layer, so the button
// the focus moved to is clicked, as a user's click on it would.
void SelectOptionMovedTo(HWND before) {
    HWND focus = ::GetFocus();
    if (focus != before && win32::IsOptionButton(focus) &&
        ::SendMessageW(focus, BM_GETCHECK, 0, 0) != BST_CHECKED)
        ::SendMessageW(focus, BM_CLICK, 0, 0);
}

// Forms take the dialog manager's keys: Tab, Enter, Esc, the arrow keys and the captions'
// accelerators.
void Dispatch(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && win32::FormDataOf(root)) {
        HWND before = ::GetFocus();
        const bool fromOption = IsArrowKey(msg) && win32::IsOptionButton(before);
        if (::IsDialogMessageW(root, &msg)) {
            if (fromOption) SelectOptionMovedTo(before);
            return;
        }
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

}  // namespace

void RunModalLoop(Hwnd form) {
    const ModalLoopScope loop;
    MSG msg;
    while (::IsWindow(H(form)) && !loop.HandlerFailed()) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            return;
        }
        if (got > 0) Dispatch(msg);
    }
    // After a failed handler the form's state is unknown: it goes without its Unload.
    if (loop.HandlerFailed()) DestroyWindow(form);
}

void RunPendingEvents() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
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
    return ::MessageBoxW(H(owner), win32::Wide(text).c_str(), win32::Wide(caption).c_str(), type);
}

}  // namespace platform
