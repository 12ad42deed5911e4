#include "richtext/MarkupLabel.h"
#include "toolkit/ScopedGdi.h"
#include "toolkit/WindowText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// What the label shows: its client area read back, and where its ink (what is not the
// background) lies; -1 without ink.
struct Picture {
  explicit Picture(HWND window) {
    RECT area;
    GetClientRect(window, &area);
    const DAVavador::ScopedDC screen = DAVavador::ScopedDC::ForWindow(window);
    const DAVavador::ScopedDC memory = DAVavador::ScopedDC::Compatible(screen.Get());
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), area.right, -area.bottom, 1, 32, BI_RGB}};  // top-down rows
    void* bits = nullptr;
    const DAVavador::ScopedGdiObject<HBITMAP> bitmap(
        CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
      const DAVavador::ScopedSelection selected(memory.Get(), bitmap.Get());
      BitBlt(memory.Get(), 0, 0, area.right, area.bottom, screen.Get(), 0, 0, SRCCOPY);
    }
    const RGBQUAD* pixel = static_cast<const RGBQUAD*>(bits);
    for (int y = 0; y < area.bottom; ++y) {
      for (int x = 0; x < area.right; ++x, ++pixel) {
        pixels.push_back(RGB(pixel->rgbRed, pixel->rgbGreen, pixel->rgbBlue));
        if (pixels.back() == GetSysColor(COLOR_BTNFACE)) continue;
        ++ink;
        firstInkColumn = firstInkColumn < 0 ? x : std::min(firstInkColumn, x);
        lastInkColumn = std::max(lastInkColumn, x);
        lastInkRow = y;
      }
    }
  }
  int Count(COLORREF colour) const { return int(std::count(pixels.begin(), pixels.end(), colour)); }

  std::vector<COLORREF> pixels;
  int ink = 0, firstInkColumn = -1, lastInkColumn = -1, lastInkRow = -1;
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

// A colour paints its words (which names and digits give which colour: MarkupColour); its end
// returns to the button text's colour. The markup stays the control's text.
TEST_F(MarkupLabel, ColoursPaintTheirWordsAndInstallingTwiceChangesNothing) {
  DAVavador::InstallMarkupLabel(label_);
  EXPECT_GT(Show(L"<body><color 00FF80>MWMW</color></body>").Count(RGB(0, 255, 128)), 200);
  Picture picture = Show(L"<body><color red>MW</color> MW</body>");
  EXPECT_GT(picture.Count(RGB(255, 0, 0)), 100);
  EXPECT_GT(picture.Count(GetSysColor(COLOR_BTNTEXT)), 100);
  EXPECT_EQ(DAVavador::WindowText(label_), L"<body><color red>MW</color> MW</body>");
}

// Only the body is painted, blanks at the left edge are dropped, words wrap, breaks move down one
// and a half lines and style tags change the font.
TEST_F(MarkupLabel, TheBodyIsLaidOutInLinesAndStyles) {
  EXPECT_EQ(Show(L"<color red>MWMW <b>text</b>").ink, 0);
  EXPECT_EQ(Show(L"before<body></body>after").ink, 0);
  EXPECT_GT(Show(L"before<body>inside</body>after").ink, 0);
  // Blanks at the left edge are dropped, elsewhere they count.
  int left = Show(L"<body>MW</body>").firstInkColumn;
  EXPECT_EQ(Show(L"<body>   MW</body>").firstInkColumn, left);
  EXPECT_GT(Show(L"<body>.   MW</body>").lastInkColumn, Show(L"<body>. MW</body>").lastInkColumn);
  // A word that does not fit starts the next line.
  EXPECT_LT(Show(L"<body>MWMW</body>").lastInkRow, lineHeight_);
  EXPECT_GE(Show(L"<body>MWMW MWMW MWMW MWMW MWMW</body>").lastInkRow, lineHeight_);
  // Breaks and paragraphs move down one and a half lines.
  for (const wchar_t* markup : {L"<body>M<br>M</body>", L"<body>M<p>M</body>"}) {
    Picture picture = Show(markup);
    EXPECT_GE(picture.lastInkRow, lineHeight_ * 3 / 2);
    EXPECT_LT(picture.lastInkRow, lineHeight_ * 5 / 2);
  }
  // Style tags change the font.
  SendMessageW(label_, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  int plain = Show(L"<body>MWMWMW</body>").ink;
  EXPECT_GT(Show(L"<body><b>MWMWMW</b></body>").ink, plain);
  EXPECT_GT(Show(L"<body><u>MWMWMW</u></body>").ink, plain);
  EXPECT_EQ(Show(L"<body><b>MWMWMW</b></body>").ink, Show(L"<body><b></b><b>MWMWMW</body>").ink);
  EXPECT_EQ(Show(L"<body><b></b>MWMWMW</body>").ink, plain);
}

}  // namespace
