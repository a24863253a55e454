// The XP menus of the running program, opened with the system's mouse and
// read back from the screen: owner-drawn items, check boxes, grey disabled
// items, mnemonics through WM_MENUCHAR, toolbar images, and the popup's
// border and shadow for the Windows version the process runs as. The XP
// class and a later Windows are both tried, in child processes that Wine
// starts with another reported version.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "UikitWinTestSupport.h"
#include "app/ChildFrame.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "resources/resource.h"
#include "tests/app/ProgramTestSupport.h"
#include "uikit/DrawHelpers.h"
#include "uikit/MenuXP.h"

using namespace progtest;

namespace {

const UINT kEditUndo = 0xE12B; // the document menu's Undo item, which nothing serves

COLORREF T(int sysColour, int lightness, int saturation)
{
    return (COLORREF)HLSTransform((ColourRef)GetSysColor(sysColour), lightness, saturation);
}

COLORREF ScreenPixel(HBITMAP screen, int x, int y) { return PixelOf(screen, x, y); }

HBITMAP CaptureScreen()
{
    return CaptureScreenRect(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

// Writes a part of a screen capture as a 24-bit BMP file next to the test
// program, named after the menu and the version class, for looking at.
void SaveShot(HBITMAP screen, RECT area, const std::string& name)
{
    const int w = area.right - area.left, h = area.bottom - area.top;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP part = CreateBitmap(w, h, 1, 32, nullptr);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ o1 = SelectObject(dc, part), o2 = SelectObject(src, screen);
    BitBlt(dc, 0, 0, w, h, src, area.left, area.top, SRCCOPY);
    SelectObject(src, o2);
    SelectObject(dc, o1);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> pixels((size_t)stride * h);
    GetDIBits(dc, part, 0, (UINT)h, pixels.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(part);
    DeleteDC(src);
    DeleteDC(dc);
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + (DWORD)pixels.size();
    std::string bytes((const char*)&fh, sizeof fh);
    bytes.append((const char*)&bi.bmiHeader, sizeof bi.bmiHeader);
    bytes.append((const char*)pixels.data(), pixels.size());
    WriteText(ExeFolder() + "menu-" + name + "-class" + std::to_string(GetWinVersionClass()) + ".bmp", bytes);
}

RECT AroundMenu(const RECT& popup)
{
    return RECT{std::max(0L, popup.left - 20), std::max(0L, popup.top - 40), popup.right + 20, popup.bottom + 20};
}

HWND VisiblePopup()
{
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w))
            return w;
    return nullptr;
}

void SendKeyDown(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// What an open popup looked like, noted from a thread of its own while the
// user-interface thread sits in the menu's loop.
struct OpenMenu {
    bool seen = false;
    HWND popup = nullptr;
    RECT window = {};
    RECT client = {};
    bool subclassed = false;
    POINT remembered = {};
    RECT barItem = {};
    std::vector<RECT> items; // screen rectangles of the items, while open
    HBITMAP screen = nullptr;
    ~OpenMenu()
    {
        if (screen)
            DeleteObject(screen);
    }
};

// Waits for the popup, notes it, then presses the closing keys.
void Observe(OpenMenu* out, std::atomic<bool>* done, std::vector<WORD> keys, HMENU menu)
{
    const DWORD start = GetTickCount();
    HWND popup = nullptr;
    while (!(popup = VisiblePopup()) && GetTickCount() - start < 8000)
        Sleep(20);
    if (popup) {
        Sleep(500); // painted by now
        out->seen = true;
        out->popup = popup;
        GetWindowRect(popup, &out->window);
        GetClientRect(popup, &out->client);
        out->subclassed = GetPropA(popup, "XPWndProp_OldProc") != nullptr;
        if (CWndMenuXP* w = CMenuXP::FindWndMenu(popup, true))
            out->remembered = w->m_ptPos;
        out->barItem = CMenuXP::s_rcMenuBarItem;
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            RECT r = {};
            GetMenuItemRect(nullptr, menu, (UINT)i, &r); // the popup finds its window
            out->items.push_back(r);
        }
        out->screen = CaptureScreen();
    }
    for (WORD k : keys) {
        SendKeyDown(k);
        Sleep(150);
    }
    *done = true;
}

class MenuProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.reset(new TestInstallation({"Zumbrel.dll", "QuorvaSound.dll", "languages.txt", "mainBmp.bmp",
                                             "mainLightBmp.bmp", "volumeBmp.bmp", "timeSlideBmp.bmp"},
                                            "qp-menus-"));
        ASSERT_TRUE(m_folder->missing.empty()) << "not in the test's folder: " << m_folder->missing.front();
        m_app.reset(new CKestrixApp);
        ASSERT_TRUE(m_app->InitInstance());
        m_frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        ASSERT_NE(m_frame, nullptr);
        SetForegroundWindow(m_frame->m_hWnd);
        PumpFor(*m_app, 300);
    }
    void TearDown() override
    {
        if (m_frame && IsWindow(m_frame->m_hWnd)) {
            if (CMDIChildWnd* child = m_frame->MDIGetActive())
                if (CDocument* doc = child->GetActiveDocument())
                    doc->SetModifiedFlag(FALSE);
            SendMessageA(m_frame->m_hWnd, WM_CLOSE, 0, 0);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ;
        if (m_app)
            m_app->ExitInstance();
        m_app.reset();
        m_folder.reset();
    }

    HMENU Bar() const { return GetMenu(m_frame->m_hWnd); }

    // Position of the bar's popup whose text is `text` (by the kit's map).
    int BarPosition(const char* text)
    {
        HMENU bar = Bar();
        for (int i = 0; i < GetMenuItemCount(bar); ++i)
            if (HMENU sub = GetSubMenu(bar, i)) {
                auto it = CMenuXP::s_mapTextByMenu.find(sub);
                if (it != CMenuXP::s_mapTextByMenu.end() && it->second == text)
                    return i;
            }
        return -1;
    }

    // Clicks a menu-bar item and lets the observer note the popup and press keys.
    void OpenWithMouse(int pos, OpenMenu& seen, std::vector<WORD> keys = {VK_ESCAPE, VK_ESCAPE})
    {
        RECT item = {};
        ASSERT_TRUE(GetMenuItemRect(m_frame->m_hWnd, Bar(), (UINT)pos, &item));
        std::atomic<bool> done(false);
        std::thread observer(Observe, &seen, &done, keys, GetSubMenu(Bar(), pos));
        SetCursorPos((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        PumpUntil(*m_app, [&] { return done.load(); }, 15000);
        observer.join();
        PumpFor(*m_app, 200);
    }

    // The border, and the shadow over what was behind, match the version class.
    void ExpectFrameOfVersion(const OpenMenu& m, HBITMAP before)
    {
        const bool beforeXP = menuxp::IsBeforeXP(GetWinVersionClass());
        const RECT& r = m.window;
        const int y = r.top + 8;
        const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW), light = T(COLOR_BTNFACE, 75, 0);
        EXPECT_TRUE(Near(dark, ScreenPixel(m.screen, r.left, y), 2));
        EXPECT_TRUE(Near(light, ScreenPixel(m.screen, r.left + 1, y), 2));
        EXPECT_TRUE(Near(light, ScreenPixel(m.screen, r.left + 2, y), 2));
        const int w = r.right - r.left, h = r.bottom - r.top;
        const int cw = m.client.right, ch = m.client.bottom;
        if (beforeXP) {
            // 4 pixels more than the client for the shadow.
            EXPECT_EQ(4, w - cw);
            EXPECT_EQ(4, h - ch);
            EXPECT_TRUE(Near(dark, ScreenPixel(m.screen, r.right - 5, y), 2));
            EXPECT_TRUE(Near(dark, ScreenPixel(m.screen, r.left + 10, r.bottom - 5), 2));
            // The shadow darkens the screen that was there: 78 % next to the menu, 93 % outside.
            const int sy = r.top + h / 2;
            EXPECT_TRUE(Near((COLORREF)menuxp::Shade((ColourRef)ScreenPixel(before, r.right - 4, sy), 3),
                             ScreenPixel(m.screen, r.right - 4, sy), 2));
            EXPECT_TRUE(Near((COLORREF)menuxp::Shade((ColourRef)ScreenPixel(before, r.right - 1, sy), 0),
                             ScreenPixel(m.screen, r.right - 1, sy), 2));
            const int sx = r.left + w / 2;
            EXPECT_TRUE(Near((COLORREF)menuxp::Shade((ColourRef)ScreenPixel(before, sx, r.bottom - 4), 3),
                             ScreenPixel(m.screen, sx, r.bottom - 4), 2));
        } else {
            EXPECT_EQ(0, w - cw);
            EXPECT_EQ(0, h - ch);
            EXPECT_TRUE(Near(dark, ScreenPixel(m.screen, r.right - 1, y), 2));
            EXPECT_TRUE(Near(dark, ScreenPixel(m.screen, r.left + 10, r.bottom - 1), 2));
        }
    }

    // Every popup of the bar: owner drawn, opened with the mouse, painted by
    // the kit, all items of one width, the frame as the version class has it.
    void OpenEachMenu(int expectedPopups, const std::string& tag)
    {
        HMENU bar = Bar();
        // The bar's popups: owner drawn, each measured as its label plus 4.
        int popups = 0;
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            HMENU sub = GetSubMenu(bar, i);
            if (!sub || CMenuXP::s_mapTextByMenu.find(sub) == CMenuXP::s_mapTextByMenu.end())
                continue;
            ++popups;
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_DATA;
            GetMenuItemInfoA(bar, (UINT)i, TRUE, &info);
            EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
            EXPECT_EQ(0u, info.dwItemData & 0xFFFF) << i;
            EXPECT_GT(info.dwItemData >> 16, 0u) << i;
        }
        EXPECT_EQ(expectedPopups, popups);

        // Each popup opened with the mouse: items owner drawn and painted by the
        // kit, all of one width, the frame as the version class has it.
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            HMENU sub = GetSubMenu(bar, i);
            if (!sub || CMenuXP::s_mapTextByMenu.find(sub) == CMenuXP::s_mapTextByMenu.end())
                continue;
            SCOPED_TRACE(std::string(CMenuXP::s_mapTextByMenu[sub].GetString()));
            HBITMAP before = CaptureScreen();
            const BYTE draws = CMenuXP::s_drawCounter;
            OpenMenu m;
            OpenWithMouse(i, m);
            ASSERT_TRUE(m.seen);
            EXPECT_TRUE(m.subclassed);
            EXPECT_NE(draws, CMenuXP::s_drawCounter);
            DWORD widths = 0;
            for (int k = 0; k < GetMenuItemCount(sub); ++k) {
                MENUITEMINFOA info = {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_FTYPE | MIIM_DATA;
                GetMenuItemInfoA(sub, (UINT)k, TRUE, &info);
                EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << k;
                if (info.fType & MFT_SEPARATOR)
                    continue;
                if (!widths)
                    widths = (DWORD)info.dwItemData & 0xFFFFFF00u;
                EXPECT_EQ(widths, (DWORD)info.dwItemData & 0xFFFFFF00u) << k;
            }
            ExpectFrameOfVersion(m, before);
            SaveShot(m.screen, AroundMenu(m.window), tag + std::to_string(i));
            // The popup sits one pixel up, joined to the open bar item noted on the screen.
            RECT item = {};
            GetMenuItemRect(m_frame->m_hWnd, bar, (UINT)i, &item);
            EXPECT_EQ(item.bottom, m.window.top + 1);
            EXPECT_EQ(m.window.top, m.remembered.y);
            EXPECT_EQ(item.top, m.barItem.top);
            EXPECT_EQ(item.bottom, m.barItem.bottom);
            DeleteObject(before);
            // Closed: no popup object is left.
            EXPECT_TRUE(CMenuXP::s_mapWndMenu.empty());
        }
    }

    std::unique_ptr<TestInstallation> m_folder;
    std::unique_ptr<CKestrixApp> m_app;
    CMainFrame* m_frame = nullptr;
};

} // namespace

