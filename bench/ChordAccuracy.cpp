// Renders songs with known chords, analyses them and prints the share of
// played time whose estimated root and major/minor quality match ("majmin"
// overlap). Usage: chord_accuracy [songs] [seed]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "engine/AnalysisEngine.h"
#include "tests/engine/SongSynth.h"

using namespace song;

namespace {

struct Song {
    std::vector<Chord> chords;
    double seconds;
    int rate;
    double a4;
};

// A random diatonic progression in a random major key: I ii iii IV V vi,
// some sevenths, some first inversions.
Song MakeSong(std::mt19937& rng)
{
    static const int degree[6] = {0, 2, 4, 5, 7, 9};
    static const bool minor[6] = {false, true, true, false, false, true};
    Song s;
    s.rate = rng() % 2 ? 44100 : 22050;
    s.a4 = 430.0 + (rng() % 41) * 0.5;
    const int key = rng() % 12;
    const int count = 8 + rng() % 8;
    double t = 0.5 + (rng() % 10) * 0.1;
    int last = -1;
    for (int i = 0; i < count; ++i) {
        int d;
        do
            d = rng() % 6;
        while (d == last);
        last = d;
        const double len = 1.5 + (rng() % 16) * 0.1;
        Quality q = minor[d] ? kMinor : kMajor;
        const int r = rng() % 10;
        if (r == 0)
            q = minor[d] ? kMinorSeventh : (d == 7 ? kSeventh : kMajorSeventh);
        else if (r == 1 && degree[d] == 7)
            q = kSeventh;
        const int root = (key + degree[d]) % 12;
        int bass = root;
        if (rng() % 8 == 0)
            bass = (root + (minor[d] ? 3 : 4)) % 12;
        s.chords.push_back({t, len, root, q, bass});
        t += len;
    }
    s.seconds = t + 1.0;
    return s;
}

// Overlap over the played time, in 10 ms steps.
void Score(const Song& s, CAnalysisEngine& e, double& matched, double& total)
{
    CFloatMatrix& c = *e.ChordMatrix();
    for (const Chord& ch : s.chords) {
        for (double t = ch.start; t < ch.start + ch.seconds; t += 0.01) {
            total += 0.01;
            int at = -1;
            for (int i = 0; i < c.GetCols(); ++i)
                if (c.GetAt(0, i) >= 0 && c.GetAt(6, i) / 1000.0 <= t)
                    at = i;
            if (at >= 0 && (int)c.GetAt(0, at) == ch.root && (c.GetAt(2, at) > 0.99) == IsMajor(ch.quality))
                matched += 0.01;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int songs = argc > 1 ? std::atoi(argv[1]) : 12;
    std::mt19937 rng(argc > 2 ? (unsigned)std::atoi(argv[2]) : 2024u);
    double allMatched = 0, allTotal = 0;
    for (int n = 0; n < songs; ++n) {
        Song s = MakeSong(rng);
        std::vector<float> x = Render(s.chords, s.seconds, s.rate, s.a4);
        CAnalysisEngine e(nullptr);
        e.Analyze(x.data(), (int)x.size(), s.rate, nullptr);
        double matched = 0, total = 0;
        Score(s, e, matched, total);
        allMatched += matched;
        allTotal += total;
        std::printf("song %2d: %5d Hz, A4 %.1f, %2zu chords, %5.1f s: majmin %.1f %%\n", n + 1, s.rate, s.a4,
                    s.chords.size(), s.seconds, 100.0 * matched / total);
    }
    std::printf("majmin overlap over %d songs: %.1f %%\n", songs, 100.0 * allMatched / allTotal);
    return 0;
}
