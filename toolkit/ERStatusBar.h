#pragma once
// The status bar along the bottom of a window, its parts given as percentages of the parent's width.
#include <windows.h>

#include <vector>

#include "storage/Text.h"

namespace DAVavador {

class ERStatusBar {
 public:
  explicit ERStatusBar(std::vector<int> percentages) : percentages_(std::move(percentages)) {}
  ~ERStatusBar();
  ERStatusBar(const ERStatusBar&) = delete;
  ERStatusBar& operator=(const ERStatusBar&) = delete;

  // The right edges of the parts for a width: the running sum of the percentages times the width
  // divided by 100; the last part reaches the right edge (-1).
  static std::vector<int> PartEdges(const std::vector<int>& percentages, int width);

  bool Create(HWND parent, int id, bool visible);
  HWND Window() const { return window_; }
  // Spans the parent's bottom edge and sets the part edges for the parent's width.
  void Layout() const;
  void SetText(int part, const WString& text) const;
  WString Text(int part) const;
  void Show(bool show) const;
  bool IsVisible() const;
  int Height() const;  // 0 without a window

 private:
  std::vector<int> percentages_;
  HWND window_ = nullptr;
};

}  // namespace DAVavador
