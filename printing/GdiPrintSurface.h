#pragma once
// The print surface on a device context: the printing font selected while the surface lives,
// texts measured with GetTextExtentPoint32W and drawn with DrawTextW, pictures through the
// picture bitmap, pages through StartPage and EndPage.
#include <windows.h>

#include "printing/RecipeLayout.h"
#include "toolkit/Picture.h"
#include "toolkit/ScopedGdi.h"

namespace DAVavador {
class ERApp;
}

// The resolution the layout works in: the printer's own, or a chosen one for a bitmap.
struct PrintDevice {
  int dpiX = 0;
  int dpiY = 0;
  int vertRes = 0;  // printable height in pixels
  static PrintDevice Of(HDC dc);
};

class GdiPrintSurface : public PrintSurface {
 public:
  // The font's height follows the device's resolution and the layout (full page or card).
  GdiPrintSurface(HDC dc, const PrintDevice& device, const WString& fontFace, bool fullPage);
  ~GdiPrintSurface() override = default;
  GdiPrintSurface(const GdiPrintSurface&) = delete;
  GdiPrintSurface& operator=(const GdiPrintSurface&) = delete;

  int DpiX() const override { return dpiX_; }
  int DpiY() const override { return dpiY_; }
  int LineHeight() const override { return lineHeight_; }
  SIZE Measure(WStringView text) const override;
  void DrawLine(WStringView text, int left, int right, int y, Align align) override;
  void DrawWord(WStringView word, int x, int y) override;
  void DrawWrapped(WStringView text, int left, int right, int y) override;
  int DrawPicture(const WString& path, int x, int y) override;
  int PictureWidth(const WString& path) override;
  bool StartPage() override;
  bool EndPage() override;

 private:
  bool LoadPicture(const WString& path);

  HDC dc_;
  DAVavador::ScopedGdiObject<HFONT> font_;
  DAVavador::ScopedSelection fontSelected_;  // after the font: deselects it before it goes
  int dpiX_;
  int dpiY_;
  int lineHeight_ = 0;
  DAVavador::ERPictureBitmap picture_;
  WString picturePath_;
};

// The recipe texts from the program's string table.
PrintTexts LoadPrintTexts(const DAVavador::ERApp& app);
