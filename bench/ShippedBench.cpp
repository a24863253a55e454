// The shipped Windows binaries timed as the program uses them (run under
// Wine from the tree's bin folder, beside Zumbrel.dll and QuorvaSound.dll):
//   shipped_bench engine [runs]          the 4-minute song through GetFinder
//   shipped_bench road [runs]            the analysis worker's road of the same song,
//                                        loaded from a 16-bit stereo WAV, to its last
//                                        stage's post (the program shows the results
//                                        then), against the engine alone on the same
//                                        samples
//   shipped_bench open FILE [runs]       conversion through GetQuorvaSound, then the
//                                        load of the WAV into the player
//   shipped_bench wav FILE SECONDS       writes the song's first seconds as a stereo WAV
//   shipped_bench pieces FILE [n]        the media reader alone: the whole file on one
//                                        reader, then in n pieces on n threads, each
//                                        begun a second early, compared with the whole
// Each prints the fastest, median and slowest of its runs in seconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/AnalysisJob.h"
#include "app/AnalysisWorker.h"
#include "app/LibraryLoaders.h"
#include "app/WaveOut.h"
#include "bench/BenchSong.h"
#include "shared/IFinder.h"
#include "shared/Messages.h"
#include "sound/FileReadStream.h"
#include "sound/SyncReaderFactory.h"

namespace {

double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)freq.QuadPart;
}

void Report(const char* what, std::vector<double> s)
{
    std::sort(s.begin(), s.end());
    std::printf("%s: %.3f s fastest, %.3f median, %.3f slowest of %d\n", what, s.front(), s[s.size() / 2],
                s.back(), (int)s.size());
}

std::string ExeFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

void Put32(FILE* f, unsigned v)
{
    unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16),
                          (unsigned char)(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

bool WriteWav(const std::string& path, double seconds)
{
    const std::vector<unsigned char> pcm = bench::SongPcm16(2, seconds);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::fwrite("RIFF", 1, 4, f);
    Put32(f, 36 + (unsigned)pcm.size());
    std::fwrite("WAVEfmt ", 1, 8, f);
    Put32(f, 16);
    const unsigned char fmt[16] = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0};
    std::fwrite(fmt, 1, 16, f);
    std::fwrite("data", 1, 4, f);
    Put32(f, (unsigned)pcm.size());
    std::fwrite(pcm.data(), 1, pcm.size(), f);
    return std::fclose(f) == 0;
}

IFinder* Finder(HMODULE& module)
{
    module = LoadLibraryA((ExeFolder() + "Zumbrel.dll").c_str());
    GetFinderFn get = module ? (GetFinderFn)(void*)GetProcAddress(module, "GetFinder") : nullptr;
    IFinder* f = get ? get() : nullptr;
    if (f)
        f->Initialize(nullptr);
    return f;
}

double TimeEngine(IFinder* f, const float* y, int count)
{
    const double t0 = Now();
    f->Analyze(y, 0, count, bench::kRate, nullptr);
    const double t = Now() - t0;
    CFloatMatrix* chords = nullptr;
    if (!f->GetChordMatrix(&chords) || chords->GetRows() != 10)
        std::printf("engine: no result\n");
    return t;
}

int Engine(int runs)
{
    const std::vector<float>& y = bench::Song();
    HMODULE module = nullptr;
    IFinder* f = Finder(module);
    if (!f) {
        std::printf("engine: Zumbrel.dll or GetFinder missing\n");
        return 1;
    }
    std::vector<double> s;
    for (int i = 0; i < runs; ++i)
        s.push_back(TimeEngine(f, y.data(), (int)y.size()));
    f->Release();
    FreeLibrary(module);
    Report("shipped engine, 4-minute song", s);
    return 0;
}

