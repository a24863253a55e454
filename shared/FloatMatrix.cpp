#include "FloatMatrix.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstdint>

CFloatMatrix::CFloatMatrix(const CFloatMatrix& src) : m_data(nullptr), m_cols(0), m_rows(0)
{
    if (src.m_data == nullptr)
        return;
    Allocate(src.m_rows, src.m_cols);
    std::memcpy(m_data, src.m_data, sizeof(float) * (size_t)m_rows * (size_t)m_cols);
}

CFloatMatrix::~CFloatMatrix() { Release(); }

void CFloatMatrix::Release()
{
    delete[] m_data;
    m_data = nullptr;
}

CFloatMatrix& CFloatMatrix::operator=(const CFloatMatrix& src)
{
    if (this == &src)
        return *this;
    if (src.m_data == nullptr) {
        Release();
        m_rows = m_cols = 0;
        return *this;
    }
    // Equal shapes keep the buffer: result matrices are handed out by address.
    if (m_data == nullptr || m_rows != src.m_rows || m_cols != src.m_cols)
        Allocate(src.m_rows, src.m_cols);
    std::memcpy(m_data, src.m_data, sizeof(float) * (size_t)m_rows * (size_t)m_cols);
    return *this;
}

void CFloatMatrix::Allocate(int rows, int cols)
{
    Release();
    if (rows < 0) rows = 0;
    if (cols < 0) cols = 0;
    size_t n = (size_t)rows * (size_t)cols;
    m_data = new float[n > 0 ? n : 1];
    m_rows = rows;
    m_cols = cols;
}

void CFloatMatrix::Fill(float value)
{
    if (m_data == nullptr)
        return;
    size_t n = (size_t)m_rows * (size_t)m_cols;
    if (value == 0.0f) {
        std::memset(m_data, 0, n * sizeof(float));
        return;
    }
    for (size_t i = 0; i < n; ++i)
        m_data[i] = value;
}

float CFloatMatrix::GetAtByte(int i) const
{
    float f;
    std::memcpy(&f, reinterpret_cast<const unsigned char*>(m_data) + i, sizeof f);
    return f;
}

static void PutLE32(unsigned char* p, uint32_t v)
{
    p[0] = (unsigned char)v; p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16); p[3] = (unsigned char)(v >> 24);
}

bool CFloatMatrix::SaveMat(const char* fileName, const char* varName) const
{
    FILE* f = std::fopen(fileName, "wb");
    if (!f)
        return false;
    size_t nameLen = std::strlen(varName) + 1;
    unsigned char header[20];
    PutLE32(header + 0, 0);
    PutLE32(header + 4, (uint32_t)m_rows);
    PutLE32(header + 8, (uint32_t)m_cols);
    PutLE32(header + 12, 0);
    PutLE32(header + 16, (uint32_t)nameLen);
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
    ok = ok && std::fwrite(varName, 1, nameLen, f) == nameLen;
    for (int c = 0; ok && c < m_cols; ++c) {
        for (int r = 0; ok && r < m_rows; ++r) {
            double d = m_data[(size_t)r * m_cols + c];
            uint64_t bits;
            std::memcpy(&bits, &d, sizeof bits);
            unsigned char b[8];
            for (int i = 0; i < 8; ++i) b[i] = (unsigned char)(bits >> (8 * i));
            ok = std::fwrite(b, 1, 8, f) == 8;
        }
    }
    return std::fclose(f) == 0 && ok;
}
