#include "framework/HtmlView.h"

#include <vector>

#include "framework/Gdi.h"

IMPLEMENT_DYNAMIC(CHtmlView, CView)

BEGIN_MESSAGE_MAP(CHtmlView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
CLSID g_browserClass = CLSID_WebBrowser;
}

void CHtmlView::SetBrowserClass(const CLSID& clsid) { g_browserClass = clsid; }
CLSID CHtmlView::GetBrowserClass() { return g_browserClass; }

// The client site, the in-place site and the in-place frame of the browser,
// all on the view's window. The frame offers no menus or borders.
class CHtmlView::Site : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit Site(HWND window) : m_refs(1), m_window(window) {}

    void Detach() { m_window = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite)
            *ppv = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
            *ppv = static_cast<IOleInPlaceSite*>(this);
        else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
            *ppv = static_cast<IOleInPlaceFrame*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG n = InterlockedDecrement(&m_refs);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override
    {
        if (ppmk)
            *ppmk = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override
    {
        if (ppContainer)
            *ppContainer = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the site and the frame)
    STDMETHODIMP GetWindow(HWND* phwnd) override
    {
        if (!phwnd)
            return E_POINTER;
        *phwnd = m_window;
        return m_window ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return m_window ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                  LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override
    {
        if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect)
            return E_POINTER;
        *ppFrame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *ppDoc = nullptr;
        RECT rc = {0, 0, 0, 0};
        if (m_window)
            ::GetClientRect(m_window, &rc);
        *lprcPosRect = rc;
        *lprcClipRect = rc;
        if (lpFrameInfo) {
            lpFrameInfo->fMDIApp = FALSE;
            lpFrameInfo->hwndFrame = m_window;
            lpFrameInfo->haccel = nullptr;
            lpFrameInfo->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    virtual ~Site() = default;

    LONG m_refs;
    HWND m_window;
};

CHtmlView::CHtmlView() : m_pSite(nullptr), m_pOleObject(nullptr), m_pBrowser(nullptr) {}

CHtmlView::~CHtmlView() { ReleaseBrowser(); }

int CHtmlView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    // A view without its browser is of no use: its creation fails.
    return CreateBrowser() ? 0 : -1;
}

bool CHtmlView::CreateBrowser()
{
    if (FAILED(CoCreateInstance(g_browserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                (void**)&m_pOleObject)) ||
        !m_pOleObject) {
        m_pOleObject = nullptr;
        return false;
    }
    m_pSite = new Site(m_hWnd);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (FAILED(m_pOleObject->SetClientSite(m_pSite)) ||
        FAILED(m_pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pSite, 0, m_hWnd, &rc)) ||
        FAILED(m_pOleObject->QueryInterface(IID_IWebBrowser2, (void**)&m_pBrowser)) || !m_pBrowser) {
        m_pBrowser = nullptr;
        ReleaseBrowser();
        return false;
    }
    return true;
}

void CHtmlView::ReleaseBrowser()
{
    if (m_pBrowser) {
        m_pBrowser->Release();
        m_pBrowser = nullptr;
    }
    if (m_pOleObject) {
        m_pOleObject->Close(OLECLOSE_NOSAVE);
        m_pOleObject->SetClientSite(nullptr);
        m_pOleObject->Release();
        m_pOleObject = nullptr;
    }
    if (m_pSite) {
        m_pSite->Detach();
        m_pSite->Release();
        m_pSite = nullptr;
    }
}

void CHtmlView::OnDestroy()
{
    // The browser's windows are children of ours: it goes first.
    ReleaseBrowser();
    CView::OnDestroy();
}

void CHtmlView::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pOleObject)
        return;
    IOleInPlaceObject* inPlace = nullptr;
    if (SUCCEEDED(m_pOleObject->QueryInterface(IID_IOleInPlaceObject, (void**)&inPlace)) && inPlace) {
        RECT rc = {0, 0, cx, cy};
        inPlace->SetObjectRects(&rc, &rc);
        inPlace->Release();
    }
}

BOOL CHtmlView::OnEraseBkgnd(CDC*) { return TRUE; } // the browser paints it all

void CHtmlView::OnDraw(CDC*) {}

bool CHtmlView::Navigate(const char* url)
{
    if (!m_pBrowser || !url)
        return false;
    const int n = MultiByteToWideChar(CP_ACP, 0, url, -1, nullptr, 0);
    if (n <= 0)
        return false;
    std::vector<wchar_t> wide((size_t)n);
    MultiByteToWideChar(CP_ACP, 0, url, -1, wide.data(), n);
    BSTR address = SysAllocString(wide.data());
    if (!address)
        return false;
    VARIANT empty;
    VariantInit(&empty);
    const HRESULT hr = m_pBrowser->Navigate(address, &empty, &empty, &empty, &empty);
    SysFreeString(address);
    return SUCCEEDED(hr);
}

CString CHtmlView::GetLocationURL() const
{
    CString result;
    BSTR address = nullptr;
    if (!m_pBrowser || FAILED(m_pBrowser->get_LocationURL(&address)) || !address)
        return result;
    const int n = WideCharToMultiByte(CP_ACP, 0, address, -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
        std::vector<char> narrow((size_t)n);
        WideCharToMultiByte(CP_ACP, 0, address, -1, narrow.data(), n, nullptr, nullptr);
        result = narrow.data();
    }
    SysFreeString(address);
    return result;
}
