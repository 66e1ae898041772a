// Skins: transparency flattened onto white, fitted sizes, the load error, and the core's decoding
// of the shipped skins against GDI+'s.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "drawing/png_skin.h"
#include "testsupport/files.h"
#include "win32/app_error.h"
#include "win32/dib.h"
#include "win32/gdiplus_session.h"
#include "win32/text.h"

namespace pravik::drawing {
namespace {

std::wstring DataFile(const char* name) { return testsupport::SourcePath(std::string("drawing/tests/data/") + name); }

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  win32::MemoryDc dc(::CreateCompatibleDC(nullptr));
  win32::SelectScope select(dc.get(), bitmap);
  return ::GetPixel(dc.get(), x, y);
}

std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  BITMAPINFO info = win32::Dib32Info(width, height);
  win32::MemoryDc dc(::CreateCompatibleDC(nullptr));
  ::GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP bm{};
  ::GetObjectW(bitmap, sizeof(bm), &bm);
  return {bm.bmWidth, bm.bmHeight};
}

class PngSkinTest : public testing::Test {
 protected:
  void SetUp() override {
    host_.Create(L"PngSkinHost", L"", WS_POPUP, 0, 0, 0, 100, 100, nullptr);
    // A box of 465 x 435 twips: 31 x 29 pixels.
    ASSERT_TRUE(box_.Create(host_.hwnd(), 1, 0, 0, 31, 29));
  }
  win32::Instance<win32::Window> host_;
  win32::Instance<win32::PictureBox> box_;
};

TEST_F(PngSkinTest, OwnSizeWithTransparencyOnWhite) {
  LoadPngSkin(DataFile("transparent32.png"), box_, false);
  ASSERT_TRUE(box_.picture());
  const SIZE size = SizeOf(box_.picture());
  EXPECT_EQ(size.cx, 32);
  EXPECT_EQ(size.cy, 32);
  EXPECT_EQ(PixelOf(box_.picture(), 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(PixelOf(box_.picture(), 31, 31), RGB(255, 255, 255));
  EXPECT_EQ(PixelOf(box_.picture(), 15, 15), RGB(255, 0, 0));
}

TEST_F(PngSkinTest, FittedToTheBoxInnerSize) {
  LoadPngSkin(DataFile("transparent32.png"), box_, true);
  const SIZE size = SizeOf(box_.picture());
  EXPECT_EQ(size.cx, 31);
  EXPECT_EQ(size.cy, 29);
  EXPECT_EQ(PixelOf(box_.picture(), 0, 0), RGB(255, 255, 255));
}

TEST_F(PngSkinTest, WhatIsNoPictureRaisesError999WithThePath) {
  for (const char* name : {"not-a-picture.txt", "missing.png"}) {
    SCOPED_TRACE(name);
    const std::wstring path = DataFile(name);
    try {
      LoadPngSkin(path, box_, false);
      ADD_FAILURE() << "no error raised";
    } catch (const win32::AppError& e) {
      EXPECT_EQ(e.number(), 999);
      EXPECT_EQ(e.source(), L"GDI+ Module");
      EXPECT_EQ(e.description(), L"Error loading picture " + path);
    }
  }
}

TEST_F(PngSkinTest, ShippedSkinsLookTheSameWithoutGdiPlus) {
  WIN32_FIND_DATAW found;
  const std::wstring folder = testsupport::SourcePath("Graphics");
  HANDLE find = ::FindFirstFileW((folder + L"\\*.png").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  int compared = 0;
  do {
    const std::wstring path = folder + L"\\" + found.cFileName;
    SCOPED_TRACE(win32::WideToUtf8(path));
    LoadPngSkin(path, box_, false);
    int width = -1, height = -1;
    win32::Bitmap gdiplus;
    {
      win32::GdiplusSession session;
      gdiplus = LoadPictureGdiPlus(path, width, height, RGB(255, 255, 255));
    }
    const SIZE size = SizeOf(box_.picture());
    ASSERT_EQ(size.cx, width);
    ASSERT_EQ(size.cy, height);
    const std::vector<std::uint32_t> ours = PixelsOf(box_.picture(), width, height),
                                     theirs = PixelsOf(gdiplus.get(), width, height);
    for (std::size_t i = 0; i < ours.size(); ++i)
      for (int shift : {0, 8, 16})
        ASSERT_LE(std::abs(static_cast<int>((ours[i] >> shift) & 0xFF) - static_cast<int>((theirs[i] >> shift) & 0xFF)), 1)
            << i % width << "," << i / width;
    ++compared;
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  EXPECT_GE(compared, 10);
}

}  // namespace
}  // namespace pravik::drawing
