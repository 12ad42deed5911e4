#pragma once
// Pictures of ingredients and recipes: a file decoded once through GDI+ into a screen bitmap with
// a transparency mask, fitted into a box without distortion and drawn plainly, stretched or with
// its background colour left out.
#include <windows.h>

#include <initializer_list>
#include <utility>

#include "storage/Text.h"
#include "toolkit/ScopedGdi.h"

namespace DAVavador {

// Fits a w x h picture into the box at (x, y) of width W and height H: keeps the aspect ratio,
// never enlarges, anchors at the box's top-left corner. An empty picture gives an empty rectangle
// at (x, y).
RECT FitPicture(int w, int h, int x, int y, int W, int H);

// One decoded picture: the bitmap at its natural size and its mask, in which the pixels of the
// transparent colour (the picture's bottom-left pixel) are white and all others black. GDI+ runs
// as long as the object lives.
class ERPictureBitmap {
 public:
  ERPictureBitmap();
  ~ERPictureBitmap();
  ERPictureBitmap(const ERPictureBitmap&) = delete;
  ERPictureBitmap& operator=(const ERPictureBitmap&) = delete;

  // Decodes the file; false (and empty) when it cannot be read or decoded.
  bool Load(const WString& path);
  void Release();

  bool Empty() const { return !bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Copies at the natural size when both width and height are 0; otherwise stretches, a missing
  // (0) side taking its natural length. Negative positions count as 0.
  void Draw(HDC dc, int x, int y, int width, int height) const;
  // The same placement, with the transparent colour showing the background.
  void DrawTransparent(HDC dc, int x, int y, int width, int height) const;

 private:
  struct Placement;
  using Step = std::pair<HBITMAP, DWORD>;  // source bitmap and raster operation
  Placement Place(int x, int y, int width, int height) const;
  void Blit(HDC dc, const Placement& at, std::initializer_list<Step> steps) const;
  bool Decode(HGLOBAL data);
  void BuildMask();

  ScopedGdiObject<HBITMAP> bitmap_;
  ScopedGdiObject<HBITMAP> mask_;
  ScopedGdiObject<> spare_;  // a third slot for a derived copy; released like the others
  ULONG_PTR gdiplusToken_ = 0;
  int width_ = 0;
  int height_ = 0;
};

// The picture of a view's pane, an editor's preview or a printed card: one picture at a time, the
// box it is shown in, the fitted rectangle, and the window repainted when the picture changes.
class ERPictureHolder {
 public:
  explicit ERPictureHolder(HWND window = nullptr) : window_(window) {}

  void SetWindow(HWND window) { window_ = window; }
  // Releases the picture and repaints the window.
  void Clear();
  // Clears, then decodes the file; the holder stays empty when that fails.
  bool Load(const WString& path);
  void SetBox(int left, int top, int width, int height);

  bool Empty() const { return picture_.Empty(); }
  int Width() const { return picture_.Width(); }
  int Height() const { return picture_.Height(); }
  const RECT& Box() const { return box_; }
  const RECT& Fitted() const { return fitted_; }

  // Draws nothing without a picture or when it fits into nothing; sizes as ERPictureBitmap::Draw.
  void Draw(HDC dc, int x, int y, int width = 0, int height = 0) const;
  void DrawTransparent(HDC dc, int x, int y, int width = 0, int height = 0) const;
  // The picture scaled into its fitted rectangle.
  void DrawFitted(HDC dc, bool transparent) const;

 private:
  bool Drawable() const;
  void Fit();
  void Invalidate() const;

  ERPictureBitmap picture_;
  RECT box_ = {0, 0, 0, 0};  // left, top, right, bottom of the box
  RECT fitted_ = {0, 0, 0, 0};
  HWND window_;
};

}  // namespace DAVavador
