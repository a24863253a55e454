#include "app/MainFrame.h"

#include <shellapi.h>

#include <string>

#include "app/InstallFolderWin.h"
#include "app/ControlDlg.h"
#include "app/KestrixApp.h"
#include "app/KestrixDoc.h"
#include "app/LangText.h"
#include "app/MenuTexts.h"
#include "app/MessageBoxDemo.h"
#include "app/TextConvert.h"
#include "resources/resource.h"
#include "uikit/MenuXP.h"

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_INITMENUPOPUP()
ON_WM_MEASUREITEM()
ON_WM_DRAWITEM()
ON_WM_MENUCHAR()
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
ON_COMMAND(ID_VIEW_ZOOM_IN, OnZoomIn)
ON_COMMAND(ID_VIEW_ZOOM_OUT, OnZoomOut)
ON_COMMAND(ID_VIEW_CHORDS, OnViewChords)
ON_COMMAND(ID_VIEW_BASS, OnViewBass)
ON_COMMAND(ID_VIEW_LEAD_SHEET, OnViewLeadSheet)
ON_COMMAND(ID_VIEW_REBUILD_LEAD_SHEET, OnRebuildLeadSheet)
ON_COMMAND(ID_CONTROL_ANALYZE, OnControlAnalyze)
ON_COMMAND(ID_CONTROL_LOAD, OnControlLoad)
ON_COMMAND(ID_CONTROL_TRANSPOSE, OnControlTranspose)
ON_COMMAND(ID_VIEW_NAME_TOOLBAR, OnViewNameToolbar)
ON_COMMAND(ID_HELP_FINDER, OnHelpTopics)
ON_UPDATE_COMMAND_UI(ID_VIEW_NAME_TOOLBAR, OnUpdateNameToolbar)
ON_UPDATE_COMMAND_UI(ID_CONTROL_ANALYZE, OnUpdateAnalyze)
ON_UPDATE_COMMAND_UI(ID_CONTROL_TRANSPOSE, OnUpdateTranspose)
ON_UPDATE_COMMAND_UI(ID_CONTROL_LOAD, OnUpdateLoad)
ON_UPDATE_COMMAND_UI(ID_OPTIONS_SETTINGS, OnUpdateSettings)
ON_UPDATE_COMMAND_UI(ID_APP_ABOUT, OnUpdateAbout)
END_MESSAGE_MAP()

namespace {
const UINT kButtons[] = {ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_IN, ID_SEPARATOR, ID_VIEW_REBUILD_LEAD_SHEET,
                         ID_VIEW_LEAD_SHEET, ID_VIEW_CHORDS, ID_SEPARATOR, ID_VIEW_BASS};
const UINT kNormal[] = {142, 141, 148, 148, 149, 144, 144, 150};
const UINT kDisabled[] = {142, 141, 148, 148, 147, 144, 144, 150};
const UINT kHot[] = {180, 179, 178, 178, 147, 176, 176, 175};
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

CKestrixDoc* ActiveDoc()
{
    CKestrixApp* app = GetKestrixApp();
    return app ? app->GetActiveDoc() : nullptr;
}

// An item the XP kit has drawn keeps its text with the kit.
std::string MenuItemText(HMENU menu, int pos)
{
    if (::GetMenuState(menu, (UINT)pos, MF_BYPOSITION) & MF_OWNERDRAW)
        return std::string(CMenuItemXP(menu, (UINT)pos, true).GetText().GetString());
    char text[256] = "";
    ::GetMenuStringA(menu, (UINT)pos, text, sizeof text, MF_BYPOSITION);
    return text;
}
} // namespace

void CopyTipText(char* buffer, size_t size, const char* text)
{
    if (!size)
        return;
    lstrcpynA(buffer, text ? text : "", (int)size);
}

