#include "MessageBoxDemo.h"

#include "LangText.h"
#include "framework/App.h"

// Reserved for examples: it never reaches anybody's real site.
const char kProgramWebAddress[] = "http://www.quorva.example/plindor/";

BEGIN_MESSAGE_MAP(CMessageBoxDemo, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_MESSAGE_LINK, OnLinkClicked)
END_MESSAGE_MAP()

CMessageBoxDemo::CMessageBoxDemo(CWnd* pParent) : CDialog(IDD, pParent) {}

void CMessageBoxDemo::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MESSAGE_LINK_LABEL, m_linkLabel);
    DDX_Control(pDX, IDC_MESSAGE_LINK, m_link);
    DDX_Text(pDX, IDC_MESSAGE_TEXT, m_messageText);
}

BOOL CMessageBoxDemo::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_picture.LoadBitmap(IDB_MESSAGE_BOX);
    return TRUE;
}

void CMessageBoxDemo::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);

    // Everything goes to an off-screen bitmap first and reaches the screen
    // in one copy, so the box does not flicker.
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap buffer;
    buffer.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
    CBitmap* oldBuffer = memory.SelectObject(&buffer);
    memory.FillSolidRect(&client, RGB(236, 233, 216));

    if (m_picture.GetSafeHandle()) {
        BITMAP bm = {};
        m_picture.GetBitmap(&bm);
        CDC picture;
        picture.CreateCompatibleDC(&dc);
        CBitmap* oldPicture = picture.SelectObject(&m_picture);
        int x = (int)(client.left + client.Width() * 0.5 - bm.bmWidth * 0.5);
        int y = (int)(client.top + client.Height() * 0.05);
        memory.BitBlt(x, y, bm.bmWidth - 5, bm.bmHeight, &picture, 0, 0, SRCCOPY);
        picture.SelectObject(oldPicture);
    }

    BOOL shown = dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBuffer);
    buffer.DeleteObject();
    if (shown) {
        // Only when changed: a new text makes the control paint again. The
        // link takes it as its address too, for its tooltip and the click.
        CString now;
        m_link.GetWindowText(now);
        if (now != m_linkText)
            m_link.SetLinkText(m_linkText);
        GetWindowText(now);
        if (now != m_caption)
            SetWindowText(m_caption);
    }
}

void CMessageBoxDemo::OnLinkClicked()
{
    if (!m_linkText.IsEmpty())
        m_link.OpenLink(SW_SHOWNORMAL);
}

INT_PTR ShowMessageBox(CString text, CString caption, bool withLink, CWnd* parent)
{
    if (!parent)
        parent = AfxGetMainWnd();
    CMessageBoxDemo box(parent);
    box.SetMessageText(text);
    box.SetCaption(caption);
    if (withLink) {
        box.SetLinkLabel(LangText(119));
        box.SetLinkText(kProgramWebAddress);
    } else {
        box.SetLinkLabel(CString());
        box.SetLinkText(CString());
    }
    return box.DoModal();
}
