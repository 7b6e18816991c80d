#include "web_view.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <ole2.h>

#include <map>

#include "controls.h"
#include "events.h"
#include "handles.h"

namespace gui {
namespace {
constexpr wchar_t kHostClass[] = L"MeridelWebViewHost";
// Long enough for a real engine to finish about:blank, short enough that a
// start-up without one is not noticed.
constexpr ULONGLONG kReadyTimeoutMs = 3000;

// Client site, in-place site and frame, UI handler and event sink of one web
// view, in one reference-counted object.
class Host final : public IOleClientSite,
                   public IOleInPlaceSite,
                   public IOleInPlaceFrame,
                   public IDocHostUIHandler,
                   public IDispatch {
public:
    Host(HWND window, int id) : window_(window), id_(id) {}

    bool documentComplete = false;
    bool navigateError = false;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
            *out = static_cast<IOleClientSite*>(this);
        } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
            *out = static_cast<IOleInPlaceSite*>(this);
        } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
            *out = static_cast<IOleInPlaceFrame*>(this);
        } else if (iid == IID_IDocHostUIHandler) {
            *out = static_cast<IDocHostUIHandler*>(this);
        } else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
            *out = static_cast<IDispatch*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        if (out) *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, for both the site and the frame
    STDMETHODIMP GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (frame) {
            *frame = this;
            AddRef();
        }
        if (document) *document = nullptr;
        if (position) GetClientRect(window_, position);
        if (clip) GetClientRect(window_, clip);
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = GetAncestor(window_, GA_ROOT);
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no toolbars, no menus.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler: no 3-D border; menus and keys stay the engine's.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
        if (!info) return E_POINTER;
        info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* out, DWORD) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }

    // IDispatch: the DWebBrowserEvents2 sink.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        switch (member) {
        case DISPID_DOCUMENTCOMPLETE: documentComplete = true; break;
        case DISPID_NAVIGATEERROR: navigateError = true; break;
        case DISPID_TITLECHANGE:
        case DISPID_STATUSTEXTCHANGE:
        case DISPID_PROGRESSCHANGE:
        case DISPID_NEWWINDOW2:
        case DISPID_NEWWINDOW3:
            // The engine's own notifications, for whoever wants them.
            PostControlEvent(id_, static_cast<int>(member));
            break;
        }
        return S_OK;
    }

private:
    ~Host() = default;
    HWND window_;
    int id_;
    ULONG references_ = 1;
};

struct WebView {
    com_ptr<Host> host;
    com_ptr<IOleObject> object;
    com_ptr<IWebBrowser2> browser;
    com_ptr<IConnectionPoint> events;
    DWORD cookie = 0;
    bool timedOut = false;
};

std::map<HWND, WebView> g_views;
bool g_oleStarted = false;

// A VARIANT released on every path.
struct variant {
    VARIANT value;
    variant() { VariantInit(&value); }
    explicit variant(const wchar_t* text) : variant() {
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(text);
    }
    variant(const variant&) = delete;
    variant& operator=(const variant&) = delete;
    ~variant() { VariantClear(&value); }
};

void Navigate(IWebBrowser2* browser, const wchar_t* address) {
    variant url(address), none;
    browser->Navigate2(&url.value, &none.value, &none.value, &none.value, &none.value);
}

void FitToWindow(HWND window, const WebView& view) {
    if (!view.object) return;
    com_ptr<IOleInPlaceObject> inPlace = view.object.as<IOleInPlaceObject>();
    if (!inPlace) return;
    RECT r;
    GetClientRect(window, &r);
    inPlace->SetObjectRects(&r, &r);
}

// Disconnects and closes the browser; the host object goes with the last
// reference the browser held.
void Release(WebView& view) {
    if (view.events && view.cookie) view.events->Unadvise(view.cookie);
    view.events.reset();
    view.browser.reset();
    if (view.object) {
        view.object->Close(OLECLOSE_NOSAVE);
        view.object->SetClientSite(nullptr);
    }
    view.object.reset();
    view.host.reset();
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        auto it = g_views.find(window);
        if (it != g_views.end()) FitToWindow(window, it->second);
        break;
    }
    case WM_DESTROY: {
        auto it = g_views.find(window);
        if (it != g_views.end()) {
            WebView view = std::move(it->second);
            g_views.erase(it);
            Release(view);
        }
        break;
    }
    case WM_NCDESTROY: {
        int id = GetDlgCtrlID(window);
        if (Control(id) == window) UnregisterControl(id);
        break;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterHostClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kHostClass, &wc)) return true;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The stream page is black; so is the view until a page covers it.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kHostClass;
    return RegisterClassExW(&wc) != 0;
}

