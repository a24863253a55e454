// The chord diagram window with the system's mouse: the combo of chord
// names, the arrows and their hover, the version line, the blank item, the
// drag from the fifth move, the fret numbers of a shape up the neck and the
// report of rejected sections; then the window inside the running program:
// start-up, the chord grid's hover road, View > Chord Dialog, printing,
// the language switch and the exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/KestrixApp.h"
#include "app/LangText.h"
#include "app/LanguageTable.h"
#include "app/MainFrame.h"
#include "resources/resource.h"
#include "tests/app/DialogWatcher.h"
#include "tests/app/ProgramTestSupport.h"
#include "views/GChordDlg.h"

using namespace progtest;

namespace {

const COLORREF kPanel = RGB(236, 233, 216);

const char kShapes[] = "[Am_1]\nF1=5,1\nF2=3,2\nF3=4,2\nNS=1\n"
                       "[Am_2]\nBA=\nBS=1\nBE=6\nBAF=5\nBF=5\nF1=33\nF3=2,7\nF4=3,7\n"
                       "[Am_3]\nBA=\nBS=2\nBE=6\nBAF=12\nBF=12\nF1=33\nF2=5,13\nF3=3,14\nF4=4,14\nNS=1\n"
                       "[C#m_1]\nBA=\nBS=2\nBE=6\nBAF=4\nBF=4\nF1=33\nF2=5,5\nF3=3,6\nF4=4,6\nNS=1\n"
                       "[G_9]\nBA=\nF1=33\n"
                       "[E_1]\nF1=4,1\nF2=2,2\nF3=3,2\n";

void PumpPlain(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// The system's mouse to a screen point, as a user moves it.
void MoveMouse(int x, int y)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}
void MoveMouseToClient(HWND w, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(w, &p);
    MoveMouse(p.x, p.y);
}
void Button(bool down)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

CPoint Centre(const CRect& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// The window's client area as it reached the screen.
struct Capture {
    std::vector<COLORREF> pixels;
    int width = 0, height = 0;
    explicit Capture(HWND w)
    {
        RECT rc;
        GetClientRect(w, &rc);
        width = rc.right;
        height = rc.bottom;
        HDC screen = GetDC(w);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        pixels.resize((size_t)width * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[(size_t)y * width + x] = GetPixel(mem, x, y);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(w, screen);
    }
    COLORREF At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

// How a text of the 12 px font looks, drawn alone on a plain colour.
std::vector<COLORREF> RenderedNumber(const char* text, const DiagramRect& r, int clientWidth, int clientHeight,
                                     COLORREF background = kPanel)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, clientWidth, clientHeight);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all = {0, 0, clientWidth, clientHeight};
    HBRUSH panel = CreateSolidBrush(background);
    FillRect(mem, &all, panel);
    DeleteObject(panel);
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, VARIABLE_PITCH, "Verdana");
    HGDIOBJ oldFont = SelectObject(mem, font);
    SetBkMode(mem, TRANSPARENT);
    RECT tr = {r.left, r.top, r.right, r.bottom};
    DrawTextA(mem, text, -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    std::vector<COLORREF> out;
    for (int y = r.top - 2; y < r.bottom + 2; ++y)
        for (int x = r.left - 4; x < r.right + 4; ++x)
            out.push_back(GetPixel(mem, x, y));
    SelectObject(mem, oldFont);
    DeleteObject(font);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}
std::vector<COLORREF> Region(const Capture& c, const DiagramRect& r)
{
    std::vector<COLORREF> out;
    for (int y = r.top - 2; y < r.bottom + 2; ++y)
        for (int x = r.left - 4; x < r.right + 4; ++x)
            out.push_back(c.At(x, y));
    return out;
}

std::string ComboText(HWND combo, int item)
{
    char buf[64] = "";
    if (item >= 0)
        SendMessageA(combo, CB_GETLBTEXT, item, (LPARAM)buf);
    return buf;
}

class ChordDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string langs = ExeFolder() + "chorddlg-test-languages.txt";
        // Text 125 with stray conversions: only the name is filled in.
        WriteText(langs, "[English]\n109=Chord shapes\n123=Note\n125=Skipped %s (100%% sure, %d %s)\nend\n");
        ASSERT_TRUE(texts.Load(langs.c_str()));
        DeleteFileA(langs.c_str());
        texts.SelectIndex(0);
        SetLangTextTable(&texts);
        shapeFile = ExeFolder() + "chorddlg-test-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
        WriteText(shapeFile, kShapes);
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
        SetLangTextTable(nullptr);
        DeleteFileA(shapeFile.c_str());
    }

