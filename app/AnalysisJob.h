#pragma once
// The analysis worker's thread: what one run needs, and the thread body.
#include <windows.h>

#include "app/AnalysisResults.h"

class CEngineLoader;
class CWaveOut;
class IStagePoster;

struct CAnalysisJob {
    HWND notifyWnd = nullptr;          // gets WM_ANALYSIS_PROGRESS with the stage codes
    unsigned int run = 0;              // carried by every stage code (see RunCode)
    CWaveOut* player = nullptr;        // the analysed document's song
    CEngineLoader* engine = nullptr;   // may be null or unloaded
    HANDLE cancelEvent = nullptr;      // polled by the engine
    AnalysisResults results;           // read only after the last stage has arrived
};

// Thread body; the argument is a CAnalysisJob. Returns 0.
UINT AnalysisThreadProc(LPVOID job);
// The body's run with the stages going to another poster (the benchmark
// notes when the last one is posted). Returns the last stage posted.
int RunAnalysisJob(CAnalysisJob& job, IStagePoster& poster);
