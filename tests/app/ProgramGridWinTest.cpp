// The chord grid of the running program, used as a user does: a song opened
// and analysed through the transport panel, then the pages read back from
// the screen and worked with the system's mouse and keyboard.
#include <set>

#include "ProgramGridFixture.h"
#include "views/ChordEditView.h"
#include "views/GChordDlg.h"
#include "views/KestrixView.h"
#include "views/OstrelView.h"

namespace {

TEST_F(ProgramGrid, AnalysedChordsAppearOnThePagesWithTheEnginesNames)
{
    AnalyzeSong();
    CKestrixView* view = View();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->IsWindowVisible());
    ASSERT_TRUE(view->IsLayoutBuilt());
    ASSERT_GE(view->GetRows().size(), 5u); // 26 s in rows of 6 s

    std::vector<ChordEntry> chords;
    Doc()->GetChords(chords);
    const auto shown = ShownChords();
    ASSERT_FALSE(shown.empty());
    int drawn = 0;
    for (const auto& s : shown) {
        const ChordEntry& c = view->GetRows()[(size_t)s.first].items[(size_t)s.second];
        // Names come from the engine: note names, never empty.
        ASSERT_FALSE(c.name.IsEmpty());
        EXPECT_TRUE(std::string("ABCDEFG").find(c.name[0]) != std::string::npos) << c.name;
        // Every shown chord is one of the document's, at its time.
        const int time = view->RowStartMs(s.first) + view->GetRows()[(size_t)s.first].offsets[(size_t)s.second];
        bool found = false;
        for (const ChordEntry& d : chords)
            found |= d.time == time && d.root == c.root;
        EXPECT_TRUE(found) << c.name << " at " << time;
        // And its name is on the screen where the view says it is.
        CRect box = view->GetChordRect(s.second, s.first);
        CRect client;
        view->GetClientRect(&client);
        if (box.bottom < client.bottom && box.top > 0) {
            EXPECT_GT(DarkPixels(box), 10) << c.name;
            ++drawn;
        }
    }
    EXPECT_GT(drawn, 2);
    // The row texts the lead sheet reads hold the names.
    EXPECT_FALSE(Doc()->GetRowText(0).IsEmpty());
    EXPECT_NE(std::string(Doc()->GetRowText(0)).find(std::string(chords[0].name)), std::string::npos);
}

TEST_F(ProgramGrid, HoverHandsOnTheChordAndThePitches)
{
    AnalyzeSong();
    CKestrixView* view = View();
    const auto shown = ShownChords();
    ASSERT_FALSE(shown.empty());
    const CRect box = view->GetChordRect(shown[0].second, shown[0].first);
    MoveTo(box.CenterPoint().x, box.CenterPoint().y);
    CString name = view->GetRows()[(size_t)shown[0].first].items[(size_t)shown[0].second].name;
    if (name.Find('/') >= 0)
        name = name.Left(name.Find('/'));
    EXPECT_EQ(std::string(name), std::string(m_app->GetShownChordName()));
    // The chord diagram shows that chord, in its first version.
    CGChordDlg* diagram = m_app->GetChordDiagramDlg();
    ASSERT_NE(diagram, nullptr);
    CString inDiagram = diagram->GetCurrentName();
    CString wanted = name;
    inDiagram.MakeLower();
    wanted.MakeLower();
    EXPECT_EQ(std::string(wanted), std::string(inDiagram));
    EXPECT_EQ(1, diagram->GetCurrentVersion());
    EXPECT_GE(diagram->GetCurrentIndex(), 0);

    // On the time line the pitches sounding there are handed on.
    const ChordRow& row = view->GetRows()[1];
    MoveTo(row.lineStart.x + 100, row.lineStart.y - 2);
    const std::string pitches = m_app->GetToolsPanelText().GetString();
    EXPECT_FALSE(pitches.empty());
    for (char ch : pitches)
        EXPECT_TRUE(std::string("ABCDEFG#b").find(ch) != std::string::npos) << pitches;

    // Off the chords and rows the panel is cleared; the diagram keeps the
    // last chord, so that its version arrows can be reached.
    MoveTo(5, row.lineStart.y - 2);
    EXPECT_TRUE(m_app->GetShownChordName().IsEmpty());
    EXPECT_TRUE(m_app->GetToolsPanelText().IsEmpty());
    CString kept = diagram->GetCurrentName();
    kept.MakeLower();
    EXPECT_EQ(std::string(wanted), std::string(kept));
    EXPECT_GE(diagram->GetCurrentIndex(), 0);
}

