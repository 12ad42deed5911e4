#pragma once
// The vertical bar between the tab area and the picture pane, a window of the class "ERSplitter".
// Dragging it shows an inverted bar over the parent; the drop reports the bar's new x position in
// the parent's client coordinates.
#include <windows.h>

namespace DAVavador {

using SplitterCallback = void (*)(void* arg, int x);

class ERSplitter {
 public:
  static constexpr wchar_t kClassName[] = L"ERSplitter";
  static constexpr int kBarWidth = 4;  // at 96 DPI

  ERSplitter() = default;
  ~ERSplitter();
  ERSplitter(const ERSplitter&) = delete;
  ERSplitter& operator=(const ERSplitter&) = delete;

  bool Create(HWND parent, int id, int x, int y, int width, int height);
  HWND Window() const { return window_; }
  void SetCallback(SplitterCallback callback, void* arg);
  void Move(int x, int y, int width, int height) const;
  bool IsDragging() const { return dragging_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void BeginDrag(POINT at);
  void Drag(POINT at);
  void Drop();
  void EndDrag();
  int BarWidth() const;             // at the splitter's DPI
  int BarPosition(POINT at) const;  // splitter-client point to the bar's x in the parent
  void InvertBar(int x) const;
  RECT Placement() const;  // the splitter's rectangle in the parent's client coordinates

  HWND window_ = nullptr;
  SplitterCallback callback_ = nullptr;
  void* callbackArg_ = nullptr;
  bool dragging_ = false;
  int grabX_ = 0;  // where in the splitter the drag began
  int barX_ = 0;
};

}  // namespace DAVavador
