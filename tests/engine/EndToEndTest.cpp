#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "SongSynth.h"
#include "engine/AnalysisEngine.h"

using namespace song;

namespace {

struct Analysis {
    CAnalysisEngine engine{nullptr};
    CFloatMatrix& chord() { return *engine.ChordMatrix(); }
    CFloatMatrix& bass() { return *engine.BassMatrix(); }
    CFloatMatrix& tone() { return *engine.ToneMatrix(); }
    CFloatMatrix& bassTone() { return *engine.BassToneMatrix(); }
};

void Analyse(Analysis& a, const std::vector<float>& x, int rate)
{
    a.engine.Analyze(x.data(), (int)x.size(), rate, nullptr);
}

// The song chord whose onset is nearest to t (seconds).
const Chord& Nearest(const std::vector<Chord>& song, double t)
{
    return *std::min_element(song.begin(), song.end(), [t](const Chord& a, const Chord& b) {
        return std::fabs(a.start - t) < std::fabs(b.start - t);
    });
}

bool IsNoneColumn(const CFloatMatrix& m) { return m.GetCols() == 1 && m.GetAt(0, 0) == -1.0f; }

// Chords in root position are found at their onsets with root and quality;
// every reported chord lies at a played chord's onset and, where that chord
// is in root position, names it.
void ExpectChords(Analysis& a, const std::vector<Chord>& song)
{
    CFloatMatrix& c = a.chord();
    ASSERT_EQ(10, c.GetRows());
    ASSERT_FALSE(IsNoneColumn(c));
    for (const Chord& s : song) {
        if (s.bass != s.root)
            continue;
        bool found = false;
        for (int i = 0; i < c.GetCols(); ++i)
            if (std::fabs(c.GetAt(6, i) / 1000.0 - s.start) <= 0.5 && c.GetAt(0, i) == s.root &&
                (c.GetAt(2, i) > 0.99) == IsMajor(s.quality))
                found = true;
        EXPECT_TRUE(found) << "chord " << s.root << (IsMajor(s.quality) ? "" : "m") << " at " << s.start;
    }
    for (int i = 0; i < c.GetCols(); ++i) {
        const double t = c.GetAt(6, i) / 1000.0;
        const Chord& s = Nearest(song, t);
        EXPECT_LE(std::fabs(t - s.start), 0.5) << "chord event at " << t;
        if (s.bass == s.root) {
            EXPECT_EQ(s.root, c.GetAt(0, i)) << "at " << t;
        }
        const float bass = c.GetAt(8, i);
        EXPECT_TRUE(bass == -1.0f || bass == s.bass) << "at " << t;
        EXPECT_GT(c.GetAt(9, i), 0.0f);
    }
}

// One bass note per chord at its onset, with the played bass pitch class;
// the bass-tone pairs start with it too.
void ExpectBass(Analysis& a, const std::vector<Chord>& song)
{
    CFloatMatrix& b = a.bass();
    ASSERT_EQ(7, b.GetRows());
    ASSERT_FALSE(IsNoneColumn(b));
    for (const Chord& s : song) {
        bool found = false;
        for (int i = 0; i < b.GetCols(); ++i)
            if (std::fabs(b.GetAt(4, i) / 1000.0 - s.start) <= 0.5 && b.GetAt(0, i) == s.bass)
                found = true;
        EXPECT_TRUE(found) << "bass " << s.bass << " at " << s.start;
    }
    for (int i = 0; i < b.GetCols(); ++i) {
        const double t = b.GetAt(4, i) / 1000.0;
        const Chord& s = Nearest(song, t);
        EXPECT_LE(std::fabs(t - s.start), 0.5);
        EXPECT_EQ(s.bass, b.GetAt(0, i)) << "at " << t;
        EXPECT_GE(b.GetAt(5, i), 0.0f);
        EXPECT_TRUE(b.GetAt(6, i) == 1.0f || b.GetAt(6, i) == 0.8f);
    }
    CFloatMatrix& bt = a.bassTone();
    ASSERT_EQ(3, bt.GetRows());
    for (int i = 0; i < bt.GetCols(); ++i) {
        const double t = bt.GetAt(2, i) / 1000.0;
        const Chord& s = Nearest(song, t);
        if (std::fabs(t - s.start) <= 0.2) {
            EXPECT_EQ(s.bass, bt.GetAt(0, i)) << "at " << t;
        }
    }
}

// The pitch sets hold what was played: the three strongest are chord or bass
// tones, the rest may add their overtones' classes (fifth, major third).
void ExpectTones(Analysis& a, const std::vector<Chord>& song)
{
    CFloatMatrix& m = a.tone();
    ASSERT_EQ(7, m.GetRows());
    int withPitches = 0;
    for (int i = 0; i < m.GetCols(); ++i) {
        EXPECT_EQ(12.0f, m.GetAt(5, i));
        const double t = m.GetAt(6, i) / 1000.0 + 0.1;
        const Chord* s = nullptr;
        for (const Chord& c : song)
            if (t >= c.start && t < c.start + c.seconds)
                s = &c;
        if (!s) {
            for (int r = 0; r < 5; ++r)
                EXPECT_EQ(-1.0f, m.GetAt(r, i)) << "pitch in silence at " << t;
            continue;
        }
        std::set<int> played{s->bass}, heard;
        for (int iv : Intervals(s->quality))
            played.insert((s->root + iv) % 12);
        for (int p : played) {
            heard.insert(p);
            heard.insert((p + 7) % 12);
            heard.insert((p + 4) % 12);
        }
        for (int r = 0; r < 5; ++r) {
            const float p = m.GetAt(r, i);
            if (p == -1.0f)
                continue;
            ++withPitches;
            EXPECT_TRUE((r < 3 ? played : heard).count((int)p)) << "pitch " << p << " at " << t;
        }
    }
    EXPECT_GT(withPitches, (int)song.size());
}

} // namespace

