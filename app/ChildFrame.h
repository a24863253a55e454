#pragma once
// The MDI child of one document: always maximised, its document menu in
// the current language, the Languages popup built from the language table,
// and a blank icon while maximised.
#include "framework/Frame.h"

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
public:
    CChildFrame();
    ~CChildFrame() override;

    void TranslateMenu();
    int GetLanguageItemCount() const { return m_languageItemCount; }

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) override;

    afx_msg void OnLanguage(UINT nID);
    afx_msg void OnUpdateLanguage(CCmdUI* pCmdUI);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnHelpTopics();
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);

protected:
    void PostNcDestroy() override;

private:
    // Position offset of the document popups: 1 while maximised (the
    // child's system menu then comes first on the bar).
    int MenuOffset() const;
    HMENU FrameMenu() const;

    HICON m_hFrameIcon;
    int m_languageItemCount;
    DECLARE_MESSAGE_MAP()
};
