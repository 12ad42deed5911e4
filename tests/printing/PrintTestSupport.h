#pragma once
// A Letter page as a memory bitmap at a chosen resolution, and a print surface on it that records
// what the layout drew and the page ends, so positions can be checked.
#include <windows.h>

#include <string>
#include <vector>

#include "printing/GdiPrintSurface.h"

namespace print_test {

constexpr int kDpi = 100;  // a Letter page is 850 x 1100 pixels

class LetterBitmap {
 public:
  LetterBitmap();
  ~LetterBitmap();
  HDC Dc() const { return dc_; }
  HBITMAP Bitmap() const { return bitmap_; }
  PrintDevice Device() const { return PrintDevice{kDpi, kDpi, 11 * kDpi}; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// Writes a width x height 24-bit BMP file of one colour.
void WriteBitmapFile(const std::wstring& path, int width, int height, COLORREF colour = RGB(64, 64, 64));

struct Drawn {
  std::wstring text;
  int x = 0;  // left edge of the box (the word's own position for words)
  int y = 0;
  int right = 0;
  PrintSurface::Align align = PrintSurface::Align::Left;
  int page = 1;
};

class RecordingSurface : public GdiPrintSurface {
 public:
  RecordingSurface(const LetterBitmap& page, const WString& face, bool fullPage)
      : GdiPrintSurface(page.Dc(), page.Device(), face, fullPage) {}

  void DrawLine(WStringView text, int left, int right, int y, Align align) override;
  void DrawWord(WStringView word, int x, int y) override;
  void DrawWrapped(WStringView text, int left, int right, int y) override;
  int DrawPicture(const WString& path, int x, int y) override;
  bool StartPage() override;
  bool EndPage() override;

  // The first drawn item whose text equals text, or null.
  const Drawn* Find(const std::wstring& text) const;
  std::vector<Drawn> drawn;
  int pages = 1;
  int endedPages = 0;
  int failEndAt = 0;  // the page end that fails, 0 for none

 private:
  void Record(WStringView text, int x, int y, int right, Align align);
};

}  // namespace print_test
