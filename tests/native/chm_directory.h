// Reads the directory of a compiled HTML Help (.chm) file: the ITSF header,
// the ITSP directory header, its PMGL listing chunks, and the files stored
// uncompressed in section 0 (such as #SYSTEM). Every read is checked against
// the bytes held, so a cut or damaged file gives an error message, never a
// read past the end. All numbers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace chm {

using Bytes = std::span<const std::uint8_t>;

struct Entry {
    std::string name;  // UTF-8, "/index.html"
    std::uint64_t section = 0;
    std::uint64_t offset = 0;  // from the start of the section's data
    std::uint64_t length = 0;
};

struct Directory {
    std::uint64_t contentOffset = 0;  // where section 0's data starts in the file
    std::vector<Entry> entries;

    const Entry* Find(std::string_view name) const {
        for (const Entry& entry : entries)
            if (entry.name == name) return &entry;
        return nullptr;
    }
};

// Listing chunks hold 4 KiB in every file seen; anything far larger is damage.
inline constexpr std::uint32_t kMaxChunkSize = 1u << 20;

// True when [at, at + length) lies inside bytes, without overflowing.
inline bool Holds(Bytes bytes, std::uint64_t at, std::uint64_t length) {
    return at <= bytes.size() && length <= bytes.size() - at;
}

inline bool ReadU16(Bytes bytes, std::uint64_t at, std::uint16_t& value) {
    if (!Holds(bytes, at, 2)) return false;
    value = static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
    return true;
}

inline bool ReadU32(Bytes bytes, std::uint64_t at, std::uint32_t& value) {
    if (!Holds(bytes, at, 4)) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | bytes[at + i];
    return true;
}

inline bool ReadU64(Bytes bytes, std::uint64_t at, std::uint64_t& value) {
    if (!Holds(bytes, at, 8)) return false;
    value = 0;
    for (int i = 7; i >= 0; --i) value = value << 8 | bytes[at + i];
    return true;
}

inline bool HasSignature(Bytes bytes, std::uint64_t at, std::string_view signature) {
    if (!Holds(bytes, at, signature.size())) return false;
    for (std::size_t i = 0; i < signature.size(); ++i)
        if (bytes[at + i] != static_cast<std::uint8_t>(signature[i])) return false;
    return true;
}

// The directory's variable-length number: seven bits a byte, most
// significant first, the high bit set on every byte but the last.
inline bool ReadEncodedInt(Bytes bytes, std::uint64_t& pos, std::uint64_t end, std::uint64_t& value) {
    value = 0;
    while (pos < end) {
        if (value >> 57) return false;  // one more group would overflow
        const std::uint8_t byte = bytes[pos++];
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80)) return true;
    }
    return false;
}

namespace detail {
inline bool ReadListingChunk(Bytes chunk, std::uint32_t number, Directory& out, std::string& error) {
    const std::string where = "listing chunk " + std::to_string(number);
    if (!HasSignature(chunk, 0, "PMGL")) {
        error = where + " has no PMGL signature";
        return false;
    }
    constexpr std::uint64_t kEntriesStart = 0x14;
    std::uint32_t freeSpace = 0;
    ReadU32(chunk, 4, freeSpace);
    if (freeSpace > chunk.size() - kEntriesStart) {
        error = where + " claims more free space than it holds";
        return false;
    }
    const std::uint64_t end = chunk.size() - freeSpace;
    std::uint64_t pos = kEntriesStart;
    while (pos < end) {
        Entry entry;
        std::uint64_t nameLength = 0;
        if (!ReadEncodedInt(chunk, pos, end, nameLength) || nameLength > end - pos) {
            error = where + ": entry name runs past the entries";
            return false;
        }
        entry.name.assign(reinterpret_cast<const char*>(chunk.data() + pos), nameLength);
        pos += nameLength;
        if (!ReadEncodedInt(chunk, pos, end, entry.section) || !ReadEncodedInt(chunk, pos, end, entry.offset) ||
            !ReadEncodedInt(chunk, pos, end, entry.length)) {
            error = where + ": entry " + entry.name + " is cut short";
            return false;
        }
        out.entries.push_back(std::move(entry));
    }
    return true;
}
}  // namespace detail

