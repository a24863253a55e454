#include "uikit/KCSideBannerWnd.h"

#include <cstring>
#include <vector>

#include "framework/App.h"
#include "framework/MsgMap.h"
#include "uikit/DrawHelpers.h"

namespace {

BannerRect ToBanner(const RECT& r) { return {(int)r.left, (int)r.top, (int)r.right, (int)r.bottom}; }
CRect FromBanner(const BannerRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

void ToVertex(TRIVERTEX& v, LONG x, LONG y, COLORREF c)
{
    v.x = x;
    v.y = y;
    v.Red = (COLOR16)(GetRValue(c) << 8);
    v.Green = (COLOR16)(GetGValue(c) << 8);
    v.Blue = (COLOR16)(GetBValue(c) << 8);
    v.Alpha = 0;
}

} // namespace

void FillFallbackGradient(HDC dc, COLORREF from, COLORREF to, const RECT& rect, bool horizontal, bool swapped)
{
    const int bits = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
    FillFallbackGradient(dc, from, to, rect, horizontal, swapped, bits);
}

void FillFallbackGradient(HDC dc, COLORREF from, COLORREF to, const RECT& rect, bool horizontal, bool swapped,
                          int bitsPerPixel)
{
    CRect r(rect);
    if (r.IsRectEmpty())
        ::GetClipBox(dc, &r);
    const COLORREF first = swapped ? to : from;
    const COLORREF second = swapped ? from : to;
    CDC* target = CDC::FromHandle(dc);
    if (bitsPerPixel < 9) {
        target->FillSolidRect(&r, first);
        return;
    }
    const int n = horizontal ? r.Width() : r.Height();
    for (int i = 0; i < n; ++i) {
        const COLORREF c = GradientStepColour(first, second, i, n);
        if (horizontal)
            target->FillSolidRect(r.left + i, r.top, 1, r.Height(), c);
        else
            target->FillSolidRect(r.left, r.top + i, r.Width(), 1, c);
    }
}

BEGIN_MESSAGE_MAP(CKCSideBannerWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CKCSideBannerWnd::CKCSideBannerWnd()
    : CWndUtil("KCSideBanner"), m_dialog(nullptr), m_thickness(50), m_edge(0), m_fillMode(kFillGradient),
      m_iconPlacement(kIconOtherEnd), m_title("This is the sample title"), m_caption("This is the sample caption..."),
      m_icon(nullptr), m_ownsIcon(false), m_iconBitmap(), m_fillBitmap(nullptr), m_ownsBitmap(false),
      m_gradientFill(nullptr), m_msimg32(nullptr), m_margin{5, 3}, m_captionOffset{4, 10}, m_titleFont(),
      m_captionFont(), m_colour1(0xFFFFFF), m_colour2(0x932600), m_edgeColour(0), m_titleColour(0),
      m_captionColour(0)
{
    RegisterClass();
    CFont title, caption;
    if (title.CreatePointFont(75, "Verdana"))
        title.GetLogFont(&m_titleFont);
    if (caption.CreatePointFont(85, "Verdana"))
        caption.GetLogFont(&m_captionFont);
    m_msimg32 = ::LoadLibraryA("MSIMG32.DLL");
    if (m_msimg32)
        m_gradientFill = (GradientFillProc)(void*)::GetProcAddress(m_msimg32, "GradientFill");
}

CKCSideBannerWnd::~CKCSideBannerWnd()
{
    if (m_fillBitmap && m_ownsBitmap)
        ::DeleteObject(m_fillBitmap);
    if (m_icon && m_ownsIcon)
        ::DestroyIcon(m_icon);
    if (m_msimg32)
        ::FreeLibrary(m_msimg32);
}

BOOL CKCSideBannerWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(0, GetClassName(), "", style, rect, parent, id);
}

CRect CKCSideBannerWnd::StripRect() const
{
    CRect client;
    m_dialog->GetClientRect(&client);
    return FromBanner(BannerStrip(ToBanner(client), m_edge, m_thickness));
}

void CKCSideBannerWnd::MoveDialogControls(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    struct Collect {
        HWND dialog;
        HWND banner;
        std::vector<HWND> children;
        static BOOL CALLBACK Add(HWND h, LPARAM p)
        {
            Collect* c = (Collect*)p;
            if (::GetParent(h) == c->dialog && h != c->banner)
                c->children.push_back(h);
            return TRUE;
        }
    } collect{m_dialog->m_hWnd, m_hWnd, {}};
    ::EnumChildWindows(collect.dialog, &Collect::Add, (LPARAM)&collect);
    for (HWND h : collect.children) {
        RECT r;
        ::GetWindowRect(h, &r);
        ::MapWindowPoints(nullptr, collect.dialog, (POINT*)&r, 2);
        ::MoveWindow(h, r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

void CKCSideBannerWnd::GrowDialog(int delta)
{
    const int side = BannerEdgeOf(m_edge);
    const bool across = side == kBannerLeft || side == kBannerRight;
    CRect window;
    m_dialog->GetWindowRect(&window);
    m_dialog->SetWindowPos(nullptr, 0, 0, window.Width() + (across ? delta : 0),
                           window.Height() + (across ? 0 : delta), SWP_NOMOVE | SWP_NOZORDER);
    MoveDialogControls(side == kBannerLeft ? delta : 0, side == kBannerTop ? delta : 0);
}

int CKCSideBannerWnd::Attach(CWnd* dialog, int edge, UINT id)
{
    if (!dialog || !::IsWindow(dialog->GetSafeHwnd()))
        return 0;
    m_dialog = dialog;
    m_edge = edge;
    GrowDialog(m_thickness);
    Create(WS_CHILD | WS_VISIBLE, StripRect(), dialog, id);
    return 1;
}

void CKCSideBannerWnd::UpdateSize()
{
    if (::IsWindow(m_hWnd) && m_dialog)
        MoveWindow(StripRect(), TRUE);
}

void CKCSideBannerWnd::SetThickness(int thickness)
{
    const int delta = thickness - m_thickness;
    m_thickness = thickness;
    if (!m_dialog || !::IsWindow(m_dialog->m_hWnd) || delta == 0)
        return;
    GrowDialog(delta);
    UpdateSize();
}

void CKCSideBannerWnd::SetEdge(int edge)
{
    const int thickness = m_thickness;
    SetThickness(0);
    m_edge = edge;
    SetThickness(thickness);
}

void CKCSideBannerWnd::SetFillMode(int mode)
{
    m_fillMode = mode;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CKCSideBannerWnd::SetFillBitmap(HBITMAP bitmap, bool owns)
{
    if (m_fillBitmap && m_ownsBitmap && m_fillBitmap != bitmap)
        ::DeleteObject(m_fillBitmap);
    m_fillBitmap = bitmap;
    m_ownsBitmap = owns;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

bool CKCSideBannerWnd::SetIcon(HICON icon, int placement, bool owns)
{
    if (m_icon && m_ownsIcon && m_icon != icon)
        ::DestroyIcon(m_icon);
    m_icon = icon;
    m_iconPlacement = placement;
    m_ownsIcon = owns;
    std::memset(&m_iconBitmap, 0, sizeof m_iconBitmap);
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return false;
    // A monochrome icon has no colour bitmap; its mask holds both halves.
    HBITMAP picture = info.hbmColor ? info.hbmColor : info.hbmMask;
    const bool read = ::GetObjectA(picture, sizeof m_iconBitmap, &m_iconBitmap) != 0;
    if (!info.hbmColor)
        m_iconBitmap.bmHeight /= 2;
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (::IsWindow(m_hWnd))
        Invalidate();
    return read;
}

void CKCSideBannerWnd::SetTitle(const CString& title)
{
    m_title = title;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CKCSideBannerWnd::SetCaption(const CString& caption)
{
    m_caption = caption;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CKCSideBannerWnd::StoreFont(CFont* font, LOGFONTA& into)
{
    if (font && font->GetSafeHandle())
        font->GetLogFont(&into);
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CKCSideBannerWnd::SetTitleFont(CFont* font) { StoreFont(font, m_titleFont); }
void CKCSideBannerWnd::SetCaptionFont(CFont* font) { StoreFont(font, m_captionFont); }

void CKCSideBannerWnd::GetTitleFont(CFont* font) const
{
    if (font)
        font->CreateFontIndirect(&m_titleFont);
}

void CKCSideBannerWnd::GetCaptionFont(CFont* font) const
{
    if (font)
        font->CreateFontIndirect(&m_captionFont);
}

BOOL CKCSideBannerWnd::OnEraseBkgnd(CDC*)
{
    return TRUE; // the paint covers everything
}

void CKCSideBannerWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CDC memory;
    if (!memory.CreateCompatibleDC(&paint))
        return;
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paint, client.Width(), client.Height());
    HGDIOBJ old = ::SelectObject(memory.m_hDC, bitmap.m_hObject);
    DrawBackground(&memory, client);
    DrawTextFields(&memory, client);
    paint.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    ::SelectObject(memory.m_hDC, old);
}

void CKCSideBannerWnd::DrawBackground(CDC* dc, CRect rect)
{
    const int side = BannerEdgeOf(m_edge);
    if ((m_fillMode & kFillSolid) || ((m_fillMode & kFillGradient) && m_colour1 == m_colour2)) {
        dc->FillSolidRect(&rect, m_colour1);
    } else if (m_fillMode & kFillGradient) {
        if (m_gradientFill) {
            TRIVERTEX v[2];
            GRADIENT_RECT g = {0, 1};
            const bool vertical = side == kBannerLeft || side == kBannerRight;
            const COLORREF start = side == kBannerLeft ? m_colour2 : m_colour1;
            const COLORREF end = side == kBannerLeft ? m_colour1 : m_colour2;
            ToVertex(v[0], rect.left, rect.top, start);
            ToVertex(v[1], rect.right, rect.bottom, end);
            m_gradientFill(dc->m_hDC, v, 2, &g, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
        } else {
            const bool vertical = side == kBannerLeft || side == kBannerRight;
            FillFallbackGradient(dc->m_hDC, m_colour1, m_colour2, rect, !vertical, side != kBannerLeft);
        }
    } else if ((m_fillMode & kFillBitmap) && m_fillBitmap) {
        CBrush pattern;
        pattern.Attach(::CreatePatternBrush(m_fillBitmap));
        HGDIOBJ oldBrush = ::SelectObject(dc->m_hDC, pattern.m_hObject);
        HGDIOBJ oldPen = ::SelectObject(dc->m_hDC, ::GetStockObject(NULL_PEN));
        dc->Rectangle(rect.left - 1, rect.top - 1, rect.right + 1, rect.bottom + 1);
        ::SelectObject(dc->m_hDC, oldPen);
        ::SelectObject(dc->m_hDC, oldBrush);
    } else {
        // Bitmap mode without a bitmap: the buffer is not initialised.
        dc->FillSolidRect(&rect, m_colour1);
    }
    DrawEdge(dc, rect);
}

void CKCSideBannerWnd::DrawEdge(CDC* dc, CRect rect)
{
    CPenDC pen(dc->m_hDC, m_edgeColour);
    switch (BannerEdgeOf(m_edge)) {
    case kBannerLeft:
        dc->MoveTo(rect.right - 1, rect.top);
        dc->LineTo(rect.right - 1, rect.bottom);
        break;
    case kBannerRight:
        dc->MoveTo(rect.left, rect.top);
        dc->LineTo(rect.left, rect.bottom);
        break;
    case kBannerTop:
        dc->MoveTo(rect.left, rect.bottom - 1);
        dc->LineTo(rect.right, rect.bottom - 1);
        break;
    case kBannerBottom:
        dc->MoveTo(rect.left, rect.top);
        dc->LineTo(rect.right, rect.top);
        break;
    default:
        break;
    }
}

void CKCSideBannerWnd::DrawIcon(CDC* dc, CRect& rect)
{
    BannerRect r = ToBanner(rect);
    const BannerPoint at = PlaceBannerIcon(m_edge, m_iconPlacement, r, {(int)m_margin.x, (int)m_margin.y},
                                           m_iconBitmap.bmWidth, m_iconBitmap.bmHeight);
    rect = FromBanner(r);
    dc->DrawIcon(at.x, at.y, m_icon);
}

void CKCSideBannerWnd::DrawTextFields(CDC* dc, CRect rect)
{
    if (m_icon)
        DrawIcon(dc, rect);
    const int escapement = BannerEscapement(m_edge);
    m_titleFont.lfEscapement = m_titleFont.lfOrientation = escapement;
    m_captionFont.lfEscapement = m_captionFont.lfOrientation = escapement;

    BannerPoint title, caption;
    BannerTextOrigins(m_edge, ToBanner(rect), {(int)m_margin.x, (int)m_margin.y},
                      {(int)m_captionOffset.x, (int)m_captionOffset.y}, m_titleFont.lfHeight, title, caption);

    HDC h = dc->m_hDC;
    const int oldMode = ::SetBkMode(h, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(h, m_titleColour);
    CFont titleFont, captionFont;
    titleFont.CreateFontIndirect(&m_titleFont);
    HGDIOBJ oldFont = ::SelectObject(h, titleFont.m_hObject);
    if (!m_title.IsEmpty())
        ::TextOutA(h, title.x, title.y, m_title, m_title.GetLength());

    ::SetTextColor(h, m_captionColour);
    captionFont.CreateFontIndirect(&m_captionFont);
    ::SelectObject(h, captionFont.m_hObject);
    if (!m_caption.IsEmpty()) {
        int widths[256] = {};
        ::GetCharWidthA(h, 0, 255, widths);
        for (const CaptionGlyph& g : LayOutCaption(m_caption, (size_t)m_caption.GetLength(), widths, m_edge,
                                                   caption, ToBanner(rect), m_captionFont.lfHeight))
            ::TextOutA(h, g.at.x, g.at.y, &g.ch, 1);
    }
    ::SelectObject(h, oldFont);
    ::SetBkMode(h, oldMode);
    ::SetTextColor(h, oldColour);
}

int AttachDialogBanner(CKCSideBannerWnd& banner, CWnd* dialog, UINT iconId, const CString& title)
{
    if (!banner.Attach(dialog, kBannerLeft, 0xFFF0))
        return 0;
    banner.SetColorBkg(::GetSysColor(COLOR_BTNFACE));
    banner.SetColorEdge(0);
    // A private copy: the banner destroys the icon it owns.
    HICON icon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 0, 0,
                                     LR_DEFAULTSIZE);
    banner.SetIcon(icon, kIconTitleEnd | kIconCentred, true);
    banner.SetCaption(CString());
    banner.SetTitle(title);
    return 1;
}
