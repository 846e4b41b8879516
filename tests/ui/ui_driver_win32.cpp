// A second thread that waits for windows of this process and posts what a user's click or
// key would send them.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string_view>
#include <thread>
#include <utility>

#include "platform/win32/wide.h"
#include "ui/ui_driver.h"

namespace driver {
namespace {

using platform::win32::Wide;

std::thread lastAction;            // each action's thread waits for the one before it
std::atomic<bool> allDone = true;  // cleared by an action that could not be carried out

std::string NameOf(HWND window) {
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(::GetPropW(window, L"PurgelintName")));
    wchar_t name[256] = {};
    const UINT length = atom ? ::GetAtomNameW(atom, name, static_cast<int>(std::size(name))) : 0;
    return platform::win32::Narrow(std::wstring_view(name, length));
}

// A visible top-level window of this process: the form of that name, or with none a message
// box.
HWND FindShown(const std::string& form) {
    std::pair<const std::string*, HWND> search = {&form, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM lp) -> BOOL {
            auto& [form, found] = *reinterpret_cast<std::pair<const std::string*, HWND>*>(lp);
            wchar_t kind[16] = {};
            ::GetClassNameW(window, kind, static_cast<int>(std::size(kind)));
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window) ||
                (form->empty() ? std::wstring_view(kind) != L"#32770" : NameOf(window) != *form))
                return TRUE;
            found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Runs `act` on another thread once FindShown finds its window, for ten seconds at most,
// after the actions given before it.
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

void ClickWhenShown(const std::string& form, const std::string& control) {
    Later(form, [control](HWND window) {
        HWND target = ::GetWindow(window, GW_CHILD);
        while (target && NameOf(target) != control)
            target = ::GetWindow(target, GW_HWNDNEXT);
        if (!target) return allDone.store(false);
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(target), BN_CLICKED),
                       reinterpret_cast<LPARAM>(target));
    });
}

// The key goes where the keyboard's would: to the control that has the focus.
void PressWhenShown(const std::string& form, Key key) {
    Later(form, [key](HWND window) {
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread);
        ::PostMessageW(thread.hwndFocus ? thread.hwndFocus : window, WM_KEYDOWN,
                       key == Key::Enter ? VK_RETURN : VK_ESCAPE, 1);
    });
}

void CloseWhenShown(const std::string& form) {
    Later(form, [](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); });
}

void AnswerNextMessageBox(int answer) {
    Later("", [answer](HWND box) { ::PostMessageW(box, WM_COMMAND, answer, 0); });
}

bool NameHeld(const std::string& form, const std::string& control) {
    return ::FindAtomW(Wide(form).c_str()) != 0 || ::FindAtomW(Wide(control).c_str()) != 0;
}

bool MoveToScreenOfDpi(platform::Hwnd form, int dpi, const platform::PixelRect& suggested) {
    RECT rect = {suggested.left, suggested.top, suggested.left + suggested.width,
                 suggested.top + suggested.height};
    ::SendMessageW(reinterpret_cast<HWND>(form), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&rect));
    return true;
}

int FontPixelHeight(platform::Hwnd control) {
    const auto font =
        reinterpret_cast<HFONT>(::SendMessageW(reinterpret_cast<HWND>(control), WM_GETFONT, 0, 0));
    LOGFONTW face = {};
    return font && ::GetObjectW(font, sizeof face, &face) == sizeof face ? std::abs(face.lfHeight)
                                                                         : 0;
}

bool Finish() {
    if (lastAction.joinable()) lastAction.join();
    return allDone.exchange(true);
}

}  // namespace driver
