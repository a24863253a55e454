#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/Archive.h"

namespace {

std::vector<unsigned char> Store(const CString& s)
{
    CMemFile f;
    CArchive ar(&f, CArchive::store);
    ar << s;
    return f.Data();
}

template <class F>
void ExpectArchiveThrow(F f)
{
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (CArchiveException* e) {
        e->Delete();
    }
}

CString Load(const std::vector<unsigned char>& bytes)
{
    CMemFile f(bytes.data(), bytes.size());
    CArchive ar(&f, CArchive::load);
    CString s;
    ar >> s;
    return s;
}

} // namespace

TEST(Archive, StringPrefixForms)
{
    // Below 0xFF: one byte.
    auto b = Store(CString('x', 254));
    ASSERT_EQ(255u, b.size());
    EXPECT_EQ(254, b[0]);
    // 0xFF and a 16-bit length.
    b = Store(CString('x', 255));
    ASSERT_EQ(3u + 255, b.size());
    EXPECT_EQ(0xFF, b[0]);
    EXPECT_EQ(0xFF, b[1]);
    EXPECT_EQ(0x00, b[2]);
    // 0xFFFE would read as the wide marker: it takes the 32-bit form.
    b = Store(CString('y', 0xFFFE));
    ASSERT_EQ(7u + 0xFFFE, b.size());
    EXPECT_EQ(0xFF, b[0]);
    EXPECT_EQ(0xFF, b[1]);
    EXPECT_EQ(0xFF, b[2]);
    EXPECT_EQ(0xFE, b[3]);
    EXPECT_EQ(0xFF, b[4]);
    EXPECT_EQ(0x00, b[5]);
    EXPECT_EQ(0x00, b[6]);
    for (int n : {0, 1, 254, 255, 0xFFFD, 0xFFFE, 0xFFFF, 70000}) {
        CString s('a', n);
        if (n > 3)
            s.SetAt(3, 'Z');
        EXPECT_EQ(s, Load(Store(s))) << n;
    }
}

TEST(Archive, ReadsWideAndLongPrefixes)
{
    // 0xFF FFFE marker, then a one-byte count of 16-bit characters.
    std::vector<unsigned char> wide = {0xFF, 0xFE, 0xFF, 3, 'H', 0, 0xE9, 0, 0x01, 0x20};
    EXPECT_EQ(CString("H\xE9?"), Load(wide));
    // 64-bit length form.
    std::vector<unsigned char> q = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0, 0, 0, 0, 'o', 'k'};
    EXPECT_EQ(CString("ok"), Load(q));
}

TEST(Archive, MalformedStringsThrow)
{
    auto expectThrow = [](std::vector<unsigned char> bytes, int cause) {
        try {
            Load(bytes);
            ADD_FAILURE() << "no exception";
        } catch (CArchiveException* e) {
            EXPECT_EQ(cause, e->m_cause);
            char text[200];
            EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
            e->Delete();
        }
    };
    expectThrow({}, CArchiveException::endOfFile);
    expectThrow({5, 'a', 'b'}, CArchiveException::endOfFile);
    expectThrow({0xFF, 0x10}, CArchiveException::endOfFile);
    // A length far beyond the file is refused before any allocation.
    expectThrow({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x70, 'a'}, CArchiveException::endOfFile);
    // Above 31 bits.
    expectThrow({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0, 0, 0, 0}, CArchiveException::badIndex);
}

TEST(Archive, ValuesRoundTripLittleEndianThroughFile)
{
    std::string path = ::testing::TempDir() + "archive_values.bin";
    {
        CFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        CArchive ar(&f, CArchive::store);
        ar << true << int32_t(-2) << 0.25f << CString("key") << uint16_t(0x1234) << 1.5;
        ar.Close();
    }
    CFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
    ASSERT_EQ(1 + 4 + 4 + 4 + 2 + 8, f.GetLength());
    unsigned char head[5];
    ASSERT_EQ(5u, f.Read(head, 5));
    EXPECT_EQ(1, head[0]);
    EXPECT_EQ(0xFE, head[1]);
    EXPECT_EQ(0xFF, head[4]);
    f.Seek(0, CFile::begin);
    CArchive ar(&f, CArchive::load);
    bool b = false;
    int32_t i = 0;
    float fl = 0;
    CString s;
    uint16_t w = 0;
    double d = 0;
    ar >> b >> i >> fl >> s >> w >> d;
    EXPECT_TRUE(b);
    EXPECT_EQ(-2, i);
    EXPECT_EQ(0.25f, fl);
    EXPECT_EQ(CString("key"), s);
    EXPECT_EQ(0x1234, w);
    EXPECT_EQ(1.5, d);
    ExpectArchiveThrow([&] { ar >> i; });
    // Any non-zero byte reads as true; a store archive refuses reads.
    CMemFile m;
    unsigned char seven = 7;
    m.Write(&seven, 1);
    m.Seek(0, CFile::begin);
    CArchive ld(&m, CArchive::load);
    b = false;
    ld >> b;
    EXPECT_TRUE(b);
    CArchive st(&m, CArchive::store);
    ExpectArchiveThrow([&] { st >> b; });
    f.Close();
    CFile::Remove(path.c_str());
}

namespace {
class CShape : public CObject {
    DECLARE_DYNCREATE(CShape)
public:
    int sides = 4;
};
class CTriangle : public CShape {
    DECLARE_DYNCREATE(CTriangle)
public:
    CTriangle() { sides = 3; }
};
IMPLEMENT_DYNCREATE(CShape, CObject)
IMPLEMENT_DYNCREATE(CTriangle, CShape)
} // namespace

TEST(RuntimeClass, DynamicCreationAndKinds)
{
    CObject* o = RUNTIME_CLASS(CTriangle)->CreateObject();
    ASSERT_NE(nullptr, o);
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ("CTriangle", o->GetRuntimeClass()->m_lpszClassName);
    ASSERT_NE(nullptr, DynamicDowncast<CShape>(o));
    EXPECT_EQ(3, DynamicDowncast<CShape>(o)->sides);
    delete o;
    CShape plain;
    EXPECT_EQ(nullptr, DynamicDowncast<CTriangle>(&plain));
    EXPECT_EQ(RUNTIME_CLASS(CShape), CRuntimeClass::FromName("CShape"));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CException)->CreateObject());
}
