#pragma once
// The About box's words. Pure, so they are checked natively.
#include <string>
#include <string_view>

namespace tunerolle {

inline constexpr std::wstring_view kVersionText = L"Tunerolle V1.08.06.24";
// Seconds since 1970-01-01 00:00:00 UTC when this version was built.
inline constexpr long long kBuildTimestamp = 1718122276;
inline constexpr std::wstring_view kAboutCaption = L"A propos...";

// Six lines separated by a carriage return alone, built afresh on each call.
std::wstring AboutText();

}  // namespace tunerolle
