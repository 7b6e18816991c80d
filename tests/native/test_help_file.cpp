// The compiled help file, checked against its project in the source tree,
// and the small CHM reader those checks rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "chm_directory.h"

namespace {

// ---------------------------------------------------------------------------
// The project (.hhp): which files it brings in and its main options.

struct HelpProject {
    std::vector<std::string> files;  // [FILES], then the contents and index files
    std::string contentsFile;
    std::string indexFile;
    std::string defaultTopic;
    std::string title;
    std::string language;
};

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

HelpProject ParseProject(std::string_view text) {
    HelpProject project;
    std::string section;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = Lower(line.substr(1, line.size() - 2));
        } else if (section == "options") {
            const auto equals = line.find('=');
            if (equals == std::string::npos) continue;
            const std::string key = Lower(Trim(line.substr(0, equals)));
            const std::string value = Trim(line.substr(equals + 1));
            if (key == "contents file") project.contentsFile = value;
            if (key == "index file") project.indexFile = value;
            if (key == "default topic") project.defaultTopic = value;
            if (key == "title") project.title = value;
            if (key == "language") project.language = value;
        } else if (section == "files") {
            std::string name = line;
            for (char& c : name)
                if (c == '\\') c = '/';
            project.files.push_back(name);
        }
    }
    for (const std::string& extra : {project.contentsFile, project.indexFile})
        if (!extra.empty()) project.files.push_back(extra);
    return project;
}

TEST(HelpProjectReader, TakesFilesAndOptionsAsTheCompilerDoes) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> files;
        std::string defaultTopic;
        std::string title;
    };
    const std::vector<Case> cases = {
        {"CR LF lines, blanks and comments",
         "[OPTIONS]\r\nDefault topic=a.html\r\nTitle=Aide\r\n\r\n[FILES]\r\n; a comment\r\n a.html \r\n\r\nb.css\r\n",
         {"a.html", "b.css"}, "a.html", "Aide"},
        {"keys in any case, blanks around '='",
         "[options]\nDEFAULT TOPIC = x.htm\nContents File=t.hhc\nindex file=k.hhk\n[files]\nx.htm\n",
         {"x.htm", "t.hhc", "k.hhk"}, "x.htm", ""},
        {"the list ends at the next section; sub-folders use '/'",
         "[FILES]\npages\\one.html\n[WINDOWS]\nmain=\"Aide\",,,\n[OPTIONS]\nTitle=T\n",
         {"pages/one.html"}, "", "T"},
        {"an option line without '=' is ignored", "[OPTIONS]\nBinary Index\nTitle=T=2\n", {}, "", "T=2"},
    };
    for (const Case& c : cases) {
        const HelpProject project = ParseProject(c.text);
        EXPECT_EQ(project.files, c.files) << c.what;
        EXPECT_EQ(project.defaultTopic, c.defaultTopic) << c.what;
        EXPECT_EQ(project.title, c.title) << c.what;
    }
}

// Texts the help viewer shows come out of the file in Windows-1252, the code
// page of a French help file; the sources are UTF-8. Only the Latin-1 letters
// are needed here; anything else fails the conversion.
bool Windows1252FromUtf8(std::string_view utf8, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if ((byte & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            const unsigned code = (byte & 0x1Fu) << 6 | (next & 0x3Fu);
            if ((next & 0xC0) != 0x80 || code < 0xA0 || code > 0xFF) return false;
            out += static_cast<char>(code);
        } else {
            return false;
        }
    }
    return true;
}

TEST(HelpProjectReader, ConvertsLatinLettersToTheViewersCodePage) {
    std::string out;
    ASSERT_TRUE(Windows1252FromUtf8("Média à Noël", out));
    EXPECT_EQ(out, "M\xE9" "dia \xE0 No\xEB" "l");
    EXPECT_FALSE(Windows1252FromUtf8("\xE2\x86\x92", out));  // an arrow has no Windows-1252 byte
    EXPECT_FALSE(Windows1252FromUtf8("\xC3", out));          // cut sequence
}

