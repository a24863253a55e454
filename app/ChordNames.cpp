#include "ChordNames.h"

const char* const EmptySlotMarker = "8734jn87nmnkw8";

namespace {
NoteNameSource g_noteNames = nullptr;

int Wrap(int pitch, int t)
{
    int r = pitch + t;
    if (r < 0)
        r += 12;
    return r;
}
} // namespace

void SetNoteNameSource(NoteNameSource source) { g_noteNames = source; }

CString GetNoteNameFor(int code) { return g_noteNames ? g_noteNames(code) : CString(); }

CString BuildChordName(const ChordEntry& chord, int transposition)
{
    // Sums of 12 and above take the second spelling on purpose.
    CString name = GetNoteNameFor(Wrap(chord.root, transposition));
    if (!chord.major && chord.suffix != "5")
        name += "m";
    name += chord.suffix;
    if (chord.bass >= 0) {
        name += "/";
        name += GetNoteNameFor(Wrap(chord.bass, transposition));
    }
    return name;
}

int KeyRootIndex(const CString& name)
{
    static const char* const roots[] = {"A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G"};
    for (int i = 0; i < 11; ++i)
        if (name == roots[i])
            return i;
    return 11;
}

namespace {
const char* const kKeyRoots[12] = {"A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
} // namespace

CString TransposeKeyText(const CString& key, int t)
{
    const bool minor = key.GetLength() > 1 && key.Right(1) == "m";
    const CString root = minor ? key.Left(key.GetLength() - 1) : key;
    for (int i = 0; i < 12; ++i)
        if (root == kKeyRoots[i])
            return CString(kKeyRoots[((i + t % 12) + 12) % 12]) + (minor ? "m" : "");
    return key;
}

CString ChooseKeyText(const CString& engineKey, const std::vector<ChordEntry>& chords)
{
    if (chords.empty())
        return engineKey;
    int major = 0;
    for (const ChordEntry& c : chords)
        if (c.major && c.suffix != "5")
            ++major;
    if (static_cast<double>(major) / static_cast<double>(chords.size()) >= 0.5)
        return engineKey;
    static const char* const minors[] = {"Am", "Bbm", "Bm", "Cm", "C#m", "Dm", "D#m", "Em", "Fm", "F#m", "Gm", "G#m"};
    return minors[(KeyRootIndex(engineKey) + 9) % 12];
}
