#pragma once
// The running program with an analysed song on its chord grid, worked with
// the system's mouse and keyboard.
#include <algorithm>

#include "ProgramPanelFixture.h"
#include "framework/DocView.h"
#include "views/KestrixView.h"

namespace {

class ProgramGrid : public ProgramPanel {
protected:
    void SetUp() override
    {
        ProgramPanel::SetUp();
        if (HasFatalFailure())
            return;
        // The panel floats above the pages; park it in a corner.
        ParkPanel();
    }

    // Without a window manager a click on the view can raise the frame over
    // the panel: parked, it is on top again.
    void ParkPanel() { SetWindowPos(m_panel->m_hWnd, HWND_TOP, 980, 880, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE); }

    CKestrixView* View() { return dynamic_cast<CKestrixView*>(Doc()->GetChordView()); }

    void AnalyzeSong(double seconds = 26.0)
    {
        OpenSong(WriteSong("g major.wav", SynthSong(kRate, seconds, 2)));
        ASSERT_TRUE(Doc()->HasAudio());
        Click(kAnalyze);
        ASSERT_TRUE(PumpUntil(*m_app, [&] { return Doc()->HasChords(); }, seconds < 30.0 ? 30000 : 60000));
        ParkPanel();
        RedrawWindow(View()->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(*m_app);
    }

    // The system's mouse moved to a client point of the view, as a user moves it.
    void MoveTo(int x, int y, DWORD extra = 0) { MouseTo(View()->m_hWnd, x, y, extra); }
    // The same for a client point of any window of the program.
    void MouseTo(HWND w, int x, int y, DWORD extra = 0)
    {
        POINT p = {x, y};
        ClientToScreen(w, &p);
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | extra;
        SendInput(1, &in, sizeof in);
        Pump(*m_app);
    }
    void Button(bool down)
    {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        SendInput(1, &in, sizeof in);
        Pump(*m_app);
    }
    // Two clicks as a user makes them: in one burst, so that however long
    // the first takes to handle, the system sees them as a double click.
    void DoubleClick()
    {
        INPUT in[4] = {};
        for (int i = 0; i < 4; ++i) {
            in[i].type = INPUT_MOUSE;
            in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        SendInput(4, in, sizeof(INPUT));
        PumpFor(*m_app, 100);
    }
    void ClickView(int x, int y)
    {
        // Two clicks in a row would make a double click.
        PumpFor(*m_app, GetDoubleClickTime() + 50);
        MoveTo(x, y);
        Button(true);
        Button(false);
        PumpFor(*m_app, 50);
    }
    void Key(WORD vk, bool extended = false)
    {
        SendKey(vk, extended);
        PumpFor(*m_app, 60);
    }

    // Shown chords of the view: (row, item).
    std::vector<std::pair<int, int>> ShownChords()
    {
        std::vector<std::pair<int, int>> out;
        const auto& rows = View()->GetRows();
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t i = 0; i < rows[r].items.size(); ++i)
                if (rows[r].items[i].visible)
                    out.push_back({(int)r, (int)i});
        return out;
    }

    // How many pixels of a client rectangle of the view are inked (the page
    // is white; text may be drawn smoothed), as drawn on the screen.
    int DarkPixels(const RECT& r)
    {
        HDC dc = GetDC(View()->m_hWnd);
        int dark = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 500)
                    ++dark;
            }
        ReleaseDC(View()->m_hWnd, dc);
        return dark;
    }

    // A point of a row's chord-name band with no chord name near it.
    bool FreeNameSpot(int row, POINT* at, int fromX = 0)
    {
        CKestrixView* v = View();
        const ChordRow& r = v->GetRows()[(size_t)row];
        std::vector<CRect> names;
        for (size_t i = 0; i < r.items.size(); ++i) {
            const CRect c = v->GetChordRect((int)i, row);
            if (!c.IsRectEmpty())
                names.push_back(c);
        }
        const int y = r.lineStart.y - (int)(20 * v->Geometry().zoom) - 8;
        for (int x = std::max<int>(r.lineStart.x + 20, fromX); x < r.lineEnd.x - 60; x += 5) {
            bool free = true;
            for (const CRect& c : names)
                if (abs(x - c.CenterPoint().x) < c.Width() + 20)
                    free = false;
            if (free) {
                *at = {x, y};
                return true;
            }
        }
        return false;
    }
};

} // namespace