bool Embed(HWND window, int id, WebView& view) {
    if (!g_oleStarted && SUCCEEDED(OleInitialize(nullptr))) g_oleStarted = true;
    view.host = com_ptr<Host>(new Host(window, id));
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                view.object.put_void()))) {
        return false;
    }
    if (FAILED(view.object->SetClientSite(static_cast<IOleClientSite*>(view.host.get())))) return false;
    RECT r;
    GetClientRect(window, &r);
    if (FAILED(view.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                                   static_cast<IOleClientSite*>(view.host.get()), 0, window, &r))) {
        return false;
    }
    view.browser = view.object.as<IWebBrowser2>();
    if (!view.browser) return false;
    view.browser->put_Silent(VARIANT_TRUE);  // no script error boxes over the radio
    if (auto container = view.object.as<IConnectionPointContainer>()) {
        if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, view.events.put()))) {
            if (FAILED(view.events->Advise(static_cast<IDispatch*>(view.host.get()), &view.cookie))) {
                view.cookie = 0;
            }
        }
    }
    FitToWindow(window, view);
    return true;
}

// Waits for the blank document, a navigation error or the time limit.
void WaitUntilReady(HWND window) {
    const ULONGLONG deadline = GetTickCount64() + kReadyTimeoutMs;
    for (;;) {
        auto it = g_views.find(window);
        if (it == g_views.end() || !it->second.host) return;
        if (it->second.host->documentComplete || it->second.host->navigateError) return;
        if (GetTickCount64() >= deadline) {
            it->second.timedOut = true;
            return;
        }
        PumpPendingMessages();
        Sleep(1);
    }
}

WebView* Find(int id) {
    auto it = g_views.find(Control(id));
    return it == g_views.end() ? nullptr : &it->second;
}

com_ptr<IDispatch> Document(const WebView& view) {
    com_ptr<IDispatch> document;
    if (view.browser) view.browser->get_Document(document.put());
    return document;
}
}  // namespace

HWND CreateWebView(HWND parent, int id, int x, int y, int width, int height,
                   const std::wstring& startAddress) {
    if (!RegisterHostClass()) return nullptr;
    HWND window = CreateWindowExW(0, kHostClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                  x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    RegisterControl(id, window);
    WebView& view = g_views[window];
    if (!Embed(window, id, view)) {
        Release(view);  // the window stays, empty
        return window;
    }
    Navigate(view.browser.get(), L"about:blank");
    WaitUntilReady(window);
    auto it = g_views.find(window);
    if (it == g_views.end() || !it->second.browser) return window;
    WebView& ready = it->second;
    if (ready.host->navigateError && !ready.host->documentComplete && !Document(ready)) {
        // No HTML engine: the browser's empty window would be a white box in
        // the middle of the program. Without it the host's black shows.
        RECT r;
        GetClientRect(window, &r);
        ready.object->DoVerb(OLEIVERB_HIDE, nullptr, static_cast<IOleClientSite*>(ready.host.get()), 0,
                             window, &r);
        return window;
    }
    if (!startAddress.empty()) Navigate(ready.browser.get(), startAddress.c_str());
    return window;
}

void LoadHtml(int id, const std::wstring& html) {
    WebView* view = Find(id);
    if (!view) return;
    com_ptr<IDispatch> document = Document(*view);
    auto persist = document.as<IPersistStreamInit>();
    if (!persist) return;  // no HTML engine: nothing to load into

    const int bytes = WideCharToMultiByte(CP_UTF8, 0, html.data(), static_cast<int>(html.size()),
                                          nullptr, 0, nullptr, nullptr);
    if (bytes <= 0 && !html.empty()) return;
    // Zero-filled, so the byte after the text is its terminating zero.
    unique_hglobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes) + 1));
    if (!block) return;
    void* memory = GlobalLock(block.get());
    if (!memory) return;
    WideCharToMultiByte(CP_UTF8, 0, html.data(), static_cast<int>(html.size()),
                        static_cast<char*>(memory), bytes, nullptr, nullptr);
    GlobalUnlock(block.get());
    {
        com_ptr<IStream> stream;  // released before the block is freed
        if (FAILED(CreateStreamOnHGlobal(block.get(), FALSE, stream.put()))) return;
        persist->Load(stream.get());
    }
    PumpPendingMessages();
}

WebViewState GetWebViewState(int id) {
    WebViewState state;
    WebView* view = Find(id);
    if (!view || !view->browser) return state;
    state.browser = true;
    state.documentComplete = view->host && view->host->documentComplete;
    state.navigateError = view->host && view->host->navigateError;
    state.timedOut = view->timedOut;
    state.document = static_cast<bool>(Document(*view));
    return state;
}

void ShutdownWebViews() {
    while (!g_views.empty()) {
        HWND window = g_views.begin()->first;
        if (IsWindow(window)) {
            DestroyWindow(window);  // WM_DESTROY releases it
        }
        auto it = g_views.find(window);
        if (it != g_views.end()) {
            WebView view = std::move(it->second);
            g_views.erase(it);
            Release(view);
        }
    }
    if (g_oleStarted) {
        OleUninitialize();
        g_oleStarted = false;
    }
}

}  // namespace gui