// Writes a fresh array of count floats on four threads, as the mix does, and
// returns the seconds taken: what the first touch of the mix's pages costs
// without its arithmetic.
double FreshArray(int count)
{
    const double t0 = Now();
    float* a = new float[count];
    std::thread parts[4];
    for (int p = 0; p < 4; ++p)
        parts[p] = std::thread([=] {
            const size_t first = (size_t)count * p / 4, end = (size_t)count * (p + 1) / 4;
            std::memset(a + first, 0, (end - first) * sizeof(float));
        });
    for (std::thread& t : parts)
        t.join();
    const double t1 = Now();
    delete[] a;
    return t1 - t0;
}

// Notes when the worker posts its last stage.
class DoneClock : public IStagePoster {
public:
    void PostStage(int stage) override
    {
        if (stage == kStageDone)
            done = Now();
    }
    double done = 0.0;
};

int Road(int runs)
{
    const std::string wav = ExeFolder() + "bench-road.wav";
    if (!WriteWav(wav, bench::kSeconds)) {
        std::printf("road: cannot write %s\n", wav.c_str());
        return 1;
    }
    CWaveOut player(nullptr);
    if (!player.LoadWave(wav.c_str())) {
        std::printf("road: the player does not take %s\n", wav.c_str());
        return 1;
    }
    float* mono = nullptr;
    int count = 0, rate = 0;
    if (!player.GetMonoMix(&mono, &count, &rate))
        return 1;
    // The library has one engine object: the loader's, timed alone and on
    // the worker's road.
    CEngineLoader engine(nullptr, (ExeFolder() + "Zumbrel.dll").c_str());
    if (!engine.IsLoaded()) {
        std::printf("road: Zumbrel.dll or GetFinder missing\n");
        return 1;
    }
    HANDLE cancel = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<double> alone, road, thread, mix, fresh;
    std::vector<double> extra; // each road less the engine run just before it
    for (int i = 0; i < runs; ++i) {
        const double a0 = Now();
        engine.Analyze(mono, 0, count, rate, nullptr);
        alone.push_back(Now() - a0);
        float* again = nullptr;
        const double m0 = Now();
        player.GetMonoMix(&again, &count, &rate);
        delete[] again;
        mix.push_back(Now() - m0);
        fresh.push_back(FreshArray(count));
        CAnalysisJob job;
        job.player = &player;
        job.engine = &engine;
        job.cancelEvent = cancel;
        DoneClock clock;
        const double t0 = Now();
        RunAnalysisJob(job, clock);
        const double t1 = Now();
        road.push_back(clock.done - t0);
        extra.push_back(road.back() - alone.back());
        thread.push_back(t1 - t0);
        if (job.results.chords.empty())
            std::printf("road: no chords\n");
    }
    delete[] mono;
    CloseHandle(cancel);
    DeleteFileA(wav.c_str());
    Report("engine alone on the WAV's samples", alone);
    Report("mono mix of the loaded WAV", mix);
    Report("a fresh array of the mix's size, written on four threads", fresh);
    Report("program road, WAV samples to records", road);
    Report("the same with the samples' release after the results", thread);
    std::vector<double> untouched; // each road less its run's fresh-array time
    for (size_t i = 0; i < road.size(); ++i)
        untouched.push_back(road[i] - fresh[i]);
    std::sort(untouched.begin(), untouched.end());
    std::sort(alone.begin(), alone.end());
    std::sort(road.begin(), road.end());
    std::sort(extra.begin(), extra.end());
    const double engineMedian = alone[alone.size() / 2];
    std::printf("road against engine alone: %+.1f %% (medians), %+.1f %% (fastest); each road less the engine "
                "run before it: median %+.3f s, %+.1f %% of the engine's median\n",
                100.0 * (road[road.size() / 2] / engineMedian - 1.0), 100.0 * (road.front() / alone.front() - 1.0),
                extra[extra.size() / 2], 100.0 * extra[extra.size() / 2] / engineMedian);
    std::printf("road less the fresh array's first touch, against engine alone: %+.1f %% (medians)\n",
                100.0 * (untouched[untouched.size() / 2] / engineMedian - 1.0));
    return 0;
}

// Counts the conversion's messages until it has ended.
struct Conversion {
    int progress = 0;
    bool done = false;
    bool failed = false;
};

