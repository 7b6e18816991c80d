#include "icon_catalogue.h"

#include "embedded_icons.h"

namespace tunerolle {
namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kDirectoryEntry = 16;
constexpr std::size_t kBitmapHeader = 40;  // BITMAPINFOHEADER

unsigned Read16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t Read32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
int Dimension(unsigned char stored) { return stored == 0 ? 256 : stored; }

// Checks that an image's bitmap header agrees with its directory entry and
// that every pixel and mask byte the system will read lies inside the entry's
// data. The system trusts the header, so a lying header would make it read
// past our data.
bool ImageDataSound(const unsigned char* data, const IcoEntry& entry) {
    if (entry.bytes < kBitmapHeader) return false;  // PNG images are never used here
    const unsigned char* h = data + entry.offset;
    std::uint32_t headerSize = Read32(h);
    auto width = static_cast<std::int32_t>(Read32(h + 4));
    auto height = static_cast<std::int32_t>(Read32(h + 8));
    unsigned planes = Read16(h + 12);
    unsigned bits = Read16(h + 14);
    std::uint32_t compression = Read32(h + 16);
    std::uint32_t coloursUsed = Read32(h + 32);

    if (headerSize < kBitmapHeader || headerSize > entry.bytes) return false;
    if (width != entry.width || height != 2 * entry.height) return false;  // XOR + AND halves
    if (planes != 1 || compression != BI_RGB) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

    // The system reads a colour table of biClrUsed entries even above 8 bits
    // per pixel; at 8 or fewer an empty count means the full table.
    std::uint64_t palette = coloursUsed;
    if (bits <= 8) {
        std::uint32_t most = 1u << bits;
        if (coloursUsed > most) return false;
        if (!coloursUsed) palette = most;
    }
    std::uint64_t w = static_cast<std::uint32_t>(width);
    std::uint64_t rows = static_cast<std::uint32_t>(entry.height);
    std::uint64_t colourStride = (w * bits + 31) / 32 * 4;
    std::uint64_t maskStride = (w + 31) / 32 * 4;
    std::uint64_t needed = headerSize + palette * 4 + (colourStride + maskStride) * rows;
    return needed <= entry.bytes;
}

int BitsOf(const IcoEntry& entry, const unsigned char* data) {
    if (entry.bitCount) return entry.bitCount;
    // Some writers leave the entry's count at 0; the image header knows.
    return entry.bytes >= kBitmapHeader ? static_cast<int>(Read16(data + entry.offset + 14)) : 0;
}

}  // namespace

std::vector<IcoEntry> ParseIcoDirectory(const unsigned char* data, std::size_t size) {
    if (!data || size < kDirectoryHeader) return {};
    if (Read16(data) != 0 || Read16(data + 2) != 1) return {};  // reserved, type icon
    std::size_t count = Read16(data + 4);
    if (count == 0 || size < kDirectoryHeader + count * kDirectoryEntry) return {};

    std::vector<IcoEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* e = data + kDirectoryHeader + i * kDirectoryEntry;
        IcoEntry entry;
        entry.width = Dimension(e[0]);
        entry.height = Dimension(e[1]);
        entry.colourCount = e[2];
        entry.planes = static_cast<int>(Read16(e + 4));
        entry.bitCount = static_cast<int>(Read16(e + 6));
        entry.bytes = Read32(e + 8);
        entry.offset = Read32(e + 12);
        // 64-bit sum: offset + bytes must not wrap around.
        if (entry.bytes == 0 || std::uint64_t{entry.offset} + entry.bytes > size) return {};
        entries.push_back(entry);
    }
    return entries;
}

int ChooseIcoImage(const std::vector<IcoEntry>& entries) {
    if (entries.empty()) return -1;
    int chosen = 0;
    for (int i = 1; i < static_cast<int>(entries.size()); ++i) {
        const IcoEntry& e = entries[i];
        if (e.width == entries[0].width && e.height == entries[0].height &&
            e.bitCount > entries[chosen].bitCount)
            chosen = i;
    }
    return chosen;
}

CatalogueIcon IconFromIcoData(const unsigned char* data, std::size_t size) {
    std::vector<IcoEntry> entries = ParseIcoDirectory(data, size);
    if (entries.empty()) return {};
    // Entries whose count was left at 0 are compared by their header's count.
    for (IcoEntry& e : entries) e.bitCount = BitsOf(e, data);
    int index = ChooseIcoImage(entries);
    const IcoEntry& entry = entries[index];
    if (!ImageDataSound(data, entry)) return {};

    CatalogueIcon icon;
    // The system only reads the bytes; its signature is older than const.
    icon.handle.reset(CreateIconFromResourceEx(const_cast<PBYTE>(data + entry.offset), entry.bytes,
                                               TRUE, 0x00030000, entry.width, entry.height,
                                               LR_DEFAULTCOLOR));
    if (icon.handle) {
        icon.width = entry.width;
        icon.height = entry.height;
    }
    return icon;
}

std::vector<EmbeddedIco> EmbeddedIcoFiles() {
    using namespace icons;
    return {
        {L"save", save_ico, save_ico_size},
        {L"quit", quit_ico, quit_ico_size},
        {L"clear", clear_ico, clear_ico_size},
        {L"open", open_ico, open_ico_size},
        {L"close", close_ico, close_ico_size},
        {L"help", help_ico, help_ico_size},
        {L"about", about_ico, about_ico_size},
        {L"add", add_ico, add_ico_size},
        {L"remove", remove_ico, remove_ico_size},
        {L"properties", properties_ico, properties_ico_size},
        {L"status", status_ico, status_ico_size},
        {L"delete", delete_ico, delete_ico_size},
        {L"mp3", mp3_ico, mp3_ico_size},
        {L"wma", wma_ico, wma_ico_size},
    };
}

ImageCatalogue LoadImageCatalogue() {
    using namespace icons;
    ImageCatalogue c;
    c.save = IconFromIcoData(save_ico, save_ico_size);
    c.quit = IconFromIcoData(quit_ico, quit_ico_size);
    c.clear = IconFromIcoData(clear_ico, clear_ico_size);
    c.open = IconFromIcoData(open_ico, open_ico_size);
    c.close = IconFromIcoData(close_ico, close_ico_size);
    c.help = IconFromIcoData(help_ico, help_ico_size);
    c.helpTitle = IconFromIcoData(help_ico, help_ico_size);
    c.about = IconFromIcoData(about_ico, about_ico_size);
    c.add = IconFromIcoData(add_ico, add_ico_size);
    c.remove = IconFromIcoData(remove_ico, remove_ico_size);
    c.properties = IconFromIcoData(properties_ico, properties_ico_size);
    c.status = IconFromIcoData(status_ico, status_ico_size);
    c.wastebasket = IconFromIcoData(delete_ico, delete_ico_size);
    c.mp3 = IconFromIcoData(mp3_ico, mp3_ico_size);
    c.wma = IconFromIcoData(wma_ico, wma_ico_size);
    return c;
}

}  // namespace tunerolle