void CopyTipText(wchar_t* buffer, size_t size, const char* text)
{
    if (!size)
        return;
    buffer[0] = 0;
    const int n = MultiByteToWideChar(CP_ACP, 0, text ? text : "", -1, nullptr, 0);
    if (n <= 0)
        return;
    std::wstring wide((size_t)n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text ? text : "", -1, &wide[0], n);
    lstrcpynW(buffer, wide.c_str(), (int)size);
}

CMainFrame::CMainFrame() : m_pControlDlg(nullptr) {}
CMainFrame::~CMainFrame() { delete m_pControlDlg; }

void CMainFrame::CreateControlDlg()
{
    if (!m_pControlDlg)
        m_pControlDlg = new CControlDlg(this);
}

void CMainFrame::PostNcDestroy()
{
    // The panel first: it waits for its analysis worker.
    CControlDlg* panel = m_pControlDlg;
    m_pControlDlg = nullptr;
    delete panel;
    CMDIFrameWnd::PostNcDestroy();
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) { return CMDIFrameWnd::PreCreateWindow(cs); }

bool CMainFrame::BuildImageList(CImageList& list, const UINT* ids, int count)
{
    for (int i = 0; i < count; ++i) {
        HBITMAP bmp = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(ids[i]), IMAGE_BITMAP, 0, 0,
                                            LR_CREATEDIBSECTION);
        if (!bmp)
            return false;
        if (i == 0) {
            BITMAP info = {};
            ::GetObjectA(bmp, sizeof info, &info);
            const UINT depth = info.bmBitsPixel == 24 ? ILC_COLOR24 : info.bmBitsPixel == 16 ? ILC_COLOR16
                               : info.bmBitsPixel == 8 ? ILC_COLOR8 : ILC_COLOR4;
            list.DeleteImageList();
            if (!list.Create(info.bmWidth, info.bmHeight, depth | ILC_MASK, count, 1)) {
                ::DeleteObject(bmp);
                return false;
            }
        }
        ImageList_AddMasked(list.m_hImageList, bmp, RGB(0, 128, 128));
        ::DeleteObject(bmp);
    }
    return true;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    CMenuXP::SetXPWindow(this, true);
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.SetButtons(kButtons, 8))
        return -1;
    LoadToolTips();
    if (!BuildImageList(m_normalImages, kNormal, 8) || !BuildImageList(m_disabledImages, kDisabled, 8) ||
        !BuildImageList(m_hotImages, kHot, 8))
        return -1;
    m_wndToolBar.SetImageList(&m_normalImages);
    m_wndToolBar.SetDisabledImageList(&m_disabledImages);
    m_wndToolBar.SetHotImageList(&m_hotImages);
    IMAGEINFO info = {};
    m_normalImages.GetImageInfo(0, &info);
    const CSize image(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    m_wndToolBar.SetSizes(CSize(image.cx + 7, image.cy + 6), image);
    m_wndToolBar.AutoSize();
    EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    CRect frameRect;
    GetWindowRect(&frameRect);
    const CRect toolRect(frameRect.left, frameRect.top + 54, frameRect.left + 400, frameRect.top + 54 + 32);
    DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP, &toolRect);

    // The name toolbar shares the frame's toolbar id, as the menu's
    // Toolbar item then shows and hides the main one.
    if (!m_wndNameBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR + 0x10))
        return -1;
    const UINT nameButton[] = {0};
    ::SendMessageA(m_wndNameBar.m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON b = {};
    b.iBitmap = 0;
    b.idCommand = 0;
    b.fsState = 0; // disabled
    b.fsStyle = BTNS_BUTTON;
    ::SendMessageA(m_wndNameBar.m_hWnd, TB_ADDBUTTONSA, 1, (LPARAM)&b);
    (void)nameButton;
    const UINT nameBitmap[] = {IDB_NAME_TOOLBAR};
    for (CImageList& l : m_nameImages)
        if (!BuildImageList(l, nameBitmap, 1))
            return -1;
    m_wndNameBar.SetImageList(&m_nameImages[0]);
    m_wndNameBar.SetDisabledImageList(&m_nameImages[1]);
    m_wndNameBar.SetHotImageList(&m_nameImages[2]);
    m_wndNameBar.SetSizes(CSize(207, 38), CSize(200, 32));
    m_wndNameBar.AutoSize();
    RecalcLayout();
    // At the frame's right edge, on the top dock beside the main toolbar.
    m_wndNameBar.EnableDocking(CBRS_ALIGN_ANY);
    const CSize nameSize = m_wndNameBar.GetMaxSize();
    GetWindowRect(&frameRect);
    const CRect nameRect(frameRect.right + 20 - nameSize.cx, frameRect.top + 56, frameRect.right + 20,
                         frameRect.top + 56 + nameSize.cy);
    DockControlBar(&m_wndNameBar, AFX_IDW_DOCKBAR_TOP, &nameRect);

    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, 4))
        return -1;
    EnableToolTips(TRUE);
    RecalcLayout();
    return 0;
}

