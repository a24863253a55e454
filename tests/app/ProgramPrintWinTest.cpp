// Printing from the running program onto the test printer (a CUPS queue
// that turns each job into a PDF), and the print preview, with the system's
// keyboard and mouse.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "ProgramGridFixture.h"
#include "TestPrinter.h"
#include "app/ViewDlg.h"
#include "views/ChordEditView.h"
#include "views/OstrelView.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The letters a print job draws in a bold font, in order: it shows each
// glyph by name under the font set last.
std::string BoldLetters(const std::string& ps)
{
    std::string out, font, line;
    size_t at = 0;
    while (at < ps.size()) {
        const size_t end = std::min(ps.find('\n', at), ps.size());
        line = ps.substr(at, end - at);
        at = end + 1;
        const size_t find = line.find(" findfont");
        if (!line.empty() && line[0] == '/' && find != std::string::npos)
            font = line.substr(1, find - 1);
        const size_t show = line.find(" glyphshow");
        if (!line.empty() && line[0] == '/' && show != std::string::npos && Contains(font, "Bold")) {
            const std::string name = line.substr(1, show - 1);
            out += name.size() == 1 ? name : name == "space" ? " " : "?";
        }
    }
    return out;
}

// Shows and hides of some windows while it lives, in order: (window, shown).
class ShowWatch {
public:
    explicit ShowWatch(std::vector<HWND> windows) : m_windows(std::move(windows))
    {
        Current() = this;
        m_hook = SetWindowsHookExA(WH_CALLWNDPROC, &ShowWatch::Proc, nullptr, GetCurrentThreadId());
    }
    ~ShowWatch()
    {
        UnhookWindowsHookEx(m_hook);
        Current() = nullptr;
    }
    ShowWatch(const ShowWatch&) = delete;
    ShowWatch& operator=(const ShowWatch&) = delete;

    // Whether the window was hidden and then shown again.
    bool HiddenThenShown(HWND w) const
    {
        bool hidden = false;
        for (const auto& e : m_events)
            if (e.first == w) {
                if (!e.second)
                    hidden = true;
                else if (hidden)
                    return true;
            }
        return false;
    }

private:
    static ShowWatch*& Current()
    {
        static ShowWatch* p = nullptr;
        return p;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        ShowWatch* self = Current();
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (self && code == HC_ACTION && m->message == WM_SHOWWINDOW)
            for (HWND w : self->m_windows)
                if (w == m->hwnd)
                    self->m_events.push_back({w, m->wParam != 0});
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    std::vector<HWND> m_windows;
    std::vector<std::pair<HWND, bool>> m_events;
    HHOOK m_hook;
};

// The print preview driven from a thread of its own while the UI thread runs
// the preview's loop: what each shown page looks like on the screen, pages
// turned with the keyboard and the mouse, then closed with its button.
class PreviewDriver {
public:
    struct Look {
        std::string title;
        int ink = 0;        // dark pixels on the paper
        uint64_t hash = 0;  // of the paper's pixels
    };

    PreviewDriver() : m_thread([this] { Run(); }) {}
    ~PreviewDriver()
    {
        m_stop = true;
        m_thread.join();
    }
    PreviewDriver(const PreviewDriver&) = delete;
    PreviewDriver& operator=(const PreviewDriver&) = delete;

