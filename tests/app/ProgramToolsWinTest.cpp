// The tools panel, the Settings and the Transpose dialogs of the running
// program, used as a user does: the panel's rows clicked with the system's
// mouse, the dialogs opened from the menus and the transport panel and
// filled in by a "user" on a thread of its own.
#include "ProgramGridFixture.h"
#include "app/ChordNames.h"
#include "app/ViewDlg.h"
#include "views/ChordEditView.h"
#include "views/GChordDlg.h"
#include "resources/resource.h"

namespace {

// Answers the program's dialogs from its own thread, one queued answer per
// dialog in the order they come up; a dialog with no answer left is
// cancelled (and noted), so that a test fails instead of hanging.
class DialogUser {
public:
    struct Seen {
        std::string title;
        std::vector<int> ids;
        std::vector<std::string> texts;
        bool Mentions(const std::string& s) const
        {
            for (const std::string& t : texts)
                if (t.find(s) != std::string::npos)
                    return true;
            return title.find(s) != std::string::npos;
        }
    };
    using Answer = std::function<void(HWND)>;

    // held: windows that must take no input while a dialog is up.
    DialogUser(DWORD uiThread, std::vector<HWND> held)
        : m_thread(uiThread), m_held(std::move(held)), m_worker([this] { Run(); })
    {
    }
    ~DialogUser()
    {
        m_stop = true;
        m_worker.join();
    }

    void Queue(Answer a)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_answers.push_back(std::move(a));
    }
    std::vector<Seen> Seen_() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }
    size_t Pending() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_answers.size();
    }
    // Dialogs under which a held window was enabled.
    std::vector<std::string> LiveUnder() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_liveUnder;
    }

    // What a user does in a dialog.
    static void Type(HWND dlg, int id, const char* text)
    {
        SendMessageTimeoutA(GetDlgItem(dlg, id), WM_SETTEXT, 0, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    static void Press(HWND dlg, int id)
    {
        // Each press waits until the dialog has acted on it.
        SendMessageTimeoutA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id),
                            SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    static void PressLater(HWND dlg, int id)
    {
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
    }
    static std::string Text(HWND dlg, int id)
    {
        char buf[256] = "";
        SendMessageTimeoutA(GetDlgItem(dlg, id), WM_GETTEXT, sizeof buf, (LPARAM)buf, SMTO_ABORTIFHUNG, 5000,
                            nullptr);
        return buf;
    }

private:
    static BOOL CALLBACK Collect(HWND w, LPARAM p)
    {
        if (IsWindowVisible(w) && ClassOf(w) == "#32770" && (GetDlgItem(w, IDOK) || GetDlgItem(w, IDYES)))
            ((std::vector<HWND>*)p)->push_back(w);
        return TRUE;
    }
    static BOOL CALLBACK Texts(HWND w, LPARAM p)
    {
        Seen* s = (Seen*)p;
        if (GetParent(w) == GetAncestor(w, GA_ROOT)) {
            s->ids.push_back(GetDlgCtrlID(w));
            s->texts.push_back(progtest::TextOf(w));
        }
        return TRUE;
    }
    void Run()
    {
        std::vector<HWND> done;
        while (!m_stop) {
            std::vector<HWND> tops;
            EnumThreadWindows(m_thread, &DialogUser::Collect, (LPARAM)&tops);
            for (HWND w : tops) {
                if (std::find(done.begin(), done.end(), w) != done.end())
                    continue;
                done.push_back(w);
                Sleep(50); // a user looks first
                Seen s;
                s.title = progtest::TextOf(w);
                EnumChildWindows(w, &DialogUser::Texts, (LPARAM)&s);
                const bool live = std::any_of(m_held.begin(), m_held.end(), [](HWND h) { return IsWindowEnabled(h); });
                Answer a;
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_seen.push_back(s);
                    if (live)
                        m_liveUnder.push_back(s.title);
                    if (!m_answers.empty()) {
                        a = std::move(m_answers.front());
                        m_answers.erase(m_answers.begin());
                    }
                }
                if (a)
                    a(w);
                else
                    PressLater(w, IDCANCEL);
            }
            std::vector<HWND> alive;
            for (HWND w : done)
                if (IsWindow(w) && IsWindowVisible(w))
                    alive.push_back(w);
            done.swap(alive);
            Sleep(10);
        }
    }

    DWORD m_thread;
    const std::vector<HWND> m_held;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<Answer> m_answers;
    std::vector<Seen> m_seen;
    std::vector<std::string> m_liveUnder;
    std::thread m_worker;
};

