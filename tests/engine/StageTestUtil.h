#pragma once
// Building small matrices row by row for the result-stage tests.

#include <initializer_list>
#include <vector>

#include "shared/FloatMatrix.h"

inline CFloatMatrix Rows(std::initializer_list<std::vector<float>> rows)
{
    CFloatMatrix m;
    const int cols = rows.size() ? (int)rows.begin()->size() : 0;
    m.Create((int)rows.size(), cols, 0.0f);
    int r = 0;
    for (const std::vector<float>& row : rows) {
        for (int c = 0; c < cols; ++c)
            *m.At(r, c) = row[c];
        ++r;
    }
    return m;
}

inline std::vector<float> Row(const CFloatMatrix& m, int r)
{
    std::vector<float> v;
    for (int c = 0; c < m.GetCols(); ++c)
        v.push_back(m.GetAt(r, c));
    return v;
}

// A 13-row chroma matrix (12 classes plus time, hop 40 ms) from per-frame
// class values.
inline CFloatMatrix Chroma(const std::vector<std::vector<float>>& frames)
{
    CFloatMatrix m;
    m.Create(13, (int)frames.size(), 0.0f);
    for (int c = 0; c < (int)frames.size(); ++c) {
        for (int k = 0; k < 12; ++k)
            *m.At(k, c) = frames[c][k];
        *m.At(12, c) = 40.0f * c;
    }
    return m;
}
