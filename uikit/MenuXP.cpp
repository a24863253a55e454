#define OEMRESOURCE
#include "uikit/MenuXP.h"

#include <vector>

#include "framework/App.h"
#include "framework/Dialog.h"
#include "framework/Frame.h"
#include "uikit/DrawHelpers.h"

namespace {
const char kPropMenuXP[] = "XPWndProp_MenuXP";

COLORREF T(int sysColour, int lightness, int saturation)
{
    return (COLORREF)HLSTransform((ColourRef)::GetSysColor(sysColour), lightness, saturation);
}

CString MenuItemText(HMENU menu, UINT pos, MENUITEMINFOA& info)
{
    char text[256] = "";
    info = MENUITEMINFOA();
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!::GetMenuItemInfoA(menu, pos, TRUE, &info))
        return CString();
    return CString(text);
}

int TextWidth(HDC dc, const CString& text, bool bold)
{
    if (text.IsEmpty())
        return 0;
    CBoldDC weight(dc, bold);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
    return size.cx;
}

// The toolbar still shows this list: the handle is alive.
bool ImageStillValid(const CImgDesc& image)
{
    if (!image.m_hToolBar)
        return true;
    return ::IsWindow(image.m_hToolBar) &&
           (HIMAGELIST)::SendMessageA(image.m_hToolBar, TB_GETIMAGELIST, 0, 0) == image.m_hImgList;
}

template <class Map>
void DropStaleImages(Map& map)
{
    for (auto it = map.begin(); it != map.end();)
        it = ImageStillValid(it->second) ? std::next(it) : map.erase(it);
}

// The frame whose control bars give the images of a window's menus.
CFrameWnd* ImageFrame(CWnd* pWnd)
{
    auto* frame = dynamic_cast<CFrameWnd*>(pWnd);
    if (frame && !frame->GetControlBars().empty())
        return frame;
    CFrameWnd* parent = pWnd ? AfxGetParentFrame(pWnd) : nullptr;
    if (dynamic_cast<CMDIChildWnd*>(parent))
        parent = AfxGetParentFrame(parent);
    return parent;
}

bool FindToolbarImage(CFrameWnd* frame, UINT id, CImgDesc& out)
{
    // Id 0 is no command: toolbar separators and the name bar carry it.
    if (!frame || id == 0)
        return false;
    for (CControlBar* bar : frame->GetControlBars()) {
        if (!bar || !bar->m_hWnd)
            continue;
        char cls[32] = "";
        ::GetClassNameA(bar->m_hWnd, cls, sizeof cls);
        if (lstrcmpiA(cls, "ToolbarWindow32") != 0)
            continue;
        TBBUTTONINFOA bi = {};
        bi.cbSize = sizeof bi;
        bi.dwMask = TBIF_IMAGE | TBIF_COMMAND;
        if (::SendMessageA(bar->m_hWnd, TB_GETBUTTONINFOA, id, (LPARAM)&bi) == -1 || (UINT)bi.idCommand != id ||
            bi.iImage == -1)
            continue;
        out.m_hImgList = (HIMAGELIST)::SendMessageA(bar->m_hWnd, TB_GETIMAGELIST, 0, 0);
        out.m_nIndex = bi.iImage;
        out.m_hToolBar = bar->m_hWnd;
        return out.m_hImgList != nullptr;
    }
    return false;
}

// A profile integer read once.
struct CachedSetting {
    bool read = false;
    int value = 0;
    int Get(const char* section, const char* key, int def)
    {
        if (!read) {
            CWinApp* app = AfxGetApp();
            value = app ? (int)app->GetProfileInt(section, key, def) : def;
            read = true;
        }
        return value;
    }
};
CachedSetting g_showGradient, g_showGradientSel, g_gradientStart, g_gradientEnd, g_gradientWidth;

// The image scaled to fit the 22 x 16 image column (toolbar images are
// larger than menu images).
SIZE MenuImageSize(HIMAGELIST list)
{
    int cx = 16, cy = 16;
    ImageList_GetIconSize(list, &cx, &cy);
    if (cx <= 16 && cy <= 16)
        return SIZE{cx, cy};
    SIZE s = {cx * 16 / cy, 16};
    if (s.cx > 22)
        s = SIZE{22, cy * 22 / cx};
    return s;
}

