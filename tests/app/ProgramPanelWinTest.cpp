// The running program driven through its transport panel as a user does it:
// clicks on the panel's zones with the system's mouse, the open-file dialog
// and the message boxes answered from another thread, the results read back
// from the active document, the panel and the sound that reached the
// device.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ProgramTestSupport.h"
#include "WaveTestFiles.h"
#include "app/ControlDlg.h"
#include "app/KestrixApp.h"
#include "app/KestrixDoc.h"
#include "app/MainFrame.h"
#include "tests/engine/SynthAudio.h"

using namespace progtest;

namespace {

const int kRate = 44100;

// Zone points (client coordinates of the panel's face).
const POINT kOpen = {40, 12};
const POINT kAnalyze = {40, 33};
const POINT kLoop = {110, 50};
const POINT kBack = {148, 50};
const POINT kForward = {188, 50};
const POINT kStop = {226, 50};
const POINT kPlay = {264, 50};
const int kTimeTrackY = 9;

// Frame i of a position song: left = low 16 bits of i, right = 0x2000 plus
// the high bits, so any frame that reaches the device names its place.
std::vector<unsigned char> PositionSong(unsigned frames)
{
    std::vector<unsigned char> d;
    d.reserve(frames * 4u);
    for (unsigned i = 0; i < frames; ++i) {
        wavtest::Put16(d, i & 0xFFFF);
        wavtest::Put16(d, 0x2000 + (i >> 16));
    }
    return d;
}

// The frame index of the first run of `run` consecutive position-song
// frames in raw 16-bit stereo data, and how many frames follow in order;
// -1 when there is none.
long FirstPlayedFrame(const std::vector<unsigned char>& raw, size_t run, size_t* inOrder)
{
    const size_t frames = raw.size() / 4;
    auto at = [&](size_t f, long* index) {
        const unsigned l = raw[4 * f] | raw[4 * f + 1] << 8;
        const unsigned r = raw[4 * f + 2] | raw[4 * f + 3] << 8;
        if (r < 0x2000 || r >= 0x2010)
            return false;
        *index = (long)((r - 0x2000) << 16 | l);
        return true;
    };
    for (size_t f = 0; f + run <= frames; ++f) {
        long first = 0, v = 0;
        if (!at(f, &first))
            continue;
        size_t n = 1;
        while (f + n < frames && at(f + n, &v) && v == first + (long)n)
            ++n;
        if (n >= run) {
            if (inOrder)
                *inOrder = n;
            return first;
        }
    }
    return -1;
}

// A synthesised song in G major tuned to 445 Hz (the engine's own tests
// know what it finds in it), as 16-bit PCM with the same signal on every
// channel: `seconds` of it, repeated `times`. Its 4-chord progression and
// 14-note melody both come round every 28 s, so 28 s repeat seamlessly.
std::vector<unsigned char> SynthSong(int rate, double seconds, unsigned channels, int times = 1)
{
    const std::vector<float> mono = synth::DiatonicSong(rate, seconds, 445.0, 67);
    std::vector<unsigned char> once;
    once.reserve(mono.size() * 2 * channels);
    for (float v : mono) {
        const float c = v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v);
        for (unsigned ch = 0; ch < channels; ++ch)
            wavtest::Put16(once, (unsigned)(int)(c * 20000.0f) & 0xFFFF);
    }
    std::vector<unsigned char> d;
    d.reserve(once.size() * (size_t)times);
    for (int i = 0; i < times; ++i)
        d.insert(d.end(), once.begin(), once.end());
    return d;
}

std::string TimeText(int ms)
{
    char buf[32];
    const int m = ms / 60000, s = (ms - m * 60000) / 1000, t = (ms % 1000) / 100;
    snprintf(buf, sizeof buf, "%02d:%02d:%d", m, s, t);
    return buf;
}

std::string Join(const std::vector<std::string>& v)
{
    std::string s;
    for (const std::string& x : v)
        s += "\n  " + x;
    return s;
}

class ProgramPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.reset(new TestInstallation({"Zumbrel.dll", "QuorvaSound.dll", "languages.txt", "mainBmp.bmp",
                                             "mainLightBmp.bmp", "volumeBmp.bmp", "timeSlideBmp.bmp"},
                                            "qp-panel-"));
        ASSERT_TRUE(m_folder->missing.empty()) << "not in the test's folder: " << m_folder->missing.front();
        m_dialogs.reset(new DialogHook);
        ASSERT_TRUE(m_dialogs->installed());
        m_boxes.reset(new BoxWatcher(GetCurrentThreadId()));
        m_app.reset(new CKestrixApp);
        ASSERT_TRUE(m_app->InitInstance());
        Pump(*m_app);
        m_frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        ASSERT_NE(m_frame, nullptr);
        m_panel = m_app->GetControlDlg();
        ASSERT_NE(m_panel, nullptr);
        ASSERT_TRUE(m_panel->m_hWnd && IsWindowVisible(m_panel->m_hWnd));
        ASSERT_NE(Doc(), nullptr);
        m_buttons.reset(new ButtonHook(m_panel->m_hWnd));
        // Nothing came up at start-up.
        EXPECT_EQ(m_boxes->All().size(), 0u);
        m_boxes->Clear();
    }

    void TearDown() override
    {
        // Unsaved songs are not saved.
        if (m_boxes)
            m_boxes->SetAnswer(IDNO);
        if (m_app) {
            if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd)
                SendMessageA(m_app->m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                ;
            m_app->ExitInstance();
        }
        m_buttons.reset();
        m_app.reset();
        m_boxes.reset();
        m_dialogs.reset();
        m_folder.reset();
    }

    CKestrixDoc* Doc() { return m_app->GetActiveDoc(); }

    std::string WriteSong(const std::string& name, const std::vector<unsigned char>& data, unsigned channels = 2,
                          unsigned rate = kRate)
    {
        wavtest::Spec spec;
        spec.channels = channels;
        spec.rate = rate;
        const std::string path = m_folder->path + name;
        EXPECT_TRUE(wavtest::WriteFile(path, wavtest::Build(spec, data)));
        return path;
    }

    // A click with the system's mouse at a point of the panel's face; comes
    // back once the panel has taken the press from the queue and has run
    // whatever it started, modal boxes included. (The release can be lost
    // when the press disabled the panel for a modal box, as for a user.)
    void Click(POINT at)
    {
        // Two clicks in a row on the panel would make a double click.
        const DWORD gap = GetDoubleClickTime() + 50;
        while (GetTickCount() - m_lastClick < gap)
            PumpFor(*m_app, 20);
        ExpectPanelAboveOwner(at);
        const int downs = m_buttons->downs, ups = m_buttons->ups;
        ASSERT_TRUE(SendClick(m_panel->m_hWnd, at.x, at.y));
        const bool taken = PumpUntil(*m_app, [&] { return m_buttons->downs > downs; }, 20000);
        m_lastClick = GetTickCount();
        ASSERT_TRUE(taken) << "the click at " << at.x << "," << at.y << " did not reach the panel: "
                           << WhatIsAt(at) << Join(BoxTexts());
        EXPECT_EQ(m_buttons->downs, downs + 1);
        EXPECT_EQ(m_buttons->lastDown.x, at.x);
        EXPECT_EQ(m_buttons->lastDown.y, at.y);
        PumpUntil(*m_app, [&] { return m_buttons->ups > ups; }, 300);
        Pump(*m_app);
    }

    // What the mouse finds at a point of the panel, for failure messages.
    std::string WhatIsAt(POINT at) const
    {
        POINT p = at;
        ClientToScreen(m_panel->m_hWnd, &p);
        HWND w = WindowFromPoint(p);
        std::string s = "window " + ClassOf(w) + " '" + progtest::TextOf(w) + "'";
        if (w == m_panel->m_hWnd)
            s += " (the panel)";
        s += IsWindowEnabled(m_panel->m_hWnd) ? ", panel enabled" : ", panel disabled";
        if (HWND c = GetCapture())
            s += ", mouse captured by " + ClassOf(c) + " '" + progtest::TextOf(c) + "'";
        return s;
    }

    // An owned window stays above its owner: the main frame, however it
    // was activated (after the file dialog, a box it owns, a click), must
    // never cover the panel.
    void ExpectPanelAboveOwner(POINT at)
    {
        POINT p = at;
        ClientToScreen(m_panel->m_hWnd, &p);
        HWND w = WindowFromPoint(p);
        EXPECT_FALSE(w && w != m_panel->m_hWnd && GetAncestor(w, GA_ROOT) == m_frame->m_hWnd)
            << "the main frame covers the panel at " << at.x << "," << at.y;
    }

    // Opens a song through the Open zone and the system's file dialog.
    void OpenSong(const std::string& path)
    {
        const int before = m_boxes->Count("open");
        m_boxes->QueueFile(path);
        Click(kOpen);
        EXPECT_EQ(m_boxes->Count("open"), before + 1) << "no open-file dialog";
        EXPECT_EQ(m_boxes->PendingFiles(), 0u);
    }

    // Closed progress dialogs seen by the hook.
    int ProgressClosed() const { return m_dialogs->CountWith(IDC_PROGRESS_BAR); }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> out;
        for (const BoxWatcher::Seen& s : m_boxes->All()) {
            if (s.kind != "box" && s.kind != "stuck")
                continue;
            std::string line = s.kind + ": " + s.title;
            for (const std::string& t : s.texts)
                if (!t.empty())
                    line += " / " + t;
            out.push_back(line);
        }
        return out;
    }

    std::unique_ptr<TestInstallation> m_folder;
    std::unique_ptr<DialogHook> m_dialogs;
    std::unique_ptr<BoxWatcher> m_boxes;
    std::unique_ptr<CKestrixApp> m_app;
    std::unique_ptr<ButtonHook> m_buttons;
    CMainFrame* m_frame = nullptr;
    CControlDlg* m_panel = nullptr;
    DWORD m_lastClick = 0;
};

} // namespace