TEST(EndToEnd, TriadsAndSeventhsInCMajor)
{
    // C G Am F C7 Fmaj7 Dm G7 after a second of silence.
    std::vector<Chord> song = Progression({{3, kMajor}, {10, kMajor}, {0, kMinor}, {8, kMajor}, {3, kSeventh},
                                           {8, kMajorSeventh}, {5, kMinor}, {10, kSeventh}},
                                          1.0, 2.0);
    Analysis a;
    Analyse(a, Render(song, 18.0, 22050, 440.0), 22050);
    ExpectChords(a, song);
    ExpectBass(a, song);
    ExpectTones(a, song);
    EXPECT_FLOAT_EQ(440.0f, a.engine.GetReferencePitch());
}

TEST(EndToEnd, MinorKeyAtLowTuningAcrossTheBlockSeam)
{
    // 44100 Hz is analysed at 22050 Hz: the block seam lies at 22.7 s. Two
    // chords over another bass: only the bass is asked for there.
    std::vector<Chord> song = Progression({{7, kMinor}, {3, kMajor}, {10, kMajor}, {5, kMajor}, {7, kMinor},
                                           {0, kMinorSeventh}, {5, kSeventh}, {10, kMajor}, {3, kMajor},
                                           {0, kMinor}, {10, kMajor}, {7, kMinor}, {3, kMajorSeventh}},
                                          0.5, 2.0);
    song[1].bass = 7;  // C/E
    song[3].bass = 9;  // D/F#
    Analysis a;
    Analyse(a, Render(song, 27.5, 44100, 432.0), 44100);
    ExpectChords(a, song);
    ExpectBass(a, song);
    ExpectTones(a, song);
    EXPECT_NEAR(432.0f, a.engine.GetReferencePitch(), 0.51f);
    // Events continue past the seam.
    CFloatMatrix& c = a.chord();
    EXPECT_GT(c.GetAt(6, c.GetCols() - 1), 23000.0f);
}

TEST(EndToEnd, FlatKeyAtHighTuning)
{
    // Bb Eb F Gm Cm F7 Bb, 2.5 s each, A4 = 446 Hz.
    std::vector<Chord> song = Progression({{1, kMajor}, {6, kMajor}, {8, kMajor}, {10, kMinor}, {3, kMinor},
                                           {8, kSeventh}, {1, kMajor}},
                                          0.7, 2.5);
    Analysis a;
    Analyse(a, Render(song, 19.0, 22050, 446.0), 22050);
    ExpectChords(a, song);
    ExpectBass(a, song);
    ExpectTones(a, song);
    EXPECT_NEAR(446.0f, a.engine.GetReferencePitch(), 0.51f);
}

