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
  const int stride = (width * 3 + 3) & ~3;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = stride * height;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4d42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::vector<char> pixels(info.biSizeImage, '\0');
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {  // rows of blue, green, red
      char* pixel = &pixels[static_cast<size_t>(y * stride + x * 3)];
      pixel[0] = static_cast<char>(GetBValue(colour));
      pixel[1] = static_cast<char>(GetGValue(colour));
      pixel[2] = static_cast<char>(GetRValue(colour));
    }
  }
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(out, &file, sizeof(file), &written, nullptr);
  WriteFile(out, &info, sizeof(info), &written, nullptr);
  WriteFile(out, pixels.data(), info.biSizeImage, &written, nullptr);
  CloseHandle(out);
}

}  // namespace print_test
