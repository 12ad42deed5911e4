#include "views/Charts/ChartWindow.h"

#include <commctrl.h>
// GDI+ needs the COM declarations the lean Windows headers leave out.
#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <memory>

using DAVavador::ScopedDC;
using DAVavador::ScopedGdiObject;
using DAVavador::ScopedSelection;

namespace {

constexpr wchar_t kClassName[] = L"MirepanChart";

void RegisterChartClass() {
  static const bool registered = [] {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;  // every part of a chart follows its size
    windowClass.lpfnWndProc = DefWindowProcW;     // the object takes over once it is bound
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassW(&windowClass) != 0;
  }();
  (void)registered;
}

// The class id of the PNG encoder GDI+ offers, false when it offers none.
bool PngEncoder(CLSID& id) {
  UINT count = 0, bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::unique_ptr<char[]> buffer(new char[bytes]);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
  if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (lstrcmpiW(encoders[i].MimeType, L"image/png") != 0) continue;
    id = encoders[i].Clsid;
    return true;
  }
  return false;
}

}  // namespace

ChartWindow::~ChartWindow() {
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

bool ChartWindow::Create(HWND parent, int id) {
  RegisterChartClass();
  window_ =
      CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_BORDER, 0, 0, 10, 10, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!window_) return false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             0, 0, 0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  return true;
}

void ChartWindow::Show(Paint paint, Parts parts) {
  paint_ = std::move(paint);
  parts_ = std::move(parts);
  UpdateParts();
  InvalidateRect(window_, nullptr, FALSE);
}

void ChartWindow::Move(const RECT& rect) {
  MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  UpdateParts();
  InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CALLBACK ChartWindow::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<ChartWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && msg == WM_PAINT) {
    self->OnPaint();
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;  // the paint covers every pixel
  return DefWindowProcW(window, msg, wp, lp);
}

void ChartWindow::OnPaint() {
  const ScopedDC dc = ScopedDC::ForPaint(window_);
  RECT client;
  GetClientRect(window_, &client);
  // Drawn off screen first, so a resize does not flicker.
  if (const ScopedGdiObject<HBITMAP> picture = Render(client.right, client.bottom, true)) {
    const ScopedDC memory = ScopedDC::Compatible(dc.Get());
    const ScopedSelection selected(memory.Get(), picture.Get());
    BitBlt(dc.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
  }
}

void ChartWindow::UpdateParts() {
  if (!tooltip_) return;
  TOOLINFOW tool = {sizeof(tool)};
  tool.hwnd = window_;
  for (; tips_ > 0; --tips_) {
    tool.uId = tips_ - 1;
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  RECT client;
  GetClientRect(window_, &client);
  WString all;
  for (const auto& [rect, text] : parts_ ? parts_(client) : std::vector<std::pair<RECT, WString>>()) {
    tool.uFlags = TTF_SUBCLASS;
    tool.uId = tips_++;
    tool.rect = rect;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    all += (all.empty() ? L"" : L"\r\n") + text;
  }
  SetWindowTextW(window_, all.c_str());
}

ScopedGdiObject<HBITMAP> ChartWindow::Render(int width, int height, bool onScreen) const {
  if (!paint_ || width <= 0 || height <= 0) return ScopedGdiObject<HBITMAP>();
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB};
  void* bits = nullptr;
  ScopedGdiObject<HBITMAP> picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture) return picture;
  const ScopedDC dc = ScopedDC::Compatible(nullptr);
  const ScopedSelection selected(dc.Get(), picture.Get());
  paint_(dc.Get(), RECT{0, 0, width, height}, onScreen);
  return picture;
}

bool ChartWindow::SaveAsPng(const WString& path) const {
  RECT client;
  GetClientRect(window_, &client);
  const ScopedGdiObject<HBITMAP> picture = Render(client.right, client.bottom);
  if (!picture) return false;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  bool saved = false;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
    CLSID png;
    if (PngEncoder(png)) {
      Gdiplus::Bitmap bitmap(picture.Get(), nullptr);
      saved = bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
  }
  return saved;
}

bool ChartWindow::Print(HDC dc, const WString& documentName) const {
  if (!paint_) return false;
  DOCINFOW document = {sizeof(document)};
  document.lpszDocName = documentName.c_str();
  if (StartDocW(dc, &document) <= 0) return false;
  const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  const int width = GetDeviceCaps(dc, HORZRES) - dpiX;
  const int height = std::min(GetDeviceCaps(dc, VERTRES) - dpiY, width * 4 / 3);
  bool printed = StartPage(dc) > 0;
  if (printed) {
    paint_(dc, RECT{dpiX / 2, dpiY / 2, dpiX / 2 + width, dpiY / 2 + height}, false);
    printed = EndPage(dc) > 0;
  }
  EndDoc(dc);
  return printed;
}
