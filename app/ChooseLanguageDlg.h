#pragma once
// Asks for the language at the first start; the list shows the table's
// names in file order. The side banner runs along its left edge.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "uikit/KCSideBannerWnd.h"

class CChooseLanguageDlg : public CDialog {
public:
    CChooseLanguageDlg(CWnd* pParent = nullptr);
    int GetSelection() const { return m_selection; }
    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    int m_selection;
    CKCSideBannerWnd m_banner;
    CComboBox m_list;
};
