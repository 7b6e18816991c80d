// The embedded ICO files and their reader: directory layout, the choice of
// image, icon handles at their own size, and malformed data refused safely.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "handles.h"
#include "icon_catalogue.h"

using namespace tunerolle;

namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, unsigned v) { b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void Put32(Bytes& b, uint32_t v) {
    b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}
void Set16(Bytes& b, size_t at, unsigned v) { b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8); }
void Set32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
unsigned Get16(const unsigned char* p) { return p[0] | p[1] << 8; }
uint32_t Get32(const unsigned char* p) { return Get16(p) | uint32_t(Get16(p + 2)) << 16; }

uint32_t ImageBytes(int size, int bits) {
    uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
    uint32_t colourStride = (size * bits + 31) / 32 * 4;
    uint32_t maskStride = (size + 31) / 32 * 4;
    return 40 + palette + (colourStride + maskStride) * size;
}

struct ImageShape {
    int size;
    int bits;
};
// A well-formed icon file; every image is opaque and of one colour: 32-bit
// images green, the others red (palette entry 0 or the pixels themselves).
Bytes MakeIco(const std::vector<ImageShape>& images) {
    Bytes b;
    Put16(b, 0);
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const ImageShape& i : images) {
        b.insert(b.end(), {uint8_t(i.size), uint8_t(i.size), 0, 0});
        Put16(b, 1);
        Put16(b, i.bits);
        Put32(b, ImageBytes(i.size, i.bits));
        Put32(b, offset);
        offset += ImageBytes(i.size, i.bits);
    }
    for (const ImageShape& i : images) {
        Put32(b, 40);
        Put32(b, i.size);
        Put32(b, 2 * i.size);
        Put16(b, 1);
        Put16(b, i.bits);
        for (int k = 0; k < 6; ++k) Put32(b, 0);
        if (i.bits <= 8) {
            Put32(b, 0x00FF0000);  // entry 0: red
            for (int k = 1; k < (1 << i.bits); ++k) Put32(b, 0);
        }
        uint32_t colourStride = (i.size * i.bits + 31) / 32 * 4;
        for (int y = 0; y < i.size; ++y) {
            Bytes row(colourStride, 0);
            for (int x = 0; x < i.size; ++x) {
                if (i.bits == 32) Set32(row, x * 4, 0xFF00FF00);
                if (i.bits == 24) row[x * 3 + 2] = 0xFF;
                if (i.bits == 16) Set16(row, x * 2, 0x7C00);
            }
            b.insert(b.end(), row.begin(), row.end());
        }
        b.insert(b.end(), (i.size + 31) / 32 * 4 * i.size, 0);  // mask: all opaque
    }
    return b;
}

CatalogueIcon IconOf(const Bytes& b) { return IconFromIcoData(b.data(), b.size()); }

// The colour an icon shows at its centre, drawn on white.
COLORREF CentreColour(const CatalogueIcon& icon) {
    gui::window_dc screen(nullptr);
    HDC mem = CreateCompatibleDC(screen.get());
    gui::unique_gdi<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), icon.width, icon.height));
    COLORREF c;
    {
        gui::select_object selected(mem, bitmap.get());
        RECT all{0, 0, icon.width, icon.height};
        FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIconEx(mem, 0, 0, icon.handle.get(), icon.width, icon.height, 0, nullptr, DI_NORMAL);
        c = GetPixel(mem, icon.width / 2, icon.height / 2);
    }
    DeleteDC(mem);
    return c;
}

SIZE ColourBitmapSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {};
    gui::unique_gdi<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectW(colour.get(), sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

}  // namespace