// A view that only counts the hints its document sends.
class HintCounter : public CView {
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM hint, CObject*) override { hints.push_back((int)hint); }
    int Count(int hint) const { return (int)std::count(hints.begin(), hints.end(), hint); }
    std::vector<int> hints;
};

class ProgramTools : public ProgramGrid {
protected:
    void SetUp() override
    {
        ProgramGrid::SetUp();
        if (HasFatalFailure())
            return;
        m_tools = m_app->GetToolsPanel();
        ASSERT_NE(m_tools, nullptr);
        ASSERT_TRUE(m_tools->IsWindowVisible());
        // The tools panel beside the pages.
        SetWindowPos(m_tools->m_hWnd, HWND_TOP, 1120, 300, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        Pump(*m_app);
    }

    void TearDown() override
    {
        // The closing questions go to the box watcher again.
        if (m_user) {
            EXPECT_TRUE(m_user->LiveUnder().empty()) << "a window took input under" << Join(m_user->LiveUnder());
            m_user.reset();
            m_boxes.reset(new BoxWatcher(GetCurrentThreadId()));
        }
        ProgramGrid::TearDown();
    }

    // From here on the dialogs are answered by the test's user, not the box watcher.
    void TakeOverDialogs()
    {
        m_boxes.reset();
        m_user.reset(new DialogUser(GetCurrentThreadId(), {m_frame->m_hWnd, m_panel->m_hWnd, m_tools->m_hWnd}));
    }

    void ClickRow(int row)
    {
        PumpFor(*m_app, GetDoubleClickTime() + 50);
        const CPoint c = m_tools->GetOptionRowRect(row).CenterPoint();
        for (DWORD step : {0ul, (DWORD)MOUSEEVENTF_LEFTDOWN, (DWORD)MOUSEEVENTF_LEFTUP}) {
            MouseTo(m_tools->m_hWnd, c.x, c.y, step);
            PumpFor(*m_app, 30);
        }
    }

    // Inked pixels of a client rectangle of the tools panel, as on the
    // screen once the panel has repainted by itself.
    int Ink(const RECT& r)
    {
        PumpFor(*m_app, 400);
        HDC dc = GetDC(m_tools->m_hWnd);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                n += c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
            }
        ReleaseDC(m_tools->m_hWnd, dc);
        return n;
    }
    RECT HintArea()
    {
        CRect c;
        m_tools->GetClientRect(&c);
        return {0, CViewDlg::kBandHeight + 2, c.Width(), CViewDlg::kValueTop - 1};
    }
    RECT ValueArea()
    {
        CRect c;
        m_tools->GetClientRect(&c);
        const int top = CViewDlg::kValueTop + 1 + CViewDlg::kBandHeight;
        return {c.Width() / 2 + 2, top, c.Width(), top + 2 * CViewDlg::kBandHeight};
    }

    std::vector<std::string> ShownNames()
    {
        std::vector<std::string> out;
        for (const ChordRow& r : View()->GetRows())
            for (const ChordEntry& c : r.items)
                if (c.visible)
                    out.push_back(c.name.GetString());
        return out;
    }

