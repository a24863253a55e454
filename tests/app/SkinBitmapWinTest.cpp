#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/ExeFolder.h"
#include "app/SkinBitmapWin.h"

namespace {

std::vector<char> Read(const std::string& path)
{
    std::vector<char> b;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return b;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        b.insert(b.end(), buf, buf + n);
    std::fclose(f);
    return b;
}

void Write(const std::string& path, const std::vector<char>& b)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
}

} // namespace

TEST(SkinBitmapWin, InstalledSkinLoadsWithItsPalette)
{
    CPalette palette;
    CBitmap face, light, volume, time;
    CString reason;
    ASSERT_EQ(SkinLoad::Ok, LoadSkinBitmapFile((ExeFolder() + "mainBmp.bmp").c_str(), face, palette, true, reason))
        << reason.GetString();
    ASSERT_NE(nullptr, palette.GetSafeHandle());
    EXPECT_GT(palette.GetEntryCount(), 0);
    EXPECT_LE(palette.GetEntryCount(), 256);
    EXPECT_EQ(SkinLoad::Ok, LoadSkinBitmapFile((ExeFolder() + "mainLightBmp.bmp").c_str(), light, palette, false, reason));
    EXPECT_EQ(SkinLoad::Ok, LoadSkinBitmapFile((ExeFolder() + "volumeBmp.bmp").c_str(), volume, palette, false, reason));
    EXPECT_EQ(SkinLoad::Ok, LoadSkinBitmapFile((ExeFolder() + "timeSlideBmp.bmp").c_str(), time, palette, false, reason));
    BITMAP bm = {};
    ASSERT_TRUE(face.GetBitmap(&bm));
    EXPECT_EQ(320, bm.bmWidth);
    EXPECT_EQ(72, bm.bmHeight);
    ASSERT_TRUE(light.GetBitmap(&bm));
    EXPECT_EQ(320, bm.bmWidth);
}

TEST(SkinBitmapWin, MissingAndDamagedFilesFailCleanly)
{
    CPalette palette;
    CBitmap bitmap;
    CString reason;
    EXPECT_EQ(SkinLoad::CannotOpen,
              LoadSkinBitmapFile((ExeFolder() + "noSuchSkin.bmp").c_str(), bitmap, palette, true, reason));
    std::vector<char> good = Read(ExeFolder() + "mainBmp.bmp");
    ASSERT_GT(good.size(), 100u);

    std::string damaged = ExeFolder() + "skin-test-damaged.bmp";
    std::vector<char> cut(good.begin(), good.begin() + good.size() / 2);
    Write(damaged, cut);
    EXPECT_EQ(SkinLoad::Bad, LoadSkinBitmapFile(damaged.c_str(), bitmap, palette, true, reason));
    EXPECT_FALSE(reason.IsEmpty());

    std::vector<char> lying = good;
    lying[46] = (char)0x00; // used colours: 0x10000
    lying[47] = (char)0x00;
    lying[48] = (char)0x01;
    Write(damaged, lying);
    EXPECT_EQ(SkinLoad::Bad, LoadSkinBitmapFile(damaged.c_str(), bitmap, palette, true, reason));
    EXPECT_EQ(nullptr, bitmap.GetSafeHandle());
    DeleteFileA(damaged.c_str());
}