void DrawImage(HDC dc, const CImgDesc& image, int x, int y)
{
    HICON icon = ImageList_GetIcon(image.m_hImgList, image.m_nIndex, ILD_TRANSPARENT);
    if (!icon)
        return;
    const SIZE s = MenuImageSize(image.m_hImgList);
    ::DrawIconEx(dc, x, y, icon, s.cx, s.cy, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(icon);
}

void DrawSilhouette(HDC dc, const CImgDesc& image, int x, int y, COLORREF colour)
{
    HICON icon = ImageList_GetIcon(image.m_hImgList, image.m_nIndex, ILD_TRANSPARENT);
    if (!icon)
        return;
    const SIZE s = MenuImageSize(image.m_hImgList);
    HICON small = (HICON)::CopyImage(icon, IMAGE_ICON, s.cx, s.cy, LR_COPYDELETEORG);
    if (!small)
        small = icon;
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::DrawStateA(dc, brush, nullptr, (LPARAM)small, 0, x, y, s.cx, s.cy, DST_ICON | DSS_MONO);
    ::DeleteObject(brush);
    ::DestroyIcon(small);
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour)
{
    const COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}
} // namespace

std::map<std::pair<HMENU, int>, CString> CMenuXP::s_mapTextById;
std::map<HMENU, CString> CMenuXP::s_mapTextByMenu;
std::map<int, CImgDesc> CMenuXP::s_mapImageById;
std::map<HMENU, CImgDesc> CMenuXP::s_mapImageByMenu;
std::map<HWND, CWndMenuXP*> CMenuXP::s_mapWndMenu;
BYTE CMenuXP::s_drawCounter = 0;
RECT CMenuXP::s_rcMenuBarItem = {0, 0, 0, 0};
HHOOK CMenuXP::s_hHook = nullptr;
int CMenuXP::s_nHookCount = 0;

// --- settings

bool CMenuXP::ShowGradient() { return g_showGradient.Get("MenuXP", "ShowGradient", 1) != 0; }
bool CMenuXP::ShowGradientSel() { return g_showGradientSel.Get("MenuEx", "ShowGradientSel", 1) != 0; }
int CMenuXP::GradientWidth() { return g_gradientWidth.Get("MenuXP", "GradientWidth", 30); }

COLORREF CMenuXP::GradientStart()
{
    const int v = g_gradientStart.Get("MenuXP", "GradientStart", 0xA0A0A0);
    return v == -1 ? T(COLOR_BTNFACE, 20, 0) : (COLORREF)v;
}

COLORREF CMenuXP::GradientEnd()
{
    const int v = g_gradientEnd.Get("MenuXP", "GradientEnd", 0xFFFFFF);
    return v == -1 ? T(COLOR_BTNFACE, 75, 0) : (COLORREF)v;
}

// --- marking and converting

void CMenuXP::SetXPWindow(CWnd* pWnd, bool on)
{
    if (!pWnd || !pWnd->m_hWnd)
        return;
    if (on)
        ::SetPropA(pWnd->m_hWnd, kPropMenuXP, (HANDLE)1);
    else
        ::RemovePropA(pWnd->m_hWnd, kPropMenuXP);
}

bool CMenuXP::IsXPWindow(HWND hWnd) { return hWnd && ::GetPropA(hWnd, kPropMenuXP) != nullptr; }
bool CMenuXP::IsXPWindow(CWnd* pWnd) { return pWnd && IsXPWindow(pWnd->m_hWnd); }

void CMenuXP::UpdateMenuBar(CWnd* pFrame)
{
    if (!IsXPWindow(pFrame))
        return;
    if (HMENU menu = ::GetMenu(pFrame->m_hWnd))
        ConvertMenu(pFrame, menu, true, true);
}