// ---------------------------------------------------------------------------
// The reader, on small files laid out here.

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutU64(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

void AppendEncodedInt(std::vector<std::uint8_t>& out, std::uint64_t value) {
    std::vector<std::uint8_t> groups;
    do {
        groups.push_back(static_cast<std::uint8_t>(value & 0x7F));
        value >>= 7;
    } while (value);
    for (std::size_t i = groups.size(); i-- > 0;) out.push_back(groups[i] | (i ? 0x80 : 0));
}

struct FakeFile {
    std::string name;
    std::string data;
    std::uint64_t section = 0;
};

struct FakeChm {
    std::vector<std::uint8_t> bytes;
    std::size_t directoryOffset = 0x78;
    std::size_t itspLength = 0x54;
    std::size_t chunkSize = 0;
    std::size_t chunkCount = 0;
    std::size_t contentOffset = 0;
    std::vector<std::size_t> entriesLength;  // bytes of entries in each chunk

    std::size_t Chunk(std::size_t n) const { return directoryOffset + itspLength + n * chunkSize; }
};

// An ITSF version 3 file: header, header section, directory with its listing
// chunks chained in order, then section 0 holding the files' data in order.
FakeChm BuildChm(const std::vector<FakeFile>& files, std::size_t entriesPerChunk, std::size_t chunkSize = 0x100) {
    FakeChm chm;
    chm.chunkSize = chunkSize;
    chm.chunkCount = (files.size() + entriesPerChunk - 1) / entriesPerChunk;

    std::vector<std::vector<std::uint8_t>> chunks(chm.chunkCount);
    std::uint64_t offset = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto& entries = chunks[i / entriesPerChunk];
        AppendEncodedInt(entries, files[i].name.size());
        entries.insert(entries.end(), files[i].name.begin(), files[i].name.end());
        AppendEncodedInt(entries, files[i].section);
        AppendEncodedInt(entries, files[i].section == 0 ? offset : 0);
        AppendEncodedInt(entries, files[i].data.size());
        if (files[i].section == 0) offset += files[i].data.size();
    }

    const std::size_t directoryLength = chm.itspLength + chm.chunkCount * chunkSize;
    chm.contentOffset = chm.directoryOffset + directoryLength;
    std::vector<std::uint8_t>& b = chm.bytes;
    b.assign(chm.contentOffset, 0);
    const auto put = [&b](std::size_t at, std::string_view text) { std::copy(text.begin(), text.end(), b.begin() + at); };

    put(0, "ITSF");
    PutU32(b, 0x04, 3);
    PutU32(b, 0x08, 0x60);
    PutU32(b, 0x0C, 1);
    PutU32(b, 0x14, 0x40C);
    PutU64(b, 0x38, 0x60);  // header section: offset, length
    PutU64(b, 0x40, 0x18);
    PutU64(b, 0x48, chm.directoryOffset);
    PutU64(b, 0x50, directoryLength);
    PutU64(b, 0x58, chm.contentOffset);
    PutU32(b, 0x60, 0x1FE);

    const std::size_t d = chm.directoryOffset;
    put(d, "ITSP");
    PutU32(b, d + 0x04, 1);
    PutU32(b, d + 0x08, static_cast<std::uint32_t>(chm.itspLength));
    PutU32(b, d + 0x0C, 0x0A);
    PutU32(b, d + 0x10, static_cast<std::uint32_t>(chunkSize));
    PutU32(b, d + 0x14, 2);
    PutU32(b, d + 0x18, 1);
    PutU32(b, d + 0x1C, 0xFFFFFFFF);
    PutU32(b, d + 0x20, 0);
    PutU32(b, d + 0x24, static_cast<std::uint32_t>(chm.chunkCount - 1));
    PutU32(b, d + 0x28, 0xFFFFFFFF);
    PutU32(b, d + 0x2C, static_cast<std::uint32_t>(chm.chunkCount));

    for (std::size_t n = 0; n < chm.chunkCount; ++n) {
        const std::size_t at = chm.Chunk(n);
        if (chunks[n].size() > chunkSize - 0x14) throw std::logic_error("entries do not fit in a chunk");
        put(at, "PMGL");
        PutU32(b, at + 0x04, static_cast<std::uint32_t>(chunkSize - 0x14 - chunks[n].size()));
        PutU32(b, at + 0x0C, n == 0 ? 0xFFFFFFFF : static_cast<std::uint32_t>(n - 1));
        PutU32(b, at + 0x10, n + 1 == chm.chunkCount ? 0xFFFFFFFF : static_cast<std::uint32_t>(n + 1));
        std::copy(chunks[n].begin(), chunks[n].end(), b.begin() + at + 0x14);
        chm.entriesLength.push_back(chunks[n].size());
    }
    for (const FakeFile& file : files)
        if (file.section == 0) b.insert(b.end(), file.data.begin(), file.data.end());
    return chm;
}

