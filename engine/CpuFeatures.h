#pragma once
// What the processor running the analysis can do, asked once.

// True when AVX2 and FMA are usable (processor and operating system) and
// the baseline has not been forced.
bool CpuHasAvx2Fma();
// Tests run the SSE2 code on processors that have more.
void CpuForceBaseline(bool on);