bool CMenuXP::IsMenuOwnerDraw(HMENU hMenu)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return hMenu && ::GetMenuItemInfoA(hMenu, 0, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

void CMenuXP::SetItemImage(UINT nID, HIMAGELIST hImgList, int nIndex)
{
    CImgDesc image;
    image.m_hImgList = hImgList;
    image.m_nIndex = nIndex;
    s_mapImageById[(int)nID] = image;
}

void CMenuXP::SetMenuBarItemRect(const RECT& rc) { s_rcMenuBarItem = rc; }

void CMenuXP::PurgeStaleImages()
{
    DropStaleImages(s_mapImageById);
    DropStaleImages(s_mapImageByMenu);
}

void CMenuXP::ConvertMenu(CWnd* pWnd, HMENU hMenu, bool enable, bool menuBar)
{
    if (!enable || !hMenu)
        return;
    for (auto it = s_mapTextByMenu.begin(); it != s_mapTextByMenu.end();)
        it = ::IsMenu(it->first) ? std::next(it) : s_mapTextByMenu.erase(it);
    for (auto it = s_mapTextById.begin(); it != s_mapTextById.end();)
        it = ::IsMenu(it->first.first) ? std::next(it) : s_mapTextById.erase(it);
    for (auto it = s_mapImageByMenu.begin(); it != s_mapImageByMenu.end();)
        it = ::IsMenu(it->first) ? std::next(it) : s_mapImageByMenu.erase(it);
    PurgeStaleImages();

    CWnd* main = AfxGetMainWnd();
    HWND dcWnd = main && main->m_hWnd ? main->m_hWnd : nullptr;
    HDC dc = ::GetDC(dcWnd);
    if (!dc)
        return;
    {
        CFontDC font(dc, DEFAULT_GUI_FONT);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc, &tm);
        const int itemHeight = menuxp::ItemHeight(tm.tmHeight);
        const int separatorHeight = menuxp::SeparatorHeight(tm.tmHeight);

        CFrameWnd* frame = nullptr;
        if (!menuBar && pWnd) {
            if (auto* mdi = dynamic_cast<CMDIFrameWnd*>(pWnd)) {
                CMDIChildWnd* child = mdi->MDIGetActive();
                // The maximised child's system menu on the bar keeps its look.
                if (child && child->m_hWnd && ::GetSystemMenu(child->m_hWnd, FALSE) == hMenu) {
                    ::SetRectEmpty(&s_rcMenuBarItem);
                    ::ReleaseDC(dcWnd, dc);
                    return;
                }
            }
        }
        if (pWnd)
            frame = ImageFrame(pWnd);

        CDC* pDC = CDC::FromHandle(dc);
        int widestLabel = 0, widestAccel = 0;
        const int count = ::GetMenuItemCount(hMenu);
        for (int pos = 0; pos < count; ++pos) {
            MENUITEMINFOA info;
            const CString text = MenuItemText(hMenu, (UINT)pos, info);
            if (!(info.fType & MFT_OWNERDRAW) && (!menuBar || !(info.fType & MFT_BITMAP))) {
                MENUITEMINFOA write = {};
                write.cbSize = sizeof write;
                write.fMask = MIIM_FTYPE;
                write.fType = info.fType | MFT_OWNERDRAW;
                if (menuBar) {
                    RECT rc = {0, 0, 1000, 0};
                    ::DrawTextA(dc, text, text.GetLength(), &rc, DT_CALCRECT | DT_SINGLELINE);
                    write.fMask |= MIIM_DATA;
                    write.dwItemData = menuxp::PackBarItem(rc.right - rc.left);
                }
                ::SetMenuItemInfoA(hMenu, (UINT)pos, TRUE, &write);
                if (!(info.fType & MFT_SEPARATOR)) {
                    CImgDesc image;
                    const bool found = FindToolbarImage(frame, info.wID, image);
                    if (info.hSubMenu) {
                        s_mapTextByMenu[info.hSubMenu] = text;
                        if (found)
                            s_mapImageByMenu[info.hSubMenu] = image;
                    } else {
                        s_mapTextById[{hMenu, (int)info.wID}] = text;
                        if (found)
                            s_mapImageById[(int)info.wID] = image;
                    }
                }
            }
            if (!menuBar) {
                CMenuItemXP item(hMenu, (UINT)pos, true);
                widestLabel = std::max(widestLabel, item.GetLabelWidth(pDC));
                widestAccel = std::max(widestAccel, item.GetAccelWidth(pDC));
            }
        }
        if (!menuBar) {
            for (int pos = 0; pos < count; ++pos) {
                MENUITEMINFOA info = {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_FTYPE;
                ::GetMenuItemInfoA(hMenu, (UINT)pos, TRUE, &info);
                info.fMask = MIIM_DATA;
                info.dwItemData = (info.fType & MFT_SEPARATOR)
                                      ? menuxp::PackSeparator(separatorHeight)
                                      : menuxp::PackPopupItem(itemHeight, widestAccel, widestLabel);
                ::SetMenuItemInfoA(hMenu, (UINT)pos, TRUE, &info);
            }
        }
    }
    ::ReleaseDC(dcWnd, dc);
}

// --- measuring, drawing, mnemonics

void CMenuXP::OnMeasureItem(MEASUREITEMSTRUCT* pMIS)
{
    if (!pMIS || pMIS->CtlType != ODT_MENU)
        return;
    const menuxp::ItemSize size = menuxp::MeasureItem((std::uint32_t)pMIS->itemData);
    pMIS->itemWidth = (UINT)size.width;
    if (size.height)
        pMIS->itemHeight = (UINT)size.height;
}

bool CMenuXP::OnDrawItem(DRAWITEMSTRUCT* pDIS, HWND hOwner)
{
    if (!pDIS || pDIS->CtlType != ODT_MENU)
        return false;
    const HMENU menu = (HMENU)pDIS->hwndItem;
    bool open = false;
    {
        CBufferDC buffer(pDIS->hDC, pDIS->rcItem);
        CMenuItemXP item(menu, pDIS->itemID, false);
        CFontDC font(buffer.m_hDC, DEFAULT_GUI_FONT);
        const UINT s = pDIS->itemState;
        open = item.Draw(&buffer, pDIS->rcItem, (s & ODS_SELECTED) != 0, (item.GetItemData() & 0xFF) == 0,
                         (s & ODS_HOTLIGHT) != 0, (s & ODS_INACTIVE) != 0, (s & ODS_NOACCEL) != 0);
    }
    if (open && hOwner) {
        RECT& bar = s_rcMenuBarItem;
        POINT tl = {bar.left, bar.top}, br = {bar.right, bar.bottom};
        ::ClientToScreen(hOwner, &tl);
        ::ClientToScreen(hOwner, &br);
        bar = RECT{tl.x, tl.y, br.x, br.y};
        RECT first = {};
        if (::GetMenuItemRect(hOwner, menu, 0, &first)) {
            bar.top = first.top;
            bar.bottom = first.bottom;
        }
        if (dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hOwner)))
            ::OffsetRect(&bar, 1, 0);
    }
    ++s_drawCounter;
    return true;
}

