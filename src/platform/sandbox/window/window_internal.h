// What the files of the headless window layer share: the machine's windows, found by
// handle, and the boundary around the ui layer's handlers.
#pragma once

#include <exception>

#include "platform/failure.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"
#include "platform/window.h"

namespace platform::headless {

using sandbox::HeadlessTimer;
using sandbox::HeadlessWindow;

inline sandbox::HeadlessUi& Ui() {
    return sandbox::TheMachine().ui;
}

// Null for an unknown or destroyed handle.
HeadlessWindow* Find(Hwnd window);

// Unknown handles read as a default window, as the real calls fail softly on them.
const HeadlessWindow& Get(Hwnd window);

// Changes the window when it exists; does nothing on an unknown handle.
template <typename Change>
void Update(Hwnd window, Change change) {
    if (HeadlessWindow* w = Find(window)) change(*w);
}

// Calls a handler of the ui layer behind the same boundary as the real window procedure.
// The test's own alarm, StuckUi, is no failure of the program's: it passes.
template <typename Handler>
void Raise(const HeadlessWindow& form, const char* event, Handler&& handler) {
    std::exception_ptr stuck;
    CallHandler(form.name, event, [&] {
        try {
            handler();
        } catch (const sandbox::StuckUi&) {
            stuck = std::current_exception();
        }
    });
    if (stuck) std::rethrow_exception(stuck);
}

// What the loops run in place of a user and a clock: the next scripted action once it is
// ready, and the first timer due by `until` (advancing the clock to it). False when there
// is none.
bool RunReadyAction();
bool FireTimerDueBy(long long until);

}  // namespace platform::headless