std::string SystemData(const std::vector<std::pair<std::uint16_t, std::string>>& records) {
    std::string data("\x03\0\0\0", 4);
    for (const auto& [code, text] : records) {
        data += static_cast<char>(code & 0xFF);
        data += static_cast<char>(code >> 8);
        data += static_cast<char>(text.size() & 0xFF);
        data += static_cast<char>(text.size() >> 8);
        data += text;
    }
    return data;
}

// Seven files over three chunks: a long name and offsets past 127 take
// several bytes each; one file sits in the compressed section; #SYSTEM comes
// last, so any cut of the file takes something from it.
std::vector<FakeFile> SampleFiles() {
    return {
        {"/", "", 0},
        {"/index.html", std::string(150, 'i'), 0},
        {"/" + std::string(200, 'n') + ".html", "long name", 0},
        {"/compressed.html", "in section 1", 1},
        {"/a.css", "body{}", 0},
        {"/b.html", std::string(300, 'b'), 0},
        {"/#SYSTEM", SystemData({{2, std::string("index.html\0", 11)}, {3, "Aide"}}), 0},
    };
}

// Everything a test of the help file reads: directory, every section 0
// file, #SYSTEM's records.
bool ReadsWholly(chm::Bytes file, std::string& error) {
    chm::Directory directory;
    if (!chm::ReadDirectory(file, directory, error)) return false;
    chm::Bytes data;
    for (const chm::Entry& entry : directory.entries)
        if (entry.section == 0 && !chm::Section0File(file, directory, entry.name, data, error)) return false;
    std::vector<chm::SystemRecord> records;
    return chm::Section0File(file, directory, "/#SYSTEM", data, error) &&
           chm::ReadSystemRecords(data, records, error);
}

TEST(ChmReader, ReadsEveryEntryAcrossChainedChunks) {
    const std::vector<FakeFile> files = SampleFiles();
    for (const std::uint32_t version : {3u, 2u}) {
        FakeChm chm = BuildChm(files, 3);
        ASSERT_EQ(chm.chunkCount, 3u);
        if (version == 2) {  // no section 0 offset: it follows the directory
            PutU32(chm.bytes, 0x04, 2);
            PutU32(chm.bytes, 0x08, 0x58);
            PutU64(chm.bytes, 0x58, 0xDEADBEEF);  // now part of the header section, unread
        }
        chm::Directory directory;
        std::string error;
        ASSERT_TRUE(chm::ReadDirectory(chm.bytes, directory, error)) << "version " << version << ": " << error;
        EXPECT_EQ(directory.contentOffset, chm.contentOffset);
        ASSERT_EQ(directory.entries.size(), files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            const chm::Entry& entry = directory.entries[i];
            EXPECT_EQ(entry.name, files[i].name);
            EXPECT_EQ(entry.section, files[i].section);
            EXPECT_EQ(entry.length, files[i].data.size());
            if (entry.section != 0) continue;
            chm::Bytes data;
            ASSERT_TRUE(chm::Section0File(chm.bytes, directory, entry.name, data, error)) << error;
            EXPECT_EQ(std::string(data.begin(), data.end()), files[i].data) << entry.name;
        }
        chm::Bytes data;
        EXPECT_FALSE(chm::Section0File(chm.bytes, directory, "/compressed.html", data, error));
        EXPECT_FALSE(chm::Section0File(chm.bytes, directory, "/absent.html", data, error));
    }
}

