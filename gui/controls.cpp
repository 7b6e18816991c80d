#include "controls.h"

#include <map>

#include "events.h"

namespace gui {
namespace {
struct Entry {
    HWND window;
    NotifyHandler notify;
    CommandHandler command;
};
std::map<int, Entry>& Registry() {
    static std::map<int, Entry> registry;
    return registry;
}
const Entry* Find(HWND window, int* id) {
    for (auto& [number, entry] : Registry()) {
        if (entry.window == window) {
            *id = number;
            return &entry;
        }
    }
    return nullptr;
}
}  // namespace

void RegisterControl(int id, HWND window, NotifyHandler notify, CommandHandler command) {
    Registry()[id] = Entry{window, notify, command};
}

void UnregisterControl(int id) { Registry().erase(id); }

HWND Control(int id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : it->second.window;
}

int ControlId(HWND window) {
    int id = -1;
    Find(window, &id);
    return id;
}

bool RouteNotify(NMHDR* header, LRESULT& result) {
    int id = -1;
    const Entry* entry = Find(header->hwndFrom, &id);
    if (!entry || !entry->notify) return false;
    return entry->notify(id, header, result);
}

bool RouteCommand(WPARAM wParam, LPARAM lParam) {
    HWND from = reinterpret_cast<HWND>(lParam);
    if (!from) return false;  // menus and accelerators are not controls
    int id = -1;
    const Entry* entry = Find(from, &id);
    if (!entry) return false;
    int code = HIWORD(wParam);
    if (entry->command) return entry->command(id, code);
    // Plain controls: a button click, an edit's text change.
    if (code == BN_CLICKED) PostControlEvent(id, kLeftClick);
    else if (code == EN_CHANGE) PostControlEvent(id, kChange);
    else if (code == EN_SETFOCUS) PostControlEvent(id, kFocus);
    else if (code == EN_KILLFOCUS) PostControlEvent(id, kLostFocus);
    return true;
}

}  // namespace gui
