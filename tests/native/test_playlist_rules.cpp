#include "playlist_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace tunerolle;

namespace {

// gtest prints wide texts as escapes: keep the input beside each failure.
std::string Narrow(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

TEST(Extension, LowerCasedMp3AndWmaAreAudio) {
    struct Case { std::wstring path; std::wstring extension; AudioKind kind; };
    const Case cases[] = {
        {L"C:\\Musique\\a.mp3", L"mp3", AudioKind::Mp3},
        {L"C:\\Musique\\Chanson.MP3", L"MP3", AudioKind::Mp3},
        {L"C:\\Musique\\y.WmA", L"WmA", AudioKind::Wma},
        {L"C:/Musique/b.wma", L"wma", AudioKind::Wma},
        {L"C:\\a\\live.tar.mp3", L"mp3", AudioKind::Mp3},
        {L"C:\\a\\w.mp3.txt", L"txt", AudioKind::None},
        {L"C:\\a\\z.ogg", L"ogg", AudioKind::None},
        {L"C:\\a\\b.mp4", L"mp4", AudioKind::None},
        {L"C:\\a\\.mp3", L"", AudioKind::None},        // a leading dot is no extension
        {L"C:\\a\\b.mp3 ", L"", AudioKind::None},      // blank after the dot
        {L"C:\\a\\b. mp3", L"", AudioKind::None},
        {L"C:\\a.mp3\\song", L"", AudioKind::None},    // the dot belongs to a folder
        {L"C:\\a\\b.", L"", AudioKind::None},
        {L"noext", L"", AudioKind::None},
        {L"", L"", AudioKind::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathExtension(c.path), c.extension) << Narrow(c.path);
        EXPECT_EQ(AudioKindOfPath(c.path), c.kind) << Narrow(c.path);
    }
}

TEST(Extension, FolderEntriesGoByTheirLastFourCharacters) {
    struct Case { std::wstring name; bool audio; };
    const Case cases[] = {
        {L"x.Mp3", true},      {L"y.WMA", true},       {L"Live.mp3", true},  {L".mp3", true},
        {L"z.ogg", false},     {L"w.mp3.txt", false},  {L"mp3", false},      {L"a.mp3 ", false},
        {L"amp3", false},      {L"", false},           {L"é.wma", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsAudioEntryName(c.name), c.audio) << Narrow(c.name);
}

TEST(Paths, FileNameIsEverythingAfterTheLastSeparator) {
    EXPECT_EQ(FileNameOfPath(L"C:\\Musique\\a.mp3"), L"a.mp3");
    EXPECT_EQ(FileNameOfPath(L"C:\\a/b\\c d.wma"), L"c d.wma");
    EXPECT_EQ(FileNameOfPath(L"C:/x/y.mp3"), L"y.mp3");
    EXPECT_EQ(FileNameOfPath(L"seul.mp3"), L"seul.mp3");
    EXPECT_EQ(FileNameOfPath(L"C:\\dossier\\"), L"");
}

TEST(Paths, LastFolderName) {
    struct Case { std::wstring path; std::wstring name; };
    const Case cases[] = {
        {L"C:\\Musique\\Live\\", L"Live"},
        {L"D:\\Audio\\Live\\", L"Live"},
        {L"C:\\", L"C:"},
        {L"C:/Musique/Live/", L"Live"},
        {L"C:\\Musique\\song.mp3", L"Musique"},
        {L"\\\\serveur\\partage\\", L"partage"},
        {L"Live\\", L"Live"},
        {L"Musique", L""},
        {L"\\", L""},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(LastFolderName(c.path), c.name) << Narrow(c.path);
}

TEST(Paths, FolderErrorPutsTheFolderNameOnTheSecondLine) {
    EXPECT_EQ(FolderErrorText(L"D:\\Audio\\Live\\"),
              L"Impossible d'examiner le répertoire \nLive et d'ajouter les fichiers à la liste.");
    EXPECT_EQ(FolderErrorText(L"Musique"), L"Impossible d'examiner le répertoire \n et d'ajouter les fichiers à la liste.");
}

TEST(Paths, PlaylistNameOfPath) {
    struct Case { std::wstring path; std::wstring name; };
    const Case cases[] = {
        {L"C:\\Prog\\Tunerolle\\Rock.ini", L"Rock"},
        {L"C:\\Prog\\Tunerolle\\My Mix.ini", L"My Mix"},
        {L"C:\\Prog\\Tunerolle\\.ini", L".ini"},
        {L"D:/ailleurs/x.tar.ini", L"x.tar"},
        {L"a.", L"a."},
        {L"a.b c", L"a.b c"},
        {L"C:\\dir.d\\nom", L"nom"},
        {L"Été.ini", L"Été"},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaylistNameOfPath(c.path), c.name) << Narrow(c.path);
}

TEST(Paths, PlaylistFileIsFolderNameAndIni) {
    EXPECT_EQ(PlaylistFilePath(L"C:\\Prog\\Tunerolle\\", L"Rock"), L"C:\\Prog\\Tunerolle\\Rock.ini");
    EXPECT_EQ(PlaylistFilePath(L"C:\\Prog\\Tunerolle", L"Rock"), L"C:\\Prog\\Tunerolle\\Rock.ini");
    EXPECT_EQ(PlaylistFilePath(L"C:\\Prog\\Tunerolle\\", L""), L"C:\\Prog\\Tunerolle\\.ini");
    // Round trip with the name rule used when a file is opened.
    EXPECT_EQ(PlaylistNameOfPath(PlaylistFilePath(L"C:\\P\\", L"Été 2024 v1.2")), L"Été 2024 v1.2");
}

TEST(Texts, CountHeader) {
    EXPECT_EQ(CountHeaderText(0), L"0 Titre");
    EXPECT_EQ(CountHeaderText(1), L"1 Titre");
    EXPECT_EQ(CountHeaderText(2), L"2 Titres");
    EXPECT_EQ(CountHeaderText(100000), L"100000 Titres");
}

TEST(Texts, SavedCountPluralFormAndSingularRule) {
    struct Case { std::size_t n; SavedCountForm form; std::wstring text; };
    const Case cases[] = {
        {0, SavedCountForm::Plural, L"Vous avez 0 Playlist enregistrées"},
        {1, SavedCountForm::Plural, L"Vous avez 1 Playlist enregistrées"},
        {12, SavedCountForm::Plural, L"Vous avez 12 Playlist enregistrées"},
        {0, SavedCountForm::SingularRule, L"Vous avez 0 Playlist enregistrée"},
        {1, SavedCountForm::SingularRule, L"Vous avez 1 Playlist enregistrée"},
        {2, SavedCountForm::SingularRule, L"Vous avez 2 Playlist enregistrées"},
    };
    for (const Case& c : cases) EXPECT_EQ(SavedCountText(c.n, c.form), c.text) << c.n;
}

TEST(Texts, LoadSuccessNamesThePlaylist) {
    EXPECT_EQ(LoadSuccessText(L"Rock"), L"La PlayList Rock a été correctement chargée");
}

TEST(Texts, SaveFailureNamesTheFile) {
    const std::wstring text = SaveFailedText(L"C:\\Prog\\Tunerolle\\Rock.ini");
    EXPECT_NE(text.find(L"\nC:\\Prog\\Tunerolle\\Rock.ini\n"), std::wstring::npos);
}

TEST(AutomaticName, DayMonthYearThenTimeWithLeadingZeros) {
    struct Case { LocalDateTime when; std::wstring name; };
    const Case cases[] = {
        {{2024, 3, 5, 14, 30, 7}, L"Tunerolle_05-03-2024_143007"},
        {{2025, 12, 31, 0, 0, 0}, L"Tunerolle_31-12-2025_000000"},
        {{999, 1, 1, 9, 5, 3}, L"Tunerolle_01-01-0999_090503"},
        {{2024, 10, 10, 23, 59, 59}, L"Tunerolle_10-10-2024_235959"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AutomaticPlaylistName(c.when), c.name);
        EXPECT_EQ(CheckPlaylistName(c.name), NameProblem::None);
    }
}

TEST(NameCheck, RefusesWhatIsNoPlainFileNameOfTheFolder) {
    struct Case { std::wstring name; NameProblem problem; };
    const Case cases[] = {
        {L"Rock", NameProblem::None},
        {L"My Mix", NameProblem::None},
        {L" Rock", NameProblem::None},
        {L"Été à Noël, ça swingue", NameProblem::None},
        {L"v1.2", NameProblem::None},
        {L"..x", NameProblem::None},
        {L"COM0", NameProblem::None},
        {L"COM10", NameProblem::None},
        {L"CONSOLE", NameProblem::None},
        {L"Xcon", NameProblem::None},
        {L"nul x", NameProblem::None},
        {L"\U0001F3B5", NameProblem::None},
        {std::wstring(kMaxPlaylistNameLength, L'a'), NameProblem::None},

        {L"", NameProblem::Empty},

        {L"..\\x", NameProblem::ForbiddenCharacter},
        {L"a/b", NameProblem::ForbiddenCharacter},
        {L":", NameProblem::ForbiddenCharacter},
        {L"C:\\Windows\\x", NameProblem::ForbiddenCharacter},
        {L"a*b", NameProblem::ForbiddenCharacter},
        {L"a?b", NameProblem::ForbiddenCharacter},
        {L"a|b", NameProblem::ForbiddenCharacter},
        {L"a<b", NameProblem::ForbiddenCharacter},
        {L"a>b", NameProblem::ForbiddenCharacter},
        {L"a\"b", NameProblem::ForbiddenCharacter},

        {L"a\tb", NameProblem::ControlCharacter},
        {L"a\nb", NameProblem::ControlCharacter},
        {L"\x1F", NameProblem::ControlCharacter},

        {L"Rock.", NameProblem::TrailingDotOrBlank},
        {L"Rock ", NameProblem::TrailingDotOrBlank},
        {L".", NameProblem::TrailingDotOrBlank},
        {L"..", NameProblem::TrailingDotOrBlank},
        {L"   ", NameProblem::TrailingDotOrBlank},

        {L"CON", NameProblem::ReservedDeviceName},
        {L"con", NameProblem::ReservedDeviceName},
        {L"Prn", NameProblem::ReservedDeviceName},
        {L"AUX", NameProblem::ReservedDeviceName},
        {L"nul", NameProblem::ReservedDeviceName},
        {L"Con.txt", NameProblem::ReservedDeviceName},
        {L"NUL.tar.gz", NameProblem::ReservedDeviceName},
        {L"CON .txt", NameProblem::ReservedDeviceName},
        {L"COM1", NameProblem::ReservedDeviceName},
        {L"com9", NameProblem::ReservedDeviceName},
        {L"LPT1", NameProblem::ReservedDeviceName},
        {L"lpt9.x", NameProblem::ReservedDeviceName},
        {L"COM\u00B9", NameProblem::ReservedDeviceName},
        {L"CONOUT$", NameProblem::ReservedDeviceName},

        {std::wstring(kMaxPlaylistNameLength + 1, L'a'), NameProblem::TooLong},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckPlaylistName(c.name), c.problem) << Narrow(c.name);
}

TEST(NameCheck, EveryRefusalHasItsOwnWarning) {
    EXPECT_TRUE(NameProblemText(NameProblem::None).empty());
    EXPECT_EQ(NameProblemText(NameProblem::Empty), L"Vous devez donner un nom à votre PlayList.");
    std::set<std::wstring_view> seen;
    for (const NameProblem p : {NameProblem::Empty, NameProblem::ForbiddenCharacter, NameProblem::ControlCharacter,
                                NameProblem::TrailingDotOrBlank, NameProblem::ReservedDeviceName, NameProblem::TooLong}) {
        EXPECT_FALSE(NameProblemText(p).empty());
        EXPECT_TRUE(seen.insert(NameProblemText(p)).second);
    }
}
