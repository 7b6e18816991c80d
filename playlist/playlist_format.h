// The playlist file, byte for byte: UTF-8 without a byte-order mark, every
// line ended by CR LF, a count line, then one title line and one location
// line per row. Pure code: no windows.h, so it is tested and fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tunerolle {

// One row of the title list: the first column's text and the full path.
struct PlaylistRow {
    std::wstring title;
    std::wstring location;

    friend bool operator==(const PlaylistRow&, const PlaylistRow&) = default;
};

// A short file (count larger than the pairs it holds) gets empty rows for
// its missing lines, but never more than this many: a damaged count such as
// 2000000000 must not hang the program or eat its memory. A real playlist
// never relies on padding; it only shows that the file was cut short, and a
// thousand empty rows make that plain while costing next to nothing.
inline constexpr std::size_t kMaxPaddingRows = 1000;

// What the loader needs from a file.
struct DecodedPlaylist {
    // Value of the count line as read (may be 0 or negative). The loader shows
    // its success message when this is not 0, even if no row came out of it.
    std::int32_t count = 0;
    // Rows to show, in file order: the counted pairs, then the padding.
    std::vector<PlaylistRow> rows;
    // How many of the last rows are padding for lines missing at end of file.
    std::size_t paddedRows = 0;
};

// Text to bytes. Unpaired surrogates (or, with a 32-bit wchar_t, values that
// are no code point) become U+FFFD, as the system converter does.
void AppendUtf8(std::string& out, std::wstring_view text);
std::string Utf8FromWide(std::wstring_view text);

// Bytes to text. Each ill-formed sequence becomes one U+FFFD; code points
// above U+FFFF become surrogate pairs when wchar_t is 16 bits.
void AppendWideFromUtf8(std::wstring& out, std::string_view bytes);
std::wstring WideFromUtf8(std::string_view bytes);

// The whole file for these rows, in order. A CR, LF or NUL inside a text
// would split or cut its line and shift every row after it, so each one is
// written as a blank instead.
std::string EncodePlaylist(std::span<const PlaylistRow> rows);

// The same, piece by piece, for a writer that reports progress per row.
void AppendPlaylistCountLine(std::string& out, std::size_t rows);
void AppendPlaylistPair(std::string& out, std::wstring_view title, std::wstring_view location);

// A leading EF BB BF is dropped: editors like to add one, and our reader
// would otherwise see no number on the first line.
std::string_view SkipUtf8Bom(std::string_view bytes);

// Reads the line starting at pos and moves pos past its terminator (CR LF,
// LF alone or CR alone). A NUL ends the line's text: the bytes from the NUL
// up to the terminator are skipped. At the end of the bytes the result is
// empty and pos stays put.
std::string_view ReadPlaylistLine(std::string_view bytes, std::size_t& pos);

// The count line's number: blanks and tabs skipped, an optional sign, then
// digits up to the first other character, read in base 16 after "$" and in
// base 2 after "%". No digit gives 0. A value beyond 32 bits is held at the
// nearest limit, so a huge count still reads as "more than the file holds".
std::int32_t ParsePlaylistCount(std::string_view line);

// Bytes to rows: line 1 is the count, then exactly that many pairs are taken
// and anything after them is ignored. Pairs missing at the end of the bytes
// become empty rows, at most kMaxPaddingRows of them. One pass over the
// bytes and one allocation per text, so 100,000 titles take tens of
// milliseconds. The loader sizes its progress range on rows.size(), not on
// count, which may be far larger.
DecodedPlaylist DecodePlaylist(std::string_view bytes);

}  // namespace tunerolle
