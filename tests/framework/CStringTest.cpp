#include <gtest/gtest.h>

#include <cstring>

#include "framework/CString.h"

TEST(CString, EmptyAndAssignment)
{
    CString s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ("", (const char*)s);
    s = "abc";
    EXPECT_EQ(3, s.GetLength());
    CString t(s);
    t += "def";
    EXPECT_STREQ("abc", s);
    EXPECT_STREQ("abcdef", t);
    t = t; // self-assignment keeps the text
    EXPECT_STREQ("abcdef", t);
    t.Empty();
    EXPECT_TRUE(t.IsEmpty());
    s = (const char*)nullptr;
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, ConcatenationAndComparison)
{
    CString a("C"), b("#m7");
    EXPECT_EQ(CString("C#m7"), a + b);
    EXPECT_EQ(CString("xC"), 'x' + a);
    EXPECT_EQ(CString("C/E"), a + "/E");
    EXPECT_TRUE(a == "C");
    EXPECT_TRUE(a != "D");
    EXPECT_TRUE(CString("A") < CString("B"));
    EXPECT_EQ(0, CString("MiXeD").CompareNoCase("mixed"));
    // Appending a string to itself reads the old text.
    CString c("ab");
    c += c;
    EXPECT_STREQ("abab", c);
    c += (const char*)c + 1;
    EXPECT_STREQ("ababbab", c);
}

TEST(CString, LeftRightMidClampOutOfRangeCounts)
{
    CString s("Hello");
    EXPECT_STREQ("He", s.Left(2));
    EXPECT_STREQ("Hello", s.Left(99));
    EXPECT_STREQ("", s.Left(-3));
    EXPECT_STREQ("lo", s.Right(2));
    EXPECT_STREQ("Hello", s.Right(50));
    EXPECT_STREQ("", s.Right(-1));
    EXPECT_STREQ("ell", s.Mid(1, 3));
    EXPECT_STREQ("llo", s.Mid(2));
    EXPECT_STREQ("", s.Mid(9));
    EXPECT_STREQ("Hel", s.Mid(-4, 3));
    EXPECT_STREQ("o", s.Mid(4, 100));
    EXPECT_STREQ("", s.Mid(1, -2));
}

TEST(CString, FindAndReverseFind)
{
    CString s("a=b=c");
    EXPECT_EQ(1, s.Find('='));
    EXPECT_EQ(3, s.Find('=', 2));
    EXPECT_EQ(-1, s.Find('=', 4));
    EXPECT_EQ(-1, s.Find('=', 99));
    EXPECT_EQ(2, s.Find("b=c"));
    EXPECT_EQ(-1, s.Find("zz"));
    EXPECT_EQ(0, s.Find(""));
    EXPECT_EQ(3, s.ReverseFind('='));
    EXPECT_EQ(-1, s.ReverseFind('x'));
    EXPECT_EQ(1, s.FindOneOf("=b"));
}

TEST(CString, FormatGrowsAsNeeded)
{
    CString s;
    s.Format("%d-%s-%.2f", 42, "x", 1.5);
    EXPECT_STREQ("42-x-1.50", s);
    CString longText(std::string(5000, 'q').c_str());
    s.Format("[%s]", (const char*)longText);
    EXPECT_EQ(5002, s.GetLength());
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    s = "a";
    s.AppendFormat("%02d", 7);
    EXPECT_STREQ("a07", s);
}

TEST(CString, CaseTrimReplaceEdit)
{
    CString s("  MiX.Wav \t");
    s.Trim();
    EXPECT_STREQ("MiX.Wav", s);
    s.MakeLower();
    EXPECT_STREQ("mix.wav", s);
    s.MakeUpper();
    EXPECT_STREQ("MIX.WAV", s);
    EXPECT_EQ(1, s.Replace(".WAV", ".mp3"));
    EXPECT_STREQ("MIX.mp3", s);
    EXPECT_EQ(2, s.Replace("X", "XX") + s.Replace("I", ""));
    EXPECT_STREQ("MXX.mp3", s);
    EXPECT_EQ(2, s.Remove('X'));
    s.Insert(1, "ab");
    EXPECT_STREQ("Mab.mp3", s);
    s.Delete(0, 3);
    EXPECT_STREQ(".mp3", s);
    s.Delete(2, 99);
    EXPECT_STREQ(".m", s);
}

TEST(CString, GetBufferReleaseBuffer)
{
    CString s;
    char* p = s.GetBuffer(10);
    std::strcpy(p, "hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    p = s.GetBuffer(0);
    p[2] = 0;
    s.ReleaseBuffer();
    EXPECT_STREQ("he", s);
    p = s.GetBuffer(4);
    std::memcpy(p, "wxyz", 4);
    s.ReleaseBuffer(3);
    EXPECT_STREQ("wxy", s);
    s.GetBufferSetLength(2);
    EXPECT_EQ(2, s.GetLength());
    EXPECT_STREQ("wx", s);
}
