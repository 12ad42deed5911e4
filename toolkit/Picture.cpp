#include "toolkit/Picture.h"

#include <objidl.h>

#include <algorithm>
#include <cstdint>
// GDI+ is used through its flat API only; its header wants min and max for its C++ classes.
using std::max;
using std::min;
#include <gdiplus.h>

#include "toolkit/ScopedHandle.h"

namespace DAVavador {

namespace gp = Gdiplus::DllExports;

RECT FitPicture(int w, int h, int x, int y, int W, int H) {
  if (w == 0 || h == 0) return {x, y, x, y};
  // 64-bit products: a box of a few thousand pixels times a large picture overflows 32 bits.
  const int64_t widthRatio = int64_t{W} * h;
  const int64_t heightRatio = int64_t{H} * w;
  if (w > W && !(h > H && heightRatio <= widthRatio))
    return {x, y, x + W, y + static_cast<int>(widthRatio / w)};
  if (h > H) return {x, y, x + static_cast<int>(heightRatio / h), y + H};
  return {x, y, x + w, y + h};
}

namespace {

// The file's bytes in a movable global block, as CreateStreamOnHGlobal wants them; null when the
// file cannot be read.
HGLOBAL ReadIntoGlobal(const WString& path) {
  const ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER size{};
  HGLOBAL block = nullptr;
  if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.HighPart == 0)
    block = GlobalAlloc(GMEM_MOVEABLE, size.LowPart);
  if (block) {
    DWORD read = 0;
    void* bytes = GlobalLock(block);
    bool complete =
        bytes && ReadFile(file.Get(), bytes, size.LowPart, &read, nullptr) && read == size.LowPart;
    GlobalUnlock(block);
    if (!complete) block = GlobalFree(block);  // GlobalFree gives null on success
  }
  return block;
}

// Renders a decoded image onto opaque black in a screen-compatible bitmap; null on failure.
ScopedGdiObject<HBITMAP> RenderOnBlack(Gdiplus::GpImage* image, int width, int height) {
  ScopedGdiObject<HBITMAP> target;
  {
    const ScopedDC screen = ScopedDC::ForWindow(nullptr);
    target.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
  }
  if (!target) return target;
  const ScopedDC dc = ScopedDC::Compatible(nullptr);
  const ScopedSelection selected(dc.Get(), target.Get());
  Gdiplus::GpGraphics* graphics = nullptr;
  bool drawn = gp::GdipCreateFromHDC(dc.Get(), &graphics) == Gdiplus::Ok &&
               gp::GdipGraphicsClear(graphics, 0xFF000000) == Gdiplus::Ok &&
               gp::GdipDrawImageRectI(graphics, image, 0, 0, width, height) == Gdiplus::Ok;
  if (graphics) gp::GdipDeleteGraphics(graphics);
  if (!drawn) target.Reset();
  return target;
}

}  // namespace

ERPictureBitmap::ERPictureBitmap() {
  Gdiplus::GdiplusStartupInput input;  // version 1
  if (Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) gdiplusToken_ = 0;
}

ERPictureBitmap::~ERPictureBitmap() {
  Release();
  if (gdiplusToken_) Gdiplus::GdiplusShutdown(gdiplusToken_);
}

void ERPictureBitmap::Release() {
  bitmap_.Reset();
  mask_.Reset();
  spare_.Reset();
  width_ = height_ = 0;
}

bool ERPictureBitmap::Load(const WString& path) {
  Release();
  HGLOBAL data = ReadIntoGlobal(path);
  if (!data) return false;
  bool decoded = Decode(data);
  GlobalFree(data);  // the stream and the image are gone by now
  if (decoded) BuildMask();
  return decoded;
}

bool ERPictureBitmap::Decode(HGLOBAL data) {
  if (!gdiplusToken_) return false;
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(data, FALSE, &stream))) return false;
  Gdiplus::GpImage* image = nullptr;
  ScopedGdiObject<HBITMAP> rendered;
  if (gp::GdipLoadImageFromStream(stream, &image) == Gdiplus::Ok) {
    UINT width = 0, height = 0;
    gp::GdipGetImageWidth(image, &width);
    gp::GdipGetImageHeight(image, &height);
    if (width && height) rendered = RenderOnBlack(image, width, height);
  }
  if (image) gp::GdipDisposeImage(image);
  stream->Release();
  if (!rendered) return false;

  bitmap_.Reset(static_cast<HBITMAP>(CopyImage(rendered.Get(), IMAGE_BITMAP, 0, 0, 0)));
  rendered.Reset();
  BITMAP info{};
  if (!bitmap_ || !GetObjectW(bitmap_.Get(), sizeof(info), &info)) {
    Release();
    return false;
  }
  width_ = info.bmWidth;
  height_ = info.bmHeight;
  return true;
}

