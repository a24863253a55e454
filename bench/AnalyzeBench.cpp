// Whole analysis of a synthesised 4-minute 44.1 kHz song, fast and
// straightforward spectrogram side by side. Run by hand on a Release,
// unsanitised native build:
//   analyze_bench                 Google Benchmark figures, ratio, real-time factor
//   analyze_bench --once          one fast analysis and exit (peak-memory runs)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/AnalysisEngine.h"
#include "tests/engine/SongSynth.h"

namespace {
const int kRate = 44100;
const double kSeconds = 240.0;

const std::vector<float>& Song()
{
    static const std::vector<float> y = [] {
        using namespace song;
        std::vector<std::pair<int, Quality>> roots;
        const std::pair<int, Quality> turn[8] = {{3, kMajor}, {10, kMajor}, {0, kMinor}, {8, kMajor},
                                                 {5, kMinor}, {10, kSeventh}, {3, kMajorSeventh}, {7, kMinor}};
        for (int i = 0; i < 120; ++i)
            roots.push_back(turn[i % 8]);
        std::vector<float> out = Render(Progression(roots, 0.0, kSeconds / 120), kSeconds, kRate, 440.0);
        AddNoise(out, 0.002);
        return out;
    }();
    return y;
}

double g_seconds[2] = {0.0, 0.0}; // fast, reference: seconds per analysis

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

// Keeps each benchmark's mean seconds per analysis for the closing ratio.
class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.iterations <= 0 || r.run_type != Run::RT_Iteration)
                continue;
            double s = r.real_accumulated_time / (double)r.iterations;
            if (r.benchmark_name().find("Reference") != std::string::npos)
                g_seconds[1] = s;
            else
                g_seconds[0] = s;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};
} // namespace

BENCHMARK(BM_AnalyzeFast)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AnalyzeReference)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--once") == 0) {
        const std::vector<float>& y = Song();
        CAnalysisEngine engine(nullptr);
        engine.Analyze(y.data(), (int)y.size(), kRate, nullptr);
        std::printf("key %s, %d chords, song %.1f MiB\n", (const char*)engine.GetKeyName(),
                    engine.ChordMatrix()->GetCols(), y.size() * sizeof(float) / 1048576.0);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    Song(); // synthesised before any timing
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (g_seconds[0] > 0.0) {
        std::printf("4-minute song: %.3f s per analysis, %.0f x real time\n", g_seconds[0],
                    kSeconds / g_seconds[0]);
        if (g_seconds[1] > 0.0)
            std::printf("reference path: %.3f s; fast path %.1f x faster\n", g_seconds[1],
                        g_seconds[1] / g_seconds[0]);
    }
    return 0;
}