TEST_F(ProgramGrid, ChordsAreTypedDraggedAndDeleted)
{
    AnalyzeSong();
    CKestrixView* view = View();
    std::vector<ChordEntry> before;
    Doc()->GetChords(before);

    // Typing at a caret above a time line.
    POINT spot, target;
    ASSERT_TRUE(FreeNameSpot(2, &spot));
    // Where to drag it: clear of the analysed chords, 100 pixels on at least.
    ASSERT_TRUE(FreeNameSpot(2, &target, spot.x + 100));
    ClickView(spot.x, spot.y);
    ASSERT_TRUE(view->IsTyping());
    Key('A');
    Key('M');
    Key('7');
    EXPECT_EQ(std::string("am7"), std::string(view->GetTypedText()));
    Key(VK_RETURN);
    std::vector<ChordEntry> after;
    Doc()->GetChords(after);
    ASSERT_EQ(before.size() + 1, after.size());
    const ChordEntry* typed = nullptr;
    for (const ChordEntry& c : after)
        if (c.confidence == 120)
            typed = &c;
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(0, typed->root);
    EXPECT_FALSE(typed->major);
    EXPECT_EQ(std::string("7"), std::string(typed->suffix));
    EXPECT_EQ(std::string("Am7"), std::string(typed->name));
    const int row2 = view->RowStartMs(2);
    EXPECT_GT(typed->time, row2);
    EXPECT_LT(typed->time, row2 + 6000);
    const int typedTime = typed->time;

    // The typed chord is shown; drag it to the right.
    int index = -1;
    const auto& items = view->GetRows()[2].items;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].confidence == 120)
            index = (int)i;
    ASSERT_GE(index, 0);
    ASSERT_TRUE(items[(size_t)index].visible);
    const CRect box = view->GetChordRect(index, 2);
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    MoveTo(box.CenterPoint().x, box.CenterPoint().y);
    Button(true);
    EXPECT_TRUE(view->IsChordSelected(index, 2));
    const int shift = target.x - box.CenterPoint().x;
    for (int step = 1; step <= 10; ++step)
        MoveTo(box.CenterPoint().x + shift * step / 10, box.CenterPoint().y);
    Button(false);
    Doc()->GetChords(after);
    ASSERT_EQ(before.size() + 1, after.size());
    int moved = -1;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i].root == 0 && !after[i].major && after[i].suffix == "7")
            moved = (int)i;
    ASSERT_GE(moved, 0);
    const double msPerPixel = 1.0 / (view->Geometry().zoom * view->Geometry().pixelsPerMs);
    EXPECT_NEAR(typedTime + shift * msPerPixel, after[(size_t)moved].time, 40 * msPerPixel);
    for (size_t i = 1; i < after.size(); ++i)
        EXPECT_LE(after[i - 1].time, after[i].time);

    // Select it and delete it with the Delete key.
    for (size_t i = 0; i < view->GetRows()[2].items.size(); ++i)
        if (view->GetRows()[2].items[i].confidence == 120)
            index = (int)i;
    const CRect now = view->GetChordRect(index, 2);
    ClickView(now.CenterPoint().x, now.CenterPoint().y);
    ASSERT_TRUE(view->IsChordSelected(index, 2));
    Key(VK_DELETE, true);
    Doc()->GetChords(after);
    EXPECT_EQ(before.size(), after.size());
    for (const ChordEntry& c : after)
        EXPECT_NE(120, c.confidence);
    // Delete with nothing selected does nothing.
    Key(VK_DELETE, true);
    Doc()->GetChords(after);
    EXPECT_EQ(before.size(), after.size());

    // A dragged chord lands where its preview stood: a few pixels left of
    // row 2's start at that row's start (not at the end of row 1), past the
    // last row's end at the song's end; released over another window (the
    // panel) it stays where it was.
    // The time of the chord that is not in an older list, -1 for none.
    auto newTime = [&](const std::vector<ChordEntry>& was) {
        Doc()->GetChords(after);
        std::multiset<int> times;
        for (const ChordEntry& c : was)
            times.insert(c.time);
        for (const ChordEntry& c : after)
            if (!times.count(c.time))
                return c.time;
            else
                times.erase(times.find(c.time));
        return -1;
    };
    auto dropAt = [&](std::pair<int, int> pick, CPoint drop) {
        std::vector<ChordEntry> was;
        Doc()->GetChords(was);
        const CPoint from = view->GetChordRect(pick.second, pick.first).CenterPoint();
        PumpFor(*m_app, GetDoubleClickTime() + 50);
        MoveTo(from.x, from.y);
        Button(true);
        EXPECT_TRUE(view->IsChordSelected(pick.second, pick.first));
        for (int step = 1; step <= 10; ++step)
            MoveTo(from.x + (drop.x - from.x) * step / 10, from.y + (drop.y - from.y) * step / 10);
        Button(false);
        const int t = newTime(was);
        EXPECT_EQ(was.size(), after.size());
        return t;
    };
    const auto& rows = view->GetRows();
    EXPECT_EQ(view->RowStartMs(2) + 1, dropAt(ShownChords()[1], CPoint(rows[2].lineStart.x - 6, rows[2].lineStart.y - 30)));
    EXPECT_EQ((int)Doc()->GetTotalLength(),
              dropAt(ShownChords().back(), CPoint(rows.back().lineEnd.x + 40, rows.back().lineStart.y - 30)));
    ParkPanel();
    CRect panel, client;
    m_panel->GetWindowRect(&panel);
    view->ScreenToClient(&panel);
    view->GetClientRect(&client);
    ASSERT_TRUE(client.PtInRect(panel.CenterPoint()));
    EXPECT_EQ(-1, dropAt(ShownChords()[0], panel.CenterPoint()));

    // Typed text stays on the page when the view scrolls under it.
    ASSERT_TRUE(FreeNameSpot(2, &spot));
    ClickView(spot.x, spot.y);
    Key('D');
    const int top = view->GetScrollPosition().y;
    for (int i = 0; i < 5; ++i)
        view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    const int dy = view->GetScrollPosition().y - top;
    ASSERT_GT(dy, 20);
    // The "D" where the page took it, with and without it (the caret left out).
    auto ink = [&] {
        RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return DarkPixels({spot.x + 1, spot.y - dy - 8, spot.x + 9, spot.y - dy + 4});
    };
    const int withD = ink();
    Key(VK_DELETE, true);
    EXPECT_GT(withD, ink() + 5);
    view->ScrollToPosition(CPoint(view->GetScrollPosition().x, top));
    RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    // A name typed at a row's end stays on that row.
    ClickView(rows[1].lineEnd.x - 3, rows[1].lineStart.y - (int)(20 * view->Geometry().zoom) - 8);
    ASSERT_TRUE(view->IsTyping());
    std::vector<ChordEntry> was;
    Doc()->GetChords(was);
    for (WORD k : {'C', 'M', 'A', 'J', '7'})
        Key(k);
    Key(VK_RETURN);
    EXPECT_EQ(view->RowStartMs(2), newTime(was));
    EXPECT_EQ(was.size() + 1, after.size());

    // Pending when the rows change, typed text goes in at its time.
    ASSERT_TRUE(FreeNameSpot(3, &spot));
    ClickView(spot.x, spot.y);
    Doc()->GetChords(was);
    Key('E');
    const int from = view->RowStartMs(3), to = view->RowStartMs(4);
    Doc()->SetLayout(4000, 7);
    const int e = newTime(was);
    EXPECT_GT(e, from);
    EXPECT_LE(e, to);
}

TEST_F(ProgramGrid, ClicksOnTimeLinesSeekAndKeysPlaySkipAndRewind)
{
    AnalyzeSong();
    CKestrixView* view = View();
    const ChordRow& row = view->GetRows()[1];
    ClickView(row.lineStart.x + 200, row.lineStart.y);
    const double msPerPixel = 1.0 / (view->Geometry().zoom * view->Geometry().pixelsPerMs);
    EXPECT_NEAR(6000 + 200 * msPerPixel, Doc()->GetPosition(), msPerPixel * 2 + 2);
    EXPECT_FALSE(Doc()->IsPlaying());

    Key('0');
    EXPECT_EQ(0, (int)Doc()->GetPosition());
    Key(VK_RIGHT, true);
    EXPECT_EQ(2000, (int)Doc()->GetPosition());
    Key(VK_RIGHT, true);
    Key(VK_LEFT, true);
    EXPECT_EQ(2000, (int)Doc()->GetPosition());

    Key(VK_SPACE);
    EXPECT_TRUE(Doc()->IsPlaying());
    EXPECT_TRUE(m_panel->IsPlayingShown());
    Key(VK_SPACE);
    EXPECT_FALSE(Doc()->IsPlaying());
    EXPECT_FALSE(m_panel->IsPlayingShown());
}

