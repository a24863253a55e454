#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/DocTypes.h"
#include "app/WaveOut.h"
#include "tests/app/ProgramTestSupport.h"
#include "tests/app/WaveTestFiles.h"

using namespace wavtest;
using progtest::PlayedFilePath;
using progtest::ReadAll;

namespace {

// Frames that are distinct for the first 65536 frames at least.
std::vector<unsigned char> Song(unsigned frames)
{
    std::vector<unsigned char> d;
    for (unsigned i = 0; i < frames; ++i) {
        Put16(d, static_cast<uint16_t>(i * 7 + 1));
        Put16(d, static_cast<uint16_t>((i >> 16) + 0x100 + (i & 0xFF) * 0x101));
    }
    return d;
}

std::string TempPath(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

bool WaitFor(CWaveOut& w, double ms)
{
    for (int i = 0; i < 400; ++i) {
        if (w.GetPositionMs() >= ms)
            return true;
        Sleep(10);
    }
    return false;
}

} // namespace

TEST(WaveOut, ListsTheFileDeviceAndLoadsOnlyGoodFiles)
{
    CWaveOut w(nullptr);
    ASSERT_GE(w.GetDeviceCount(), 1);
    EXPECT_FALSE(w.GetDeviceName(0).IsEmpty());
    const std::string good = TempPath("quorva_wave_good.wav");
    const std::string bad = TempPath("quorva_wave_bad.wav");
    ASSERT_TRUE(WriteFile(good, Build(Spec(), Song(44100))));
    Spec s;
    s.declaredData = 1 << 20; // data chunk past the end of the file
    ASSERT_TRUE(WriteFile(bad, Build(s, Song(100))));

    ASSERT_TRUE(w.LoadWave(good.c_str()));
    EXPECT_EQ(2, w.GetChannels());
    EXPECT_EQ(44100, w.GetSampleRate());
    EXPECT_DOUBLE_EQ(1000.0, w.GetLengthMs());
    float *l = nullptr, *r = nullptr;
    int n = 0, rate = 0;
    ASSERT_TRUE(w.GetSamplesFloat(&l, &r, &n, &rate));
    EXPECT_EQ(44100, n);
    EXPECT_EQ(44100, rate);
    EXPECT_FLOAT_EQ(8 / 32768.0f, l[1]);
    delete[] l;
    delete[] r;

    // A failed load leaves nothing of the previous song, and says why.
    EXPECT_FALSE(w.LoadWave(bad.c_str()));
    EXPECT_EQ(WaveLoadFailure::Damaged, w.LastLoadFailure());
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_EQ(0, w.GetChannels());
    EXPECT_EQ(0.0, w.GetLengthMs());
    EXPECT_FALSE(w.Play(0));
    EXPECT_FALSE(w.GetSamplesFloat(&l, &r, &n, &rate));
    EXPECT_FALSE(w.LoadWave(TempPath("quorva_no_such.wav").c_str()));
    EXPECT_EQ(WaveLoadFailure::Open, w.LastLoadFailure());

    // At 8000 bytes a second, 115 MB last longer than any song the program
    // takes: refused as too long before a sample is read (the file is sparse).
    const std::string slow = TempPath("quorva_wave_slow.wav");
    Spec s8;
    s8.channels = 1;
    s8.bits = 8;
    s8.rate = 8000;
    const uint32_t bytes = (uint32_t)(kMaxSongMs / 1000 + 1) * 8000;
    s8.declaredData = (int)bytes;
    std::vector<unsigned char> head = Build(s8, {});
    const uint32_t riff = (uint32_t)head.size() - 8 + bytes;
    for (int i = 0; i < 4; ++i)
        head[4 + i] = (unsigned char)(riff >> (8 * i));
    ASSERT_TRUE(WriteFile(slow, head));
    HANDLE f = CreateFileA(slow.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    SetFilePointer(f, (LONG)(head.size() + bytes), nullptr, FILE_BEGIN);
    SetEndOfFile(f);
    CloseHandle(f);
    EXPECT_FALSE(w.LoadWave(slow.c_str()));
    EXPECT_EQ(WaveLoadFailure::TooLong, w.LastLoadFailure());
    DeleteFileA(slow.c_str());

    w.SelectDevice(5);
    EXPECT_EQ(0, w.GetDeviceIndex());
    // Without a device a song still loads, for the analysis; it only does
    // not play.
    w.SelectDevice(-1);
    EXPECT_FALSE(w.HasDevice());
    ASSERT_TRUE(w.LoadWave(good.c_str()));
    EXPECT_DOUBLE_EQ(1000.0, w.GetLengthMs());
    EXPECT_FALSE(w.Play(0));
    DeleteFileA(good.c_str());
    DeleteFileA(bad.c_str());
}

TEST(WaveOut, PlaysTheSongFromTheRequestedTimeIntoTheDevice)
{
    const std::string played = PlayedFilePath();
    ASSERT_FALSE(played.empty()) << "QUORVA_PLAYED_FILE not set";
    const std::string path = TempPath("quorva_wave_play.wav");
    const unsigned frames = 44100 * 10;
    const std::vector<unsigned char> song = Song(frames);
    ASSERT_TRUE(WriteFile(path, Build(Spec(), song)));
    const double startMs = 2000;
    const size_t startByte = 4 * 88200;
    double stoppedAt = 0;
    {
        CWaveOut w(nullptr);
        ASSERT_GE(w.GetDeviceCount(), 1);
        ASSERT_TRUE(w.LoadWave(path.c_str()));
        EXPECT_EQ(0.0, w.GetPositionMs()); // device closed
        EXPECT_FALSE(w.Play(10000));       // the end of the song
        ASSERT_TRUE(w.Play(startMs));
        ASSERT_TRUE(WaitFor(w, startMs + 300)) << w.GetPositionMs();
        const double a = w.GetPositionMs();
        EXPECT_GE(a, startMs);
        EXPECT_LT(a, 10000.0);
        w.Reset();
        stoppedAt = w.GetPositionMs();
        Sleep(300);
        EXPECT_EQ(stoppedAt, w.GetPositionMs()) << "still playing after reset";
    } // closes the device, which flushes the file
    const std::vector<unsigned char> out = ReadAll(played);
    ASSERT_GT(out.size(), 4096u);
    // The first bytes that reach the device are the song's from 2 s on.
    const std::vector<unsigned char> head(song.begin() + startByte, song.begin() + startByte + 4096);
    auto at = std::search(out.begin(), out.end(), head.begin(), head.end());
    ASSERT_NE(out.end(), at) << "song bytes not found in the played data";
    // Nothing from before the start time, and not the whole rest: the
    // reset stopped it.
    const std::vector<unsigned char> before(song.begin() + startByte - 4096, song.begin() + startByte);
    EXPECT_EQ(out.end(), std::search(out.begin(), out.end(), before.begin(), before.end()));
    size_t run = 0;
    for (auto p = at; p != out.end() && startByte + run < song.size() && *p == song[startByte + run]; ++p)
        ++run;
    EXPECT_GE(run, 4096u);
    EXPECT_LT(startByte + run, song.size() - 4 * 44100);
    DeleteFileA(path.c_str());
}