TEST_F(MenuProgram, MenusWithAndWithoutADocumentGetTheVersionsFrame)
{
    if (const char* want = std::getenv("QUORVA_MENU_EXPECT_CLASS")) {
        ASSERT_EQ(std::atoi(want), GetWinVersionClass());
    }
    ASSERT_TRUE(CMenuXP::IsHookInstalled());
    ASSERT_NE(m_frame->MDIGetActive(), nullptr);

    OpenEachMenu(7, "doc-");

    // The menu shown with no document, after the last one closed.
    CMDIChildWnd* child = m_frame->MDIGetActive();
    if (CDocument* doc = child->GetActiveDocument())
        doc->SetModifiedFlag(FALSE);
    SendMessageA(child->m_hWnd, WM_CLOSE, 0, 0);
    PumpFor(*m_app, 300);
    ASSERT_EQ(m_frame->MDIGetActive(), nullptr);
    ASSERT_EQ(Bar(), m_frame->GetDefaultMenu());
    OpenEachMenu(3, "nodoc-");
}

TEST_F(MenuProgram, CheckedAndDisabledItemsAndTheMnemonic)
{
    const int edit = BarPosition(m_app->GetLangString(11));
    const int view = BarPosition(m_app->GetLangString(12));
    ASSERT_GE(edit, 0);
    ASSERT_GE(view, 0);
    HMENU bar = Bar();

    // A disabled item is grey, never in the menu's text colour: Edit's Undo,
    // which nothing serves, and File's placeholder while no file was opened
    // (the framework greys it with MF_GRAYED alone).
    auto expectGrey = [&](int barPos, UINT id, UINT state) {
        OpenMenu m;
        HMENU sub = GetSubMenu(bar, barPos);
        int pos = -1;
        for (int k = 0; k < GetMenuItemCount(sub); ++k)
            if (GetMenuItemID(sub, k) == id)
                pos = k;
        ASSERT_GE(pos, 0) << id;
        OpenWithMouse(barPos, m);
        ASSERT_TRUE(m.seen);
        ASSERT_EQ(state, GetMenuState(sub, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) << id;
        ASSERT_GT((int)m.items.size(), pos);
        const RECT item = m.items[(size_t)pos];
        int grey = 0, black = 0;
        const COLORREF greyText = T(COLOR_BTNFACE, -18, 0), text = GetSysColor(COLOR_MENUTEXT);
        for (int y = item.top; y < item.bottom; ++y)
            for (int x = item.left + 30; x < item.right - 12; ++x) {
                const COLORREF c = ScreenPixel(m.screen, x, y);
                grey += Near(c, greyText, 1);
                black += Near(c, text, 1);
            }
        EXPECT_GT(grey, 10) << id;
        EXPECT_EQ(0, black) << id;
    };
    expectGrey(edit, kEditUndo, MF_GRAYED | MF_DISABLED);
    const int file = BarPosition(m_app->GetLangString(4));
    ASSERT_GE(file, 0);
    expectGrey(file, ID_FILE_MRU_FILE1, MF_GRAYED);

    // View: the shown toolbar and status bar have their check boxes.
    {
        OpenMenu m;
        HMENU sub = GetSubMenu(bar, view);
        OpenWithMouse(view, m);
        ASSERT_TRUE(m.seen);
        SaveShot(m.screen, AroundMenu(m.window), "view");
        ASSERT_TRUE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED);
        ASSERT_FALSE(m.items.empty());
        const RECT item = m.items[0];
        // The box left of the label: a highlight frame around the light fill.
        const COLORREF frame = GetSysColor(COLOR_HIGHLIGHT), fill = T(COLOR_HIGHLIGHT, 70, -57);
        int frames = 0, fills = 0;
        for (int y = item.top; y < item.bottom; ++y)
            for (int x = item.left; x < item.left + 22; ++x) {
                const COLORREF c = ScreenPixel(m.screen, x, y);
                frames += Near(c, frame, 1);
                fills += Near(c, fill, 1);
            }
        EXPECT_GT(frames, 40);
        EXPECT_GT(fills, 40);
    }

    // WM_MENUCHAR: the mnemonic of Name Toolbar runs its command.
    {
        const CString label = m_app->GetLangString(26);
        const int amp = label.Find('&');
        ASSERT_GE(amp, 0);
        const char key = (char)toupper((unsigned char)label[amp + 1]);
        ASSERT_TRUE(IsWindowVisible(m_frame->GetNameToolBar().m_hWnd));
        OpenMenu m;
        OpenWithMouse(view, m, {(WORD)key});
        ASSERT_TRUE(m.seen);
        PumpFor(*m_app, 300);
        EXPECT_FALSE(IsWindowVisible(m_frame->GetNameToolBar().m_hWnd));
        // The system menu's WM_MENUCHAR is not answered.
        EXPECT_EQ(0, CMenuXP::OnMenuChar(GetSubMenu(bar, view), 'n', MF_SYSMENU | MF_POPUP));
    }
}

