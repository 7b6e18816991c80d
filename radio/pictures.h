#pragma once
// The two PNG pictures, compiled into the program's initialised data from
// res/about.png and res/station.png.
#include <cstddef>

namespace radio {
extern const unsigned char kAboutPng[];
extern const size_t kAboutPngSize;
extern const unsigned char kStationPng[];
extern const size_t kStationPngSize;
}  // namespace radio
