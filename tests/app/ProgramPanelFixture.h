#pragma once
// The running program for tests that drive it as a user does: a test
// installation, the application started in-process, its transport panel
// clicked with the system's mouse, songs written for it.
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
#include "app/ViewDlg.h"
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
[[maybe_unused]] std::vector<unsigned char> PositionSong(unsigned frames)
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
[[maybe_unused]] long FirstPlayedFrame(const std::vector<unsigned char>& raw, size_t run, size_t* inOrder)
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
[[maybe_unused]] std::vector<unsigned char> SynthSong(int rate, double seconds, unsigned channels, int times = 1)
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

[[maybe_unused]] std::string TimeText(int ms)
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
        m_folder.reset(new TestInstallation({"Zumbrel.dll", "QuorvaSound.dll", "languages.txt", "chordfile.ini", "mainBmp.bmp",
                                             "mainLightBmp.bmp", "volumeBmp.bmp", "timeSlideBmp.bmp"},
                                            "qp-panel-"));
        ASSERT_TRUE(m_folder->missing.empty()) << "not in the test's folder: " << m_folder->missing.front();
        m_dialogs.reset(new DialogHook);
        ASSERT_TRUE(m_dialogs->installed());
        m_boxes.reset(new BoxWatcher(GetCurrentThreadId()));
        m_app.reset(new CKestrixApp);
        m_app->SetStartupPauses(false);
        ASSERT_TRUE(m_app->InitInstance());
        Pump(*m_app);
        m_frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        ASSERT_NE(m_frame, nullptr);
        m_panel = m_app->GetControlDlg();
        ASSERT_NE(m_panel, nullptr);
        ASSERT_TRUE(m_panel->m_hWnd && IsWindowVisible(m_panel->m_hWnd));
        ASSERT_NE(Doc(), nullptr);
        m_buttons.reset(new ButtonHook(m_panel->m_hWnd));
        m_boxes->WatchHeld({m_frame->m_hWnd, m_panel->m_hWnd, m_app->GetToolsPanel()->GetSafeHwnd()});
        // Nothing came up at start-up.
        EXPECT_EQ(m_boxes->All().size(), 0u);
        m_boxes->Clear();
    }

    void TearDown() override
    {
        // Under every box the program showed, neither the main window nor
        // a panel took input.
        if (m_boxes)
            EXPECT_TRUE(m_boxes->LiveUnder().empty()) << "a window took input under" << Join(m_boxes->LiveUnder());
        // Unsaved songs are not saved.
        if (m_boxes)
            m_boxes->SetAnswer(IDNO);
        if (m_app)
            EndProgram(*m_app);
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
        // Boxes noted so far (a test may have taken the boxes over itself).
        auto noted = [&] { return m_boxes ? m_boxes->All().size() : 0u; };
        const size_t boxes = noted();
        ASSERT_TRUE(SendClick(m_panel->m_hWnd, at.x, at.y));
        const bool taken = PumpUntil(*m_app, [&] { return m_buttons->downs > downs; }, 20000);
        m_lastClick = GetTickCount();
        ASSERT_TRUE(taken) << "the click at " << at.x << "," << at.y << " did not reach the panel: "
                           << WhatIsAt(at) << Join(BoxTexts());
        EXPECT_EQ(m_buttons->downs, downs + 1);
        EXPECT_EQ(m_buttons->lastDown.x, at.x);
        EXPECT_EQ(m_buttons->lastDown.y, at.y);
        // The release acts on most zones; a slow machine may take a while to
        // deliver it. A box the press brought up may have taken it.
        PumpUntil(*m_app, [&] { return m_buttons->ups > ups || noted() != boxes; }, 3000);
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
        auto covered = [&] {
            HWND w = WindowFromPoint(p);
            return w && w != m_panel->m_hWnd && GetAncestor(w, GA_ROOT) == m_frame->m_hWnd;
        };
        // Without a window manager Wine stacks the windows itself and now and
        // then puts the main window over the panel it owns (never so under a
        // window manager or on Windows): raised as a user would bring it back.
        if (covered()) {
            SetWindowPos(m_panel->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            Pump(*m_app);
        }
        EXPECT_FALSE(covered()) << "the main frame covers the panel at " << at.x << "," << at.y;
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
