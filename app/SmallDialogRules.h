#pragma once
// The rules of the tools panel and the small dialogs (settings, transpose),
// kept apart from their windows. Portable.
#include <functional>
#include <vector>

#include "app/DocTypes.h"
#include "framework/CString.h"

// --- Tools panel ---

// The hint text cut into note names, one per line: a name is one letter,
// or two when "#" or "b" follows ("C#EG" gives C#, E, G).
std::vector<CString> SplitNoteNames(const CString& hint);

// The three option rows from the top: which display mode each one selects
// and which language text names it.
constexpr int kOptionRowCount = 3;
int OptionRowMode(int row);
int OptionRowText(int row);

// The panel's drag: a move counts only with the left button alone held;
// the window follows from the fifth such move on, keeping the grab point
// (the cursor's offset from the window's top-left corner) under the cursor.
class PanelDrag {
public:
    // The left button went down at this offset from the window's corner.
    void Grab(int offsetX, int offsetY)
    {
        m_grabX = offsetX;
        m_grabY = offsetY;
    }
    // A mouse move inside the window; true with the new top-left corner when
    // the window is to follow the cursor (screen coordinates).
    bool Move(bool leftAlone, int cursorX, int cursorY, int& left, int& top);
    int Count() const { return m_count; }

private:
    int m_grabX = 0, m_grabY = 0;
    int m_count = 0;
};

// --- Settings dialog ---

bool IsRowSecondsAccepted(int seconds); // 3..10
bool IsRowsPerPageAccepted(int rows);   // 3..9
// The device the program uses after the dialog: the chosen one, or the one
// it had when nothing is chosen (-1: no device or a cleared combo).
int SoundCardAfterSettings(int chosen, int current);

// --- Transpose dialog ---

constexpr int kTransposeLimit = kMaxTranspose;
// One step of "+" (+1) or "-" (-1), held within -11..11.
int StepTranspose(int value, int step);
bool IsTransposeAccepted(int value);

// --- Captions ---

// The largest font height from start down to smallest whose text, as
// widthAt(height) measures it, fits width; smallest when none does.
int FitFontHeight(int start, int smallest, int width, const std::function<int(int)>& widthAt);
