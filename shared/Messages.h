#pragma once
// Window messages that cross threads and deliverables. wParam carries a
// status code, lParam a percentage unless stated otherwise.

// Engine progress (wParam 1, lParam percent) and the analysis worker's
// stage codes on the same message.
constexpr unsigned int WM_ANALYSIS_PROGRESS = 0x8D87;
// Analyze was called on an object without an engine (wParam 0, lParam 0).
constexpr unsigned int WM_ANALYSIS_NO_ENGINE = 0x8D88;

// Conversion library: audio-CD ripping status.
constexpr unsigned int WM_CD_RIP_STATUS = 0x80ED;
// Conversion library: compressed-file decoding status and result.
constexpr unsigned int WM_DECODE_STATUS = 0x239B;
constexpr unsigned int WM_DECODE_RESULT = 0x8D89;
