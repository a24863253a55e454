#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "shared/FloatMatrix.h"

TEST(FloatMatrix, ShapesAndFill)
{
    CFloatMatrix m;
    EXPECT_EQ(nullptr, m.Data());
    EXPECT_EQ(0, m.GetRows());
    EXPECT_EQ(0, m.GetCols());

    m.Create(2, 3, 0.0f);
    ASSERT_EQ(2, m.GetRows());
    ASSERT_EQ(3, m.GetCols());
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(0.0f, m.GetAt(r, c));
    m.Create(2, 3, -1.0f);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(-1.0f, m.Data()[i]);
    // Row-major: (1, 2) of a three-column matrix is the sixth float.
    EXPECT_EQ(m.Data() + 5, m.At(1, 2));
    *m.At(1, 0) = 7.0f;
    EXPECT_EQ(7.0f, *m.GetPtr(3));
    EXPECT_EQ(7.0f, m.GetAtByte(12));
}

TEST(FloatMatrix, CopyRules)
{
    CFloatMatrix empty;
    CFloatMatrix copyOfEmpty(empty);
    EXPECT_EQ(nullptr, copyOfEmpty.Data());
    EXPECT_EQ(0, copyOfEmpty.GetRows());

    CFloatMatrix a;
    a.Create(2, 3, 1.5f);
    *a.At(0, 1) = 4.0f;
    CFloatMatrix b(a);
    EXPECT_NE(a.Data(), b.Data());
    EXPECT_EQ(4.0f, b.GetAt(0, 1));

    // Equal shapes keep the destination's buffer, so pointers handed out stay valid.
    CFloatMatrix same;
    same.Create(2, 3, 0.0f);
    const float* before = same.Data();
    same = a;
    EXPECT_EQ(before, same.Data());
    EXPECT_EQ(4.0f, same.GetAt(0, 1));

    CFloatMatrix small;
    small.Create(1, 1, 9.0f);
    small = a;
    EXPECT_EQ(2, small.GetRows());
    EXPECT_EQ(3, small.GetCols());
    EXPECT_EQ(1.5f, small.GetAt(1, 2));

    CFloatMatrix& self = small;
    small = self;
    EXPECT_EQ(4.0f, small.GetAt(0, 1));
}

TEST(FloatMatrix, SaveMatWritesLevel4Layout)
{
    CFloatMatrix m;
    m.Create(2, 2, 0.0f);
    *m.At(0, 0) = 1.0f;
    *m.At(0, 1) = 2.0f;
    *m.At(1, 0) = 3.0f;
    *m.At(1, 1) = 4.0f;
    const char* path = "floatmatrix_test.mat";
    ASSERT_TRUE(m.SaveMat(path, "S"));
    FILE* f = std::fopen(path, "rb");
    ASSERT_NE(nullptr, f);
    std::vector<unsigned char> bytes(256);
    size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    std::remove(path);
    ASSERT_EQ(20u + 2u + 32u, n);
    int header[5];
    std::memcpy(header, bytes.data(), sizeof header);
    EXPECT_EQ(0, header[0]);
    EXPECT_EQ(2, header[1]);
    EXPECT_EQ(2, header[2]);
    EXPECT_EQ(0, header[3]);
    EXPECT_EQ(2, header[4]);
    EXPECT_EQ('S', bytes[20]);
    double values[4];
    std::memcpy(values, bytes.data() + 22, sizeof values);
    // Column by column.
    EXPECT_EQ(1.0, values[0]);
    EXPECT_EQ(3.0, values[1]);
    EXPECT_EQ(2.0, values[2]);
    EXPECT_EQ(4.0, values[3]);
    EXPECT_FALSE(m.SaveMat("no/such/folder/x.mat", "S"));
}