TEST_F(ProgramPanel, OpenZoneLoadsAWavIntoTheActiveDocument)
{
    const std::string path = WriteSong("first take.wav", PositionSong(4 * kRate));
    CKestrixDoc* doc = Doc();
    EXPECT_FALSE(m_panel->IsSongLoaded());
    OpenSong(path);

    // The file dialog offered the library's formats with WAV.
    bool filterShown = false;
    for (const BoxWatcher::Seen& s : m_boxes->All())
        if (s.kind == "open")
            filterShown = s.Mentions("*.wav") && s.Mentions("*.mp3");
    EXPECT_TRUE(filterShown);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());

    ASSERT_EQ(Doc(), doc);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 4000);
    EXPECT_EQ(std::string(doc->GetTitle()), "first take");
    EXPECT_EQ(std::string(doc->GetAudioPath()), path);
    ASSERT_NE(doc->GetPlayer(), nullptr);
    EXPECT_EQ(doc->GetPlayer()->GetSampleRate(), kRate);
    EXPECT_EQ(doc->GetPlayer()->GetChannels(), 2);
    EXPECT_FALSE(doc->IsPlaying());
    EXPECT_TRUE(m_panel->IsSongLoaded());
    EXPECT_EQ(std::string(m_panel->GetTimeText()), "00:00:0");

    // A second song, and Yes to the question: a new document takes it and
    // the first keeps its own.
    const std::string second = WriteSong("second.wav", PositionSong(2 * kRate));
    m_boxes->SetAnswer(IDYES);
    OpenSong(second);
    ASSERT_EQ(m_boxes->Count("box"), 1) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(52))));
    CKestrixDoc* fresh = Doc();
    ASSERT_NE(fresh, nullptr);
    ASSERT_NE(fresh, doc);
    EXPECT_TRUE(fresh->HasAudio());
    EXPECT_EQ(fresh->GetTotalLength(), 2000);
    EXPECT_EQ(std::string(fresh->GetTitle()), "second");
    EXPECT_EQ(std::string(fresh->GetAudioPath()), second);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 4000);
    EXPECT_EQ(std::string(doc->GetTitle()), "first take");
    EXPECT_EQ(std::string(doc->GetAudioPath()), path);

    // Cancel in the file dialog changes nothing.
    m_boxes->QueueFile("");
    Click(kOpen);
    EXPECT_EQ(Doc(), fresh);
    EXPECT_EQ(fresh->GetTotalLength(), 2000);
    EXPECT_EQ(std::string(fresh->GetAudioPath()), second);
}

