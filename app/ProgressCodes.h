#pragma once
// What the progress dialog does with each status code of the analysis, the
// CD ripper and the decoder. Portable, so the three tables are tested
// without a window.

// Which message brought the code.
enum class ProgressSource {
    Analysis,     // WM_ANALYSIS_PROGRESS: worker stages and engine percent
    CdRip,        // WM_CD_RIP_STATUS
    Decode,       // WM_DECODE_STATUS
    DecodeResult, // WM_DECODE_RESULT: the compressed file did not convert
    NoEngine,     // WM_ANALYSIS_NO_ENGINE: the engine object has no engine behind it
    SongRead,     // WM_SONG_READ_STATUS: a WAV file read into memory
};

enum class ProgressEnd { Continue, Ok, Cancel };

struct ProgressAction {
    bool showCancel = false;
    bool setBar = false;
    int bar = 0;              // passed on unchanged, even above 100
    int statusText = 0;       // language text for the status line, 0 leaves it
    int messageText = 0;      // language text of a message box shown first, 0 none
    bool resetCancelEvent = false;
    ProgressEnd end = ProgressEnd::Continue;
};

// Language text telling that the analysis could not run at all.
constexpr int kLangAnalysisCannotRun = 144;
// Language text telling that the engine could not analyse the song.
constexpr int kLangSongNotAnalysed = 150;
// Language text telling that a song is longer than the program takes or
// than its memory holds.
constexpr int kLangSongTooLong = 175;

// cancelAsked: the user asked the running analysis to stop.
ProgressAction DecideProgressAction(ProgressSource source, unsigned int code, int value,
                                    bool cancelAsked = false);
