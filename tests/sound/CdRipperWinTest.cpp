// The CD ripper on a disc image in a Wine CD-ROM drive: WAV files, posted
// codes, message boxes and every failure path.
#include <gtest/gtest.h>

#include <memory>

#include "shared/ISoundLibrary.h"
#include "shared/Messages.h"
#include "sound/CdRipper.h"
#include "tests/akrip/DiscImage.h"
#include "tests/sound/CdTestSupport.h"
#include "tests/sound/WavCheck.h"
#include "tests/support/MessageSink.h"

namespace {

// Track 1: 10 frames (one short chunk); track 2: 26 x 5 + 1 frames; track 3:
// 40 frames up to the lead-out.
const std::vector<uint32_t> kStarts = {0, 10, 141};
const uint32_t kFrames = 181;

struct Code {
    WPARAM code;
    LPARAM percent;
    bool operator==(const Code& o) const { return code == o.code && percent == o.percent; }
};
std::ostream& operator<<(std::ostream& os, const Code& c) { return os << "(" << c.code << "," << c.percent << ")"; }

const Code kStarted = {CD_RIP_PROGRESS, 0};
const Code kFailed = {CD_RIP_FAILED, 0};
const Code kDone = {CD_RIP_DONE, 0};

struct RipRun {
    int started = -1;
    std::vector<Code> codes;
    std::vector<BoxCloser::Box> boxes;
};

class CdRipperTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = TestFolder("cd-ripper-test");
        s_root = TestFolder("cd-ripper-test\\drive");
        ASSERT_TRUE(WriteImage(s_dir + "\\disc.bin", kFrames));
        ASSERT_TRUE(WriteText(s_dir + "\\disc.cue", CueText("disc.bin", kStarts)));
        // A free letter (or ours from an earlier run) becomes the CD-ROM drive.
        for (char l = 'Q'; l < 'Z' && !s_letter; ++l) {
            char root[4] = {l, ':', '\\', 0};
            UINT type = GetDriveTypeA(root);
            if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_CDROM)
                s_letter = l;
        }
        ASSERT_NE(s_letter, 0);
        ASSERT_TRUE(WineDrive::DefineCdrom(s_letter, s_root)) << "cannot define a CD-ROM drive";
        char root[4] = {s_letter, ':', '\\', 0};
        ASSERT_EQ(GetDriveTypeA(root), (UINT)DRIVE_CDROM);
        // The image sits in the first CD-ROM drive, which is ours unless the
        // machine has one of its own.
        s_disc = FirstCdromLetter();
        for (int n = 1; n <= 3; ++n)
            WriteText(s_root + "\\Track0" + std::to_string(n) + ".cda", "");
    }

    static void TearDownTestSuite()
    {
        if (s_letter)
            WineDrive::Remove(s_letter);
    }

    void SetUp() override
    {
        m_image.reset(new ScopedEnv("QUORVA_CD_IMAGE", (s_dir + "\\disc.cue").c_str()));
    }

    static std::string Track(int n) { return std::string(1, s_disc) + ":\\Track0" + std::to_string(n) + ".cda"; }
    static std::string Target(const char* name) { return s_dir + "\\" + name; }

    // One StartRip; waits for the rip's end when a worker was started.
    static RipRun Rip(CCdRipper& ripper, const std::string& source, const std::string& target)
    {
        MessageSink sink;
        RipRun run;
        BoxCloser closer;
        DeleteFileA(target.c_str());
        run.started = ripper.StartRip(sink.hwnd(), source.c_str(), target.c_str());
        if (run.started) {
            EXPECT_TRUE(sink.PumpUntil([&] { return Has(sink, CD_RIP_DONE) || Has(sink, CD_RIP_FAILED); }, 60000));
        }
        sink.Pump();
        run.boxes = closer.Boxes();
        for (const PostedMessage& m : sink.messages) {
            EXPECT_EQ(m.msg, WM_CD_RIP_STATUS);
            run.codes.push_back({m.wParam, m.lParam});
        }
        return run;
    }

    static bool Has(const MessageSink& sink, WPARAM code)
    {
        for (const PostedMessage& m : sink.messages)
            if (m.msg == WM_CD_RIP_STATUS && m.wParam == code)
                return true;
        return false;
    }

    static void ExpectCdWav(const std::string& path, const std::vector<uint8_t>& samples)
    {
        WavContents w = ReadWav(path);
        ASSERT_TRUE(w.ok) << path;
        EXPECT_EQ(w.riffSize, samples.size() + 36);
        EXPECT_EQ(w.fmtSize, 16u);
        EXPECT_EQ(w.tag, 1);
        EXPECT_EQ(w.channels, 2);
        EXPECT_EQ(w.rate, 44100u);
        EXPECT_EQ(w.bytesPerSec, 176400u);
        EXPECT_EQ(w.blockAlign, 4);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.dataSize, samples.size());
        EXPECT_TRUE(w.data == samples) << "samples differ from the image";
    }

    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // A start refused with one message box and code 0.
    static void ExpectRefusedWithBox(const RipRun& run, const char* caption, const char* text,
                                     const std::string& target)
    {
        EXPECT_EQ(run.started, 0);
        EXPECT_EQ(run.codes, std::vector<Code>({kFailed}));
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].caption, caption);
        std::string shown = run.boxes[0].text;
        while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r'))
            shown.pop_back();
        std::string want = text;
        while (!want.empty() && want.back() == '\n')
            want.pop_back();
        EXPECT_EQ(shown, want);
        EXPECT_FALSE(Exists(target));
    }

    static std::string s_dir, s_root;
    static char s_letter, s_disc;
    std::unique_ptr<ScopedEnv> m_image;
};