TEST_F(ProgramGrid, LyricLinesNavigateAndKeepTheirTextsThroughZoom)
{
    AnalyzeSong();
    CKestrixView* view = View();
    std::vector<CKestrixEdit*>& edits = Doc()->GetLyricEdits();
    ASSERT_EQ(view->GetRows().size(), edits.size());

    CRect r0;
    edits[0]->GetWindowRect(&r0);
    view->ScreenToClient(&r0);
    ASSERT_GT(r0.Width(), 100);
    ClickView(r0.CenterPoint().x, r0.CenterPoint().y);
    ASSERT_EQ(edits[0]->m_hWnd, GetFocus());
    edits[0]->SetWindowText("");
    Key('L');
    Key('A');
    Key(VK_RETURN);
    PumpFor(*m_app, 100);
    EXPECT_EQ(edits[1]->m_hWnd, GetFocus());
    Key('O');
    Key(VK_UP, true);
    PumpFor(*m_app, 100);
    EXPECT_EQ(edits[0]->m_hWnd, GetFocus());
    EXPECT_EQ("la", TextOf(edits[0]->m_hWnd));
    EXPECT_EQ("o", TextOf(edits[1]->m_hWnd));
    // Backspace in an empty line goes on at the end of the line above,
    // wherever its caret was.
    Key(VK_DOWN, true);
    Key(VK_DOWN, true);
    PumpFor(*m_app, 100);
    ASSERT_EQ(edits[2]->m_hWnd, GetFocus());
    edits[2]->SetWindowText("");
    edits[1]->SetSel(0, 0);
    Key(VK_BACK);
    PumpFor(*m_app, 100);
    ASSERT_EQ(edits[1]->m_hWnd, GetFocus());
    Key('K');
    EXPECT_EQ("ok", TextOf(edits[1]->m_hWnd));

    // Zoom in and out: the texts stay, the edits follow their rows.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_ZOOM_IN);
    Pump(*m_app);
    RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FLOAT_EQ(0.7f, Doc()->GetZoom());
    CRect bigger;
    edits[0]->GetWindowRect(&bigger);
    EXPECT_GT(bigger.Width(), r0.Width());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_ZOOM_OUT);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_ZOOM_OUT);
    Pump(*m_app);
    RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ("la", TextOf(edits[0]->m_hWnd));
    EXPECT_EQ("ok", TextOf(edits[1]->m_hWnd));
    CRect smaller;
    edits[0]->GetWindowRect(&smaller);
    EXPECT_LT(smaller.Width(), r0.Width());
    EXPECT_GT(smaller.Width(), 0);
}

TEST_F(ProgramGrid, CloseFromTheMenuClosesTheWindow)
{
    ASSERT_NE(m_frame->MDIGetActive(), nullptr);
    m_boxes->SetAnswer(IDNO);
    m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    Pump(*m_app);
    EXPECT_EQ(m_frame->MDIGetActive(), nullptr);
    EXPECT_EQ(m_app->GetActiveDoc(), nullptr);
}

TEST_F(ProgramGrid, ASongOpenedInTheSameDocumentStartsAtZero)
{
    OpenSong(WriteSong("first.wav", PositionSong(8 * kRate)));
    Doc()->Seek(6500, true);
    ASSERT_EQ(6500, (int)Doc()->GetPosition());
    m_boxes->SetAnswer(IDNO); // not a new document: replace the song
    OpenSong(WriteSong("second.wav", PositionSong(3 * kRate)));
    EXPECT_EQ(0, (int)Doc()->GetPosition());
    EXPECT_EQ(std::string("second"), std::string(Doc()->GetTitle()));
    EXPECT_EQ(3000, Doc()->GetTotalLength());
}

} // namespace

namespace {

TEST_F(ProgramGrid, TheCursorFollowsPlaybackAndStopsAtTheEnd)
{
    AnalyzeSong();
    CKestrixView* view = View();
    ClickView(view->GetRows()[0].lineStart.x + 5, view->GetRows()[0].lineStart.y);
    Key('0');
    const CRect start = view->GetCursorRect();
    Key(VK_SPACE);
    ASSERT_TRUE(Doc()->IsPlaying());
    EXPECT_TRUE(view->IsCursorTimerRunning());
    PumpFor(*m_app, 700);
    const CRect later = view->GetCursorRect();
    EXPECT_GT(later.left, start.left + 20);
    EXPECT_EQ(later.Width(), start.Width());

    // Near the end: playback stops by itself, panel and document agree.
    Doc()->Seek(Doc()->GetTotalLength() - 300, true);
    ASSERT_TRUE(PumpUntil(*m_app, [&] { return !Doc()->IsPlaying(); }, 3000));
    PumpFor(*m_app, 100);
    EXPECT_FALSE(view->IsCursorTimerRunning());
    EXPECT_FALSE(m_panel->IsPlayingShown());
    EXPECT_EQ(Doc()->GetTotalLength() - 1, (int)Doc()->GetPosition());
}

TEST_F(ProgramGrid, ARangeDrawnAcrossATimeLineLoopsPlayback)
{
    AnalyzeSong();
    CKestrixView* view = View();
    const ChordRow& row = view->GetRows()[0];
    const double pxPerMs = view->Geometry().zoom * view->Geometry().pixelsPerMs;
    const int x1 = row.lineStart.x + (int)(1000 * pxPerMs), x2 = row.lineStart.x + (int)(3000 * pxPerMs);
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    MoveTo(x1, row.lineStart.y);
    Button(true);
    for (int step = 1; step <= 12; ++step)
        MoveTo(x1 + (x2 - x1) * step / 12, row.lineStart.y + 1);
    Button(false);
    ASSERT_TRUE(view->IsSelectionMode());
    EXPECT_NEAR(1000, view->GetLoopStart(), 30);
    EXPECT_NEAR(3000, view->GetLoopEnd(), 30);
    EXPECT_EQ(1u, view->GetSelectionBands().size());
    EXPECT_TRUE(Doc()->IsLoopOn());

    // Played, it comes round at the loop's end, back to the loop's start.
    // (The sound device here is a file, which takes samples faster than real
    // time, so how far past the end a tick sees the position varies.)
    Key(VK_SPACE);
    ASSERT_TRUE(Doc()->IsPlaying());
    int highest = 0, rounds = 0, lowestAfterRound = 1 << 30;
    const DWORD until = GetTickCount() + 3500;
    while (GetTickCount() < until) {
        PumpFor(*m_app, 20);
        const int p = (int)Doc()->GetPosition();
        if (highest > view->GetLoopEnd() - 500 && p < view->GetLoopStart() + 500) {
            ++rounds;
            highest = 0;
        }
        if (rounds > 0 && p < lowestAfterRound)
            lowestAfterRound = p;
        if (p > highest)
            highest = p;
    }
    EXPECT_GE(rounds, 1);
    EXPECT_GE(lowestAfterRound, view->GetLoopStart() - 10);
    Key(VK_SPACE);

    // A double click ends the loop.
    const CPoint free(row.lineStart.x + 40, row.lineStart.y + 60);
    MoveTo(free.x, free.y);
    DoubleClick();
    EXPECT_FALSE(view->IsSelectionMode());
    EXPECT_TRUE(view->GetSelectionBands().empty());
    EXPECT_FALSE(Doc()->IsLoopOn());

    // A range under half a second is no loop.
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    MoveTo(x1, row.lineStart.y);
    Button(true);
    const int x3 = x1 + (int)(300 * pxPerMs);
    for (int step = 1; step <= 8; ++step)
        MoveTo(x1 + (x3 - x1) * step / 8, row.lineStart.y);
    Button(false);
    EXPECT_FALSE(view->IsSelectionMode());
    EXPECT_TRUE(view->GetSelectionBands().empty());
}

TEST_F(ProgramGrid, ALoopKeepsItsRowsThroughSettingsAndStaysOffAfterAClick)
{
    OpenSong(WriteSong("loop.wav", PositionSong(26 * kRate)));
    CKestrixView* view = View();
    // A range on row 4, the last of 6 s rows.
    const ChordRow& row = view->GetRows()[4];
    const double pxPerMs = view->Geometry().zoom * view->Geometry().pixelsPerMs;
    const int x1 = row.lineStart.x + (int)(200 * pxPerMs), x2 = row.lineStart.x + (int)(1500 * pxPerMs);
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    MoveTo(x1, row.lineStart.y);
    Button(true);
    for (int step = 1; step <= 12; ++step)
        MoveTo(x1 + (x2 - x1) * step / 12, row.lineStart.y);
    Button(false);
    ASSERT_TRUE(view->IsSelectionMode());
    const int a = view->GetLoopStart(), b = view->GetLoopEnd();

    // Settings: rows of 10 s. The loop lies on row 2 now, the last.
    Doc()->SetLayout(10000, 7);
    RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto& rows = view->GetRows();
    ASSERT_EQ(3u, rows.size());
    EXPECT_TRUE(view->IsSelectionMode());
    EXPECT_EQ(a, view->GetLoopStart());
    EXPECT_EQ(b, view->GetLoopEnd());
    ASSERT_EQ(1u, view->GetSelectionBands().size());
    const CRect band = view->GetSelectionBands()[0];
    EXPECT_NEAR(rows[2].lineStart.y, band.CenterPoint().y, 1);
    EXPECT_EQ(view->TimeToX(a), band.left);
    EXPECT_EQ(view->TimeToX(b), band.right);

    // Switched off on the panel, the loop stays off after a click in the view.
    ParkPanel();
    Click(kLoop);
    ASSERT_FALSE(Doc()->IsLoopOn());
    ClickView(rows[0].lineStart.x + 100, rows[0].lineStart.y);
    EXPECT_FALSE(Doc()->IsLoopOn());
    EXPECT_FALSE(m_panel->IsLoopShown());
}

} // namespace