TEST_F(MenuProgram, ToolbarImagesAndTheDockedBars)
{
    // The name toolbar at the frame's right edge, in the main toolbar's row.
    CRect client, main, name;
    m_frame->GetClientRect(&client);
    m_frame->GetMainToolBar().GetWindowRect(&main);
    m_frame->GetNameToolBar().GetWindowRect(&name);
    m_frame->ScreenToClient(&main);
    m_frame->ScreenToClient(&name);
    EXPECT_EQ(client.right, name.right);
    EXPECT_EQ(main.top, name.top);
    EXPECT_EQ(0, main.left);

    // A popup of toolbar commands, opened on the frame: images come from the
    // main toolbar and are drawn.
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, ID_VIEW_ZOOM_IN, "Zoom &In");
    AppendMenuA(popup, MF_STRING, ID_VIEW_CHORDS, "&Chords");
    AppendMenuA(popup, MF_STRING, 0x1234, "&Nothing");
    const HIMAGELIST list = (HIMAGELIST)SendMessageA(m_frame->GetMainToolBar().m_hWnd, TB_GETIMAGELIST, 0, 0);
    OpenMenu m;
    std::atomic<bool> done(false);
    std::thread observer(Observe, &m, &done, std::vector<WORD>{VK_ESCAPE}, popup);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, 300, 300, 0, m_frame->m_hWnd, nullptr);
    observer.join();
    ASSERT_TRUE(m.seen);
    ASSERT_EQ(1u, CMenuXP::s_mapImageById.count(ID_VIEW_ZOOM_IN));
    EXPECT_EQ(list, CMenuXP::s_mapImageById[ID_VIEW_ZOOM_IN].m_hImgList);
    EXPECT_EQ(1, CMenuXP::s_mapImageById[ID_VIEW_ZOOM_IN].m_nIndex);
    EXPECT_EQ(5, CMenuXP::s_mapImageById[ID_VIEW_CHORDS].m_nIndex);
    EXPECT_EQ(0u, CMenuXP::s_mapImageById.count(0x1234));
    // The zoom-in image is a green plus: green pixels in the first item's image column.
    int green = 0;
    ASSERT_FALSE(m.items.empty());
    for (int y = m.items[0].top; y < m.items[0].bottom; ++y)
        for (int x = m.items[0].left; x < m.items[0].left + 28; ++x) {
            const COLORREF c = ScreenPixel(m.screen, x, y);
            green += GetGValue(c) > GetRValue(c) + 40 && GetGValue(c) > GetBValue(c) + 40;
        }
    EXPECT_GT(green, 5);
    SaveShot(m.screen, AroundMenu(m.window), "images");

    // A toolbar whose list is replaced leaves no entry with the old list.
    CImageList other;
    other.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    SendMessageA(m_frame->GetMainToolBar().m_hWnd, TB_SETIMAGELIST, 0, (LPARAM)other.m_hImageList);
    CMenuXP::PurgeStaleImages();
    EXPECT_EQ(0u, CMenuXP::s_mapImageById.count(ID_VIEW_ZOOM_IN));
    SendMessageA(m_frame->GetMainToolBar().m_hWnd, TB_SETIMAGELIST, 0, (LPARAM)list);
    DestroyMenu(popup);
}