std::string CdRipperTest::s_dir, CdRipperTest::s_root;
char CdRipperTest::s_letter, CdRipperTest::s_disc;

const char* const kAspiText =
    "Could not locate cd drive. Something is wrong with aspi manager. (must have Windows 98 Second Edition or "
    "later).";

} // namespace

TEST_F(CdRipperTest, ShortTrackInOneRead)
{
    CCdRipper ripper;
    RipRun run = Rip(ripper, Track(1), Target("t1.wav"));
    EXPECT_EQ(run.started, 1);
    EXPECT_EQ(run.codes, std::vector<Code>({kStarted, kStarted, kDone}));
    EXPECT_TRUE(run.boxes.empty());
    ExpectCdWav(Target("t1.wav"), ImageBytes(0, 10));
}

TEST_F(CdRipperTest, SixChunksWithProgressBeforeTheFifth)
{
    CCdRipper ripper;
    RipRun run = Rip(ripper, Track(2), Target("t2.wav"));
    EXPECT_EQ(run.started, 1);
    // 131 frames: five chunks of 26, progress with 1 frame left, then 1.
    EXPECT_EQ(run.codes, std::vector<Code>({kStarted, kStarted, {CD_RIP_PROGRESS, 99}, kDone}));
    ExpectCdWav(Target("t2.wav"), ImageBytes(10, 131));
}

TEST_F(CdRipperTest, LastTrackEndsAtTheLeadOutAndUpperCaseNames)
{
    CCdRipper ripper;
    std::string source = Track(3);
    source.replace(source.size() - 4, 4, ".CDA");
    RipRun run = Rip(ripper, source, Target("t3.wav"));
    EXPECT_EQ(run.started, 1);
    EXPECT_EQ(run.codes, std::vector<Code>({kStarted, kStarted, kDone}));
    ExpectCdWav(Target("t3.wav"), ImageBytes(141, 40));
}

