#pragma once
// The About text both programs share: one line of their own, then the family's
// five. Plain strings only, so it is checked natively, without Windows.
#include <string>
#include <string_view>

// Copies the pattern, replacing %dd, %mm and %yyyy (in any letter case) with
// the UTC day, month and year of the timestamp. Computed by hand so that no
// time zone can shift it.
std::wstring FormatUtcDate(std::wstring_view pattern, long long secondsSinceEpoch);

// Six lines separated by a carriage return alone; the fifth carries the build
// date formatted as " le %dd.%mm.%yyyy".
std::wstring BuildAboutLines(std::wstring_view firstLine, long long buildTimestamp);