TEST(MenuTexts, EachMenuKeepsItsOwnTextForTheSameCommand)
{
    // The menu with no document and the document menu share command ids.
    HMENU english = CreatePopupMenu(), german = CreatePopupMenu();
    AppendMenuA(english, MF_STRING, 0xE100, "&New\tCtrl+N");
    AppendMenuA(german, MF_STRING, 0xE100, "&Neu");
    CMenuXP::ConvertMenu(nullptr, english, true, false);
    CMenuXP::ConvertMenu(nullptr, german, true, false);
    CString label, accel;
    CMenuItemXP(english, 0xE100, false).GetLabel(label);
    CMenuItemXP(english, 0xE100, false).GetAccelerator(accel);
    EXPECT_STREQ("&New", label);
    EXPECT_STREQ("Ctrl+N", accel);
    CMenuItemXP(german, 0xE100, false).GetLabel(label);
    EXPECT_STREQ("&Neu", label);
    EXPECT_EQ(0, CMenuItemXP(german, 0xE100, false).GetAccelerator(accel));
    DestroyMenu(english);
    DestroyMenu(german);
}

TEST(MenuHook, RemovedMoreOftenThanInstalledChangesNothing)
{
    ASSERT_FALSE(CMenuXP::IsHookInstalled());
    CMenuXP::RemoveHook();
    EXPECT_EQ(0, CMenuXP::GetHookCount());
    CMenuXP::InstallHook();
    CMenuXP::InstallHook();
    EXPECT_TRUE(CMenuXP::IsHookInstalled());
    CMenuXP::RemoveHook();
    EXPECT_TRUE(CMenuXP::IsHookInstalled());
    CMenuXP::RemoveHook();
    EXPECT_FALSE(CMenuXP::IsHookInstalled());
    CMenuXP::RemoveHook();
    EXPECT_EQ(0, CMenuXP::GetHookCount());
    // Installed again after the last removal.
    CMenuXP::InstallHook();
    EXPECT_TRUE(CMenuXP::IsHookInstalled());
    CMenuXP::RemoveHook();
    EXPECT_FALSE(CMenuXP::IsHookInstalled());
}

