// Pictures under Wine: the fitting rule, decoding a real PNG written by GDI+'s own encoder, and
// plain, stretched and transparent drawing checked pixel by pixel in a memory device context.
#include <gtest/gtest.h>
#include <windows.h>

#include <objidl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>
using std::max;
using std::min;
#include <gdiplus.h>

#include "storage/StorageTestSupport.h"
#include "support/ScratchFolder.h"
#include "toolkit/Picture.h"
#include "toolkit/ScopedGdi.h"

using DAVavador::ERPictureBitmap;
using DAVavador::ERPictureHolder;
using DAVavador::FitPicture;
using DAVavador::ScopedDC;
using DAVavador::ScopedGdiObject;
using DAVavador::ScopedSelection;

namespace {

using Edges = std::tuple<LONG, LONG, LONG, LONG>;
Edges EdgesOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

TEST(FitPicture, KeepsTheNaturalSizeOrShrinksByTheSideThatNeedsTheStrongerReduction) {
  const struct {
    int width, height, left, top, boxWidth, boxHeight;
    Edges fitted;
  } rows[] = {
      {600, 300, 141, 41, 294, 239, {141, 41, 435, 188}},  // a wide file in the editor's box
      {100, 50, 141, 41, 294, 239, {141, 41, 241, 91}},    // small pictures keep their size
      {294, 239, 141, 41, 294, 239, {141, 41, 435, 280}},
      {100, 400, 0, 0, 200, 200, {0, 0, 50, 200}},    // a tall one is limited by the height
      {500, 1000, 5, 5, 200, 200, {5, 5, 105, 205}},  // both too large, the height more so
      {0, 50, 10, 20, 100, 100, {10, 20, 10, 20}},    // an empty picture or box fits into nothing
      {50, 0, 10, 20, 100, 100, {10, 20, 10, 20}},
      {50, 40, 10, 20, 0, 0, {10, 20, 10, 20}},
      {60000, 30000, 0, 0, 50000, 50000, {0, 0, 50000, 25000}},  // large numbers do not overflow
  };
  for (const auto& r : rows) {
    EXPECT_EQ(r.fitted, EdgesOf(FitPicture(r.width, r.height, r.left, r.top, r.boxWidth, r.boxHeight)))
        << r.width << " x " << r.height;
  }
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// A picture of 4 x 3 pixels, rows top to bottom: the bottom-left pixel is white, so white is the
// transparent colour; (3, 0) is fully transparent in the file and must load as black.
//   R W B x
//   W R W B
//   W B R W
const COLORREF kPixels[3][4] = {
    {kRed, kWhite, kBlue, kBlack}, {kWhite, kRed, kWhite, kBlue}, {kWhite, kBlue, kRed, kWhite}};

class PictureFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token_); }

  // Encodes kPixels as a PNG file with GDI+'s own encoder.
  WString WritePng(const wchar_t* name) {
    std::vector<uint32_t> argb;
    for (const auto& row : kPixels)
      for (COLORREF c : row)
        argb.push_back(0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    argb[3] = 0x00FFFFFF;  // fully transparent
    Gdiplus::Bitmap bitmap(4, 3, 16, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(argb.data()));
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    const WString path = folder_ / name;
    EXPECT_EQ(bitmap.Save(path.c_str(), &png, nullptr), Gdiplus::Ok);
    EXPECT_EQ(storage_test::ReadFile(path).substr(0, 4), "\x89PNG");
    return path;
  }
  WString WriteBytes(const wchar_t* name, const std::string& bytes) {
    EXPECT_TRUE(storage_test::WriteFile(folder_ / name, bytes));
    return folder_ / name;
  }

  static ULONG_PTR token_;
  test_support::ScratchFolder folder_;
};
ULONG_PTR PictureFiles::token_ = 0;

// A memory canvas filled with one colour.
struct Canvas {
  Canvas(int width, int height, COLORREF fill)
      : bitmap(CreateCompatibleBitmap(ScopedDC::ForWindow(nullptr).Get(), width, height)),
        selected(memory.Get(), bitmap.Get()) {
    const RECT all = {0, 0, width, height};
    FillRect(memory.Get(), &all, ScopedGdiObject<HBRUSH>(CreateSolidBrush(fill)).Get());
  }
  HDC dc() const { return memory.Get(); }
  COLORREF At(int x, int y) const { return GetPixel(memory.Get(), x, y); }

  const ScopedDC memory = ScopedDC::Compatible(nullptr);
  const ScopedGdiObject<HBITMAP> bitmap;
  const ScopedSelection selected;
};

