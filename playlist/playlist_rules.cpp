#include "playlist_rules.h"

#include <array>
#include <cstdint>

namespace tunerolle {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Only ASCII letters matter here: every text compared after lowering is
// ASCII ("mp3", ".wma", "con"...), and no other letter lowers into one of
// those.
wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EqualsLowered(std::wstring_view text, std::wstring_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != lower[i]) return false;
    }
    return true;
}

std::wstring_view LastComponent(std::wstring_view path) {
    const std::size_t sep = path.find_last_of(L"\\/");
    return sep == std::wstring_view::npos ? path : path.substr(sep + 1);
}

void AppendTwoDigits(std::wstring& out, unsigned value) {
    if (value < 10) out += L'0';
    out += std::to_wstring(value);
}

}  // namespace

std::wstring PathExtension(std::wstring_view path) {
    const std::wstring_view name = LastComponent(path);
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || dot == 0) return {};
    const std::wstring_view extension = name.substr(dot + 1);
    if (extension.find(L' ') != std::wstring_view::npos) return {};
    return std::wstring(extension);
}

AudioKind AudioKindOfPath(std::wstring_view path) {
    const std::wstring extension = PathExtension(path);
    if (EqualsLowered(extension, L"mp3")) return AudioKind::Mp3;
    if (EqualsLowered(extension, L"wma")) return AudioKind::Wma;
    return AudioKind::None;
}

bool IsAudioEntryName(std::wstring_view name) {
    const std::wstring_view tail = name.size() > 4 ? name.substr(name.size() - 4) : name;
    return EqualsLowered(tail, L".mp3") || EqualsLowered(tail, L".wma");
}

std::wstring FileNameOfPath(std::wstring_view path) { return std::wstring(LastComponent(path)); }

std::wstring LastFolderName(std::wstring_view folderPath) {
    const std::size_t last = folderPath.find_last_of(L"\\/");
    if (last == std::wstring_view::npos || last == 0) return {};
    const std::size_t previous = folderPath.find_last_of(L"\\/", last - 1);
    const std::size_t start = previous == std::wstring_view::npos ? 0 : previous + 1;
    return std::wstring(folderPath.substr(start, last - start));
}

std::wstring PlaylistNameOfPath(std::wstring_view path) {
    const std::wstring_view name = LastComponent(path);
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || dot == 0 || dot + 1 == name.size() ||
        name.find(L' ', dot) != std::wstring_view::npos) {
        return std::wstring(name);
    }
    return std::wstring(name.substr(0, dot));
}

std::wstring PlaylistFilePath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (!path.empty() && !IsSeparator(path.back())) path += L'\\';
    path += name;
    path += L".ini";
    return path;
}

std::wstring CountHeaderText(std::size_t rows) {
    return std::to_wstring(rows) + (rows <= 1 ? L" Titre" : L" Titres");
}

std::wstring SavedCountText(std::size_t playlists, SavedCountForm form) {
    const bool singular = form == SavedCountForm::SingularRule && playlists <= 1;
    return L"Vous avez " + std::to_wstring(playlists) +
           (singular ? L" Playlist enregistrée" : L" Playlist enregistrées");
}

std::wstring LoadSuccessText(std::wstring_view name) {
    std::wstring text = L"La PlayList ";
    text += name;
    text += L" a été correctement chargée";
    return text;
}

std::wstring FolderErrorText(std::wstring_view folderPath) {
    return L"Impossible d'examiner le répertoire \n" + LastFolderName(folderPath) +
           L" et d'ajouter les fichiers à la liste.";
}

std::wstring SaveFailedText(std::wstring_view filePath) {
    std::wstring text = L"Votre PlayList n'a pas pu être enregistrée dans le fichier :\n";
    text += filePath;
    text += L"\n\nVérifiez que le dossier existe et que le fichier n'est pas ouvert par un autre programme."
            L" Vos titres restent dans la liste.";
    return text;
}

std::wstring AutomaticPlaylistName(const LocalDateTime& when) {
    std::wstring name = L"Tunerolle_";
    AppendTwoDigits(name, when.day);
    name += L'-';
    AppendTwoDigits(name, when.month);
    name += L'-';
    const std::wstring year = std::to_wstring(when.year);
    if (year.size() < 4) name.append(4 - year.size(), L'0');
    name += year;
    name += L'_';
    AppendTwoDigits(name, when.hour);
    AppendTwoDigits(name, when.minute);
    AppendTwoDigits(name, when.second);
    return name;
}

NameProblem CheckPlaylistName(std::wstring_view name) {
    if (name.empty()) return NameProblem::Empty;
    for (const wchar_t c : name) {
        if (static_cast<std::uint32_t>(c) < 0x20) return NameProblem::ControlCharacter;
    }
    if (name.find_first_of(L"<>:\"/\\|?*") != std::wstring_view::npos) return NameProblem::ForbiddenCharacter;
    if (name.back() == L'.' || name.back() == L' ') return NameProblem::TrailingDotOrBlank;

    // Windows opens the device whatever follows the first "." (NUL.txt is
    // NUL), blanks before that "." included.
    std::wstring_view base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
    static constexpr std::array<std::wstring_view, 30> kDevices = {
        L"con",  L"prn",  L"aux",  L"nul",  L"conin$", L"conout$", L"com1", L"com2", L"com3", L"com4",
        L"com5", L"com6", L"com7", L"com8", L"com9",   L"com\u00B9", L"com\u00B2", L"com\u00B3", L"lpt1", L"lpt2",
        L"lpt3", L"lpt4", L"lpt5", L"lpt6", L"lpt7",   L"lpt8",    L"lpt9", L"lpt\u00B9", L"lpt\u00B2", L"lpt\u00B3",
    };
    for (const std::wstring_view device : kDevices) {
        if (EqualsLowered(base, device)) return NameProblem::ReservedDeviceName;
    }

    if (name.size() > kMaxPlaylistNameLength) return NameProblem::TooLong;
    return NameProblem::None;
}

std::wstring_view NameProblemText(NameProblem problem) {
    switch (problem) {
        case NameProblem::None:
            return {};
        case NameProblem::Empty:
            return L"Vous devez donner un nom à votre PlayList.";
        case NameProblem::ForbiddenCharacter:
            return L"Le nom de votre PlayList ne doit contenir aucun des caractères suivants :\n"
                   L"\\ / : * ? \" < > |\n\nChoisissez un autre nom.";
        case NameProblem::ControlCharacter:
            return L"Le nom de votre PlayList contient un caractère invisible (tabulation, saut de ligne...)"
                   L" qui n'est pas permis dans un nom de fichier.\n\nChoisissez un autre nom.";
        case NameProblem::TrailingDotOrBlank:
            return L"Le nom de votre PlayList ne doit pas se terminer par un point ou par un espace.\n\n"
                   L"Choisissez un autre nom.";
        case NameProblem::ReservedDeviceName:
            return L"Ce nom est réservé par Windows (CON, PRN, AUX, NUL, COM1 à COM9, LPT1 à LPT9),"
                   L" même suivi d'un point et d'une extension.\n\nChoisissez un autre nom.";
        case NameProblem::TooLong:
            return L"Le nom de votre PlayList est trop long : 251 caractères au plus.\n\n"
                   L"Choisissez un autre nom.";
    }
    return {};
}

}  // namespace tunerolle
