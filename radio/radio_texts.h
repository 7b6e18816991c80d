#pragma once
// The radio's texts: the stream page, the About text and the words of its
// boxes. Plain strings only, so they are checked natively, without Windows.
#include <string>
#include <string_view>

namespace radio {

inline constexpr std::wstring_view kVersionText = L"v1.04.06.24";
// Seconds since 1970-01-01 00:00:00 UTC when this version was built.
inline constexpr long long kBuildTimestamp = 1718097467;

inline constexpr std::wstring_view kWindowTitle = L"Orvandel Web Radio";
inline constexpr std::wstring_view kAboutTooltip = L"A propos";
inline constexpr std::wstring_view kAboutCaption = L"A propos...";
inline constexpr std::wstring_view kSitePromptCaption = L"Connexion Orvandel";
inline constexpr std::wstring_view kSitePromptText = L"Souhaitez-vous vous connecter au site web ? ";
inline constexpr std::wstring_view kSiteFailureCaption = L"Orvandel";

// The five pieces of the stream page, in page order; the fourth wraps the
// stream address.
inline constexpr std::wstring_view kPageMeta = L"<meta http-equiv='X-UA-Compatible' content='IE=edge' />";
inline constexpr std::wstring_view kPageBody = L"<body bgcolor=black scroll=no>";
inline constexpr std::wstring_view kPageAudio = L"<audio id = 'stream' autoplay controls>";
inline constexpr std::wstring_view kPageSourceOpen = L"<source src='";
inline constexpr std::wstring_view kPageSourceClose = L"'>";
inline constexpr std::wstring_view kPageAudioEnd = L"</audio>";

std::wstring StreamAddress();   // http://<stream server>:9000/;
std::wstring SiteAddress();     // https://<site>/
std::wstring StationTooltip();  // tip of the station picture
std::wstring SiteFailureText();

// The page always starts afresh, so every load gives the same text.
std::wstring BuildStreamPage();

// Six lines separated by a carriage return alone.
std::wstring BuildAboutText(std::wstring_view version);

}  // namespace radio
