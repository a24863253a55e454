#pragma once
// The program's own modal message box: its picture on a light panel, the
// message centred below it, an optional link line and one OK button.
#include "framework/CString.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "resources/resource.h"
#include "uikit/StringButton.h"

class CMessageBoxDemo : public CDialog {
public:
    enum { IDD = IDD_MESSAGE_BOX };

    explicit CMessageBoxDemo(CWnd* pParent = nullptr);

    void SetMessageText(const CString& text) { m_messageText = text; }
    void SetCaption(const CString& caption) { m_caption = caption; }
    void SetLinkLabel(const CString& label) { m_linkLabel = label; }
    void SetLinkText(const CString& link) { m_linkText = link; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnPaint();
    // The link line opens its address.
    afx_msg void OnLinkClicked();
    DECLARE_MESSAGE_MAP()

private:
    CString m_linkLabel;
    CStringButton m_link;
    CString m_linkText;
    CString m_caption;
    CBitmap m_picture;
    CString m_messageText;
};

// The address a link line leads to.
extern const char kProgramWebAddress[];

// Shows the box modally; a null parent means the main window. Returns IDOK
// from the button, IDCANCEL for Escape or the close box.
INT_PTR ShowMessageBox(CString text, CString caption, bool withLink, CWnd* parent);
