#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/ExeFolder.h"
#include "tests/support/MessageSink.h"
#include "WaveTestFiles.h"
#include "app/AnalysisJob.h"
#include "app/AnalysisWorker.h"
#include "app/LibraryLoaders.h"
#include "app/WaveOut.h"
#include "shared/Messages.h"
#include "tests/engine/SynthAudio.h"

namespace {

// A C major song, 16-bit, written next to the test.
std::string WriteSong(const char* name, unsigned channels, unsigned bits, int rate, double seconds)
{
    std::vector<float> mono = synth::DiatonicSong(rate, seconds, 440.0, 60);
    std::vector<unsigned char> data;
    for (float v : mono) {
        float c = v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v);
        for (unsigned ch = 0; ch < channels; ++ch) {
            if (bits == 16)
                wavtest::Put16(data, (unsigned)(int)(c * 20000.0f) & 0xFFFF);
            else
                data.push_back((unsigned char)(128 + (int)(c * 100.0f)));
        }
    }
    wavtest::Spec spec;
    spec.channels = channels;
    spec.bits = bits;
    spec.rate = (unsigned)rate;
    std::string path = ExeFolder() + name;
    EXPECT_TRUE(wavtest::WriteFile(path, wavtest::Build(spec, data)));
    return path;
}

DWORD WINAPI Worker(LPVOID job) { return AnalysisThreadProc(job); }

class AnalysisJobTest : public ::testing::Test {
protected:
    void SetUp() override { m_cancel = CreateEventA(nullptr, FALSE, FALSE, nullptr); }
    void TearDown() override
    {
        CloseHandle(m_cancel);
        for (const std::string& f : m_files)
            DeleteFileA(f.c_str());
    }

    // Runs the worker on its own thread and collects the stages it posts
    // until the last one.
    std::vector<WPARAM> Run(CWaveOut& player, CEngineLoader* engine, CAnalysisJob& job)
    {
        job.notifyWnd = m_sink.hwnd();
        job.player = &player;
        job.engine = engine;
        job.cancelEvent = m_cancel;
        HANDLE thread = CreateThread(nullptr, 0, Worker, &job, 0, nullptr);
        EXPECT_NE(nullptr, thread);
        // Generous: only a hang trips it.
        bool ended = m_sink.PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 300000);
        EXPECT_TRUE(ended);
        CloseHandle(thread);
        m_sink.Pump();
        std::vector<WPARAM> stages;
        for (const PostedMessage& m : m_sink.messages) {
            if (m.msg == WM_ANALYSIS_PROGRESS && m.wParam != 1)
                stages.push_back(m.wParam);
        }
        return stages;
    }
    bool Posted(UINT msg) const
    {
        for (const PostedMessage& m : m_sink.messages)
            if (m.msg == msg)
                return true;
        return false;
    }

    MessageSink m_sink;
    HANDLE m_cancel = nullptr;
    std::vector<std::string> m_files;
};

} // namespace

TEST_F(AnalysisJobTest, SynthesisedSongGivesChordsBassKeyAndPitch)
{
    std::string song = WriteSong("analysis-job-mono.wav", 1, 16, 22050, 16.0);
    m_files.push_back(song);
    CWaveOut player(m_sink.hwnd());
    ASSERT_TRUE(player.LoadWave(song.c_str()));
    CEngineLoader engine(m_sink.hwnd(), (ExeFolder() + "Zumbrel.dll").c_str());
    ASSERT_TRUE(engine.IsLoaded());
    CAnalysisJob job;
    EXPECT_EQ(Run(player, &engine, job), (std::vector<WPARAM>{5, 3, 2}));
    bool percent = false;
    for (const PostedMessage& m : m_sink.messages)
        percent = percent || (m.msg == WM_ANALYSIS_PROGRESS && m.wParam == 1);
    EXPECT_TRUE(percent);

    const AnalysisResults& r = job.results;
    ASSERT_FALSE(r.chords.empty());
    EXPECT_NEAR(r.referencePitch, 440.0f, 8.0f);
    EXPECT_FALSE(r.keyName.IsEmpty());
    EXPECT_EQ(r.pitchSetCodes.size(), r.pitchSetTimes.size());
    EXPECT_EQ(r.pitchPairCodes.size(), r.pitchPairTimes.size());
    // The song's chords are C, F and G (3, 8 and 10 from A): most of the
    // chords found are among them.
    int inKey = 0;
    for (const ChordEntry& c : r.chords) {
        EXPECT_EQ(c.visible, 1);
        inKey += (c.root == 3 || c.root == 8 || c.root == 10);
    }
    EXPECT_GE(inKey * 2, (int)r.chords.size());
    for (size_t i = 1; i < r.chords.size(); ++i)
        EXPECT_LE(r.chords[i - 1].time, r.chords[i].time);
    for (const BassNote& b : r.bassNotes) {
        EXPECT_EQ(b.placement, -1);
        EXPECT_GE(b.pitch, 0);
        EXPECT_LE(b.pitch, 11);
    }
}

TEST_F(AnalysisJobTest, CancelledBeforeTheStartFindsNothing)
{
    std::string song = WriteSong("analysis-job-stereo.wav", 2, 16, 22050, 6.0);
    m_files.push_back(song);
    CWaveOut player(m_sink.hwnd());
    ASSERT_TRUE(player.LoadWave(song.c_str()));
    CEngineLoader engine(m_sink.hwnd(), (ExeFolder() + "Zumbrel.dll").c_str());
    ASSERT_TRUE(engine.IsLoaded());
    SetEvent(m_cancel);
    CAnalysisJob job;
    EXPECT_EQ(Run(player, &engine, job), (std::vector<WPARAM>{5, 3, kStageStopped}));
    EXPECT_TRUE(job.results.chords.empty());
    EXPECT_TRUE(job.results.bassNotes.empty());
}

TEST_F(AnalysisJobTest, StereoEightBitSongFailsTheConversion)
{
    std::string song = WriteSong("analysis-job-8bit.wav", 2, 8, 22050, 2.0);
    m_files.push_back(song);
    CWaveOut player(m_sink.hwnd());
    ASSERT_TRUE(player.LoadWave(song.c_str()));
    CAnalysisJob job;
    EXPECT_EQ(Run(player, nullptr, job), (std::vector<WPARAM>{5, 0}));
}

TEST_F(AnalysisJobTest, EngineObjectWithoutEngineIsNotRead)
{
    std::string song = WriteSong("analysis-job-noengine.wav", 1, 16, 22050, 2.0);
    m_files.push_back(song);
    CWaveOut player(m_sink.hwnd());
    ASSERT_TRUE(player.LoadWave(song.c_str()));
    SetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", "1");
    CEngineLoader engine(m_sink.hwnd(), (ExeFolder() + "Zumbrel.dll").c_str());
    SetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", nullptr);
    ASSERT_TRUE(engine.IsLoaded());
    CAnalysisJob job;
    EXPECT_EQ(Run(player, &engine, job), (std::vector<WPARAM>{5, 3, 6}));
    EXPECT_TRUE(Posted(WM_ANALYSIS_NO_ENGINE));
    EXPECT_TRUE(job.results.chords.empty());
}

TEST_F(AnalysisJobTest, NoSongAndNoLibrary)
{
    CWaveOut player(m_sink.hwnd());
    CAnalysisJob job;
    EXPECT_EQ(Run(player, nullptr, job), (std::vector<WPARAM>{5, 4}));
}
