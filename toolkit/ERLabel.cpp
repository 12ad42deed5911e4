#include "toolkit/ERLabel.h"

#include "toolkit/ScopedGdi.h"
#include "toolkit/WindowText.h"

namespace DAVavador {

bool ERLabel::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 100, 20);
}

bool ERLabel::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  const bool ownerDraw = (flags_ & kOwnerDraw) != 0;
  const bool button = (flags_ & kButtonLike) != 0;
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (button)
    style |= ownerDraw ? BS_OWNERDRAW : BS_PUSHBUTTON;
  else
    style |= (ownerDraw ? SS_OWNERDRAW : SS_LEFT) | ((flags_ & kLinkLike) ? SS_NOTIFY : 0);
  if (!CreateControl(button ? L"Button" : L"Static", style, 0, parent, id, x, y, width, height)) return false;
  SetHoverTracking((flags_ & kLinkLike) != 0);
  return true;
}

void ERLabel::Draw(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  HFONT font = reinterpret_cast<HFONT>(Send(WM_GETFONT));
  LOGFONTW face = {};
  GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
  const bool link = (flags_ & kLinkLike) != 0;
  face.lfUnderline = link && IsHovering();
  const ScopedGdiObject<HFONT> drawn(CreateFontIndirectW(&face));
  const ScopedSelection selected(dc, drawn.Get());
  SetBkMode(dc, TRANSPARENT);
  // The system's colour of links, which High Contrast changes with the rest.
  const int colour = link ? COLOR_HOTLIGHT : (item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT;
  SetTextColor(dc, GetSysColor(colour));
  const WString text = WindowText(item.hwndItem);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace DAVavador
