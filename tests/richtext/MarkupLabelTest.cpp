#include "richtext/MarkupLabel.h"
#include "toolkit/ScopedGdi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the label shows: its client area copied into a memory bitmap.
class Picture {
 public:
  explicit Picture(HWND window) {
    RECT area;
    GetClientRect(window, &area);
    width_ = area.right;
    height_ = area.bottom;
    pixels_.resize(size_t(width_) * height_);
    const DAVavador::ScopedDC screen = DAVavador::ScopedDC::ForWindow(window);
    const DAVavador::ScopedDC memory = DAVavador::ScopedDC::Compatible(screen.Get());
    const DAVavador::ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), width_, height_));
    {
      const DAVavador::ScopedSelection selected(memory.Get(), bitmap.Get());
      BitBlt(memory.Get(), 0, 0, width_, height_, screen.Get(), 0, 0, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory.Get(), bitmap.Get(), 0, UINT(height_), pixels_.data(), &info, DIB_RGB_COLORS);
  }

  int Count(COLORREF colour) const {
    int count = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) count += At(x, y) == colour;
    }
    return count;
  }
  // Pixels that are not the background.
  int Ink() const { return width_ * height_ - Count(GetSysColor(COLOR_BTNFACE)); }
  // The first and last column and the last row holding ink; -1 without ink.
  int FirstInkColumn() const { return Extent(true, false); }
  int LastInkColumn() const { return Extent(true, true); }
  int LastInkRow() const { return Extent(false, true); }

  COLORREF At(int x, int y) const {
    RGBQUAD pixel = pixels_[size_t(y) * width_ + x];
    return RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue);
  }

 private:
  int Extent(bool columns, bool last) const {
    int found = -1;
    COLORREF background = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (At(x, y) == background) continue;
        int at = columns ? x : y;
        if (found < 0 || (last ? at > found : at < found)) found = at;
      }
    }
    return found;
  }

  int width_;
  int height_;
  std::vector<RGBQUAD> pixels_;
};

class MarkupLabel : public ::testing::Test {
 protected:
  static constexpr int kWidth = 420;
  static constexpr int kHeight = 200;

  // One top-level window for all the cases: creating one takes a while under Wine.
  static void SetUpTestSuite() {
    window_ = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth + 20,
                              kHeight + 20, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(window_); }

  void SetUp() override {
    label_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, kWidth, kHeight,
                             window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    font_ = CreateFontW(-36, 0, 0, 0, FW_HEAVY, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Arial");
    SendMessageW(label_, WM_SETFONT, WPARAM(font_), FALSE);
    DAVavador::InstallMarkupLabel(label_);
    const DAVavador::ScopedDC dc = DAVavador::ScopedDC::ForWindow(label_);
    const DAVavador::ScopedSelection font(dc.Get(), font_);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc.Get(), &metrics);
    lineHeight_ = metrics.tmHeight;
  }
  void TearDown() override {
    DestroyWindow(label_);
    DeleteObject(font_);
  }

  Picture Show(const wchar_t* markup) {
    SetWindowTextW(label_, markup);
    UpdateWindow(label_);
    return Picture(label_);
  }

  static HWND window_;
  HWND label_ = nullptr;
  HFONT font_ = nullptr;
  int lineHeight_ = 0;
};

HWND MarkupLabel::window_ = nullptr;

TEST_F(MarkupLabel, NamedColoursPaintTheirWords) {
  struct Case {
    const wchar_t* name;
    COLORREF colour;
  } cases[] = {{L"red", RGB(255, 0, 0)}, {L"darkcyan", RGB(112, 219, 147)}, {L"GRAY", RGB(84, 84, 84)}};
  for (const Case& c : cases) {
    std::wstring markup = std::wstring(L"<body><color ") + c.name + L">MWMW</color></body>";
    Picture picture = Show(markup.c_str());
    EXPECT_GT(picture.Count(c.colour), 200) << std::string(c.name, c.name + wcslen(c.name));
    EXPECT_EQ(picture.Count(GetSysColor(COLOR_BTNTEXT)), 0);
  }
}

TEST_F(MarkupLabel, SixHexDigitsNameAColourAndAnythingElseIsBlack) {
  EXPECT_GT(Show(L"<body><color 00FF80>MWMW</body>").Count(RGB(0, 255, 128)), 200);
  Picture unknown = Show(L"<body><color orange>MWMW</body>");
  EXPECT_GT(unknown.Count(RGB(0, 0, 0)), 200);
}

TEST_F(MarkupLabel, TheColourEndReturnsToButtonText) {
  Picture picture = Show(L"<body><color red>MW</color> MW</body>");
  EXPECT_GT(picture.Count(RGB(255, 0, 0)), 100);
  EXPECT_GT(picture.Count(GetSysColor(COLOR_BTNTEXT)), 100);
}

TEST_F(MarkupLabel, OnlyTheBodyIsPainted) {
  EXPECT_EQ(Show(L"<color red>MWMW <b>text</b>").Ink(), 0);
  EXPECT_EQ(Show(L"before<body></body>after").Ink(), 0);
  EXPECT_GT(Show(L"before<body>inside</body>after").Ink(), 0);
}

TEST_F(MarkupLabel, AWordThatDoesNotFitStartsTheNextLine) {
  Picture one = Show(L"<body>MWMW</body>");
  EXPECT_LT(one.LastInkRow(), lineHeight_);
  Picture wrapped = Show(L"<body>MWMW MWMW MWMW MWMW MWMW</body>");
  EXPECT_GE(wrapped.LastInkRow(), lineHeight_);
  EXPECT_LT(wrapped.LastInkColumn(), kWidth);
}

TEST_F(MarkupLabel, BreaksAndParagraphsMoveDownOneAndAHalfLines) {
  for (const wchar_t* markup : {L"<body>M<br>M</body>", L"<body>M<p>M</body>"}) {
    Picture picture = Show(markup);
    EXPECT_GE(picture.LastInkRow(), lineHeight_ * 3 / 2);
    EXPECT_LT(picture.LastInkRow(), lineHeight_ * 5 / 2);
  }
}

TEST_F(MarkupLabel, BlanksAtTheLeftEdgeAreDropped) {
  int left = Show(L"<body>MW</body>").FirstInkColumn();
  EXPECT_EQ(Show(L"<body>   MW</body>").FirstInkColumn(), left);
  EXPECT_GT(Show(L"<body>.   MW</body>").LastInkColumn(), Show(L"<body>. MW</body>").LastInkColumn());
}

TEST_F(MarkupLabel, StyleTagsChangeTheFont) {
  SendMessageW(label_, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  int plain = Show(L"<body>MWMWMW</body>").Ink();
  EXPECT_GT(Show(L"<body><b>MWMWMW</b></body>").Ink(), plain);
  EXPECT_GT(Show(L"<body><u>MWMWMW</u></body>").Ink(), plain);
  EXPECT_EQ(Show(L"<body><b>MWMWMW</b></body>").Ink(), Show(L"<body><b></b><b>MWMWMW</body>").Ink());
  EXPECT_EQ(Show(L"<body><b></b>MWMWMW</body>").Ink(), plain);
}

TEST_F(MarkupLabel, TheTextStaysTheControlsOwnAndInstallingTwiceChangesNothing) {
  DAVavador::InstallMarkupLabel(label_);
  EXPECT_GT(Show(L"<body><color red>MW</body>").Count(RGB(255, 0, 0)), 100);
  wchar_t text[64];
  GetWindowTextW(label_, text, 64);
  EXPECT_STREQ(text, L"<body><color red>MW</body>");
}

}  // namespace