LRESULT CMenuXP::OnMenuChar(HMENU hMenu, UINT nChar, UINT nFlags)
{
    if (nFlags != 0 && !((nFlags & MF_POPUP) && !(nFlags & MF_SYSMENU)))
        return 0;
    char ch[2] = {(char)nChar, 0};
    ::CharUpperBuffA(ch, 1);
    std::vector<std::string> labels;
    const int count = ::GetMenuItemCount(hMenu);
    for (int pos = 0; pos < count; ++pos) {
        CMenuItemXP item(hMenu, (UINT)pos, true);
        CString label;
        item.GetLabel(label);
        std::string s(label.GetString());
        if (!s.empty())
            ::CharUpperBuffA(&s[0], (DWORD)s.size());
        labels.push_back(s);
    }
    const int pos = menuxp::FindMnemonic(labels, ch[0]);
    return pos < 0 ? 0 : MAKELRESULT(pos, MNC_EXECUTE);
}

// --- one item

CMenuItemXP::CMenuItemXP(HMENU hMenu, UINT nItem, bool byPosition)
{
    m_info = MENUITEMINFOA();
    m_info.cbSize = sizeof m_info;
    m_info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA;
    if (!::GetMenuItemInfoA(hMenu, nItem, byPosition, &m_info) || IsSeparator())
        return;
    if (m_info.hSubMenu) {
        auto t = CMenuXP::s_mapTextByMenu.find(m_info.hSubMenu);
        if (t != CMenuXP::s_mapTextByMenu.end())
            m_text = t->second;
        auto i = CMenuXP::s_mapImageByMenu.find(m_info.hSubMenu);
        if (i != CMenuXP::s_mapImageByMenu.end()) {
            if (ImageStillValid(i->second))
                m_image = i->second;
            else
                CMenuXP::s_mapImageByMenu.erase(i);
        }
    } else {
        auto t = CMenuXP::s_mapTextById.find({hMenu, (int)m_info.wID});
        if (t != CMenuXP::s_mapTextById.end())
            m_text = t->second;
        auto i = CMenuXP::s_mapImageById.find((int)m_info.wID);
        if (i != CMenuXP::s_mapImageById.end()) {
            if (ImageStillValid(i->second))
                m_image = i->second;
            else
                CMenuXP::s_mapImageById.erase(i);
        }
    }
}