TEST(ChmReader, SystemRecordsGiveCodesAndTexts) {
    const std::string system = SystemData({{10, "abcd"}, {2, std::string("index.html\0", 11)}, {3, "Aide"}, {4, ""}});
    const std::vector<std::uint8_t> bytes(system.begin(), system.end());
    std::vector<chm::SystemRecord> records;
    std::string error;
    ASSERT_TRUE(chm::ReadSystemRecords(bytes, records, error)) << error;
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].code, 10);
    EXPECT_EQ(records[1].code, 2);
    EXPECT_EQ(chm::RecordText(records[1].data), "index.html");
    EXPECT_EQ(chm::RecordText(records[2].data), "Aide");
    EXPECT_TRUE(records[3].data.empty());

    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        // A cut inside a record's header or data is an error; one between
        // records leaves fewer, whole records.
        const bool ok = chm::ReadSystemRecords(chm::Bytes(bytes).first(cut), records, error);
        const bool betweenRecords = cut == 4 || cut == 12 || cut == 27 || cut == 35;
        EXPECT_EQ(ok, betweenRecords) << "cut at " << cut;
    }
}

TEST(ChmReader, RefusesEveryCutOfTheFile) {
    const FakeChm chm = BuildChm(SampleFiles(), 3);
    std::string error;
    ASSERT_TRUE(ReadsWholly(chm.bytes, error)) << error;
    for (std::size_t cut = 0; cut < chm.bytes.size(); ++cut) {
        EXPECT_FALSE(ReadsWholly(chm::Bytes(chm.bytes).first(cut), error)) << "cut at " << cut;
        EXPECT_FALSE(error.empty()) << "cut at " << cut;
    }
}

