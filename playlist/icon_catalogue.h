// The playlist manager's pictures: complete ICO files embedded in the
// program's data, turned into icon handles once at start.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "handles.h"

namespace tunerolle {

// One row of an ICO directory, as stored (width and height 0 mean 256).
struct IcoEntry {
    int width = 0;
    int height = 0;
    int colourCount = 0;
    int planes = 0;
    int bitCount = 0;
    std::uint32_t bytes = 0;   // size of the image data
    std::uint32_t offset = 0;  // from the start of the file
};

// Reads the directory of an ICO file held in memory. Empty when the header is
// not an icon directory or when any entry points outside the data.
std::vector<IcoEntry> ParseIcoDirectory(const unsigned char* data, std::size_t size);

// The image to use: the most bits per pixel among the entries that have the
// first entry's size (the first such on a tie). -1 when there is none.
int ChooseIcoImage(const std::vector<IcoEntry>& entries);

// An icon handle with the size it is drawn at. Not owning: buttons and menus
// borrow the catalogue's icons.
struct IconRef {
    HICON handle = nullptr;
    int width = 0;
    int height = 0;
};

struct CatalogueIcon {
    gui::unique_hicon handle;
    int width = 0;
    int height = 0;
    IconRef ref() const { return {handle.get(), width, height}; }
};

// Builds the icon chosen by ChooseIcoImage at its own size. An empty icon
// (null handle) when the data is malformed: the picture is simply missing.
CatalogueIcon IconFromIcoData(const unsigned char* data, std::size_t size);

struct ImageCatalogue {
    CatalogueIcon save;
    CatalogueIcon quit;
    CatalogueIcon clear;  // 24x24: the eraser's file also holds a 16x16 image
    CatalogueIcon open;
    CatalogueIcon close;
    CatalogueIcon help;
    CatalogueIcon helpTitle;  // second copy of the help icon, for its tooltip
    CatalogueIcon about;
    CatalogueIcon add;
    CatalogueIcon remove;
    CatalogueIcon properties;
    CatalogueIcon status;
    CatalogueIcon wastebasket;  // the delete icon
    CatalogueIcon mp3;
    CatalogueIcon wma;
};

// The embedded ICO files, in the catalogue's order (for tests and tools).
struct EmbeddedIco {
    const wchar_t* name;
    const unsigned char* data;
    std::size_t size;
};
std::vector<EmbeddedIco> EmbeddedIcoFiles();

// Built once at start, before the main window opens.
ImageCatalogue LoadImageCatalogue();

}  // namespace tunerolle
