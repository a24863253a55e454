// The compressed-file converter over an in-process reader: what reaches the
// WAV file, the posts, and every failure code.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "FakeSyncReader.h"
#include "WavCheck.h"
#include "shared/Messages.h"
#include "sound/SoundLibrary.h"
#include "sound/SyncReaderFactory.h"
#include "tests/support/MessageSink.h"

FakeScript g_script;
LONG g_liveFakes = 0;

namespace {
const char* kSource = "sound-fake-source.bin";
const char* kTarget = "sound-fake-out.wav";

std::vector<BYTE> Bytes(size_t n, BYTE seed)
{
    std::vector<BYTE> b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = (BYTE)(seed + i * 7);
    return b;
}

class FakeDecode : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_script = FakeScript();
        FILE* f = fopen(kSource, "wb");
        ASSERT_NE(f, nullptr);
        fputs("not really compressed audio", f);
        fclose(f);
        DeleteFileA(kTarget);
        m_previous = SetSyncReaderFactory(&MakeFakeSyncReader);
        m_lib = GetQuorvaSound();
        ASSERT_NE(m_lib, nullptr);
        m_lib->SetNotifyWindow(m_sink.hwnd());
    }
    void TearDown() override
    {
        m_lib->Release(); // waits for the worker
        SetSyncReaderFactory(m_previous);
        EXPECT_EQ(g_liveFakes, 0) << "reader objects left unreleased";
        DeleteFileA(kSource);
        DeleteFileA(kTarget);
    }

    void Run(const std::string& source, const std::string& target = kTarget)
    {
        m_lib->Convert(source.c_str(), target.c_str(), 0);
        ASSERT_TRUE(m_sink.PumpUntil(
            [&] {
                for (const PostedMessage& m : m_sink.messages)
                    if ((m.msg == WM_DECODE_STATUS && m.wParam == DECODE_DONE) || m.msg == WM_DECODE_RESULT)
                        return true;
                return false;
            },
            60000));
        // The worker has ended once Release returns; nothing may follow.
        m_lib->Release();
        m_lib = GetQuorvaSound();
        m_lib->SetNotifyWindow(m_sink.hwnd());
        m_sink.Pump();
    }

    void ExpectOnlyFailure()
    {
        ASSERT_FALSE(m_sink.messages.empty());
        const PostedMessage& last = m_sink.messages.back();
        EXPECT_EQ(last.msg, WM_DECODE_RESULT);
        EXPECT_EQ(last.wParam, DECODE_FAILED);
        EXPECT_EQ(last.lParam, 0);
        for (const PostedMessage& m : m_sink.messages)
            EXPECT_FALSE(m.msg == WM_DECODE_STATUS && m.wParam == DECODE_DONE);
    }

    std::vector<LPARAM> Percents() const
    {
        std::vector<LPARAM> p;
        for (const PostedMessage& m : m_sink.messages)
            if (m.msg == WM_DECODE_STATUS && m.wParam == DECODE_PROGRESS)
                p.push_back(m.lParam);
        return p;
    }

    SyncReaderFactoryFn m_previous = nullptr;
    ISoundLibrary* m_lib = nullptr;
    MessageSink m_sink;
};

TEST_F(FakeDecode, WritesTheAudioSamplesAndSkipsMarkedOnes)
{
    // 1 s of 8 kHz 16-bit stereo = 32000 bytes, in four buffers, with a
    // discontinuity-only, a data-loss-only and a video sample between.
    auto a = Bytes(8000, 1), b = Bytes(8000, 2), c = Bytes(8000, 3), d = Bytes(8000, 4);
    g_script.samples = {{1, 0, a}, {1, 2, Bytes(100, 9)}, {1, 1, b}, {2, 0, Bytes(50, 8)},
                        {1, 4, Bytes(100, 9)}, {1, 0, c}, {1, 3, d}};
    Run(kSource);

    EXPECT_EQ(Percents(), (std::vector<LPARAM>{25, 50, 75, 100}));
    ASSERT_EQ(m_sink.messages.size(), 5u);
    EXPECT_EQ(m_sink.messages.back().msg, WM_DECODE_STATUS);
    EXPECT_EQ(m_sink.messages.back().wParam, DECODE_DONE);

    WavContents w = ReadWav(kTarget);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.channels, 2);
    EXPECT_EQ(w.rate, 8000u);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.blockAlign, 4);
    EXPECT_EQ(w.bytesPerSec, 32000u);
    EXPECT_EQ(w.dataSize, 32000u);
    EXPECT_EQ(w.riffSize, 32036u);
    std::vector<uint8_t> expected;
    for (auto* part : {&a, &b, &c, &d})
        expected.insert(expected.end(), part->begin(), part->end());
    EXPECT_EQ(w.data, expected);

    // The reader was made on the worker, with COM ready there.
    EXPECT_EQ(g_script.readersMade, 1);
    EXPECT_NE(g_script.factoryThread, GetCurrentThreadId());
    EXPECT_TRUE(g_script.comReadyOnFactoryThread);
}

