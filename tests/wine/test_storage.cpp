// The storage commands on the real main window over a real playlists folder:
// every branch of each command with the exact boxes it shows, the editor,
// count header and status bar afterwards, and the files on disk. A save that
// fails, a name that is no plain file name and a deletion that fails are
// reported, and never lose titles or a file's protection.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "browsers.h"
#include "commands.h"
#include "controls.h"
#include "editor.h"
#include "handles.h"
#include "ids.h"
#include "image_menu.h"
#include "editor_expectations.h"
#include "main_window_fixture.h"
#include "playlist_file.h"
#include "playlist_rules.h"
#include "saved_list.h"
#include "status_bar.h"

using namespace tunerolle;

namespace {

using Boxes = std::vector<Box>;

// ---- The boxes of the commands ---------------------------------------------

const Box M1{L"Playlist vide!", L"Il n'y a aucun élément à sauvegarder dans votre PlayList.",
             MB_OK | MB_ICONWARNING};
const Box M2{L"Nom de la Playlist!", L"Vous devez donner un nom à votre PlayList.", MB_OK | MB_ICONWARNING};
const Box M3{L"Playlist vide!", L"Il n'y a aucun élément à effacer.", MB_OK | MB_ICONWARNING};
const Box M4{L"Effacer la playlist",
             L"Êtes-vous sûr de vouloir effacer définitivement le contenu de la liste actuelle ?\n\nSi vous "
             L"n'êtes pas "
             L"sûr, cliquez sur NON.",
             MB_YESNO | MB_ICONWARNING};
const Box M5{
    L"Fermer la playlist",
    L"Êtes-vous sûr de vouloir fermer la playlist actuelle ?\nSi vous l'avez modifiée les changements ne "
    L"seront pas pris en compte\n\nCliquez sur NON pour pouvoir l'enregistrer ou sur OUI pour la fermer.",
    MB_YESNO | MB_ICONQUESTION};
const Box M6{L"Playlist inconue!",
             L"Cette playlist n'existe pas encore. Vous devriez l'enregistrer si vous souhaitez la retrouver "
             L"ultérieurement",
             MB_OK | MB_ICONINFORMATION};
Box M7(const std::wstring& entry) {
    return {L"Suppression...",
            L"Êtes-vous sûr de vouloir supprimer définitivement " + entry +
                L" ?\n\nSi vous n'êtes pas sûr, cliquez sur NON.",
            MB_YESNO | MB_ICONWARNING};
}
const Box M8{L"Supprimer une Playlist!", L"Erreur, la playlist n'a pu être supprimée!", MB_OK | MB_ICONERROR};
const Box M9{
    L"Playlist en cours...",
    L"Une playlist est en cours d'édition\n\nSi ce n'est pas déjà fait, voulez-vous l'enregistrer avant de "
    L"quitter ?",
    MB_YESNO | MB_ICONQUESTION};
const Box kSaved{L"Playlist!", L"Votre PlayList a été correctement enregistrée", MB_OK | MB_ICONINFORMATION};
Box Loaded(const std::wstring& name) {
    return {L"Playlist!", L"La PlayList " + name + L" a été correctement chargée",
            MB_OK | MB_ICONINFORMATION};
}
Box SaveFailed(const std::wstring& file) {
    return {L"Enregistrement impossible",
            L"Votre PlayList n'a pas pu être enregistrée dans le fichier :\n" + file +
                L"\n\nVérifiez que le dossier existe et que le fichier n'est pas ouvert par un autre "
                L"programme. Vos "
                L"titres restent dans la liste.",
            MB_OK | MB_ICONWARNING};
}
const Box kForbiddenCharacter{L"Nom de la Playlist!",
                              L"Le nom de votre PlayList ne doit contenir aucun des caractères suivants :\n"
                              L"\\ / : * ? \" < > |\n\nChoisissez un autre nom.",
                              MB_OK | MB_ICONWARNING};
const Box kReservedName{
    L"Nom de la Playlist!",
    L"Ce nom est réservé par Windows (CON, PRN, AUX, NUL, COM1 à COM9, LPT1 à LPT9), même suivi "
    L"d'un point et d'une extension.\n\nChoisissez un autre nom.",
    MB_OK | MB_ICONWARNING};
const Box kTrailingDotOrBlank{
    L"Nom de la Playlist!",
    L"Le nom de votre PlayList ne doit pas se terminer par un point ou par un espace.\n\n"
    L"Choisissez un autre nom.",
    MB_OK | MB_ICONWARNING};

// ---- Editor and files -------------------------------------------------------

const std::vector<TitleRow> kTwoTitles = {{L"a.mp3", L"C:\\Musique\\a.mp3", TitleIcon::Mp3},
                                          {L"Été.wma", L"C:\\Musique\\Été.wma", TitleIcon::Wma}};
const std::string kTwoTitlesBytes =
    "2\r\na.mp3\r\nC:\\Musique\\a.mp3\r\n\xC3\x89t\xC3\xA9.wma\r\nC:\\Musique\\\xC3\x89t\xC3\xA9.wma\r\n";
const std::string kOldBytes = "3\r\nx.mp3\r\nC:\\x.mp3\r\ny.mp3\r\nC:\\y.mp3\r\nz.mp3\r\nC:\\z.mp3\r\n";

// What the user sees of the editor.
struct Editor {
    std::wstring name;
    std::wstring header;
    int rows;
    bool operator==(const Editor&) const = default;
};

void PrintTo(const Editor& e, std::ostream* os) {
    *os << "{" << testing::PrintToString(e.name) << ", " << testing::PrintToString(e.header) << ", " << e.rows
        << "}";
}

Editor CurrentEditor() {
    EXPECT_EQ(ListView_GetItemCount(gui::Control(kTitleList)), TitleCount());
    return {EditorName(), TitleHeaderText(), TitleCount()};
}

// Puts titles and a name into the editor as the user would have them.
Editor Fill(const std::wstring& name, bool titles = true) {
    ReplaceTitles(titles ? kTwoTitles : std::vector<TitleRow>{});
    RefreshCountHeader();
    SetEditorName(name);
    return CurrentEditor();
}

// A file held open by "another program", without letting anyone delete or
// replace it.
gui::unique_handle HoldOpen(const std::wstring& path) {
    return gui::unique_handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
}

// ClearEditor's header has no number; the deletion of the open playlist
// leaves the singular one.
const Editor kClearedEditor{L"", L" Titres", 0};
const Editor kDeletedEditor{L"", L" Titre", 0};

constexpr wchar_t kUntouched[] = L"(inchangé)";

class Storage : public MainWindowSuite {
protected:
    void SetUp() override {
        boxes_.clear();
        answers_.clear();
        statusAtBox_.clear();
        gui::SetMessageResponder([this](const gui::MessageRecord& m) {
            EXPECT_EQ(m.owner, gui::MainWindow());
            boxes_.push_back({m.caption, m.text, m.flags});
            statusAtBox_.push_back(gui::StatusText(0));
            if ((m.flags & MB_TYPEMASK) != MB_YESNO) return IDOK;
            if (answers_.empty()) {
                ADD_FAILURE() << "no answer scripted for " << testing::PrintToString(m.caption);
                return IDNO;
            }
            int answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        EmptyFolder(Folder());
        RelistSavedList();
        Settle();
        ClearEditor();
        // Shows whether a command refreshed the count text.
        gui::SetStatusText(0, kUntouched);
        SetFocus(gui::Control(kTitleList));
    }
    void TearDown() override {
        EXPECT_TRUE(answers_.empty()) << "a question that was expected was not asked";
        ClearEditor();
        EmptyFolder(Folder());
        RelistSavedList();
        Settle();
    }

    static const std::wstring& Folder() { return Paths().playlistsFolder; }
    static std::wstring File(const std::wstring& name) { return Folder() + name; }

    static void EmptyFolder(const std::wstring& folder) {
        for (const std::wstring& name : TempFolder::Names(folder)) {
            std::wstring path = folder + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
        }
    }

    // Selects one entry of the saved-playlists list by name (none for "").
    static bool SelectSaved(const std::wstring& name) {
        HWND list = gui::Control(kSavedList);
        RelistSavedList();
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        bool found = name.empty();
        for (int i = 0; i < gui::SavedListCount(list) && !found; ++i) {
            if (gui::SavedListEntryText(list, i, 0) != name) continue;
            ListView_SetItemState(list, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            found = true;
        }
        Settle();
        return found;
    }

    static bool FocusInNameField() { return GetFocus() == gui::Control(kNameField); }

    Boxes boxes_;
    std::deque<int> answers_;
    std::vector<std::wstring> statusAtBox_;
};

// ---- SaveCommand ------------------------------------------------------------

TEST_F(Storage, SaveCommandChecksTitlesThenNameThenWritesAndCountsInThePluralForm) {
    struct Case {
        const char* what;
        bool titles;
        std::wstring name;
        Boxes boxes;
        bool written;
    };
    const Case cases[] = {
        {"nothing at all", false, L"", {M1}, false},
        {"a name but no titles", false, L"Rock", {M1}, false},
        {"titles but no name", true, L"", {M2}, false},
        {"titles and a name", true, L"Rock", {kSaved}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder(Folder());
        boxes_.clear();
        statusAtBox_.clear();
        gui::SetStatusText(0, kUntouched);
        SetFocus(gui::Control(kTitleList));
        const Editor before = Fill(c.name, c.titles);

        SaveCommand();
        EXPECT_EQ(boxes_, c.boxes);
        EXPECT_EQ(CurrentEditor(), before);
        if (c.written) {
            EXPECT_EQ(TempFolder::ReadBytes(File(L"Rock.ini")), kTwoTitlesBytes);
            // The count comes after the success message, and counts the new file.
            EXPECT_EQ(statusAtBox_, std::vector<std::wstring>{kUntouched});
            EXPECT_EQ(gui::StatusText(0), L"Vous avez 1 Playlist enregistrées");
        } else {
            EXPECT_EQ(TempFolder::Names(Folder()), std::vector<std::wstring>{});
            EXPECT_EQ(gui::StatusText(0), kUntouched);
        }
        // A missing name is typed where it belongs.
        EXPECT_EQ(FocusInNameField(), c.boxes == Boxes{M2});
        EXPECT_EQ(gui::StatusProgress(), 0);
    }
}

TEST_F(Storage, SaveCommandOverwritesWithoutAQuestionAndCountsEveryEntry) {
    TempFolder::WriteBytes(File(L"Rock.ini"), kOldBytes + kOldBytes);
    TempFolder::WriteBytes(File(L"Jazz.ini"), "0\r\n");
    CreateDirectoryW(File(L"Archives").c_str(), nullptr);
    Fill(L"Rock");
    SaveCommand();
    EXPECT_EQ(boxes_, Boxes{kSaved});
    EXPECT_EQ(TempFolder::ReadBytes(File(L"Rock.ini")), kTwoTitlesBytes);
    EXPECT_EQ(TempFolder::Names(Folder()), (std::vector<std::wstring>{L"Archives", L"Jazz.ini", L"Rock.ini"}));
    EXPECT_EQ(gui::StatusText(0), L"Vous avez 3 Playlist enregistrées");
}

TEST_F(Storage, NamesThatAreNoPlainFileNameAreRefusedAndNothingIsWritten) {
    struct Case {
        std::wstring name;
        Box warning;
    };
    const Case cases[] = {
        {L"..\\x", kForbiddenCharacter}, {L"a/b", kForbiddenCharacter}, {L":", kForbiddenCharacter},
        {L"CON", kReservedName},         {L"x.", kTrailingDotOrBlank},  {L"x ", kTrailingDotOrBlank},
    };
    const std::wstring outside = folder_->path();
    const std::vector<std::wstring> outsideBefore = TempFolder::Names(outside);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        // From the save button.
        boxes_.clear();
        SetFocus(gui::Control(kTitleList));
        const Editor before = Fill(c.name);
        SaveCommand();
        EXPECT_EQ(boxes_, Boxes{c.warning});
        EXPECT_TRUE(FocusInNameField());
        EXPECT_EQ(CurrentEditor(), before);
        EXPECT_EQ(gui::StatusText(0), kUntouched);

        // On the way out: the program stays, with its titles.
        boxes_.clear();
        answers_ = {IDYES};
        SetFocus(gui::Control(kTitleList));
        EXPECT_FALSE(QuitPrompt());
        EXPECT_EQ(boxes_, (Boxes{M9, c.warning}));
        EXPECT_TRUE(FocusInNameField());
        EXPECT_EQ(CurrentEditor(), before);

        EXPECT_EQ(TempFolder::Names(Folder()), std::vector<std::wstring>{});
        EXPECT_EQ(TempFolder::Names(outside), outsideBefore);
    }
}

TEST_F(Storage, AFailedSaveWarnsNamingTheFileAndQuittingThenKeepsTheTitles) {
    TempFolder::WriteBytes(File(L"Rock.ini"), kOldBytes);
    const Editor before = Fill(L"Rock");
    {
        gui::unique_handle held = HoldOpen(File(L"Rock.ini"));
        ASSERT_TRUE(held);

        SaveCommand();
        EXPECT_EQ(boxes_, Boxes{SaveFailed(File(L"Rock.ini"))});
        EXPECT_EQ(CurrentEditor(), before);
        // The count is refreshed all the same.
        EXPECT_EQ(gui::StatusText(0), L"Vous avez 1 Playlist enregistrées");

        boxes_.clear();
        answers_ = {IDYES};
        EXPECT_FALSE(QuitPrompt());
        EXPECT_EQ(boxes_, (Boxes{M9, SaveFailed(File(L"Rock.ini"))}));
        EXPECT_EQ(CurrentEditor(), before);
    }
    EXPECT_EQ(TempFolder::ReadBytes(File(L"Rock.ini")), kOldBytes);
    EXPECT_EQ(TempFolder::Names(Folder()), std::vector<std::wstring>{L"Rock.ini"});
    EXPECT_EQ(gui::StatusProgress(), 0);

    // Once the file is free, leaving saves it and the program may end.
    boxes_.clear();
    answers_ = {IDYES};
    EXPECT_TRUE(QuitPrompt());
    EXPECT_EQ(boxes_, (Boxes{M9, kSaved}));
    EXPECT_EQ(TempFolder::ReadBytes(File(L"Rock.ini")), kTwoTitlesBytes);
}

TEST_F(Storage, WithoutAPlaylistsFolderTheAutomaticNameIsKeptAndTheProgramStays) {
    // The playlists folder is a file here: nothing can be written into it.
    const ProgramPaths saved = Paths();
    ProgramPaths broken = saved;
    broken.playlistsFolder = folder_->MakeFile(L"PasUnDossier") + L"\\";
    SetPaths(broken);
    Fill(L"");
    answers_ = {IDYES};
    const bool ends = QuitPrompt();
    SetPaths(saved);
    EXPECT_FALSE(ends);
    const std::wstring name = EditorName();
    EXPECT_EQ(name.rfind(L"Tunerolle_", 0), 0u);
    EXPECT_EQ(boxes_, (Boxes{M9, SaveFailed(broken.playlistsFolder + name + L".ini")}));
    EXPECT_EQ(TitleCount(), 2);
    DeleteFileW((folder_->path() + L"PasUnDossier").c_str());
}

// ---- QuitPrompt -------------------------------------------------------------

TEST_F(Storage, QuitPromptAsksOnlyWithTitlesAndSavesOnYes) {
    struct Case {
        const char* what;
        bool titles;
        std::wstring name;
        std::deque<int> answers;
        Boxes boxes;
        std::vector<std::wstring> files;
    };
    const Case cases[] = {
        {"no titles", false, L"Rock", {}, {}, {}},
        {"titles, No", true, L"Rock", {IDNO}, {M9}, {}},
        {"titles, Yes", true, L"Rock", {IDYES}, {M9, kSaved}, {L"Rock.ini"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder(Folder());
        boxes_.clear();
        answers_ = c.answers;
        const Editor before = Fill(c.name, c.titles);
        EXPECT_TRUE(QuitPrompt());
        EXPECT_EQ(boxes_, c.boxes);
        EXPECT_EQ(CurrentEditor(), before);
        EXPECT_EQ(TempFolder::Names(Folder()), c.files);
        if (!c.files.empty()) {
            EXPECT_EQ(TempFolder::ReadBytes(File(c.files[0])), kTwoTitlesBytes);
        }
    }
}

TEST_F(Storage, QuitPromptNamesAnUnnamedPlaylistAfterTheLocalTime) {
    auto nameAt = [] {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return tunerolle::AutomaticPlaylistName({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
    };
    Fill(L"");
    answers_ = {IDYES};
    const std::wstring first = nameAt();
    EXPECT_TRUE(QuitPrompt());
    const std::wstring last = nameAt();
    const std::wstring name = EditorName();
    EXPECT_TRUE(name == first || name == last) << testing::PrintToString(name);
    ASSERT_EQ(name.size(), std::wstring(L"Tunerolle_05-03-2024_143007").size());
    EXPECT_EQ(TempFolder::Names(Folder()), std::vector<std::wstring>{name + L".ini"});
    EXPECT_EQ(TempFolder::ReadBytes(File(name + L".ini")), kTwoTitlesBytes);
    EXPECT_EQ(boxes_, (Boxes{M9, kSaved}));
}

// ---- ClearCommand -----------------------------------------------------------

TEST_F(Storage, ClearCommandEmptiesTheEditorAndTheSavedFileOnYes) {
    const std::wstring outsideFile = folder_->path() + L"x.ini";
    struct Case {
        const char* what;
        bool titles;
        std::wstring name;
        int answer;         // 0: no question expected
        std::wstring file;  // a file that exists before, with kOldBytes
        Boxes boxes;
        bool cleared;
        std::string fileAfter;
    };
    const Case cases[] = {
        {"no titles", false, L"Rock", 0, L"Rock.ini", {M3}, false, kOldBytes},
        {"titles, No", true, L"Rock", IDNO, L"Rock.ini", {M4}, false, kOldBytes},
        // The saved file becomes exactly an empty playlist: no stale bytes.
        {"named with its file", true, L"Rock", IDYES, L"Rock.ini", {M4}, true, "0\r\n"},
        {"named without a file", true, L"Jazz", IDYES, L"Rock.ini", {M4}, true, kOldBytes},
        {"unnamed", true, L"", IDYES, L"Rock.ini", {M4}, true, kOldBytes},
        {"unnamed, with a file named .ini", true, L"", IDYES, L".ini", {M4}, true, "0\r\n"},
        // A name leading out of the folder is never written to.
        {"name leading outside", true, L"..\\x", IDYES, L"", {M4}, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder(Folder());
        if (!c.file.empty()) TempFolder::WriteBytes(File(c.file), kOldBytes);
        TempFolder::WriteBytes(outsideFile, kOldBytes);
        boxes_.clear();
        answers_.clear();
        if (c.answer) answers_ = {c.answer};
        gui::SetStatusText(0, kUntouched);
        const Editor before = Fill(c.name, c.titles);

        ClearCommand();
        EXPECT_EQ(boxes_, c.boxes);
        EXPECT_EQ(CurrentEditor(), c.cleared ? kClearedEditor : before);
        if (!c.file.empty()) {
            EXPECT_EQ(TempFolder::ReadBytes(File(c.file)), c.fileAfter);
        }
        EXPECT_EQ(TempFolder::Names(Folder()), c.file.empty() ? std::vector<std::wstring>{} : std::vector{c.file});
        EXPECT_EQ(TempFolder::ReadBytes(outsideFile), kOldBytes);
        EXPECT_EQ(gui::StatusText(0), kUntouched);
        EXPECT_EQ(gui::StatusProgress(), 0);
    }
    DeleteFileW(outsideFile.c_str());
}

TEST_F(Storage, AClearedPlaylistOpensAgainEmptyAndWithoutAMessage) {
    Fill(L"Rock");
    SaveCommand();
    answers_ = {IDYES};
    ClearCommand();
    boxes_.clear();
    ASSERT_TRUE(SelectSaved(L"Rock.ini"));
    OpenSelectedCommand();
    EXPECT_EQ(CurrentEditor(), (Editor{L"Rock", L"0 Titre", 0}));
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Storage, ClearingAProtectedFileWarnsAndKeepsIt) {
    TempFolder::WriteBytes(File(L"Rock.ini"), kOldBytes);
    SetFileAttributesW(File(L"Rock.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    Fill(L"Rock");
    answers_ = {IDYES};
    ClearCommand();
    EXPECT_EQ(boxes_, (Boxes{M4, SaveFailed(File(L"Rock.ini"))}));
    EXPECT_EQ(TempFolder::ReadBytes(File(L"Rock.ini")), kOldBytes);
    EXPECT_TRUE(GetFileAttributesW(File(L"Rock.ini").c_str()) & FILE_ATTRIBUTE_READONLY);
}

// ---- CloseCommand -----------------------------------------------------------

TEST_F(Storage, CloseCommandAsksWhenTheFileExistsAndOtherwiseSaysItIsUnknown) {
    struct Case {
        const char* what;
        std::wstring name;
        int answer;
        Boxes boxes;
        bool cleared;
    };
    const Case cases[] = {
        {"no name", L"", 0, {}, false},
        {"no such file", L"Jazz", 0, {M6}, false},
        {"file exists, No", L"Rock", IDNO, {M5}, false},
        {"file exists, Yes", L"Rock", IDYES, {M5}, true},
        {"a folder of that name, Yes", L"Dossier", IDYES, {M5}, true},
    };
    TempFolder::WriteBytes(File(L"Rock.ini"), kOldBytes);
    CreateDirectoryW(File(L"Dossier.ini").c_str(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes_.clear();
        answers_.clear();
        if (c.answer) answers_ = {c.answer};
        const Editor before = Fill(c.name);
        CloseCommand();
        EXPECT_EQ(boxes_, c.boxes);
        EXPECT_EQ(CurrentEditor(), c.cleared ? kClearedEditor : before);
    }
    // Closing never touches the files.
    EXPECT_EQ(TempFolder::ReadBytes(File(L"Rock.ini")), kOldBytes);
    EXPECT_EQ(gui::StatusText(0), kUntouched);
}

// ---- The saved-playlists list -----------------------------------------------

TEST_F(Storage, DeleteSelectedCommandConfirmsDeletesAndCountsWithTheSingularRule) {
    struct Case {
        const char* what;
        std::wstring selected;
        std::wstring name;
        int answer;
        Boxes boxes;
        bool deleted;
        bool cleared;
        std::wstring status;
    };
    const Case cases[] = {
        {"nothing selected", L"", L"Rock", 0, {}, false, false, kUntouched},
        {"a folder", L"Archives", L"Rock", 0, {}, false, false, kUntouched},
        {"No", L"Rock.ini", L"Rock", IDNO, {M7(L"Rock.ini")}, false, false, kUntouched},
        {"the playlist being edited",
         L"Rock.ini",
         L"Rock",
         IDYES,
         {M7(L"Rock.ini")},
         true,
         true,
         L"Vous avez 2 Playlist enregistrées"},
        {"another case is another playlist",
         L"Rock.ini",
         L"rock",
         IDYES,
         {M7(L"Rock.ini")},
         true,
         false,
         L"Vous avez 2 Playlist enregistrées"},
        {"another playlist",
         L"Jazz.ini",
         L"Rock",
         IDYES,
         {M7(L"Jazz.ini")},
         true,
         false,
         L"Vous avez 2 Playlist enregistrées"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder(Folder());
        TempFolder::WriteBytes(File(L"Rock.ini"), kOldBytes);
        TempFolder::WriteBytes(File(L"Jazz.ini"), kOldBytes);
        CreateDirectoryW(File(L"Archives").c_str(), nullptr);
        ASSERT_TRUE(SelectSaved(c.selected));
        boxes_.clear();
        answers_.clear();
        if (c.answer) answers_ = {c.answer};
        gui::SetStatusText(0, kUntouched);
        const Editor before = Fill(c.name);

        DeleteSelectedCommand();
        EXPECT_EQ(boxes_, c.boxes);
        if (!c.selected.empty()) {
            EXPECT_EQ(TempFolder::Exists(File(c.selected)), !c.deleted);
        }
        // The editor's file is gone: the editor empties, the header reads " Titre".
        EXPECT_EQ(CurrentEditor(), c.cleared ? kDeletedEditor : before);
        EXPECT_EQ(gui::StatusText(0), c.status);
    }
}

TEST_F(Storage, CountAfterDeletingTheLastPlaylists) {
    TempFolder::WriteBytes(File(L"Rock.ini"), "0\r\n");
    TempFolder::WriteBytes(File(L"Jazz.ini"), "0\r\n");
    const std::pair<const wchar_t*, const wchar_t*> steps[] = {
        {L"Rock.ini", L"Vous avez 1 Playlist enregistrée"},
        {L"Jazz.ini", L"Vous avez 0 Playlist enregistrée"},
    };
    for (auto [entry, status] : steps) {
        ASSERT_TRUE(SelectSaved(entry));
        answers_ = {IDYES};
        DeleteSelectedCommand();
        EXPECT_EQ(gui::StatusText(0), status);
    }
    EXPECT_EQ(TempFolder::Names(Folder()), std::vector<std::wstring>{});
}

TEST_F(Storage, AFailedDeletionKeepsTheFileItsProtectionAndTheEditor) {
    struct Case {
        const char* what;
        bool readOnly;
        bool held;
    };
    const Case cases[] = {
        {"read-only only: it goes", true, false},
        {"held open by another program", false, true},
        {"read-only and held open", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder(Folder());
        TempFolder::WriteBytes(File(L"Rock.ini"), kOldBytes);
        if (c.readOnly) SetFileAttributesW(File(L"Rock.ini").c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(SelectSaved(L"Rock.ini"));
        boxes_.clear();
        answers_ = {IDYES};
        const Editor before = Fill(L"Rock");
        {
            gui::unique_handle held = c.held ? HoldOpen(File(L"Rock.ini")) : gui::unique_handle();
            ASSERT_EQ(static_cast<bool>(held), c.held);
            DeleteSelectedCommand();
        }
        if (c.held) {
            EXPECT_EQ(boxes_, (Boxes{M7(L"Rock.ini"), M8}));
            EXPECT_EQ(TempFolder::ReadBytes(File(L"Rock.ini")), kOldBytes);
            EXPECT_EQ(GetFileAttributesW(File(L"Rock.ini").c_str()) & FILE_ATTRIBUTE_READONLY,
                      c.readOnly ? DWORD{FILE_ATTRIBUTE_READONLY} : 0);
            EXPECT_EQ(CurrentEditor(), before);
            EXPECT_EQ(gui::StatusText(0), L"Vous avez 1 Playlist enregistrée");
        } else {
            EXPECT_EQ(boxes_, Boxes{M7(L"Rock.ini")});
            EXPECT_FALSE(TempFolder::Exists(File(L"Rock.ini")));
            EXPECT_EQ(CurrentEditor(), (Editor{L"", L" Titre", 0}));
            EXPECT_EQ(gui::StatusText(0), L"Vous avez 0 Playlist enregistrée");
        }
    }
}

TEST_F(Storage, OpenSelectedCommandLoadsTheSelectedFileOnly) {
    TempFolder::WriteBytes(File(L"Rock.ini"), kTwoTitlesBytes);
    CreateDirectoryW(File(L"Archives").c_str(), nullptr);
    struct Case {
        std::wstring selected;
        Boxes boxes;
        Editor after;
    };
    const Case cases[] = {
        {L"", {}, {L"Avant", L"2 Titres", 2}},
        {L"Archives", {}, {L"Avant", L"2 Titres", 2}},
        // No question about the titles it replaces.
        {L"Rock.ini", {Loaded(L"Rock")}, {L"Rock", L"2 Titres", 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.selected));
        ReplaceTitles({{L"z.mp3", L"C:\\z.mp3", TitleIcon::Mp3}, {L"y.mp3", L"C:\\y.mp3", TitleIcon::Mp3}});
        RefreshCountHeader();
        SetEditorName(L"Avant");
        boxes_.clear();
        ASSERT_TRUE(SelectSaved(c.selected));
        OpenSelectedCommand();
        EXPECT_EQ(boxes_, c.boxes);
        EXPECT_EQ(CurrentEditor(), c.after);
    }
    EXPECT_EQ(TitleRows()[1].title, L"Été.wma");
}

// The popup menu is modal: a timer running inside its loop notes that it
// is up and closes it.
bool g_menuSeen = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (popup && IsWindowVisible(popup)) g_menuSeen = true;
    EndMenu();
}

TEST_F(Storage, PrepareSavedPopupNamesTheEntryInTheMenuAndShowsIt) {
    TempFolder::WriteBytes(File(L"Rock.ini"), "0\r\n");
    CreateDirectoryW(File(L"Archives").c_str(), nullptr);
    struct Case {
        std::wstring selected;
        bool shown;
    };
    const Case cases[] = {{L"", false}, {L"Rock.ini", true}, {L"Archives", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.selected));
        gui::SetMenuItemText(kSavedMenu, kItemOpenSaved, L"Ouvrir");
        gui::SetMenuItemText(kSavedMenu, kItemDeleteSaved, L"Supprimer");
        ASSERT_TRUE(SelectSaved(c.selected));
        g_menuSeen = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 100, &CloseMenu);
        PrepareSavedPopup();
        KillTimer(nullptr, timer);
        Settle();
        EXPECT_EQ(g_menuSeen, c.shown);
        const std::wstring entry = c.shown ? L" " + c.selected : L"";
        EXPECT_EQ(gui::MenuItemText(kSavedMenu, kItemOpenSaved),
                  (c.shown ? L"Ouvrir/Editer" : L"Ouvrir") + entry);
        EXPECT_EQ(gui::MenuItemText(kSavedMenu, kItemDeleteSaved), L"Supprimer" + entry);
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Storage, RefreshSavedCountReReadsTheFolderInEitherForm) {
    struct Case {
        std::vector<std::wstring> files;
        std::vector<std::wstring> folders;
        const wchar_t* plural;
        const wchar_t* singularRule;
    };
    const Case cases[] = {
        {{}, {}, L"Vous avez 0 Playlist enregistrées", L"Vous avez 0 Playlist enregistrée"},
        {{L"Rock.ini", L"notes.txt"},
         {},
         L"Vous avez 1 Playlist enregistrées",
         L"Vous avez 1 Playlist enregistrée"},
        {{L"Rock.ini"},
         {L"Archives"},
         L"Vous avez 2 Playlist enregistrées",
         L"Vous avez 2 Playlist enregistrées"},
    };
    for (const Case& c : cases) {
        EmptyFolder(Folder());
        for (const auto& f : c.files) TempFolder::WriteBytes(File(f), "0\r\n");
        for (const auto& f : c.folders) CreateDirectoryW(File(f).c_str(), nullptr);
        // No waiting for the folder watcher: the list is read again first.
        RefreshSavedCount(false, true);
        EXPECT_EQ(gui::StatusText(0), c.plural);
        RefreshSavedCount(true, true);
        EXPECT_EQ(gui::StatusText(0), c.singularRule);
    }
}

// ---- OpenCommand ------------------------------------------------------------

bool SameFolder(std::wstring a, std::wstring b) {
    for (std::wstring* s : {&a, &b}) {
        while (!s->empty() && s->back() == L'\\') s->pop_back();
        wchar_t full[MAX_PATH] = {};
        if (GetLongPathNameW(s->c_str(), full, MAX_PATH)) *s = full;
    }
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The open dialog is modal too: a timer finds it, notes its title and
// folder, then types a name and confirms, or cancels.
struct DialogScript {
    std::wstring typed;  // empty: cancel
    std::wstring title;
    std::wstring folder;
    bool done = false;
    int ticksSinceDone = 0;
};
DialogScript g_dialog;

void CALLBACK DriveOpenDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowW(L"#32770", L"Ouvrir une playlist");
    if (g_dialog.done) {
        // Still up long after the answer: close it, so the test fails rather than hangs.
        if (dialog && ++g_dialog.ticksSinceDone > 30) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (!dialog || !IsWindowVisible(dialog)) return;
    g_dialog.done = true;
    wchar_t text[MAX_PATH] = {};
    GetWindowTextW(dialog, text, MAX_PATH);
    g_dialog.title = text;
    text[0] = 0;
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(text));
    g_dialog.folder = text;
    if (g_dialog.typed.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(g_dialog.typed.c_str()));
    SendMessageW(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(g_dialog.typed.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(Storage, OpenCommandLoadsWhatIsChosenInTheDialogEvenAFileThatDoesNotExist) {
    TempFolder::WriteBytes(File(L"Rock.ini"), kTwoTitlesBytes);
    struct Case {
        std::wstring typed;
        Boxes boxes;
        Editor after;
    };
    const Case cases[] = {
        {L"", {}, {L"Avant", L"1 Titre", 1}},
        {L"Rock.ini", {Loaded(L"Rock")}, {L"Rock", L"2 Titres", 2}},
        {L"Nouvelle.ini", {}, {L"Nouvelle", L"0 Titre", 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.typed));
        ReplaceTitles({{L"z.mp3", L"C:\\z.mp3", TitleIcon::Mp3}});
        RefreshCountHeader();
        SetEditorName(L"Avant");
        boxes_.clear();
        g_dialog = DialogScript{};
        g_dialog.typed = c.typed;
        UINT_PTR timer = SetTimer(nullptr, 0, 100, &DriveOpenDialog);
        OpenCommand();
        KillTimer(nullptr, timer);
        ASSERT_TRUE(g_dialog.done);
        EXPECT_EQ(g_dialog.title, L"Ouvrir une playlist");
        EXPECT_TRUE(SameFolder(g_dialog.folder, Folder())) << testing::PrintToString(g_dialog.folder);
        EXPECT_EQ(boxes_, c.boxes);
        EXPECT_EQ(CurrentEditor(), c.after);
    }
    EXPECT_FALSE(TempFolder::Exists(File(L"Nouvelle.ini")));
}

}  // namespace
