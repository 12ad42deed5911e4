#include "PrintTestSupport.h"

namespace print_test {

LetterBitmap::LetterBitmap() {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, 17 * kDpi / 2, 11 * kDpi);
  ReleaseDC(nullptr, screen);
  old_ = SelectObject(dc_, bitmap_);
  RECT all{0, 0, 17 * kDpi / 2, 11 * kDpi};
  FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

LetterBitmap::~LetterBitmap() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void RecordingSurface::Record(WStringView text, int x, int y, int right, Align align) {
  drawn.push_back(Drawn{std::wstring(text.data(), text.size()), x, y, right, align, pages});
}

void RecordingSurface::DrawLine(WStringView text, int left, int right, int y, Align align) {
  Record(text, left, y, right, align);
  GdiPrintSurface::DrawLine(text, left, right, y, align);
}

void RecordingSurface::DrawWord(WStringView word, int x, int y) {
  Record(word, x, y, x, Align::Left);
  GdiPrintSurface::DrawWord(word, x, y);
}

void RecordingSurface::DrawWrapped(WStringView text, int left, int right, int y) {
  Record(text, left, y, right, Align::Left);
  GdiPrintSurface::DrawWrapped(text, left, right, y);
}

bool RecordingSurface::StartPage() {
  ++pages;
  return true;
}

bool RecordingSurface::EndPage() {
  return ++endedPages != failEndAt;
}

const Drawn* RecordingSurface::Find(const std::wstring& text) const {
  for (const Drawn& item : drawn)
    if (item.text == text) return &item;
  return nullptr;
}

}  // namespace print_test
