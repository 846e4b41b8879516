#include <unistd.h>

#include "platform/sandbox/sandbox.h"
#include "ui/ui_driver.h"

namespace driver {

void Prepare() {
    const auto root =
        std::filesystem::temp_directory_path() / ("purgelint-ui-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    sandbox::Reset(root);
}

void WhenShown(const std::string& form, Action action, const std::string& control) {
    const auto key = action == Action::Enter ? sandbox::DialogKey::Enter : sandbox::DialogKey::Esc;
    sandbox::Script(form + " " + control,
                    action == Action::Click   ? sandbox::ClickOn(form, control)
                    : action == Action::Close ? sandbox::CloseBoxOf(form)
                                              : sandbox::PressKey(form, key),
                    [form] { return platform::IsWindowVisible(sandbox::FindForm(form)); });
}

void AnswerNextMessageBox(int answer) {
    sandbox::AnswerMessageBox(answer);
}

bool MoveToScreenOfDpi(platform::Hwnd, int, const platform::PixelRect&) {
    return false;
}

int FontPixelHeight(platform::Hwnd) {
    return 0;
}

bool Finish() {
    return sandbox::PendingActions() == 0;
}

}  // namespace driver