TEST_F(ProgramPanel, OpenZoneConvertsAnMp3UnderTheProgressDialog)
{
    const std::string mp3 = ExeFolder() + "sound-test-songs\\stereo.mp3";
    ASSERT_TRUE(Exists(mp3)) << "the MP3 songs are made by the sound_make_songs test";
    CKestrixDoc* doc = Doc();
    const std::string temp = m_folder->path + std::string(doc->GetTempWavName());
    OpenSong(mp3);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());

    // The progress dialog ran and closed, showing the conversion's text.
    ASSERT_EQ(ProgressClosed(), 1);
    for (const DialogHook::Closed& c : m_dialogs->closed) {
        if (c.Has(IDC_PROGRESS_BAR)) {
            EXPECT_EQ(c.TextOf(IDC_PROGRESS_TEXT), "Converting to wav...");
        }
    }

    ASSERT_EQ(Doc(), doc);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_NEAR(doc->GetTotalLength(), 3000, 100);
    EXPECT_EQ(std::string(doc->GetTitle()), "stereo");
    EXPECT_EQ(std::string(doc->GetAudioPath()), mp3);
    EXPECT_TRUE(m_panel->IsSongLoaded());
    // The player holds the converted file, the document's temporary WAV in
    // the installation folder.
    unsigned number = 0;
    char tail = 0;
    EXPECT_EQ(sscanf(std::string(doc->GetTempWavName()).c_str(), "tempWavFile%u.wa%c", &number, &tail), 2);
    EXPECT_EQ(tail, 'v');
    EXPECT_TRUE(Exists(temp));
    EXPECT_EQ(std::string(doc->GetPlayer()->GetFilePath()), temp);
    EXPECT_EQ(doc->GetPlayer()->GetSampleRate(), kRate);
    EXPECT_EQ(doc->GetPlayer()->GetChannels(), 2);

    // Closing the document takes its temporary file with it.
    m_boxes->SetAnswer(IDNO);
    CMDIChildWnd* child = m_frame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    SendMessageA(child->m_hWnd, WM_CLOSE, 0, 0);
    Pump(*m_app);
    EXPECT_EQ(Doc(), nullptr);
    EXPECT_FALSE(Exists(temp));
}

