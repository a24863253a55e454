#include <gtest/gtest.h>

#include <vector>

#include "app/AnalysisWorker.h"
#include "shared/FloatMatrix.h"

namespace {

struct FakeSong : IAnalysisSong {
    int channels = 1;
    bool convertOk = true;
    bool noMemory = false;
    int GetChannels() override { return channels; }
    bool OutOfMemory() override { return noMemory; }
    bool GetMonoSamples(float** samples, int* count, int* rate) override
    {
        if (!convertOk)
            return false;
        *samples = new float[100]();
        *count = 100;
        *rate = 22050;
        return true;
    }
};

struct FakeEngine : IAnalysisEngine {
    bool hasEngine = true;
    bool stopped = false;
    int analyzed = 0, cleared = 0, lastCount = 0, lastRate = 0;
    CFloatMatrix chords, bass, tones, bassTones;
    FakeEngine()
    {
        chords.Create(10, 1, 0.0f);
        *chords.At(0, 0) = 3.0f;
        *chords.At(2, 0) = 1.0f;
        *chords.At(6, 0) = 500.0f;
        *chords.At(7, 0) = 8.0f;
        *chords.At(9, 0) = 0.5f;
        bass.Create(7, 1, -1.0f);
        tones.Create(7, 1, -1.0f);
        *tones.At(0, 0) = 3.0f;
        *tones.At(6, 0) = 500.0f;
        bassTones.Create(3, 1, -1.0f);
    }
    bool Analyze(const float*, int count, int rate) override
    {
        ++analyzed;
        lastCount = count;
        lastRate = rate;
        if (stopped)
            chords.Create(1, 1, 0.0f);
        return hasEngine;
    }
    void GetResults(CFloatMatrix** c, CFloatMatrix** b, CFloatMatrix** t, CFloatMatrix** bt) override
    {
        if (!hasEngine)
            ADD_FAILURE() << "results read without an engine";
        *c = &chords;
        *b = &bass;
        *t = &tones;
        *bt = &bassTones;
    }
    float GetReferencePitch() override { return 438.5f; }
    CString GetKeyName() override { return "E minor"; }
    void ClearResults() override { ++cleared; }
};

struct Stages : IStagePoster {
    std::vector<int> posted;
    void PostStage(int s) override { posted.push_back(s); }
};

} // namespace

TEST(AnalysisWorker, SuccessfulRunFillsTheResults)
{
    FakeSong song;
    FakeEngine engine;
    Stages stages;
    AnalysisResults out;
    EXPECT_EQ(kStageDone, RunAnalysis(song, &engine, stages, out));
    EXPECT_EQ(stages.posted, (std::vector<int>{5, 3, 2}));
    EXPECT_EQ(engine.lastCount, 100);
    EXPECT_EQ(engine.lastRate, 22050);
    ASSERT_EQ(out.chords.size(), 1u);
    EXPECT_STREQ(out.chords[0].suffix, "maj7");
    EXPECT_TRUE(out.bassNotes.empty()); // the placeholder column
    EXPECT_EQ(out.pitchSetCodes.size(), 1u);
    EXPECT_FLOAT_EQ(out.referencePitch, 438.5f);
    EXPECT_STREQ(out.keyName, "E minor");
    EXPECT_EQ(engine.cleared, 1);
}

TEST(AnalysisWorker, FailuresPostTheirStage)
{
    for (int channels : {0, 3, 6}) {
        FakeSong song;
        song.channels = channels;
        FakeEngine engine;
        Stages stages;
        AnalysisResults out;
        EXPECT_EQ(kStageBadChannels, RunAnalysis(song, &engine, stages, out));
        EXPECT_EQ(stages.posted, (std::vector<int>{5, 4}));
        EXPECT_EQ(engine.analyzed, 0);
    }
    FakeSong song;
    song.channels = 2;
    song.convertOk = false;
    FakeEngine engine;
    Stages stages;
    AnalysisResults out;
    EXPECT_EQ(kStageConversionFailed, RunAnalysis(song, &engine, stages, out));
    EXPECT_EQ(stages.posted, (std::vector<int>{5, 0}));
    // A song too long for memory is told as such, not as a bad conversion.
    song.noMemory = true;
    Stages more;
    EXPECT_EQ(kStageOutOfMemory, RunAnalysis(song, &engine, more, out));
    EXPECT_EQ(more.posted, (std::vector<int>{5, kStageOutOfMemory}));
    EXPECT_EQ(0, engine.analyzed);
}

TEST(AnalysisWorker, NoEngineMissingLibraryAndStoppedRunEndTheRun)
{
    FakeSong song;
    {
        FakeEngine engine;
        engine.hasEngine = false;
        Stages stages;
        AnalysisResults out;
        EXPECT_EQ(kStageNothingFound, RunAnalysis(song, &engine, stages, out));
        EXPECT_EQ(stages.posted, (std::vector<int>{5, 3, 6}));
        EXPECT_EQ(engine.cleared, 0);
    }
    {
        FakeEngine engine;
        engine.stopped = true;
        Stages stages;
        AnalysisResults out;
        EXPECT_EQ(kStageStopped, RunAnalysis(song, &engine, stages, out));
        EXPECT_TRUE(out.chords.empty());
        EXPECT_EQ(engine.cleared, 0); // left for whoever looks next
    }
    Stages stages;
    AnalysisResults out;
    EXPECT_EQ(kStageNothingFound, RunAnalysis(song, nullptr, stages, out));
    EXPECT_EQ(stages.posted, (std::vector<int>{5, 3, 6}));
}
