// The chord grid of the running program, used as a user does: a song opened
// and analysed through the transport panel, then the pages read back from
// the screen and worked with the system's mouse and keyboard.
#include "ProgramGridFixture.h"

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

    // On the time line the pitches sounding there are handed on.
    const ChordRow& row = view->GetRows()[1];
    MoveTo(row.lineStart.x + 100, row.lineStart.y - 2);
    const std::string pitches = m_app->GetToolsPanelText().GetString();
    EXPECT_FALSE(pitches.empty());
    for (char ch : pitches)
        EXPECT_TRUE(std::string("ABCDEFG#b").find(ch) != std::string::npos) << pitches;

    // Off the chords and rows, both are cleared.
    MoveTo(5, row.lineStart.y - 2);
    EXPECT_TRUE(m_app->GetShownChordName().IsEmpty());
    EXPECT_TRUE(m_app->GetToolsPanelText().IsEmpty());
}

TEST_F(ProgramGrid, ChordsAreTypedDraggedAndDeleted)
{
    AnalyzeSong();
    CKestrixView* view = View();
    std::vector<ChordEntry> before;
    Doc()->GetChords(before);

    // Typing at a caret above a time line.
    POINT spot;
    ASSERT_TRUE(FreeNameSpot(2, &spot));
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

    // The typed chord is shown; drag it 150 pixels to the right.
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
    for (int step = 1; step <= 10; ++step)
        MoveTo(box.CenterPoint().x + 15 * step, box.CenterPoint().y);
    Button(false);
    Doc()->GetChords(after);
    ASSERT_EQ(before.size() + 1, after.size());
    int moved = -1;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i].root == 0 && !after[i].major && after[i].suffix == "7")
            moved = (int)i;
    ASSERT_GE(moved, 0);
    const double msPerPixel = 1.0 / (view->Geometry().zoom * view->Geometry().pixelsPerMs);
    EXPECT_NEAR(typedTime + 150 * msPerPixel, after[(size_t)moved].time, 40 * msPerPixel);
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
    EXPECT_EQ("o", TextOf(edits[1]->m_hWnd));
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

    // Played, it comes round at the loop's end.
    Key(VK_SPACE);
    ASSERT_TRUE(Doc()->IsPlaying());
    int highest = 0;
    bool cameRound = false;
    const DWORD until = GetTickCount() + 3500;
    while (GetTickCount() < until) {
        PumpFor(*m_app, 20);
        const int p = (int)Doc()->GetPosition();
        if (p > highest)
            highest = p;
        if (highest > 2500 && p < 1500)
            cameRound = true;
    }
    EXPECT_TRUE(cameRound);
    EXPECT_LT(highest, view->GetLoopEnd() + 150);
    Key(VK_SPACE);

    // A double click ends the loop.
    const CPoint free(row.lineStart.x + 40, row.lineStart.y + 60);
    MoveTo(free.x, free.y);
    Button(true);
    Button(false);
    Button(true);
    Button(false);
    PumpFor(*m_app, 50);
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

} // namespace
