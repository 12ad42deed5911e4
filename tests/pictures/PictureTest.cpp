// Pictures under Wine: the fitting rule, decoding a real PNG written by GDI+'s own encoder, and
// plain, stretched and transparent drawing checked pixel by pixel in a memory device context.
#include <gtest/gtest.h>
#include <windows.h>

#include <objidl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>
using std::max;
using std::min;
#include <gdiplus.h>

#include "storage/StorageTestSupport.h"
#include "support/ScratchFolder.h"
#include "toolkit/Picture.h"

using DAVavador::ERPictureBitmap;
using DAVavador::ERPictureHolder;
using DAVavador::FitPicture;
namespace gp = Gdiplus::DllExports;

namespace {

void ExpectRect(const RECT& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

TEST(FitPicture, WideFileInEditorBoxIsLimitedByWidth) {
  ExpectRect(FitPicture(600, 300, 141, 41, 294, 239), 141, 41, 435, 188);
}

TEST(FitPicture, SmallPictureKeepsItsNaturalSize) {
  ExpectRect(FitPicture(100, 50, 141, 41, 294, 239), 141, 41, 241, 91);
  ExpectRect(FitPicture(294, 239, 141, 41, 294, 239), 141, 41, 435, 280);
}

TEST(FitPicture, TallPictureIsLimitedByHeight) {
  ExpectRect(FitPicture(100, 400, 0, 0, 200, 200), 0, 0, 50, 200);
  // Too wide and too tall: the side that needs the stronger reduction decides.
  ExpectRect(FitPicture(1000, 500, 5, 5, 200, 200), 5, 5, 205, 105);
  ExpectRect(FitPicture(500, 1000, 5, 5, 200, 200), 5, 5, 105, 205);
  ExpectRect(FitPicture(300, 250, 0, 0, 200, 200), 0, 0, 200, 166);
}

TEST(FitPicture, EmptyPictureOrBoxFitsIntoNothing) {
  ExpectRect(FitPicture(0, 50, 10, 20, 100, 100), 10, 20, 10, 20);
  ExpectRect(FitPicture(50, 0, 10, 20, 100, 100), 10, 20, 10, 20);
  ExpectRect(FitPicture(50, 40, 10, 20, 0, 0), 10, 20, 10, 20);
}

TEST(FitPicture, LargeNumbersDoNotOverflow) {
  ExpectRect(FitPicture(60000, 30000, 0, 0, 50000, 50000), 0, 0, 50000, 25000);
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

  WString Track(const wchar_t* name) const { return folder_ / name; }

  // Encodes kPixels as a PNG file with GDI+'s own encoder.
  WString WritePng(const wchar_t* name) {
    std::vector<uint32_t> argb;
    for (const auto& row : kPixels)
      for (COLORREF c : row)
        argb.push_back(0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    argb[3] = 0x00FFFFFF;  // fully transparent
    Gdiplus::GpBitmap* bitmap = nullptr;
    EXPECT_EQ(gp::GdipCreateBitmapFromScan0(4, 3, 16, PixelFormat32bppARGB,
                                            reinterpret_cast<BYTE*>(argb.data()), &bitmap),
              Gdiplus::Ok);
    CLSID png = PngEncoder();
    WString path = Track(name);
    EXPECT_EQ(gp::GdipSaveImageToFile(bitmap, path.c_str(), &png, nullptr), Gdiplus::Ok);
    gp::GdipDisposeImage(bitmap);
    EXPECT_EQ(Signature(path), "\x89PNG");
    return path;
  }

  static std::string Signature(const WString& path) { return storage_test::ReadFile(path).substr(0, 4); }

  static CLSID PngEncoder() {
    UINT count = 0, size = 0;
    gp::GdipGetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    gp::GdipGetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i)
      if (lstrcmpiW(codecs[i].MimeType, L"image/png") == 0) return codecs[i].Clsid;
    ADD_FAILURE() << "no PNG encoder";
    return CLSID{};
  }

  WString WriteBytes(const wchar_t* name, const char* bytes, DWORD count) {
    WString path = Track(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes, count, &written, nullptr);
    CloseHandle(file);
    return path;
  }

  static ULONG_PTR token_;
  test_support::ScratchFolder folder_;
};
ULONG_PTR PictureFiles::token_ = 0;

// A 32-bit memory canvas filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) : dc_(CreateCompatibleDC(nullptr)) {
    HDC screen = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all = {0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

TEST_F(PictureFiles, PngDecodesAtItsNaturalSizeWithTransparencyAsBlack) {
  WString png = WritePng(L"grid.png");
  ERPictureBitmap picture;
  ASSERT_TRUE(picture.Load(png));
  EXPECT_EQ(picture.Width(), 4);
  EXPECT_EQ(picture.Height(), 3);

  Canvas canvas(20, 20, kGreen);
  picture.Draw(canvas.dc(), 2, 3, 0, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.At(2 + x, 3 + y), kPixels[y][x]) << x << "," << y;
  EXPECT_EQ(canvas.At(6, 3), kGreen);  // nothing beyond the natural size
  EXPECT_EQ(canvas.At(1, 3), kGreen);
}

TEST_F(PictureFiles, WhiteBottomLeftPixelMakesEveryWhitePixelTransparent) {
  ERPictureHolder holder;
  ASSERT_TRUE(holder.Load(WritePng(L"pane.png")));
  holder.SetBox(0, 0, 100, 100);
  Canvas canvas(20, 20, kGreen);
  holder.DrawTransparent(canvas.dc(), 5, 5);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      COLORREF expected = kPixels[y][x] == kWhite ? kGreen : kPixels[y][x];
      EXPECT_EQ(canvas.At(5 + x, 5 + y), expected) << x << "," << y;
    }
}

TEST_F(PictureFiles, StretchedDrawingScalesAndMissingSideTakesNaturalLength) {
  ERPictureHolder holder;
  ASSERT_TRUE(holder.Load(WritePng(L"stretch.png")));
  holder.SetBox(0, 0, 100, 100);
  Canvas canvas(40, 40, kGreen);
  holder.Draw(canvas.dc(), -7, -3, 8, 6);  // negative positions count as 0; twice the size
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.At(x, y), kPixels[y / 2][x / 2]) << x << "," << y;
  EXPECT_EQ(canvas.At(8, 0), kGreen);

  Canvas tall(40, 40, kGreen);
  holder.DrawTransparent(tall.dc(), 0, 0, 0, 9);  // width natural, three times as tall
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 4; ++x) {
      COLORREF source = kPixels[y / 3][x];
      EXPECT_EQ(tall.At(x, y), source == kWhite ? kGreen : source) << x << "," << y;
    }
  EXPECT_EQ(tall.At(4, 0), kGreen);
}