    // Runs a command of the main frame's menus; the dialogs it opens are answered meanwhile.
    void Command(UINT id)
    {
        PostMessageA(m_frame->m_hWnd, WM_COMMAND, id, 0);
        PumpFor(*m_app, 300);
        PumpUntil(*m_app, [&] { return m_user->Pending() == 0; }, 10000);
        PumpFor(*m_app, 300);
    }

    CViewDlg* m_tools = nullptr;
    std::unique_ptr<DialogUser> m_user;
};

TEST_F(ProgramTools, ShowsTheNotesUnderTheMouseAndTheSongsTuningAndKey)
{
    // No song: the value places stay empty, nor are there notes.
    EXPECT_EQ(0, Ink(ValueArea()));
    EXPECT_EQ(0, Ink(HintArea()));

    AnalyzeSong();
    float tuning = 0;
    CString key;
    ASSERT_TRUE(m_app->GetActiveDocInfo(tuning, key));
    EXPECT_NEAR(445.0, tuning, 3.0);
    EXPECT_FALSE(key.IsEmpty());
    EXPECT_GT(Ink(ValueArea()), 20);

    // Over a time line the notes sounding there reach the panel, one per line.
    const ChordRow& row = View()->GetRows()[1];
    MouseTo(View()->m_hWnd, row.lineStart.x + 100, row.lineStart.y - 2);
    const CString hint = m_app->GetToolsPanelText();
    ASSERT_FALSE(hint.IsEmpty());
    EXPECT_EQ(std::string(hint), std::string(m_tools->GetHintText()));
    const int inked = Ink(HintArea());
    EXPECT_GT(inked, 10 * (int)SplitNoteNames(hint).size());

    // Off the rows the panel is cleared.
    MouseTo(View()->m_hWnd, 5, row.lineStart.y - 2);
    EXPECT_TRUE(m_tools->GetHintText().IsEmpty());
    EXPECT_EQ(0, Ink(HintArea()));
}

TEST_F(ProgramTools, EachModeRowChangesTheShownChordsAndIsStored)
{
    AnalyzeSong();
    std::map<int, std::vector<std::string>> shown;
    for (int row : {1, 2, 0}) {
        ClickRow(row);
        const int mode = OptionRowMode(row);
        EXPECT_EQ(mode, m_tools->GetMode());
        EXPECT_EQ(mode, Doc()->GetMode());
        EXPECT_EQ(mode, m_app->GetSetting("defaultMode"));
        shown[mode] = ShownNames();
        EXPECT_FALSE(shown[mode].empty()) << mode;
    }
    // All chords (1) shows at least as many as the reliable ones (0);
    // simple chords (2) drop the qualities the others show.
    EXPECT_GE(shown[1].size(), shown[0].size());
    EXPECT_NE(shown[2], shown[0]);
    for (const std::string& n : shown[2])
        EXPECT_TRUE(n.find('/') == std::string::npos && n.find("add9") == std::string::npos &&
                    n.find("maj7") == std::string::npos) << n;
    // A new analysis keeps the chosen mode.
    EXPECT_EQ(2, m_app->GetToolsMode());
}

TEST_F(ProgramTools, ModeRowsAreInertWhileTheChordOptionsAreHidden)
{
    AnalyzeSong();
    ClickRow(1);
    ASSERT_EQ(0, Doc()->GetMode());
    // The bass view hides the rows (it is what the switch tells the panel).
    m_app->SetChordOptionsShown(false);
    const CRect before = [&] { CRect r; m_tools->GetWindowRect(&r); return r; }();
    ClickRow(2);
    EXPECT_EQ(0, m_tools->GetMode());
    EXPECT_EQ(0, Doc()->GetMode());
    EXPECT_EQ(0, m_app->GetSetting("defaultMode"));
    CRect after;
    m_tools->GetWindowRect(&after);
    EXPECT_EQ(before, after);
    m_app->SetChordOptionsShown(true);
    ClickRow(2);
    EXPECT_EQ(1, Doc()->GetMode());
}

