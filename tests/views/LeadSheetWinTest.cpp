// The lead sheet in the running program: a song loaded, the document's rows
// and lyric lines filled as the chord grid fills them, the view shown with
// the toolbar and driven with the system's mouse and keyboard.
#include <algorithm>
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "app/ControlDlg.h"
#include "app/KestrixApp.h"
#include "app/KestrixDoc.h"
#include "app/DocFile.h"
#include "app/MainFrame.h"
#include "resources/resource.h"
#include "tests/app/ProgramTestSupport.h"
#include "tests/app/WaveTestFiles.h"
#include "views/ChordEditView.h"

using namespace progtest;

namespace {

// Rich edit text with every line break as "\n".
std::string Lines(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            out += '\n';
            if (i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string BoxText(CWnd* box)
{
    CString s;
    box->GetWindowText(s);
    return Lines(std::string(static_cast<const char*>(s)));
}

// The \fs sizes (half points) an RTF document uses.
std::set<int> FontSizes(const std::string& rtf)
{
    std::set<int> sizes;
    for (size_t at = rtf.find("\\fs"); at != std::string::npos; at = rtf.find("\\fs", at + 3))
        if (at + 3 < rtf.size() && isdigit(static_cast<unsigned char>(rtf[at + 3])))
            sizes.insert(atoi(rtf.c_str() + at + 3));
    return sizes;
}

bool SendMouse(DWORD down, DWORD up)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = down;
    in[1].mi.dwFlags = up;
    return SendInput(2, in, sizeof(INPUT)) == 2;
}

bool RightClick(HWND w, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(w, &p);
    return SetCursorPos(p.x, p.y) && SendMouse(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

// A key with Ctrl or Shift held.
bool SendChord(WORD modifier, WORD vk, bool extended = false)
{
    INPUT in[4] = {};
    for (INPUT& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = modifier;
    in[1].ki.wVk = in[2].ki.wVk = vk;
    in[1].ki.dwFlags = in[2].ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    in[2].ki.dwFlags |= KEYEVENTF_KEYUP;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(4, in, sizeof(INPUT)) == 4;
}

std::string ClipboardText()
{
    std::string s;
    if (!OpenClipboard(nullptr))
        return s;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            s = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return s;
}

void SetClipboardText(const std::string& s, UINT format = CF_TEXT)
{
    if (!OpenClipboard(nullptr))
        return;
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
    memcpy(GlobalLock(h), s.c_str(), s.size() + 1);
    GlobalUnlock(h);
    SetClipboardData(format, h);
    CloseClipboard();
}

// Acts on the next popup menu from a thread of its own, while the UI
// thread is inside the menu's loop: notes its items, then clicks the item
// at a position with the system's mouse (-1: presses Escape).
class MenuActor {
public:
    struct Item {
        std::string text;
        UINT id;
        bool checked;
    };
    explicit MenuActor(int clickPosition) : m_position(clickPosition), m_worker([this] { Run(); }) {}
    ~MenuActor() { m_worker.join(); }

    bool Seen() const { return m_seen; }
    std::vector<Item> Items() const { return m_items; } // read after Done()
    bool Done() const { return m_done; }
    POINT MenuTopLeft() const { return m_topLeft; }

private:
    static BOOL CALLBACK FindMenu(HWND w, LPARAM p)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && ClassOf(w) == "#32768") {
            *(HWND*)p = w;
            return FALSE;
        }
        return TRUE;
    }
    void Run()
    {
        HWND menuWnd = nullptr;
        const DWORD start = GetTickCount();
        while (!menuWnd && GetTickCount() - start < 10000) {
            EnumWindows(&MenuActor::FindMenu, (LPARAM)&menuWnd);
            if (!menuWnd)
                Sleep(20);
        }
        if (menuWnd) {
            Sleep(200); // let it finish showing
            HMENU menu = (HMENU)SendMessageA(menuWnd, MN_GETHMENU, 0, 0);
            RECT wr = {};
            GetWindowRect(menuWnd, &wr);
            m_topLeft = {wr.left, wr.top};
            for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
                char buf[128] = "";
                GetMenuStringA(menu, i, buf, sizeof buf, MF_BYPOSITION);
                m_items.push_back({buf, GetMenuItemID(menu, i), (GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) != 0});
            }
            m_seen = true;
            RECT rc = {};
            if (m_position >= 0 && menu && GetMenuItemRect(nullptr, menu, m_position, &rc)) {
                SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
                Sleep(100);
                SendMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
            } else {
                INPUT in[2] = {};
                in[0].type = in[1].type = INPUT_KEYBOARD;
                in[0].ki.wVk = in[1].ki.wVk = VK_ESCAPE;
                in[1].ki.dwFlags = KEYEVENTF_KEYUP;
                SendInput(2, in, sizeof(INPUT));
            }
        }
        m_done = true;
    }

    int m_position;
    std::atomic<bool> m_seen{false}, m_done{false};
    std::vector<Item> m_items;
    POINT m_topLeft = {0, 0};
    std::thread m_worker;
};

class LeadSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::vector<std::string> files = {"Zumbrel.dll",   "QuorvaSound.dll", "languages.txt", "mainBmp.bmp",
                                                "mainLightBmp.bmp", "volumeBmp.bmp", "timeSlideBmp.bmp"};
        m_boxes.reset(new BoxWatcher(GetCurrentThreadId()));
        m_folder.reset(new TestInstallation(files, "qp-lead-"));
        ASSERT_TRUE(m_folder->missing.empty()) << "not in the test's folder: " << m_folder->missing.front();
        m_app.reset(new CKestrixApp);
        ASSERT_TRUE(m_app->InitInstance());
        m_frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        ASSERT_NE(m_frame, nullptr);
        Pump(*m_app);
        ASSERT_NE(Doc(), nullptr);
        m_boxes->Clear();
    }