void ERPictureBitmap::BuildMask() {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = width_;
  format.bmiHeader.biHeight = height_;  // positive: bottom-up, the first row in memory is the last
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  BYTE* bits = nullptr;
  mask_.Reset(
      CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
  if (!mask_) return;
  {
    const ScopedDC source = ScopedDC::Compatible(nullptr);
    const ScopedDC target = ScopedDC::Compatible(nullptr);
    const ScopedSelection sourceSelected(source.Get(), bitmap_.Get());
    const ScopedSelection targetSelected(target.Get(), mask_.Get());
    BitBlt(target.Get(), 0, 0, width_, height_, source.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const BYTE key[3] = {bits[0], bits[1], bits[2]};
  const size_t stride = (static_cast<size_t>(width_) * 3 + 3) & ~size_t{3};
  for (int row = 0; row < height_; ++row) {
    BYTE* pixel = bits + row * stride;
    for (int column = 0; column < width_; ++column, pixel += 3) {
      const BYTE value = std::equal(key, key + 3, pixel) ? 255 : 0;
      std::fill(pixel, pixel + 3, value);
    }
  }
}

struct ERPictureBitmap::Placement {
  int x, y, width, height;
  bool stretch;
};

ERPictureBitmap::Placement ERPictureBitmap::Place(int x, int y, int width, int height) const {
  const bool stretch = width != 0 || height != 0;
  return {std::max(x, 0), std::max(y, 0), width ? width : width_, height ? height : height_, stretch};
}

void ERPictureBitmap::Blit(HDC dc, const Placement& at, std::initializer_list<Step> steps) const {
  const ScopedDC source = ScopedDC::Compatible(nullptr);
  const int oldMode = at.stretch ? SetStretchBltMode(dc, COLORONCOLOR) : 0;
  for (const Step& step : steps) {
    const ScopedSelection selected(source.Get(), step.first);
    if (at.stretch)
      StretchBlt(dc, at.x, at.y, at.width, at.height, source.Get(), 0, 0, width_, height_, step.second);
    else
      BitBlt(dc, at.x, at.y, at.width, at.height, source.Get(), 0, 0, step.second);
  }
  if (oldMode) SetStretchBltMode(dc, oldMode);
}

void ERPictureBitmap::Draw(HDC dc, int x, int y, int width, int height) const {
  if (bitmap_) Blit(dc, Place(x, y, width, height), {{bitmap_.Get(), SRCCOPY}});
}

void ERPictureBitmap::DrawTransparent(HDC dc, int x, int y, int width, int height) const {
  // picture ^ background, cleared where the mask is black, picture again: the background returns
  // where the mask is white and the picture shows everywhere else.
  if (bitmap_ && mask_)
    Blit(dc, Place(x, y, width, height),
         {{bitmap_.Get(), SRCINVERT}, {mask_.Get(), SRCAND}, {bitmap_.Get(), SRCINVERT}});
}

void ERPictureHolder::Clear() {
  picture_.Release();
  Invalidate();
}

bool ERPictureHolder::Load(const WString& path) {
  Clear();
  bool loaded = picture_.Load(path);
  Fit();
  Invalidate();
  return loaded;
}

void ERPictureHolder::SetBox(int left, int top, int width, int height) {
  box_ = {left, top, left + width, top + height};
  Fit();
}

void ERPictureHolder::Fit() {
  fitted_ = FitPicture(picture_.Width(), picture_.Height(), box_.left, box_.top, box_.right - box_.left,
                       box_.bottom - box_.top);
}

bool ERPictureHolder::Drawable() const {
  return !picture_.Empty() && fitted_.right > fitted_.left && fitted_.bottom > fitted_.top;
}

void ERPictureHolder::Draw(HDC dc, int x, int y, int width, int height) const {
  if (Drawable()) picture_.Draw(dc, x, y, width, height);
}

void ERPictureHolder::DrawTransparent(HDC dc, int x, int y, int width, int height) const {
  if (Drawable()) picture_.DrawTransparent(dc, x, y, width, height);
}

void ERPictureHolder::DrawFitted(HDC dc, bool transparent) const {
  const RECT& r = fitted_;
  if (transparent)
    DrawTransparent(dc, r.left, r.top, r.right - r.left, r.bottom - r.top);
  else
    Draw(dc, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void ERPictureHolder::Invalidate() const {
  // Every painter of a picture repaints its whole area, so the background need not be erased.
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

}  // namespace DAVavador
