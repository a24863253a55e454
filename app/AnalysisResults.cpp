#include "app/AnalysisResults.h"

#include "shared/FloatMatrix.h"

void AnalysisResults::Clear()
{
    chords.clear();
    bassNotes.clear();
    pitchSetCodes.clear();
    pitchSetTimes.clear();
    pitchPairCodes.clear();
    pitchPairTimes.clear();
}

int TruncateResult(float v)
{
    // Written so that NaN fails the test.
    if (!(v > -2147483648.0f && v < 2147483648.0f))
        return 0;
    return (int)v;
}

int PitchField(float v)
{
    // Written so that NaN gives 12 as well.
    if (!(v > -1.0f && v < 12.0f))
        return 12;
    return (int)v;
}

const char* ChordSuffixFromCode(int code)
{
    switch (code) {
    case 4: return "sus4";
    case 5: return "5";
    case 6: return "6";
    case 7: return "7";
    case 8: return "maj7";
    case 9: return "9";
    case 10: return "add9";
    default: return "";
    }
}

bool IsStoppedRun(const CFloatMatrix* chords)
{
    return !chords || (chords->GetRows() == 1 && chords->GetCols() == 1);
}

namespace {

constexpr int ChordRows = 10;
constexpr int BassRows = 7;
constexpr int ToneRows = 7;
constexpr int BassToneRows = 3;

bool HasRows(const CFloatMatrix* m, int rows)
{
    return m && m->GetRows() >= rows && m->GetCols() > 0;
}

// A column the engine filled with -1.0 for "nothing here".
bool IsPlaceholder(const CFloatMatrix& m, int c, int pitchRow, int timeRow)
{
    if (m.GetAt(timeRow, c) < 0.0f || !(m.GetAt(timeRow, c) == m.GetAt(timeRow, c)))
        return true;
    return pitchRow >= 0 && !(m.GetAt(pitchRow, c) >= 0.0f);
}

} // namespace

bool ConvertAnalysisMatrices(const CFloatMatrix* chords, const CFloatMatrix* bass,
                             const CFloatMatrix* tones, const CFloatMatrix* bassTones,
                             AnalysisResults& out)
{
    out.Clear();
    if (IsStoppedRun(chords))
        return false;

    if (HasRows(chords, ChordRows)) {
        const CFloatMatrix& m = *chords;
        for (int c = 0; c < m.GetCols(); ++c) {
            if (IsPlaceholder(m, c, 0, 6))
                continue;
            ChordEntry e;
            e.root = TruncateResult(m.GetAt(0, c));
            e.time = TruncateResult(m.GetAt(6, c));
            e.bass = TruncateResult(m.GetAt(8, c));
            e.major = m.GetAt(2, c) > 0.99f;
            e.suffix = ChordSuffixFromCode(TruncateResult(m.GetAt(7, c)));
            e.confidence = TruncateResult(m.GetAt(9, c) * 100.0f);
            e.visible = 1;
            out.chords.push_back(e);
        }
    }
    if (HasRows(bass, BassRows)) {
        const CFloatMatrix& m = *bass;
        for (int c = 0; c < m.GetCols(); ++c) {
            if (IsPlaceholder(m, c, 0, 4))
                continue;
            BassNote n;
            n.pitch = TruncateResult(m.GetAt(0, c));
            n.time = TruncateResult(m.GetAt(4, c));
            n.octave = TruncateResult(m.GetAt(5, c));
            n.placement = -1;
            n.level = TruncateResult(m.GetAt(6, c) * 100.0f);
            n.visible = 1;
            out.bassNotes.push_back(n);
        }
    }
    if (HasRows(tones, ToneRows)) {
        const CFloatMatrix& m = *tones;
        for (int c = 0; c < m.GetCols(); ++c) {
            if (IsPlaceholder(m, c, -1, 6))
                continue;
            int code = 0;
            for (int k = 0; k < 6; ++k)
                code |= PitchField(m.GetAt(k, c)) << (4 * k);
            out.pitchSetCodes.push_back(code);
            out.pitchSetTimes.push_back(TruncateResult(m.GetAt(6, c)));
        }
    }
    if (HasRows(bassTones, BassToneRows)) {
        const CFloatMatrix& m = *bassTones;
        for (int c = 0; c < m.GetCols(); ++c) {
            if (IsPlaceholder(m, c, -1, 2))
                continue;
            out.pitchPairCodes.push_back(PitchField(m.GetAt(0, c)) | PitchField(m.GetAt(1, c)) << 4);
            out.pitchPairTimes.push_back(TruncateResult(m.GetAt(2, c)));
        }
    }
    return true;
}