void CMainFrame::OnPaint()
{
    // The MDI client covers everything; nothing to draw.
    ValidateRect(nullptr);
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CMDIFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (pPopupMenu)
        CMenuXP::ConvertMenu(this, pPopupMenu->m_hMenu, CMenuXP::IsXPWindow(this), false);
}

void CMainFrame::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS)
{
    if (lpMIS && lpMIS->CtlType == ODT_MENU)
        CMenuXP::OnMeasureItem(lpMIS);
    else
        CMDIFrameWnd::OnMeasureItem(nIDCtl, lpMIS);
}

void CMainFrame::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS)
{
    if (!CMenuXP::OnDrawItem(lpDIS, m_hWnd))
        CMDIFrameWnd::OnDrawItem(nIDCtl, lpDIS);
}

LRESULT CMainFrame::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (pMenu && CMenuXP::IsMenuOwnerDraw(pMenu->m_hMenu))
        return CMenuXP::OnMenuChar(pMenu->m_hMenu, nChar, nFlags);
    return Default();
}

void CMainFrame::LoadToolTips()
{
    m_toolTips.clear();
    CKestrixApp* app = GetKestrixApp();
    for (const ToolTipText& t : kToolTipTexts)
        m_toolTips[(int)t.id] = app ? app->GetLangString(t.text) : CString();
}

CString CMainFrame::GetToolTip(UINT id) const
{
    auto it = m_toolTips.find((int)id);
    return it == m_toolTips.end() ? CString() : it->second;
}

BOOL CMainFrame::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    UINT_PTR id = pNMHDR->idFrom;
    const bool wide = pNMHDR->code == TTN_NEEDTEXTW;
    const UINT flags = wide ? ((NMTTDISPINFOW*)pNMHDR)->uFlags : ((NMTTDISPINFOA*)pNMHDR)->uFlags;
    if (flags & TTF_IDISHWND)
        id = (UINT_PTR)::GetDlgCtrlID((HWND)id);
    if (id == 0) {
        *pResult = 0;
        return TRUE;
    }
    auto it = m_toolTips.find((int)id);
    if (it == m_toolTips.end())
        return FALSE;
    // The notification's buffer holds 80 characters: cut, never overflow.
    if (wide) {
        auto* info = (NMTTDISPINFOW*)pNMHDR;
        CopyTipText(info->szText, sizeof info->szText / sizeof info->szText[0], it->second);
        info->lpszText = info->szText;
    } else {
        auto* info = (NMTTDISPINFOA*)pNMHDR;
        CopyTipText(info->szText, sizeof info->szText, it->second);
        info->lpszText = info->szText;
    }
    *pResult = 0;
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
    return TRUE;
}

void CMainFrame::OnUpdateFrameTitle(BOOL)
{
    // A fixed title: document names never show.
    CString now;
    GetWindowText(now);
    if (now != m_strTitle)
        SetWindowText(m_strTitle);
}

