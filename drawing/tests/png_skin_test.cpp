// Skins through GDI+: transparency flattened onto white, fitted sizes, and the load error.
#include <gtest/gtest.h>
#include <windows.h>

#include "drawing/png_skin.h"
#include "testsupport/files.h"
#include "win32/app_error.h"
#include "win32/text.h"

namespace pravik::drawing {
namespace {

std::wstring DataFile(const char* name) { return testsupport::SourcePath(std::string("drawing/tests/data/") + name); }

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  win32::MemoryDc dc(::CreateCompatibleDC(nullptr));
  win32::SelectScope select(dc.get(), bitmap);
  return ::GetPixel(dc.get(), x, y);
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

}  // namespace
}  // namespace pravik::drawing