TEST_F(CdRipperTest, UnreadableChunkEndsTheRipAndFreesTheDrive)
{
    CCdRipper ripper;
    {
        // Frame 37 lies in the second chunk of track 2 (frames 36 to 61):
        // the failure is the rip's last word.
        ScopedEnv fault("QUORVA_CD_FAULT_READ", "37");
        RipRun run = Rip(ripper, Track(2), Target("gap.wav"));
        EXPECT_EQ(run.started, 1);
        EXPECT_EQ(run.codes, std::vector<Code>({kStarted, kStarted, kFailed}));
    }
    // By then the worker has given the drive back: the next rip runs at once.
    const DWORD start = GetTickCount();
    RipRun run = Rip(ripper, Track(1), Target("after.wav"));
    EXPECT_EQ(run.codes, std::vector<Code>({kStarted, kStarted, kDone}));
    EXPECT_LT(GetTickCount() - start, 10000u);
}

TEST_F(CdRipperTest, TrackNumbersOffTheDiscAreRefused)
{
    CCdRipper ripper;
    for (const char* name : {"Track00.cda", "Track04.cda", "Trackxx.cda"}) {
        std::string source = std::string(1, s_disc) + ":\\" + name;
        RipRun run = Rip(ripper, source, Target("off.wav"));
        EXPECT_EQ(run.started, 0) << name;
        EXPECT_EQ(run.codes, std::vector<Code>({kFailed})) << name;
        EXPECT_TRUE(run.boxes.empty()) << name;
        EXPECT_FALSE(Exists(Target("off.wav"))) << name;
    }
    // The ripper still works afterwards.
    RipRun run = Rip(ripper, Track(1), Target("after.wav"));
    EXPECT_EQ(run.codes, std::vector<Code>({kStarted, kStarted, kDone}));
}

TEST_F(CdRipperTest, DriveThatIsNoCdromShowsTheAspiBox)
{
    CCdRipper ripper;
    ExpectRefusedWithBox(Rip(ripper, "C:\\Track01.cda", Target("c.wav")), "ASPI Error", kAspiText, Target("c.wav"));
    ExpectRefusedWithBox(Rip(ripper, "", Target("c.wav")), "ASPI Error", kAspiText, Target("c.wav"));
}

TEST_F(CdRipperTest, LibraryErrorPostsSevenOnly)
{
    ScopedEnv fault("QUORVA_CD_FAULT_LIBERROR", "1");
    CCdRipper ripper;
    RipRun run = Rip(ripper, Track(1), Target("lib.wav"));
    EXPECT_EQ(run.started, 0);
    EXPECT_EQ(run.codes, std::vector<Code>({{CD_RIP_ASPI_ERROR, 0}}));
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_FALSE(Exists(Target("lib.wav")));
}

TEST_F(CdRipperTest, DriveThatDoesNotOpenShowsTheAspiBox)
{
    CCdRipper ripper;
    {
        ScopedEnv fault("QUORVA_CD_FAULT_NOHANDLE", "1");
        ExpectRefusedWithBox(Rip(ripper, Track(1), Target("nh.wav")), "ASPI Error", kAspiText, Target("nh.wav"));
    }
    // A malformed cue sheet is a disc that does not open.
    std::string bad = s_dir + "\\bad.cue";
    ASSERT_TRUE(WriteText(bad, "FILE \"disc.bin\" BINARY\r\nTRACK 01 AUDIO\r\nINDEX 01 00:00\r\n"));
    ScopedEnv image("QUORVA_CD_IMAGE", bad.c_str());
    ExpectRefusedWithBox(Rip(ripper, Track(1), Target("nh.wav")), "ASPI Error", kAspiText, Target("nh.wav"));
}

TEST_F(CdRipperTest, UnreadableTableOfContentsShowsTheErrorBox)
{
    ScopedEnv fault("QUORVA_CD_FAULT_TOC", "1");
    CCdRipper ripper;
    ExpectRefusedWithBox(Rip(ripper, Track(1), Target("toc.wav")), "Error", "Could not get TOC from CD\n",
                         Target("toc.wav"));
}