LRESULT CALLBACK ConversionProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Conversion* c = (Conversion*)GetWindowLongPtrA(wnd, GWLP_USERDATA);
    if (c && msg == WM_DECODE_STATUS) {
        if (wp == DECODE_PROGRESS)
            ++c->progress;
        else if (wp == DECODE_DONE)
            c->done = true;
        return 0;
    }
    if (c && msg == WM_DECODE_RESULT) {
        c->failed = true;
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

int Open(const char* file, int runs)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ConversionProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ShippedBenchSink";
    RegisterClassA(&wc);
    HWND sink = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    CSoundLibraryLoader library(sink, (ExeFolder() + "QuorvaSound.dll").c_str());
    if (!sink || !library.IsLoaded()) {
        std::printf("open: QuorvaSound.dll or GetQuorvaSound missing\n");
        return 1;
    }
    CWaveOut player(nullptr);
    const std::string target = ExeFolder() + "bench-open.wav";
    std::vector<double> convert, load, total;
    int messages = 0;
    for (int i = 0; i < runs; ++i) {
        Conversion c;
        SetWindowLongPtrA(sink, GWLP_USERDATA, (LONG_PTR)&c);
        const double t0 = Now();
        library.Convert(CString(file), CString(target.c_str()), 0);
        MSG m;
        while (!c.done && !c.failed && GetMessageA(&m, nullptr, 0, 0) > 0)
            DispatchMessageA(&m);
        const double t1 = Now();
        if (c.failed || !player.LoadWave(target.c_str())) {
            std::printf("open: %s did not convert and load\n", file);
            return 1;
        }
        const double t2 = Now();
        convert.push_back(t1 - t0);
        load.push_back(t2 - t1);
        total.push_back(t2 - t0);
        messages = c.progress;
    }
    std::printf("open: %.1f s of %d-channel %d Hz sound, %d progress messages per conversion\n",
                player.GetLengthMs() / 1000.0, player.GetChannels(), player.GetSampleRate(), messages);
    Report("conversion through the library", convert);
    Report("load into the player", load);
    Report("open without the dialog", total);
    DestroyWindow(sink);
    DeleteFileA(target.c_str());
    return 0;
}

// One reader's decoded 16-bit output from start (100 ns units) for span
// (0: to the end), with its timings.
struct Decoded {
    std::vector<short> samples;
    double open = 0, loop = 0;
    int calls = 0, channels = 0, rate = 0;
};

bool DecodeRange(const char* file, QWORD start, QWORD span, Decoded& d)
{
    const double t0 = Now();
    IWMSyncReader* reader = nullptr;
    CFileReadStream* stream = new CFileReadStream();
    IWMOutputMediaProps* props = nullptr;
    bool ok = SUCCEEDED(stream->Open(file)) && SUCCEEDED(CreateSyncReader(&reader)) &&
              SUCCEEDED(reader->OpenStream(stream)) && SUCCEEDED(reader->GetOutputProps(0, &props));
    if (ok) {
        std::vector<BYTE> type(1024);
        DWORD size = (DWORD)type.size();
        ok = SUCCEEDED(props->GetMediaType((WM_MEDIA_TYPE*)type.data(), &size));
        const WAVEFORMATEX* f = ok ? (const WAVEFORMATEX*)((WM_MEDIA_TYPE*)type.data())->pbFormat : nullptr;
        ok = ok && f && f->wBitsPerSample == 16 && SUCCEEDED(reader->SetRange(start, span));
        if (ok)
            d.channels = f->nChannels, d.rate = (int)f->nSamplesPerSec;
    }
    const double t1 = Now();
    for (;;) {
        INSSBuffer* sample = nullptr;
        QWORD time, duration;
        DWORD flags, output;
        WORD number;
        if (!ok || FAILED(reader->GetNextSample(0, &sample, &time, &duration, &flags, &output, &number)))
            break;
        BYTE* data;
        DWORD length;
        if (SUCCEEDED(sample->GetBufferAndLength(&data, &length)))
            d.samples.insert(d.samples.end(), (short*)data, (short*)(data + length));
        sample->Release();
        ++d.calls;
    }
    d.open = t1 - t0;
    d.loop = Now() - t1;
    if (props)
        props->Release();
    if (reader)
        reader->Close(), reader->Release();
    stream->Release();
    return ok;
}

