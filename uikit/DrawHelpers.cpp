#include "uikit/DrawHelpers.h"

HBITMAP CaptureScreenRect(const RECT& r)
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return nullptr;
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = memory ? ::CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top) : nullptr;
    if (bitmap) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ::SelectObject(memory, old);
    }
    if (memory)
        ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

// --- buffered DC

CBufferDC::CBufferDC(HDC target, const RECT& rect) : m_target(target), m_rect(rect), m_oldBitmap(nullptr)
{
    if (m_rect.IsRectEmpty())
        ::GetClipBox(target, &m_rect);
    HDC memory = ::CreateCompatibleDC(target);
    if (!memory)
        return;
    Attach(memory);
    m_bOwned = TRUE;
    m_bitmap.Attach(::CreateCompatibleBitmap(target, m_rect.right, m_rect.bottom));
    if (m_bitmap.m_hObject)
        m_oldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    if (m_rect.top > 0)
        ExcludeClipRect(0, 0, m_rect.right, m_rect.top);
    if (m_rect.left > 0)
        ExcludeClipRect(0, m_rect.top, m_rect.left, m_rect.bottom);
}

CBufferDC::~CBufferDC()
{
    if (!m_hDC)
        return;
    ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
             SRCCOPY);
    if (m_oldBitmap)
        ::SelectObject(m_hDC, m_oldBitmap);
    m_bitmap.DeleteObject();
    DeleteDC();
}

// --- pen and brush

CPenDC::CPenDC(HDC dc, COLORREF colour) : m_hDC(dc), m_oldPen(nullptr)
{
    m_pen.CreatePen(PS_SOLID, 1, colour);
    m_oldPen = ::SelectObject(m_hDC, m_pen.m_hObject);
}

CPenDC::~CPenDC()
{
    ::SelectObject(m_hDC, m_oldPen);
}

void CPenDC::Color(COLORREF colour)
{
    ::SelectObject(m_hDC, m_oldPen);
    m_pen.DeleteObject();
    m_pen.CreatePen(PS_SOLID, 1, colour);
    m_oldPen = ::SelectObject(m_hDC, m_pen.m_hObject);
}

CBrushDC::CBrushDC(HDC dc, COLORREF colour) : m_hDC(dc), m_oldBrush(nullptr)
{
    Select(colour);
}

CBrushDC::~CBrushDC()
{
    ::SelectObject(m_hDC, m_oldBrush);
}

void CBrushDC::Select(COLORREF colour)
{
    HGDIOBJ brush = ::GetStockObject(NULL_BRUSH);
    if (colour != (COLORREF)-1) {
        m_brush.CreateSolidBrush(colour);
        brush = m_brush.m_hObject;
    }
    m_oldBrush = ::SelectObject(m_hDC, brush);
}

void CBrushDC::Color(COLORREF colour)
{
    ::SelectObject(m_hDC, m_oldBrush);
    m_brush.DeleteObject();
    Select(colour);
}

// --- fonts

CFontDC::CFontDC(HDC dc, int stockIndex, COLORREF textColour)
    : m_font(nullptr), m_hDC(dc), m_oldFont(nullptr), m_oldTextColour((COLORREF)-1)
{
    SelectStock(stockIndex);
    SetTextColor(textColour);
}

CFontDC::CFontDC(HDC dc, LPCSTR faceName, COLORREF textColour)
    : m_font(nullptr), m_hDC(dc), m_oldFont(nullptr), m_oldTextColour((COLORREF)-1)
{
    SelectFace(faceName);
    SetTextColor(textColour);
}

CFontDC::CFontDC(HDC dc, HFONT font, COLORREF textColour)
    : m_font(nullptr), m_hDC(dc), m_oldFont(nullptr), m_oldTextColour((COLORREF)-1)
{
    SelectFont(font);
    SetTextColor(textColour);
}

CFontDC::~CFontDC()
{
    Restore();
    if (m_oldTextColour != (COLORREF)-1)
        ::SetTextColor(m_hDC, m_oldTextColour);
}

void CFontDC::Restore()
{
    if (m_oldFont) {
        ::SelectObject(m_hDC, m_oldFont);
        m_oldFont = nullptr;
    }
    // Deleting a stock font does nothing.
    if (m_font)
        ::DeleteObject(m_font);
    m_font = nullptr;
}

void CFontDC::SelectStock(int stockIndex)
{
    Restore();
    m_font = (HFONT)::GetStockObject(stockIndex);
    if (m_font)
        m_oldFont = ::SelectObject(m_hDC, m_font);
}

void CFontDC::SelectFace(LPCSTR faceName)
{
    Restore();
    LOGFONTA lf = {};
    if (!faceName || !::GetObjectA(::GetCurrentObject(m_hDC, OBJ_FONT), sizeof lf, &lf))
        return;
    if (lstrcmpiA(lf.lfFaceName, faceName) == 0)
        return;
    lstrcpynA(lf.lfFaceName, faceName, LF_FACESIZE);
    m_font = ::CreateFontIndirectA(&lf);
    if (m_font)
        m_oldFont = ::SelectObject(m_hDC, m_font);
}

void CFontDC::SelectFont(HFONT font)
{
    Restore();
    m_font = font;
    if (m_font)
        m_oldFont = ::SelectObject(m_hDC, m_font);
}

void CFontDC::SetTextColor(COLORREF colour)
{
    if (colour == kNoTextColour)
        return;
    const COLORREF old = ::SetTextColor(m_hDC, colour);
    if (m_oldTextColour == (COLORREF)-1)
        m_oldTextColour = old;
}

CBoldDC::CBoldDC(HDC dc, bool bold) : m_hDC(dc), m_oldFont(nullptr)
{
    LOGFONTA lf = {};
    if (!::GetObjectA(::GetCurrentObject(m_hDC, OBJ_FONT), sizeof lf, &lf))
        return;
    const bool change = bold ? lf.lfWeight != FW_BOLD : lf.lfWeight == FW_BOLD;
    if (!change)
        return;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    if (m_font.CreateFontIndirect(&lf))
        m_oldFont = ::SelectObject(m_hDC, m_font.m_hObject);
}

CBoldDC::~CBoldDC()
{
    if (m_oldFont)
        ::SelectObject(m_hDC, m_oldFont);
}