TEST_F(ProgramPanel, SeekForwardPlayStopAndLoopThroughTheZones)
{
    const std::string played = PlayedFilePath();
    ASSERT_FALSE(played.empty()) << "QUORVA_PLAYED_FILE not set: run through the Wine runner";
    const int lengthMs = 10000;
    OpenSong(WriteSong("positions.wav", PositionSong(lengthMs / 1000 * kRate)));
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());
    ASSERT_TRUE(m_panel->IsSongLoaded());

    // A click on the time track seeks to the place under the knob's centre.
    const PanelGeometry& g = m_panel->GetGeometry();
    const int knob = g.timeKnob.right - g.timeKnob.left;
    const int x = 150;
    const int travel = g.timeRight - g.timeLeft - knob;
    ASSERT_GT(travel, 0);
    const int expected = (x - g.timeLeft - knob / 2) * lengthMs / travel;
    Click(POINT{x, kTimeTrackY});
    EXPECT_EQ((int)doc->GetPosition(), expected);
    EXPECT_EQ(std::string(m_panel->GetTimeText()), TimeText(expected));
    EXPECT_FALSE(doc->IsPlaying());

    // Forward and Back move by the skip step; Forward once more.
    Click(kForward);
    EXPECT_EQ((int)doc->GetPosition(), expected + 2000);
    EXPECT_EQ(std::string(m_panel->GetTimeText()), TimeText(expected + 2000));
    Click(kBack);
    EXPECT_EQ((int)doc->GetPosition(), expected);
    Click(kForward);
    const int start = expected + 2000;
    ASSERT_EQ((int)doc->GetPosition(), start);

    // Play: document and panel play, the clock runs. (The device file is
    // made anew when the device opens; nothing of an earlier run is read.)
    DeleteFileA(played.c_str());
    Click(kPlay);
    EXPECT_TRUE(doc->IsPlaying());
    EXPECT_TRUE(m_panel->IsPlayingShown());
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return doc->GetPosition() >= start + 700; }, 10000))
        << doc->GetPosition();
    PumpFor(*m_app, 200); // a clock tick or more
    EXPECT_NE(std::string(m_panel->GetTimeText()), TimeText(start));

    // Stop: both stop, the position stays where playing got to.
    Click(kStop);
    EXPECT_FALSE(doc->IsPlaying());
    EXPECT_FALSE(m_panel->IsPlayingShown());
    const int stoppedAt = (int)doc->GetPosition();
    EXPECT_GE(stoppedAt, start + 700);
    EXPECT_LT(stoppedAt, lengthMs);
    PumpFor(*m_app, 300);
    EXPECT_EQ((int)doc->GetPosition(), stoppedAt) << "still moving after Stop";

    // The device got the song from the chosen place on, and only about as
    // far as it played (its buffer runs a little ahead).
    const std::vector<unsigned char> out = ReadAll(played);
    size_t inOrder = 0;
    const long first = FirstPlayedFrame(out, 64, &inOrder);
    ASSERT_GE(first, 0) << "no song frames among " << out.size() << " bytes played";
    EXPECT_NEAR(first * 1000.0 / kRate, start, 2.0);
    EXPECT_GE(inOrder * 1000.0 / kRate, 500.0);
    EXPECT_LT((first + (long)inOrder) * 1000.0 / kRate, stoppedAt + 1000.0);

    // Loop toggles in panel and document alike.
    EXPECT_FALSE(m_panel->IsLoopShown());
    Click(kLoop);
    EXPECT_TRUE(m_panel->IsLoopShown());
    EXPECT_TRUE(doc->IsLoopOn());
    Click(kLoop);
    EXPECT_FALSE(m_panel->IsLoopShown());
    EXPECT_FALSE(doc->IsLoopOn());

    // Keys on the panel (it took the focus with the clicks): Space plays and
    // stops; Enter and Escape do not close it.
    ASSERT_EQ(GetFocus(), m_panel->m_hWnd);
    ASSERT_TRUE(SendKey(VK_SPACE));
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return doc->IsPlaying(); }, 5000));
    EXPECT_TRUE(m_panel->IsPlayingShown());
    PumpFor(*m_app, 200);
    ASSERT_TRUE(SendKey(VK_SPACE));
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return !doc->IsPlaying(); }, 5000));
    EXPECT_FALSE(m_panel->IsPlayingShown());
    ASSERT_TRUE(SendKey(VK_RETURN));
    ASSERT_TRUE(SendKey(VK_ESCAPE));
    PumpFor(*m_app, 300);
    EXPECT_TRUE(IsWindowVisible(m_panel->m_hWnd));
    EXPECT_FALSE(doc->IsPlaying());

    // The far right of the time track lies past the song's end: the
    // document keeps its last millisecond.
    Click(POINT{g.timeRight - 1, kTimeTrackY});
    EXPECT_EQ((int)doc->GetPosition(), lengthMs - 1);
    EXPECT_EQ(std::string(m_panel->GetTimeText()), TimeText(lengthMs - 1));
    Click(kBack);
    EXPECT_EQ((int)doc->GetPosition(), lengthMs - 1 - 2000);

    // Played to its end, the song stops there, in document and panel.
    Click(kPlay);
    EXPECT_TRUE(doc->IsPlaying());
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return !doc->IsPlaying(); }, 10000)) << doc->GetPosition();
    PumpFor(*m_app, 200);
    EXPECT_FALSE(m_panel->IsPlayingShown());
    EXPECT_EQ((int)doc->GetPosition(), lengthMs - 1);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
}

