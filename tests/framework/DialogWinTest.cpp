#include <gtest/gtest.h>

#include "framework/Afx.h"
#include "tests/framework/WinTestSupport.h"

namespace {
enum class Close { None, Escape, Cancel, Ok, OkNow, CloseBox, EndInInit };

class CExchangeDlg : public CDialog {
public:
    CExchangeDlg(CWnd* parent = nullptr) : CDialog(100, parent) {}
    int m_number = 42;
    CString m_text = "hello";
    CEdit m_edit;
    Close m_close = Close::None;
    CString m_okText; // typed into 1001 before OK
    BOOL m_ownerEnabledInside = TRUE;
    HWND m_owner = nullptr;
    int m_kickIdle = 0;
    int m_inits = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, 1001, m_edit);
        DDX_Text(pDX, 1001, m_number);
        DDX_Text(pDX, 1002, m_text);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ++m_inits;
        if (m_owner)
            m_ownerEnabledInside = ::IsWindowEnabled(m_owner);
        switch (m_close) {
        case Close::Escape:
            // Goes through the modal loop's PreTranslateMessage.
            m_edit.SetFocus();
            m_edit.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
            break;
        case Close::Cancel:
            PostMessage(WM_COMMAND, IDCANCEL);
            break;
        case Close::Ok:
            SetDlgItemText(1001, m_okText);
            break; // OK comes from the first idle time
        case Close::OkNow:
            SetDlgItemText(1001, m_okText);
            PostMessage(WM_COMMAND, IDOK);
            break;
        case Close::CloseBox:
            PostMessage(WM_CLOSE);
            break;
        case Close::EndInInit:
            EndDialog(77);
            break;
        case Close::None:
            break;
        }
        return TRUE;
    }
    LRESULT OnKickIdle(WPARAM, LPARAM)
    {
        if (++m_kickIdle == 1 && m_close == Close::Ok)
            PostMessage(WM_COMMAND, IDOK);
        return FALSE;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()
} // namespace

TEST(FrameworkDialog, ModelessExchangeRoundTrips)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(100));
    EXPECT_EQ(1, dlg.m_inits);
    ASSERT_NE(nullptr, dlg.m_edit.m_hWnd);
    EXPECT_EQ(dlg.GetDlgItem(1001)->m_hWnd, dlg.m_edit.m_hWnd);
    EXPECT_EQ(&dlg.m_edit, CWnd::FromHandlePermanent(dlg.m_edit.m_hWnd));
    CString s;
    dlg.GetDlgItemText(1001, s);
    EXPECT_STREQ("42", s);
    dlg.GetDlgItemText(1002, s);
    EXPECT_STREQ("hello", s);

    dlg.SetDlgItemText(1001, " -17 ");
    dlg.SetDlgItemText(1002, "world");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(-17, dlg.m_number);
    EXPECT_STREQ("world", dlg.m_text);

    dlg.m_number = 2147483647;
    dlg.m_text = "";
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    dlg.GetDlgItemText(1001, s);
    EXPECT_STREQ("2147483647", s);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(2147483647, dlg.m_number);
    EXPECT_STREQ("", dlg.m_text);
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, dlg.m_edit.m_hWnd); // the control object let go with the window
}

TEST(FrameworkDialog, NotAnIntegerIsPromptedAndRefused)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(100));
    dlg.ShowWindow(SW_SHOW);
    const char* bad[] = {"abc", "12x", "", "-", "99999999999", "1 2"};
    int prompts = 0;
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        MessageBoxDismisser dismiss(GetCurrentThreadId(), dlg.m_hWnd);
        dlg.m_number = 5;
        dlg.SetDlgItemText(1001, text);
        dlg.SetDlgItemText(1002, "kept");
        dlg.GetDlgItem(1002)->SetFocus();
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        EXPECT_EQ(5, dlg.m_number); // unchanged
        EXPECT_EQ(dlg.m_edit.m_hWnd, ::GetFocus()); // back on the field
        int start = -1, end = -1;
        dlg.m_edit.GetSel(start, end);
        EXPECT_EQ(0, start);
        EXPECT_EQ((int)strlen(text), end);
        EXPECT_EQ(1, dismiss.Count());
        EXPECT_EQ("Please enter an integer.", dismiss.Text());
        prompts += dismiss.Count();
    }
    EXPECT_EQ(6, prompts);
    dlg.DestroyWindow();
}

