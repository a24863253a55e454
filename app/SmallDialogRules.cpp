#include "app/SmallDialogRules.h"

std::vector<CString> SplitNoteNames(const CString& hint)
{
    std::vector<CString> names;
    const int n = hint.GetLength();
    for (int i = 0; i < n; ++i) {
        int len = 1;
        if (i + 1 < n && (hint[i + 1] == '#' || hint[i + 1] == 'b'))
            len = 2;
        names.push_back(hint.Mid(i, len));
        i += len - 1;
    }
    return names;
}

int OptionRowMode(int row)
{
    static const int modes[kOptionRowCount] = {2, 0, 1};
    return row >= 0 && row < kOptionRowCount ? modes[row] : -1;
}

int OptionRowText(int row)
{
    static const int texts[kOptionRowCount] = {139, 79, 80};
    return row >= 0 && row < kOptionRowCount ? texts[row] : 0;
}

bool PanelDrag::Move(bool leftAlone, int cursorX, int cursorY, int& left, int& top)
{
    if (!leftAlone) {
        m_count = 0;
        return false;
    }
    const bool follow = m_count > 3;
    ++m_count;
    if (!follow)
        return false;
    left = cursorX - m_grabX;
    top = cursorY - m_grabY;
    return true;
}

bool IsRowSecondsAccepted(int seconds) { return seconds >= 3 && seconds <= 10; }
bool IsRowsPerPageAccepted(int rows) { return rows >= 3 && rows <= 9; }

int SoundCardAfterSettings(int chosen, int current) { return chosen >= 0 ? chosen : current; }

int StepTranspose(int value, int step)
{
    const int v = value + step;
    if (v > kTransposeLimit)
        return kTransposeLimit;
    if (v < -kTransposeLimit)
        return -kTransposeLimit;
    return v;
}

bool IsTransposeAccepted(int value) { return value >= -kTransposeLimit && value <= kTransposeLimit; }

int FitFontHeight(int start, int smallest, int width, const std::function<int(int)>& widthAt)
{
    for (int h = start; h > smallest; --h)
        if (widthAt(h) <= width)
            return h;
    return smallest;
}