namespace {
std::vector<float> AtPeak(std::vector<float> x, double dbfs)
{
    float peak = 0.0f;
    for (float v : x)
        peak = std::max(peak, std::fabs(v));
    const double g = std::pow(10.0, dbfs / 20.0) / peak;
    for (float& v : x)
        v = (float)(v * g);
    return x;
}

// What a user sees of a run: chords (root, quality, type, bass, time), bass
// notes (pitch, time, octave), key and tuning.
std::vector<float> Seen(Analysis& a)
{
    std::vector<float> out;
    for (int i = 0; i < a.chord().GetCols(); ++i)
        for (int r : {0, 2, 6, 7, 8})
            out.push_back(a.chord().GetAt(r, i));
    for (int i = 0; i < a.bass().GetCols(); ++i)
        for (int r : {0, 4, 5})
            out.push_back(a.bass().GetAt(r, i));
    out.push_back(a.engine.GetReferencePitch());
    out.push_back((float)std::string(a.engine.GetKeyName()).size());
    return out;
}
} // namespace

TEST(EndToEnd, ASongSoundingFromItsFirstSampleHasItsFirstChordAndBass)
{
    // C G Am F, 4 s each, the C from the first sample on.
    std::vector<Chord> song = Progression({{3, kMajor}, {10, kMajor}, {0, kMinor}, {8, kMajor}}, 0.0, 4.0);
    Analysis a;
    Analyse(a, Render(song, 16.0, 44100, 440.0), 44100);
    ExpectChords(a, song);
    ExpectBass(a, song);
    ExpectTones(a, song);
}

TEST(EndToEnd, SilenceGivesNoEvents)
{
    // Pure silence: the "none" shapes, their -1 placeholders left as they are.
    std::vector<float> x(22050 * 8, 0.0f);
    Analysis a;
    Analyse(a, x, 22050);
    ASSERT_EQ(10, a.chord().GetRows());
    EXPECT_TRUE(IsNoneColumn(a.chord()));
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(-1.0f, a.chord().GetAt(r, 0));
    ASSERT_EQ(7, a.bass().GetRows());
    EXPECT_TRUE(IsNoneColumn(a.bass()));
    EXPECT_EQ(-1.0f, a.bass().GetAt(2, 0));
    ASSERT_EQ(3, a.bassTone().GetRows());
    EXPECT_TRUE(IsNoneColumn(a.bassTone()));
    for (int c = 0; c < a.tone().GetCols(); ++c)
        for (int r = 0; r < 5; ++r)
            EXPECT_EQ(-1.0f, a.tone().GetAt(r, c));

    // Noise alone has no pitch: white or pink, faint, quiet or loud, it
    // gives no chord and no bass note.
    song::AddNoise(x, 0.00002);
    Analyse(a, x, 22050);
    EXPECT_TRUE(IsNoneColumn(a.chord()));
    EXPECT_TRUE(IsNoneColumn(a.bass()));
    std::vector<float> white(22050 * 20, 0.0f), pink(white);
    song::AddNoise(white, 1.0);
    song::AddPinkNoise(pink, 1.0);
    for (double db : {-1.0, -40.0, -85.0})
        for (const std::vector<float>* noise : {&white, &pink}) {
            Analyse(a, AtPeak(*noise, db), 22050);
            EXPECT_TRUE(IsNoneColumn(a.chord())) << db << " dBFS";
            EXPECT_TRUE(IsNoneColumn(a.bass())) << db << " dBFS";
        }

    // A gap in the music stays empty.
    std::vector<Chord> song = {{1.0, 2.0, 3, kMajor, 3}, {3.0, 2.0, 10, kMajor, 10},
                               {10.0, 2.0, 0, kMinor, 0}, {12.0, 2.0, 8, kMajor, 8}};
    std::vector<float> y = Render(song, 15.0, 22050, 440.0);
    song::AddNoise(y, 0.0005);
    Analyse(a, y, 22050);
    ExpectChords(a, song);
    ExpectBass(a, song);
    ExpectTones(a, song);
}


