#pragma once
// Dense row-major matrix of 32-bit floats: the one container of the engine.
// Rows are fields, columns are events. No bounds checks: callers keep
// 0 <= r < rows and 0 <= c < cols.

class CFloatMatrix {
public:
    CFloatMatrix() : m_data(nullptr), m_cols(0), m_rows(0) {}
    CFloatMatrix(const CFloatMatrix& src);
    ~CFloatMatrix();
    CFloatMatrix& operator=(const CFloatMatrix& src);

    // Frees the old data; the new contents are not set.
    void Allocate(int rows, int cols);
    void Create(int rows, int cols, float fill) { Allocate(rows, cols); Fill(fill); }
    void Fill(float value);

    int GetRows() const { return m_rows; }
    int GetCols() const { return m_cols; }
    float* At(int row, int col) { return m_data + (long long)row * m_cols + col; }
    const float* At(int row, int col) const { return m_data + (long long)row * m_cols + col; }
    float GetAt(int row, int col) const { return m_data[(long long)row * m_cols + col]; }
    float* Data() { return m_data; }
    const float* Data() const { return m_data; }
    // The i-th float of the data.
    float* GetPtr(int i) { return m_data + i; }
    // The float that starts at byte position i.
    float GetAtByte(int i) const;

    // Diagnostics: writes a MATLAB level-4 file (doubles, column-major).
    bool SaveMat(const char* fileName, const char* varName) const;

private:
    void Release();
    float* m_data;
    int m_cols;
    int m_rows;
};
