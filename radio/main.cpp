#include <windows.h>

#include "radio_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return radio::RunRadio(); }
