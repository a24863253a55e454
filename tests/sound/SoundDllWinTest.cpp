// The conversion library as the program binds it: loaded by name, the
// object from GetQuorvaSound, MP3 files made by lame converted into WAV.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "WavCheck.h"
#include "shared/ISoundLibrary.h"
#include "shared/Messages.h"
#include "tests/support/MessageSink.h"

namespace {
const char* kSongDir = "sound-test-songs\\";

class SoundDll : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA("QuorvaSound.dll");
        ASSERT_NE(m_module, nullptr);
        m_get = (GetQuorvaSoundFn)(void*)GetProcAddress(m_module, "GetQuorvaSound");
        ASSERT_NE(m_get, nullptr);
        m_lib = m_get();
        ASSERT_NE(m_lib, nullptr);
        m_lib->SetNotifyWindow(m_sink.hwnd());
    }
    void TearDown() override
    {
        if (m_lib)
            m_lib->Release();
        if (m_module)
            FreeLibrary(m_module);
    }

    // Converts and collects the posts up to the conversion's last message.
    void ConvertAndWait(const std::string& source, const std::string& target)
    {
        m_sink.messages.clear();
        m_lib->Convert(source.c_str(), target.c_str(), 0);
        bool ended = m_sink.PumpUntil(
            [&] {
                for (const PostedMessage& m : m_sink.messages)
                    if ((m.msg == WM_DECODE_STATUS && m.wParam == DECODE_DONE) || m.msg == WM_DECODE_RESULT)
                        return true;
                return false;
            },
            120000);
        ASSERT_TRUE(ended);
        m_sink.Pump();
    }

    // Progress posts with non-decreasing percents up to 100, then done.
    void ExpectProgressThenDone()
    {
        const auto& msgs = m_sink.messages;
        ASSERT_GE(msgs.size(), 2u);
        LPARAM last = 0;
        for (size_t i = 0; i + 1 < msgs.size(); ++i) {
            EXPECT_EQ(msgs[i].msg, WM_DECODE_STATUS);
            EXPECT_EQ(msgs[i].wParam, DECODE_PROGRESS);
            EXPECT_GE(msgs[i].lParam, last);
            EXPECT_LE(msgs[i].lParam, 100);
            last = msgs[i].lParam;
        }
        EXPECT_GE(last, 90);
        EXPECT_EQ(msgs.back().msg, WM_DECODE_STATUS);
        EXPECT_EQ(msgs.back().wParam, DECODE_DONE);
        EXPECT_EQ(msgs.back().lParam, 0);
    }

    static void ExpectHeaderMatches(const WavContents& w, uint16_t channels, uint32_t rate)
    {
        ASSERT_TRUE(w.ok);
        EXPECT_EQ(w.tag, 1);
        EXPECT_EQ(w.fmtSize, 16u);
        EXPECT_EQ(w.channels, channels);
        EXPECT_EQ(w.rate, rate);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.blockAlign, channels * 2);
        EXPECT_EQ(w.bytesPerSec, rate * channels * 2);
        EXPECT_EQ(w.dataSize, w.data.size());
        EXPECT_EQ(w.riffSize, w.dataSize + 36);
    }

    static void ExpectFrames(const WavContents& w, double seconds, long decoderFrame)
    {
        long frames = (long)(w.data.size() / w.blockAlign);
        long expected = (long)(seconds * w.rate + 0.5);
        EXPECT_LE(labs(frames - expected), decoderFrame) << frames << " frames, expected " << expected;
    }

    HMODULE m_module = nullptr;
    GetQuorvaSoundFn m_get = nullptr;
    ISoundLibrary* m_lib = nullptr;
    MessageSink m_sink;
};

TEST_F(SoundDll, ExportByNameAndOrdinalGiveOneObject)
{
    void* byOrdinal = (void*)GetProcAddress(m_module, MAKEINTRESOURCEA(1));
    EXPECT_EQ(byOrdinal, (void*)m_get);
    EXPECT_EQ(m_get(), m_lib);
    EXPECT_EQ(m_lib->GetInstance(), m_lib);
    EXPECT_STREQ(m_lib->GetVersion(), "2.0.3");

    SoundExtensionList* list = nullptr;
    SoundExtensionList* returned = m_lib->GetFileExtensions(&list);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(returned, list);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_STREQ(*(*list)[0], ".cda");
    EXPECT_STREQ(*(*list)[1], ".mp3");

    // A fresh object after Release.
    m_lib->Release();
    m_lib = m_get();
    ASSERT_NE(m_lib, nullptr);
    EXPECT_EQ(m_lib->GetFileExtensions(nullptr)->size(), 2u);
}

TEST_F(SoundDll, StereoMp3BecomesTheDecodedWav)
{
    ConvertAndWait(std::string(kSongDir) + "stereo.mp3", "sound-test-stereo.wav");
    ExpectProgressThenDone();
    WavContents w = ReadWav("sound-test-stereo.wav");
    ExpectHeaderMatches(w, 2, 44100);
    ExpectFrames(w, 3.0, 1152);
    // Left carries 440 Hz, right 660 Hz, each at half of full scale.
    size_t first = 44100 / 2, count = 44100;
    ASSERT_GE(w.data.size() / 4, first + count);
    EXPECT_GT(TonePower(w, 0, 440, first, count), 100 * TonePower(w, 0, 660, first, count));
    EXPECT_GT(TonePower(w, 1, 660, first, count), 100 * TonePower(w, 1, 440, first, count));
    EXPECT_NEAR(ChannelRms(w, 0, first, count), 0.5 / sqrt(2.0), 0.05);
    EXPECT_NEAR(ChannelRms(w, 1, first, count), 0.5 / sqrt(2.0), 0.05);
    DeleteFileA("sound-test-stereo.wav");
}

TEST_F(SoundDll, MonoMp3At22050)
{
    ConvertAndWait(std::string(kSongDir) + "mono.mp3", "sound-test-mono.wav");
    ExpectProgressThenDone();
    WavContents w = ReadWav("sound-test-mono.wav");
    ExpectHeaderMatches(w, 1, 22050);
    ExpectFrames(w, 2.0, 576);
    size_t first = 22050 / 2, count = 22050;
    ASSERT_GE(w.data.size() / 2, first + count);
    EXPECT_GT(TonePower(w, 0, 440, first, count), 100 * TonePower(w, 0, 660, first, count));
    EXPECT_NEAR(ChannelRms(w, 0, first, count), 0.5 / sqrt(2.0), 0.05);
    DeleteFileA("sound-test-mono.wav");
}

TEST_F(SoundDll, ShortMp3)
{
    ConvertAndWait(std::string(kSongDir) + "short.mp3", "sound-test-short.wav");
    ExpectProgressThenDone();
    WavContents w = ReadWav("sound-test-short.wav");
    ExpectHeaderMatches(w, 2, 44100);
    ExpectFrames(w, 0.2, 1152);
    DeleteFileA("sound-test-short.wav");
}

TEST_F(SoundDll, MissingSourceReportsFailureOnly)
{
    ConvertAndWait(std::string(kSongDir) + "no-such-song.mp3", "sound-test-missing.wav");
    ASSERT_EQ(m_sink.messages.size(), 1u);
    EXPECT_EQ(m_sink.messages[0].msg, WM_DECODE_RESULT);
    EXPECT_EQ(m_sink.messages[0].wParam, DECODE_FAILED);
    EXPECT_EQ(GetFileAttributesA("sound-test-missing.wav"), INVALID_FILE_ATTRIBUTES);
}
} // namespace
