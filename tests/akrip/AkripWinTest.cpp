// akrip.dll with disc images: drive list, handles, table of contents,
// frame reads and the fault switches.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "akrip/akrip.h"
#include "tests/akrip/DiscImage.h"

namespace {

// Three tracks: frames 0-9, 10-140, 141-180; lead-out 181.
const std::vector<uint32_t> kStarts = {0, 10, 141};
const uint32_t kFrames = 181;

class AkripImage : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = TestFolder("akrip-test-disc");
        ASSERT_TRUE(WriteImage(s_dir + "\\disc.bin", kFrames));
        ASSERT_TRUE(WriteText(s_dir + "\\disc.cue", CueText("disc.bin", kStarts)));
    }

    void SetUp() override
    {
        m_image.reset(new ScopedEnv("QUORVA_CD_IMAGE", (s_dir + "\\disc.cue").c_str()));
    }

    static GETCDHAND Request(const CDREC& r)
    {
        GETCDHAND g;
        memset(&g, 0, sizeof g);
        g.size = sizeof g;
        g.ver = 1;
        g.ha = r.ha;
        g.tgt = r.tgt;
        g.lun = r.lun;
        g.numJitter = 1;
        g.numOverlap = 3;
        return g;
    }

    // Opens the image's drive through the list.
    static HCDROM OpenImage()
    {
        CDLIST list;
        memset(&list, 0, sizeof list);
        list.max = 8;
        if (!GetCDList(&list) || list.num != 1)
            return 0;
        GETCDHAND g = Request(list.cd[0]);
        return GetCDHandle(&g);
    }

    struct Buffer {
        std::vector<uint8_t> memory;
        TRACKBUF* tb;
        explicit Buffer(uint32_t frames) : memory(TRACKBUFHEAD + frames * 2352)
        {
            tb = reinterpret_cast<TRACKBUF*>(memory.data());
            tb->maxLen = frames * 2352;
        }
        int Read(HCDROM h, uint32_t start, uint32_t count)
        {
            tb->startFrame = start;
            tb->numFrames = count;
            tb->len = 77;
            tb->startOffset = 5;
            return ReadCDAudioLBA(h, tb);
        }
        std::vector<uint8_t> Data() const
        {
            return std::vector<uint8_t>(tb->buf + tb->startOffset, tb->buf + tb->startOffset + tb->len);
        }
    };

    static std::string s_dir;
    std::unique_ptr<ScopedEnv> m_image;
};

std::string AkripImage::s_dir;

uint32_t Address(const TOC& toc, unsigned offset)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&toc) + offset;
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

} // namespace

TEST_F(AkripImage, ListsOneDriveOnTheFirstCdromLetter)
{
    char expected = FirstCdromLetter();
    CDLIST list;
    memset(&list, 0xCD, sizeof list);
    list.max = 8;
    ASSERT_EQ(GetCDList(&list), 1);
    ASSERT_EQ(list.num, 1);
    EXPECT_EQ(list.cd[0].ha, 1);
    EXPECT_EQ(list.cd[0].lun, 0);
    EXPECT_EQ(list.cd[0].letter, expected ? expected : 'D');
    EXPECT_EQ(list.cd[0].tgt, list.cd[0].letter - 'A');
    EXPECT_LT(strlen(list.cd[0].info), sizeof list.cd[0].info);

    list.max = 0;
    ASSERT_EQ(GetCDList(&list), 1);
    EXPECT_EQ(list.num, 0);
    EXPECT_EQ(GetCDList(nullptr), 0);
}

