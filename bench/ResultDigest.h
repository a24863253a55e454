#pragma once
// FNV-1a over the bits of the four result matrices and the reference pitch:
// builds that compute the same results print the same digest.
#include <cstddef>

#include "shared/FloatMatrix.h"

inline unsigned long long ResultDigest(CFloatMatrix* const (&m)[4], float referencePitch)
{
    unsigned long long h = 1469598103934665603ull;
    auto add = [&](const void* p, size_t n) {
        for (size_t i = 0; i < n; ++i)
            h = (h ^ ((const unsigned char*)p)[i]) * 1099511628211ull;
    };
    for (CFloatMatrix* x : m)
        for (int r = 0; x && r < x->GetRows(); ++r)
            add(x->At(r, 0), sizeof(float) * (size_t)x->GetCols());
    add(&referencePitch, sizeof referencePitch);
    return h;
}