TEST_F(ProgramTools, TheMainWindowsShortcutsWorkInAToolWindow)
{
    CGChordDlg* chord = m_app->GetChordDiagramDlg();
    ASSERT_TRUE(chord && chord->IsWindowVisible());
    int opened = 0;
    for (HWND tool : {m_tools->m_hWnd, chord->m_hWnd}) {
        // Ctrl+O, then Alt+F and O from the menu: both keys go in before
        // the menu's loop runs on this thread.
        for (bool menu : {false, true}) {
            // Active, as a click on it leaves it under a window manager.
            SetActiveWindow(tool);
            Pump(*m_app);
            ASSERT_TRUE(GetFocus() == tool || IsChild(tool, GetFocus()));
            m_boxes->QueueFile("");
            ASSERT_TRUE(menu ? SendChord(VK_MENU, 'F') && SendKey('O') : SendChord(VK_CONTROL, 'O'));
            ++opened;
            EXPECT_TRUE(PumpUntil(*m_app, [&] { return m_boxes->Count("open") == opened; }, 10000)) << menu;
        }
    }
}

TEST_F(ProgramTools, DraggingMovesThePanelFromTheFifthMoveKeepingTheGrabPoint)
{
    CRect start;
    m_tools->GetWindowRect(&start);
    POINT grab = {30, 60};
    ClientToScreen(m_tools->m_hWnd, &grab);
    const POINT offset = {grab.x - start.left, grab.y - start.top};
    // Moves in screen coordinates: the panel moves under the mouse.
    const HWND screen = GetDesktopWindow();
    auto to = [&](int dx, int dy, DWORD buttons = 0) {
        MouseTo(screen, grab.x + dx, grab.y + dy, buttons);
        PumpFor(*m_app, 30);
    };
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    to(0, 0);
    to(0, 0, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 4; ++i)
        to(-i, 0);
    CRect now;
    m_tools->GetWindowRect(&now);
    EXPECT_EQ(start, now) << "moved before the fifth move";
    for (int i = 1; i <= 3; ++i)
        to(-4 - 10 * i, 8 * i);
    to(-34, 24, MOUSEEVENTF_LEFTUP);
    m_tools->GetWindowRect(&now);
    // The point grabbed stays under the cursor: no jump by the caption.
    EXPECT_EQ(grab.x - 34 - offset.x, now.left);
    EXPECT_EQ(grab.y + 24 - offset.y, now.top);
}