TEST_F(AkripImage, TableOfContentsOfTheImage)
{
    HCDROM h = OpenImage();
    ASSERT_NE(h, 0u);
    EXPECT_EQ(ModifyCDParms(h, CDP_JITTER_CORRECTION, 0), 1);
    EXPECT_EQ(ModifyCDParms(h, 1, 0), 0);
    TOC toc;
    memset(&toc, 0, sizeof toc);
    ASSERT_EQ(ReadTOC(h, &toc), 1);
    EXPECT_EQ(toc.firstTrack, 1);
    EXPECT_EQ(toc.lastTrack, 3);
    for (unsigned n = 1; n <= 3; ++n) {
        EXPECT_EQ(Address(toc, 8 * n), kStarts[n - 1]) << n;
        EXPECT_EQ(toc.tracks[n - 1].trackNo, n);
    }
    EXPECT_EQ(Address(toc, 32), kFrames);
    EXPECT_EQ(toc.tracks[3].trackNo, 0xAA);
    EXPECT_EQ(ReadTOC(h, nullptr), 0);
    EXPECT_EQ(CloseCDHandle(h), 1);
    EXPECT_EQ(CloseCDHandle(h), 0);
    EXPECT_EQ(ReadTOC(h, &toc), 0);
    EXPECT_EQ(ModifyCDParms(h, CDP_JITTER_CORRECTION, 0), 0);
}

TEST_F(AkripImage, ReadsRawFramesAndRefusesBadRequests)
{
    HCDROM h = OpenImage();
    ASSERT_NE(h, 0u);
    Buffer b(26);
    ASSERT_EQ(b.Read(h, 5, 26), 1);
    EXPECT_EQ(b.tb->len, 26u * 2352);
    EXPECT_EQ(b.tb->status, 0u);
    EXPECT_TRUE(b.Data() == ImageBytes(5, 26));
    ASSERT_EQ(b.Read(h, 180, 1), 1); // the last frame
    EXPECT_TRUE(b.Data() == ImageBytes(180, 1));

    EXPECT_EQ(b.Read(h, 170, 12), 0); // past the lead-out
    EXPECT_NE(b.tb->status, 0u);
    EXPECT_EQ(b.tb->len, 0u);
    EXPECT_EQ(b.Read(h, 0, 27), 0);   // more than the buffer holds
    EXPECT_EQ(b.Read(h, 0, 0), 0);
    EXPECT_EQ(b.Read(h, 0xFFFFFFF0u, 20), 0);
    EXPECT_EQ(ReadCDAudioLBA(h, nullptr), 0);
    EXPECT_EQ(CloseCDHandle(h), 1);
    EXPECT_EQ(b.Read(h, 0, 1), 0);
    EXPECT_EQ(b.Read(0, 0, 1), 0);
}

TEST_F(AkripImage, HandleRequestsAreChecked)
{
    CDREC r;
    memset(&r, 0, sizeof r);
    r.ha = 1;
    r.tgt = 3;
    GETCDHAND g = Request(r);
    HCDROM h = GetCDHandle(&g);
    EXPECT_NE(h, 0u);
    CloseCDHandle(h);
    GETCDHAND bad = g;
    bad.size = 11;
    EXPECT_EQ(GetCDHandle(&bad), 0u);
    bad = g;
    bad.ver = 2;
    EXPECT_EQ(GetCDHandle(&bad), 0u);
    bad = g;
    bad.tgt = 26;
    EXPECT_EQ(GetCDHandle(&bad), 0u);
    bad = g;
    bad.ha = 2;
    EXPECT_EQ(GetCDHandle(&bad), 0u);
    EXPECT_EQ(GetCDHandle(nullptr), 0u);

    // Eight handles at most.
    std::vector<HCDROM> open;
    for (int i = 0; i < 8; ++i) {
        open.push_back(GetCDHandle(&g));
        EXPECT_NE(open.back(), 0u);
    }
    EXPECT_EQ(GetCDHandle(&g), 0u);
    for (HCDROM o : open)
        EXPECT_EQ(CloseCDHandle(o), 1);

    ScopedEnv noImage("QUORVA_CD_IMAGE", nullptr);
    EXPECT_EQ(GetCDHandle(&g), 0u);
}

