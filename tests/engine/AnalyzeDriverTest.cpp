// The whole front end as the exported object drives it.
#include <gtest/gtest.h>

#include <vector>

#include "SynthAudio.h"
#include "engine/AnalysisEngine.h"

namespace {
struct Recorder : IEngineNotify {
    std::vector<int> posts;
    void PostProgress(int percent) override { posts.push_back(percent); }
};
struct CountingCancel : ICancelSignal {
    int polls = 0;
    int fireAt = -1; // poll number from which the signal is set
    bool IsSignalled() override { return fireAt >= 0 && polls++ >= fireAt; }
};
} // namespace

TEST(AnalyzeDriver, SongAcrossTheBlockSeamGivesTuningKeyAndProgress)
{
    Recorder rec;
    CAnalysisEngine engine(&rec);
    // 30 s at 22050 Hz: more than one block of analysed samples.
    std::vector<float> song = synth::Progression(22050, 30.0, 445.0, 62);
    engine.Analyze(song.data(), (int)song.size(), 22050, nullptr);
    EXPECT_NEAR(445.0, engine.GetReferencePitch(), 0.5);
    EXPECT_STREQ("D", engine.GetKeyName());
    ASSERT_GE(rec.posts.size(), 6u);
    EXPECT_EQ(0, rec.posts[0]);
    size_t tail = rec.posts.size() - 4;
    for (size_t i = 1; i < tail; ++i) {
        EXPECT_GE(rec.posts[i], rec.posts[i - 1]);
        EXPECT_LE(rec.posts[i], 80);
    }
    EXPECT_EQ(92, rec.posts[tail]);
    EXPECT_EQ(95, rec.posts[tail + 1]);
    EXPECT_EQ(97, rec.posts[tail + 2]);
    EXPECT_EQ(100, rec.posts[tail + 3]);
}