TEST_F(ProgramTools, SettingsLaysOutEveryOpenDocumentOnce)
{
    // Two documents, each with a song and chords on it.
    std::vector<ChordEntry> chords(3);
    for (size_t i = 0; i < chords.size(); ++i) {
        chords[i].root = (int)i * 2;
        chords[i].time = 1000 + 7000 * (int)i;
        chords[i].confidence = 120;
        chords[i].visible = 1;
    }
    CKestrixDoc* first = Doc();
    OpenSong(WriteSong("first.wav", PositionSong(20 * kRate)));
    std::vector<ChordEntry> given = chords; // the document takes the list
    first->SetChords(given);
    PostMessageA(m_frame->m_hWnd, WM_COMMAND, ID_FILE_NEW, 0);
    ASSERT_TRUE(PumpUntil(*m_app, [&] { return Doc() && Doc() != first; }, 5000));
    CKestrixDoc* second = Doc();
    // Without a window manager the new frame can cover the panel.
    SetWindowPos(m_panel->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    OpenSong(WriteSong("second.wav", PositionSong(20 * kRate)));
    given = chords;
    second->SetChords(given);
    HintCounter spies[2];
    first->AddView(&spies[0]);
    second->AddView(&spies[1]);
    const int device = m_app->GetSoundCard();

    TakeOverDialogs();
    std::string shownSeconds, shownRows;
    m_user->Queue([&](HWND d) {
        shownSeconds = DialogUser::Text(d, IDC_ROW_SECONDS);
        shownRows = DialogUser::Text(d, IDC_ROWS_PER_PAGE);
        DialogUser::Type(d, IDC_ROW_SECONDS, "4");
        DialogUser::Type(d, IDC_ROWS_PER_PAGE, "5");
        DialogUser::PressLater(d, IDOK);
    });
    Command(ID_OPTIONS_SETTINGS);
    EXPECT_EQ("6", shownSeconds);
    EXPECT_EQ("7", shownRows);

    EXPECT_EQ(4000, m_app->GetSetting("lengthPerRow"));
    EXPECT_EQ(5, m_app->GetSetting("rowsPerPage"));
    EXPECT_EQ(device, m_app->GetSetting("soundCard"));
    for (CKestrixDoc* doc : {first, second}) {
        EXPECT_EQ(4000, doc->GetRowLength());
        EXPECT_EQ(5, doc->GetRowsPerPage());
    }
    for (HintCounter& spy : spies)
        EXPECT_EQ(1, spy.Count(HINT_LAYOUT_CHANGED));
    // Every document shows its chords on the new rows.
    for (CKestrixDoc* doc : {first, second}) {
        auto* view = dynamic_cast<CKestrixView*>(doc->GetChordView());
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(6u, view->GetRows().size()); // 20 s in rows of 4 s
        size_t shown = 0;
        for (const ChordRow& r : view->GetRows())
            shown += r.items.size();
        EXPECT_EQ(chords.size(), shown);
        EXPECT_FALSE(doc->GetRowText(3).IsEmpty()); // the lead sheet's line of the chord at 15 s
    }
    // Only the Settings dialog came up: an unchanged device asks nothing.
    const auto seen = m_user->Seen_();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(std::string(m_app->GetLangString(108)), seen[0].title);
    for (CKestrixDoc* doc : {first, second})
        for (HintCounter& spy : spies)
            doc->RemoveView(&spy);
}

TEST_F(ProgramTools, SettingsRefusesRowsAndSecondsOutOfRange)
{
    TakeOverDialogs();
    HWND settings = nullptr;
    std::atomic<int> openAfterMessage{0};
    // After each range message the Settings dialog is still there, holding
    // what was typed; the user corrects it.
    auto answerMessage = [&](const char* seconds, const char* rows) {
        return [&, seconds, rows](HWND message) {
            DialogUser::PressLater(message, IDOK);
            Sleep(300);
            if (IsWindowVisible(settings))
                ++openAfterMessage;
            DialogUser::Type(settings, IDC_ROW_SECONDS, seconds);
            DialogUser::Type(settings, IDC_ROWS_PER_PAGE, rows);
            DialogUser::PressLater(settings, IDOK);
        };
    };
    m_user->Queue([&](HWND d) {
        settings = d;
        DialogUser::Type(d, IDC_ROW_SECONDS, "11");
        DialogUser::PressLater(d, IDOK);
    });
    m_user->Queue(answerMessage("3", "10"));
    m_user->Queue(answerMessage("3", "9"));
    Command(ID_OPTIONS_SETTINGS);

    const std::vector<DialogUser::Seen> seen = m_user->Seen_();
    ASSERT_EQ(3u, seen.size());
    EXPECT_TRUE(seen[1].Mentions(std::string(m_app->GetLangString(65))));
    EXPECT_TRUE(seen[2].Mentions(std::string(m_app->GetLangString(66))));
    EXPECT_EQ(2, openAfterMessage.load());
    EXPECT_FALSE(IsWindow(settings));
    EXPECT_EQ(3000, m_app->GetSetting("lengthPerRow"));
    EXPECT_EQ(9, m_app->GetSetting("rowsPerPage"));
    EXPECT_EQ(3000, Doc()->GetRowLength());
}

TEST_F(ProgramTools, ThePanelsShowTheActiveDocument)
{
    AnalyzeSong();
    CKestrixDoc* a = Doc();
    m_panel->OnLoopToggle();
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_BASS);
    Pump(*m_app);
    ASSERT_FALSE(m_tools->AreChordOptionsShown());

    // A new document: no song, no loop, chord options, no tuning or key.
    m_frame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    Pump(*m_app);
    ASSERT_NE(a, Doc());
    float tuning = 0;
    CString key;
    m_app->GetActiveDocInfo(tuning, key);
    EXPECT_FALSE(m_panel->IsSongLoaded());
    EXPECT_FALSE(m_panel->IsLoopShown());
    EXPECT_TRUE(m_tools->AreChordOptionsShown());
    EXPECT_TRUE(key.IsEmpty());

    // Back to the song: all of it again.
    auto* frameOfA = dynamic_cast<CMDIChildWnd*>(AfxGetParentFrame(a->GetBassView()));
    ASSERT_NE(frameOfA, nullptr);
    frameOfA->MDIActivate();
    Pump(*m_app);
    ASSERT_EQ(a, Doc());
    m_app->GetActiveDocInfo(tuning, key);
    EXPECT_TRUE(m_panel->IsSongLoaded());
    EXPECT_TRUE(m_panel->IsLoopShown());
    EXPECT_FALSE(m_tools->AreChordOptionsShown());
    EXPECT_EQ(std::string(a->GetKey()), std::string(key));
}