TEST_F(FakeDecode, AudioBeyondTheStatedDurationIsKept)
{
    // States 0.5 s (a variable-rate file may) but delivers 1 s.
    g_script.channels = 1;
    g_script.duration = 5000000;
    for (int i = 0; i < 4; ++i)
        g_script.samples.push_back({1, 0, Bytes(4000, (BYTE)i)});
    Run(kSource);
    EXPECT_EQ(Percents(), (std::vector<LPARAM>{50, 100})); // a repeated percent is not posted again
    WavContents w = ReadWav(kTarget);
    EXPECT_EQ(w.dataSize, 16000u);
    EXPECT_EQ(w.data.size(), 16000u);
    EXPECT_EQ(w.blockAlign, 2);
    EXPECT_EQ(w.bytesPerSec, 16000u);
}

TEST_F(FakeDecode, WideOutputIsAskedForAs16BitPcm)
{
    g_script.bits = 24;
    g_script.samples = {{1, 0, Bytes(3200, 1)}};
    Run(kSource);
    ASSERT_TRUE(g_script.outputPropsSet);
    EXPECT_EQ(g_script.requested.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(g_script.requested.wBitsPerSample, 16);
    EXPECT_EQ(g_script.requested.nChannels, 2);
    EXPECT_EQ(g_script.requested.nSamplesPerSec, 8000u);
    EXPECT_EQ(g_script.requested.nBlockAlign, 4);
    WavContents w = ReadWav(kTarget);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.blockAlign, 4);
}

TEST_F(FakeDecode, WideOutputKeptWhenRefusedIsLabelledWithItsWidth)
{
    g_script.bits = 24;
    g_script.acceptPcm16 = false;
    g_script.samples = {{1, 0, Bytes(4800, 1)}};
    Run(kSource);
    WavContents w = ReadWav(kTarget);
    EXPECT_EQ(w.bits, 24);
    EXPECT_EQ(w.blockAlign, 6);
    EXPECT_EQ(w.bytesPerSec, 48000u);
    EXPECT_EQ(w.dataSize, 4800u);
}

TEST_F(FakeDecode, FloatOutputThatCannotBeMade16BitFails)
{
    g_script.formatTag = 3; // IEEE float
    g_script.bits = 32;
    g_script.acceptPcm16 = false;
    g_script.samples = {{1, 0, Bytes(3200, 1)}};
    Run(kSource);
    ExpectOnlyFailure();
    EXPECT_EQ(m_sink.messages.size(), 1u);
}

TEST_F(FakeDecode, EachFailurePostsTheFailureCode)
{
    struct Case {
        const char* what;
        void (*script)();
        std::string source, target;
    };
    const Case cases[] = {
        {"no audio output", [] { g_script.audioOutput = false; }, kSource, kTarget},
        {"duration 0", [] { g_script.duration = 0; }, kSource, kTarget},
        {"missing source", [] {}, "sound-no-such-source.mp3", kTarget},
        {"unwritable target", [] {}, kSource, "sound-no-such-dir\\deeper\\out.wav"},
        {"http source", [] {}, "HTTP://host/song.mp3", kTarget},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_script = FakeScript();
        g_script.samples = {{1, 0, Bytes(400, 1)}};
        c.script();
        m_sink.messages.clear();
        Run(c.source, c.target);
        ExpectOnlyFailure();
        EXPECT_EQ(m_sink.messages.size(), 1u);
    }
    // The network source is refused before any reader is made.
    EXPECT_EQ(g_script.readersMade, 0);
}

TEST_F(FakeDecode, ReadErrorAfterSomeAudioFails)
{
    g_script.samples = {{1, 0, Bytes(8000, 1)}};
    g_script.afterSamples = E_FAIL;
    Run(kSource);
    EXPECT_EQ(Percents(), (std::vector<LPARAM>{25}));
    ExpectOnlyFailure();
    // The file keeps what was written so far behind the first header.
    WavContents w = ReadWav(kTarget);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.dataSize, 0u);
    EXPECT_EQ(w.data.size(), 8000u);
}

TEST_F(FakeDecode, EverySourceNotEndingInCdaGoesToTheDecoder)
{
    for (const char* source : {"sound-fake.WMA", "sound-fake.cda.mp3"}) {
        SCOPED_TRACE(source);
        m_sink.messages.clear();
        CopyFileA(kSource, source, FALSE);
        g_script.readersMade = 0;
        Run(source);
        EXPECT_EQ(g_script.readersMade, 1);
        DeleteFileA(source);
    }
}
} // namespace
