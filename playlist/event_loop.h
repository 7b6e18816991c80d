#pragma once
#include <string>

#include "events.h"

namespace tunerolle {

// What the loop calls; tests put recorders in place of the real commands.
struct CommandTable {
    void (*addSelectedFromTree)();
    void (*removeSelectedTitles)();
    void (*saveCommand)();
    void (*clearCommand)();
    void (*openCommand)();
    void (*closeCommand)();
    void (*openSelectedCommand)();
    void (*deleteSelectedCommand)();
    void (*prepareSavedPopup)();
    void (*refreshSavedCount)(bool singularRule, bool relistFirst);
    bool (*quitPrompt)();
    void (*showProperties)(const std::wstring& path);
    void (*showHelp)();
    void (*showAbout)();
    void (*showMenu)(int menuId);
};

const CommandTable& ProgramCommands();

// Handles one event; returns false when the loop must end.
bool DispatchEvent(const gui::Event& event, const CommandTable& commands);
void RunEventLoop(const CommandTable& commands);

// The selected saved playlist's path when it is a selected file, else empty.
std::wstring SelectedSavedPlaylistPath();

}  // namespace tunerolle
