#include "PrintTestSupport.h"

#include <filesystem>
#include <fstream>

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

int RecordingSurface::DrawPicture(const WString& path, int x, int y) {
  Record(TXT("<picture>"), x, y, x, Align::Left);
  return GdiPrintSurface::DrawPicture(path, x, y);
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

void WriteBitmapFile(const std::wstring& path, int width, int height, COLORREF colour) {
  const int stride = (width * 3 + 3) & ~3;  // rows of blue, green, red
  const BITMAPINFOHEADER info{
      sizeof(info), width, height, 1, 24, BI_RGB, static_cast<DWORD>(stride * height)};
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(info);
  const BITMAPFILEHEADER file{0x4d42, offset + info.biSizeImage, 0, 0, offset};
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  std::string row(stride, '\0');
  for (int x = 0; x < width; ++x)
    row.replace(x * 3, 3, {char(GetBValue(colour)), char(GetGValue(colour)), char(GetRValue(colour))});
  for (int y = 0; y < height; ++y) bytes += row;
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

}  // namespace print_test