int CMenuItemXP::GetLabel(CString& label) const
{
    label = menuxp::LabelOf(std::string(m_text.GetString())).c_str();
    return label.GetLength();
}

int CMenuItemXP::GetAccelerator(CString& accel) const
{
    accel = menuxp::AcceleratorOf(std::string(m_text.GetString())).c_str();
    return accel.GetLength();
}

int CMenuItemXP::GetLabelWidth(CDC* pDC) const
{
    if (IsSeparator())
        return 0;
    CString label;
    GetLabel(label);
    return TextWidth(pDC->m_hDC, menuxp::WithoutFirstAmpersand(std::string(label.GetString())).c_str(), IsDefault());
}

int CMenuItemXP::GetAccelWidth(CDC* pDC) const
{
    if (IsSeparator())
        return 0;
    CString accel;
    GetAccelerator(accel);
    return TextWidth(pDC->m_hDC, accel, IsDefault());
}

void CMenuItemXP::DrawGradient(CDC* pDC, COLORREF start, COLORREF end, const RECT& rc)
{
    CBufferDC buffer(pDC->m_hDC, RECT{0, 0, 0, 0});
    for (const menuxp::Band& b : menuxp::GradientBands((ColourRef)start, (ColourRef)end, rc.left, rc.right))
        if (b.right != b.left)
            FillSolid(buffer.m_hDC, RECT{b.left, rc.top, b.right, rc.bottom}, (COLORREF)b.colour);
}

