#include "about_lines.h"

namespace {
constexpr std::wstring_view kMakerAddress = L"www.tarnwick-quillmark.fr";
constexpr std::wstring_view kBuildDatePattern = L" le %dd.%mm.%yyyy";

struct CivilDate {
    long long year;
    int month;  // 1..12
    int day;    // 1..31
};

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's
// civil_from_days), valid for negative days too.
CivilDate CivilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;  // March = 0
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::wstring Padded(long long value, size_t width) {
    std::wstring digits = std::to_wstring(value < 0 ? -value : value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
    return value < 0 ? L"-" + digits : digits;
}

// The tokens are plain ASCII, so folding A-Z is enough.
bool StartsWithToken(std::wstring_view text, std::wstring_view token) {
    if (text.size() < token.size()) return false;
    for (size_t i = 0; i < token.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != token[i]) return false;
    }
    return true;
}
}  // namespace

std::wstring FormatUtcDate(std::wstring_view pattern, long long secondsSinceEpoch) {
    long long days = secondsSinceEpoch / 86400;
    if (secondsSinceEpoch % 86400 < 0) --days;  // floor, for dates before 1970
    const CivilDate date = CivilFromDays(days);
    std::wstring out;
    for (size_t i = 0; i < pattern.size();) {
        std::wstring_view rest = pattern.substr(i);
        if (StartsWithToken(rest, L"%yyyy")) {
            out += Padded(date.year, 4);
            i += 5;
        } else if (StartsWithToken(rest, L"%dd")) {
            out += Padded(date.day, 2);
            i += 3;
        } else if (StartsWithToken(rest, L"%mm")) {
            out += Padded(date.month, 2);
            i += 3;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

std::wstring BuildAboutLines(std::wstring_view firstLine, long long buildTimestamp) {
    std::wstring text(firstLine);
    text += L"\r- Est un élément de Meridel Média Player\r";
    text += L"- " + std::wstring(kMakerAddress) + L".\r";
    text += L"- Compatible Windows 7 / 8 / 8.1 / 10 et 11\r";
    text += L"- Dernière compilation : " + FormatUtcDate(kBuildDatePattern, buildTimestamp) + L"\r";
    text += L"- Remerciements à la communauté des développeurs en Ondalune";
    return text;
}