    void TearDown() override
    {
        if (m_boxes)
            m_boxes->SetAnswer(IDNO);
        if (m_app)
            EndProgram(*m_app);
        m_app.reset();
        m_boxes.reset();
        m_folder.reset();
    }

    CKestrixDoc* Doc() { return m_app->GetActiveDoc(); }
    CChordEditView* View() { return dynamic_cast<CChordEditView*>(Doc()->GetLeadSheetView()); }
    CKestrixRichEdit* Box(size_t i)
    {
        const auto& boxes = View()->GetTextBoxes();
        return i < boxes.size() ? boxes[i] : nullptr;
    }

    // A short song loaded as the transport panel loads one.
    void LoadSong()
    {
        wavtest::Spec spec;
        const std::string path = m_folder->path + "song.wav";
        ASSERT_TRUE(wavtest::WriteFile(path, wavtest::Build(spec, wavtest::StereoRamp(44100))));
        CControlDlg* panel = m_app->GetControlDlg();
        ASSERT_NE(panel, nullptr);
        ASSERT_TRUE(panel->LoadAudioFile(path.c_str(), "song", 1));
        Pump(*m_app);
        ASSERT_TRUE(Doc()->HasAudio());
        ASSERT_TRUE(Doc()->IsLeadSheetStale());
    }

    // The rows as the chord grid leaves them: a chord line per row in the
    // document and a lyric edit per row.
    // Rows after those the test filled so far: the chord grid's own edits
    // of the song's rows take the texts first, new edits follow.
    void FillRows(const std::vector<std::string>& chords, const std::vector<std::string>& lyrics)
    {
        CKestrixDoc* doc = Doc();
        auto& edits = doc->GetLyricEdits();
        using Edit = std::remove_pointer_t<std::decay_t<decltype(edits)>::value_type>;
        CWnd* parent = doc->GetChordView();
        const size_t first = m_rowsFilled;
        for (size_t r = 0; r < lyrics.size(); ++r) {
            const size_t row = first + r;
            doc->SetRowText(chords[r].c_str(), static_cast<int>(row));
            if (row < edits.size()) {
                edits[row]->SetWindowText(lyrics[r].c_str());
                continue;
            }
            auto* e = new Edit;
            const RECT rc = {0, 0, 200, 20};
            ASSERT_TRUE(e->CWnd::CreateEx(0, "EDIT", lyrics[r].c_str(), WS_CHILD, rc, parent,
                                          static_cast<UINT>(5000 + row)));
            edits.push_back(e);
        }
        m_rowsFilled = first + lyrics.size();
    }

    void Song(int rows)
    {
        std::vector<std::string> chords, lyrics;
        const int first = static_cast<int>(m_rowsFilled);
        for (int r = first; r < first + rows; ++r) {
            chords.push_back(r % 2 ? "Am\tF" : "C\tG\tC");
            lyrics.push_back("line " + std::to_string(r + 1) + " of the song");
        }
        FillRows(chords, lyrics);
    }

