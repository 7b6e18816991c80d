#pragma once
// Small owners for Windows handles and COM pointers: every resource has one
// owner and is released exactly once, on every path.
#include <windows.h>
#include <unknwn.h>
#include <utility>

namespace gui {

template <typename T, typename Traits>
class unique_resource {
public:
    unique_resource() = default;
    explicit unique_resource(T value) : value_(value) {}
    unique_resource(const unique_resource&) = delete;
    unique_resource& operator=(const unique_resource&) = delete;
    unique_resource(unique_resource&& other) noexcept : value_(other.release()) {}
    unique_resource& operator=(unique_resource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_resource() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return Traits::valid(value_); }
    T release() { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) {
        if (Traits::valid(value_)) Traits::close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::invalid();
};

struct HandleTraits {
    static HANDLE invalid() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(HANDLE h) { FindClose(h); }
};
struct ChangeNotificationTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(HANDLE h) { FindCloseChangeNotification(h); }
};
struct IconTraits {
    static HICON invalid() { return nullptr; }
    static bool valid(HICON h) { return h != nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};
struct CursorTraits {
    static HCURSOR invalid() { return nullptr; }
    static bool valid(HCURSOR h) { return h != nullptr; }
    static void close(HCURSOR h) { DestroyCursor(h); }
};
template <typename G>
struct GdiTraits {
    static G invalid() { return nullptr; }
    static bool valid(G h) { return h != nullptr; }
    static void close(G h) { DeleteObject(h); }
};
struct ModuleTraits {
    static HMODULE invalid() { return nullptr; }
    static bool valid(HMODULE h) { return h != nullptr; }
    static void close(HMODULE h) { FreeLibrary(h); }
};
struct MenuTraits {
    static HMENU invalid() { return nullptr; }
    static bool valid(HMENU h) { return h != nullptr; }
    static void close(HMENU h) { DestroyMenu(h); }
};
struct WindowTraits {
    static HWND invalid() { return nullptr; }
    static bool valid(HWND h) { return h != nullptr; }
    static void close(HWND h) { DestroyWindow(h); }
};
struct GlobalTraits {
    static HGLOBAL invalid() { return nullptr; }
    static bool valid(HGLOBAL h) { return h != nullptr; }
    static void close(HGLOBAL h) { GlobalFree(h); }
};

using unique_handle = unique_resource<HANDLE, HandleTraits>;
using unique_find = unique_resource<HANDLE, FindTraits>;
using unique_change_notification = unique_resource<HANDLE, ChangeNotificationTraits>;
using unique_hicon = unique_resource<HICON, IconTraits>;
using unique_hcursor = unique_resource<HCURSOR, CursorTraits>;
template <typename G>
using unique_gdi = unique_resource<G, GdiTraits<G>>;
using unique_module = unique_resource<HMODULE, ModuleTraits>;
using unique_menu = unique_resource<HMENU, MenuTraits>;
using unique_window = unique_resource<HWND, WindowTraits>;
using unique_hglobal = unique_resource<HGLOBAL, GlobalTraits>;

// A device context from GetDC, released with ReleaseDC.
// A function of a loaded library, looked up by name; null when either is missing.
template <typename F>
F FindEntry(HMODULE library, const char* name) {
    return library ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

class window_dc {
public:
    explicit window_dc(HWND window) : window_(window), dc_(GetDC(window)) {}
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    ~window_dc() { if (dc_) ReleaseDC(window_, dc_); }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context, deleted with DeleteDC.
class memory_dc {
public:
    explicit memory_dc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    memory_dc(const memory_dc&) = delete;
    memory_dc& operator=(const memory_dc&) = delete;
    ~memory_dc() { if (dc_) DeleteDC(dc_); }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Puts the previously selected GDI object back when it goes out of scope.
class select_object {
public:
    select_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    select_object(const select_object&) = delete;
    select_object& operator=(const select_object&) = delete;
    ~select_object() { if (previous_) SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

template <typename T>
class com_ptr {
public:
    com_ptr() = default;
    explicit com_ptr(T* p) : p_(p) {}  // takes over a reference
    com_ptr(const com_ptr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
    com_ptr(com_ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    com_ptr& operator=(com_ptr o) noexcept { std::swap(p_, o.p_); return *this; }
    ~com_ptr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() { if (p_) std::exchange(p_, nullptr)->Release(); }
    T** put() { reset(); return &p_; }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    template <typename U>
    com_ptr<U> as() const {
        com_ptr<U> out;
        if (p_) p_->QueryInterface(__uuidof(U), out.put_void());
        return out;
    }

private:
    T* p_ = nullptr;
};

}  // namespace gui
