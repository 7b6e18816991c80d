#include "commands.h"

namespace tunerolle {

// Help, About and the shell's Properties dialog come with their own change;
// the buttons and menu items already reach these routines.
void ShowProperties(const std::wstring&) {}
void ShowHelp() {}
void ShowAbout() {}

}  // namespace tunerolle
