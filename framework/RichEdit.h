#pragma once
// The system's rich edit control, version 2 (riched20.dll).
#include <windows.h>
#include <richedit.h>

#include "framework/Wnd.h"

// Loads riched20.dll once per process; FALSE when it is missing.
BOOL AfxInitRichEdit2();

class CRichEditCtrl : public CWnd {
public:
    // Loads the library first when needed.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Character formats: the default one (new text) and the selection's.
    DWORD GetDefaultCharFormat(CHARFORMATA& cf) const { return CharFormat(SCF_DEFAULT, cf); }
    BOOL SetDefaultCharFormat(CHARFORMATA& cf) { return SetCharFormat(SCF_DEFAULT, cf); }
    DWORD GetSelectionCharFormat(CHARFORMATA& cf) const { return CharFormat(SCF_SELECTION, cf); }
    BOOL SetSelectionCharFormat(CHARFORMATA& cf) { return SetCharFormat(SCF_SELECTION, cf); }

    // Selection in characters; -1, -1 selects nothing at the end.
    void GetSel(long& nStartChar, long& nEndChar) const;
    void SetSel(long nStartChar, long nEndChar);
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE);
    long GetTextLength() const;
    void LimitText(long nChars = 0) { SendMessage(EM_EXLIMITTEXT, 0, nChars); }

    // Formatting rectangle and lines (wrapped lines count).
    void GetRect(LPRECT lpRect) const { SendMessage(EM_GETRECT, 0, (LPARAM)lpRect); }
    void SetRect(LPCRECT lpRect) { SendMessage(EM_SETRECT, 0, (LPARAM)lpRect); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    CPoint GetCharPos(long lChar) const;

    // RTF or plain text through the caller's callback.
    long StreamIn(int nFormat, EDITSTREAM& es) { return (long)SendMessage(EM_STREAMIN, nFormat, (LPARAM)&es); }
    long StreamOut(int nFormat, EDITSTREAM& es) { return (long)SendMessage(EM_STREAMOUT, nFormat, (LPARAM)&es); }

    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }
    void Cut() { SendMessage(WM_CUT); }
    void Copy() { SendMessage(WM_COPY); }
    void Paste() { SendMessage(WM_PASTE); }
    void Clear() { SendMessage(WM_CLEAR); }

private:
    DWORD CharFormat(WPARAM which, CHARFORMATA& cf) const;
    BOOL SetCharFormat(WPARAM which, CHARFORMATA& cf);
};
