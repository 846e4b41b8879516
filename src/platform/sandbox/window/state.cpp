// Headless windows: forms and controls are state in the machine, with a fixed frame around
// a form's client area.
#include <algorithm>

#include "platform/sandbox/window/window_internal.h"

namespace platform {

namespace headless {

HeadlessWindow* Find(Hwnd window) {
    auto it = Ui().windows.find(window);
    return it == Ui().windows.end() ? nullptr : &it->second;
}

const HeadlessWindow& Get(Hwnd window) {
    static const HeadlessWindow none;
    const HeadlessWindow* found = Find(window);
    return found ? *found : none;
}

}  // namespace headless

namespace {

using namespace headless;

constexpr int kFrameWidth = 8;    // non-client pixels of a form, across
constexpr int kFrameHeight = 31;  // and down

// A form's rect; while it is normal also the rect it is restored to.
void Place(HeadlessWindow& w, const PixelRect& rect) {
    w.rect = rect;
    if (w.state == WindowState::Normal) w.normalRect = rect;
}

void Resized(Hwnd form) {
    const HeadlessWindow* w = Find(form);
    if (w && w->isForm && w->shown && w->events)
        Raise(*w, "Resize", [events = w->events] { events->OnResize(); });
}

}  // namespace

Hwnd CreateFormWindow(WindowEvents* events, const std::string& name, BorderStyle border,
                      Hwnd owner) {
    const Hwnd hwnd = Ui().nextHandle++;
    HeadlessWindow& w = Ui().windows[hwnd];
    w.isForm = true;
    w.name = name;
    w.events = events;
    w.border = border;
    w.owner = owner;
    w.visible = false;
    Place(w, {0, 0, 320 + kFrameWidth, 240 + kFrameHeight});
    return hwnd;
}

void SetOwner(Hwnd form, Hwnd owner) {
    Update(form, [&](HeadlessWindow& w) { w.owner = owner; });
}

Hwnd CreateControlWindow(Hwnd form, ControlKind kind, int id, const std::string& name) {
    const Hwnd hwnd = Ui().nextHandle++;
    HeadlessWindow& w = Ui().windows[hwnd];
    w.kind = kind;
    w.name = name;
    w.parent = form;
    w.id = id;
    return hwnd;
}

void DestroyWindow(Hwnd window) {
    auto& ui = Ui();
    std::erase_if(ui.timers, [window](const HeadlessTimer& t) { return t.form == window; });
    std::erase_if(ui.windows, [window](const auto& entry) {
        return entry.first == window || entry.second.parent == window;
    });
    if (!Find(ui.focus)) ui.focus = 0;
}

bool IsWindow(Hwnd window) {
    return Find(window) != nullptr;
}

void SetWindowText(Hwnd window, const std::string& text) {
    Update(window, [&](HeadlessWindow& w) { w.text = text; });
}

std::string GetWindowText(Hwnd window) {
    return Get(window).text;
}

void MoveWindow(Hwnd window, const PixelRect& rect) {
    Update(window, [&](HeadlessWindow& w) { Place(w, rect); });
    Resized(window);
}

PixelRect GetWindowRect(Hwnd window) {
    return Get(window).rect;
}

PixelRect GetClientRect(Hwnd form) {
    const PixelRect r = Get(form).rect;
    return {0, 0, std::max(0, r.width - kFrameWidth), std::max(0, r.height - kFrameHeight)};
}

void SetClientSize(Hwnd form, int width, int height) {
    Update(form, [&](HeadlessWindow& w) {
        Place(w, {w.rect.left, w.rect.top, width + kFrameWidth, height + kFrameHeight});
    });
    Resized(form);
}

void CenterWindow(Hwnd form, Hwnd owner) {
    const ScreenMetrics& screen = Ui().screen;
    const PixelRect around = owner ? Get(owner).rect : PixelRect{0, 0, screen.width, screen.height};
    Update(form, [&](HeadlessWindow& w) {
        Place(w, {around.left + (around.width - w.rect.width) / 2,
                  around.top + (around.height - w.rect.height) / 2, w.rect.width, w.rect.height});
    });
}

void ShowWindow(Hwnd window, bool visible) {
    bool firstShow = false;
    Update(window, [&](HeadlessWindow& w) {
        w.visible = visible;
        firstShow = w.isForm && visible && !w.shown;
        if (firstShow) w.shown = true;
    });
    if (firstShow) Resized(window);
}

bool IsWindowVisible(Hwnd window) {
    const HeadlessWindow& w = Get(window);
    return w.visible && (w.parent == 0 || Get(w.parent).visible);
}

void EnableWindow(Hwnd window, bool enabled) {
    Update(window, [&](HeadlessWindow& w) { w.enabled = enabled; });
}

bool IsWindowEnabled(Hwnd window) {
    return IsWindow(window) && Get(window).enabled;
}

void SetFocus(Hwnd window) {
    if (IsWindow(window)) Ui().focus = window;
}

Hwnd GetFocus() {
    return Ui().focus;
}

Hwnd GetActiveWindow() {
    Hwnd active = 0;
    for (const auto& [hwnd, w] : Ui().windows)
        if (w.isForm && w.visible && w.enabled) active = hwnd;
    return active;
}

// A maximized form covers the screen, a minimized one sits off it as on Windows; restored,
// it takes its normal rect again.
void SetWindowState(Hwnd form, WindowState state) {
    const ScreenMetrics& screen = Ui().screen;
    Update(form, [&](HeadlessWindow& w) {
        w.state = state;
        switch (state) {
            case WindowState::Normal:
                w.rect = w.normalRect;
                break;
            case WindowState::Maximized:
                w.rect = {0, 0, screen.width, screen.height};
                break;
            case WindowState::Minimized:
                w.rect = {-32000, -32000, 160, 28};
                break;
        }
    });
    Resized(form);
}

WindowState GetWindowState(Hwnd form) {
    return Get(form).state;
}

void SetDialogButtons(Hwnd form, int defaultId, int cancelId) {
    Update(form, [&](HeadlessWindow& w) {
        w.defaultId = defaultId;
        w.cancelId = cancelId;
    });
}

void SetTabOrder(Hwnd form, const std::vector<Hwnd>& controls) {
    Update(form, [&](HeadlessWindow& w) { w.tabOrder = controls; });
}

void SetFont(Hwnd control, int pointSize, bool bold) {
    Update(control, [&](HeadlessWindow& w) {
        w.fontSize = pointSize;
        w.bold = bold;
    });
}

void SetWaitCursor(Hwnd form, bool wait) {
    Update(form, [&](HeadlessWindow& w) { w.waitCursor = wait; });
}

ScreenMetrics GetScreenMetrics() {
    return Ui().screen;
}

}  // namespace platform

void sandbox::SetScreen(const platform::ScreenMetrics& screen) {
    TheMachine().ui.screen = screen;
}