TEST_F(CdRipperTest, TargetThatCannotBeCreatedEndsWithoutDone)
{
    MessageSink sink;
    {
        CCdRipper ripper;
        EXPECT_EQ(ripper.StartRip(sink.hwnd(), Track(1).c_str(), (s_dir + "\\no\\such\\dir.wav").c_str()), 1);
    } // the destructor waits for the worker
    sink.Pump();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].wParam, CD_RIP_FAILED);
    // The worker gave the drive back: a new ripper opens it again.
    CCdRipper again;
    RipRun run = Rip(again, Track(1), Target("again.wav"));
    EXPECT_EQ(run.codes, std::vector<Code>({kStarted, kStarted, kDone}));
}

TEST_F(CdRipperTest, SecondStartWaitsForTheFirstRip)
{
    MessageSink sink;
    CCdRipper ripper;
    EXPECT_EQ(ripper.StartRip(sink.hwnd(), Track(2).c_str(), Target("first.wav").c_str()), 1);
    EXPECT_EQ(ripper.StartRip(sink.hwnd(), Track(1).c_str(), Target("second.wav").c_str()), 1);
    int done = 0;
    EXPECT_TRUE(sink.PumpUntil(
        [&] {
            done = 0;
            for (const PostedMessage& m : sink.messages)
                done += m.wParam == CD_RIP_DONE;
            return done == 2;
        },
        60000));
    std::vector<Code> codes;
    for (const PostedMessage& m : sink.messages)
        codes.push_back({m.wParam, m.lParam});
    EXPECT_EQ(codes, std::vector<Code>({kStarted, kStarted, {CD_RIP_PROGRESS, 99}, kDone, kStarted, kStarted, kDone}));
    ExpectCdWav(Target("first.wav"), ImageBytes(10, 131));
    ExpectCdWav(Target("second.wav"), ImageBytes(0, 10));
}

TEST_F(CdRipperTest, FindCdDriveIndexCountsCdromDrivesOnly)
{
    CCdRipper ripper;
    EXPECT_EQ(ripper.FindCdDriveIndex(CString(s_disc)), 0);
    EXPECT_EQ(ripper.FindCdDriveIndex("C"), -1);
    EXPECT_EQ(ripper.FindCdDriveIndex(CString((char)(s_disc - 'A' + 'a'))), -1); // case counts
    EXPECT_EQ(ripper.FindCdDriveIndex(""), -1);
    EXPECT_EQ(ripper.OpenDrive(-1), 0u);
    EXPECT_EQ(ripper.OpenDrive(0), 0u); // nothing listed yet
}

TEST_F(CdRipperTest, ConvertThroughTheExportedObject)
{
    HMODULE module = LoadLibraryA("QuorvaSound.dll");
    ASSERT_NE(module, nullptr);
    GetQuorvaSoundFn get = (GetQuorvaSoundFn)(void*)GetProcAddress(module, "GetQuorvaSound");
    ASSERT_NE(get, nullptr);
    ISoundLibrary* lib = get();
    MessageSink sink;
    lib->SetNotifyWindow(sink.hwnd());
    std::string target = Target("lib.wav");
    DeleteFileA(target.c_str());
    // Every message names the run it belongs to.
    lib->Convert(Track(2).c_str(), target.c_str(), 9);
    EXPECT_TRUE(sink.PumpUntil([&] { return Has(sink, RunCode(CD_RIP_DONE, 9)); }, 60000));
    sink.Pump();
    std::vector<Code> codes;
    for (const PostedMessage& m : sink.messages) {
        EXPECT_EQ(RunOf(m.wParam), 9u);
        codes.push_back({CodeOf(m.wParam), m.lParam});
    }
    EXPECT_EQ(codes, std::vector<Code>({kStarted, kStarted, {CD_RIP_PROGRESS, 99}, kDone}));
    ExpectCdWav(target, ImageBytes(10, 131));
    lib->Release();
    FreeLibrary(module);
}
