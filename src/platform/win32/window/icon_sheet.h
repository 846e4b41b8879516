// Icons side by side in a bitmap of premultiplied colours, each drawn with one blend. Wine's
// image lists make and free a bitmap or two for every icon they draw, which costs more than
// drawing the rest of a page of list rows.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/win32/unique_handle.h"

namespace platform::win32 {

class IconSheet {
  public:
    // Icons of `size` pixels square; an icon without an alpha channel is as clear as its mask.
    IconSheet(const std::vector<HICON>& icons, int size);
    // Icon from 0, as given; no wider than `width`, cut on its right.
    void Draw(HDC dc, int icon, POINT at, int width) const;

  private:
    int size_;
    UniqueGdiObject bitmap_;
    UniqueMemoryDc dc_;  // holds the bitmap; freed first
};

}  // namespace platform::win32
