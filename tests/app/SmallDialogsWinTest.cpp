// The small dialogs as windows: banners, texts, the language chooser's
// order, the panel's captions in every language, the hidden bitmap window's
// loader.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ProgramTestSupport.h"
#include "app/ChooseLanguageDlg.h"
#include "app/ControlDlg.h"
#include "app/KestrixApp.h"
#include "app/LanguageTable.h"
#include "app/PanelZones.h"
#include "app/SmallDialogs.h"
#include "app/TimeStretchDlg.h"
#include "app/WaveOut.h"
#include "resources/resource.h"

using namespace progtest;

namespace {

// Left, right and bottom of a control in its dialog's client coordinates.
struct Place {
    int left, right, bottom;
};
Place PlaceOf(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    POINT tl = {r.left, r.top}, br = {r.right, r.bottom};
    ScreenToClient(GetParent(control), &tl);
    ScreenToClient(GetParent(control), &br);
    return {tl.x, br.x, br.y};
}

// The banner strip along the left edge, and the control moved aside by it.
void ExpectBanner(CDialog& dlg, int control, int templateLeft)
{
    HWND strip = GetDlgItem(dlg.m_hWnd, 0xFFF0);
    ASSERT_NE(nullptr, strip);
    EXPECT_EQ("KCSideBanner", ClassOf(strip));
    RECT client;
    dlg.GetClientRect(&client);
    const Place s = PlaceOf(strip);
    EXPECT_EQ(0, s.left);
    EXPECT_EQ(50, s.right);
    EXPECT_EQ(client.bottom, s.bottom);
    RECT r = {templateLeft, 0, templateLeft + 1, 1};
    MapDialogRect(dlg.m_hWnd, &r);
    EXPECT_EQ(r.left + 50, PlaceOf(GetDlgItem(dlg.m_hWnd, control)).left);
}

BOOL CALLBACK FindShownBox(HWND w, LPARAM p)
{
    if (IsWindowVisible(w) && ClassOf(w) == "#32770")
        *(HWND*)p = w;
    return TRUE;
}

std::string Item(CDialog& dlg, int id) { return TextOf(GetDlgItem(dlg.m_hWnd, id)); }

class SmallDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app.GetLanguageTable().Load((ExeFolder() + "languages.txt").c_str()));
        m_app.GetLanguageTable().SelectName("Deutsch");
    }
    CKestrixApp m_app;
};

} // namespace

TEST_F(SmallDialogs, TransposeCarriesTheBannerTheTextsAndTheValue)
{
    CTransposeDlg dlg;
    dlg.SetSemitones(-3);
    ASSERT_TRUE(dlg.Create(IDD_TRANSPOSE, nullptr));
    ExpectBanner(dlg, IDC_TRANSPOSE_VALUE, 62);
    EXPECT_EQ("-3", Item(dlg, IDC_TRANSPOSE_VALUE));
    EXPECT_EQ(std::string(m_app.GetLangString(105)), TextOf(dlg.m_hWnd));
    EXPECT_EQ(std::string(m_app.GetLangString(104)), Item(dlg, IDC_TRANSPOSE_LABEL));
    EXPECT_EQ(std::string(m_app.GetLangString(103)), Item(dlg, IDC_TRANSPOSE_GROUP));
    EXPECT_EQ(std::string(m_app.GetLangString(102)), Item(dlg, IDCANCEL));
    // "-" stops at -11.
    SetDlgItemTextA(dlg.m_hWnd, IDC_TRANSPOSE_VALUE, "-10");
    for (int i = 0; i < 3; ++i)
        SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TRANSPOSE_MINUS, BN_CLICKED), 0);
    EXPECT_EQ("-11", Item(dlg, IDC_TRANSPOSE_VALUE));
    dlg.DestroyWindow();
}

TEST_F(SmallDialogs, SettingsCarriesTheBannerTheTextsAndTheStoredChoices)
{
    COptionsDlg dlg;
    dlg.SetSeconds(6);
    dlg.SetRows(7);
    ASSERT_TRUE(dlg.Create(IDD_OPTIONS, nullptr));
    ExpectBanner(dlg, IDC_ROW_SECONDS, 115);
    EXPECT_EQ("6", Item(dlg, IDC_ROW_SECONDS));
    EXPECT_EQ("7", Item(dlg, IDC_ROWS_PER_PAGE));
    EXPECT_EQ(std::string(m_app.GetLangString(108)), TextOf(dlg.m_hWnd));
    EXPECT_EQ(std::string(m_app.GetLangString(92)), Item(dlg, IDC_SOUND_GROUP));
    EXPECT_EQ(std::string(m_app.GetLangString(95)), Item(dlg, IDC_ROW_SECONDS_LABEL));
    EXPECT_EQ(std::string(m_app.GetLangString(134)), Item(dlg, IDC_SHOW_QUICKSTART));
    // The devices in the player's order, the one in use selected.
    HWND combo = GetDlgItem(dlg.m_hWnd, IDC_SOUND_CARDS);
    CWaveOut devices(nullptr);
    devices.EnumDevices();
    ASSERT_EQ(devices.GetDeviceCount(), (int)SendMessageA(combo, CB_GETCOUNT, 0, 0));
    if (devices.GetDeviceCount() > 0) {
        EXPECT_EQ(m_app.GetSoundCard(), (int)SendMessageA(combo, CB_GETCURSEL, 0, 0));
    }
    dlg.DestroyWindow();
}

