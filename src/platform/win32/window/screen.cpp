// The screen's size and dots per inch, and the fonts drawn at them.
#include <map>
#include <tuple>
#include <utility>

#include "platform/win32/unique_handle.h"
#include "platform/win32/window/window_internal.h"

namespace platform {
namespace {

using win32::FormData;

constexpr int kDefaultDpi = 96;

}  // namespace

namespace win32 {

// The system's dots per inch stay as they are for the life of the process; ask once.
POINT ScreenDpi() {
    static const POINT dpi = [] {
        const win32::UniqueScreenDc dc = win32::GetScreenDc();
        if (!dc) return POINT{kDefaultDpi, kDefaultDpi};
        return POINT{::GetDeviceCaps(dc.get(), LOGPIXELSX), ::GetDeviceCaps(dc.get(), LOGPIXELSY)};
    }();
    return dpi;
}

// One font per size, weight and density, shared by every control that shows it, for the
// life of the process. Null when the system has none to give.
HFONT SharedFont(int pointSize, bool bold, int dpi) {
    static std::map<std::tuple<int, bool, int>, win32::UniqueFont> fonts;
    win32::UniqueFont& font = fonts[{pointSize, bold, dpi}];
    if (!font)
        font.reset(::CreateFontW(-::MulDiv(pointSize, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                                 FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                 L"MS Shell Dlg"));
    return font.get();
}

}  // namespace win32

// At the density of the control's form, which may have moved to another screen.
void SetFont(Hwnd control, int pointSize, bool bold) {
    const FormData* form = win32::FormDataOf(::GetParent(win32::H(control)));
    HFONT font = win32::SharedFont(pointSize, bold, form ? form->dpi : win32::ScreenDpi().y);
    if (!font) return;  // the control keeps the font it has
    win32::Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

ScreenMetrics GetScreenMetrics() {
    const POINT dpi = win32::ScreenDpi();
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
            dpi.x > 0 ? 1440 / dpi.x : 15, dpi.y > 0 ? 1440 / dpi.y : 15};
}

}  // namespace platform
