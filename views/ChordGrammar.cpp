#include "views/ChordGrammar.h"

namespace {
const struct {
    const char* text;
    int pitch;
    bool second; // the second spelling
} kNotes[] = {
    {"a", 0, false},  {"bb", 1, false}, {"hb", 1, false}, {"a#", 1, true},  {"b", 2, false},
    {"h", 2, false},  {"c", 3, false},  {"c#", 4, false}, {"db", 4, true},  {"d", 5, false},
    {"d#", 6, false}, {"eb", 6, true},  {"e", 7, false},  {"f", 8, false},  {"f#", 9, false},
    {"gb", 9, true},  {"g", 10, false}, {"g#", 11, false}, {"ab", 11, true},
};

// The bass after a slash: a note name of one or two characters.
int BassFrom(const CString& afterSlash, int transposition)
{
    const int len = afterSlash.GetLength();
    return len == 1 || len == 2 ? PitchFromNoteName(afterSlash, transposition) : -1;
}
} // namespace

int PitchFromNoteName(const CString& text, int transposition)
{
    CString lower = text;
    lower.MakeLower();
    for (const auto& n : kNotes)
        if (lower == n.text) {
            const int p = ((n.pitch - transposition) % 12 + 12) % 12;
            return n.second ? p + 12 : p;
        }
    return -1;
}

bool ParseChordText(const CString& typed, int transposition, int timeMs, ChordEntry& out)
{
    CString text = typed;
    text.MakeLower();
    text.Remove(' ');
    if (text.IsEmpty())
        return false;

    int rootLen = 1;
    if (text.GetLength() >= 2 && text[1] != '/' && (text[1] == 'b' || text[1] == '#'))
        rootLen = 2;
    const int root = PitchFromNoteName(text.Left(rootLen), transposition);
    if (root < 0)
        return false;
    CString rest = text.Mid(rootLen);

    bool major = true;
    CString quality;
    int bass = -1;
    // "maj..." is a major quality, not a minor chord; "m(maj7)" is minor.
    if (rest.GetLength() > 0 && rest[0] == 'm' && rest.Left(3) != "maj") {
        major = false;
        rest = rest.Mid(1);
    }
    if (major && rest.Find("maj7") >= 0) {
        quality = "maj7"; // a slash part is ignored
    } else if (!rest.IsEmpty()) {
        const int slash = rest.Find('/');
        if (slash < 0) {
            quality = rest;
        } else {
            quality = rest.Left(slash);
            bass = BassFrom(rest.Mid(slash + 1), transposition);
        }
    }

    out = ChordEntry();
    out.root = root;
    out.time = timeMs;
    out.bass = bass;
    out.major = major;
    out.suffix = quality;
    out.confidence = 120;
    out.visible = 1;
    return true;
}

void InsertChordInOrder(std::vector<ChordEntry>& chords, const ChordEntry& chord)
{
    size_t at = 0;
    while (at < chords.size() && chords[at].time < chord.time)
        ++at;
    chords.insert(chords.begin() + static_cast<long>(at), chord);
}