    // Shown at a fixed place above everything, loaded and filled; the
    // rejection box answered.
    void Open()
    {
        ASSERT_TRUE(dlg.Create(nullptr));
        {
            // The window stays hidden meanwhile: the watcher takes the
            // first visible box.
            DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk, true);
            dlg.LoadChordFile(shapeFile.c_str());
            dlg.FillChordCombo();
            PumpPlain(300);
            rejectionShown = watcher.found();
            rejectionTexts = watcher.texts;
            rejectionOwner = watcher.parentTitle;
        }
        w = dlg.m_hWnd;
        SetWindowPos(w, HWND_TOPMOST, 300, 200, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        dlg.UpdateWindow();
    }

    CGChordDlg dlg;
    HWND w = nullptr;
    CLanguageTable texts;
    std::string shapeFile;
    bool rejectionShown = false;
    std::vector<std::string> rejectionTexts;
    std::string rejectionOwner;
};

} // namespace

TEST_F(ChordDlgTest, ComboArrowsVersionLineHoverAndBlankItem)
{
    Open();
    EXPECT_EQ(TextOf(w), "Chord shapes");

    // The incomplete section was reported once, by name, over the window.
    ASSERT_TRUE(rejectionShown);
    EXPECT_EQ(rejectionOwner, "Chord shapes");
    bool named = false;
    for (const std::string& t : rejectionTexts)
        named |= t == "Skipped G_9 (100% sure, %d %s)";
    EXPECT_TRUE(named);

    HWND combo = GetDlgItem(w, IDC_CHORD_COMBO);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(ComboText(combo, 0), "");
    EXPECT_EQ(ComboText(combo, 1), "Am");
    EXPECT_EQ(ComboText(combo, 2), "C#m/Dbm");
    EXPECT_EQ(ComboText(combo, 3), "E");

    // A hovered chord: version 1 of 3, its item selected.
    dlg.ShowChord("Am", 1);
    PumpPlain(50);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_STREQ(dlg.GetVersionText(), "1 : 3");

    // The arrows step through the versions and wrap at both ends.
    const CRect right = dlg.GetRightArrowRect();
    const CRect left = dlg.GetLeftArrowRect();
    ASSERT_FALSE(right.IsRectEmpty());
    for (const char* expected : {"2 : 3", "3 : 3", "1 : 3"}) {
        ASSERT_TRUE(SendClick(w, Centre(right).x, Centre(right).y));
        PumpPlain(150);
        EXPECT_STREQ(dlg.GetVersionText(), expected);
    }
    ASSERT_TRUE(SendClick(w, Centre(left).x, Centre(left).y));
    PumpPlain(150);
    EXPECT_STREQ(dlg.GetVersionText(), "3 : 3");
    EXPECT_EQ(dlg.GetCurrentIndex(), 2);
    {
        // The line as it reached the screen, below the combo box.
        dlg.UpdateWindow();
        RECT rc, cr;
        GetClientRect(w, &rc);
        GetWindowRect(combo, &cr);
        MapWindowPoints(nullptr, w, (POINT*)&cr, 2);
        const DiagramRect line = ChordDiagramLayout(0, 0, rc.right, rc.bottom).VersionTextRect();
        const DiagramRect below = {line.left + 4, std::max<int>(line.top, cr.bottom) + 2, line.right - 4,
                                   line.bottom - 2};
        ASSERT_LT(below.top + 2, below.bottom);
        const Capture shown(w);
        // Drawn alone on the band's colour, then cut the same way.
        const std::vector<COLORREF> alone = RenderedNumber("3 : 3", line, rc.right, rc.bottom, RGB(206, 203, 186));
        std::vector<COLORREF> expected, actual = Region(shown, below);
        const int width = line.right - line.left + 8;
        for (int y = below.top - 2; y < below.bottom + 2; ++y)
            for (int x = below.left - 4; x < below.right + 4; ++x)
                expected.push_back(alone[(size_t)(y - (line.top - 2)) * width + (x - (line.left - 4))]);
        EXPECT_EQ(actual, expected);
        int ink = 0;
        for (COLORREF c : actual)
            ink += c != RGB(206, 203, 186);
        EXPECT_GT(ink, 10);
    }

    // The arrow under the mouse is lit; the other is not.
    MoveMouseToClient(w, Centre(right).x, Centre(right).y);
    PumpPlain(150);
    dlg.UpdateWindow();
    {
        Capture c(w);
        EXPECT_EQ(c.At(right.left + 10, right.top + 12), RGB(48, 96, 168));
        EXPECT_EQ(c.At(left.left + 14, left.top + 12), RGB(70, 70, 70));
    }
    // Leaving the window puts it out as well.
    RECT wr;
    GetWindowRect(w, &wr);
    MoveMouse(wr.right + 40, wr.bottom + 40);
    PumpPlain(700); // the system notices the leave on a timer
    dlg.UpdateWindow();
    EXPECT_EQ(Capture(w).At(right.left + 10, right.top + 12), RGB(70, 70, 70));

    // Another spelling finds the same shapes.
    dlg.ShowChord("Dbm", 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_STREQ(dlg.GetVersionText(), "1 : 1");

    // The blank item, chosen with the mouse, clears the diagram.
    RECT cr;
    GetClientRect(combo, &cr);
    ASSERT_TRUE(SendClick(combo, cr.right / 2, cr.bottom / 2));
    PumpPlain(200);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    const int itemHeight = (int)SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0);
    ASSERT_TRUE(SendClick(info.hwndList, 5, itemHeight / 2));
    PumpPlain(200);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(dlg.GetCurrentIndex(), -1);
    EXPECT_STREQ(dlg.GetVersionText(), "");

    // An empty name, as the chord grid sends when the mouse leaves the
    // chords, changes nothing.
    dlg.ShowChord("E", 1);
    EXPECT_EQ(dlg.GetCurrentIndex(), 4);
    const LRESULT item = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    dlg.ShowChord("", 1);
    EXPECT_EQ(dlg.GetCurrentIndex(), 4);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), item);
}

