#pragma once
// Window messages that cross threads and deliverables. wParam carries a
// status code, lParam a percentage unless stated otherwise.
//
// The messages of a conversion, a song read and an analysis name the run
// they belong to: the code is wParam's low word, the run its high word (1 to
// 0xFFFF, given by whoever starts the run). The engine's own posts carry no
// run (0). A run's late messages so never reach the next run's dialog.
constexpr unsigned int RunCode(unsigned int code, unsigned int run) { return (run & 0xFFFFu) << 16 | (code & 0xFFFFu); }
constexpr unsigned int CodeOf(unsigned long long wParam) { return (unsigned int)(wParam & 0xFFFFu); }
constexpr unsigned int RunOf(unsigned long long wParam) { return (unsigned int)(wParam >> 16 & 0xFFFFu); }

// Engine progress (wParam 1, lParam percent) and the analysis worker's
// stage codes on the same message.
constexpr unsigned int WM_ANALYSIS_PROGRESS = 0x8D87;
// The stage code for a song whose samples or buffers do not fit in memory,
// posted by the worker or by the engine.
constexpr unsigned int kAnalysisOutOfMemory = 8;
// Analyze was called on an object without an engine (wParam 0, lParam 0).
constexpr unsigned int WM_ANALYSIS_NO_ENGINE = 0x8D88;

// Conversion library: audio-CD ripping status.
constexpr unsigned int WM_CD_RIP_STATUS = 0x80ED;
// Conversion library: compressed-file decoding status and result.
constexpr unsigned int WM_DECODE_STATUS = 0x239B;
constexpr unsigned int WM_DECODE_RESULT = 0x8D89;

// wParam codes of WM_CD_RIP_STATUS.
constexpr unsigned int CD_RIP_FAILED = 0;      // drive, table of contents or a chunk failed
constexpr unsigned int CD_RIP_DONE = 1;        // WAV file complete and closed
constexpr unsigned int CD_RIP_PROGRESS = 2;    // lParam percent
constexpr unsigned int CD_RIP_ASPI_ERROR = 7;  // CD access layer unusable; nothing started

// wParam codes of WM_DECODE_STATUS.
constexpr unsigned int DECODE_WRITE_ERROR = 0; // writing the WAV file failed; DECODE_DONE follows
constexpr unsigned int DECODE_DONE = 1;        // WAV file complete and closed
constexpr unsigned int DECODE_PROGRESS = 2;    // lParam percent

// wParam code of WM_DECODE_RESULT.
constexpr unsigned int DECODE_FAILED = 0;      // the conversion failed

// The program's own reading of a long WAV file into memory.
constexpr unsigned int WM_SONG_READ_STATUS = 0x8D8A;
constexpr unsigned int SONG_READ_DONE = 1;     // read, or failed: the reader's result tells
constexpr unsigned int SONG_READ_PROGRESS = 2; // lParam percent

// Start-up thread to the splash window: wParam a heap CString that the
// receiver deletes and lParam 1 to show it; wParam 0 and lParam 0 close it.
constexpr unsigned int WM_SPLASH_STATUS = 0x8D6A;
