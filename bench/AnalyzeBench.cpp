// Whole analysis of a synthesised 4-minute 44.1 kHz song, fast and
// straightforward spectrogram side by side, and the program's own road of
// the same song (16-bit stereo samples to mono floats, the engine, the
// matrices into records, as the analysis worker does it). Run by hand on a
// Release, unsanitised native build:
//   analyze_bench                 Google Benchmark figures, ratios, real-time factor
//   analyze_bench --once          one fast analysis and exit (peak-memory runs), with a
//                                 digest of the results to compare builds by
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/AnalysisWorker.h"
#include "app/WaveData.h"
#include "bench/BenchSong.h"
#include "bench/ResultDigest.h"
#include "engine/AnalysisEngine.h"

namespace {
using bench::kRate;
using bench::kSeconds;
using bench::Song;

enum { kFast, kReference, kRoad, kKinds };
double g_seconds[kKinds] = {}; // seconds per analysis

void Analyze(benchmark::State& state, bool reference)
{
    const std::vector<float>& y = Song();
    CAnalysisEngine engine(nullptr);
    engine.UseReferencePath(reference);
    for (auto _ : state) {
        engine.Analyze(y.data(), (int)y.size(), kRate, nullptr);
        benchmark::DoNotOptimize(engine.ChordMatrix()->GetCols());
    }
    state.counters["x_realtime"] =
        benchmark::Counter(kSeconds * (double)state.iterations(), benchmark::Counter::kIsRate);
}

void BM_AnalyzeFast(benchmark::State& state) { Analyze(state, false); }
void BM_AnalyzeReference(benchmark::State& state) { Analyze(state, true); }

// The worker's three sides on the loaded song's data, without threads.
class PcmSong : public IAnalysisSong {
public:
    explicit PcmSong(const std::vector<unsigned char>& data) : m_data(data)
    {
        m_fmt = {1, 2, (uint32_t)kRate, (uint32_t)kRate * 4, 4, 16, 0};
    }
    int GetChannels() override { return 2; }
    bool GetMonoSamples(float** samples, int* count, int* rate) override
    {
        *rate = kRate;
        return WaveToMono(m_data.data(), (uint32_t)m_data.size(), m_fmt, samples, count);
    }

private:
    const std::vector<unsigned char>& m_data;
    PcmFormat m_fmt;
};

class EngineSide : public IAnalysisEngine {
public:
    bool Analyze(const float* samples, int count, int rate) override
    {
        m_engine.Analyze(samples, count, rate, nullptr);
        return true;
    }
    void GetResults(CFloatMatrix** chords, CFloatMatrix** bass, CFloatMatrix** tones,
                    CFloatMatrix** bassTones) override
    {
        *chords = m_engine.ChordMatrix();
        *bass = m_engine.BassMatrix();
        *tones = m_engine.ToneMatrix();
        *bassTones = m_engine.BassToneMatrix();
    }
    float GetReferencePitch() override { return m_engine.GetReferencePitch(); }
    CString GetKeyName() override { return m_engine.GetKeyName(); }
    void ClearResults() override { m_engine.ClearResults(); }

private:
    CAnalysisEngine m_engine{nullptr};
};

class NoPoster : public IStagePoster {
public:
    void PostStage(int) override {}
};

void BM_ProgramRoad(benchmark::State& state)
{
    static const std::vector<unsigned char> pcm = bench::SongPcm16(2);
    PcmSong song(pcm);
    EngineSide engine;
    NoPoster poster;
    AnalysisResults results;
    for (auto _ : state) {
        if (RunAnalysis(song, &engine, poster, results) != kStageDone)
            state.SkipWithError("the road found no result");
        benchmark::DoNotOptimize(results.chords.size());
    }
    state.counters["x_realtime"] =
        benchmark::Counter(kSeconds * (double)state.iterations(), benchmark::Counter::kIsRate);
}

// Keeps each benchmark's mean seconds per analysis for the closing lines.
class Reporter : public benchmark::ConsoleReporter {
public:
    // Plain text: the closing lines are read by scripts.
    Reporter() : benchmark::ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.iterations <= 0 || r.run_type != Run::RT_Iteration)
                continue;
            const double s = r.real_accumulated_time / (double)r.iterations;
            const std::string name = r.benchmark_name();
            if (name.find("Reference") != std::string::npos)
                g_seconds[kReference] = s;
            else if (name.find("Road") != std::string::npos)
                g_seconds[kRoad] = s;
            else
                g_seconds[kFast] = s;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};
} // namespace

BENCHMARK(BM_AnalyzeFast)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ProgramRoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AnalyzeReference)->Unit(benchmark::kMillisecond)->Iterations(2);

static unsigned long long Digest(CAnalysisEngine& engine)
{
    CFloatMatrix* const m[4] = {engine.ChordMatrix(), engine.BassMatrix(), engine.ToneMatrix(),
                                engine.BassToneMatrix()};
    return ResultDigest(m, engine.GetReferencePitch());
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--once") == 0) {
        const std::vector<float>& y = Song();
        CAnalysisEngine engine(nullptr);
        engine.Analyze(y.data(), (int)y.size(), kRate, nullptr);
        std::printf("key %s, %d chords, song %.1f MiB, results %016llx\n", (const char*)engine.GetKeyName(),
                    engine.ChordMatrix()->GetCols(), y.size() * sizeof(float) / 1048576.0, Digest(engine));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    Song(); // synthesised before any timing
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double fast = g_seconds[kFast];
    if (fast > 0.0) {
        std::printf("4-minute song: %.3f s per analysis, %.0f x real time\n", fast, kSeconds / fast);
        if (g_seconds[kRoad] > 0.0)
            std::printf("program road: %.3f s, %+.1f %% against the engine alone\n", g_seconds[kRoad],
                        100.0 * (g_seconds[kRoad] / fast - 1.0));
        if (g_seconds[kReference] > 0.0)
            std::printf("reference path: %.3f s; fast path %.1f x faster\n", g_seconds[kReference],
                        g_seconds[kReference] / fast);
    }
    return 0;
}
