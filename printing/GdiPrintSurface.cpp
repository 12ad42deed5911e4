#include "printing/GdiPrintSurface.h"

#include "resources/resource.h"
#include "toolkit/ERApp.h"

PrintDevice PrintDevice::Of(HDC dc) {
  return PrintDevice{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY),
                     GetDeviceCaps(dc, VERTRES)};
}

namespace {

HFONT CreatePrintFont(const PrintDevice& device, const WString& fontFace, bool fullPage) {
  LOGFONTW face{};
  face.lfHeight = -PrintFontHeight(device.vertRes, device.dpiY, fullPage);
  face.lfWeight = fullPage ? FW_NORMAL : FW_BOLD;
  face.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(face.lfFaceName, fontFace.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&face);
}

}  // namespace

GdiPrintSurface::GdiPrintSurface(HDC dc, const PrintDevice& device, const WString& fontFace, bool fullPage)
    : dc_(dc),
      font_(CreatePrintFont(device, fontFace, fullPage)),
      fontSelected_(dc, font_.Get()),
      dpiX_(device.dpiX),
      dpiY_(device.dpiY) {
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc, &metrics)) lineHeight_ = metrics.tmHeight;
  SetBkMode(dc, TRANSPARENT);
}

SIZE GdiPrintSurface::Measure(WStringView text) const {
  SIZE size{};
  GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

void GdiPrintSurface::DrawLine(WStringView text, int left, int right, int y, Align align) {
  RECT box{left, y, right, y + lineHeight_};
  const UINT format = align == Align::Centre ? DT_CENTER : align == Align::Right ? DT_RIGHT : DT_LEFT;
  DrawTextW(dc_, text.data(), static_cast<int>(text.size()), &box, format | DT_SINGLELINE | DT_NOPREFIX);
}

void GdiPrintSurface::DrawWord(WStringView word, int x, int y) {
  const SIZE size = Measure(word);
  RECT box{x, y, x + size.cx, y + size.cy};
  DrawTextW(dc_, word.data(), static_cast<int>(word.size()), &box, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

void GdiPrintSurface::DrawWrapped(WStringView text, int left, int right, int y) {
  RECT box{left, y, right, y + 64 * lineHeight_};
  DrawTextW(dc_, text.data(), static_cast<int>(text.size()), &box, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

bool GdiPrintSurface::LoadPicture(const WString& path) {
  if (path != picturePath_) {
    picturePath_ = path;
    if (!picture_.Load(path)) picture_.Release();
  }
  return !picture_.Empty();
}

int GdiPrintSurface::PictureWidth(const WString& path) {
  return LoadPicture(path) ? picture_.Width() : 0;
}

int GdiPrintSurface::DrawPicture(const WString& path, int x, int y) {
  if (!LoadPicture(path)) return 0;
  picture_.Draw(dc_, x, y, 0, 0);
  return picture_.Height();
}

bool GdiPrintSurface::StartPage() {
  return ::StartPage(dc_) > 0;
}
bool GdiPrintSurface::EndPage() {
  return ::EndPage(dc_) > 0;
}

PrintTexts LoadPrintTexts(const DAVavador::ERApp& app) {
  PrintTexts texts;
  texts.serves = app.String(IDS_CARD_SERVES);
  texts.preparation = app.String(IDS_CARD_PREPARATION);
  texts.cooking = app.String(IDS_CARD_COOKING);
  texts.ingredients = app.String(IDS_CARD_INGREDIENTS);
  texts.instructions = app.String(IDS_CARD_INSTRUCTIONS);
  texts.nutrition = app.String(IDS_CARD_NUTRITION);
  texts.more = app.String(IDS_PRINT_MORE);
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) texts.nutrientNames[n] = app.String(IDS_COLUMN_FIRST + n);
  return texts;
}