    bool Done() const { return m_done; }
    std::vector<Look> looks;
    std::string failure;

private:
    static BOOL CALLBACK FindPreview(HWND w, LPARAM p)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && TextOf(w).rfind("Print Preview", 0) == 0) {
            *reinterpret_cast<HWND*>(p) = w;
            return FALSE;
        }
        return TRUE;
    }
    static HWND Preview()
    {
        HWND w = nullptr;
        EnumWindows(&PreviewDriver::FindPreview, (LPARAM)&w);
        return w;
    }
    bool WaitFor(const std::function<bool()>& pred, DWORD ms)
    {
        const DWORD start = GetTickCount();
        while (!pred()) {
            if (m_stop || GetTickCount() - start > ms)
                return false;
            Sleep(50);
        }
        return true;
    }

    // The client area as the screen shows it; the paper is its white part.
    Look Capture(HWND w)
    {
        Look look;
        look.title = TextOf(w);
        RECT rc;
        GetClientRect(w, &rc);
        POINT origin = {0, 0};
        ClientToScreen(w, &origin);
        const int width = rc.right, height = rc.bottom;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        const auto* px = static_cast<const uint32_t*>(bits);
        int left = width, right = -1, top = height, bottom = -1;
        for (int y = 40; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((px[y * width + x] & 0xFFFFFF) == 0xFFFFFF) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        look.hash = 1469598103934665603ull;
        for (int y = top + 2; y < bottom - 2; ++y)
            for (int x = left + 2; x < right - 2; ++x) {
                const uint32_t c = px[y * width + x];
                if (((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255) < 384)
                    ++look.ink;
                look.hash = (look.hash ^ (c & 0xFFFFFF)) * 1099511628211ull;
            }
        DeleteObject(bmp);
        return look;
    }

    bool ClickButton(HWND preview, int id)
    {
        HWND b = GetDlgItem(preview, id);
        if (!b || !IsWindowEnabled(b))
            return false;
        RECT r;
        GetClientRect(b, &r);
        return SendClick(b, r.right / 2, r.bottom / 2);
    }

    void Run()
    {
        HWND w = nullptr;
        if (!WaitFor([&] { return (w = Preview()) != nullptr; }, 30000)) {
            failure = "no preview window";
            m_done = true;
            return;
        }
        Sleep(700); // painted
        looks.push_back(Capture(w));
        const std::string first = looks.back().title;
        // The keyboard turns to the next page.
        SetForegroundWindow(w);
        SendKey(VK_NEXT, true);
        if (WaitFor([&] { return TextOf(w) != first; }, 5000)) {
            Sleep(500);
            looks.push_back(Capture(w));
            // The mouse turns back.
            if (ClickButton(w, 0xE202) && WaitFor([&] { return TextOf(w) == first; }, 5000)) {
                Sleep(500);
                looks.push_back(Capture(w));
            }
        }
        if (!ClickButton(w, 0xE203))
            PostMessageA(w, WM_CLOSE, 0, 0);
        if (!WaitFor([&] { return Preview() == nullptr; }, 10000))
            failure = "the preview did not close";
        m_done = true;
    }

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

class ProgramPrint : public ProgramGrid {
protected:
    // A song of a minute: eleven rows, two pages.
    void AnalyzeLongSong()
    {
        AnalyzeSong(60.0);
        ASSERT_FALSE(HasFatalFailure());
        Doc()->GetTitleEdit().SetWindowText("Printed Song Title");
        std::vector<CKestrixEdit*>& edits = Doc()->GetLyricEdits();
        ASSERT_GE(edits.size(), 8u);
        edits[0]->SetWindowText("first lyric line");
        edits[7]->SetWindowText("a line on page two");
        RedrawWindow(View()->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(*m_app);
    }

    COstrelView* Tab() { return dynamic_cast<COstrelView*>(Doc()->GetBassView()); }
    CChordEditView* Sheet() { return dynamic_cast<CChordEditView*>(Doc()->GetLeadSheetView()); }

    // Ctrl+P on the keyboard, the print dialog answered with Print; the job
    // that reached the printer.
    test_printer::Job PrintWithKeyboard()
    {
        test_printer::Job job;
        const int before = test_printer::LastJobId();
        const int boxes = m_boxes->Count("box");
        m_boxes->SetAnswer(IDOK);
        SetForegroundWindow(m_frame->m_hWnd);
        EXPECT_TRUE(SendChord(VK_CONTROL, 'P'));
        PumpFor(*m_app, 300);
        EXPECT_TRUE(PumpUntil(*m_app, [&] { return m_boxes->Count("box") > boxes; }, 20000)) << "no print dialog";
        EXPECT_TRUE(test_printer::WaitForJobAfter(before, job)) << "nothing reached the printer";
        Pump(*m_app);
        return job;
    }

    // The program's own text of a language entry.
    std::string Lang(int id) { return std::string(m_app->GetLangString(id)); }

    // Alt+F, then the item's mnemonic: both keys go in before the menu's
    // loop runs on this thread.
    void OpenPreviewFromTheMenu()
    {
        SetForegroundWindow(m_frame->m_hWnd);
        ASSERT_TRUE(SendChord(VK_MENU, 'F'));
        ASSERT_TRUE(SendKey('V'));
        PumpFor(*m_app, 300);
    }
};

TEST_F(ProgramPrint, TheChordGridPrintsEveryPageWithTitleLyricsAndChords)
{
    AnalyzeLongSong();
    CKestrixView* view = View();
    const int pages = view->Geometry().pageCount;
    ASSERT_EQ(pages, 2);
    const float zoom = view->Geometry().zoom;
    CWnd* tools = m_app->GetToolsPanel();
    ASSERT_NE(tools, nullptr);
    ASSERT_TRUE(tools->IsWindowVisible());
    ShowWatch watch({m_panel->m_hWnd, tools->m_hWnd});

    const test_printer::Job job = PrintWithKeyboard();
    ASSERT_EQ(job.pages, pages);
    ASSERT_EQ(job.pageTexts.size(), 2u);
    const std::string& one = job.pageTexts[0];
    const std::string& two = job.pageTexts[1];
    EXPECT_TRUE(Contains(one, "Printed Song Title")) << one;
    EXPECT_TRUE(Contains(one, "first lyric line")) << one;
    EXPECT_FALSE(Contains(two, "Printed Song Title")) << two;
    EXPECT_TRUE(Contains(two, "a line on page two")) << two;
    // Every chord shown on a row is printed on that row's page.
    const int perPage = view->Geometry().rowsPerPage;
    int names = 0;
    for (const auto& rc : ShownChords()) {
        const std::string name(view->GetRows()[(size_t)rc.first].items[(size_t)rc.second].name);
        const std::string& text = rc.first < perPage ? one : two;
        EXPECT_TRUE(Contains(text, name)) << name << " of row " << rc.first;
        ++names;
    }
    EXPECT_GT(names, 4);

    // The panels went away for the job and came back; the screen's zoom is back.
    EXPECT_TRUE(watch.HiddenThenShown(m_panel->m_hWnd));
    EXPECT_TRUE(watch.HiddenThenShown(tools->m_hWnd));
    EXPECT_TRUE(m_panel->IsWindowVisible());
    EXPECT_TRUE(tools->IsWindowVisible());
    EXPECT_FALSE(Doc()->IsPrinting());
    EXPECT_EQ(view->Geometry().zoom, zoom);
    EXPECT_FALSE(view->IsPrintLayout());
}

TEST_F(ProgramPrint, TheBassTablaturePrintsItsFrets)
{
    AnalyzeLongSong();
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_BASS);
    Pump(*m_app);
    COstrelView* tab = Tab();
    ASSERT_TRUE(tab && tab->IsWindowVisible());
    const int pages = tab->Geometry().pageCount;

    const test_printer::Job job = PrintWithKeyboard();
    ASSERT_EQ(job.pages, pages);
    ASSERT_FALSE(job.pageTexts.empty());
    EXPECT_TRUE(Contains(job.pageTexts[0], "Printed Song Title")) << job.pageTexts[0];
    // The fret numbers of the first page's shown notes are on it.
    int frets = 0;
    const auto& rows = tab->GetRows();
    for (int r = 0; r < (int)rows.size() && r < tab->Geometry().rowsPerPage; ++r)
        for (const BassNote& n : rows[(size_t)r].items) {
            if (!tab->IsNoteShown(n))
                continue;
            CString fret;
            tab->PlaceNoteOnString(fret, n.pitch, n.octave, n.placement);
            EXPECT_TRUE(Contains(job.pageTexts[0], std::string(fret))) << std::string(fret);
            ++frets;
        }
    EXPECT_GT(frets, 0);
    EXPECT_TRUE(tab->IsWindowVisible());
    EXPECT_FALSE(Doc()->IsPrinting());
}

TEST_F(ProgramPrint, TheLeadSheetPrintsItsLinesWithTheirFormats)
{
    AnalyzeLongSong();
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
    Pump(*m_app);
    CChordEditView* sheet = Sheet();
    ASSERT_TRUE(sheet && sheet->IsWindowVisible());
    ASSERT_FALSE(sheet->GetTextBoxes().empty());
    CKestrixRichEdit* box = sheet->GetTextBoxes()[0];
    // One word in bold, as a user formats it.
    std::string text(static_cast<size_t>(box->GetTextLength()) + 1, '\0');
    TEXTRANGEA tr = {{0, box->GetTextLength()}, &text[0]};
    text.resize(static_cast<size_t>(box->SendMessage(EM_GETTEXTRANGE, 0, (LPARAM)&tr)));
    const long word = static_cast<long>(text.find("lyric"));
    ASSERT_GT(word, 0);
    box->SetSel(word, word + 5);
    CHARFORMATA cf = {};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_BOLD;
    cf.dwEffects = CFE_BOLD;
    box->SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
    box->SetSel(0, 0);

    const test_printer::Job job = PrintWithKeyboard();
    ASSERT_GE(job.pages, 1);
    std::string all;
    for (const std::string& t : job.pageTexts)
        all += t;
    EXPECT_TRUE(Contains(all, "g major")) << all;
    EXPECT_TRUE(Contains(all, "first lyric line")) << all;
    EXPECT_TRUE(Contains(all, "a line on page two")) << all;
    // The chord lines, their tabs printed as space.
    const std::string row0(Doc()->GetRowText(0));
    const std::string firstChord = row0.substr(0, row0.find('\t'));
    ASSERT_FALSE(firstChord.empty());
    EXPECT_TRUE(Contains(all, firstChord)) << all;
    // The bold word, and only it, went to the printer in a bold font.
    const std::string ps = test_printer::ReadFile(test_printer::JobBase(job.id) + L".ps");
    EXPECT_EQ("lyric", BoldLetters(ps));
    EXPECT_FALSE(Doc()->IsPrinting());
    EXPECT_TRUE(sheet->IsWindowVisible());
}

TEST_F(ProgramPrint, ThePreviewShowsPageOneAndTurnsPages)
{
    AnalyzeLongSong();
    const int before = test_printer::LastJobId();
    CWnd* tools = m_app->GetToolsPanel();
    ShowWatch watch({m_panel->m_hWnd, tools->m_hWnd});
    {
        PreviewDriver driver;
        OpenPreviewFromTheMenu();
        ASSERT_TRUE(PumpUntil(*m_app, [&] { return driver.Done(); }, 60000));
        ASSERT_EQ(driver.failure, "");
        ASSERT_EQ(driver.looks.size(), 3u);
        EXPECT_EQ(driver.looks[0].title, "Print Preview - Page 1 of 2");
        EXPECT_EQ(driver.looks[1].title, "Print Preview - Page 2 of 2");
        EXPECT_EQ(driver.looks[2].title, "Print Preview - Page 1 of 2");
        // Both pages carry ink, they differ, and page 1 comes back the same.
        EXPECT_GT(driver.looks[0].ink, 500);
        EXPECT_GT(driver.looks[1].ink, 200);
        EXPECT_NE(driver.looks[0].hash, driver.looks[1].hash);
        EXPECT_EQ(driver.looks[0].hash, driver.looks[2].hash);
    }
    Pump(*m_app);
    // Closing prints nothing and brings the screen back.
    EXPECT_EQ(test_printer::LastJobId(), before);
    EXPECT_TRUE(watch.HiddenThenShown(m_panel->m_hWnd));
    EXPECT_TRUE(m_panel->IsWindowVisible());
    EXPECT_TRUE(tools->IsWindowVisible());
    EXPECT_FALSE(Doc()->IsPrinting());
    EXPECT_TRUE(m_frame->IsWindowEnabled());
}

TEST_F(ProgramPrint, WithoutAPrinterEveryViewsPreviewSaysSo)
{
    AnalyzeLongSong();
    test_printer::NoPrinter none;
    const std::string caption = Lang(122), text = Lang(2);
    auto warned = [&] {
        int n = 0;
        for (const auto& s : m_boxes->All())
            n += s.kind == "box" && s.title == caption && s.Mentions(text);
        return n;
    };
    m_boxes->SetAnswer(IDOK);

    // The chord grid warns.
    OpenPreviewFromTheMenu();
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return warned() == 1; }, 10000)) << "chord grid";
    // The bass tablature too.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_BASS);
    Pump(*m_app);
    OpenPreviewFromTheMenu();
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return warned() == 2; }, 10000)) << "bass tablature";
    // The lead sheet warns.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
    Pump(*m_app);
    OpenPreviewFromTheMenu();
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return warned() == 3; }, 10000)) << "lead sheet";
    EXPECT_FALSE(Doc()->IsPrinting());
}

} // namespace