bool CMenuItemXP::Draw(CDC* pDC, const RECT& rcItem, bool selected, bool menuBar, bool hot, bool inactive,
                       bool noAccel)
{
    HDC dc = pDC->m_hDC;
    const RECT rc = rcItem;
    const bool disabled = IsDisabled();
    const bool gradient = CMenuXP::ShowGradient() && ::GetDeviceCaps(dc, BITSPIXEL) > 8;
    const COLORREF start = CMenuXP::GradientStart();
    const COLORREF end = CMenuXP::GradientEnd();
    bool openBarItem = false;

    // 1. Background.
    if (menuBar && selected) {
        CPenDC pen(dc, ::GetSysColor(COLOR_3DDKSHADOW));
        CBrushDC brush(dc, T(COLOR_BTNFACE, 20, 0));
        const RECT box = {rc.left, rc.top, rc.right - 4, rc.bottom};
        ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
        CMenuXP::s_rcMenuBarItem = box;
        FillSolid(dc, RECT{rc.right - 4, rc.top, rc.right, rc.bottom}, ::GetSysColor(COLOR_BTNFACE));
        for (const menuxp::ShadePixel& p : menuxp::BarStripPixels(rc.left, rc.top, rc.right, rc.bottom)) {
            const COLORREF c = ::GetPixel(dc, p.x, p.y);
            if (c != CLR_INVALID)
                ::SetPixel(dc, p.x, p.y, (COLORREF)menuxp::Shade((ColourRef)c, p.k));
        }
        openBarItem = true;
    } else if (selected || (menuBar && hot && !inactive)) {
        const COLORREF fill = disabled ? T(COLOR_BTNFACE, 73, 0) : T(COLOR_HIGHLIGHT, 70, -57);
        CPenDC pen(dc, ::GetSysColor(COLOR_HIGHLIGHT));
        if (menuBar) {
            CBrushDC brush(dc, fill);
            ::Rectangle(dc, rc.left, rc.top, rc.right - 4, rc.bottom);
            FillSolid(dc, RECT{rc.right - 4, rc.top, rc.right, rc.bottom}, ::GetSysColor(COLOR_BTNFACE));
        } else if (gradient && CMenuXP::ShowGradientSel()) {
            DrawGradient(pDC, disabled ? fill : start, end, rc);
            CBrushDC brush(dc, (COLORREF)-1);
            ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
        } else {
            CBrushDC brush(dc, fill);
            ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
        }
    } else if (!menuBar) {
        if (gradient) {
            const int strip = rc.left + CMenuXP::GradientWidth();
            DrawGradient(pDC, start, end, RECT{rc.left, rc.top, strip, rc.bottom});
            FillSolid(dc, RECT{strip, rc.top, rc.right, rc.bottom}, end);
        } else {
            FillSolid(dc, RECT{rc.left, rc.top, rc.left + 22, rc.bottom}, T(COLOR_BTNFACE, 20, 0));
            FillSolid(dc, RECT{rc.left + 22, rc.top, rc.right, rc.bottom}, T(COLOR_BTNFACE, 75, 0));
        }
    } else {
        FillSolid(dc, rc, ::GetSysColor(COLOR_BTNFACE));
    }

    // 2. Separator.
    if (IsSeparator()) {
        CPenDC pen(dc, T(COLOR_BTNFACE, -18, 0));
        const int mid = (rc.top + rc.bottom) / 2;
        ::MoveToEx(dc, rc.left + 30, mid, nullptr);
        ::LineTo(dc, rc.right - 1, mid);
        return openBarItem;
    }

    // 3. Label, accelerator, check mark and image.
    CString label, accel;
    if (!GetLabel(label))
        return openBarItem;
    GetAccelerator(accel);
    const COLORREF textColour = inactive ? ::GetSysColor(COLOR_BTNSHADOW)
                                : disabled ? T(COLOR_BTNFACE, -18, 0)
                                           : ::GetSysColor(COLOR_MENUTEXT);
    const COLORREF oldText = ::SetTextColor(dc, textColour);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    UINT hide = 0;
    if (noAccel) {
        BOOL cues = TRUE;
        ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0);
        if (!cues)
            hide = DT_HIDEPREFIX;
    }
    if (menuBar) {
        RECT r = {rc.left, rc.top, rc.right - 4, rc.bottom};
        ::DrawTextA(dc, label, label.GetLength(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | hide);
    } else {
        {
            CBoldDC bold(dc, IsDefault());
            RECT r = {rc.left + 30, rc.top, rc.right, rc.bottom};
            ::DrawTextA(dc, label, label.GetLength(), &r, DT_VCENTER | DT_SINGLELINE | hide);
            if (!accel.IsEmpty()) {
                RECT a = {rc.left + 30, rc.top, rc.right - 12, rc.bottom};
                ::DrawTextA(dc, accel, accel.GetLength(), &a, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
            }
        }
        COLORREF boxColour = ::GetSysColor(COLOR_MENU);
        if (IsChecked()) {
            boxColour = disabled ? T(COLOR_BTNFACE, 73, 0)
                        : !selected ? T(COLOR_HIGHLIGHT, 70, -57)
                                    : T(COLOR_HIGHLIGHT, 50, -50);
            CPenDC pen(dc, ::GetSysColor(COLOR_HIGHLIGHT));
            CBrushDC brush(dc, boxColour);
            ::Rectangle(dc, rc.left + 1, rc.top + 1, rc.left + 20, rc.bottom - 1);
        }
        if (m_image.IsDrawable()) {
            if (disabled || (selected && !IsChecked())) {
                const bool raised = selected && !disabled;
                const int d = raised ? 4 : 3;
                DrawSilhouette(dc, m_image, rc.left + d, rc.top + d,
                               raised ? T(COLOR_HIGHLIGHT, 50, -66) : T(COLOR_BTNFACE, -27, 0));
            }
            if (!disabled) {
                const int d = selected && !IsChecked() ? 2 : 3;
                DrawImage(dc, m_image, rc.left + d, rc.top + d);
            }
        } else if (IsChecked() && IsRadio()) {
            const int cx = (rc.left + 5 + rc.left + 20) / 2, cy = (rc.top + rc.bottom) / 2;
            const COLORREF mark = disabled ? T(COLOR_BTNFACE, -27, 0) : ::GetSysColor(COLOR_MENUTEXT);
            CPenDC pen(dc, mark);
            CBrushDC brush(dc, mark);
            ::Ellipse(dc, cx - 4, cy - 3, cx + 3, cy + 4);
            ::SetPixel(dc, cx + 1, cy + 2, boxColour);
        } else if (IsChecked()) {
            const COLORREF oldBk = ::SetBkColor(dc, boxColour);
            HBITMAP check = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
            if (check) {
                ::DrawStateA(dc, nullptr, nullptr, (LPARAM)check, 0, rc.left + 5, rc.top + 3, 15,
                             rc.bottom - rc.top, DST_BITMAP);
                ::DeleteObject(check);
            }
            ::SetBkColor(dc, oldBk);
        }
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldText);
    return openBarItem;
}
