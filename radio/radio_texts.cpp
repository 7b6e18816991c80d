#include "radio_texts.h"

#include "about_lines.h"

namespace radio {
namespace {
constexpr std::wstring_view kStreamHost = L"flux.orvandel-radio.fr";
constexpr std::wstring_view kSiteHost = L"www.orvandel-radio.fr";
constexpr std::wstring_view kStationDomain = L"orvandel-radio.fr";
}  // namespace

std::wstring StreamAddress() { return L"http://" + std::wstring(kStreamHost) + L":9000/;"; }

std::wstring SiteAddress() { return L"https://" + std::wstring(kSiteHost) + L"/"; }

std::wstring StationTooltip() {
    return L"Recharger le lecteur ou se connecter à " + std::wstring(kStationDomain);
}

std::wstring SiteFailureText() {
    return L"Impossible de se connecter au site :\n" + SiteAddress() +
           L"\nVérifiez votre connexion à internet.";
}

std::wstring BuildStreamPage() {
    std::wstring page(kPageMeta);
    page += kPageBody;
    page += kPageAudio;
    page += kPageSourceOpen;
    page += StreamAddress();
    page += kPageSourceClose;
    page += kPageAudioEnd;
    return page;
}

std::wstring BuildAboutText(std::wstring_view version) {
    return BuildAboutLines(L"Orvandel Web Radio " + std::wstring(version), kBuildTimestamp);
}

}  // namespace radio