TEST_F(ProgramTools, TransposeRenamesTheChordsAndRefusesTwelve)
{
    AnalyzeSong();
    const std::vector<std::string> before = ShownNames();
    ASSERT_FALSE(before.empty());
    TakeOverDialogs();

    // Control > Transpose: "+" twice.
    m_user->Queue([](HWND d) {
        DialogUser::Press(d, IDC_TRANSPOSE_PLUS);
        DialogUser::Press(d, IDC_TRANSPOSE_PLUS);
        DialogUser::PressLater(d, IDOK);
    });
    Command(ID_CONTROL_TRANSPOSE);
    ASSERT_EQ(2, Doc()->GetTranspose());
    const std::vector<std::string> after = ShownNames();
    ASSERT_EQ(before.size(), after.size());
    static const char* names[12] = {"A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    auto root = [&](const std::string& n) {
        int best = -1;
        size_t len = 0;
        for (int i = 0; i < 12; ++i)
            if (n.compare(0, strlen(names[i]), names[i]) == 0 && strlen(names[i]) > len) {
                best = i;
                len = strlen(names[i]);
            }
        return best;
    };
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ((root(before[i]) + 2) % 12, root(after[i])) << before[i] << " -> " << after[i];
    // The tools panel's key moves with the chords; the stored key stays.
    float tuning = 0;
    CString key;
    ASSERT_TRUE(m_app->GetActiveDocInfo(tuning, key));
    ASSERT_FALSE(key.IsEmpty());
    EXPECT_EQ(std::string(TransposeKeyText(Doc()->GetKey(), 2)), std::string(key));
    EXPECT_NE(std::string(Doc()->GetKey()), std::string(key));

    // From the transport panel's zone: the dialog shows 2; 12 is refused
    // with the range message and the dialog stays; Cancel keeps 2.
    std::string shown;
    HWND transpose = nullptr;
    m_user->Queue([&](HWND d) {
        transpose = d;
        shown = DialogUser::Text(d, IDC_TRANSPOSE_VALUE);
        DialogUser::Type(d, IDC_TRANSPOSE_VALUE, "12");
        DialogUser::PressLater(d, IDOK);
    });
    m_user->Queue([&](HWND d) {
        EXPECT_TRUE(IsWindowVisible(transpose));
        DialogUser::PressLater(d, IDOK); // the message
        Sleep(300);
        EXPECT_TRUE(IsWindow(transpose));
        DialogUser::Press(transpose, IDC_TRANSPOSE_PLUS);
        EXPECT_EQ("11", DialogUser::Text(transpose, IDC_TRANSPOSE_VALUE));
        DialogUser::PressLater(transpose, IDCANCEL);
    });
    Click({46, 53});
    PumpUntil(*m_app, [&] { return m_user->Pending() == 0; }, 10000);
    PumpFor(*m_app, 500);
    EXPECT_EQ("2", shown);
    const auto seen = m_user->Seen_();
    ASSERT_EQ(3u, seen.size());
    EXPECT_TRUE(seen[2].Mentions(std::string(m_app->GetLangString(73))));
    EXPECT_EQ(2, Doc()->GetTranspose());
}

