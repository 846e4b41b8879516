// The virtual clock: timers fall due on it, and the loops advance it to the next one
// instead of waiting.
#include <algorithm>

#include "platform/sandbox/window/window_internal.h"

namespace platform {

namespace headless {

bool FireTimerDueBy(long long until) {
    HeadlessTimer* next = nullptr;
    for (auto& timer : Ui().timers)
        if (!timer.firing && timer.due <= until && (!next || timer.due < next->due)) next = &timer;
    if (!next) return false;
    const Hwnd form = next->form;
    const int id = next->id;
    Ui().now = std::max(Ui().now, next->due);
    next->due = Ui().now + next->interval;
    next->firing = true;  // not again from a loop inside its own handler
    if (const HeadlessWindow* w = Find(form); w && w->events)
        Raise(*w, "Timer", [events = w->events, id] { events->OnTimer(id); });
    // The handler may have killed the timer or destroyed its form: look it up again.
    for (auto& timer : Ui().timers)
        if (timer.form == form && timer.id == id) timer.firing = false;
    return true;
}

}  // namespace headless

namespace {
using namespace headless;
}  // namespace

void SetTimer(Hwnd form, int id, int milliseconds) {
    if (!IsWindow(form)) return;
    auto& timers = Ui().timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const HeadlessTimer& t) { return t.form == form && t.id == id; });
    if (it == timers.end()) it = timers.insert(timers.end(), HeadlessTimer{form, id});
    it->interval = milliseconds;
    it->due = Ui().now + milliseconds;
}

void KillTimer(Hwnd form, int id) {
    std::erase_if(Ui().timers,
                  [&](const HeadlessTimer& t) { return t.form == form && t.id == id; });
}

// Headless controls cost nothing to update, and tests see every progress line.
bool ProgressRefreshDue() {
    return true;
}

}  // namespace platform

long long sandbox::VirtualTime() {
    return TheMachine().ui.now;
}