namespace {

class ProgramTab : public ProgramGrid {
protected:
    COstrelView* Tab() { return dynamic_cast<COstrelView*>(Doc()->GetBassView()); }
    void ShowTab()
    {
        m_frame->SendMessage(WM_COMMAND, ID_VIEW_BASS);
        Pump(*m_app);
        ParkPanel();
        RedrawWindow(Tab()->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(*m_app);
    }
};

TEST_F(ProgramTab, TheBassViewShowsFretsAndTakesTypedNotes)
{
    AnalyzeSong();
    ShowTab();
    COstrelView* tab = Tab();
    ASSERT_NE(tab, nullptr);
    ASSERT_TRUE(tab->IsWindowVisible());
    EXPECT_FALSE(View()->IsWindowVisible());
    ASSERT_TRUE(tab->IsLayoutBuilt());
    std::vector<BassNote> before;
    Doc()->GetBassNotes(before);
    ASSERT_FALSE(before.empty());

    // The shown notes are on the screen as fret numbers on their strings.
    int drawn = 0;
    const auto& rows = tab->GetRows();
    for (size_t r = 0; r < rows.size() && r < 4; ++r)
        for (size_t i = 0; i < rows[r].items.size(); ++i) {
            const CRect box = tab->GetNoteRect((int)i, (int)r);
            if (box.IsRectEmpty())
                continue;
            HDC dc = GetDC(tab->m_hWnd);
            int dark = 0;
            for (int y = box.top; y < box.bottom; ++y)
                for (int x = box.left; x < box.right; ++x) {
                    const COLORREF c = GetPixel(dc, x, y);
                    dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 500;
                }
            ReleaseDC(tab->m_hWnd, dc);
            EXPECT_GT(dark, 3);
            ++drawn;
        }
    EXPECT_GT(drawn, 0);

    // Type fret 12 on the A string where no note is.
    const TabRow& row = rows[2];
    int x = -1;
    const double pxPerMs = tab->Geometry().zoom * tab->Geometry().pixelsPerMs;
    for (int cand = row.lineStart.x + 30; cand < row.lineEnd.x - 40 && x < 0; cand += 10) {
        bool free = true;
        for (size_t i = 0; i < row.items.size(); ++i)
            if (abs(row.lineStart.x + (int)(row.offsets[i] * pxPerMs) - cand) < 40)
                free = false;
        if (free)
            x = cand;
    }
    ASSERT_GE(x, 0);
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    SendClick(tab->m_hWnd, x, tab->StringY(2, 1));
    PumpFor(*m_app, 100);
    ASSERT_TRUE(tab->IsTyping());
    Doc()->SetModifiedFlag(FALSE);
    Key('1');
    Key('2');
    Key(VK_RETURN);
    std::vector<BassNote> after;
    Doc()->GetBassNotes(after);
    ASSERT_EQ(before.size() + 1, after.size());
    EXPECT_TRUE(Doc()->IsModified());
    Doc()->SetModifiedFlag(FALSE);
    const BassNote* typed = nullptr;
    for (const BassNote& n : after)
        if (n.level == 120)
            typed = &n;
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(0, typed->pitch);
    EXPECT_EQ(1, typed->octave);
    EXPECT_EQ((12 << 16) | 1, typed->placement);
    EXPECT_GT(typed->time, tab->RowStartMs(2));

    // Selected by a click on its digits, gone with Delete.
    int index = -1;
    for (size_t i = 0; i < tab->GetRows()[2].items.size(); ++i)
        if (tab->GetRows()[2].items[i].level == 120)
            index = (int)i;
    ASSERT_GE(index, 0);
    const CRect box = tab->GetNoteRect(index, 2);
    ASSERT_FALSE(box.IsRectEmpty());
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    SendClick(tab->m_hWnd, box.CenterPoint().x, tab->StringY(2, 1));
    PumpFor(*m_app, 100);
    EXPECT_TRUE(tab->IsNoteSelected(index, 2));
    Key(VK_DELETE, true);
    Doc()->GetBassNotes(after);
    EXPECT_EQ(before.size(), after.size());
    EXPECT_TRUE(Doc()->IsModified());

    // Delete while typing throws the digits away, not the caret's place.
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    SendClick(tab->m_hWnd, x, tab->StringY(2, 1));
    PumpFor(*m_app, 100);
    ASSERT_TRUE(tab->IsTyping());
    Key('9');
    Key(VK_DELETE, true);
    Key('7');
    Key(VK_RETURN);
    Doc()->GetBassNotes(after);
    ASSERT_EQ(before.size() + 1, after.size());
    for (const BassNote& n : after)
        if (n.level == 120) {
            EXPECT_GT(n.time, tab->RowStartMs(2));
        }

    // Back in the chord grid, the chords are still there.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
    Pump(*m_app);
    EXPECT_TRUE(View()->IsWindowVisible());
    EXPECT_FALSE(ShownChords().empty());
}

TEST_F(ProgramTab, DeleteTakesTheSelectedOfTwoNotesAtOneTime)
{
    OpenSong(WriteSong("notes.wav", PositionSong(12 * kRate)));
    // 7 on the E string listed before 5 on the A string, both at 3 s.
    std::vector<BassNote> notes(2);
    notes[0].placement = 7 << 16;
    notes[1].placement = (5 << 16) | 1;
    for (BassNote& n : notes) {
        n.time = 3000;
        n.level = 120;
        n.visible = 1;
    }
    Doc()->SetBassNotes(notes);
    ShowTab();
    COstrelView* tab = Tab();
    const auto& items = tab->GetRows()[0].items;
    ASSERT_EQ(2u, items.size());
    const int five = items[0].placement == ((5 << 16) | 1) ? 0 : 1;
    const CRect box = tab->GetNoteRect(five, 0);
    const CRect seven = tab->GetNoteRect(1 - five, 0);
    // The black ink of the 7 (the selected 5 is red): whole beside the 5.
    auto black = [&] {
        RedrawWindow(tab->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetDC(tab->m_hWnd);
        int n = 0;
        for (int y = seven.top; y < seven.bottom; ++y)
            for (int x = seven.left; x < seven.right; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                n += GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
            }
        ReleaseDC(tab->m_hWnd, dc);
        return n;
    };
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    SendClick(tab->m_hWnd, box.CenterPoint().x, tab->StringY(0, 1));
    PumpFor(*m_app, 100);
    ASSERT_TRUE(tab->IsNoteSelected(five, 0));
    const int beside = black();
    Key(VK_DELETE, true);
    Doc()->GetBassNotes(notes);
    ASSERT_EQ(1u, notes.size());
    EXPECT_EQ(7 << 16, notes[0].placement);
    EXPECT_GE(beside + 2, black());
}

} // namespace

namespace {

TEST_F(ProgramTab, TheCursorTimerMovesWithTheShownViewWhilePlaying)
{
    AnalyzeSong();
    ClickView(View()->GetRows()[0].lineStart.x + 5, View()->GetRows()[0].lineStart.y);
    Key(VK_SPACE);
    ASSERT_TRUE(Doc()->IsPlaying());
    EXPECT_TRUE(View()->IsCursorTimerRunning());
    ShowTab();
    EXPECT_TRUE(Doc()->IsPlaying()); // playback goes on in the other view
    EXPECT_TRUE(Tab()->IsCursorTimerRunning());
    EXPECT_FALSE(View()->IsCursorTimerRunning());
    const CRect a = Tab()->GetCursorRect();
    PumpFor(*m_app, 500);
    EXPECT_GT(Tab()->GetCursorRect().left, a.left);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
    Pump(*m_app);
    EXPECT_TRUE(View()->IsCursorTimerRunning());
    EXPECT_FALSE(Tab()->IsCursorTimerRunning());

    // Closing the playing song stops it and the panel: the next song plays.
    m_boxes->SetAnswer(IDNO);
    m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    Pump(*m_app);
    EXPECT_FALSE(m_panel->IsPlayingShown());
    m_frame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    Pump(*m_app);
    ParkPanel();
    // The new child frame activated the main window, as after the panel's
    // own "new document"; the user goes back to the panel.
    m_panel->SetActiveWindow();
    Pump(*m_app);
    OpenSong(WriteSong("next.wav", PositionSong(3 * kRate)));
    Click(kPlay);
    // The device may take a moment to open on a busy machine.
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return Doc()->IsPlaying() && m_panel->IsPlayingShown(); }, 5000));
    Click(kStop);
}

