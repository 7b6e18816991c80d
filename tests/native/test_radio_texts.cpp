#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "radio_texts.h"
#include "time_zone.h"

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

// The build date must not follow the machine's time zone. The first zone
// puts the build instant on the day before in local time, so a formatter
// using local time would show another date there.
TEST(AboutText, DateIgnoresTheTimeZone) {
    for (const char* zone : {"XST+12", "YST-14"}) {
        ScopedTimeZone scoped(zone);
        EXPECT_EQ(radio::BuildAboutText(radio::kVersionText), kExpectedAbout) << zone;
        if (zone[0] == 'X') EXPECT_EQ(ScopedTimeZone::LocalDay(radio::kBuildTimestamp), 10);
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
