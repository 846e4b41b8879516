// Threads that wait for windows of this process and post what a user's click or key would.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <utility>

#include "platform/win32/wide.h"
#include "ui/ui_driver.h"

namespace driver {
namespace {

std::thread lastAction;            // each action's thread waits for the one before it
std::atomic<bool> allDone = true;  // cleared by an action that could not be carried out

std::string NameOf(HWND window) {
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(::GetPropW(window, L"PurgelintName")));
    wchar_t name[256] = {};
    const UINT length = atom ? ::GetAtomNameW(atom, name, static_cast<int>(std::size(name))) : 0;
    return platform::win32::Narrow(std::wstring_view(name, length));
}

// A visible top-level window of this process: the form of that name, or with none a message box.
HWND FindShown(const std::string& form) {
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        wchar_t kind[16] = {};
        ::GetClassNameW(window, kind, static_cast<int>(std::size(kind)));
        if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
            (form.empty() ? std::wstring_view(kind) == L"#32770" : NameOf(window) == form))
            return window;
    }
    return nullptr;
}

// Runs `act` on another thread, after the earlier actions, once FindShown finds its window.
void Later(const std::string& form, std::function<void(HWND)> act) {
    lastAction = std::thread([previous = std::move(lastAction), form,
                              act = std::move(act)]() mutable {
        if (previous.joinable()) previous.join();
        for (int i = 0; i < 500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(20)))
            if (HWND window = FindShown(form)) return act(window);
        allDone = false;
    });
}

}  // namespace

void Prepare() {}

void WhenShown(const std::string& form, Action action, const std::string& control) {
    Later(form, [action, control](HWND window) {
        if (action == Action::Close) return (void)::PostMessageW(window, WM_CLOSE, 0, 0);
        if (action == Action::Click) {
            HWND target = ::GetWindow(window, GW_CHILD);
            while (target && NameOf(target) != control)
                target = ::GetWindow(target, GW_HWNDNEXT);
            if (!target) return allDone.store(false);
            return (void)::PostMessageW(window, WM_COMMAND,
                                        MAKEWPARAM(::GetDlgCtrlID(target), BN_CLICKED),
                                        reinterpret_cast<LPARAM>(target));
        }
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread);
        ::PostMessageW(thread.hwndFocus ? thread.hwndFocus : window, WM_KEYDOWN,
                       action == Action::Enter ? VK_RETURN : VK_ESCAPE, 1);
    });
}

void AnswerNextMessageBox(int answer) {
    Later("", [answer](HWND box) { ::PostMessageW(box, WM_COMMAND, answer, 0); });
}

bool MoveToScreenOfDpi(platform::Hwnd form, int dpi, const platform::PixelRect& to) {
    RECT rect = {to.left, to.top, to.left + to.width, to.top + to.height};
    ::SendMessageW(reinterpret_cast<HWND>(form), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&rect));
    return true;
}

int FontPixelHeight(platform::Hwnd control) {
    LOGFONTW face = {};
    const LRESULT font = ::SendMessageW(reinterpret_cast<HWND>(control), WM_GETFONT, 0, 0);
    ::GetObjectW(reinterpret_cast<HFONT>(font), sizeof face, &face);
    return std::abs(face.lfHeight);
}

bool Finish() {
    if (lastAction.joinable()) lastAction.join();
    return allDone.exchange(true);
}

}  // namespace driver