TEST_F(ProgramTab, ARangeReleasedOverALyricLineLoopsAndANewSongForgetsIt)
{
    AnalyzeSong();
    ShowTab();
    COstrelView* tab = Tab();
    const TabRow& row = tab->GetRows()[1];
    const double pxPerMs = tab->Geometry().zoom * tab->Geometry().pixelsPerMs;
    const int x1 = row.lineStart.x + (int)(1000 * pxPerMs), x2 = row.lineStart.x + (int)(3000 * pxPerMs);
    CRect edit;
    Doc()->GetLyricEdits()[1]->GetWindowRect(&edit);
    tab->ScreenToClient(&edit);
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    MouseTo(tab->m_hWnd, x1, row.lineStart.y);
    Button(true);
    for (int step = 1; step <= 12; ++step)
        MouseTo(tab->m_hWnd, x1 + (x2 - x1) * step / 12, row.lineStart.y + 1);
    // The button comes up over the lyric line below.
    MouseTo(tab->m_hWnd, x2, edit.CenterPoint().y);
    Button(false);
    ASSERT_TRUE(tab->IsSelectionMode());
    EXPECT_NEAR(7000, tab->GetLoopStart(), 30);
    EXPECT_NEAR(9000, tab->GetLoopEnd(), 30);
    EXPECT_TRUE(Doc()->IsLoopOn());

    // A new song while the tablature is hidden: shown again, it has no loop.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
    Pump(*m_app);
    // Without a window manager the click on the view can leave the parked
    // panel behind the frame.
    SetWindowPos(m_panel->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_boxes->SetAnswer(IDNO); // not a new document: replace the song
    OpenSong(WriteSong("second.wav", PositionSong(12 * kRate)));
    EXPECT_FALSE(Doc()->IsLoopOn());
    ShowTab();
    EXPECT_FALSE(Tab()->IsSelectionMode());
    EXPECT_TRUE(Tab()->GetSelectionBands().empty());
    EXPECT_FALSE(Doc()->IsLoopOn());
}

TEST_F(ProgramTab, ABackwardRangeCoversThreeRowsAndNotesDrag)
{
    AnalyzeSong();
    CKestrixView* view = View();
    const auto& rows = view->GetRows();
    const int y2 = rows[2].lineStart.y, y0 = rows[0].lineStart.y;
    const int xStart = rows[2].lineStart.x + 150, xEnd = rows[0].lineStart.x + 300;
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    MoveTo(xStart, y2);
    Button(true);
    for (int step = 1; step <= 12; ++step)
        MoveTo(xStart + (xEnd - xStart) * step / 12, y2 + (y0 - y2) * step / 12);
    Button(false);
    ASSERT_TRUE(view->IsSelectionMode());
    const std::vector<CRect>& bands = view->GetSelectionBands();
    ASSERT_EQ(3u, bands.size());
    EXPECT_NEAR(xEnd, bands[0].left, 3);             // row 0 from the end time
    EXPECT_EQ(rows[0].lineEnd.x, bands[0].right);    // to its line end
    EXPECT_EQ(rows[1].lineStart.x, bands[1].left);   // row 1 whole
    EXPECT_EQ(rows[2].lineStart.x, bands[2].left);   // row 2 up to the start time
    EXPECT_NEAR(xStart, bands[2].right, 3);
    EXPECT_LT(view->GetLoopStart(), view->GetLoopEnd());
    EXPECT_GT(view->GetLoopEnd() - view->GetLoopStart(), 6000);

    // In the tablature a note is dragged like a chord, keeping its fret.
    ShowTab();
    COstrelView* tab = Tab();
    int row = -1, index = -1;
    for (size_t r = 0; r < 3 && row < 0; ++r)
        for (size_t i = 0; i < tab->GetRows()[r].items.size(); ++i)
            if (!tab->GetNoteRect((int)i, (int)r).IsRectEmpty()) {
                row = (int)r;
                index = (int)i;
                break;
            }
    ASSERT_GE(row, 0);
    const BassNote note = tab->GetRows()[(size_t)row].items[(size_t)index];
    const CRect box = tab->GetNoteRect(index, row);
    POINT at = box.CenterPoint();
    ClientToScreen(tab->m_hWnd, &at);
    ScreenToClient(View()->m_hWnd, &at);
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    MoveTo(at.x, at.y);
    Button(true);
    ASSERT_TRUE(tab->IsNoteSelected(index, row));
    for (int step = 1; step <= 10; ++step)
        MoveTo(at.x + 8 * step, at.y);
    Button(false);
    std::vector<BassNote> notes;
    Doc()->GetBassNotes(notes);
    bool found = false;
    const double msPerPixel = 1.0 / (tab->Geometry().zoom * tab->Geometry().pixelsPerMs);
    for (const BassNote& n : notes)
        if (n.pitch == note.pitch && n.octave == note.octave && n.placement == note.placement &&
            n.level == note.level && std::abs(n.time - (note.time + 80 * msPerPixel)) < 20 * msPerPixel)
            found = true;
    EXPECT_TRUE(found);
}

} // namespace

