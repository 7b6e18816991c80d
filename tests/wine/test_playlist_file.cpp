// The playlist file on real files: the exact bytes written, the replacement
// that never leaves a mix of old and new content, failures that write
// nothing, and every shape of file the reader meets, with the boxes shown,
// the progress field and the count header.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "controls.h"
#include "editor.h"
#include "handles.h"
#include "ids.h"
#include "editor_expectations.h"
#include "main_window_fixture.h"
#include "playlist_file.h"
#include "playlist_format.h"
#include "status_bar.h"

using namespace tunerolle;

namespace {

using namespace std::string_literals;

// What the status bar's progress field showed while a box was up.
struct Progress {
    int value;
    int maximum;
    bool operator==(const Progress&) const = default;
};

// "Été indien" and "Chœur à l'église" as UTF-8 bytes.
const std::string kEteUtf8 = "\xC3\x89t\xC3\xA9 indien";
const std::string kChoeurUtf8 = "Ch\xC5\x93ur \xC3\xA0 l'\xC3\xA9glise";

const std::vector<Row> kThreeTitles = {
    {L"Été indien.mp3", L"C:\\Musique\\Été indien.mp3", TitleIcon::Mp3},
    {L"Chœur à l'église.wma", L"C:\\Musique\\Chœur à l'église.wma", TitleIcon::Wma},
    {L" blancs .mp3", L"D:\\Live\\ blancs .mp3", TitleIcon::Mp3},
};
const std::string kThreeTitlesBytes = "3\r\n" + kEteUtf8 + ".mp3\r\nC:\\Musique\\" + kEteUtf8 + ".mp3\r\n" +
                                      kChoeurUtf8 + ".wma\r\nC:\\Musique\\" + kChoeurUtf8 + ".wma\r\n" +
                                      " blancs .mp3\r\nD:\\Live\\ blancs .mp3\r\n";

const Box kSaved{L"Playlist!", L"Votre PlayList a été correctement enregistrée", MB_OK | MB_ICONINFORMATION};
Box Loaded(const std::wstring& name) {
    return {L"Playlist!", L"La PlayList " + name + L" a été correctement chargée",
            MB_OK | MB_ICONINFORMATION};
}

class PlaylistFile : public MainWindowSuite {
protected:
    void SetUp() override {
        dir_ = std::make_unique<TempFolder>();
        boxes_.clear();
        progress_.clear();
        gui::SetMessageResponder([this](const gui::MessageRecord& m) {
            EXPECT_EQ(m.owner, gui::MainWindow());
            boxes_.push_back({m.caption, m.text, m.flags});
            progress_.push_back({gui::StatusProgress(), gui::StatusProgressMaximum()});
            return IDOK;
        });
        ClearEditor();
        gui::SetStatusProgress(0);
    }
    void TearDown() override {
        ClearEditor();
        dir_.reset();
    }

    std::wstring Dir() const { return dir_->path(); }

