#pragma once
// Data exchange between a dialog's controls and its members. A field that
// does not validate tells the user, puts the focus back on the control and
// ends the exchange (UpdateData returns FALSE).
#include <windows.h>

#include "framework/CString.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members
    CWnd* m_pDlgWnd;

    // The control's window; null (and nothing exchanged) when missing.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Focus back to the last prepared control, then ends the exchange.
    [[noreturn]] void Fail();

    int m_idLastControl;
    BOOL m_bEditLastControl;
};

void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// Binds the control object to the dialog's control (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Parses a whole decimal integer, spaces around allowed; FALSE for anything
// else, including values outside int.
BOOL AfxParseInt(const char* text, int& value);
