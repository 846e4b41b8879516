#include <unistd.h>

#include <filesystem>

#include "platform/sandbox/sandbox.h"
#include "ui/ui_driver.h"

namespace driver {
namespace {

std::function<bool()> Shown(const std::string& form) {
    return [form] { return platform::IsWindowVisible(sandbox::FindForm(form)); };
}

}  // namespace

void Prepare() {
    const auto root =
        std::filesystem::temp_directory_path() / ("purgelint-ui-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    sandbox::Reset(root);
}

void ClickWhenShown(const std::string& form, const std::string& control) {
    sandbox::Script("click " + control, sandbox::ClickOn(form, control), Shown(form));
}

void PressWhenShown(const std::string& form, Key key) {
    sandbox::Script("key",
                    sandbox::PressKey(form, key == Key::Enter ? sandbox::DialogKey::Enter
                                                              : sandbox::DialogKey::Esc),
                    Shown(form));
}

void CloseWhenShown(const std::string& form) {
    sandbox::Script("close " + form, sandbox::CloseBoxOf(form), Shown(form));
}

void AnswerNextMessageBox(int answer) {
    sandbox::AnswerMessageBox(answer);
}

bool NameHeld(const std::string& form, const std::string& control) {
    return sandbox::FindForm(form) != 0 || sandbox::FindControl(form, control) != 0;
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
