#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>

#include "radio_texts.h"

namespace {

TEST(StreamPage, IsTheFivePiecesAndNeverGrows) {
    const std::wstring expected =
        L"<meta http-equiv='X-UA-Compatible' content='IE=edge' />"
        L"<body bgcolor=black scroll=no>"
        L"<audio id = 'stream' autoplay controls>"
        L"<source src='http://flux.orvandel-radio.fr:9000/;'>"
        L"</audio>";
    EXPECT_EQ(radio::BuildStreamPage(), expected);
    for (int reload = 0; reload < 3; ++reload) EXPECT_EQ(radio::BuildStreamPage(), expected);
}

const std::wstring kExpectedAbout =
    L"Orvandel Web Radio v1.04.06.24\r"
    L"- Est un élément de Meridel Média Player\r"
    L"- www.tarnwick-quillmark.fr.\r"
    L"- Compatible Windows 7 / 8 / 8.1 / 10 et 11\r"
    L"- Dernière compilation :  le 11.06.2024\r"
    L"- Remerciements à la communauté des développeurs en Ondalune";

TEST(AboutText, IsSixLinesSeparatedByCarriageReturnsOnly) {
    const std::wstring text = radio::BuildAboutText(radio::kVersionText);
    EXPECT_EQ(text, kExpectedAbout);
    EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\r'), 5);
    EXPECT_EQ(radio::BuildAboutText(radio::kVersionText), text);  // same on every request
}

// The build date must not follow the machine's time zone. Both zones put the
// build instant on another local day than UTC or near it, so a formatter
// using local time would show a different date in at least one of them.
TEST(AboutText, DateIgnoresTheTimeZone) {
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    for (const char* zone : {"XST+12", "YST-14"}) {
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(radio::BuildAboutText(radio::kVersionText), kExpectedAbout) << zone;
    }
    // Proof that the zone really took effect: local time is a day behind.
    setenv("TZ", "XST+12", 1);
    tzset();
    std::time_t when = static_cast<std::time_t>(radio::kBuildTimestamp);
    EXPECT_EQ(std::localtime(&when)->tm_mday, 10);
    if (previous) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();
}

TEST(UtcDate, FormatsDayMonthYearAndCopiesTheRest) {
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
        {951782400, L"%dd.%mm", L"29.02"},       // leap day of a century leap year
        {4107542400, L"%dd.%mm.%yyyy", L"01.03.2100"},  // 2100 has no 29 February
        {1718097467, L"%d %m %yy 100%", L"%d %m %yy 100%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(radio::FormatUtcDate(c.pattern, c.seconds), c.expected) << c.seconds;
    }
}

TEST(SiteTexts, AddressesAgreeWithEachOther) {
    EXPECT_EQ(radio::SiteAddress(), L"https://www.orvandel-radio.fr/");
    EXPECT_EQ(radio::SiteFailureText(),
              L"Impossible de se connecter au site :\nhttps://www.orvandel-radio.fr/\n"
              L"Vérifiez votre connexion à internet.");
    EXPECT_EQ(radio::StationTooltip(), L"Recharger le lecteur ou se connecter à orvandel-radio.fr");
}

}  // namespace