TEST(FrameworkDialog, IntegerParsing)
{
    int v = 0;
    EXPECT_TRUE(AfxParseInt("0", v));
    EXPECT_EQ(0, v);
    EXPECT_TRUE(AfxParseInt("+8", v));
    EXPECT_EQ(8, v);
    EXPECT_TRUE(AfxParseInt("-2147483648", v));
    EXPECT_EQ(-2147483647 - 1, v);
    EXPECT_FALSE(AfxParseInt("2147483648", v));
    EXPECT_FALSE(AfxParseInt("0x10", v));
    EXPECT_FALSE(AfxParseInt("1.5", v));
    EXPECT_FALSE(AfxParseInt(" ", v));
}

namespace {
struct ModalFixture : ::testing::Test {
    CWnd owner;
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr));
    }
    void TearDown() override { owner.DestroyWindow(); }
    INT_PTR Run(CExchangeDlg& dlg, Close how)
    {
        dlg.m_pParentWnd = &owner;
        dlg.m_owner = owner.m_hWnd;
        dlg.m_close = how;
        return dlg.DoModal();
    }
};
} // namespace

TEST_F(ModalFixture, EscapeCancelAndCloseBoxEndWithCancel)
{
    for (Close how : {Close::Escape, Close::Cancel, Close::CloseBox}) {
        CExchangeDlg dlg;
        EXPECT_EQ(IDCANCEL, Run(dlg, how));
        EXPECT_FALSE(dlg.m_ownerEnabledInside); // the owner was disabled
        EXPECT_TRUE(owner.IsWindowEnabled());   // and is enabled again
        EXPECT_EQ(nullptr, dlg.m_hWnd);
        EXPECT_EQ(42, dlg.m_number); // Cancel keeps the members
    }
}

TEST_F(ModalFixture, OkExchangesAndIdleRuns)
{
    CExchangeDlg dlg;
    dlg.m_okText = "123";
    EXPECT_EQ(IDOK, Run(dlg, Close::Ok));
    EXPECT_EQ(123, dlg.m_number);
    EXPECT_EQ(1, dlg.m_kickIdle);

    CExchangeDlg ended;
    EXPECT_EQ(77, Run(ended, Close::EndInInit));
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(ModalFixture, OkWithABadNumberStaysOpen)
{
    // OK with "x": the prompt, the box stays; then Cancel closes it.
    class CRetryDlg : public CExchangeDlg {
    public:
        int oks = 0;
        void OnOK() override
        {
            ++oks;
            CExchangeDlg::OnOK();
            if (oks == 1)
                PostMessage(WM_COMMAND, IDCANCEL);
        }
    } dlg;
    dlg.m_okText = "x";
    MessageBoxDismisser dismiss(GetCurrentThreadId());
    EXPECT_EQ(IDCANCEL, Run(dlg, Close::OkNow));
    EXPECT_EQ(1, dlg.oks);
    EXPECT_EQ(1, dismiss.Count());
    EXPECT_EQ(42, dlg.m_number);
}

TEST(FrameworkApp, ProfileReadWrite)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    CString path = CString(dir) + "qfw_profile_test.ini";
    DeleteFileA(path);
    {
        CWinApp app("Profile test");
        app.SetProfileName(path);
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(7u, app.GetProfileInt("MenuXP", "GradientWidth", 7));
        EXPECT_TRUE(app.WriteProfileInt("MenuXP", "GradientWidth", -25));
        EXPECT_EQ(-25, (int)app.GetProfileInt("MenuXP", "GradientWidth", 7));
        EXPECT_TRUE(app.WriteProfileString("MenuXP", "Name", "a value"));
        EXPECT_STREQ("a value", app.GetProfileString("MenuXP", "Name"));
        EXPECT_STREQ("dflt", app.GetProfileString("MenuXP", "Missing", "dflt"));
        EXPECT_TRUE(app.WriteProfileString("MenuXP", "Name", "not a number"));
        EXPECT_EQ(3u, app.GetProfileInt("MenuXP", "Name", 3));
        CString longText('z', 1000);
        EXPECT_TRUE(app.WriteProfileString("Other", "Long", longText));
        EXPECT_EQ(1000, app.GetProfileString("Other", "Long").GetLength());
        EXPECT_TRUE(app.WriteProfileString("MenuXP", "Name", nullptr));
        EXPECT_STREQ("", app.GetProfileString("MenuXP", "Name"));
        EXPECT_TRUE(app.WriteProfileString("Other", nullptr, nullptr));
        EXPECT_STREQ("", app.GetProfileString("Other", "Long"));
        EXPECT_STREQ("Text from the string table", AfxLoadString(7));
        EXPECT_STREQ("", AfxLoadString(8));
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    // The file is a plain INI file other readers see.
    EXPECT_EQ(-25, (int)GetPrivateProfileIntA("MenuXP", "GradientWidth", 0, path));
    DeleteFileA(path);
}
