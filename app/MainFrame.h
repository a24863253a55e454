#pragma once
// The program's MDI main window: view and zoom toolbar, name toolbar, flat
// status bar, toolbar tooltips in the current language, the menu shown with
// no document, the help file and a fixed title.
#include <map>

#include "framework/Frame.h"
#include "uikit/StatusBarXP.h"

class CControlDlg;

struct MenuTextRow;

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // The transport panel, owned by the frame; null until it is made.
    void CreateControlDlg();
    CControlDlg* GetControlDlg() const { return m_pControlDlg; }

    void LoadToolTips();
    void TranslateMenu();
    // Re-texts the popups of a menu from its first popup on, by position;
    // a title of 0 keeps the popup's title.
    static void TranslatePopups(HMENU menu, int first, const MenuTextRow* rows, int count);
    CString GetToolTip(UINT id) const;
    CToolBar& GetMainToolBar() { return m_wndToolBar; }
    CToolBar& GetNameToolBar() { return m_wndNameBar; }
    CStatusBarXP& GetStatusBar() { return m_wndStatusBar; }

    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    // After the framework's recent-file update: the placeholder in the language.
    static void TranslateRecentFilePlaceholder(CCmdUI* pCmdUI, const CRecentFileList* list);

    // Opens the help file of the current language (also the child frame's).
    static void OpenHelpFile();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnPaint();
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg BOOL OnToolTipText(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();
    afx_msg void OnViewChords();
    afx_msg void OnViewBass();
    afx_msg void OnViewLeadSheet();
    afx_msg void OnRebuildLeadSheet();
    afx_msg void OnControlAnalyze();
    afx_msg void OnControlLoad();
    afx_msg void OnControlTranspose();
    afx_msg void OnViewNameToolbar();
    afx_msg void OnHelpTopics();
    afx_msg void OnUpdateNameToolbar(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAnalyze(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTranspose(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLoad(CCmdUI* pCmdUI);
    afx_msg void OnUpdateSettings(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAbout(CCmdUI* pCmdUI);

private:
    bool BuildImageList(CImageList& list, const UINT* ids, int count);
    void SetViewButtons(int checkedView);

    CControlDlg* m_pControlDlg;
    std::map<int, CString> m_toolTips;
    CImageList m_disabledImages, m_hotImages, m_normalImages;
    CImageList m_nameImages[3];
    CStatusBarXP m_wndStatusBar;
    CToolBar m_wndToolBar;
    CToolBar m_wndNameBar;

    DECLARE_MESSAGE_MAP()
};

// Copies text into a fixed buffer of size bytes, cut to fit, always ended.
void CopyTipText(char* buffer, size_t size, const char* text);
void CopyTipText(wchar_t* buffer, size_t size, const char* text);