TEST_F(ProgramTools, RebuildAfterMenuAnalyzeAndTransposeWithTheLeadSheetShown)
{
    OpenSong(WriteSong("g major.wav", SynthSong(kRate, 26.0, 2)));
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
    Pump(*m_app);
    auto* sheet = dynamic_cast<CChordEditView*>(Doc()->GetLeadSheetView());
    ASSERT_TRUE(sheet && sheet->IsWindowVisible());
    auto rebuilt = [&] {
        m_frame->SendMessage(WM_COMMAND, ID_VIEW_REBUILD_LEAD_SHEET);
        Pump(*m_app);
        std::string all;
        for (CKestrixRichEdit* box : sheet->GetTextBoxes())
            all += TextOf(box->m_hWnd);
        return all;
    };
    auto firstName = [&] {
        std::vector<ChordEntry> chords;
        Doc()->GetChords(chords);
        return chords.empty() ? std::string("(none)") : std::string(chords.front().name);
    };
    // The chord grid is never shown: the menu's Analyze, then Rebuild.
    m_frame->PostMessage(WM_COMMAND, ID_CONTROL_ANALYZE);
    ASSERT_TRUE(PumpUntil(*m_app, [&] { return Doc()->HasChords(); }, 30000));
    PumpFor(*m_app, 300);
    const std::string analysed = rebuilt(), name = firstName();
    EXPECT_NE(analysed.find(name), std::string::npos) << name << " in " << analysed;
    // Control > Transpose +2, then Rebuild.
    TakeOverDialogs();
    m_user->Queue([](HWND d) {
        DialogUser::Press(d, IDC_TRANSPOSE_PLUS);
        DialogUser::Press(d, IDC_TRANSPOSE_PLUS);
        DialogUser::PressLater(d, IDOK);
    });
    Command(ID_CONTROL_TRANSPOSE);
    ASSERT_EQ(2, Doc()->GetTranspose());
    const std::string transposed = rebuilt();
    EXPECT_NE(firstName(), name);
    EXPECT_NE(transposed.find(firstName()), std::string::npos) << firstName() << " in " << transposed;
    EXPECT_NE(transposed, analysed);
}

// File > Close tried on the main window's menu bar with the system's mouse,
// as a user would while a box of the panel is open; from the user's thread.
void TryCloseFromTheMenu(HWND frame)
{
    auto click = [](const RECT& r) {
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        Sleep(500);
    };
    HMENU bar = GetMenu(frame);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        HMENU file = GetSubMenu(bar, i);
        if (!file || GetMenuState(file, ID_FILE_CLOSE, MF_BYCOMMAND) == (UINT)-1)
            continue;
        RECT r;
        if (!GetMenuItemRect(frame, bar, (UINT)i, &r))
            return;
        click(r);
        // The item's place exists only while the menu is open.
        for (int k = 0; k < GetMenuItemCount(file); ++k)
            if (GetMenuItemID(file, k) == ID_FILE_CLOSE && GetMenuItemRect(nullptr, file, (UINT)k, &r))
                click(r);
        return;
    }
}