TEST_F(ChordDlgTest, AShapeUpTheNeckNumbersItsRowsFromItsBaseFret)
{
    Open();
    RECT rc;
    GetClientRect(w, &rc);
    const ChordDiagramLayout layout(0, 0, rc.right, rc.bottom);

    dlg.ShowChord("Am", 2); // base fret 5, fingers 3 and 4 at fret 7
    PumpPlain(50);
    dlg.UpdateWindow();
    Capture shown(w);
    for (int j = 1; j <= 5; ++j) {
        const std::string number = std::to_string(4 + j);
        EXPECT_EQ(Region(shown, layout.FretNumberRect(j)),
                  RenderedNumber(number.c_str(), layout.FretNumberRect(j), rc.right, rc.bottom))
            << "row " << j;
    }
    // Fret 7 lies in the third row: its dot covers the row's middle on the
    // A string; the second row there is bare panel.
    const int x = layout.StringX(2);
    EXPECT_NE(shown.At(x, layout.NutY() + 2 * 30 + 15), kPanel);
    EXPECT_EQ(shown.At(x - 5, layout.NutY() + 30 + 15), kPanel);
    // The barre crosses the first row.
    EXPECT_NE(shown.At(layout.StringX(4) + 10, layout.NutY() + 15), kPanel);

    // An open shape numbers the rows from 1 and draws no barre.
    dlg.ShowChord("Am", 1);
    PumpPlain(50);
    dlg.UpdateWindow();
    Capture open(w);
    EXPECT_EQ(Region(open, layout.FretNumberRect(1)),
              RenderedNumber("1", layout.FretNumberRect(1), rc.right, rc.bottom));
    EXPECT_EQ(open.At(layout.StringX(4) + 10, layout.NutY() + 15), kPanel);
}

TEST_F(ChordDlgTest, TheWindowFollowsADragFromTheFifthMove)
{
    Open();
    RECT start;
    GetWindowRect(w, &start);
    POINT press = {12, 100};
    ClientToScreen(w, &press);
    MoveMouse(press.x, press.y);
    PumpPlain(100);
    Button(true);
    PumpPlain(100);
    for (int move = 1; move <= 6; ++move) {
        MoveMouse(press.x + move, press.y + move);
        PumpPlain(120);
        RECT now;
        GetWindowRect(w, &now);
        if (move <= 4) {
            EXPECT_EQ(now.left, start.left) << "move " << move;
        } else {
            // The pressed point stays under the cursor.
            EXPECT_EQ(now.left, start.left + move) << "move " << move;
            EXPECT_EQ(now.top, start.top + move) << "move " << move;
        }
    }
    Button(false);
    PumpPlain(100);
}