TEST(IconCatalogue, EmbeddedFilesHoldTheirImagesAsDescribed) {
    std::vector<EmbeddedIco> files = EmbeddedIcoFiles();
    ASSERT_EQ(files.size(), 14u);
    for (const EmbeddedIco& file : files) {
        std::wstring name = file.name;
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        std::vector<IcoEntry> entries = ParseIcoDirectory(file.data, file.size);
        std::vector<int> sizes = name == L"clear" ? std::vector<int>{24, 16} : std::vector<int>{16};
        ASSERT_EQ(entries.size(), sizes.size());
        if (name != L"clear") {
            EXPECT_EQ(file.size, 1150u);
        }

        uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            const IcoEntry& e = entries[i];
            int s = sizes[i];
            EXPECT_EQ(e.width, s);
            EXPECT_EQ(e.height, s);
            EXPECT_EQ(e.colourCount, 0);
            EXPECT_EQ(e.planes, 1);
            EXPECT_EQ(e.bitCount, 32);
            EXPECT_EQ(e.bytes, ImageBytes(s, 32));  // header, BGRA pixels, 1-bit mask
            EXPECT_EQ(e.offset, offset);
            offset += e.bytes;

            const unsigned char* h = file.data + e.offset;
            EXPECT_EQ(Get32(h), 40u);
            EXPECT_EQ(Get32(h + 4), uint32_t(s));
            EXPECT_EQ(Get32(h + 8), uint32_t(2 * s));
            EXPECT_EQ(Get16(h + 12), 1u);
            EXPECT_EQ(Get16(h + 14), 32u);
            EXPECT_EQ(Get32(h + 16), uint32_t(BI_RGB));
            // Something is drawn: some pixels are opaque, some are not.
            int opaque = 0;
            for (int p = 0; p < s * s; ++p) opaque += h[40 + p * 4 + 3] > 128;
            EXPECT_GT(opaque, s);
            EXPECT_LT(opaque, s * s);
        }
        EXPECT_EQ(file.size, offset);
    }
}

TEST(IconCatalogue, LoadsEveryIconAtItsOwnSize) {
    ImageCatalogue c = LoadImageCatalogue();
    const CatalogueIcon* all[] = {&c.save,  &c.quit,       &c.clear,  &c.open,        &c.close,
                                  &c.help,  &c.helpTitle,  &c.about,  &c.add,         &c.remove,
                                  &c.properties, &c.status, &c.wastebasket, &c.mp3, &c.wma};
    for (const CatalogueIcon* icon : all) {
        ASSERT_TRUE(icon->handle);
        int expected = icon == &c.clear ? 24 : 16;
        EXPECT_EQ(icon->width, expected);
        EXPECT_EQ(icon->height, expected);
        SIZE made = ColourBitmapSize(icon->handle.get());
        EXPECT_EQ(made.cx, expected);
        EXPECT_EQ(made.cy, expected);
        IconRef ref = icon->ref();
        EXPECT_EQ(ref.handle, icon->handle.get());
        EXPECT_EQ(ref.width, expected);
    }
    EXPECT_NE(c.help.handle.get(), c.helpTitle.handle.get()) << "two copies of the help icon";
}

TEST(IconCatalogue, ChoosesMostBitsAmongEntriesOfTheFirstSize) {
    auto entry = [](int size, int bits) { return IcoEntry{size, size, 0, 1, bits, 100, 100}; };
    struct Case {
        std::vector<IcoEntry> entries;
        int chosen;
    } cases[] = {
        {{}, -1},
        {{entry(16, 32)}, 0},
        {{entry(24, 32), entry(16, 32)}, 0},
        {{entry(16, 8), entry(16, 32)}, 1},
        {{entry(16, 8), entry(24, 32), entry(16, 24)}, 2},
        {{entry(16, 32), entry(16, 32)}, 0},
        {{entry(16, 4), entry(32, 32), entry(48, 32)}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseIcoImage(c.entries), c.chosen) << "with " << c.entries.size() << " entries";
}

TEST(IconCatalogue, BuildsTheChosenImageOfWellFormedFiles) {
    const COLORREF green = RGB(0, 255, 0), red = RGB(255, 0, 0);
    struct Case {
        std::vector<ImageShape> images;
        int size;
        COLORREF centre;
    } cases[] = {
        {{{16, 32}}, 16, green},
        {{{24, 32}, {16, 32}}, 24, green},            // the eraser's arrangement
        {{{16, 8}, {16, 32}, {32, 32}}, 16, green},   // deeper image of the first size
        {{{16, 32}, {16, 8}}, 16, green},
        {{{16, 1}}, 16, red},
        {{{16, 4}}, 16, red},
        {{{32, 8}}, 32, red},
        {{{16, 24}}, 16, red},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.images.size() << " images, first " << c.images[0].size
                                          << "/" << c.images[0].bits);
        CatalogueIcon icon = IconOf(MakeIco(c.images));
        ASSERT_TRUE(icon.handle);
        EXPECT_EQ(icon.width, c.size);
        EXPECT_EQ(icon.height, c.size);
        EXPECT_EQ(CentreColour(icon), c.centre);
    }
}

