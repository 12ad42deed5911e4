#pragma once
// A 32-bit bitmap read back pixel by pixel: a white page the chart tests draw on, or a copy of
// what a window shows on the screen.
#include <windows.h>

#include <algorithm>
#include <vector>

namespace chart_test {

class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  // What the window's client area shows now.
  static Canvas Of(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    Canvas canvas(client.right, client.bottom);
    const HDC screen = GetDC(window);
    BitBlt(canvas.dc_, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    return canvas;
  }
  Canvas(Canvas&& other) noexcept
      : width_(other.width_),
        height_(other.height_),
        bitmap_(other.bitmap_),
        bits_(other.bits_),
        dc_(other.dc_),
        old_(other.old_) {
    other.dc_ = nullptr;
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {
    if (!dc_) return;
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }

  HDC Dc() const { return dc_; }
  RECT Area() const { return RECT{0, 0, width_, height_}; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t pixel = bits_[y * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  bool Has(COLORREF colour) const {
    return !Where(Area(), [&](COLORREF c) { return c == colour; }).empty();
  }
  // The columns and rows inside `rect` that hold dark pixels (text on a light ground).
  std::vector<POINT> Ink(const RECT& rect) const {
    return Where(rect, [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128; });
  }
  // How many rows the ink inside `rect` spans, 0 without any.
  int InkHeight(const RECT& rect) const {
    const std::vector<POINT> ink = Ink(rect);
    if (ink.empty()) return 0;
    const auto [low, high] =
        std::minmax_element(ink.begin(), ink.end(), [](POINT a, POINT b) { return a.y < b.y; });
    return high->y - low->y + 1;
  }

 private:
  template <class Test>
  std::vector<POINT> Where(const RECT& rect, Test test) const {
    std::vector<POINT> points;
    for (int y = std::max(0L, rect.top); y < std::min<LONG>(height_, rect.bottom); ++y)
      for (int x = std::max(0L, rect.left); x < std::min<LONG>(width_, rect.right); ++x)
        if (test(At(x, y))) points.push_back(POINT{x, y});
    return points;
  }

  int width_, height_;
  HBITMAP bitmap_;
  uint32_t* bits_ = nullptr;
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace chart_test
