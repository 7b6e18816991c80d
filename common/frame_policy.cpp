#include "frame_policy.h"

namespace {
constexpr DWORD kNcRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
constexpr DWORD kPolicyDisabled = 1;     // DWMNCRP_DISABLED
constexpr DWORD kPolicyEnabled = 2;      // DWMNCRP_ENABLED

using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

HMODULE WINAPI LoadByName(LPCWSTR name) { return LoadLibraryW(name); }
}  // namespace

void SetFrameRenderingDisabled(const LibraryApi& api, HWND window, int disabled) {
    // Loaded by name: the library does not exist before Vista.
    HMODULE dwm = api.load(L"dwmapi.dll");
    if (!dwm) return;
    DWORD policy = disabled ? kPolicyDisabled : kPolicyEnabled;
    auto set = reinterpret_cast<DwmSetWindowAttributeFn>(
        reinterpret_cast<void*>(api.find(dwm, "DwmSetWindowAttribute")));
    if (set) set(window, kNcRenderingPolicy, &policy, sizeof policy);
    api.release(dwm);
}

void SetFrameRenderingDisabled(HWND window, int disabled) {
    static const LibraryApi system{&LoadByName, &GetProcAddress, &FreeLibrary};
    SetFrameRenderingDisabled(system, window, disabled);
}