namespace {

TEST_F(ProgramGrid, TheCursorScrollsThePageToFollowPlayback)
{
    AnalyzeSong();
    CKestrixView* view = View();
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_ZOOM_IN);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_ZOOM_IN);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_ZOOM_IN);
    Pump(*m_app);
    CRect client;
    view->GetClientRect(&client);
    const int last = (int)view->GetRows().size() - 1;
    ASSERT_GT(view->GetRowY(last), client.bottom) << "the last row must start off the screen";
    EXPECT_EQ(0, view->GetScrollPosition().y);

    ClickView(view->GetRows()[0].lineStart.x + 5, view->GetRows()[0].lineStart.y);
    Key(VK_SPACE);
    ASSERT_TRUE(Doc()->IsPlaying());
    Doc()->Seek(view->RowStartMs(last) + 100, true);
    PumpFor(*m_app, 300);
    EXPECT_GT(view->GetScrollPosition().y, 0);
    const int y = view->GetRowY(last);
    EXPECT_GE(y, client.top);
    EXPECT_LE(y, client.bottom);
    const CRect cursor = view->GetCursorRect();
    EXPECT_GE(cursor.top, client.top);
    EXPECT_LE(cursor.bottom, client.bottom);
    Key(VK_SPACE);
}

} // namespace

namespace {

TEST_F(ProgramGrid, TheLeadSheetHoldsTheGridsChordsAndLyrics)
{
    AnalyzeSong();
    std::vector<CKestrixEdit*>& edits = Doc()->GetLyricEdits();
    ASSERT_GE(edits.size(), 2u);
    edits[0]->SetWindowText("walking down the road");
    edits[1]->SetWindowText("second line");
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
    Pump(*m_app);
    auto* sheet = dynamic_cast<CChordEditView*>(Doc()->GetLeadSheetView());
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->IsWindowVisible());
    ASSERT_FALSE(sheet->GetTextBoxes().empty());
    CString text;
    sheet->GetTextBoxes()[0]->GetWindowText(text);
    const std::string all(text);
    EXPECT_NE(all.find("g major"), std::string::npos) << all;
    EXPECT_NE(all.find(std::string(Doc()->GetRowText(0))), std::string::npos) << all;
    EXPECT_NE(all.find(std::string(Doc()->GetRowText(1))), std::string::npos) << all;
    const size_t first = all.find("walking down the road"), second = all.find("second line");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_FALSE(m_panel->IsWindowVisible()); // the lead sheet hides the transport panel

    m_frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
    Pump(*m_app);
    EXPECT_TRUE(View()->IsWindowVisible());
    EXPECT_TRUE(m_panel->IsWindowVisible());
    EXPECT_EQ("walking down the road", TextOf(edits[0]->m_hWnd));
}

} // namespace

