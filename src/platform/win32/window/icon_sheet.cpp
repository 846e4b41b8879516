#include "platform/win32/window/icon_sheet.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform::win32 {
namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A bitmap's pixels as 32-bit BGRA, top row first; none for no bitmap.
std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int size) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    BITMAPINFO info = TopDown32(size, size);
    const UniqueScreenDc screen = GetScreenDc();
    if (bitmap && screen)
        ::GetDIBits(screen.get(), bitmap, 0, size, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

// An icon's pixels with their colours multiplied by their alpha, as the blend wants them. An
// icon of another size is read from a copy scaled to `size`.
std::vector<std::uint32_t> PremultipliedPixels(HICON icon, int size, bool mayScale = true) {
    ICONINFO parts = {};
    if (!::GetIconInfo(icon, &parts)) return Pixels(nullptr, size);
    const UniqueGdiObject color(parts.hbmColor), mask(parts.hbmMask);
    BITMAP bitmap = {};
    if (mayScale && parts.hbmColor && ::GetObjectW(parts.hbmColor, sizeof bitmap, &bitmap) &&
        bitmap.bmWidth != size) {
        const UniqueIcon scaled(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, size, size, 0)));
        if (scaled) return PremultipliedPixels(scaled.get(), size, false);
    }
    std::vector<std::uint32_t> pixels = Pixels(parts.hbmColor, size);
    const std::vector<std::uint32_t> clear = Pixels(parts.hbmMask, size);
    const bool hasAlpha = std::any_of(pixels.begin(), pixels.end(), [](auto p) { return p >> 24; });
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t alpha = hasAlpha ? pixels[i] >> 24 : (clear[i] & 0xFFFFFF) ? 0 : 255;
        std::uint32_t premultiplied = alpha << 24;
        for (int shift = 0; shift < 24; shift += 8)
            premultiplied |= ((pixels[i] >> shift & 0xFF) * alpha / 255) << shift;
        pixels[i] = premultiplied;
    }
    return pixels;
}

}  // namespace

IconSheet::IconSheet(const std::vector<HICON>& icons, int size)
    : size_(size), dc_(::CreateCompatibleDC(nullptr)) {
    const int width = size * static_cast<int>(icons.size());
    BITMAPINFO info = TopDown32(width, size);
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !dc_) return;
    auto* sheet = static_cast<std::uint32_t*>(bits);
    for (std::size_t icon = 0; icon < icons.size(); ++icon) {
        const std::vector<std::uint32_t> pixels = PremultipliedPixels(icons[icon], size);
        for (int row = 0; row < size; ++row)
            std::memcpy(sheet + row * width + icon * size, pixels.data() + row * size,
                        size * sizeof(std::uint32_t));
    }
    ::SelectObject(dc_.get(), bitmap_.get());
}

void IconSheet::Draw(HDC dc, int icon, POINT at, int width) const {
    const int shown = std::min(width, size_);
    if (shown <= 0) return;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, at.x, at.y, shown, size_, dc_.get(), icon * size_, 0, shown, size_, blend);
}

}  // namespace platform::win32
