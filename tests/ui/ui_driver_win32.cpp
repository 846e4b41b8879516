// A second thread that waits for windows of this process and posts what a user's click
// would send them.
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

std::thread lastAction;            // each action's thread waits for the one before it
std::atomic<bool> allDone = true;  // cleared by the actions' threads

using platform::win32::Wide;

std::string NameOf(HWND window) {
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(::GetPropW(window, L"PurgelintName")));
    wchar_t name[256] = {};
    const UINT length = atom ? ::GetAtomNameW(atom, name, static_cast<int>(std::size(name))) : 0;
    return platform::win32::Narrow(std::wstring_view(name, length));
}

struct Search {
    std::function<bool(HWND)> match;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && search->match(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(const std::function<bool(HWND)>& match) {
    Search search{match};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindForm(const std::string& form) {
    return FindTopLevel([&](HWND w) { return NameOf(w) == form; });
}

// Runs `act` on another thread as soon as `find` finds its window, for ten seconds at most,
// after the actions given before it.
void Later(std::function<HWND()> find, std::function<void(HWND)> act) {
    lastAction = std::thread(
        [previous = std::move(lastAction), find = std::move(find), act = std::move(act)]() mutable {
            if (previous.joinable()) previous.join();
            for (int i = 0; i < 500; ++i) {
                if (HWND window = find()) {
                    act(window);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            allDone = false;
        });
}

}  // namespace

void Prepare() {}

void ClickWhenShown(const std::string& form, const std::string& control) {
    Later([form] { return FindForm(form); },
          [control](HWND window) {
              HWND target = nullptr;
              for (HWND child = ::GetWindow(window, GW_CHILD); child;
                   child = ::GetWindow(child, GW_HWNDNEXT))
                  if (NameOf(child) == control) target = child;
              if (!target) {
                  allDone = false;
                  return;
              }
              ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(target), BN_CLICKED),
                             reinterpret_cast<LPARAM>(target));
          });
}

void CloseWhenShown(const std::string& form) {
    Later([form] { return FindForm(form); },
          [](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); });
}

void AnswerNextMessageBox(int answer) {
    Later(
        [] {
            return FindTopLevel([](HWND w) {
                wchar_t name[16] = {};
                ::GetClassNameW(w, name, static_cast<int>(std::size(name)));
                return std::wstring_view(name) == L"#32770";
            });
        },
        [answer](HWND box) { ::PostMessageW(box, WM_COMMAND, answer, 0); });
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
    const HFONT font =
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