TEST_F(ProgramTools, ThePanelsBoxesHoldTheMainWindowAndSitOverIt)
{
    AnalyzeSong();
    TakeOverDialogs();
    CRect frame;
    GetWindowRect(m_frame->m_hWnd, &frame);

    // Transpose from the panel; meanwhile File > Close on the main window.
    bool held = false;
    POINT centre = {};
    m_user->Queue([&](HWND d) {
        held = !IsWindowEnabled(m_frame->m_hWnd);
        CRect r;
        GetWindowRect(d, &r);
        centre = r.CenterPoint();
        TryCloseFromTheMenu(m_frame->m_hWnd);
        DialogUser::Press(d, IDC_TRANSPOSE_PLUS);
        DialogUser::PressLater(d, IDOK);
    });
    Click({46, 53});
    PumpUntil(*m_app, [&] { return m_user->Pending() == 0; }, 10000);
    PumpFor(*m_app, 500);
    EXPECT_TRUE(held);
    ASSERT_NE(nullptr, Doc());
    EXPECT_EQ(1, Doc()->GetTranspose());
    EXPECT_TRUE(IsWindowEnabled(m_frame->m_hWnd));
    // Placed by nobody: centred over the main window.
    EXPECT_NEAR(frame.CenterPoint().x, centre.x, 2);
    EXPECT_NEAR(frame.CenterPoint().y, centre.y, 2);

    // A message of the panel (a song at a low rate) left open the same way.
    const std::string low = WriteSong("low.wav", PositionSong(kRate / 2), 2, 22050);
    held = false;
    POINT fileCentre = {};
    m_user->Queue([&](HWND d) {
        CRect r;
        GetWindowRect(d, &r);
        fileCentre = r.CenterPoint();
        SendMessageTimeoutA(BoxWatcher::FileNameEdit(d), WM_SETTEXT, 0, (LPARAM)low.c_str(), SMTO_ABORTIFHUNG, 5000,
                            nullptr);
        DialogUser::PressLater(d, IDOK);
    });
    m_user->Queue([&](HWND d) { DialogUser::PressLater(d, IDNO); }); // the song in this document
    m_user->Queue([&](HWND d) {
        held = !IsWindowEnabled(m_frame->m_hWnd);
        TryCloseFromTheMenu(m_frame->m_hWnd);
        DialogUser::PressLater(d, IDOK);
    });
    Click(kOpen);
    PumpUntil(*m_app, [&] { return m_user->Pending() == 0; }, 10000);
    PumpFor(*m_app, 500);
    EXPECT_TRUE(held);
    // The system's file dialog too, though it belongs to the panel in a
    // corner (it settles its own height after it is placed).
    EXPECT_NEAR(frame.CenterPoint().x, fileCentre.x, 2);
    EXPECT_NEAR(frame.CenterPoint().y, fileCentre.y, 20);
    ASSERT_NE(nullptr, Doc());
    EXPECT_TRUE(Doc()->HasAudio());
    EXPECT_EQ(22050, Doc()->GetPlayer()->GetSampleRate());
    const auto seen = m_user->Seen_();
    ASSERT_EQ(4u, seen.size());
    EXPECT_TRUE(seen[3].Mentions(std::string(m_app->GetLangString(54))));
}

TEST_F(ProgramTools, TheRecentFilePlaceholderSpeaksTheLanguage)
{
    while (m_app->m_pRecentFileList && m_app->m_pRecentFileList->GetSize() > 0)
        m_app->m_pRecentFileList->Remove(0);
    m_app->SetLanguage("Deutsch");
    CMDIChildWnd* child = m_frame->MDIGetActive();
    ASSERT_NE(nullptr, child);
    HMENU file = GetSubMenu(GetMenu(m_frame->m_hWnd), child->IsZoomed() ? 1 : 0);
    ASSERT_NE(nullptr, file);
    SendMessageA(m_frame->m_hWnd, WM_INITMENUPOPUP, (WPARAM)file, 0);
    char text[128] = "";
    GetMenuStringA(file, ID_FILE_MRU_FILE1, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(m_app->GetLangString(14)), text);
    EXPECT_NE(std::string("Recent File"), text);
    m_app->SetLanguage("English");
}

} // namespace
