#include "views/ChordLayout.h"

void DistributeChords(std::vector<ChordRow>& rows, const std::vector<ChordEntry>& chords,
                      std::vector<CString>& rowTexts)
{
    for (ChordRow& r : rows) {
        r.items.clear();
        r.offsets.clear();
    }
    rowTexts.assign(rows.size(), CString());
    PlaceOnRows(rows, chords, [&](size_t r, const ChordEntry& c, int offset) {
        rows[r].items.push_back(c);
        rows[r].offsets.push_back(offset);
        CString& text = rowTexts[r];
        if (text.IsEmpty())
            text = c.name;
        else
            text += CString("\t") + c.name;
    });
}

std::vector<CString> ChordRowTexts(const std::vector<ChordEntry>& chords, int songMs, int rowMs)
{
    int pages = 0;
    std::vector<ChordRow> rows;
    for (const RowSpec& spec : MakeRows(songMs, rowMs, kDefaultRowsPerPage, 0.0, pages)) {
        ChordRow r;
        r.length = spec.length;
        rows.push_back(r);
    }
    std::vector<CString> texts;
    DistributeChords(rows, chords, texts);
    return texts;
}

namespace {

bool SameChord(const ChordEntry& a, const ChordEntry& b)
{
    return a.root == b.root && a.suffix == b.suffix && a.bass == b.bass;
}

void Hide(ChordEntry& c, bool lowerToEighty)
{
    c.visible = 0;
    if (lowerToEighty && c.confidence <= 100)
        c.confidence = 80;
}

// One run of chords sharing a root (or bass on it), from first to last.
void SimplifyRun(std::vector<ChordEntry*>& all, size_t first, size_t last, const ChordNamer& namer)
{
    const size_t n = last - first + 1;
    auto at = [&](size_t i) -> ChordEntry& { return *all[first + i]; };

    // Strong chords stand for the weaker ones before them.
    size_t s = 0;
    for (size_t k = 0; k < n; ++k) {
        ChordEntry& ck = at(k);
        if (ck.confidence < 80 || ck.confidence > 100 || !ck.visible)
            continue;
        for (size_t j = k + 1; j-- > s;)
            Hide(at(j), true);
        ChordEntry& cs = at(s);
        if (cs.confidence <= 100) {
            cs.visible = 1;
            cs.suffix = ck.suffix;
            cs.major = ck.major;
            cs.bass = -1;
            cs.name = namer(cs);
        }
        s = k + 1;
        bool weakAfter = false;
        for (size_t j = k + 1; j < n; ++j)
            if (at(j).confidence <= 79)
                weakAfter = true;
        if (weakAfter)
            for (size_t j = s; j < n; ++j)
                Hide(at(j), true);
    }

    // A stretch of weak chords shows as its first chord, plain if it can be.
    for (size_t p = 0; p < n;) {
        if (at(p).confidence >= 80) {
            ++p;
            continue;
        }
        size_t end = p;
        while (end < n && at(end).confidence < 80)
            ++end;
        int plain = -1;
        size_t strongest = p; // all confidences 0: the stretch's own first chord
        for (size_t j = p; j < end; ++j) {
            at(j).visible = 0;
            if (at(j).suffix.IsEmpty())
                plain = static_cast<int>(j);
            if (at(j).confidence > at(strongest).confidence)
                strongest = j;
        }
        ChordEntry& cp = at(p);
        cp.visible = 1;
        if (cp.confidence <= 100) {
            const ChordEntry& src = plain >= 0 ? at(static_cast<size_t>(plain)) : at(strongest);
            const CString suffix = src.suffix;
            const bool major = src.major;
            cp.suffix = suffix;
            cp.major = major;
            cp.bass = -1;
            cp.name = namer(cp);
            cp.confidence = 80;
        }
        p = end;
    }
}

} // namespace

void SimplifyChords(std::vector<ChordRow>& rows, int mode, const ChordNamer& namer)
{
    std::vector<ChordEntry*> all;
    for (ChordRow& r : rows)
        for (ChordEntry& c : r.items)
            all.push_back(&c);
    if (mode == 1) {
        for (ChordEntry* c : all)
            c->visible = 1;
        return;
    }

    for (size_t f = 0; f < all.size();) {
        const ChordEntry& head = *all[f];
        size_t last = f;
        while (last + 1 < all.size()) {
            const ChordEntry& c = *all[last + 1];
            if (c.root == head.root || c.confidence > 100 || c.bass == head.root)
                ++last;
            else
                break;
        }
        if (last > f)
            SimplifyRun(all, f, last, namer);
        f = last + 1;
    }

    for (ChordEntry* c : all)
        if (c->confidence <= 20)
            c->visible = 0;

    if (mode == 2)
        for (ChordEntry* c : all)
            if (c->confidence > 20) {
                c->suffix.Empty();
                c->bass = -1;
                c->name = namer(*c);
            }

    // Repeats of a shown chord say nothing new.
    for (size_t i = 0; i < all.size();) {
        size_t j = i + 1;
        while (j < all.size() && (!all[j]->visible || SameChord(*all[j], *all[i]))) {
            all[j]->visible = 0;
            ++j;
        }
        i = j;
    }

    for (ChordEntry* c : all)
        if (c->confidence > 100)
            c->visible = 1;
}

CString PitchName(int code)
{
    static const char* const names[] = {"A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    return code >= 0 && code < 12 ? CString(names[code]) : CString();
}

CString PitchSetText(const int codes[6])
{
    CString text;
    for (int i = 0; i < 6; ++i)
        text += PitchName(codes[i]);
    return text;
}

void UnpackPitchSet(int packed, int transposition, int codes[6])
{
    for (int i = 0; i < 6; ++i) {
        const int field = (packed >> (4 * i)) & 0xF;
        codes[i] = field < 12 ? ((field + transposition + 12) % 12 + 12) % 12 : -1;
    }
}