namespace {

class ProgramFolder : public TestInstallation {
public:
    ProgramFolder()
        : TestInstallation({"Zumbrel.dll", "QuorvaSound.dll", "mainBmp.bmp", "mainLightBmp.bmp", "volumeBmp.bmp",
                            "timeSlideBmp.bmp", "languages.txt", "chordfile.ini"},
                           "qp-chorddlg-")
    {
    }
};

} // namespace

TEST(ChordDiagramInProgram, StartUpHoverToggleAndPrintingThenExit)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.missing.empty());
    CKestrixApp app;
    ASSERT_TRUE(app.InitInstance());
    Pump(app);

    CGChordDlg* dlg = app.GetChordDiagramDlg();
    ASSERT_NE(dlg, nullptr);
    const HWND w = dlg->m_hWnd;
    ASSERT_TRUE(IsWindow(w));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetWindow(w, GW_OWNER), app.m_pMainWnd->m_hWnd);
    EXPECT_EQ(TextOf(w), app.GetLangString(109).GetString());
    RECT wr;
    GetWindowRect(w, &wr);
    EXPECT_EQ(wr.left, 20);
    EXPECT_EQ(wr.top, 120);

    // The shipped shapes, loaded once, one combo item per chord name.
    const std::vector<ChordShape> shipped = ChordShapeFile::Load((folder.path + "chordfile.ini").c_str(), nullptr);
    ASSERT_GT(shipped.size(), 144u);
    EXPECT_EQ(dlg->GetShapes().size(), shipped.size());
    HWND combo = GetDlgItem(w, IDC_CHORD_COMBO);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), (LRESULT)ChordLookup::ComboNames(shipped).size() + 1);

    // The chord grid's hover: the name before the slash, version 1; leaving
    // the chords keeps the diagram.
    app.ShowChordName("Bb7");
    EXPECT_STREQ(app.GetShownChordName(), "Bb7");
    ASSERT_GE(dlg->GetCurrentIndex(), 0);
    EXPECT_STREQ(dlg->GetShapes()[dlg->GetCurrentIndex()].name, "A#7/Bb7");
    EXPECT_EQ(dlg->GetCurrentVersion(), 1);
    EXPECT_EQ(ComboText(combo, (int)SendMessageA(combo, CB_GETCURSEL, 0, 0)), "A#7/Bb7");
    const int shown = dlg->GetCurrentIndex();
    app.ShowChordName("");
    EXPECT_EQ(dlg->GetCurrentIndex(), shown);
    EXPECT_EQ(ComboText(combo, (int)SendMessageA(combo, CB_GETCURSEL, 0, 0)), "A#7/Bb7");

    // View > Chord Dialog hides and shows it.
    HWND frame = app.m_pMainWnd->m_hWnd;
    SendMessageA(frame, WM_COMMAND, ID_VIEW_CHORD_DIALOG, 0);
    EXPECT_FALSE(IsWindowVisible(w));
    SendMessageA(frame, WM_COMMAND, ID_VIEW_CHORD_DIALOG, 0);
    EXPECT_TRUE(IsWindowVisible(w));

    // Printing hides it only when asked to; the document's view switches too.
    app.ShowToolWindows(false, false);
    EXPECT_TRUE(IsWindowVisible(w));
    app.ShowToolWindows(false, true);
    EXPECT_FALSE(IsWindowVisible(w));
    app.ShowToolWindows(true, true);
    EXPECT_TRUE(IsWindowVisible(w));
    app.ShowChordDiagram(false);
    EXPECT_FALSE(IsWindowVisible(w));
    app.ShowChordDiagram(true);
    EXPECT_TRUE(IsWindowVisible(w));

    // Another language re-titles it.
    SendMessageA(frame, WM_COMMAND, ID_LANGUAGE_FIRST + 1, 0);
    EXPECT_EQ(TextOf(w), app.GetLangString(109).GetString());
    EXPECT_NE(TextOf(w), "Chord");

    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w));
    app.ExitInstance();
    EXPECT_EQ(app.GetChordDiagramDlg(), nullptr);
}