TEST_F(PictureFiles, DrawFittedUsesTheFittedRectangle) {
  ERPictureHolder holder;
  holder.SetBox(10, 10, 2, 10);  // 4 x 3 into 2 wide: 2 x 1 at (10, 10)
  ASSERT_TRUE(holder.Load(WritePng(L"fit.png")));
  ExpectRect(holder.Fitted(), 10, 10, 12, 11);
  Canvas canvas(20, 20, kGreen);
  holder.DrawFitted(canvas.dc(), false);
  EXPECT_NE(canvas.At(10, 10), kGreen);
  EXPECT_NE(canvas.At(11, 10), kGreen);
  EXPECT_EQ(canvas.At(12, 10), kGreen);
  EXPECT_EQ(canvas.At(10, 11), kGreen);
}

TEST_F(PictureFiles, NothingIsDrawnWhileThePictureFitsIntoNothing) {
  ERPictureHolder holder;  // no box yet
  ASSERT_TRUE(holder.Load(WritePng(L"nobox.png")));
  Canvas canvas(10, 10, kGreen);
  holder.Draw(canvas.dc(), 0, 0);
  holder.DrawTransparent(canvas.dc(), 0, 0);
  EXPECT_EQ(canvas.At(0, 0), kGreen);
  holder.SetBox(0, 0, 10, 10);
  holder.Draw(canvas.dc(), 0, 0);
  EXPECT_EQ(canvas.At(0, 0), kRed);
}

TEST_F(PictureFiles, UnreadableFilesLeaveTheHolderEmpty) {
  ERPictureHolder holder;
  holder.SetBox(0, 0, 50, 50);
  ASSERT_TRUE(holder.Load(WritePng(L"first.png")));
  const char junk[] = "this is not a picture at all";
  EXPECT_FALSE(holder.Load(WriteBytes(L"junk.png", junk, sizeof junk)));
  EXPECT_TRUE(holder.Empty());
  EXPECT_EQ(holder.Width(), 0);
  ExpectRect(holder.Fitted(), 0, 0, 0, 0);
  EXPECT_FALSE(holder.Load(WriteBytes(L"empty.png", junk, 0)));
  EXPECT_FALSE(holder.Load(folder_ / L"missing.png"));
  EXPECT_TRUE(holder.Empty());
  Canvas canvas(10, 10, kGreen);
  holder.Draw(canvas.dc(), 0, 0, 5, 5);
  EXPECT_EQ(canvas.At(0, 0), kGreen);
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