void CMainFrame::TranslateMenu()
{
    HMENU menu = m_hMenuDefault;
    if (!menu)
        return;
    TranslatePopups(menu, 0, kNoDocMenuTexts, 3);
    CMenuXP::UpdateMenuBar(this);
    if (::GetMenu(m_hWnd) == menu)
        DrawMenuBar();
}

void CMainFrame::TranslatePopups(HMENU menu, int first, const MenuTextRow* rows, int count)
{
    CKestrixApp* app = GetKestrixApp();
    if (!app)
        return;
    for (int k = 0; k < count; ++k) {
        const MenuTextRow& row = rows[k];
        HMENU sub = ::GetSubMenu(menu, first + k);
        if (!sub)
            continue;
        if (row.title)
            ::ModifyMenuA(menu, (UINT)(first + k), MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)sub,
                          app->GetLangString(row.title));
        // Recent files stand where the one "Recent File" item stood: items
        // after it move down by the entries beyond the first, and the file
        // names keep their text.
        int extra = 0;
        for (UINT id = ID_FILE_MRU_FILE1 + 1; id <= ID_FILE_MRU_FILE4; ++id)
            if (::GetMenuState(sub, id, MF_BYCOMMAND) != (UINT)-1)
                ++extra;
        bool pastRecent = false;
        for (int i = 0; i < row.count; ++i) {
            const int pos = pastRecent ? i + extra : i;
            const UINT id = ::GetMenuItemID(sub, pos);
            const UINT state = ::GetMenuState(sub, (UINT)pos, MF_BYPOSITION);
            if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4) {
                pastRecent = true;
                if (!(state & MF_GRAYED))
                    continue;
            }
            if (row.items[i]) {
                const std::string text = menuxp::KeepAccelerator(
                    std::string(app->GetLangString(row.items[i]).GetString()), MenuItemText(sub, pos));
                ::ModifyMenuA(sub, (UINT)pos, MF_BYPOSITION | MF_STRING | (state & MF_GRAYED), id, text.c_str());
            }
        }
    }
}

void CMainFrame::OpenHelpFile()
{
    CKestrixApp* app = GetKestrixApp();
    if (!app)
        return;
    CString folder = app->GetInstallFolder();
    if (folder.IsEmpty()) {
        ShowMessageBox(app->GetLangString(40), app->GetLangString(122), false, nullptr);
        char sys[MAX_PATH] = "";
        ::GetSystemDirectoryA(sys, MAX_PATH);
        folder = sys;
    }
    folder = StripOneSeparator(folder);
    const CString path = folder + "\\help\\" + app->GetLanguageName() + "\\QuorvaPlindor.chm";
    // The shell says nothing of a missing file: the user is told here.
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        ShowMessageBox(FillInText(app->GetLangString(170), path), app->GetLangString(122), false, nullptr);
    } else if (!app->OpenInShell(path, SW_SHOWNORMAL)) {
        ShowMessageBox(app->GetLangString(171), app->GetLangString(122), false, nullptr);
    }
}

void CMainFrame::OnZoomIn()
{
    if (CKestrixDoc* doc = ActiveDoc())
        if (!doc->IsPrinting())
            doc->AdjustZoom(0.1f);
}

void CMainFrame::OnZoomOut()
{
    if (CKestrixDoc* doc = ActiveDoc())
        if (!doc->IsPrinting())
            doc->AdjustZoom(-0.1f);
}

void CMainFrame::SetViewButtons(int checked)
{
    m_wndToolBar.CheckButton(ID_VIEW_CHORDS, checked == ID_VIEW_CHORDS);
    m_wndToolBar.CheckButton(ID_VIEW_BASS, checked == ID_VIEW_BASS);
    m_wndToolBar.CheckButton(ID_VIEW_LEAD_SHEET, checked == ID_VIEW_LEAD_SHEET);
    m_wndToolBar.EnableButton(ID_VIEW_LEAD_SHEET, checked != ID_VIEW_LEAD_SHEET);
}

