#pragma once
// A strip that a dialog attaches to one of its edges: the dialog grows by
// the strip's thickness and its controls move aside; the strip paints a
// solid, gradient or tiled-bitmap background with an optional icon, a title
// and a multi-line caption running along it.
#include <windows.h>

#include "framework/CString.h"
#include "framework/Gdi.h"
#include "framework/Wnd.h"
#include "uikit/BannerLayout.h"
#include "uikit/WndUtil.h"

typedef BOOL(WINAPI* GradientFillProc)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The gradient painted without GradientFill: offset 0 (top or left) gets the
// second colour, the last offset the first; swapped exchanges the colours.
// Displays of 8 bits per pixel or fewer get the first colour only. An empty
// rectangle means the DC's clip box.
void FillFallbackGradient(HDC dc, COLORREF from, COLORREF to, const RECT& rect, bool horizontal, bool swapped);
// The same for a given colour depth (the seam of the depth test).
void FillFallbackGradient(HDC dc, COLORREF from, COLORREF to, const RECT& rect, bool horizontal, bool swapped,
                          int bitsPerPixel);

class CKCSideBannerWnd : public CWnd, public CWndUtil {
public:
    enum { kFillSolid = 1, kFillGradient = 2, kFillBitmap = 4 };

    CKCSideBannerWnd();
    ~CKCSideBannerWnd() override;

    using CWnd::Create;
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual void DrawBackground(CDC* dc, CRect rect);
    virtual void DrawTextFields(CDC* dc, CRect rect);
    virtual void DrawEdge(CDC* dc, CRect rect);
    // Draws the icon and takes its room out of rect along the strip.
    virtual void DrawIcon(CDC* dc, CRect& rect);

    // Grows the dialog, moves its own controls aside and creates the strip
    // on edge (kBannerLeft...); 0 when the dialog has no window.
    int Attach(CWnd* dialog, int edge, UINT id);
    // Refits the strip to the dialog's client area (WM_SIZE).
    void UpdateSize();

    // The banner destroys an owned icon; give it a private copy, never an
    // icon that others share.
    bool SetIcon(HICON icon, int placement, bool owns);
    void SetTitle(const CString& title);
    void SetCaption(const CString& caption);
    CString GetTitle() const { return m_title; }
    CString GetCaption() const { return m_caption; }
    void SetColorBkg(COLORREF colour) { m_colour1 = colour; }
    void SetColorEdge(COLORREF colour) { m_edgeColour = colour; }

    void SetThickness(int thickness);
    int GetThickness() const { return m_thickness; }
    void SetEdge(int edge);
    int GetEdge() const { return m_edge; }
    void SetFillMode(int mode);
    int GetFillMode() const { return m_fillMode; }
    void SetFillBitmap(HBITMAP bitmap, bool owns);
    void SetTitleFont(CFont* font);
    void GetTitleFont(CFont* font) const;
    void SetCaptionFont(CFont* font);
    void GetCaptionFont(CFont* font) const;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

protected:
    CWnd* m_dialog;
    int m_thickness;
    int m_edge;
    int m_fillMode;
    int m_iconPlacement;
    CString m_title;
    CString m_caption;
    HICON m_icon;
    bool m_ownsIcon;
    BITMAP m_iconBitmap;
    HBITMAP m_fillBitmap;
    bool m_ownsBitmap;
    GradientFillProc m_gradientFill;
    HMODULE m_msimg32;
    POINT m_margin;
    POINT m_captionOffset;
    LOGFONTA m_titleFont;
    LOGFONTA m_captionFont;
    COLORREF m_colour1;
    COLORREF m_colour2;
    COLORREF m_edgeColour;
    COLORREF m_titleColour;
    COLORREF m_captionColour;

private:
    // Moves the dialog's own children by (dx, dy); grandchildren stay.
    void MoveDialogControls(int dx, int dy);
    // Grows the dialog by delta across the edge and moves its controls aside.
    void GrowDialog(int delta);
    void StoreFont(CFont* font, LOGFONTA& into);
    CRect StripRect() const;
};

// Attaches a banner to the left edge of a dialog as the program's dialogs
// carry it: button-face background, black edge line, a private copy of icon
// iconId at the title end and centred, empty caption, the given title.
int AttachDialogBanner(CKCSideBannerWnd& banner, CWnd* dialog, UINT iconId, const CString& title);
