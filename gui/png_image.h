#pragma once
// PNG pictures held in memory, decoded with libpng into bitmaps the controls
// can draw; and the reverse, for screenshots.
#include <windows.h>

#include <cstddef>
#include <string>

#include "handles.h"

namespace gui {

// A 32-bit top-down DIB section of the picture's size (any PNG colour type,
// expanded to 8-bit channels), or an empty owner when the bytes are not a
// PNG libpng can read.
unique_gdi<HBITMAP> DecodePng(const unsigned char* data, size_t size);

// Writes top-down BGRA pixels (4 bytes a pixel, no padding) as an 8-bit RGB
// PNG. Returns false when the file cannot be written.
bool SavePng(const std::wstring& path, int width, int height, const unsigned char* bgra);

}  // namespace gui
