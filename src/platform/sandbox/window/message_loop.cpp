// The loops that run the UI's events: they run the script's actions and fire due timers,
// and a modal loop that has nothing left to do fails the test instead of hanging.
#include "platform/sandbox/window/window_internal.h"

namespace platform {
namespace {

using namespace headless;

constexpr long long kModalPatience = 60 * 60 * 1000;  // virtual time a modal loop may idle

}  // namespace

void RunModalLoop(Hwnd form) {
    const ModalLoopScope loop;
    const long long started = Ui().now;
    while (IsWindow(form)) {
        if (loop.HandlerFailed()) {
            // After a failed handler the form's state is unknown: it goes without its Unload.
            DestroyWindow(form);
            return;
        }
        if (RunReadyAction()) continue;
        if (Ui().now - started < kModalPatience && FireTimerDueBy(started + kModalPatience))
            continue;
        const std::string name = Get(form).name;
        DestroyWindow(form);
        throw sandbox::StuckUi("the modal loop of " + name + " has nothing left to do");
    }
}

void RunPendingEvents() {
    while (RunReadyAction() || FireTimerDueBy(Ui().now)) {
    }
}

}  // namespace platform
