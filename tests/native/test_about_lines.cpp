#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "about_lines.h"
#include "about_text.h"
#include "time_zone.h"

namespace {

TEST(UtcDate, FormatsDayMonthYearInAnyCaseAndCopiesTheRest) {
    struct Case {
        long long seconds;
        const wchar_t* pattern;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {1718097467, L" le %dd.%mm.%yyyy", L" le 11.06.2024"},
        {1718063999, L"%dd.%mm.%yyyy", L"10.06.2024"},  // one second before midnight
        {1718064000, L"%dd.%mm.%yyyy", L"11.06.2024"},
        {0, L"%yyyy-%mm-%dd", L"1970-01-01"},
        {-1, L"%dd/%mm/%yyyy", L"31/12/1969"},
        {951782400, L"%dd.%mm", L"29.02"},              // leap day of a century leap year
        {4107542400, L"%dd.%mm.%yyyy", L"01.03.2100"},  // 2100 has no 29 February
        {1718097467, L"%d %m %yy 100%", L"%d %m %yy 100%"},
        {1718122276, L"%DD.%Mm.%YYYY", L"11.06.2024"},
        {1718122276, L"%yYyY%mM%Dd", L"20240611"},
        {1718122276, L"%%dd%", L"%11%"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatUtcDate(c.pattern, c.seconds), c.expected) << c.pattern;
}

// The playlist manager's About box: exact text, six lines joined by carriage
// returns alone, the same date whatever the zone. The second zone puts the
// build instant on 12 June in local time.
TEST(AboutText, PlaylistManagerTextIsExactInEveryTimeZone) {
    const std::wstring expected =
        L"Tunerolle V1.08.06.24\r"
        L"- Est un élément de Meridel Média Player\r"
        L"- www.tarnwick-quillmark.fr.\r"
        L"- Compatible Windows 7 / 8 / 8.1 / 10 et 11\r"
        L"- Dernière compilation :  le 11.06.2024\r"
        L"- Remerciements à la communauté des développeurs en Ondalune";
    for (const char* zone : {"XST+12", "YST-14"}) {
        ScopedTimeZone scoped(zone);
        const std::wstring text = tunerolle::AboutText();
        EXPECT_EQ(text, expected) << zone;
        EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
        EXPECT_EQ(std::count(text.begin(), text.end(), L'\r'), 5);
        if (zone[0] == 'Y') EXPECT_EQ(ScopedTimeZone::LocalDay(tunerolle::kBuildTimestamp), 12);
    }
}

}  // namespace
