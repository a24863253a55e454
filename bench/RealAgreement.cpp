// How far the results of a recording hold when it comes at another level,
// rate or start: for each song.wav of a folder (16-bit, analysed as it is),
// the share of the song's time whose chord (root and quality, or none)
// agrees with
//   song@RATE.wav files beside it (the same song at another rate, made with
//                 e.g. `sox song.wav -r 8000 song@8000.wav`);
//   the song at -20 and -40 dBFS, and at -14 dBFS with one full-scale
//                 sample at 60 s (a click);
//   the song cut where ten of its chords begin, so that it plays from its
//                 first sample: the share over the 4 s after each cut, and
//                 how many cuts name their first chord within 0.5 s.
// Files named noise*.wav are analysed alone: their chords and bass notes.
// Run by hand on real recordings, never as a test:
//   real_agreement <folder>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <vector>

#include "app/WaveData.h"
#include "engine/AnalysisEngine.h"

namespace {

struct Song {
    std::vector<float> x;
    int rate = 0;
};

bool Load(const std::string& path, Song& s)
{
    CStdioRiffSource src;
    PcmFormat fmt;
    uint32_t size = 0;
    if (!src.Open(path.c_str()) || ReadWaveHeader(src, fmt, size) != WaveError::None)
        return false;
    std::vector<unsigned char> data(size);
    if (src.Read(data.data(), (long)size) != (long)size)
        return false;
    float *left = nullptr, *right = nullptr;
    int count = 0;
    if (!WaveToFloat(data.data(), size, fmt, &left, &right, &count))
        return false;
    s.x.assign(left, left + count);
    if (right)
        for (int i = 0; i < count; ++i)
            s.x[i] = (s.x[i] + right[i]) / 2;
    delete[] left;
    delete[] right;
    s.rate = (int)fmt.samplesPerSec;
    return true;
}

struct Result {
    std::vector<float> time, label; // label: root * 2 + major, -1 none
    int chords = 0, bass = 0;
};

Result Analyse(const std::vector<float>& x, int rate)
{
    CAnalysisEngine e(nullptr);
    e.Analyze(x.data(), (int)x.size(), rate, nullptr);
    Result r;
    const CFloatMatrix& c = *e.ChordMatrix();
    for (int i = 0; i < c.GetCols(); ++i)
        if (c.GetRows() == 10 && c.GetAt(0, i) >= 0) {
            r.time.push_back(c.GetAt(6, i) / 1000.0f);
            r.label.push_back(c.GetAt(0, i) * 2 + (c.GetAt(2, i) > 0.99f ? 1 : 0));
        }
    r.chords = (int)r.time.size();
    const CFloatMatrix& b = *e.BassMatrix();
    for (int i = 0; i < b.GetCols(); ++i)
        if (b.GetRows() == 7 && b.GetAt(0, i) >= 0)
            ++r.bass;
    return r;
}

float LabelAt(const Result& r, double t)
{
    float l = -1;
    for (size_t i = 0; i < r.time.size() && r.time[i] <= t; ++i)
        l = r.label[i];
    return l;
}

// Share of [from, to) seconds, in 10 ms steps, whose labels agree; b's
// times are shifted by `shift` seconds.
double Agreement(const Result& a, const Result& b, double from, double to, double shift = 0.0)
{
    int same = 0, all = 0;
    for (double t = from; t < to; t += 0.01, ++all)
        same += LabelAt(a, t) == LabelAt(b, t - shift);
    return all ? 100.0 * same / all : 0.0;
}

std::vector<float> AtPeak(std::vector<float> x, double dbfs)
{
    float peak = 0.0f;
    for (float v : x)
        peak = std::max(peak, std::fabs(v));
    const float g = peak > 0 ? (float)(std::pow(10.0, dbfs / 20.0) / peak) : 1.0f;
    for (float& v : x)
        v *= g;
    return x;
}

void Report(const char* what, const Result& r, double agreement)
{
    std::printf("  %-22s %4d chords %4d bass  %5.1f %%\n", what, r.chords, r.bass, agreement);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: real_agreement <folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    auto wav = [](const std::string& n) { return n.size() > 4 && n.compare(n.size() - 4, 4, ".wav") == 0; };
    for (const std::string& n : names) {
        if (!wav(n) || n.find('@') != std::string::npos)
            continue;
        Song s;
        if (!Load(dir + "/" + n, s)) {
            std::printf("%s: cannot read\n", n.c_str());
            continue;
        }
        const double seconds = (double)s.x.size() / s.rate;
        const Result ref = Analyse(s.x, s.rate);
        std::printf("%s: %d Hz, %.1f s\n", n.c_str(), s.rate, seconds);
        Report("as it is", ref, 100.0);
        if (n.compare(0, 5, "noise") == 0)
            continue;
        const std::string stem = n.substr(0, n.size() - 4) + "@";
        for (const std::string& m : names) {
            if (m.compare(0, stem.size(), stem) != 0 || !wav(m))
                continue;
            Song c;
            if (!Load(dir + "/" + m, c))
                continue;
            const Result r = Analyse(c.x, c.rate);
            Report((m.substr(stem.size(), m.size() - stem.size() - 4) + " Hz").c_str(), r,
                   Agreement(ref, r, 0, seconds));
        }
        for (double db : {-20.0, -40.0}) {
            const Result r = Analyse(AtPeak(s.x, db), s.rate);
            Report(db == -20.0 ? "-20 dBFS" : "-40 dBFS", r, Agreement(ref, r, 0, seconds));
        }
        if (seconds > 61) {
            std::vector<float> y = AtPeak(s.x, -14.0);
            y[(size_t)(60.0 * s.rate)] = 1.0f;
            const Result r = Analyse(y, s.rate);
            Report("-14 dBFS, click at 60 s", r, Agreement(ref, r, 0, seconds));
        }
        // Cut where ten of its chords begin (after 30 s): each copy plays
        // from its first sample. Its first 4 s, and whether it names the
        // chord it starts on within 0.5 s.
        int cuts = 0, named = 0;
        double share = 0.0;
        for (size_t i = 0; i < ref.time.size() && cuts < 10; ++i) {
            const double at = ref.time[i];
            if (at < 30.0 || at + 10.0 > seconds)
                continue;
            const std::vector<float> y(s.x.begin() + (long)(at * s.rate), s.x.end());
            const Result r = Analyse(y, s.rate);
            share += Agreement(ref, r, at, at + 4.0, at);
            named += !r.time.empty() && r.time[0] <= 0.5 && r.label[0] == ref.label[i];
            ++cuts;
        }
        if (cuts)
            std::printf("  cut at %d chords: first 4 s %5.1f %%, first chord named %d of %d\n", cuts,
                        share / cuts, named, cuts);
    }
    return 0;
}
