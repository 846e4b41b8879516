#include "forms/interaction.h"

#include "base/product.h"
#include "platform/window.h"

namespace forms {

Answer ShowMessage(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    return static_cast<Answer>(platform::MessageBox(
        platform::GetActiveWindow(), text, title.empty() ? base::kProductTitle : title,
        static_cast<int>(buttons) | static_cast<int>(icon)));
}

void RunPendingEvents() {
    platform::RunPendingEvents();
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

}  // namespace forms
