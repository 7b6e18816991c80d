#include "playlist_format.h"

#include <algorithm>
#include <limits>

namespace tunerolle {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Writes cp at p (room for four bytes) and returns how many bytes it took.
std::size_t PutUtf8(char* p, char32_t cp) {
    if (cp < 0x80) {
        p[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        p[0] = static_cast<char>(0xC0 | (cp >> 6));
        p[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        p[0] = static_cast<char>(0xE0 | (cp >> 12));
        p[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        p[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    p[0] = static_cast<char>(0xF0 | (cp >> 18));
    p[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    p[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    p[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

void PutWide(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

bool IsLineBreaker(char32_t cp) { return cp == U'\r' || cp == U'\n' || cp == U'\0'; }

bool IsPrintableAscii(wchar_t c) { return static_cast<std::uint32_t>(c) - 0x20u < 0x60u; }

// lineSafe: the text goes on one line of the file, so CR, LF and NUL are
// written as blanks rather than breaking the file's structure.
void EncodeText(std::string& out, std::wstring_view text, bool lineSafe) {
    // Bytes gather in a small buffer and reach the string in chunks: a
    // 100,000-title save converts millions of characters, and a capacity
    // check per byte on the string would cost more than the conversion.
    char buffer[512];
    std::size_t used = 0;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // Printable ASCII, by far the most common, goes through in runs, as
        // far as the buffer has room.
        const std::size_t runEnd = std::min(n, i + (sizeof buffer - used));
        while (i < runEnd && IsPrintableAscii(text[i])) buffer[used++] = static_cast<char>(text[i++]);
        // Any other character takes up to four bytes.
        if (used > sizeof buffer - 4) {
            out.append(buffer, used);
            used = 0;
        }
        if (i == runEnd) continue;
        char32_t cp;
        if constexpr (sizeof(wchar_t) == 2) {
            const char32_t unit = static_cast<char16_t>(text[i]);
            cp = unit;
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < n) {
                const char32_t low = static_cast<char16_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
            if (cp >= 0xD800 && cp <= 0xDFFF) cp = kReplacement;
        } else {
            cp = static_cast<char32_t>(static_cast<std::uint32_t>(text[i]));
            if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
        }
        if (lineSafe && IsLineBreaker(cp)) cp = U' ';
        used += PutUtf8(buffer + used, cp);
        ++i;
    }
    out.append(buffer, used);
}

void AppendDecimal(std::string& out, std::size_t value) {
    char buffer[24];
    char* p = buffer + sizeof buffer;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(p, buffer + sizeof buffer);
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

}  // namespace

void AppendUtf8(std::string& out, std::wstring_view text) { EncodeText(out, text, false); }

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    AppendUtf8(out, text);
    return out;
}

void AppendWideFromUtf8(std::wstring& out, std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b0 = s[i];
        if (b0 < 0x80) {
            out.push_back(static_cast<wchar_t>(b0));
            ++i;
            continue;
        }
        // Lead byte: how many continuation bytes follow and the allowed range
        // of the first one (this shuts out overlong forms, surrogates and
        // values past U+10FFFF).
        int need;
        unsigned char lo = 0x80, hi = 0xBF;
        char32_t cp;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            need = 1; cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            need = 2; cp = b0 & 0x0F;
            if (b0 == 0xE0) lo = 0xA0;
            if (b0 == 0xED) hi = 0x9F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            need = 3; cp = b0 & 0x07;
            if (b0 == 0xF0) lo = 0x90;
            if (b0 == 0xF4) hi = 0x8F;
        } else {
            PutWide(out, kReplacement);
            ++i;
            continue;
        }
        std::size_t k = 1;
        for (; k <= static_cast<std::size_t>(need); ++k) {
            if (i + k >= n) break;
            const unsigned char b = s[i + k];
            if (b < lo || b > hi) break;
            cp = (cp << 6) | (b & 0x3F);
            lo = 0x80;
            hi = 0xBF;
        }
        if (k <= static_cast<std::size_t>(need)) {
            // One replacement for the broken start; the byte that broke it
            // is looked at again as a fresh start.
            PutWide(out, kReplacement);
            i += k;
        } else {
            PutWide(out, cp);
            i += k;
        }
    }
}

std::wstring WideFromUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    AppendWideFromUtf8(out, bytes);
    return out;
}

std::string EncodePlaylist(std::span<const PlaylistRow> rows) {
    std::size_t estimate = 16;
    for (const PlaylistRow& row : rows) estimate += row.title.size() + row.location.size() + 4;
    std::string out;
    out.reserve(estimate);
    AppendPlaylistCountLine(out, rows.size());
    for (const PlaylistRow& row : rows) AppendPlaylistPair(out, row.title, row.location);
    return out;
}

void AppendPlaylistCountLine(std::string& out, std::size_t rows) {
    AppendDecimal(out, rows);
    out += "\r\n";
}

void AppendPlaylistPair(std::string& out, std::wstring_view title, std::wstring_view location) {
    EncodeText(out, title, true);
    out += "\r\n";
    EncodeText(out, location, true);
    out += "\r\n";
}

std::string_view SkipUtf8Bom(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return bytes;
}

std::string_view ReadPlaylistLine(std::string_view bytes, std::size_t& pos) {
    const std::size_t n = bytes.size();
    if (pos >= n) return {};
    const std::size_t start = pos;
    std::size_t i = pos;
    while (i < n && bytes[i] != '\r' && bytes[i] != '\n' && bytes[i] != '\0') ++i;
    const std::string_view text = bytes.substr(start, i - start);
    while (i < n && bytes[i] != '\r' && bytes[i] != '\n') ++i;  // rest after a NUL
    if (i < n) {
        if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        ++i;
    }
    pos = i;
    return text;
}

std::int32_t ParsePlaylistCount(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < line.size() && line[i] == '$') {
        base = 16;
        ++i;
    } else if (i < line.size() && line[i] == '%') {
        base = 2;
        ++i;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; i < line.size(); ++i) {
        const int digit = DigitValue(line[i]);
        if (digit >= base) break;
        magnitude = std::min(magnitude * base + digit, limit);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

DecodedPlaylist DecodePlaylist(std::string_view bytes) {
    bytes = SkipUtf8Bom(bytes);
    DecodedPlaylist result;
    std::size_t pos = 0;
    result.count = ParsePlaylistCount(ReadPlaylistLine(bytes, pos));
    if (result.count <= 0) return result;

    const auto wanted = static_cast<std::size_t>(result.count);
    // Every pair read from the bytes uses at least two of them (one for the
    // last pair), so this never reserves for a count the file cannot back.
    result.rows.reserve(std::min(wanted, (bytes.size() - pos) / 2 + 1 + kMaxPaddingRows));
    for (std::size_t k = 0; k < wanted; ++k) {
        if (pos >= bytes.size()) {
            result.paddedRows = std::min(wanted - k, kMaxPaddingRows);
            result.rows.resize(result.rows.size() + result.paddedRows);
            break;
        }
        const std::string_view title = ReadPlaylistLine(bytes, pos);
        const std::string_view location = ReadPlaylistLine(bytes, pos);
        PlaylistRow& row = result.rows.emplace_back();
        row.title = WideFromUtf8(title);
        row.location = WideFromUtf8(location);
    }
    return result;
}

}  // namespace tunerolle
