// The frame rendering policy switch, against a fake library and for real.
#include <gtest/gtest.h>
#include <windows.h>

#include "frame_policy.h"

namespace {

const HMODULE kFakeDwm = reinterpret_cast<HMODULE>(0x5150);

struct Fake {
    bool loads = true;
    bool hasFunction = true;
    int loadCalls = 0, setCalls = 0, releaseCalls = 0;
    HMODULE released = nullptr;
    HWND window = nullptr;
    DWORD attribute = 0, policy = 0, size = 0;
} g_fake;

HMODULE WINAPI FakeLoad(LPCWSTR name) {
    ++g_fake.loadCalls;
    return g_fake.loads && lstrcmpiW(name, L"dwmapi.dll") == 0 ? kFakeDwm : nullptr;
}

HRESULT WINAPI FakeSetAttribute(HWND window, DWORD attribute, LPCVOID value, DWORD size) {
    ++g_fake.setCalls;
    g_fake.window = window;
    g_fake.attribute = attribute;
    g_fake.policy = *static_cast<const DWORD*>(value);
    g_fake.size = size;
    return S_OK;
}

FARPROC WINAPI FakeFind(HMODULE module, LPCSTR name) {
    if (module != kFakeDwm || !g_fake.hasFunction || lstrcmpA(name, "DwmSetWindowAttribute") != 0) return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeSetAttribute));
}

BOOL WINAPI FakeRelease(HMODULE module) {
    ++g_fake.releaseCalls;
    g_fake.released = module;
    return TRUE;
}

const LibraryApi kFakeApi{&FakeLoad, &FakeFind, &FakeRelease};

TEST(FramePolicy, PassesThePolicyAndAlwaysReleasesTheLibrary) {
    const HWND window = reinterpret_cast<HWND>(0x77);
    struct Case {
        bool loads, hasFunction;
        int disabled;
        int setCalls;
        DWORD policy;
        int releaseCalls;
    };
    const Case cases[] = {
        {true, true, 1, 1, 1, 1},    // disabled: DWMNCRP_DISABLED
        {true, true, 42, 1, 1, 1},   // any non-zero value counts as true
        {true, true, 0, 1, 2, 1},    // enabled: DWMNCRP_ENABLED
        {true, false, 1, 0, 0, 1},   // no function: skipped, still released
        {false, true, 1, 0, 0, 0},   // no library: nothing at all
    };
    for (const Case& c : cases) {
        g_fake = {};
        g_fake.loads = c.loads;
        g_fake.hasFunction = c.hasFunction;
        SetFrameRenderingDisabled(kFakeApi, window, c.disabled);
        SCOPED_TRACE(testing::Message() << "loads " << c.loads << " function " << c.hasFunction
                                        << " disabled " << c.disabled);
        EXPECT_EQ(g_fake.loadCalls, 1);
        EXPECT_EQ(g_fake.setCalls, c.setCalls);
        EXPECT_EQ(g_fake.releaseCalls, c.releaseCalls);
        if (c.releaseCalls) {
            EXPECT_EQ(g_fake.released, kFakeDwm);
        }
        if (c.setCalls) {
            EXPECT_EQ(g_fake.window, window);
            EXPECT_EQ(g_fake.attribute, 2u);  // DWMWA_NCRENDERING_POLICY
            EXPECT_EQ(g_fake.policy, c.policy);
            EXPECT_EQ(g_fake.size, 4u);
        }
    }
}

TEST(FramePolicy, RealCallLeavesTheWindowAndTheLibraryAsTheyWere) {
    HWND window = CreateWindowExW(0, L"Static", L"policy", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const bool loadedBefore = GetModuleHandleW(L"dwmapi.dll") != nullptr;
    SetFrameRenderingDisabled(window, 1);
    EXPECT_TRUE(IsWindow(window));
    if (!loadedBefore) {
        EXPECT_EQ(GetModuleHandleW(L"dwmapi.dll"), nullptr) << "library left loaded";
    }
    DestroyWindow(window);
}

}  // namespace
