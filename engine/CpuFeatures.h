#pragma once
// What the processor running the analysis can do, asked once.

// True when AVX2 and FMA are usable (processor and operating system).
bool CpuHasAvx2Fma();
