// Any bytes may come in as a playlist file (files are edited by hand, cut
// short, saved in other encodings). The reader must survive them all, stay
// within its padding bound, and whatever it reads must be saved and read
// back unchanged.
#include "playlist_format.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tunerolle;

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "playlist reader invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DecodedPlaylist first = DecodePlaylist(bytes);

    // Rows come only from a positive count, never beyond it, and padding
    // stays bounded: the count line alone can't make the reader grow.
    Check(first.count > 0 || first.rows.empty(), "rows without a positive count");
    Check(first.rows.size() <= static_cast<std::size_t>(first.count > 0 ? first.count : 0), "more rows than counted");
    Check(first.paddedRows <= kMaxPaddingRows, "padding past its bound");
    Check(first.paddedRows <= first.rows.size(), "padding larger than the rows");
    Check(first.rows.size() - first.paddedRows <= size / 2 + 1, "more real rows than the bytes can hold");
    if (first.count > 0 && first.rows.size() < static_cast<std::size_t>(first.count)) {
        Check(first.paddedRows == kMaxPaddingRows, "rows lost short of the count");
    }
    for (std::size_t i = first.rows.size() - first.paddedRows; i < first.rows.size(); ++i) {
        Check(first.rows[i].title.empty() && first.rows[i].location.empty(), "padding row with text");
    }

    // Saving what was read and reading it again gives the same rows, with a
    // plain decimal count, no mark and CR LF after every line.
    const std::string saved = EncodePlaylist(first.rows);
    Check(saved.size() >= 3 && saved.compare(saved.size() - 2, 2, "\r\n") == 0, "saved file not ended by CR LF");
    Check(saved[0] >= '0' && saved[0] <= '9', "saved file does not start with its count");
    Check(saved.find('\0') == std::string::npos, "NUL in a saved file");
    std::size_t crlf = 0;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] == '\n') Check(i > 0 && saved[i - 1] == '\r', "LF without CR in a saved file");
        if (saved[i] == '\r') {
            Check(i + 1 < saved.size() && saved[i + 1] == '\n', "CR without LF in a saved file");
            ++crlf;
        }
    }
    Check(crlf == 1 + 2 * first.rows.size(), "saved file has the wrong number of lines");

    const DecodedPlaylist second = DecodePlaylist(saved);
    Check(second.count == static_cast<std::int32_t>(first.rows.size()), "count not kept");
    Check(second.paddedRows == 0, "a saved file needed padding");
    Check(second.rows == first.rows, "rows changed by a save");
    Check(EncodePlaylist(second.rows) == saved, "second save differs");
    return 0;
}