TEST(ChmReader, RefusesDamagedHeadersAndChunks) {
    struct Case {
        const char* what;
        std::function<void(FakeChm&)> damage;
    };
    const std::vector<Case> cases = {
        {"no ITSF signature", [](FakeChm& c) { c.bytes[0] = 'X'; }},
        {"unknown version", [](FakeChm& c) { PutU32(c.bytes, 0x04, 4); }},
        {"header longer than the file", [](FakeChm& c) { PutU32(c.bytes, 0x08, c.bytes.size() + 1); }},
        {"header shorter than its fields", [](FakeChm& c) { PutU32(c.bytes, 0x08, 0x50); }},
        {"directory past the end", [](FakeChm& c) { PutU64(c.bytes, 0x50, c.bytes.size()); }},
        {"directory offset wraps around", [](FakeChm& c) { PutU64(c.bytes, 0x48, ~std::uint64_t{0} - 8); }},
        {"section 0 past the end", [](FakeChm& c) { PutU64(c.bytes, 0x58, c.bytes.size() + 1); }},
        {"section 0 too near the end for its files", [](FakeChm& c) { PutU64(c.bytes, 0x58, c.bytes.size() - 2); }},
        {"no ITSP signature", [](FakeChm& c) { c.bytes[c.directoryOffset] = 'X'; }},
        {"ITSP header longer than the directory",
         [](FakeChm& c) { PutU32(c.bytes, c.directoryOffset + 0x08, 0x10000); }},
        {"chunk size zero", [](FakeChm& c) { PutU32(c.bytes, c.directoryOffset + 0x10, 0); }},
        {"chunk size huge", [](FakeChm& c) { PutU32(c.bytes, c.directoryOffset + 0x10, 0xFFFFFFFF); }},
        {"more chunks counted than held",
         [](FakeChm& c) { PutU32(c.bytes, c.directoryOffset + 0x2C, c.chunkCount + 1); }},
        {"first listing chunk past the last",
         [](FakeChm& c) { PutU32(c.bytes, c.directoryOffset + 0x20, c.chunkCount); }},
        {"listing chunks chained in a loop", [](FakeChm& c) { PutU32(c.bytes, c.Chunk(c.chunkCount - 1) + 0x10, 0); }},
        {"no PMGL signature", [](FakeChm& c) { c.bytes[c.Chunk(1)] = 'X'; }},
        {"free space larger than the chunk", [](FakeChm& c) { PutU32(c.bytes, c.Chunk(0) + 4, c.chunkSize); }},
        {"free space cuts the last entry",
         [](FakeChm& c) {
             PutU32(c.bytes, c.Chunk(0) + 4, c.chunkSize - 0x14 - c.entriesLength[0] + 2);
         }},
        {"name length past the entries", [](FakeChm& c) { c.bytes[c.Chunk(2) + 0x14] = 0x7F; }},
        {"encoded number that never ends",
         [](FakeChm& c) {
             std::fill_n(c.bytes.begin() + c.Chunk(2) + 0x14, c.entriesLength[2], std::uint8_t{0x80});
         }},
        {"#SYSTEM record longer than #SYSTEM",
         [](FakeChm& c) {
             const std::size_t system = c.bytes.size() - SampleFiles().back().data.size();
             c.bytes[system + 4 + 2] = 0xFF;
         }},
    };
    for (const Case& c : cases) {
        FakeChm chm = BuildChm(SampleFiles(), 3);
        c.damage(chm);
        std::string error;
        EXPECT_FALSE(ReadsWholly(chm.bytes, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

// ---------------------------------------------------------------------------
// The help file the build compiled.

bool ReadWholeFile(const char* path, std::vector<std::uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

class HelpFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ReadWholeFile(HELP_FILE_PATH, file)) << "cannot read " << HELP_FILE_PATH;
        std::vector<std::uint8_t> text;
        ASSERT_TRUE(ReadWholeFile(HELP_PROJECT_PATH, text)) << "cannot read " << HELP_PROJECT_PATH;
        project = ParseProject(std::string(text.begin(), text.end()));
        ASSERT_FALSE(project.files.empty()) << "no [FILES] in " << HELP_PROJECT_PATH;
        std::string error;
        ASSERT_TRUE(chm::ReadDirectory(file, directory, error)) << error;
    }

    std::vector<chm::SystemRecord> SystemRecords() {
        chm::Bytes data;
        std::string error;
        std::vector<chm::SystemRecord> records;
        EXPECT_TRUE(chm::Section0File(file, directory, "/#SYSTEM", data, error)) << error;
        EXPECT_TRUE(chm::ReadSystemRecords(data, records, error)) << error;
        return records;
    }

    std::vector<std::uint8_t> file;
    HelpProject project;
    chm::Directory directory;
};

TEST_F(HelpFile, StartsWithTheItsfSignature) {
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "ITSF");
}

TEST_F(HelpFile, HoldsEveryFileOfItsProject) {
    EXPECT_NE(directory.Find("/index.html"), nullptr);
    EXPECT_FALSE(project.contentsFile.empty());
    EXPECT_FALSE(project.indexFile.empty());
    for (const std::string& name : project.files) {
        const chm::Entry* entry = directory.Find("/" + name);
        ASSERT_NE(entry, nullptr) << name << " is missing from the compiled file";
        EXPECT_GT(entry->length, 0u) << name << " is empty in the compiled file";
    }
}

TEST_F(HelpFile, SystemNamesHomePageContentsIndexTitleAndLanguage) {
    std::string contents, index, home, title;
    std::uint32_t language = 0;
    for (const chm::SystemRecord& record : SystemRecords()) {
        switch (record.code) {
        case 0: contents = chm::RecordText(record.data); break;
        case 1: index = chm::RecordText(record.data); break;
        case 2: home = chm::RecordText(record.data); break;
        case 3: title = chm::RecordText(record.data); break;
        case 4: EXPECT_TRUE(chm::ReadU32(record.data, 0, language)); break;
        }
    }
    EXPECT_EQ(home, "index.html");
    EXPECT_EQ(home, project.defaultTopic);
    EXPECT_EQ(contents, project.contentsFile);
    EXPECT_EQ(index, project.indexFile);

    // French, so the viewer reads the contents, index and titles as
    // Windows-1252: the build must have converted the UTF-8 sources.
    EXPECT_EQ(language, 0x40Cu);
    EXPECT_EQ(project.language.rfind("0x40c", 0), 0u) << project.language;
    std::string expectedTitle;
    ASSERT_TRUE(Windows1252FromUtf8(project.title, expectedTitle)) << project.title;
    EXPECT_FALSE(expectedTitle.empty());
    EXPECT_EQ(title, expectedTitle);
}

}  // namespace