// Expects kPixels at (left, top), each pixel drawn `wide` x `tall`, white ones showing the
// canvas's green when drawn transparently, and nothing right of the picture.
void ExpectPicture(const Canvas& canvas, int left, int top, int wide, int tall, bool transparent) {
  for (int y = 0; y < 3 * tall; ++y) {
    for (int x = 0; x < 4 * wide; ++x) {
      const COLORREF source = kPixels[y / tall][x / wide];
      EXPECT_EQ(canvas.At(left + x, top + y), transparent && source == kWhite ? kGreen : source)
          << x << "," << y;
    }
  }
  EXPECT_EQ(canvas.At(left + 4 * wide, top), kGreen);
}

// A PNG decodes at its natural size, a fully transparent pixel as black. The bottom-left pixel is
// white, so every white pixel is transparent; a side left 0 takes the natural length.
TEST_F(PictureFiles, PngDecodesAtItsNaturalSizeAndDrawsPlainTransparentAndStretched) {
  const WString png = WritePng(L"grid.png");
  ERPictureBitmap picture;
  ASSERT_TRUE(picture.Load(png));
  EXPECT_EQ(std::make_pair(4, 3), std::make_pair(picture.Width(), picture.Height()));
  Canvas plain(20, 20, kGreen);
  picture.Draw(plain.dc(), 2, 3, 0, 0);
  ExpectPicture(plain, 2, 3, 1, 1, false);  // nothing beyond the natural size
  EXPECT_EQ(plain.At(1, 3), kGreen);

  ERPictureHolder holder;
  ASSERT_TRUE(holder.Load(png));
  holder.SetBox(0, 0, 100, 100);
  Canvas canvas(20, 20, kGreen);
  holder.DrawTransparent(canvas.dc(), 5, 5);
  ExpectPicture(canvas, 5, 5, 1, 1, true);
  Canvas stretched(40, 40, kGreen);
  holder.Draw(stretched.dc(), -7, -3, 8, 6);  // negative positions count as 0; twice the size
  ExpectPicture(stretched, 0, 0, 2, 2, false);
  Canvas tall(40, 40, kGreen);
  holder.DrawTransparent(tall.dc(), 0, 0, 0, 9);  // width natural, three times as tall
  ExpectPicture(tall, 0, 0, 1, 3, true);
}

TEST_F(PictureFiles,
       NothingIsDrawnWhileThePictureFitsIntoNothingOrIsUnreadableAndDrawFittedUsesItsRectangle) {
  ERPictureHolder holder;  // no box yet
  ASSERT_TRUE(holder.Load(WritePng(L"nobox.png")));
  Canvas canvas(20, 20, kGreen);
  holder.Draw(canvas.dc(), 0, 0);
  holder.DrawTransparent(canvas.dc(), 0, 0);
  EXPECT_EQ(canvas.At(0, 0), kGreen);
  holder.SetBox(0, 0, 10, 10);
  holder.Draw(canvas.dc(), 0, 0);
  EXPECT_EQ(canvas.At(0, 0), kRed);
  holder.SetBox(10, 10, 2, 10);  // 4 x 3 into 2 wide: 2 x 1 at (10, 10)
  holder.DrawFitted(canvas.dc(), false);
  EXPECT_NE(canvas.At(10, 10), kGreen);
  EXPECT_EQ(canvas.At(12, 10), kGreen);
  EXPECT_EQ(canvas.At(10, 11), kGreen);
  // Unreadable files leave the holder empty.
  ERPictureHolder unreadable;
  unreadable.SetBox(0, 0, 50, 50);
  ASSERT_TRUE(unreadable.Load(WritePng(L"first.png")));
  EXPECT_FALSE(unreadable.Load(WriteBytes(L"junk.png", "this is not a picture at all")));
  EXPECT_TRUE(unreadable.Empty());
  EXPECT_FALSE(unreadable.Load(WriteBytes(L"empty.png", "")));
  EXPECT_FALSE(unreadable.Load(folder_ / L"missing.png"));
  EXPECT_TRUE(unreadable.Empty());
  Canvas blank(10, 10, kGreen);
  unreadable.Draw(blank.dc(), 0, 0, 5, 5);
  EXPECT_EQ(blank.At(0, 0), kGreen);
}

TEST_F(PictureFiles, LoadAndClearRepaintTheWindow) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  ERPictureHolder holder(window);
  RECT dirty;
  ASSERT_FALSE(GetUpdateRect(window, &dirty, FALSE));
  holder.Load(WritePng(L"window.png"));
  EXPECT_TRUE(GetUpdateRect(window, &dirty, FALSE));
  ValidateRect(window, nullptr);
  holder.Clear();
  EXPECT_TRUE(GetUpdateRect(window, &dirty, FALSE));
  DestroyWindow(window);
}

}  // namespace
