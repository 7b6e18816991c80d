#pragma once
// 32-bit top-down DIB sections: pixels the program can write and read
// directly, four bytes (blue, green, red, alpha) a pixel, rows without padding.
#include <windows.h>

namespace gui {

inline HBITMAP CreateTopDownDib(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace gui
