#include "framework/Gdi.h"

#include "framework/App.h"
#include "framework/HandleMap.h"
#include "framework/Wnd.h"

namespace {
typedef CHandleMap<CGdiObject, HGDIOBJ> GdiMap;
typedef CHandleMap<CDC, HDC> DcMap;

CGdiObject* MakeGdi(HGDIOBJ h)
{
    CGdiObject* p = new CGdiObject;
    p->m_hObject = h;
    return p;
}
void ReleaseGdi(CGdiObject* p)
{
    p->m_hObject = nullptr;
    delete p;
}
CDC* MakeDc(HDC h)
{
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = h;
    return p;
}
void ReleaseDc(CDC* p)
{
    p->m_hDC = p->m_hAttribDC = nullptr;
    delete p;
}
} // namespace

// --- CGdiObject

__attribute__((optimize("no-delete-null-pointer-checks"))) HGDIOBJ CGdiObject::GetSafeHandle() const
{
    return this == nullptr ? nullptr : m_hObject;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) { return GdiMap::FromHandle(h, &MakeGdi); }
void CGdiObject::DeleteTempMap() { GdiMap::DeleteTemporary(&ReleaseGdi); }

BOOL CGdiObject::Attach(HGDIOBJ h)
{
    if (!h)
        return FALSE;
    DeleteObject();
    m_hObject = h;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) { return Attach(::CreatePatternBrush((HBITMAP)pBitmap->GetSafeHandle())); }

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC)
{
    HDC hdc = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
    LOGFONTA lf = *lpLogFont;
    // Tenths of a point to logical units of the context.
    POINT pt = {0, MulDiv(GetDeviceCaps(hdc, LOGPIXELSY), lf.lfHeight, 720)};
    ::DPtoLP(hdc, &pt, 1);
    POINT org = {0, 0};
    ::DPtoLP(hdc, &org, 1);
    lf.lfHeight = -abs(pt.y - org.y);
    if (!pDC)
        ::ReleaseDC(nullptr, hdc);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::LoadImageFile(LPCSTR lpszPath, UINT fuLoad)
{
    return Attach(::LoadImageA(nullptr, lpszPath, IMAGE_BITMAP, 0, 0, fuLoad | LR_LOADFROMFILE));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE s = {0, 0};
    ::GetBitmapDimensionEx((HBITMAP)m_hObject, &s);
    return s;
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC) { return Attach(::CreateHalftonePalette(pDC->m_hDC)); }

int CPalette::GetEntryCount() const
{
    WORD n = 0;
    if (!::GetObjectA(m_hObject, sizeof n, &n))
        return 0;
    return n;
}

// --- CDC

CDC::CDC() : m_hDC(nullptr), m_hAttribDC(nullptr), m_bOwned(FALSE) {}

CDC::~CDC()
{
    if (m_hDC && m_bOwned)
        ::DeleteDC(m_hDC);
}

__attribute__((optimize("no-delete-null-pointer-checks"))) HDC CDC::GetSafeHdc() const
{
    return this == nullptr ? nullptr : m_hDC;
}

CDC* CDC::FromHandle(HDC hDC) { return DcMap::FromHandle(hDC, &MakeDc); }
void CDC::DeleteTempMap() { DcMap::DeleteTemporary(&ReleaseDc); }

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    m_bOwned = FALSE;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    m_bOwned = FALSE;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    HDC h = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    if (!h)
        return FALSE;
    Attach(h);
    m_bOwned = TRUE;
    return TRUE;
}

BOOL CDC::CreateDC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput, const void* lpInitData)
{
    HDC h = ::CreateDCA(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODEA*)lpInitData);
    if (!h)
        return FALSE;
    Attach(h);
    m_bOwned = TRUE;
    return TRUE;
}

BOOL CDC::CreateIC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput, const void* lpInitData)
{
    HDC h = ::CreateICA(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODEA*)lpInitData);
    if (!h)
        return FALSE;
    Attach(h);
    m_bOwned = TRUE;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return hObject ? ::SelectObject(m_hDC, hObject) : nullptr; }

CPen* CDC::SelectObject(CPen* pPen) { return CPen::FromHandle((HPEN)SelectObject(pPen->GetSafeHandle())); }
CBrush* CDC::SelectObject(CBrush* pBrush) { return CBrush::FromHandle((HBRUSH)SelectObject(pBrush->GetSafeHandle())); }
CFont* CDC::SelectObject(CFont* pFont) { return CFont::FromHandle((HFONT)SelectObject(pFont->GetSafeHandle())); }
CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return CBitmap::FromHandle((HBITMAP)SelectObject(pBitmap->GetSafeHandle()));
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) { return CGdiObject::FromHandle(SelectObject(pObject->GetSafeHandle())); }
int CDC::SelectObject(CRgn* pRgn) { return (int)(INT_PTR)::SelectObject(m_hDC, pRgn->GetSafeHandle()); }
CGdiObject* CDC::SelectStockObject(int nIndex) { return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex))); }

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground)
{
    return CPalette::FromHandle(::SelectPalette(m_hDC, (HPALETTE)pPalette->GetSafeHandle(), bForceBackground));
}
UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }

CPen* CDC::GetCurrentPen() const { return CPen::FromHandle((HPEN)::GetCurrentObject(m_hDC, OBJ_PEN)); }
CBrush* CDC::GetCurrentBrush() const { return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
CFont* CDC::GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
CBitmap* CDC::GetCurrentBitmap() const { return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP)); }

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT p = {0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &p);
    return p;
}
CPoint CDC::GetViewportOrg() const
{
    POINT p = {0, 0};
    ::GetViewportOrgEx(m_hDC, &p);
    return p;
}
CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT p = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &p);
    return p;
}
CPoint CDC::GetWindowOrg() const
{
    POINT p = {0, 0};
    ::GetWindowOrgEx(m_hDC, &p);
    return p;
}
CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT p = {0, 0};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &p);
    return p;
}
CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE s = {0, 0};
    ::SetViewportExtEx(m_hDC, cx, cy, &s);
    return s;
}
CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE s = {0, 0};
    ::SetWindowExtEx(m_hDC, cx, cy, &s);
    return s;
}

int CDC::SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
int CDC::SelectClipRgn(CRgn* pRgn, int nMode) { return ::ExtSelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), nMode); }

CPoint CDC::MoveTo(int x, int y)
{
    POINT p = {0, 0};
    ::MoveToEx(m_hDC, x, y, &p);
    return p;
}
CPoint CDC::GetCurrentPosition() const
{
    POINT p = {0, 0};
    ::GetCurrentPositionEx(m_hDC, &p);
    return p;
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle()); }
void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) { ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle()); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    // ExtTextOut with an opaque rectangle fills without a brush.
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT r = {x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    return ::FillRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle());
}
BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    return ::FrameRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle(), nWidth, nHeight);
}
BOOL CDC::PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, nSrcWidth, nSrcHeight,
                        dwRop);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const
{
    SIZE s = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &s);
    return s;
}

// --- paint, client and window contexts

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