namespace {
// Runs the menus test in a child process that Wine starts as the
// given Windows version; true when it passed.
bool RunAsVersion(const char* version, int expectClass, std::string* why)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string name(exe);
    name = name.substr(name.find_last_of("\\/") + 1);
    const std::string key = "Software\\Wine\\AppDefaults\\" + name;
    HKEY h;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr))
        return *why = "no AppDefaults key", false;
    RegSetValueExA(h, "Version", 0, REG_SZ, (const BYTE*)version, (DWORD)strlen(version) + 1);
    RegCloseKey(h);
    SetEnvironmentVariableA("QUORVA_MENU_EXPECT_CLASS", std::to_string(expectClass).c_str());
    std::string cmd = std::string("\"") + exe + "\" --gtest_filter=MenuProgram.MenusWith*";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA("QUORVA_MENU_EXPECT_CLASS", nullptr);
    DWORD code = 1;
    if (started) {
        if (WaitForSingleObject(pi.hProcess, 240000) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 2);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    *why = started ? "child exit code " + std::to_string(code) : "child not started";
    return started && code == 0;
}
} // namespace

TEST(MenuVersions, XPAndALaterWindowsEachGetTheirFrame)
{
    if (std::getenv("QUORVA_MENU_EXPECT_CLASS"))
        GTEST_SKIP() << "inside a child run";
    std::string why;
    EXPECT_TRUE(RunAsVersion("winxp", 8, &why)) << why;
    EXPECT_TRUE(RunAsVersion("win10", 5, &why)) << why;
}
