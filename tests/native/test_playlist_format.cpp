#include "playlist_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

using namespace tunerolle;
using namespace std::string_literals;

namespace {

std::vector<std::string> AllLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t before = pos;
        lines.emplace_back(ReadPlaylistLine(bytes, pos));
        if (pos == before) {
            ADD_FAILURE() << "reader did not move";
            break;
        }
    }
    return lines;
}

// Readable names for the failure output.
std::string Show(std::string_view bytes) {
    std::string shown;
    for (const unsigned char c : bytes) {
        if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n";
        else if (c < 0x20 || c >= 0x7F) { char hex[8]; snprintf(hex, sizeof hex, "\\x%02X", c); shown += hex; }
        else shown += static_cast<char>(c);
    }
    return shown;
}

}  // namespace

TEST(Utf8, ConvertsBothWaysIncludingAccentsAndNonBmp) {
    struct Case { std::wstring wide; std::string utf8; };
    const Case cases[] = {
        {L"", ""},
        {L"a.mp3", "a.mp3"},
        {L"é", "\xC3\xA9"},
        {L"à ç", "\xC3\xA0 \xC3\xA7"},
        {L"€", "\xE2\x82\xAC"},
        {L"\U0001F3B5", "\xF0\x9F\x8E\xB5"},  // a surrogate pair when wchar_t is 16 bits
        {L"x\U00010000y\U0010FFFF", "x\xF0\x90\x80\x80y\xF4\x8F\xBF\xBF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8FromWide(c.wide), c.utf8) << Show(c.utf8);
        EXPECT_EQ(WideFromUtf8(c.utf8), c.wide) << Show(c.utf8);
    }
}

TEST(Utf8, IllFormedBytesBecomeReplacementCharacters) {
    struct Case { std::string utf8; std::wstring wide; };
    const Case cases[] = {
        {"\xE9t\xE9", L"\uFFFDt\uFFFD"},                // Latin-1 text
        {"\xC3", L"\uFFFD"},                            // cut at the end
        {"\xE2\x82" "A", L"\uFFFDA"},                   // cut in the middle: A survives
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                  // overlong
        {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},
        {"\xF0\x80\x80\xAF", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},        // encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"a\xF0\x9F\x8E", L"a\uFFFD"},
        {"\x80\xBF", L"\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) EXPECT_EQ(WideFromUtf8(c.utf8), c.wide) << Show(c.utf8);
}

TEST(Utf8, LoneSurrogatesAreWrittenAsReplacementCharacters) {
    std::wstring lone = L"a";
    lone += static_cast<wchar_t>(0xD800);
    lone += L'b';
    lone += static_cast<wchar_t>(0xDC00);
    EXPECT_EQ(Utf8FromWide(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(LineReader, SplitsAtEveryTerminatorAndKeepsBlanks) {
    struct Case { std::string bytes; std::vector<std::string> lines; };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"\n\n\n", {"", "", ""}},
        {"  x \t\r\n", {"  x \t"}},
        {"a\0junk\r\nb"s, {"a", "b"}},   // NUL ends the text, not the line
        {"\0\0\n\0"s, {"", ""}},
        {"\xC3\xA9t\xC3\xA9\r\n", {"\xC3\xA9t\xC3\xA9"}},
    };
    for (const Case& c : cases) EXPECT_EQ(AllLines(c.bytes), c.lines) << Show(c.bytes);
}

TEST(LineReader, AtTheEndGivesNothingAndStays) {
    const std::string bytes = "a";
    std::size_t pos = 0;
    EXPECT_EQ(ReadPlaylistLine(bytes, pos), "a");
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(ReadPlaylistLine(bytes, pos), "");
    EXPECT_EQ(pos, 1u);
}

TEST(CountLine, ReadsSignsBasesAndStopsAtTheFirstOtherCharacter) {
    struct Case { std::string line; std::int32_t value; };
    const Case cases[] = {
        {"3", 3},           {"0", 0},          {"007", 7},          {" \t 12", 12},
        {"+7", 7},          {"-4", -4},        {"12 titres", 12},   {"3\t", 3},
        {"$1F", 31},        {"$ff", 255},      {"-$10", -16},       {"$1g", 1},
        {"%101", 5},        {"%1021", 2},      {"-%11", -3},
        {"", 0},            {"abc", 0},        {"-", 0},            {"$", 0},
        {"%", 0},           {"$G", 0},         {"- 3", 0},          {"$-3", 0},
        {"\xEF\xBB\xBF" "5", 0},                // a mark here hides the number
        {"2147483647", INT32_MAX},   {"99999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},  {"-99999999999", INT32_MIN},
        {"$FFFFFFFF", INT32_MAX},    {"%11111111111111111111111111111111111", INT32_MAX},
    };
    for (const Case& c : cases) EXPECT_EQ(ParsePlaylistCount(c.line), c.value) << Show(c.line);
}

TEST(Encode, ThreeTitlesGiveExactlyTheCountLineAndSixLines) {
    const std::vector<PlaylistRow> rows = {
        {L"Été.mp3", L"C:\\Musique\\Été.mp3"},
        {L"à la française.wma", L"C:\\Musique\\à la française.wma"},
        {L"Leçon \U0001F3B5.mp3", L"D:\\Leçon \U0001F3B5.mp3"},
    };
    const std::string expected =
        "3\r\n"
        "\xC3\x89t\xC3\xA9.mp3\r\n"
        "C:\\Musique\\\xC3\x89t\xC3\xA9.mp3\r\n"
        "\xC3\xA0 la fran\xC3\xA7" "aise.wma\r\n"
        "C:\\Musique\\\xC3\xA0 la fran\xC3\xA7" "aise.wma\r\n"
        "Le\xC3\xA7on \xF0\x9F\x8E\xB5.mp3\r\n"
        "D:\\Le\xC3\xA7on \xF0\x9F\x8E\xB5.mp3\r\n";
    EXPECT_EQ(EncodePlaylist(rows), expected) << Show(EncodePlaylist(rows));
}

TEST(Encode, EmptyListAndEmptyTexts) {
    EXPECT_EQ(EncodePlaylist({}), "0\r\n");
    const std::vector<PlaylistRow> rows = {{L"", L""}, {L" a ", L""}};
    EXPECT_EQ(EncodePlaylist(rows), "2\r\n\r\n\r\n a \r\n\r\n");
}

TEST(Encode, LineBreaksInsideATextCannotShiftTheRows) {
    const std::vector<PlaylistRow> rows = {
        {L"a\r\nb", L"C:\\x\0y.mp3"s},
        {L"second", L"C:\\second.mp3"},
    };
    const std::string bytes = EncodePlaylist(rows);
    EXPECT_EQ(bytes, "2\r\na  b\r\nC:\\x y.mp3\r\nsecond\r\nC:\\second.mp3\r\n");
    const DecodedPlaylist back = DecodePlaylist(bytes);
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[1], rows[1]);
}

TEST(Codec, RoundTripKeepsEveryTextExactly) {
    std::vector<PlaylistRow> rows = {
        {L"Été à Noël.mp3", L"C:\\Musique\\Été à Noël.mp3"},
        {L"  garçon  ", L"\\\\serveur\\partage\\garçon.wma"},
        {L"", L""},
        {L"\U0001F3B5\U0001D11E", L"C:\\Clé\\\U0001F3B5.mp3"},
        {L"doublon", L"C:\\a.mp3"},
        {L"doublon", L"C:\\a.mp3"},  // the file may list a location twice
    };
    for (int i = 0; i < 200; ++i) rows.push_back({L"t" + std::to_wstring(i), L"C:\\m\\" + std::to_wstring(i) + L".mp3"});

    const DecodedPlaylist back = DecodePlaylist(EncodePlaylist(rows));
    EXPECT_EQ(back.count, static_cast<std::int32_t>(rows.size()));
    EXPECT_EQ(back.paddedRows, 0u);
    EXPECT_EQ(back.rows, rows);
}

TEST(Decode, FilesOfEveryShape) {
    using Rows = std::vector<PlaylistRow>;
    struct Case {
        const char* what;
        std::string bytes;
        std::int32_t count;
        Rows rows;
        std::size_t padded;
    };
    const Case cases[] = {
        {"plain", "2\r\na.mp3\r\nC:\\a.mp3\r\nb.wma\r\nC:\\b.wma\r\n", 2,
         {{L"a.mp3", L"C:\\a.mp3"}, {L"b.wma", L"C:\\b.wma"}}, 0},
        {"fewer pairs than the count", "3\r\na\r\nA\r\nb\r\nB\r\n", 3,
         {{L"a", L"A"}, {L"b", L"B"}, {L"", L""}}, 1},
        {"count line alone", "2\r\n", 2, {{L"", L""}, {L"", L""}}, 2},
        {"cut after a title", "2\r\na\r\nA\r\nb", 2, {{L"a", L"A"}, {L"b", L""}}, 0},
        {"negative count", "-4\r\na\r\nA\r\n", -4, {}, 0},
        {"zero", "0\r\na\r\nA\r\n", 0, {}, 0},
        {"no digits", "abc\r\na\r\nA\r\n", 0, {}, 0},
        {"empty file", "", 0, {}, 0},
        {"cleared over 12", "0\r\n\nx\r\nX\r\n", 0, {}, 0},
        {"old bytes after the counted pairs", "1\r\nnew\r\nC:\\new.mp3\r\nold\r\nC:\\old.mp3\r\n", 1,
         {{L"new", L"C:\\new.mp3"}}, 0},
        {"byte-order mark", "\xEF\xBB\xBF" "1\r\n\xC3\xA9\r\nC:\\\xC3\xA9.mp3\r\n", 1, {{L"é", L"C:\\é.mp3"}}, 0},
        {"mark only", "\xEF\xBB\xBF", 0, {}, 0},
        {"LF only", "2\na\nA\nb\nB", 2, {{L"a", L"A"}, {L"b", L"B"}}, 0},
        {"CR only", "2\ra\rA\rb\rB\r", 2, {{L"a", L"A"}, {L"b", L"B"}}, 0},
        {"NUL inside", "1\r\nab\0cd\r\nC:\\x.mp3\r\n"s, 1, {{L"ab", L"C:\\x.mp3"}}, 0},
        {"hex count", "$2\r\na\r\nA\r\nb\r\nB\r\nc\r\nC\r\n", 2, {{L"a", L"A"}, {L"b", L"B"}}, 0},
        {"binary count", "%10\r\na\r\nA\r\nb\r\nB\r\n", 2, {{L"a", L"A"}, {L"b", L"B"}}, 0},
        {"blanks kept", "1\r\n a \r\n\tC:\\x.mp3 \r\n", 1, {{L" a ", L"\tC:\\x.mp3 "}}, 0},
        {"not UTF-8", "1\r\n\xE9t\xE9\r\nC:\\x.mp3\r\n", 1, {{L"\uFFFDt\uFFFD", L"C:\\x.mp3"}}, 0},
    };
    for (const Case& c : cases) {
        const DecodedPlaylist decoded = DecodePlaylist(c.bytes);
        EXPECT_EQ(decoded.count, c.count) << c.what;
        EXPECT_EQ(decoded.rows, c.rows) << c.what;
        EXPECT_EQ(decoded.paddedRows, c.padded) << c.what;
    }
}

TEST(Decode, HugeCountIsPaddedOnlyUpToTheBound) {
    for (const std::string count : {"2000000000", "2147483647", "$7FFFFFFF", "99999999999999"}) {
        const DecodedPlaylist decoded = DecodePlaylist(count + "\r\na\r\nA\r\n");
        ASSERT_EQ(decoded.rows.size(), 1 + kMaxPaddingRows) << count;
        EXPECT_EQ(decoded.paddedRows, kMaxPaddingRows) << count;
        EXPECT_EQ(decoded.rows.front(), (PlaylistRow{L"a", L"A"})) << count;
        EXPECT_EQ(decoded.rows.back(), PlaylistRow{}) << count;
        // Nothing was set aside for the count itself.
        EXPECT_LE(decoded.rows.capacity(), 2 * kMaxPaddingRows) << count;
        EXPECT_GT(decoded.count, 1'000'000'000) << count;
    }
}

TEST(Decode, ManyTitlesAreAllRead) {
    std::vector<PlaylistRow> rows(100'000);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].title = L"Titre n°" + std::to_wstring(i) + L".mp3";
        rows[i].location = L"C:\\Musique\\Titre n°" + std::to_wstring(i) + L".mp3";
    }
    const DecodedPlaylist decoded = DecodePlaylist(EncodePlaylist(rows));
    EXPECT_EQ(decoded.count, 100'000);
    EXPECT_EQ(decoded.paddedRows, 0u);
    EXPECT_EQ(decoded.rows, rows);
}
