#include "app/AnalysisWorker.h"

#include <memory>

namespace {

int Post(IStagePoster& poster, int stage)
{
    poster.PostStage(stage);
    return stage;
}

} // namespace

int RunAnalysis(IAnalysisSong& song, IAnalysisEngine* engine, IStagePoster& poster,
                AnalysisResults& out)
{
    Post(poster, kStageStarted);

    int channels = song.GetChannels();
    if (channels != 1 && channels != 2)
        return Post(poster, kStageBadChannels);
    float* raw = nullptr;
    int count = 0;
    int rate = 0;
    if (!song.GetMonoSamples(&raw, &count, &rate) || !raw || count <= 0) {
        delete[] raw;
        return Post(poster, song.OutOfMemory() ? kStageOutOfMemory : kStageConversionFailed);
    }
    std::unique_ptr<float[]> samples(raw);

    Post(poster, kStageEngineRunning);
    if (!engine || !engine->Analyze(samples.get(), count, rate))
        return Post(poster, kStageNothingFound);

    CFloatMatrix* chords = nullptr;
    CFloatMatrix* bass = nullptr;
    CFloatMatrix* tones = nullptr;
    CFloatMatrix* bassTones = nullptr;
    engine->GetResults(&chords, &bass, &tones, &bassTones);
    out.referencePitch = engine->GetReferencePitch();
    out.keyName = engine->GetKeyName();

    // A stopped run leaves the engine's results as they are.
    if (!ConvertAnalysisMatrices(chords, bass, tones, bassTones, out))
        return Post(poster, kStageStopped);

    engine->ClearResults();
    return Post(poster, kStageDone);
}
