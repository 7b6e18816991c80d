#include "about_text.h"

#include "about_lines.h"

namespace tunerolle {

std::wstring AboutText() { return BuildAboutLines(kVersionText, kBuildTimestamp); }

}  // namespace tunerolle
