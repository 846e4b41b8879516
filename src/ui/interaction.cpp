#include "ui/interaction.h"

#include "platform/window.h"

namespace ui {

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    return platform::MessageBox(platform::GetActiveWindow(), prompt,
                                title.empty() ? kAppTitle : title, buttons);
}

void DoEvents() {
    platform::DoEvents();
}

bool ProgressRefreshDue() {
    return platform::ProgressRefreshDue();
}

int Screen::TwipsPerPixelX() {
    return platform::GetScreenMetrics().twipsPerPixelX;
}
int Screen::TwipsPerPixelY() {
    return platform::GetScreenMetrics().twipsPerPixelY;
}
int Screen::Width() {
    return platform::GetScreenMetrics().width * TwipsPerPixelX();
}
int Screen::Height() {
    return platform::GetScreenMetrics().height * TwipsPerPixelY();
}

int Screen::ToPixelsX(int twips) {
    return (twips + TwipsPerPixelX() / 2) / TwipsPerPixelX();
}
int Screen::ToPixelsY(int twips) {
    return (twips + TwipsPerPixelY() / 2) / TwipsPerPixelY();
}

}  // namespace ui