namespace {

class ProgramFiles : public ProgramGrid {
protected:
    CChordEditView* Sheet() { return dynamic_cast<CChordEditView*>(Doc()->GetLeadSheetView()); }
    static bool FirstCharBold(CRichEditCtrl* box)
    {
        box->SetSel(0, 1);
        CHARFORMATA cf = {};
        cf.cbSize = sizeof cf;
        box->SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
        return (cf.dwEffects & CFE_BOLD) != 0;
    }
};

TEST_F(ProgramFiles, ASongSurvivesSaveCloseAndOpen)
{
    AnalyzeSong();
    CKestrixView* view = View();
    // A typed chord and a lyric line.
    POINT spot;
    ASSERT_TRUE(FreeNameSpot(1, &spot));
    ClickView(spot.x, spot.y);
    Key('E');
    Key('7');
    Key(VK_RETURN);
    std::vector<CKestrixEdit*>& edits = Doc()->GetLyricEdits();
    CRect r0;
    edits[0]->GetWindowRect(&r0);
    view->ScreenToClient(&r0);
    ClickView(r0.CenterPoint().x, r0.CenterPoint().y);
    edits[0]->SetWindowText("");
    Key('L');
    Key('A');
    // The lead sheet, its first word in bold.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
    Pump(*m_app);
    ASSERT_FALSE(Sheet()->GetTextBoxes().empty());
    CKestrixRichEdit* box = Sheet()->GetTextBoxes()[0];
    box->SetFocus();
    box->SetSel(0, 5);
    Sheet()->SendMessage(WM_COMMAND, ID_FORMAT_BOLD);
    Pump(*m_app);
    EXPECT_TRUE(FirstCharBold(box));
    CString sheetText;
    box->GetWindowText(sheetText);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
    Pump(*m_app);
    Doc()->SetTranspose(2);

    std::vector<ChordEntry> chords;
    std::vector<BassNote> bass;
    Doc()->GetChords(chords);
    Doc()->GetBassNotes(bass);
    const std::string key(Doc()->GetKey());
    // Never saved: Save As proposes the song's name, not the document's
    // placeholder title.
    m_boxes->Clear();
    m_boxes->QueueFile("");
    m_frame->PostMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_TRUE(PumpUntil(*m_app, [&] { return m_boxes->PendingFiles() == 0 && m_boxes->Count("open") == 1; }, 10000));
    Pump(*m_app);
    EXPECT_TRUE(m_boxes->All().back().Mentions("g major.vqx")) << Join(BoxTexts());
    const std::string path = m_folder->path + "my song.vqx";
    ASSERT_TRUE(Doc()->DoSave(path.c_str()));
    EXPECT_FALSE(Doc()->IsModified());
    // The saved file heads the recent-file list.
    ASSERT_NE(m_app->m_pRecentFileList, nullptr);
    ASSERT_GT(m_app->m_pRecentFileList->GetSize(), 0);
    EXPECT_EQ(0, (*m_app->m_pRecentFileList)[0].CompareNoCase(path.c_str()));

    // The RTF export writes the lead sheet and leaves the song's own file.
    const std::string rtf = ExeFolder() + "lead-sheet-export.rtf";
    ASSERT_TRUE(Doc()->DoSave(rtf.c_str()));
    EXPECT_EQ(path, std::string(Doc()->GetPathName()));
    const std::vector<unsigned char> bytes = ReadAll(rtf);
    ASSERT_GT(bytes.size(), 10u);
    EXPECT_EQ("{\\rtf", std::string(bytes.begin(), bytes.begin() + 5));
    // Through Save As, with the extension in capitals: still the lead sheet.
    const std::string upper = m_folder->path + "Song.RTF";
    m_boxes->QueueFile(upper);
    m_frame->PostMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_TRUE(PumpUntil(*m_app, [&] { return m_boxes->PendingFiles() == 0 && Exists(upper); }, 10000));
    const std::vector<unsigned char> upperBytes = ReadAll(upper);
    ASSERT_GT(upperBytes.size(), 10u);
    EXPECT_EQ("{\\rtf", std::string(upperBytes.begin(), upperBytes.begin() + 5));
    EXPECT_EQ(path, std::string(Doc()->GetPathName()));
    // The lead sheet's type chosen over the name offered: the name follows
    // it, so no question about replacing the song's own file comes.
    const std::string chosen = m_folder->path + "my song.rtf";
    m_boxes->Clear();
    m_boxes->QueueFile(BoxWatcher::kKeepName, 2);
    m_frame->PostMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_TRUE(PumpUntil(*m_app, [&] { return m_boxes->PendingFiles() == 0 && Exists(chosen); }, 10000));
    EXPECT_EQ(m_boxes->Count("box"), 0) << Join(BoxTexts());

    m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    Pump(*m_app);
    ASSERT_EQ(m_app->GetActiveDoc(), nullptr);

    ASSERT_NE(m_app->OpenDocumentFile(path.c_str()), nullptr);
    Pump(*m_app);
    ParkPanel();
    CKestrixDoc* doc = Doc();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(2, doc->GetTranspose());
    EXPECT_EQ(key, std::string(doc->GetKey()));
    std::vector<ChordEntry> chords2;
    std::vector<BassNote> bass2;
    doc->GetChords(chords2);
    doc->GetBassNotes(bass2);
    ASSERT_EQ(chords.size(), chords2.size());
    for (size_t i = 0; i < chords.size(); ++i) {
        EXPECT_EQ(chords[i].root, chords2[i].root);
        EXPECT_EQ(chords[i].time, chords2[i].time);
        EXPECT_EQ(chords[i].confidence, chords2[i].confidence);
        EXPECT_EQ(std::string(chords[i].name), std::string(chords2[i].name));
    }
    EXPECT_EQ(bass.size(), bass2.size());
    ASSERT_FALSE(doc->GetLyricEdits().empty());
    EXPECT_EQ("la", TextOf(doc->GetLyricEdits()[0]->m_hWnd));
    // The grid shows the song again, the typed chord among its names.
    bool typedShown = false;
    for (const auto& s : ShownChords())
        typedShown |= View()->GetRows()[(size_t)s.first].items[(size_t)s.second].confidence == 120;
    EXPECT_TRUE(typedShown);
    // The lead sheet comes back as it was saved, bold word and all.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
    Pump(*m_app);
    ASSERT_FALSE(Sheet()->GetTextBoxes().empty());
    CString again;
    Sheet()->GetTextBoxes()[0]->GetWindowText(again);
    EXPECT_EQ(std::string(sheetText), std::string(again));
    EXPECT_TRUE(FirstCharBold(Sheet()->GetTextBoxes()[0]));
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
    Pump(*m_app);
    // And it plays.
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_TRUE(doc->Play(false, true));
    doc->Stop(true);

    // A typed lyric asks "Save changes?"; Yes writes the file that opens again.
    doc->GetLyricEdits()[1]->SetWindowText("mor");
    EXPECT_FALSE(doc->IsModified());
    CRect r1;
    doc->GetLyricEdits()[1]->GetWindowRect(&r1);
    View()->ScreenToClient(&r1);
    ClickView(r1.right - 5, r1.CenterPoint().y);
    Key('E');
    ASSERT_EQ("more", TextOf(doc->GetLyricEdits()[1]->m_hWnd));
    m_boxes->SetAnswer(IDYES);
    m_boxes->Clear();
    m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    Pump(*m_app);
    ASSERT_EQ(m_app->GetActiveDoc(), nullptr);
    // The question names the song.
    ASSERT_EQ(1, m_boxes->Count("box"));
    EXPECT_TRUE(m_boxes->All().back().Mentions("Save changes")) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions("g major?"));
    EXPECT_EQ("Quorva Plindor", m_boxes->All().back().title);
    m_boxes->SetAnswer(IDNO);
    ASSERT_NE(m_app->OpenDocumentFile(path.c_str()), nullptr);
    Pump(*m_app);
    EXPECT_EQ("more", TextOf(Doc()->GetLyricEdits()[1]->m_hWnd));
}