TEST_F(ProgramPanel, TransportZonesWithoutASongDoNothing)
{
    CKestrixDoc* doc = Doc();
    ASSERT_FALSE(doc->HasAudio());
    for (POINT p : {kBack, kForward, kPlay, kLoop, kStop, POINT{200, kTimeTrackY}, kAnalyze, kBack}) {
        Click(p);
        EXPECT_FALSE(doc->IsPlaying());
        EXPECT_FALSE(m_panel->IsPlayingShown());
        EXPECT_FALSE(m_panel->IsSongLoaded());
        EXPECT_FALSE(m_panel->IsLoopShown());
        EXPECT_FALSE(doc->HasAudio());
        EXPECT_EQ(std::string(m_panel->GetTimeText()), "00:00:0");
    }
    EXPECT_LE(doc->GetPosition(), 0.0);
    EXPECT_EQ(ProgressClosed(), 0);
    EXPECT_TRUE(m_boxes->All().empty()) << Join(BoxTexts());

    // With no document at all, Open says so and opens no file dialog.
    m_boxes->SetAnswer(IDNO);
    SendMessageA(m_frame->MDIGetActive()->m_hWnd, WM_CLOSE, 0, 0);
    Pump(*m_app);
    ASSERT_EQ(Doc(), nullptr);
    m_boxes->Clear();
    m_boxes->SetAnswer(IDOK);
    Click(kOpen);
    EXPECT_EQ(m_boxes->Count("open"), 0);
    ASSERT_EQ(m_boxes->Count("box"), 1) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(51))));
    for (POINT p : {kPlay, kForward, kAnalyze})
        Click(p);
    EXPECT_EQ(m_boxes->All().size(), 1u) << Join(BoxTexts());
}

TEST_F(ProgramPanel, AnalyzeZoneFillsTheDocumentWithChordsBassKeyAndTuning)
{
    OpenSong(WriteSong("g major.wav", SynthSong(kRate, 26.0, 2)));
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());
    EXPECT_FALSE(doc->HasChords());

    Click(kAnalyze);
    EXPECT_EQ(m_boxes->Count("progress"), 1);
    EXPECT_EQ(ProgressClosed(), 1);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
    ASSERT_TRUE(doc->HasChords());

    std::vector<ChordEntry> chords;
    doc->GetChords(chords);
    ASSERT_FALSE(chords.empty());
    // G, C and D (10, 3 and 5 from A) are the song's chords: most found are.
    int inKey = 0;
    for (const ChordEntry& c : chords) {
        EXPECT_GE(c.root, 0);
        EXPECT_LE(c.root, 11);
        inKey += c.root == 10 || c.root == 3 || c.root == 5;
    }
    EXPECT_GE(inKey * 4, (int)chords.size() * 3) << inKey << " of " << chords.size();
    for (size_t i = 1; i < chords.size(); ++i)
        EXPECT_LE(chords[i - 1].time, chords[i].time);
    EXPECT_LT(chords.back().time, 26000);

    std::vector<BassNote> bass;
    doc->GetBassNotes(bass);
    ASSERT_FALSE(bass.empty());
    for (const BassNote& b : bass) {
        EXPECT_GE(b.pitch, 0);
        EXPECT_LE(b.pitch, 11);
    }
    std::vector<int> codes, times;
    doc->GetPitchSets(codes, times);
    EXPECT_FALSE(codes.empty());
    EXPECT_EQ(codes.size(), times.size());

    EXPECT_EQ(std::string(doc->GetKey()), "G");
    EXPECT_NEAR(doc->GetTuning(), 445.0f, 1.0f);
    EXPECT_FALSE(m_panel->IsPlayingShown());
}

TEST_F(ProgramPanel, CancelDuringTheAnalysisLeavesTheDocumentAsItWas)
{
    // Over ten minutes: the engine is still at work when Cancel comes (it
    // takes about a second for this under Wine, a tenth of it before the
    // first percent).
    OpenSong(WriteSong("long.wav", SynthSong(22050, 28.0, 1, 22), 1, 22050));
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());
    // The low-rate warning came up and was answered.
    m_boxes->Clear();
    const float tuning = doc->GetTuning();
    const std::string key = std::string(doc->GetKey());

    m_boxes->SetCancelProgress(true, 1);
    Click(kAnalyze);
    EXPECT_TRUE(m_boxes->CancelPressed()) << "the progress dialog never showed Cancel while the engine ran";
    EXPECT_EQ(ProgressClosed(), 1);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
    EXPECT_FALSE(doc->HasChords());
    std::vector<BassNote> bass;
    doc->GetBassNotes(bass);
    EXPECT_TRUE(bass.empty());
    EXPECT_EQ(doc->GetTuning(), tuning);
    EXPECT_EQ(std::string(doc->GetKey()), key);
    EXPECT_TRUE(doc->HasAudio());

    // The cancel does not stick to the next run.
    m_boxes->SetCancelProgress(false);
    Click(kAnalyze);
    EXPECT_EQ(ProgressClosed(), 2);
    EXPECT_TRUE(doc->HasChords());
    EXPECT_NEAR(doc->GetTuning(), 445.0f, 1.0f);
}

