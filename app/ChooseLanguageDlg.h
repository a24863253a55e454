#pragma once
// Asks for the language at the first start; the list shows the table's
// names in file order.
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CChooseLanguageDlg : public CDialog {
public:
    CChooseLanguageDlg(CWnd* pParent = nullptr);
    int GetSelection() const { return m_selection; }
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    int m_selection;
    CComboBox m_list;
};