void CMainFrame::OnViewChords()
{
    CKestrixDoc* doc = ActiveDoc();
    if (doc && !doc->IsPrinting() && GetKestrixApp()->ShowChordView())
        SetViewButtons(ID_VIEW_CHORDS);
}

void CMainFrame::OnViewBass()
{
    CKestrixDoc* doc = ActiveDoc();
    if (doc && !doc->IsPrinting() && GetKestrixApp()->ShowBassView())
        SetViewButtons(ID_VIEW_BASS);
}

void CMainFrame::OnViewLeadSheet()
{
    CKestrixDoc* doc = ActiveDoc();
    if (doc && !doc->IsPrinting() && GetKestrixApp()->ShowLeadSheetView())
        SetViewButtons(ID_VIEW_LEAD_SHEET);
}

void CMainFrame::OnRebuildLeadSheet()
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc || doc->IsPrinting())
        return;
    // A rebuild replaces the boxes and with them the user's changes.
    if (doc->HasLeadSheetEdits() && AfxMessageBox(LangText(155), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    doc->SetLeadSheetStale(true);
    doc->UpdateAllViews(nullptr, HINT_REBUILD_LEADSHEET);
}

// The transport panel serves these once it exists.
void CMainFrame::OnControlAnalyze()
{
    if (m_pControlDlg)
        m_pControlDlg->OnAnalyze();
}

void CMainFrame::OnControlLoad()
{
    if (m_pControlDlg)
        m_pControlDlg->OnOpenAudio();
}

void CMainFrame::OnControlTranspose()
{
    if (m_pControlDlg)
        m_pControlDlg->OnTranspose();
}

void CMainFrame::OnViewNameToolbar() { ShowControlBar(&m_wndNameBar, !m_wndNameBar.IsWindowVisible(), FALSE); }
void CMainFrame::OnHelpTopics() { OpenHelpFile(); }

void CMainFrame::OnUpdateNameToolbar(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_wndNameBar.IsWindowVisible() ? 1 : 0); }

void CMainFrame::OnUpdateAnalyze(CCmdUI* pCmdUI)
{
    if (CKestrixDoc* doc = ActiveDoc())
        pCmdUI->Enable(doc->HasAudio() && !doc->IsPrinting());
}

void CMainFrame::OnUpdateTranspose(CCmdUI* pCmdUI)
{
    if (CKestrixDoc* doc = ActiveDoc())
        pCmdUI->Enable(doc->HasAudio() && !doc->IsPrinting() && !doc->IsPlaying());
}

void CMainFrame::OnUpdateLoad(CCmdUI* pCmdUI)
{
    if (CKestrixDoc* doc = ActiveDoc())
        pCmdUI->Enable(!doc->IsPrinting());
}

void CMainFrame::OnUpdateSettings(CCmdUI* pCmdUI)
{
    if (CKestrixDoc* doc = ActiveDoc())
        pCmdUI->Enable(!doc->IsPrinting() && !doc->IsPlaying());
}

void CMainFrame::OnUpdateAbout(CCmdUI* pCmdUI)
{
    if (CKestrixDoc* doc = ActiveDoc())
        pCmdUI->Enable(!doc->IsPrinting() && !doc->IsPlaying());
}

void CMainFrame::TranslateRecentFilePlaceholder(CCmdUI* pCmdUI, const CRecentFileList* list)
{
    // The framework's placeholder is English; with no recent file show the
    // language's own text.
    const CString text = LangText(14);
    if (pCmdUI->m_pMenu && !pCmdUI->m_pSubMenu && !text.IsEmpty() && (!list || list->GetSize() == 0))
        pCmdUI->m_pMenu->ModifyMenu(ID_FILE_MRU_FILE1, MF_BYCOMMAND | MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1, text);
}
