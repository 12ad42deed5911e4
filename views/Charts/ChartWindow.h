#pragma once
// A child window that paints a chart, gives each part of it a tooltip and carries all their texts
// as its own window text (what a screen reader reads), and hands the same chart to a PNG file or a
// printer.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "storage/Text.h"
#include "toolkit/ScopedGdi.h"

class ChartWindow {
 public:
  // Draws the chart into `area`: on screen in the system's colours, into a file or on paper in the
  // chart's own.
  using Paint = std::function<void(HDC dc, const RECT& area, bool onScreen)>;
  // The parts of the chart drawn into `area` with their texts.
  using Parts = std::function<std::vector<std::pair<RECT, WString>>(const RECT& area)>;

  ~ChartWindow();
  bool Create(HWND parent, int id);
  HWND Window() const { return window_; }
  // What the window shows from now on; it is painted again.
  void Show(Paint paint, Parts parts);
  void Move(const RECT& rect);

  // The chart at the window's present size into a PNG file (the GDI+ encoder).
  bool SaveAsPng(const WString& path) const;
  // The chart on one page of the printer `dc`, inside half-inch margins.
  bool Print(HDC dc, const WString& documentName) const;
  // The chart drawn into a new 24-bit bitmap of the given size; none without a chart or a size.
  DAVavador::ScopedGdiObject<HBITMAP> Render(int width, int height, bool onScreen = false) const;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  void OnPaint();
  void UpdateParts();

  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  Paint paint_;
  Parts parts_;
  size_t tips_ = 0;
};
