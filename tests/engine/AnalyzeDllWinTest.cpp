// Analyze through the exported object, as the main program's worker calls it:
// progress posted to a window, cancel through an event.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "SynthAudio.h"
#include "shared/IFinder.h"
#include "shared/Messages.h"
#include "tests/support/MessageSink.h"

namespace {
struct Library {
    HMODULE module = LoadLibraryA("Zumbrel.dll");
    ~Library()
    {
        if (module)
            FreeLibrary(module);
    }
    IFinder* Finder() const
    {
        GetFinderFn get = (GetFinderFn)(void*)GetProcAddress(module, "GetFinder");
        return get ? get() : nullptr;
    }
};

std::vector<int> Percents(const MessageSink& sink)
{
    std::vector<int> out;
    for (const PostedMessage& m : sink.messages) {
        EXPECT_EQ(WM_ANALYSIS_PROGRESS, m.msg);
        EXPECT_EQ(1u, m.wParam);
        out.push_back((int)m.lParam);
    }
    return out;
}

struct Job {
    IFinder* finder;
    const std::vector<float>* song;
    int rate;
    HANDLE cancel;
};

DWORD WINAPI RunAnalyze(LPVOID p)
{
    Job* job = (Job*)p;
    job->finder->Analyze(job->song->data(), 0, (int)job->song->size(), job->rate, job->cancel);
    return 0;
}
} // namespace

TEST(ZumbrelAnalyze, SongGivesTuningKeyResultsAndProgress)
{
    Library lib;
    IFinder* f = lib.Finder();
    ASSERT_NE(nullptr, f);
    MessageSink sink;
    f->Initialize(sink.hwnd());
    // 26 s at 44100 Hz: decimated, and two blocks of analysed samples.
    std::vector<float> song = synth::DiatonicSong(44100, 26.0, 445.0, 67);
    HANDLE cancel = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    f->Analyze(song.data(), 0, (int)song.size(), 44100, cancel);
    sink.Pump();
    EXPECT_NEAR(445.0f, f->GetReferencePitch(), 0.5f);
    EXPECT_STREQ("G", f->GetKeyName());
    CFloatMatrix* chord = nullptr;
    ASSERT_TRUE(f->GetChordMatrix(&chord));
    EXPECT_EQ(10, chord->GetRows()); // a result, not the 1 x 1 of a stopped run

    std::vector<int> p = Percents(sink);
    ASSERT_GE(p.size(), 6u);
    EXPECT_EQ(0, p.front());
    size_t tail = p.size() - 4;
    for (size_t i = 1; i < tail; ++i) {
        EXPECT_GE(p[i], p[i - 1]);
        EXPECT_LE(p[i], 80);
    }
    EXPECT_GE(p[tail - 1], 70); // the spectrogram's posts reach near 80
    EXPECT_EQ(92, p[tail]);
    EXPECT_EQ(95, p[tail + 1]);
    EXPECT_EQ(97, p[tail + 2]);
    EXPECT_EQ(100, p[tail + 3]);
    CloseHandle(cancel);
    f->Release();
}

TEST(ZumbrelAnalyze, CancelEventSetMidRunStopsWithNoResult)
{
    Library lib;
    IFinder* f = lib.Finder();
    ASSERT_NE(nullptr, f);
    MessageSink sink;
    f->Initialize(sink.hwnd());
    std::vector<float> song = synth::DiatonicSong(22050, 60.0, 440.0, 60);
    HANDLE cancel = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Job job = {f, &song, 22050, cancel};
    HANDLE worker = CreateThread(nullptr, 0, RunAnalyze, &job, 0, nullptr);
    ASSERT_NE(nullptr, worker);
    // Set the event once the spectrogram has visibly started.
    bool started = sink.PumpUntil(
        [&] {
            for (const PostedMessage& m : sink.messages)
                if (m.msg == WM_ANALYSIS_PROGRESS && m.lParam > 0)
                    return true;
            return false;
        },
        120000);
    SetEvent(cancel);
    EXPECT_TRUE(started);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(worker, 120000));
    CloseHandle(worker);
    sink.Pump();
    std::vector<int> p = Percents(sink);
    ASSERT_FALSE(p.empty());
    for (int v : p)
        EXPECT_LE(v, 80); // stopped before the later stages
    EXPECT_LT(p.back(), 80);
    CFloatMatrix* m[4] = {};
    f->GetChordMatrix(&m[0]);
    f->GetBassMatrix(&m[1]);
    f->GetToneMatrix(&m[2]);
    f->GetBassToneMatrix(&m[3]);
    for (CFloatMatrix* x : m) {
        EXPECT_EQ(1, x->GetRows());
        EXPECT_EQ(1, x->GetCols());
    }
    EXPECT_NEAR(440.0f, f->GetReferencePitch(), 0.5f); // written before the stop
    CloseHandle(cancel);
    f->Release();
}
