#include "png_image.h"

#include "dib.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace gui {
namespace {
// Larger pictures than this are refused rather than allocated.
constexpr png_uint_32 kMaxSide = 8192;

struct MemoryReader {
    const unsigned char* data;
    size_t size;
    size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->offset) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->offset, count);
    reader->offset += count;
}

// libpng reports errors by longjmp; nothing is printed.
void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Ignore(png_structp, png_const_charp) {}

// Everything here is plain data: a longjmp out of libpng must not skip a
// destructor. The bitmap lives in `*bitmap` (memory, not a register) so the
// error path can delete it.
bool ReadInto(png_structp png, png_infop info, MemoryReader* reader, HBITMAP* bitmap) {
    if (setjmp(png_jmpbuf(png))) {
        if (*bitmap) DeleteObject(*bitmap);
        *bitmap = nullptr;
        return false;
    }
    png_set_read_fn(png, reader, ReadFromMemory);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colour = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colour, nullptr, nullptr, nullptr);
    // Whatever the stored form, rows arrive as 8-bit B, G, R, A.
    png_set_expand(png);
    png_set_strip_16(png);
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != width * 4) png_error(png, "unexpected row size");

    void* bits = nullptr;
    *bitmap = CreateTopDownDib(static_cast<int>(width), static_cast<int>(height), &bits);
    if (!*bitmap || !bits) png_error(png, "no bitmap");

    auto* pixels = static_cast<png_bytep>(bits);
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, pixels + size_t{y} * width * 4, nullptr);
    }
    png_read_end(png, nullptr);
    return true;
}

bool WriteFrom(png_structp png, png_infop info, FILE* file, int width, int height,
               const unsigned char* bgra) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);  // drops the fourth byte
    for (int y = 0; y < height; ++y) {
        png_write_row(png, const_cast<png_bytep>(bgra + size_t(y) * size_t(width) * 4));
    }
    png_write_end(png, nullptr);
    return true;
}
}  // namespace

unique_gdi<HBITMAP> DecodePng(const unsigned char* data, size_t size) {
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return {};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Ignore);
    if (!png) return {};
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{data, size, 8};
    HBITMAP bitmap = nullptr;
    if (info) ReadInto(png, info, &reader, &bitmap);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return unique_gdi<HBITMAP>(bitmap);
}

bool SavePng(const std::wstring& path, int width, int height, const unsigned char* bgra) {
    if (width <= 0 || height <= 0 || !bgra) return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"wb"), &std::fclose);
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Ignore);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && WriteFrom(png, info, file.get(), width, height, bgra);
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    ok = (std::fclose(file.release()) == 0) && ok;
    if (!ok) _wremove(path.c_str());
    return ok;
}

}  // namespace gui
