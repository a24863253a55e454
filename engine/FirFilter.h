#pragma once
// Vectorised FIR filtering of one analysis block.

// out[i] = sum over j of taps[j] x block[i - n/2 + j] for n/2 <= i < len - n/2;
// the first n/2 outputs are 0, the last n/2 copy the input. Each output sums
// its taps in order, so only fused multiply-adds change the rounding.
void FirFilterBlock(const float* block, float* out, int len, const float* taps, int n);
