// The screen's size and dots per inch, and the fonts drawn at them.
#include <map>
#include <utility>

#include "platform/win32/unique_handle.h"
#include "platform/win32/window/window_internal.h"

namespace platform {
namespace {

constexpr int kDefaultDpi = 96;

// The dots per inch stay as they are for the life of the process; ask once.
POINT ScreenDpi() {
    static const POINT dpi = [] {
        const win32::UniqueScreenDc dc = win32::GetScreenDc();
        if (!dc) return POINT{kDefaultDpi, kDefaultDpi};
        return POINT{::GetDeviceCaps(dc.get(), LOGPIXELSX), ::GetDeviceCaps(dc.get(), LOGPIXELSY)};
    }();
    return dpi;
}

// One font per size and weight, shared by every control that shows it, for the life of the
// process. Null when the system has none to give.
HFONT SharedFont(int pointSize, bool bold) {
    static std::map<std::pair<int, bool>, win32::UniqueFont> fonts;
    win32::UniqueFont& font = fonts[{pointSize, bold}];
    if (!font)
        font.reset(::CreateFontA(-::MulDiv(pointSize, ScreenDpi().y, 72), 0, 0, 0,
                                 bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH, "MS Shell Dlg"));
    return font.get();
}

}  // namespace

void SetFont(Hwnd control, int pointSize, bool bold) {
    HFONT font = SharedFont(pointSize, bold);
    if (!font) return;  // the control keeps the font it has
    win32::Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

ScreenMetrics GetScreenMetrics() {
    const POINT dpi = ScreenDpi();
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
            dpi.x > 0 ? 1440 / dpi.x : 15, dpi.y > 0 ? 1440 / dpi.y : 15};
}

}  // namespace platform