TEST_F(ProgramFiles, ADocumentNamedOnTheCommandLineOpensWithItsSongNamesAndTitle)
{
    AnalyzeSong();
    std::vector<ChordEntry> chords;
    Doc()->GetChords(chords);
    ASSERT_FALSE(chords.empty());
    const std::string path = m_folder->path + "shell.vqx";
    ASSERT_TRUE(Doc()->DoSave(path.c_str()));

    // The program again, started as the shell starts it for the document.
    m_boxes->SetAnswer(IDNO);
    EndProgram(*m_app);
    m_buttons.reset();
    m_app.reset();
    char exe[] = "QuorvaPlindor.exe";
    std::string arg = path;
    char* argv[] = {exe, &arg[0], nullptr};
    const int oldArgc = __argc;
    char** const oldArgv = __argv;
    __argc = 2;
    __argv = argv;
    m_app.reset(new CKestrixApp);
    m_app->SetStartupPauses(false);
    const BOOL started = m_app->InitInstance();
    __argc = oldArgc;
    __argv = oldArgv;
    ASSERT_TRUE(started);
    Pump(*m_app);
    m_frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
    m_panel = m_app->GetControlDlg();
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
    ASSERT_EQ(1, AfxGetDocManager()->GetOpenDocumentCount());
    CKestrixDoc* doc = Doc();
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_TRUE(m_panel->IsSongLoaded());
    EXPECT_EQ("g major", std::string(doc->GetTitle()));
    EXPECT_FALSE(doc->IsModified());
    std::vector<ChordEntry> again;
    doc->GetChords(again);
    ASSERT_EQ(chords.size(), again.size());
    for (size_t i = 0; i < chords.size(); ++i) {
        EXPECT_FALSE(again[i].name.IsEmpty());
        EXPECT_EQ(std::string(chords[i].name), std::string(again[i].name));
    }
}

TEST_F(ProgramFiles, ADocumentWhoseSongMovedKeepsItsTitleThroughSaves)
{
    AnalyzeSong();
    const std::string path = m_folder->path + "moved.vqx";
    const std::string song(Doc()->GetAudioPath());
    ASSERT_TRUE(Doc()->DoSave(path.c_str()));
    m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    Pump(*m_app);
    ASSERT_TRUE(MoveFileA(song.c_str(), (song + ".away").c_str()));
    for (int round = 0; round < 2; ++round) {
        m_boxes->Clear();
        ASSERT_NE(m_app->OpenDocumentFile(path.c_str()), nullptr);
        Pump(*m_app);
        EXPECT_EQ(1, m_boxes->Count("box")) << Join(BoxTexts()); // the song file is missing
        EXPECT_FALSE(Doc()->HasAudio());
        EXPECT_EQ("g major", TextOf(Doc()->GetTitleEdit().m_hWnd));
        ASSERT_TRUE(Doc()->DoSave(path.c_str()));
        m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
        Pump(*m_app);
    }
    MoveFileA((song + ".away").c_str(), song.c_str());
}

TEST_F(ProgramFiles, EveryEditOfTheUserMarksTheSong)
{
    AnalyzeSong();
    CKestrixView* view = View();
    // The analysis marks the song; showing the views (the lead sheet's text
    // is generated) and zooming do not.
    Doc()->SetModifiedFlag(FALSE);
    for (UINT id : {ID_VIEW_LEAD_SHEET, ID_VIEW_ZOOM_IN, ID_VIEW_CHORDS, ID_VIEW_ZOOM_OUT}) {
        m_frame->SendMessage(WM_COMMAND, id);
        Pump(*m_app);
    }
    ParkPanel();
    EXPECT_FALSE(Doc()->IsModified());
    auto edited = [&](const char* what) {
        EXPECT_TRUE(Doc()->IsModified()) << what;
        Doc()->SetModifiedFlag(FALSE);
    };
    // A lyric line and the title, typed into.
    for (CKestrixEdit* e : {Doc()->GetLyricEdits()[0], &Doc()->GetTitleEdit()}) {
        CRect r;
        e->GetWindowRect(&r);
        view->ScreenToClient(&r);
        ClickView(r.CenterPoint().x, r.CenterPoint().y);
        ASSERT_EQ(e->m_hWnd, GetFocus());
        Key('O');
        edited(e == &Doc()->GetTitleEdit() ? "title" : "lyric");
    }
    // A chord typed, dragged and deleted.
    POINT spot;
    ASSERT_TRUE(FreeNameSpot(2, &spot));
    ClickView(spot.x, spot.y);
    ASSERT_TRUE(view->IsTyping());
    Key('D');
    Key(VK_RETURN);
    edited("typed chord");
    auto typedIndex = [&] {
        const auto& items = view->GetRows()[2].items;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].confidence == 120)
                return (int)i;
        return -1;
    };
    ASSERT_GE(typedIndex(), 0);
    const CRect box = view->GetChordRect(typedIndex(), 2);
    PumpFor(*m_app, GetDoubleClickTime() + 50);
    MoveTo(box.CenterPoint().x, box.CenterPoint().y);
    Button(true);
    for (int step = 1; step <= 10; ++step) // a drag from the seventh move on
        MoveTo(box.CenterPoint().x + 15 * step, box.CenterPoint().y);
    Button(false);
    edited("dragged chord");
    ASSERT_GE(typedIndex(), 0);
    const CRect now = view->GetChordRect(typedIndex(), 2);
    ClickView(now.CenterPoint().x, now.CenterPoint().y);
    Key(VK_DELETE, true);
    EXPECT_LT(typedIndex(), 0);
    edited("deleted chord");
    Doc()->SetTranspose(3);
    edited("transposition");
    // Text pasted into the lead sheet.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
    Pump(*m_app);
    CKestrixRichEdit* sheetBox = Sheet()->GetTextBoxes()[0];
    sheetBox->SetFocus();
    sheetBox->SetSel(0, 2);
    Sheet()->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    sheetBox->SetSel(-1, -1);
    Sheet()->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    Pump(*m_app);
    edited("paste in the lead sheet");
}

} // namespace

namespace {

TEST_F(ProgramTab, BassPairsReachTheToolsPanelAndFretsFollowTranspose)
{
    AnalyzeSong();
    ShowTab();
    COstrelView* tab = Tab();
    // Hovering a time line hands the bass pitches there to the tools panel.
    const TabRow& row = tab->GetRows()[1];
    POINT at = {row.lineStart.x + 100, row.lineStart.y - 2};
    ClientToScreen(tab->m_hWnd, &at);
    ScreenToClient(View()->m_hWnd, &at);
    MoveTo(at.x, at.y);
    const std::string pair = m_app->GetToolsPanelText().GetString();
    EXPECT_FALSE(pair.empty());
    EXPECT_LE(pair.size(), 4u); // at most two names

    // Transposing moves the frets: the same notes are written elsewhere.
    std::vector<std::string> before, after;
    auto frets = [&](std::vector<std::string>& out) {
        out.clear();
        for (const TabRow& r : tab->GetRows())
            for (const BassNote& n : r.items) {
                CString text;
                const int s = tab->PlaceNoteOnString(text, n.pitch, n.octave, n.placement);
                out.push_back(std::to_string(s) + ":" + std::string(text));
            }
    };
    frets(before);
    ASSERT_FALSE(before.empty());
    Doc()->SetTranspose(2);
    Pump(*m_app);
    frets(after);
    ASSERT_EQ(before.size(), after.size());
    EXPECT_NE(before, after);
}

} // namespace
