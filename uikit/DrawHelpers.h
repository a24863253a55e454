#pragma once
// Drawing tools of the kit: the screen grabber, the off-screen device
// context and scoped guards that select a pen, a brush or a font and put the
// previous one back. Guards nest: the last created is destroyed first.
#include <windows.h>

#include "framework/Gdi.h"
#include "uikit/ColorHLS.h"

// A new bitmap holding that part of the screen, or null; the caller owns it.
HBITMAP CaptureScreenRect(const RECT& screenRect);

// Collects painting in a memory bitmap and copies the rectangle to the
// target once, when destroyed. The bitmap spans from the origin to the
// rectangle's far corner, so callers keep the target's coordinates; its
// content is not initialised, so the whole rectangle must be painted.
class CBufferDC : public CDC {
public:
    // An empty rectangle means the target's clip box.
    CBufferDC(HDC target, const RECT& rect);
    ~CBufferDC() override;

    const CRect& GetRect() const { return m_rect; }

private:
    HDC m_target;
    CBitmap m_bitmap;
    CRect m_rect;
    HGDIOBJ m_oldBitmap;
};

class CPenDC {
public:
    CPenDC(HDC dc, COLORREF colour);
    ~CPenDC();
    void Color(COLORREF colour);

private:
    CPen m_pen;
    HDC m_hDC;
    HGDIOBJ m_oldPen;
};

// Colour (COLORREF)-1 selects the hollow stock brush.
class CBrushDC {
public:
    CBrushDC(HDC dc, COLORREF colour);
    ~CBrushDC();
    void Color(COLORREF colour);

private:
    void Select(COLORREF colour);

    CBrush m_brush;
    HDC m_hDC;
    HGDIOBJ m_oldBrush;
};

// Selects a stock font, a face (the current font with another face name) or
// a font handle that it then owns, and optionally a text colour; the text
// colour kNoTextColour leaves the DC's colour alone.
class CFontDC {
public:
    static constexpr COLORREF kNoTextColour = 0xFF000000;

    CFontDC(HDC dc, int stockIndex, COLORREF textColour = kNoTextColour);
    CFontDC(HDC dc, LPCSTR faceName, COLORREF textColour = kNoTextColour);
    CFontDC(HDC dc, HFONT font, COLORREF textColour = kNoTextColour);
    ~CFontDC();

    void SelectStock(int stockIndex);
    void SelectFace(LPCSTR faceName);
    void SelectFont(HFONT font);
    void SetTextColor(COLORREF colour);

private:
    void Restore();

    HFONT m_font;
    HDC m_hDC;
    HGDIOBJ m_oldFont;
    COLORREF m_oldTextColour;
};

// The DC's current font in bold (700) or normal (400) weight; changes
// nothing when the font already has it.
class CBoldDC {
public:
    CBoldDC(HDC dc, bool bold);
    ~CBoldDC();

private:
    CFont m_font;
    HDC m_hDC;
    HGDIOBJ m_oldFont;
};