TEST_F(ProgramPanel, AWavThatDoesNotLoadIsReportedAndLeavesNoSong)
{
    const std::string bad = m_folder->path + "bad.wav";
    std::string garbage(20000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (char)(i * 37 + 11);
    ASSERT_TRUE(WriteText(bad, garbage));
    CKestrixDoc* doc = Doc();
    OpenSong(bad);
    ASSERT_EQ(m_boxes->Count("box"), 1) << Join(BoxTexts());
    EXPECT_FALSE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 0);
    EXPECT_FALSE(m_panel->IsSongLoaded());
    EXPECT_EQ(std::string(doc->GetAudioPath()), "");

    // After a good song, a bad one in its place (No: same document) leaves
    // nothing playable either.
    OpenSong(WriteSong("good.wav", PositionSong(2 * kRate)));
    ASSERT_TRUE(doc->HasAudio());
    ASSERT_TRUE(m_panel->IsSongLoaded());
    m_boxes->Clear();
    m_boxes->SetAnswer(IDNO);
    OpenSong(bad);
    EXPECT_EQ(m_boxes->Count("box"), 2) << Join(BoxTexts()); // the question, then the failure
    EXPECT_EQ(Doc(), doc);
    EXPECT_FALSE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 0);
    EXPECT_FALSE(m_panel->IsSongLoaded());
    Click(kPlay);
    EXPECT_FALSE(doc->IsPlaying());
    EXPECT_FALSE(m_panel->IsPlayingShown());
}

TEST_F(ProgramPanel, ASongThatDoesNotConvertIsReportedAndKeepsTheSongBefore)
{
    const std::string good = WriteSong("kept.wav", PositionSong(2 * kRate));
    OpenSong(good);
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());
    const std::string bad = m_folder->path + "noise.mp3";
    std::string garbage(30000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (char)(i * 53 + 7);
    ASSERT_TRUE(WriteText(bad, garbage));

    // No to the question: the same document, which keeps its song when the
    // conversion fails.
    m_boxes->Clear();
    m_boxes->SetAnswer(IDNO);
    OpenSong(bad);
    EXPECT_EQ(ProgressClosed(), 1);
    EXPECT_EQ(m_boxes->Count("box"), 2) << Join(BoxTexts()); // the question, then the failure
    EXPECT_EQ(Doc(), doc);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 2000);
    EXPECT_EQ(std::string(doc->GetAudioPath()), good);
    EXPECT_TRUE(m_panel->IsSongLoaded());
    Click(kPlay);
    EXPECT_TRUE(doc->IsPlaying());
    Click(kStop);
    EXPECT_FALSE(doc->IsPlaying());
}

// An engine library whose engine could not be made: the analysis cannot run.
class ProgramPanelWithoutEngine : public ProgramPanel {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", "1");
        ProgramPanel::SetUp();
    }
    void TearDown() override
    {
        ProgramPanel::TearDown();
        SetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", nullptr);
    }
};

TEST_F(ProgramPanelWithoutEngine, AnalyzeSaysItCannotRunAndLeavesTheDocument)
{
    OpenSong(WriteSong("song.wav", SynthSong(kRate, 6.0, 2)));
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());

    Click(kAnalyze);
    // The dialog ends (no hang) after telling the user; nothing is handed over.
    EXPECT_EQ(ProgressClosed(), 1);
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 1u) << Join(boxes);
    EXPECT_NE(boxes[0].find(std::string(m_app->GetLangString(144))), std::string::npos) << boxes[0];
    EXPECT_FALSE(doc->HasChords());
    EXPECT_TRUE(doc->HasAudio());

    // The panel is not left busy: the next command runs.
    m_boxes->Clear();
    Click(kAnalyze);
    EXPECT_EQ(ProgressClosed(), 2);
}
