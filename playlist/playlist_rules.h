// Small rules of the playlist manager that need no window: which files are
// audio titles, the texts of the count header and of the status bar, the
// automatic playlist name, playlist file names and the check of a name typed
// by the user. Pure code: no windows.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tunerolle {

// ---- Titles and paths ------------------------------------------------------

enum class AudioKind { None, Mp3, Wma };

// Characters after the last "." of the last component (after the last "\" or
// "/"), case kept. Empty when the component has no ".", when that "." is its
// first character, or when a blank follows it.
std::wstring PathExtension(std::wstring_view path);

// Extension lower-cased: "mp3" or "wma". Decides both the row's icon and
// whether a file chosen in the tree may be added, so Chanson.MP3 passes in
// both places, as it does when its folder is added.
AudioKind AudioKindOfPath(std::wstring_view path);

// Rule for the entries of a listed folder: the last four characters,
// lower-cased, are ".mp3" or ".wma". The caller skips folders itself.
bool IsAudioEntryName(std::wstring_view name);

// Title of a file added from disk: everything after the last "\" or "/".
std::wstring FileNameOfPath(std::wstring_view path);

// Last component of a folder path, for the folder error message:
// C:\Musique\Live\ gives Live, C:\ gives C:, a path without "\" or "/"
// gives an empty text.
std::wstring LastFolderName(std::wstring_view folderPath);

// Playlist name of a file path: the file name cut before its last "." when
// that "." is neither its first nor its last character and no blank follows
// it. Rock.ini gives Rock, My Mix.ini gives My Mix, .ini stays .ini.
std::wstring PlaylistNameOfPath(std::wstring_view path);

// The playlist file of a name: folder, name, ".ini". A folder given without
// its closing "\" gets one, so the file can't land beside the folder.
std::wstring PlaylistFilePath(std::wstring_view folder, std::wstring_view name);

// ---- Texts of the title list and the status bar ----------------------------

inline constexpr std::wstring_view kCountHeaderAtStart = L"Titres";
inline constexpr std::wstring_view kCountHeaderCleared = L" Titres";
inline constexpr std::wstring_view kCountHeaderAfterDelete = L" Titre";

// "0 Titre", "1 Titre", "2 Titres"...
std::wstring CountHeaderText(std::size_t rows);

enum class SavedCountForm {
    Plural,        // start-up and after a save: always "enregistrées"
    SingularRule,  // after a deletion or a change of the list: 0 or 1 is singular
};

// "Vous avez 3 Playlist enregistrées", "Vous avez 1 Playlist enregistrée".
std::wstring SavedCountText(std::size_t playlists, SavedCountForm form);

inline constexpr std::wstring_view kSuccessCaption = L"Playlist!";
inline constexpr std::wstring_view kSaveSuccessText = L"Votre PlayList a été correctement enregistrée";

// "La PlayList " name " a été correctement chargée".
std::wstring LoadSuccessText(std::wstring_view name);

inline constexpr std::wstring_view kFolderErrorCaption = L"Erreur";

// "Impossible d'examiner le répertoire \n" last folder name
// " et d'ajouter les fichiers à la liste."
std::wstring FolderErrorText(std::wstring_view folderPath);

// A save that fails must say so, naming the file: the user's titles are
// still in the list and can be saved under another name.
inline constexpr std::wstring_view kSaveFailedCaption = L"Enregistrement impossible";
std::wstring SaveFailedText(std::wstring_view filePath);

// ---- Automatic name ---------------------------------------------------------

// Fields of the local clock, as the system gives them (month 1-12, hour 0-23).
struct LocalDateTime {
    unsigned year = 0;
    unsigned month = 0;
    unsigned day = 0;
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
};

// Tunerolle_DD-MM-YYYY_HHMMSS, e.g. Tunerolle_05-03-2024_143007.
std::wstring AutomaticPlaylistName(const LocalDateTime& when);

// ---- Checking a playlist name -----------------------------------------------

// The name becomes a file of the playlists folder: anything that is not a
// plain file name there (or that would lead out of the folder) is refused
// before a byte is written.
enum class NameProblem {
    None,
    Empty,
    ForbiddenCharacter,  // < > : " / \ | ? * (the last ones lead out of the folder)
    ControlCharacter,    // codes 1 to 31
    TrailingDotOrBlank,  // invisible: "Rock " would sit beside "Rock" looking the same
    ReservedDeviceName,  // CON, PRN, AUX, NUL, COM1-9, LPT1-9..., even with an extension
    TooLong,             // the name and ".ini" must fit in one component
};

// Longest name whose file name, ".ini" included, fits in 255 characters.
inline constexpr std::size_t kMaxPlaylistNameLength = 251;

NameProblem CheckPlaylistName(std::wstring_view name);

// The warning shown for a refused name, under kNameProblemCaption. Empty text
// for NameProblem::None.
inline constexpr std::wstring_view kNameProblemCaption = L"Nom de la Playlist!";
std::wstring_view NameProblemText(NameProblem problem);

}  // namespace tunerolle