TEST_F(AkripImage, MalformedImagesGiveNoHandle)
{
    struct Case {
        const char* name;
        std::string cue;
        uint32_t frames;
        size_t extra;
    } cases[] = {
        {"badcue", "FILE \"badcue.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n", 20, 0},
        {"nobin", CueText("missing.bin", {0}), 0, 0},
        {"partial", CueText("partial.bin", {0, 10}), 20, 100},
        {"short", CueText("short.bin", {0, 10}), 10, 0},   // track 2 starts at the end
        {"text", std::string("FILE \"text.bin\" BINARY\0", 23), 20, 0},
    };
    for (const Case& c : cases) {
        std::string base = s_dir + "\\" + c.name;
        ASSERT_TRUE(WriteText(base + ".cue", c.cue));
        if (c.frames) {
            ASSERT_TRUE(WriteImage(base + ".bin", c.frames, c.extra));
        }
        ScopedEnv image("QUORVA_CD_IMAGE", (base + ".cue").c_str());
        EXPECT_EQ(OpenImage(), 0u) << c.name;
    }
    ScopedEnv image("QUORVA_CD_IMAGE", (s_dir + "\\nothere.cue").c_str());
    EXPECT_EQ(OpenImage(), 0u);
}

TEST_F(AkripImage, FaultSwitches)
{
    EXPECT_EQ(GetAspiLibError(), 0);
    {
        ScopedEnv e("QUORVA_CD_FAULT_LIBERROR", "5");
        EXPECT_EQ(GetAspiLibError(), 5);
    }
    {
        ScopedEnv e("QUORVA_CD_FAULT_LIBERROR", "yes");
        EXPECT_EQ(GetAspiLibError(), 1);
    }
    {
        ScopedEnv e("QUORVA_CD_FAULT_NOHANDLE", "1");
        EXPECT_EQ(OpenImage(), 0u);
    }
    HCDROM h = OpenImage();
    ASSERT_NE(h, 0u);
    TOC toc;
    {
        ScopedEnv e("QUORVA_CD_FAULT_TOC", "1");
        EXPECT_EQ(ReadTOC(h, &toc), 0);
    }
    EXPECT_EQ(ReadTOC(h, &toc), 1);
    Buffer b(26);
    {
        ScopedEnv e("QUORVA_CD_FAULT_READ", "30-31,100");
        EXPECT_EQ(b.Read(h, 5, 26), 0);  // frames 5 to 30
        EXPECT_NE(b.tb->status, 0u);
        EXPECT_EQ(b.Read(h, 4, 26), 1);  // up to 29
        EXPECT_EQ(b.Read(h, 32, 26), 1);
        EXPECT_EQ(b.Read(h, 75, 26), 0);
        EXPECT_EQ(b.Read(h, 74, 26), 1);
        EXPECT_EQ(b.Read(h, 101, 26), 1);
        EXPECT_EQ(b.Read(h, 5, 26), 0);  // every try fails alike
    }
    {
        ScopedEnv e("QUORVA_CD_FAULT_READ", "oops");
        EXPECT_EQ(b.Read(h, 0, 1), 0);
    }
    EXPECT_EQ(b.Read(h, 4, 26), 1);
    CloseCDHandle(h);
}

TEST(AkripDevices, ListsOnlyCdromDrivesWithoutAnImage)
{
    ScopedEnv noImage("QUORVA_CD_IMAGE", nullptr);
    CDLIST list;
    memset(&list, 0, sizeof list);
    list.max = 8;
    ASSERT_EQ(GetCDList(&list), 1);
    char last = 0;
    for (int i = 0; i < list.num; ++i) {
        const CDREC& r = list.cd[i];
        EXPECT_EQ(r.ha, 0);
        EXPECT_GT(r.letter, last); // drive-letter order
        last = r.letter;
        char root[4] = {r.letter, ':', '\\', 0};
        EXPECT_EQ(GetDriveTypeA(root), (UINT)DRIVE_CDROM);
    }
}