    std::unique_ptr<TempFolder> dir_;
    std::vector<Box> boxes_;
    std::vector<Progress> progress_;
};

// ---- Saving ------------------------------------------------------------------

TEST_F(PlaylistFile, ThreeTitlesGiveExactlyTheCountLineAndSixUtf8LinesWithoutMark) {
    ReplaceTitles(AsTitleRows(kThreeTitles));
    ASSERT_TRUE(SavePlaylist(Dir() + L"Rock"));

    EXPECT_EQ(TempFolder::ReadBytes(Dir() + L"Rock.ini"), kThreeTitlesBytes);
    EXPECT_EQ(boxes_, std::vector<Box>{kSaved});
    // The bar is full while the message is up, and empty once it is gone.
    EXPECT_EQ(progress_, (std::vector<Progress>{{3, 3}}));
    EXPECT_EQ(gui::StatusProgress(), 0);
    // The temporary file is gone: the folder holds the playlist only.
    EXPECT_EQ(TempFolder::Names(Dir()), std::vector<std::wstring>{L"Rock.ini"});
    // Saving changes nothing in the editor.
    EXPECT_EQ(Rows(), kThreeTitles);
}

TEST_F(PlaylistFile, ASaveReplacesTheWholeFileSoNoOldBytesStayBehind) {
    const std::wstring file = Dir() + L"Rock.ini";
    TempFolder::WriteBytes(file, kThreeTitlesBytes);
    ReplaceTitles({{L"a.mp3", L"C:\\a.mp3", TitleIcon::Mp3}});
    ASSERT_TRUE(SavePlaylist(Dir() + L"Rock"));
    EXPECT_EQ(TempFolder::ReadBytes(file), "1\r\na.mp3\r\nC:\\a.mp3\r\n");

    // An empty list writes the bare count line: exactly "0" CR LF, no
    // message, the progress field left alone.
    TempFolder::WriteBytes(file, "12\n" + kThreeTitlesBytes);
    boxes_.clear();
    ClearTitles();
    ASSERT_TRUE(SavePlaylist(Dir() + L"Rock"));
    EXPECT_EQ(TempFolder::ReadBytes(file), "0\r\n");
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(gui::StatusProgress(), 0);
    EXPECT_EQ(TempFolder::Names(Dir()), std::vector<std::wstring>{L"Rock.ini"});
}

TEST_F(PlaylistFile, ASaveThatCannotWriteReportsFalseAndLeavesEverythingAsItWas) {
    const std::string old = "1\r\nold.mp3\r\nC:\\old.mp3\r\n";
    struct Case {
        const char* what;
        std::wstring base;
        // Puts the obstacle in place; returns what keeps it there.
        std::function<gui::unique_handle()> block;
        std::vector<std::wstring> expectedNames;
        bool readOnly = false;
    };
    const std::wstring target = Dir() + L"Rock.ini";
    const Case cases[] = {
        {"target held open without sharing",
         Dir() + L"Rock",
         [&] {
             TempFolder::WriteBytes(target, old);
             return gui::unique_handle(
                 CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
         },
         {L"Rock.ini"}},
        {"read-only target",
         Dir() + L"Rock",
         [&] {
             TempFolder::WriteBytes(target, old);
             SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
             return gui::unique_handle();
         },
         {L"Rock.ini"},
         true},
        {"a folder has the playlist's name",
         Dir() + L"Rock",
         [&] {
             CreateDirectoryW(target.c_str(), nullptr);
             return gui::unique_handle();
         },
         {L"Rock.ini"}},
        {"folder missing", Dir() + L"Absent\\Rock", [] { return gui::unique_handle(); }, {}},
        {"folder is a file",
         Dir() + L"Fichier\\Rock",
         [&] {
             TempFolder::WriteBytes(Dir() + L"Fichier", "");
             return gui::unique_handle();
         },
         {L"Fichier"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReplaceTitles({{L"a.mp3", L"C:\\a.mp3", TitleIcon::Mp3}, {L"b.wma", L"C:\\b.wma", TitleIcon::Wma}});
        boxes_.clear();
        {
            gui::unique_handle held = c.block();
            EXPECT_FALSE(SavePlaylist(c.base));
        }
        EXPECT_TRUE(boxes_.empty());  // no success message; the caller warns
        EXPECT_EQ(gui::StatusProgress(), 0);
        EXPECT_EQ(TempFolder::Names(Dir()), c.expectedNames);
        if (GetFileAttributesW(target.c_str()) == FILE_ATTRIBUTE_DIRECTORY) {
            EXPECT_TRUE(RemoveDirectoryW(target.c_str()));
        } else if (TempFolder::Exists(target)) {
            EXPECT_EQ(TempFolder::ReadBytes(target), old);
            // A protected playlist stays protected.
            EXPECT_EQ(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY,
                      c.readOnly ? DWORD{FILE_ATTRIBUTE_READONLY} : 0);
            SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(target.c_str());
        }
        DeleteFileW((Dir() + L"Fichier").c_str());
        EXPECT_EQ(TitleCount(), 2);
    }
}

// ---- Loading -----------------------------------------------------------------

TEST_F(PlaylistFile, FilesOfEveryShapeLoadAsTheyShould) {
    const Row a{L"a.mp3", L"C:\\M\\a.mp3", TitleIcon::Mp3};
    const Row b{L"b.wma", L"C:\\M\\b.wma", TitleIcon::Wma};
    const Row empty{L"", L"", TitleIcon::Wma};  // keeps the icon of the row above
    struct Case {
        const char* what;
        std::wstring file;
        std::string bytes;
        std::vector<Row> rows;
        bool message;
        std::wstring header;
    };
    std::vector<Row> padded{a};
    padded.insert(padded.end(), tunerolle::kMaxPaddingRows, Row{L"", L"", TitleIcon::Mp3});
    const Case cases[] = {
        {"two titles",
         L"Rock.ini",
         "2\r\na.mp3\r\nC:\\M\\a.mp3\r\nb.wma\r\nC:\\M\\b.wma\r\n",
         {a, b},
         true,
         L"2 Titres"},
        {"accented texts, blanks kept", L"Été.ini", kThreeTitlesBytes, kThreeTitles, true, L"3 Titres"},
        {"fewer pairs than the count",
         L"Court.ini",
         "3\r\na.mp3\r\nC:\\M\\a.mp3\r\nb.wma\r\nC:\\M\\b.wma\r\n",
         {a, b, empty},
         true,
         L"3 Titres"},
        {"negative count", L"Neg.ini", "-4\r\na.mp3\r\nC:\\M\\a.mp3\r\n", {}, true, L"0 Titre"},
        {"zero count", L"Zero.ini", "0\r\na.mp3\r\nC:\\M\\a.mp3\r\n", {}, false, L"0 Titre"},
        {"text without digits", L"Texte.ini", "abc\r\na.mp3\r\nC:\\M\\a.mp3\r\n", {}, false, L"0 Titre"},
        {"empty file", L"Vide.ini", "", {}, false, L"0 Titre"},
        {"old bytes after the counted pairs",
         L"Reste.ini",
         "1\r\na.mp3\r\nC:\\M\\a.mp3\r\nb.wma\r\nC:\\M\\b.wma\r\n",
         {a},
         true,
         L"1 Titre"},
        {"UTF-8 mark written by an editor",
         L"Bom.ini",
         "\xEF\xBB\xBF"
         "1\r\na.mp3\r\nC:\\M\\a.mp3\r\n",
         {a},
         true,
         L"1 Titre"},
        {"LF, CR and NUL line ends",
         L"Fins.ini",
         "2\na.mp3\rC:\\M\\a.mp3\nb.wma\0junk\r\nC:\\M\\b.wma"s,
         {a, b},
         true,
         L"2 Titres"},
        {"same location twice",
         L"Double.ini",
         "2\r\na.mp3\r\nC:\\M\\a.mp3\r\na.mp3\r\nC:\\M\\a.mp3\r\n",
         {a, a},
         true,
         L"2 Titres"},
        {"unknown extension keeps the icon above",
         L"Autre.ini",
         "3\r\nx.ogg\r\nC:\\M\\x.ogg\r\na.mp3\r\nC:\\M\\a.mp3\r\ny.ogg\r\nC:\\M\\y.ogg\r\n",
         {{L"x.ogg", L"C:\\M\\x.ogg", TitleIcon::None}, a, {L"y.ogg", L"C:\\M\\y.ogg", TitleIcon::Mp3}},
         true,
         L"3 Titres"},
        // A damaged count cannot hang the program: the padding is bounded.
        {"huge count", L"Huge.ini", "2000000000\r\na.mp3\r\nC:\\M\\a.mp3\r\n", padded, true, L"1001 Titres"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Rows from before are replaced without a question.
        ReplaceTitles({{L"z.mp3", L"C:\\z.mp3", TitleIcon::Mp3}});
        SetEditorName(L"Autre nom");
        boxes_.clear();
        progress_.clear();
        const std::wstring path = Dir() + c.file;
        TempFolder::WriteBytes(path, c.bytes);
        LoadPlaylist(path);

        const std::wstring name = c.file.substr(0, c.file.size() - 4);
        EXPECT_EQ(EditorName(), name);
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(ListView_GetItemCount(gui::Control(kTitleList)), static_cast<int>(c.rows.size()));
        EXPECT_EQ(TitleHeaderText(), c.header);
        if (c.message) {
            EXPECT_EQ(boxes_, std::vector<Box>{Loaded(name)});
            const int n = static_cast<int>(c.rows.size());
            EXPECT_EQ(progress_, (std::vector<Progress>{{n, n > 0 ? n : 1}}));
        } else {
            EXPECT_TRUE(boxes_.empty());
        }
        EXPECT_EQ(gui::StatusProgress(), 0);
        // The reader leaves the file as it found it, and closed.
        EXPECT_EQ(TempFolder::ReadBytes(path), c.bytes);
        EXPECT_TRUE(DeleteFileW(path.c_str()));
    }
}

TEST_F(PlaylistFile, TheListViewShowsTheLoadedRows) {
    const std::wstring path = Dir() + L"Rock.ini";
    TempFolder::WriteBytes(path, kThreeTitlesBytes);
    LoadPlaylist(path);
    HWND view = gui::Control(kTitleList);
    ASSERT_EQ(ListView_GetItemCount(view), 3);
    for (int i = 0; i < 3; ++i) {
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(view, i, 0, text, MAX_PATH);
        EXPECT_EQ(text, kThreeTitles[i].title);
        ListView_GetItemText(view, i, 1, text, MAX_PATH);
        EXPECT_EQ(text, kThreeTitles[i].location);
    }
}

TEST_F(PlaylistFile, AFileThatCannotBeOpenedLeavesTheNameAndAnEmptyList) {
    const std::wstring locked = Dir() + L"Verrou.ini";
    TempFolder::WriteBytes(locked, "1\r\na.mp3\r\nC:\\a.mp3\r\n");
    gui::unique_handle held(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    struct Case {
        std::wstring path;
        std::wstring name;
    };
    const Case cases[] = {
        {Dir() + L"Absente.ini", L"Absente"},
        {Dir() + L"My Mix.ini", L"My Mix"},
        {Dir() + L".ini", L".ini"},
        {locked, L"Verrou"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        ReplaceTitles({{L"z.mp3", L"C:\\z.mp3", TitleIcon::Mp3}});
        boxes_.clear();
        LoadPlaylist(c.path);
        EXPECT_EQ(EditorName(), c.name);
        EXPECT_EQ(TitleCount(), 0);
        EXPECT_EQ(TitleHeaderText(), L"0 Titre");
        EXPECT_TRUE(boxes_.empty());
    }
}

TEST_F(PlaylistFile, AFileTooLargeForAPlaylistIsRefusedWithAWarning) {
    // Sized, not written: the bytes are never read.
    const std::wstring path = Dir() + L"Enorme.ini";
    {
        gui::unique_handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER size{};
        size.QuadPart = static_cast<LONGLONG>(kMaxPlaylistFileBytes) + 1;
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    ReplaceTitles({{L"z.mp3", L"C:\\z.mp3", TitleIcon::Mp3}});
    LoadPlaylist(path);
    const Box warning{L"Playlist trop volumineuse",
                      L"Ce fichier est trop volumineux pour être une playlist :\n" + path +
                          L"\n\nAucun titre n'a été chargé.",
                      MB_OK | MB_ICONWARNING};
    EXPECT_EQ(boxes_, std::vector<Box>{warning});
    EXPECT_EQ(EditorName(), L"Enorme");
    EXPECT_EQ(TitleCount(), 0);
    EXPECT_EQ(TitleHeaderText(), L"0 Titre");
}

TEST_F(PlaylistFile, WhatIsSavedLoadsBackTheSame) {
    ReplaceTitles(AsTitleRows(kThreeTitles));
    ASSERT_TRUE(SavePlaylist(Dir() + L"Aller-retour"));
    ClearEditor();
    boxes_.clear();
    LoadPlaylist(Dir() + L"Aller-retour.ini");
    EXPECT_EQ(Rows(), kThreeTitles);
    EXPECT_EQ(EditorName(), L"Aller-retour");
    EXPECT_EQ(boxes_, std::vector<Box>{Loaded(L"Aller-retour")});
    // Loading the same file again gives the same rows.
    LoadPlaylist(Dir() + L"Aller-retour.ini");
    EXPECT_EQ(Rows(), kThreeTitles);
}

TEST_F(PlaylistFile, LongTitlesWithAccentsAreWrittenExactly) {
    // Plain runs of every length around the writer's chunk of a few hundred
    // bytes, each followed by characters of two, three and four bytes.
    std::vector<Row> rows;
    std::string expected = "40\r\n";
    for (int k = 490; k < 530; ++k) {
        const std::wstring text = std::wstring(k, L'a') + L"é€\U0001D11Eb.mp3";
        const std::string bytes = std::string(k, 'a') +
                                  "\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"
                                  "b.mp3";
        rows.push_back({text, L"C:\\" + text, TitleIcon::Mp3});
        expected += bytes + "\r\nC:\\" + bytes + "\r\n";
    }
    ReplaceTitles(AsTitleRows(rows));
    ASSERT_TRUE(SavePlaylist(Dir() + L"Longs"));
    EXPECT_EQ(TempFolder::ReadBytes(Dir() + L"Longs.ini"), expected);
    LoadPlaylist(Dir() + L"Longs.ini");
    EXPECT_EQ(Rows(), rows);
}

TEST_F(PlaylistFile, ProgressRunsOverTheRowsAndEndsEmpty) {
    std::vector<TitleRow> rows;
    for (int i = 0; i < 40; ++i) {
        std::wstring name = L"t" + std::to_wstring(i) + L".mp3";
        rows.push_back({name, L"C:\\M\\" + name, TitleIcon::Mp3});
    }
    ReplaceTitles(rows);
    ASSERT_TRUE(SavePlaylist(Dir() + L"Quarante"));
    LoadPlaylist(Dir() + L"Quarante.ini");
    EXPECT_EQ(TitleCount(), 40);
    EXPECT_EQ(progress_, (std::vector<Progress>{{40, 40}, {40, 40}}));
    EXPECT_EQ(gui::StatusProgress(), 0);
}

}  // namespace