inline bool ReadDirectory(Bytes file, Directory& out, std::string& error) {
    out = Directory{};
    std::uint32_t version = 0, headerLength = 0;
    if (!HasSignature(file, 0, "ITSF")) {
        error = "no ITSF signature";
        return false;
    }
    ReadU32(file, 4, version);
    ReadU32(file, 8, headerLength);
    // Version 3 adds the offset of section 0's data at 0x58.
    const std::uint32_t needed = version == 3 ? 0x60 : version == 2 ? 0x58 : 0;
    if (needed == 0) {
        error = "unknown ITSF version " + std::to_string(version);
        return false;
    }
    if (headerLength < needed || !Holds(file, 0, headerLength)) {
        error = "ITSF header cut short";
        return false;
    }
    std::uint64_t directoryOffset = 0, directoryLength = 0;
    ReadU64(file, 0x48, directoryOffset);
    ReadU64(file, 0x50, directoryLength);
    if (!Holds(file, directoryOffset, directoryLength)) {
        error = "directory lies past the end of the file";
        return false;
    }
    if (version == 3) {
        ReadU64(file, 0x58, out.contentOffset);
    } else {
        out.contentOffset = directoryOffset + directoryLength;
    }
    if (out.contentOffset > file.size()) {
        error = "section 0 starts past the end of the file";
        return false;
    }

    const Bytes directory = file.subspan(directoryOffset, directoryLength);
    if (!HasSignature(directory, 0, "ITSP")) {
        error = "no ITSP signature at the directory";
        return false;
    }
    std::uint32_t itspLength = 0, chunkSize = 0, firstListing = 0, chunkCount = 0;
    if (!ReadU32(directory, 0x08, itspLength) || !ReadU32(directory, 0x10, chunkSize) ||
        !ReadU32(directory, 0x20, firstListing) || !ReadU32(directory, 0x2C, chunkCount) || itspLength < 0x30 ||
        itspLength > directory.size()) {
        error = "ITSP header cut short";
        return false;
    }
    if (chunkSize < 0x14 || chunkSize > kMaxChunkSize) {
        error = "implausible chunk size " + std::to_string(chunkSize);
        return false;
    }
    if (chunkCount > (directory.size() - itspLength) / chunkSize) {
        error = "directory holds fewer chunks than its header counts";
        return false;
    }

    // Listing chunks are chained by their "next" field; a chain longer than
    // the chunk count can only be a loop.
    std::uint32_t chunk = firstListing;
    for (std::uint32_t visited = 0; chunk != 0xFFFFFFFF; ++visited) {
        if (chunk >= chunkCount) {
            error = "listing chunk " + std::to_string(chunk) + " is past the last chunk";
            return false;
        }
        if (visited == chunkCount) {
            error = "listing chunks are chained in a loop";
            return false;
        }
        const Bytes bytes = directory.subspan(itspLength + std::uint64_t{chunk} * chunkSize, chunkSize);
        if (!detail::ReadListingChunk(bytes, chunk, out, error)) return false;
        ReadU32(bytes, 0x10, chunk);
    }
    return true;
}

// The bytes of a file stored uncompressed in section 0.
inline bool Section0File(Bytes file, const Directory& directory, std::string_view name, Bytes& out,
                         std::string& error) {
    const Entry* entry = directory.Find(name);
    if (!entry) {
        error = std::string(name) + " is not in the directory";
        return false;
    }
    if (entry->section != 0) {
        error = std::string(name) + " is not stored in section 0";
        return false;
    }
    if (directory.contentOffset > file.size() || entry->offset > file.size() - directory.contentOffset ||
        !Holds(file, directory.contentOffset + entry->offset, entry->length)) {
        error = std::string(name) + " lies past the end of the file";
        return false;
    }
    out = file.subspan(directory.contentOffset + entry->offset, entry->length);
    return true;
}

// #SYSTEM: a 4-byte version, then records of code (2 bytes), length
// (2 bytes) and data.
struct SystemRecord {
    std::uint16_t code = 0;
    Bytes data;
};

inline bool ReadSystemRecords(Bytes system, std::vector<SystemRecord>& out, std::string& error) {
    out.clear();
    if (system.size() < 4) {
        error = "#SYSTEM has no version";
        return false;
    }
    std::uint64_t pos = 4;
    while (pos < system.size()) {
        SystemRecord record;
        std::uint16_t length = 0;
        if (!ReadU16(system, pos, record.code) || !ReadU16(system, pos + 2, length) ||
            !Holds(system, pos + 4, length)) {
            error = "#SYSTEM record at " + std::to_string(pos) + " is cut short";
            return false;
        }
        record.data = system.subspan(pos + 4, length);
        out.push_back(record);
        pos += 4 + length;
    }
    return true;
}

// A record's text, which ends at its first NUL.
inline std::string RecordText(Bytes data) {
    std::string text(reinterpret_cast<const char*>(data.data()), data.size());
    return text.substr(0, text.find('\0'));
}

}  // namespace chm