int Pieces(const char* file, int n)
{
    CoInitialize(nullptr);
    Decoded whole;
    if (!DecodeRange(file, 0, 0, whole) || whole.samples.empty()) {
        std::printf("pieces: %s did not decode\n", file);
        return 1;
    }
    const size_t ch = (size_t)whole.channels, frames = whole.samples.size() / ch;
    std::printf("one reader: open %.3f s, samples %.3f s in %d calls (%.1f us each)\n", whole.open, whole.loop,
                whole.calls, 1e6 * whole.loop / whole.calls);
    std::vector<Decoded> piece(n);
    std::vector<std::thread> threads;
    const double t0 = Now();
    for (int i = 0; i < n; ++i)
        threads.emplace_back([&, i] {
            CoInitialize(nullptr);
            const double from = std::max(0.0, (double)frames * i / n / whole.rate - 1.0);
            const double to = (double)frames * (i + 1) / n / whole.rate + 0.1;
            DecodeRange(file, (QWORD)(from * 1e7), i + 1 < n ? (QWORD)((to - from) * 1e7) : 0, piece[i]);
            CoUninitialize();
        });
    for (std::thread& t : threads)
        t.join();
    std::printf("%d readers on %d threads: %.3f s\n", n, n, Now() - t0);
    // Each later piece against the whole where it matches best 2 s in, a
    // second past its pre-roll.
    for (int i = 1; i < n; ++i) {
        const std::vector<short>& p = piece[i].samples;
        const long rate = whole.rate, nominal = (long)(frames * i / n) - rate, probe = 2 * rate;
        if ((long)(p.size() / ch) < probe + 1024)
            continue;
        long best = 0;
        long long bestSum = -1;
        for (long off = -3 * rate; off <= 3 * rate; ++off) {
            const long at = nominal + probe + off;
            if (at < 0 || (size_t)at + 1024 > frames)
                continue;
            long long sum = 0;
            for (size_t k = 0; k < 1024 * ch && (bestSum < 0 || sum < bestSum); ++k)
                sum += std::abs(p[probe * ch + k] - whole.samples[at * ch + k]);
            if (bestSum < 0 || sum < bestSum)
                bestSum = sum, best = nominal + off;
        }
        size_t differ = 0, last = 0, compared = 0;
        int most = 0;
        // Up to a second before the whole's end, where a reader trims the
        // encoder's padding.
        const size_t end = whole.samples.size() - std::min(whole.samples.size(), (size_t)rate * ch);
        for (size_t k = rate * ch; k < p.size() && best * ch + k < end; ++k, ++compared) {
            const int d = std::abs(p[k] - whole.samples[best * ch + k]);
            if (d)
                ++differ, last = k, most = std::max(most, d);
        }
        std::printf("piece %d: %zu of %zu samples past its pre-roll differ from the whole (at most by %d), "
                    "the last %.1f s after the piece's start\n",
                    i, differ, compared, most, (double)last / ch / rate);
    }
    CoUninitialize();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    auto runsAt = [&](int i, int fallback) { return argc > i ? std::max(1, std::atoi(argv[i])) : fallback; };
    if (mode == "engine")
        return Engine(runsAt(2, 9));
    if (mode == "road")
        return Road(runsAt(2, 5));
    if (mode == "open" && argc > 2)
        return Open(argv[2], runsAt(3, 5));
    if (mode == "pieces" && argc > 2)
        return Pieces(argv[2], runsAt(3, 4));
    if (mode == "wav" && argc > 3)
        return WriteWav(argv[2], std::atof(argv[3])) ? 0 : 1;
    std::printf("usage: shipped_bench engine|road [runs] | open FILE [runs] | pieces FILE [n] | wav FILE SECONDS\n");
    return 2;
}