TEST_F(SmallDialogs, ConfirmationShowsItsTextAndButtons)
{
    CTextDlg dlg;
    dlg.m_text = m_app.GetLangString(89);
    ASSERT_TRUE(dlg.Create(IDD_CONFIRM_TEXT, nullptr));
    EXPECT_EQ(std::string(m_app.GetLangString(89)), Item(dlg, IDC_CONFIRM_TEXT));
    EXPECT_EQ(std::string(m_app.GetLangString(99)), Item(dlg, IDOK));
    EXPECT_EQ(std::string(m_app.GetLangString(100)), Item(dlg, IDCANCEL));
    dlg.DestroyWindow();
}

TEST(LanguageChooser, ListsTheLanguagesInFileOrder)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "qp-chooser-languages.txt";
    ASSERT_TRUE(WriteText(path, "[Spanish]\r\n1=Cancion\r\nend\r\n[English]\r\n1=Song\r\nend\r\n"));
    CKestrixApp app;
    ASSERT_TRUE(app.GetLanguageTable().Load(path.c_str()));
    CChooseLanguageDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CHOOSE_LANGUAGE, nullptr));
    HWND combo = GetDlgItem(dlg.m_hWnd, IDC_LANGUAGE_LIST);
    ASSERT_EQ(2, (int)SendMessageA(combo, CB_GETCOUNT, 0, 0));
    char name[32] = "";
    SendMessageA(combo, CB_GETLBTEXT, 1, (LPARAM)name);
    EXPECT_STREQ("English", name);
    EXPECT_EQ(0, (int)SendMessageA(combo, CB_GETCURSEL, 0, 0));
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    SendMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(1, dlg.GetSelection());
    dlg.DestroyWindow();
    DeleteFileA(path.c_str());
}

TEST(PanelCaptions, EveryLanguagesCaptionsFitTheirZones)
{
    CLanguageTable table;
    ASSERT_TRUE(table.Load((ExeFolder() + "languages.txt").c_str()));
    const PanelGeometry g = MakePanelGeometry(10, 11, 18, 9);
    const struct {
        int text;
        PanelRect zone;
    } captions[] = {{116, g.open}, {118, g.analyze}, {117, g.transpose}};
    HDC screen = GetDC(nullptr);
    CDC* dc = CDC::FromHandle(screen);
    int checked = 0, shrunk = 0;
    for (int lang = 0; lang < table.GetLanguageCount(); ++lang) {
        ASSERT_TRUE(table.SelectIndex(lang));
        for (const auto& c : captions) {
            const CString text = table.GetString(c.text);
            ASSERT_FALSE(text.IsEmpty());
            const int width = c.zone.right - c.zone.left;
            const int height = CControlDlg::CaptionFontHeight(*dc, text, width);
            CFont font;
            CControlDlg::CreateCaptionFont(font, height);
            CFont* old = dc->SelectObject(&font);
            EXPECT_LE(dc->GetTextExtent(text).cx, width) << text << " at " << height;
            dc->SelectObject(old);
            EXPECT_GE(height, 9) << text << ": too small to read";
            ++checked;
            shrunk += height < CControlDlg::kCaptionFontHeight;
        }
    }
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(3 * table.GetLanguageCount(), checked);
    // "Transponieren" does not fit at the panel's own size.
    EXPECT_GT(shrunk, 0);
    EXPECT_GE(table.GetLanguageCount(), 2);
}

TEST(HiddenBitmapWindow, ADamagedSkinIsRefusedAndReported)
{
    TestInstallation folder({"mainBmp.bmp"}, "qp-stretch-");
    ASSERT_TRUE(folder.missing.empty());
    CKestrixApp app;
    CBitmap good;
    CPalette palette;
    EXPECT_TRUE(CTimeStretchDlg::LoadBitmapFile("mainBmp.bmp", good, &palette));
    EXPECT_NE(nullptr, good.GetSafeHandle());

    // A header claiming far more pixels than the file holds.
    std::vector<unsigned char> bytes = ReadAll(folder.path + "mainBmp.bmp");
    ASSERT_GT(bytes.size(), 54u);
    bytes[22] = 0xFF;
    bytes[23] = 0x7F;
    ASSERT_TRUE(WriteBytes(folder.path + "damaged.bmp", bytes.data(), bytes.size()));
    // At start-up the active window may be one that goes while the report
    // is up (the quick-start page); the report must stay until answered.
    CWnd main;
    main.Attach(CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr));
    app.m_pMainWnd = &main;
    HWND passing = CreateWindowExA(0, "STATIC", "passing", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 200, 100,
                                   main.m_hWnd, nullptr, nullptr, nullptr);
    SetActiveWindow(passing);
    // The report is a message box; answer it as a user would.
    std::atomic<bool> stop{false};
    std::atomic<int> reports{0}, outlived{0};
    const DWORD ui = GetCurrentThreadId();
    std::thread user([&] {
        while (!stop) {
            HWND box = nullptr;
            EnumThreadWindows(ui, &FindShownBox, (LPARAM)&box);
            if (box) {
                ++reports;
                PostMessageA(passing, WM_CLOSE, 0, 0);
                Sleep(300);
                outlived += IsWindowVisible(box) ? 1 : 0;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                Sleep(300);
            }
            Sleep(10);
        }
    });
    CBitmap bad;
    EXPECT_FALSE(CTimeStretchDlg::LoadBitmapFile("damaged.bmp", bad, nullptr));
    EXPECT_FALSE(CTimeStretchDlg::LoadBitmapFile("missing.bmp", bad, nullptr));
    stop = true;
    user.join();
    EXPECT_EQ(nullptr, bad.GetSafeHandle());
    EXPECT_EQ(2, reports.load());
    EXPECT_EQ(2, outlived.load());
    EXPECT_FALSE(IsWindow(passing));
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}
