#pragma once
// The analysis worker's steps, apart from threads and windows: the song's
// samples as mono floats, one engine run over the whole song, its results
// into the records. Portable; the Win32 edge supplies the three sides.

#include "app/AnalysisResults.h"
#include "shared/Messages.h"

class CFloatMatrix;

// Stage codes the worker posts with WM_ANALYSIS_PROGRESS.
enum AnalysisStage {
    kStageConversionFailed = 0,
    kStageDone = 2,
    kStageEngineRunning = 3,
    kStageBadChannels = 4,
    kStageStarted = 5,
    kStageNothingFound = 6,
    // The engine stopped early: cancelled, or the song could not be analysed.
    kStageStopped = 7,
    kStageOutOfMemory = kAnalysisOutOfMemory,
};

class IAnalysisSong {
public:
    virtual int GetChannels() = 0;
    // Mono floats as a new[] array the caller frees; false when the samples
    // cannot be converted.
    virtual bool GetMonoSamples(float** samples, int* count, int* rate) = 0;
    // After a failed GetMonoSamples: it failed for want of memory.
    virtual bool OutOfMemory() { return false; }

protected:
    ~IAnalysisSong() = default;
};

class IAnalysisEngine {
public:
    // One run over the samples; false when there was no engine to run it,
    // in which case no result may be read.
    virtual bool Analyze(const float* samples, int count, int rate) = 0;
    virtual void GetResults(CFloatMatrix** chords, CFloatMatrix** bass, CFloatMatrix** tones,
                            CFloatMatrix** bassTones) = 0;
    virtual float GetReferencePitch() = 0;
    virtual CString GetKeyName() = 0;
    virtual void ClearResults() = 0;

protected:
    ~IAnalysisEngine() = default;
};

class IStagePoster {
public:
    virtual void PostStage(int stage) = 0;

protected:
    ~IStagePoster() = default;
};

// Runs the worker's steps; engine may be null (not loaded). Returns the last
// stage posted. out receives the records only with kStageDone.
int RunAnalysis(IAnalysisSong& song, IAnalysisEngine* engine, IStagePoster& poster,
                AnalysisResults& out);