    void ToolbarClick(UINT id)
    {
        const DWORD gap = GetDoubleClickTime() + 50;
        while (GetTickCount() - m_lastClick < gap)
            PumpFor(*m_app, 20);
        HWND tb = m_frame->GetMainToolBar().m_hWnd;
        const int index = (int)SendMessageA(tb, TB_COMMANDTOINDEX, id, 0);
        RECT rc = {};
        ASSERT_TRUE(SendMessageA(tb, TB_GETITEMRECT, index, (LPARAM)&rc)) << id;
        POINT at = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(tb, &at);
        HWND under = WindowFromPoint(at);
        ASSERT_EQ(under, tb) << "toolbar button " << id << " covered by " << ClassOf(under) << " '"
                             << progtest::TextOf(under) << "'";
        ASSERT_TRUE(SendClick(tb, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
        PumpFor(*m_app, 300);
        m_lastClick = GetTickCount();
    }

    void Click(CWnd* w, int x, int y)
    {
        const DWORD gap = GetDoubleClickTime() + 50;
        while (GetTickCount() - m_lastClick < gap)
            PumpFor(*m_app, 20);
        ASSERT_TRUE(SendClick(w->m_hWnd, x, y));
        PumpFor(*m_app, 200);
        m_lastClick = GetTickCount();
    }

    void Keys(WORD modifier, WORD vk, bool extended = false)
    {
        ASSERT_TRUE(modifier ? SendChord(modifier, vk, extended) : SendKey(vk, extended));
        PumpFor(*m_app, 150);
    }

    // A song of 60 rows: four pages at the start zoom.
    void ShowLongSong()
    {
        LoadSong();
        Song(60);
        ShowLeadSheet();
        ASSERT_GE(View()->GetPageCount(), 2);
    }

    // Scrolls the view so that box i is in sight.
    void ScrollTo(size_t i)
    {
        CChordEditView* view = View();
        const LeadSheetRect page = LeadSheetPageRect(view->GetGeometry(), view->GetZoom(), static_cast<int>(i));
        view->ScrollToPosition(CPoint(0, page.top - 20));
        view->RedrawWindow();
        PumpFor(*m_app, 200);
    }

    // Shows the lead sheet with the toolbar, as a user does.
    void ShowLeadSheet()
    {
        ToolbarClick(ID_VIEW_LEAD_SHEET);
        ASSERT_NE(View(), nullptr);
        ASSERT_TRUE(View()->IsWindowVisible());
        PumpFor(*m_app, 300);
    }

    // The zoom buttons clicked until the document's zoom is the one given.
    void ZoomTo(float zoom)
    {
        for (int i = 0; i < 10 && Doc()->GetZoom() < zoom - 0.01f; ++i)
            ToolbarClick(ID_VIEW_ZOOM_IN);
        for (int i = 0; i < 10 && Doc()->GetZoom() > zoom + 0.01f; ++i)
            ToolbarClick(ID_VIEW_ZOOM_OUT);
        ASSERT_NEAR(Doc()->GetZoom(), zoom, 0.01f);
    }

    // A right click in a box; the actor handles the menu that comes up.
    void RightClickInBox(CKestrixRichEdit* box, int x, int y, MenuActor& actor)
    {
        ASSERT_TRUE(RightClick(box->m_hWnd, x, y));
        PumpUntil(*m_app, [&] { return actor.Done(); }, 15000);
        PumpFor(*m_app, 300);
    }

    std::unique_ptr<TestInstallation> m_folder;
    std::unique_ptr<BoxWatcher> m_boxes;
    std::unique_ptr<CKestrixApp> m_app;
    CMainFrame* m_frame = nullptr;
    DWORD m_lastClick = 0;
    size_t m_rowsFilled = 0;
};

TEST_F(LeadSheet, FirstBoxHoldsTitleChordLinesAndLyricsAndPanelsHide)
{
    LoadSong();
    Doc()->SetTitle("Test Song");
    FillRows({"C\tG", "Am\tF\tG", "C"}, {"first words", "", "last words"});
    CControlDlg* panel = m_app->GetControlDlg();
    EXPECT_TRUE(panel->IsWindowVisible());
    ShowLeadSheet();
    CChordEditView* view = View();
    ASSERT_EQ(view->GetTextBoxes().size(), 1u);
    EXPECT_EQ(view->GetPageCount(), 1);
    EXPECT_FALSE(Doc()->IsLeadSheetStale());
    CKestrixRichEdit* box = Box(0);
    EXPECT_EQ(box->GetDlgCtrlID(), 79000);
    EXPECT_TRUE(box->IsWindowVisible());
    EXPECT_EQ(BoxText(box), "Test Song\n\nC\tG\nfirst words\n\nAm\tF\tG\n\n\nC\nlast words\n\n");
    // The transport panel makes room for the pages.
    EXPECT_FALSE(panel->IsWindowVisible());

    // The box sits on the first page, less the margin.
    const LeadSheetRect want = LeadSheetBoxRect(view->GetGeometry(), view->GetZoom(), 0);
    RECT r = {};
    box->GetWindowRect(&r);
    view->ScreenToClient(&r);
    const CPoint origin = view->GetScrollPosition();
    EXPECT_EQ(r.left + origin.x, want.left);
    EXPECT_EQ(r.top + origin.y, want.top);
    EXPECT_EQ(r.right - r.left, want.Width());
    EXPECT_EQ(r.bottom - r.top, want.Height());

    // The same view comes back as it was; the text is not generated again.
    box->SetWindowText("edited");
    ToolbarClick(ID_VIEW_CHORDS);
    ShowLeadSheet();
    ASSERT_EQ(View()->GetTextBoxes().size(), 1u);
    EXPECT_EQ(BoxText(Box(0)), "edited");
    EXPECT_TRUE(m_boxes->All().empty()) << m_boxes->All().front().title;
}

TEST_F(LeadSheet, LongSongFillsFurtherPagesAndRebuildRescales)
{
    LoadSong();
    Song(3);
    ShowLeadSheet();
    CChordEditView* view = View();
    ASSERT_EQ(view->GetPageCount(), 1);
    const CSize screen = GetScreenSize();
    EXPECT_EQ(view->GetTotalSize().cy, screen.cy);

    // More rows, then Rebuild: the text is generated again over pages.
    Song(57);
    ToolbarClick(ID_VIEW_REBUILD_LEAD_SHEET);
    const int pages = view->GetPageCount();
    ASSERT_GE(pages, 2);
    EXPECT_FALSE(Doc()->IsLeadSheetStale());
    std::string all;
    for (int p = 0; p < pages; ++p) {
        CKestrixRichEdit* box = Box(p);
        EXPECT_EQ(box->GetDlgCtrlID(), 79000 + p);
        // Every box but the last is full, and each new one starts with a
        // whole piece.
        if (p + 1 < pages) {
            EXPECT_TRUE(box->IsFull()) << p;
        }
        all += BoxText(box);
    }
    const std::string text = BoxText(Box(1));
    EXPECT_TRUE(text.rfind("line ", 0) == 0 || text.rfind("C\t", 0) == 0 || text.rfind("Am\t", 0) == 0 ||
                text.rfind("\n", 0) == 0)
        << text.substr(0, 40);
    EXPECT_EQ(all.find("song\n\nC\tG\tC\nline 1 of the song\n\n"), 0u) << all.substr(0, 80);
    EXPECT_NE(all.find("Am\tF\nline 60 of the song\n\n"), std::string::npos);

    // The scroll range covers every page: the last box can be reached.
    const LeadSheetGeometry& g = view->GetGeometry();
    const LeadSheetRect last = LeadSheetPageRect(g, view->GetZoom(), pages - 1);
    EXPECT_EQ(view->GetTotalSize().cy, g.viewHeight);
    EXPECT_GE(view->GetTotalSize().cy, last.bottom);
    // The second box sits on the second page.
    view->ScrollToPosition(CPoint(0, last.top - 40));
    view->RedrawWindow();
    PumpFor(*m_app, 200);
    const LeadSheetRect want = LeadSheetBoxRect(g, view->GetZoom(), pages - 1);
    RECT r = {};
    Box(pages - 1)->GetWindowRect(&r);
    view->ScreenToClient(&r);
    EXPECT_EQ(r.top + view->GetScrollPosition().y, want.top);
    EXPECT_TRUE(Box(pages - 1)->IsWindowVisible());
}

TEST_F(LeadSheet, EditsMarkTheSongModifiedAndOnlyThenRebuildAsks)
{
    LoadSong();
    Song(3);
    Doc()->SetModifiedFlag(FALSE);
    ShowLeadSheet();
    // Neither the generated text nor a rebuild of an untouched sheet is an
    // edit; that rebuild asks nothing.
    EXPECT_FALSE(Doc()->IsModified());
    ToolbarClick(ID_VIEW_REBUILD_LEAD_SHEET);
    EXPECT_EQ(m_boxes->Count("box"), 0);
    EXPECT_FALSE(Doc()->IsModified());

    Click(Box(0), 30, 5);
    Keys(0, 'X');
    EXPECT_TRUE(Doc()->IsModified());
    const std::string typed = BoxText(Box(0));
    EXPECT_NE(typed.find('x'), std::string::npos);
    // Rebuild asks; No keeps the typed text.
    m_boxes->SetAnswer(IDNO);
    ToolbarClick(ID_VIEW_REBUILD_LEAD_SHEET);
    PumpUntil(*m_app, [&] { return m_boxes->Count("box") > 0; }, 5000);
    ASSERT_EQ(m_boxes->Count("box"), 1);
    EXPECT_TRUE(m_boxes->All().back().Mentions("Rebuild the lead sheet?"));
    EXPECT_EQ(BoxText(Box(0)), typed);

    // Formatting is an edit too. Yes rebuilds; the new sheet is untouched.
    Doc()->SetModifiedFlag(FALSE);
    Box(0)->SetSel(0, 3);
    View()->SendMessage(WM_COMMAND, ID_FORMAT_BOLD);
    EXPECT_TRUE(Doc()->IsModified());
    m_boxes->SetAnswer(IDYES);
    ToolbarClick(ID_VIEW_REBUILD_LEAD_SHEET);
    PumpUntil(*m_app, [&] { return m_boxes->Count("box") > 1; }, 5000);
    ASSERT_EQ(m_boxes->Count("box"), 2);
    EXPECT_EQ(BoxText(Box(0)).find('x'), std::string::npos);
    ToolbarClick(ID_VIEW_REBUILD_LEAD_SHEET);
    EXPECT_EQ(m_boxes->Count("box"), 2);
}

TEST_F(LeadSheet, AnExportCarriesBoldOnTheBoldWordOnlyAtTheUnzoomedSize)
{
    LoadSong();
    Song(3);
    ShowLeadSheet();
    CKestrixRichEdit* box = Box(0);
    const long at = static_cast<long>(BoxText(box).find("line 2"));
    box->SetFocus();
    box->SetSel(at, at + 4);
    View()->SendMessage(WM_COMMAND, ID_FORMAT_BOLD);
    const std::string rtf(View()->ExportRtf());
    // Bold switches on right before the word and off right after it.
    const size_t on = rtf.find("\\b ");
    ASSERT_NE(on, std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\b"), on) << rtf;
    EXPECT_EQ(rtf.find("line\\b0 ", on), on + 3) << rtf;
    EXPECT_EQ(rtf.find("\\b", on + 3), on + 7) << rtf;
    EXPECT_EQ(rtf.find("\\b ", on + 3), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\fs-"), std::string::npos) << rtf; // no negative size
    // At the unzoomed size: 12-pixel characters at zoom 0.6 are 15 points.
    EXPECT_NE(rtf.find("\\fs30"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\fs18"), std::string::npos) << rtf;
}

TEST_F(LeadSheet, AnExportBeforeTheFirstShowIsLaidOutAsTheView)
{
    LoadSong();
    Song(40);
    const std::string before(View()->ExportRtf());
    ShowLeadSheet();
    CChordEditView* view = View();
    ASSERT_GE(view->GetPageCount(), 2);
    // The boxes are the view's own: the page the view shows them on.
    view->RedrawWindow();
    PumpFor(*m_app, 200);
    RECT r = {};
    Box(0)->GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, LeadSheetBoxRect(view->GetGeometry(), view->GetZoom(), 0).Width());
    // Generated again as shown, the export is the same.
    ToolbarClick(ID_VIEW_REBUILD_LEAD_SHEET);
    EXPECT_EQ(m_boxes->Count("box"), 0);
    EXPECT_TRUE(std::string(view->ExportRtf()) == before) << before;
}

TEST_F(LeadSheet, ZoomScalesTheBoxesDefaultCharacterHeightAndTabStops)
{
    LoadSong();
    Song(3);
    ShowLeadSheet();
    CChordEditView* view = View();
    // How far a line's second chord stands from its first, in pixels; the
    // stops stayed half an inch apart at every zoom, and the chords moved
    // against the words below them.
    auto tab = [&] {
        const long at = static_cast<long>(BoxText(Box(0)).find("C\tG"));
        return Box(0)->GetCharPos(at + 2).x - Box(0)->GetCharPos(at).x;
    };
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const int tabBefore = tab();
    EXPECT_NEAR(tabBefore, MulDiv(432, dpi, 1440), 1); // 0.6 of half an inch
    CHARFORMATA cf = {};
    Box(0)->GetDefaultCharFormat(cf);
    const long before = cf.yHeight;
    // Arial of trunc(0.6 x 24) = 14-pixel cells has 12-pixel characters, in
    // twips at 96 pixels per inch.
    EXPECT_EQ(before, 12 * 15);
    const int widthBefore = LeadSheetBoxRect(view->GetGeometry(), view->GetZoom(), 0).Width();
    for (int i = 0; i < 3; ++i)
        ToolbarClick(ID_VIEW_ZOOM_IN);
    EXPECT_NEAR(view->GetZoom(), 0.9f, 1e-5);
    Box(0)->GetDefaultCharFormat(cf);
    EXPECT_EQ(cf.yHeight, before * 3 / 2);
    EXPECT_NEAR(tab(), tabBefore * 3 / 2, 1);
    // The boxes move and grow with their pages.
    view->RedrawWindow();
    PumpFor(*m_app, 200);
    const LeadSheetRect want = LeadSheetBoxRect(view->GetGeometry(), view->GetZoom(), 0);
    EXPECT_GT(want.Width(), widthBefore);
    RECT r = {};
    Box(0)->GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, want.Width());
    for (int i = 0; i < 3; ++i)
        ToolbarClick(ID_VIEW_ZOOM_OUT);
    Box(0)->GetDefaultCharFormat(cf);
    EXPECT_EQ(cf.yHeight, before);
    EXPECT_EQ(tab(), tabBefore);
    // The export has them as printed.
    EXPECT_NE(std::string(view->ExportRtf()).find("\\tx720\\tx1440"), std::string::npos);
}

TEST_F(LeadSheet, EveryGeneratedRowIsInsideItsBoxAtZoomNine)
{
    LoadSong();
    Song(60);
    ShowLeadSheet();
    // Generated at 0.6 and zoomed, then generated at 0.9: the text of each
    // box ends above the box's bottom.
    ZoomTo(0.9f);
    for (int pass = 0; pass < 2; ++pass) {
        if (pass)
            ToolbarClick(ID_VIEW_REBUILD_LEAD_SHEET);
        ASSERT_GE(View()->GetPageCount(), 2);
        for (CKestrixRichEdit* box : View()->GetTextBoxes()) {
            RECT rc = {};
            box->GetRect(&rc);
            EXPECT_LT(box->GetCharPos(box->GetTextLength()).y, rc.bottom) << pass;
        }
    }
}

TEST_F(LeadSheet, PrintedSizesDoNotDependOnWhenTheUserZoomedOrSaved)
{
    LoadSong();
    Song(3);
    ShowLeadSheet();
    CKestrixRichEdit* box = Box(0);
    const long at = static_cast<long>(BoxText(box).find("line 2"));
    box->SetSel(at, at + 4);
    View()->SendMessage(WM_COMMAND, ID_FORMAT_BOLD);
    // The title at 12 points, as the font dialog gives it at 0.6.
    CHARFORMATA twelve = {};
    twelve.dwMask = CFM_SIZE;
    twelve.yHeight = 144;
    box->SetSel(0, 4);
    box->SetSelectionCharFormat(twelve);
    // The bold word made at 0.6 grows with the rest.
    ZoomTo(0.9f);
    const std::set<int> printed = {24, 30};
    EXPECT_EQ(FontSizes(std::string(View()->ExportRtf())), printed);
    // The title copied at 0.9 and pasted at 0.6, and 12 points from another
    // program: both print at 12 points, give or take the half point RTF
    // rounds shown sizes to; one Undo takes a paste away.
    box->SetSel(0, 4);
    box->SendMessage(WM_COPY);
    ZoomTo(0.6f);
    const std::string before = BoxText(box);
    const long end = box->GetTextLength();
    box->SetSel(end, end);
    box->SendMessage(WM_PASTE);
    SetClipboardText("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 more}", RegisterClipboardFormatA("Rich Text Format"));
    const std::string pasted = BoxText(box);
    box->SendMessage(WM_PASTE);
    std::set<int> withPasted = FontSizes(std::string(View()->ExportRtf()));
    withPasted.erase(23);
    EXPECT_EQ(withPasted, printed);
    box->SendMessage(EM_UNDO);
    EXPECT_EQ(BoxText(box), pasted);
    box->SendMessage(EM_UNDO);
    EXPECT_EQ(BoxText(box), before);
    ZoomTo(0.9f);

    // Saved at 0.9 and opened again at a new document's zoom, 0.6; and the
    // same file as an earlier version wrote it, sizes as shown at 0.9.
    const std::string path = m_folder->path + "zoomed.vqx";
    ASSERT_TRUE(Doc()->DoSave(path.c_str()));
    for (int earlier = 0; earlier < 2; ++earlier) {
        m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
        Pump(*m_app);
        if (earlier) {
            const std::vector<unsigned char> bytes = ReadAll(path);
            CMemFile in(bytes.data(), bytes.size());
            CArchive load(&in, CArchive::load);
            DocFileBody body;
            LeadSheetBoxes boxes;
            ASSERT_EQ(ReadDocFile(load, body), 20);
            ReadLeadSheetBoxes(load, boxes);
            for (LeadSheetBox& b : boxes) {
                std::string rtf(b.rtf.GetString(), static_cast<size_t>(b.rtf.GetLength()));
                const size_t mark = rtf.find("{\\*\\unzoomed}");
                ASSERT_NE(mark, std::string::npos);
                rtf.erase(mark, 13);
                for (size_t fs; (fs = rtf.find("\\fs30")) != std::string::npos;)
                    rtf.replace(fs, 5, "\\fs27");
                for (size_t fs; (fs = rtf.find("\\fs24")) != std::string::npos;)
                    rtf.replace(fs, 5, "\\fs21");
                b.rtf = CString(rtf.data(), static_cast<int>(rtf.size()));
            }
            CMemFile out;
            CArchive store(&out, CArchive::store);
            WriteDocFile(store, body);
            WriteLeadSheetBoxes(store, boxes);
            store.Close();
            CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
            ASSERT_TRUE(file.Write(out.Data().data(), static_cast<unsigned>(out.Data().size())));
        }
        ASSERT_NE(m_app->OpenDocumentFile(path.c_str()), nullptr);
        Pump(*m_app);
        ASSERT_NE(View(), nullptr);
        ASSERT_TRUE(View()->IsWindowVisible());
        EXPECT_NEAR(Doc()->GetZoom(), 0.6f, 1e-5);
        CHARFORMATA cf = {};
        Box(0)->GetDefaultCharFormat(cf);
        EXPECT_EQ(cf.yHeight, 180) << earlier;
        const std::set<int> sizes = FontSizes(std::string(View()->ExportRtf()));
        if (!earlier)
            EXPECT_EQ(sizes, printed);
        else // the title's size came in half points as shown, inexact
            EXPECT_EQ(*sizes.rbegin(), 30);
    }
}

TEST_F(LeadSheet, CtrlZUndoesTypingInTheBoxesAndInTheGridsEdits)
{
    LoadSong();
    Song(3);
    ShowLeadSheet();
    const std::string text = BoxText(Box(0));
    Click(Box(0), 30, 5);
    Keys(VK_CONTROL, 'A');
    Keys(0, 'X');
    ASSERT_EQ(BoxText(Box(0)), "x");
    // A look at the chord grid on the way keeps what can be undone.
    ToolbarClick(ID_VIEW_CHORDS);
    ShowLeadSheet();
    Click(Box(0), 30, 5);
    Keys(VK_CONTROL, 'Z');
    EXPECT_EQ(BoxText(Box(0)), text);

    // A lyric line of the chord grid.
    ToolbarClick(ID_VIEW_CHORDS);
    Doc()->GetChordView()->RedrawWindow();
    CKestrixEdit* lyric = Doc()->GetLyricEdits()[0]; // the grid's own (the song's one row is short)
    lyric->SetWindowText("la");
    RECT r = {};
    lyric->GetClientRect(&r);
    Click(lyric, r.right / 2, r.bottom / 2);
    ASSERT_EQ(GetFocus(), lyric->m_hWnd);
    Keys(0, 'Q');
    ASSERT_EQ(TextOf(lyric->m_hWnd), "laq");
    Keys(VK_CONTROL, 'Z');
    EXPECT_EQ(TextOf(lyric->m_hWnd), "la");
}

TEST_F(LeadSheet, ADoubleClickSelectsTheWordUnderTheMouseAndATripleClickItsLine)
{
    LoadSong();
    FillRows({"C\tEm7", "B7\tAm"}, {"some words", "more"});
    ShowLeadSheet();
    CKestrixRichEdit* box = Box(0);
    // Clicks in quick succession on a word, then its selection.
    auto clickOn = [&](const char* word, int clicks) {
        const long at = static_cast<long>(BoxText(box).find(word));
        const CPoint p = box->GetCharPos(at + 1);
        PumpFor(*m_app, GetDoubleClickTime() + 50);
        POINT s = {p.x + 2, p.y + 4};
        box->ClientToScreen(&s);
        SetCursorPos(s.x, s.y);
        std::vector<INPUT> in(static_cast<size_t>(clicks) * 2);
        for (size_t i = 0; i < in.size(); ++i) {
            in[i].type = INPUT_MOUSE;
            in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        EXPECT_EQ(SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)), in.size());
        PumpFor(*m_app, 300);
        long start = 0, end = 0;
        box->GetSel(start, end);
        return BoxText(box).substr(start, end - start);
    };
    EXPECT_EQ(clickOn("Em7", 2), "Em7");
    EXPECT_EQ(clickOn("B7", 2), "B7");
    // The control took a third click for a double click of its own, and
    // what was typed then replaced text of another line.
    const std::string before = BoxText(box);
    EXPECT_EQ(clickOn("B7", 3), "B7\tAm");
    Keys(0, 'X');
    std::string after = before;
    after.replace(before.find("B7\tAm"), 5, "x");
    EXPECT_EQ(BoxText(box), after);
}

TEST_F(LeadSheet, ContextMenuBoldOnTheSelection)
{
    LoadSong();
    Doc()->SetTitle("Title");
    Song(2);
    ShowLeadSheet();
    CKestrixRichEdit* box = Box(0);
    // Select the title line with the keyboard.
    Click(box, 30, 5);
    EXPECT_TRUE(box->HasFocus());
    Keys(VK_CONTROL, VK_HOME, true);
    Keys(VK_SHIFT, VK_END, true);
    long start = -1, end = -1;
    box->GetSel(start, end);
    ASSERT_EQ(start, 0);
    ASSERT_EQ(end, 5);

    {
        MenuActor actor(0); // Bold
        RightClickInBox(box, 20, 5, actor);
        ASSERT_TRUE(actor.Seen()) << "no context menu";
        const std::vector<MenuActor::Item> items = actor.Items();
        ASSERT_EQ(items.size(), 5u);
        EXPECT_EQ(items[0].text, "&Bold");
        EXPECT_EQ(items[1].text, "&Italic");
        EXPECT_EQ(items[2].text, "&Underline");
        EXPECT_EQ(items[4].text, "&Font...");
        EXPECT_EQ(items[4].id, (UINT)ID_FORMAT_FONT);
        EXPECT_FALSE(items[0].checked);
        // At the clicked point.
        POINT p = {20, 5};
        box->ClientToScreen(&p);
        EXPECT_NEAR(actor.MenuTopLeft().x, p.x, 2);
        EXPECT_NEAR(actor.MenuTopLeft().y, p.y, 2);
    }
    CHARFORMATA cf = {};
    box->GetSel(start, end);
    ASSERT_EQ(end, 5) << "the right click lost the selection";
    box->GetSelectionCharFormat(cf);
    EXPECT_TRUE(cf.dwMask & CFM_BOLD);
    EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
    EXPECT_FALSE(cf.dwEffects & (CFE_ITALIC | CFE_UNDERLINE));
    // Only the selection.
    box->SetSel(8, 10);
    box->GetSelectionCharFormat(cf);
    EXPECT_FALSE(cf.dwEffects & CFE_BOLD);

    // The check mark stays; Bold again clears it.
    box->SetSel(0, 5);
    {
        MenuActor actor(0);
        RightClickInBox(box, 20, 5, actor);
        ASSERT_TRUE(actor.Seen());
        EXPECT_TRUE(actor.Items()[0].checked);
    }
    box->SetSel(0, 5);
    box->GetSelectionCharFormat(cf);
    EXPECT_FALSE(cf.dwEffects & CFE_BOLD);

    // Escape closes the menu without a change.
    {
        MenuActor actor(-1);
        RightClickInBox(box, 20, 5, actor);
        ASSERT_TRUE(actor.Seen());
    }
    box->GetSelectionCharFormat(cf);
    EXPECT_FALSE(cf.dwEffects & CFE_BOLD);
}

TEST_F(LeadSheet, FormattingActsOnTheBoxTheUserWorksIn)
{
    ShowLongSong();
    // A selection left behind on the first page, unseen once the user
    // works on the second, took the bold meant for the second.
    Box(0)->SetSel(0, 4);
    ScrollTo(1);
    Click(Box(1), 30, 5);
    ASSERT_EQ(GetFocus(), Box(1)->m_hWnd);
    auto bold = [&](size_t box, long from, long to) {
        Box(box)->SetSel(from, to);
        CHARFORMATA cf = {};
        Box(box)->GetSelectionCharFormat(cf);
        return (cf.dwEffects & CFE_BOLD) != 0;
    };
    Box(1)->SetSel(0, 3);
    {
        MenuActor actor(0); // Bold
        RightClickInBox(Box(1), 30, 5, actor);
        ASSERT_TRUE(actor.Seen());
    }
    EXPECT_FALSE(bold(0, 0, 4));
    EXPECT_TRUE(bold(1, 0, 3));

    // The Font dialog starts from the selection: OK alone changes nothing.
    CHARFORMATA before = {};
    Box(1)->GetSelectionCharFormat(before);
    m_boxes->SetAnswer(IDOK);
    {
        MenuActor actor(4); // Font...
        RightClickInBox(Box(1), 30, 5, actor);
        ASSERT_TRUE(actor.Seen());
    }
    PumpUntil(*m_app, [&] { return m_boxes->Count("box") > 0; }, 5000);
    PumpFor(*m_app, 200);
    EXPECT_TRUE(bold(1, 0, 3));
    CHARFORMATA after = {};
    Box(1)->GetSelectionCharFormat(after);
    EXPECT_EQ(after.yHeight, before.yHeight);
}

TEST_F(LeadSheet, FontDialogWithoutSelectionSetsEveryBoxsDefault)
{
    ShowLongSong();
    CKestrixRichEdit* second = Box(1);
    CHARFORMATA cf = {};
    cf.dwMask = CFM_FACE;
    lstrcpyA(cf.szFaceName, "Courier New");
    second->SetDefaultCharFormat(cf);
    for (size_t i = 0; i < View()->GetTextBoxes().size(); ++i)
        Box(i)->SetSel(0, 0);
    Click(Box(0), 40, 40);
    ASSERT_EQ(GetFocus(), Box(0)->m_hWnd);
    m_boxes->SetAnswer(IDOK);
    {
        MenuActor actor(4); // Font...
        RightClickInBox(Box(0), 40, 40, actor);
        ASSERT_TRUE(actor.Seen());
    }
    PumpUntil(*m_app, [&] { return m_boxes->Count("box") > 0; }, 5000);
    ASSERT_EQ(m_boxes->Count("box"), 1);
    EXPECT_TRUE(m_boxes->All().front().Mentions("Font")) << m_boxes->All().front().title;
    PumpFor(*m_app, 200);
    EXPECT_EQ(GetFocus(), Box(0)->m_hWnd) << "typing after the dialog goes nowhere";
    // OK gave the dialog's font to every box (it starts from the first
    // box's font where the system has it).
    CHARFORMATA firstCf = {};
    Box(0)->GetDefaultCharFormat(firstCf);
    for (size_t i = 1; i < View()->GetTextBoxes().size(); ++i) {
        Box(i)->GetDefaultCharFormat(cf);
        EXPECT_STREQ(cf.szFaceName, firstCf.szFaceName) << i;
        EXPECT_EQ(cf.yHeight, firstCf.yHeight) << i;
    }
}

TEST_F(LeadSheet, CutCopyPasteTouchOnlyTheFocusedBox)
{
    ShowLongSong();
    CKestrixRichEdit* first = Box(0);
    CKestrixRichEdit* second = Box(1);
    const std::string firstText = BoxText(first), secondText = BoxText(second);

    // The first line of the second box, cut with Ctrl+X.
    ScrollTo(1);
    Click(second, 30, 5);
    ASSERT_TRUE(second->HasFocus());
    EXPECT_FALSE(first->HasFocus());
    Keys(VK_CONTROL, VK_HOME, true);
    Keys(VK_SHIFT, VK_END, true);
    long start = 0, end = 0;
    second->GetSel(start, end);
    ASSERT_GT(end, start);
    const std::string line = secondText.substr(start, end - start);
    SetClipboardText("before");
    Keys(VK_CONTROL, 'X');
    EXPECT_EQ(ClipboardText(), line);
    EXPECT_EQ(BoxText(second), secondText.substr(end));
    EXPECT_EQ(BoxText(first), firstText);

    // Pasted at the start of the first box.
    ScrollTo(0);
    Click(first, 2, 3);
    ASSERT_TRUE(first->HasFocus());
    EXPECT_FALSE(second->HasFocus());
    Keys(VK_CONTROL, VK_HOME, true);
    Keys(VK_CONTROL, 'V');
    EXPECT_EQ(BoxText(first), line + firstText);
    EXPECT_EQ(BoxText(second), secondText.substr(end));

    // Copied: the clipboard changes, no box does.
    first->SetSel(0, 4);
    Keys(VK_CONTROL, 'C');
    EXPECT_EQ(ClipboardText(), (line + firstText).substr(0, 4));
    EXPECT_EQ(BoxText(first), line + firstText);
    EXPECT_EQ(BoxText(second), secondText.substr(end));

    // The same commands through the Edit menu's numbers.
    m_frame->SendMessage(WM_COMMAND, ID_EDIT_CUT);
    Pump(*m_app);
    EXPECT_EQ(BoxText(first), (line + firstText).substr(4));
    EXPECT_EQ(BoxText(second), secondText.substr(end));
}

TEST_F(LeadSheet, PageBoundaryKeysOfAFullBox)
{
    ShowLongSong();
    CKestrixRichEdit* box = Box(0);
    ASSERT_TRUE(box->IsFull());
    const size_t boxes = View()->GetTextBoxes().size();
    Click(box, 30, 5);
    // Return breaks lines until the caret reaches the page's last lines;
    // there it does nothing.
    Keys(VK_CONTROL, VK_END, true);
    long length = box->GetTextLength();
    int breaks = 0;
    for (; breaks < 80; ++breaks) {
        Keys(0, VK_RETURN);
        const long now = box->GetTextLength();
        if (now == length)
            break;
        length = now;
    }
    EXPECT_LT(breaks, 80) << "Return never stopped at the bottom of the page";
    Keys(0, VK_RETURN);
    EXPECT_EQ(box->GetTextLength(), length);
    POINT caret = {};
    GetCaretPos(&caret);
    RECT rc = {};
    box->GetRect(&rc);
    EXPECT_GT(caret.y, rc.bottom / 2);
    // On the first line it still breaks the line.
    Keys(VK_CONTROL, VK_HOME, true);
    Keys(0, VK_END, true);
    Keys(0, VK_RETURN);
    EXPECT_EQ(box->GetTextLength(), length + 1);
    // Backspace at the very start of the box does nothing; elsewhere it
    // deletes.
    Keys(VK_CONTROL, VK_HOME, true);
    Keys(0, VK_BACK);
    EXPECT_EQ(box->GetTextLength(), length + 1);
    Keys(0, VK_END, true);
    Keys(0, VK_BACK);
    EXPECT_EQ(box->GetTextLength(), length);
    // The view does not act on the boundary keys: no page came or went.
    EXPECT_EQ(View()->GetTextBoxes().size(), boxes);
}

TEST_F(LeadSheet, BeforeAnySongOnePageAndNoBox)
{
    ShowLeadSheet();
    EXPECT_TRUE(View()->GetTextBoxes().empty());
    EXPECT_EQ(View()->GetPageCount(), 0);
    // The desk and the one page are painted without a box.
    View()->RedrawWindow();
    Pump(*m_app);
    EXPECT_TRUE(m_boxes->All().empty());
}

// Sheets for a printer: every box starts a sheet of its own and a box whose
// text runs past one sheet continues on the next. A metafile of the screen
// stands for the printer; the user's selection in the boxes is left alone.
TEST_F(LeadSheet, EachBoxPrintsOnSheetsOfItsOwn)
{
    ShowLongSong();
    CChordEditView* view = View();
    const size_t boxes = view->GetTextBoxes().size();
    // A long last text makes the last box run past its sheet.
    CKestrixRichEdit* last = Box(boxes - 1);
    std::string longText;
    for (int i = 0; i < 400; ++i)
        longText += "a long line of lyrics number " + std::to_string(i) + "\r\n";
    last->SetWindowText(longText.c_str());
    last->SetSel(5, 9);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateEnhMetaFileA(screen, nullptr, nullptr, nullptr);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(dc, nullptr);
    const auto sheets = view->PaginateFor(dc);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));

    ASSERT_GT(sheets.size(), boxes);
    int box = -1, sheet = -1;
    for (const auto& s : sheets) {
        if (s.box != box) {
            EXPECT_EQ(s.box, box + 1) << "boxes print in order, none skipped";
            box = s.box;
            sheet = -1;
        }
        EXPECT_EQ(s.sheet, sheet + 1) << s.box;
        sheet = s.sheet;
    }
    EXPECT_EQ(box, static_cast<int>(boxes) - 1);
    // 400 lines do not fit on one sheet of a screen's height.
    EXPECT_GE(sheet, 1);
    long from = 0, to = 0;
    last->GetSel(from, to);
    EXPECT_EQ(from, 5);
    EXPECT_EQ(to, 9);
}

} // namespace