TEST(EndToEnd, QuietSongsGiveTheResultsOfLoudOnes)
{
    std::vector<Chord> song = Progression({{3, kMajor}, {10, kMajor}, {0, kMinor}, {8, kMajor}, {3, kMajor},
                                           {10, kMajor}, {0, kMinor}, {8, kMajor}},
                                          0.5, 2.0);
    const std::vector<float> y = Render(song, 17.0, 22050, 440.0);
    Analysis loud;
    Analyse(loud, AtPeak(y, 0.0), 22050);
    ExpectChords(loud, song);
    ExpectBass(loud, song);
    const std::vector<float> want = Seen(loud);
    for (double db : {-1.0, -13.0, -31.0}) {
        Analysis quiet;
        Analyse(quiet, AtPeak(y, db), 22050);
        EXPECT_EQ(want, Seen(quiet)) << db << " dBFS";
        EXPECT_STREQ(loud.engine.GetKeyName(), quiet.engine.GetKeyName());
    }
    // One full-scale sample (a click, a glitch) in a quiet song does not
    // set its level: the song is read as without it.
    std::vector<float> clicked = AtPeak(y, -40.0);
    clicked[6 * 22050] = 1.0f;
    Analysis click;
    Analyse(click, clicked, 22050);
    EXPECT_EQ(want, Seen(click));
}

TEST(EndToEnd, EveryRateGivesTheResultsOf44100)
{
    // The note magnitudes are sums over a window whose length in samples
    // follows the analysed rate, through octave filters designed for it:
    // every note keeps the level of the 44.1 kHz copy at lower rates (within
    // 0.5 dB; the filters alone made up to 1.8 dB), high rates are analysed
    // like their 44.1 or 48 kHz copies, and the chords and key stay.
    std::vector<Chord> song = Progression({{3, kMajor}, {10, kMajor}, {0, kMinor}, {8, kMajor}}, 0.5, 2.0);
    std::vector<float> want, notes44;
    std::string key44;
    for (int rate : {44100, 8000, 11025, 16000, 48000, 96000, 176400, 192000}) {
        const std::vector<float> y = Render(song, 9.0, rate, 440.0);
        CAnalysisEngine::FrameLayout lay;
        CAnalysisEngine::ComputeFrameLayout((int)y.size(), rate, lay);
        EXPECT_LE(lay.rate, 30000) << rate;
        CFloatMatrix S;
        S.Create(73, lay.frames, 0.0f);
        CAnalysisEngine engine(nullptr);
        ASSERT_TRUE(engine.BuildSpectrogram(y.data(), (int)y.size(), lay, 440.0f, S, nullptr)) << rate;
        std::vector<float> notes(72, 0.0f);
        for (int r = 0; r < 72; ++r)
            for (int c = 0; c < S.GetCols(); ++c)
                notes[r] = std::max(notes[r], S.GetAt(r, c));

        Analysis a;
        Analyse(a, y, rate);
        std::vector<float> roots;
        for (int i = 0; i < a.chord().GetCols(); ++i)
            for (int r : {0, 2})
                roots.push_back(a.chord().GetAt(r, i));
        if (rate == 44100) {
            ExpectChords(a, song);
            want = roots;
            notes44 = notes;
            key44 = a.engine.GetKeyName();
            continue;
        }
        EXPECT_EQ(want, roots) << rate;
        EXPECT_EQ(key44, std::string(a.engine.GetKeyName())) << rate;
        const float within = rate < 44100 ? 1.06f : 1.25f;
        for (int r = 0; r < 72; ++r) {
            const auto octave = notes44.begin() + r / 12 * 12;
            if (notes44[r] < 0.1f * *std::max_element(octave, octave + 12))
                continue; // too faint to tell
            EXPECT_GT(notes[r] * within, notes44[r]) << rate << " row " << r;
            EXPECT_LT(notes[r], within * notes44[r]) << rate << " row " << r;
        }
    }
}