TEST(IconCatalogue, RefusesMalformedDataWithoutReadingPastIt) {
    const Bytes good = MakeIco({{16, 32}});
    ASSERT_TRUE(IconOf(good).handle);
    const size_t entry = 6, image = 22;  // directory entry and bitmap header
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    } cases[] = {
        {"reserved field set", [](Bytes& b) { Set16(b, 0, 1); }},
        {"cursor, not icon", [](Bytes& b) { Set16(b, 2, 2); }},
        {"no images", [](Bytes& b) { Set16(b, 4, 0); }},
        {"directory longer than the file", [](Bytes& b) { Set16(b, 4, 200); }},
        {"image of no bytes", [&](Bytes& b) { Set32(b, entry + 8, 0); }},
        {"image past the end", [&](Bytes& b) { Set32(b, entry + 12, 1000); }},
        {"offset wraps around", [&](Bytes& b) { Set32(b, entry + 12, 0xFFFFFFF0u); }},
        {"size wraps around", [&](Bytes& b) { Set32(b, entry + 8, 0xFFFFFFF0u); }},
        {"too small for a header", [&](Bytes& b) { Set32(b, entry + 8, 39); }},
        {"header size 0", [&](Bytes& b) { Set32(b, image, 0); }},
        {"header size past the image", [&](Bytes& b) { Set32(b, image, 5000); }},
        {"header wider than the entry", [&](Bytes& b) { Set32(b, image + 4, 256); }},
        {"header taller than the entry", [&](Bytes& b) { Set32(b, image + 8, 512); }},
        {"negative height", [&](Bytes& b) { Set32(b, image + 8, uint32_t(-32)); }},
        {"entry says 256 wide", [&](Bytes& b) { b[entry] = 0; }},
        {"no bits per pixel", [&](Bytes& b) { Set16(b, image + 14, 0); }},
        {"7 bits per pixel", [&](Bytes& b) { Set16(b, image + 14, 7); }},
        {"two planes", [&](Bytes& b) { Set16(b, image + 12, 2); }},
        {"compressed", [&](Bytes& b) { Set32(b, image + 16, BI_BITFIELDS); }},
        {"pixels cut short", [&](Bytes& b) { Set32(b, entry + 8, 1000); }},
        {"mask cut short", [&](Bytes& b) { Set32(b, entry + 8, 1127); }},
        {"lying palette", [&](Bytes& b) {
             Set16(b, image + 14, 8);
             Set16(b, entry + 6, 8);
             Set32(b, image + 32, 300);
         }},
        {"colour table the 32-bit image lacks",
         [&](Bytes& b) { Set32(b, image + 32, 16); }},
    };
    for (const Case& c : cases) {
        Bytes spoilt = good;
        c.spoil(spoilt);
        CatalogueIcon icon = IconOf(spoilt);
        EXPECT_FALSE(icon.handle) << c.what;
        EXPECT_EQ(icon.width, 0) << c.what;
    }

    // Every truncation of a one-image and a two-image file.
    for (const Bytes& whole : {good, MakeIco({{24, 32}, {16, 32}})}) {
        for (size_t n = 0; n < whole.size(); ++n) {
            Bytes cut(whole.begin(), whole.begin() + n);
            if (IconOf(cut).handle) ADD_FAILURE() << "accepted " << n << " of " << whole.size();
        }
    }
    EXPECT_FALSE(IconFromIcoData(nullptr, 1150).handle);
}
