#include "richtext/MarkupLabel.h"

#include <optional>
#include <utility>
#include <vector>

#include "richtext/MarkupText.h"
#include "storage/Text.h"
#include "toolkit/ScopedGdi.h"
#include "toolkit/WindowText.h"

namespace DAVavador {
namespace {

COLORREF ToColorRef(uint32_t rgb) {
  return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// One paint of the label. The pen walks the client area from its top left corner; the line height
// is the height of the control's own font, whatever the style of the word.
class MarkupPainter {
 public:
  MarkupPainter(HWND label, HDC dc);
  MarkupPainter(const MarkupPainter&) = delete;
  MarkupPainter& operator=(const MarkupPainter&) = delete;

  void Paint(const std::vector<MarkupToken>& tokens);

 private:
  void Tag(MarkupTag tag);
  void Draw(WStringView text, bool blank);
  void NewLine(int height);
  void Restyle(LONG weight, BYTE italic, BYTE underline);

  HDC dc_;
  RECT area_;
  POINT pen_;
  LOGFONTW style_{};
  ScopedGdiObject<HFONT> font_;  // the restyled font while one is selected
  // The control's font in place of the context's own until the paint ends; declared after the
  // restyled font, so that the context's font is back before that one goes.
  std::optional<ScopedSelection> baseFont_;
  int lineHeight_;
  bool colourNext_ = false;
};

MarkupPainter::MarkupPainter(HWND label, HDC dc) : dc_(dc) {
  ::GetClientRect(label, &area_);
  pen_ = {area_.left, area_.top};
  IntersectClipRect(dc_, area_.left, area_.top, area_.right, area_.bottom);
  // The brush the dialog gives its static controls is its own background.
  auto background = reinterpret_cast<HBRUSH>(SendMessageW(
      GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(label)));
  FillRect(dc_, &area_, background ? background : GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, GetSysColor(COLOR_BTNTEXT));

  auto controlFont = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  HGDIOBJ base = controlFont ? static_cast<HGDIOBJ>(controlFont) : GetStockObject(SYSTEM_FONT);
  GetObjectW(base, sizeof style_, &style_);
  baseFont_.emplace(dc_, base);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  lineHeight_ = metrics.tmHeight;
}

void MarkupPainter::Paint(const std::vector<MarkupToken>& tokens) {
  bool inBody = false;
  for (const MarkupToken& token : tokens) {
    if (token.tag == MarkupTag::Body || token.tag == MarkupTag::BodyEnd) {
      inBody = token.tag == MarkupTag::Body;
    } else if (!inBody) {
      continue;
    } else if (token.kind == MarkupToken::Tag) {
      Tag(token.tag);
    } else if (colourNext_ && token.kind == MarkupToken::Word) {
      SetTextColor(dc_, ToColorRef(MarkupColour(token.text)));
      colourNext_ = false;
    } else {
      Draw(token.kind == MarkupToken::Blank ? TXT(" ") : token.text, token.kind == MarkupToken::Blank);
    }
  }
}

void MarkupPainter::Tag(MarkupTag tag) {
  switch (tag) {
    case MarkupTag::Paragraph:
    case MarkupTag::Break:
      NewLine(lineHeight_ * 3 / 2);
      break;
    case MarkupTag::Bold:
    case MarkupTag::BoldEnd:
      Restyle(tag == MarkupTag::Bold ? FW_BOLD : FW_NORMAL, style_.lfItalic, style_.lfUnderline);
      break;
    case MarkupTag::Italic:
    case MarkupTag::ItalicEnd:
      Restyle(style_.lfWeight, tag == MarkupTag::Italic, style_.lfUnderline);
      break;
    case MarkupTag::Underline:
    case MarkupTag::UnderlineEnd:
      Restyle(style_.lfWeight, style_.lfItalic, tag == MarkupTag::Underline);
      break;
    case MarkupTag::Colour:
      colourNext_ = true;
      break;
    case MarkupTag::ColourEnd:
      SetTextColor(dc_, GetSysColor(COLOR_BTNTEXT));
      break;
    default:
      break;
  }
}

// A word that does not fit on the rest of the line starts the next one; a word wider than the
// whole control is drawn at the left edge and clipped. Blanks are never drawn at the left edge.
void MarkupPainter::Draw(WStringView text, bool blank) {
  if (blank && pen_.x == area_.left) return;
  SIZE extent{};
  GetTextExtentPoint32W(dc_, text.data(), int(text.size()), &extent);
  if (pen_.x != area_.left && pen_.x + extent.cx > area_.right) {
    NewLine(lineHeight_);
    if (blank) return;
  }
  if (pen_.y + extent.cy <= area_.bottom) TextOutW(dc_, pen_.x, pen_.y, text.data(), int(text.size()));
  pen_.x += extent.cx;
}

void MarkupPainter::NewLine(int height) {
  pen_.x = area_.left;
  pen_.y += height;
}

void MarkupPainter::Restyle(LONG weight, BYTE italic, BYTE underline) {
  style_.lfWeight = weight;
  style_.lfItalic = italic;
  style_.lfUnderline = underline;
  ScopedGdiObject<HFONT> restyled(CreateFontIndirectW(&style_));
  if (!restyled) return;
  // Selected in place of the previous style, which is then deleted; the base selection puts the
  // context's own font back at the end.
  SelectObject(dc_, restyled.Get());
  font_ = std::move(restyled);
}

LRESULT CALLBACK MarkupLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(label, GWLP_USERDATA));
  if (message == WM_PAINT) {
    const ScopedDC dc = ScopedDC::ForPaint(label);
    WString text = WindowText(label);
    MarkupPainter(label, dc.Get()).Paint(SplitMarkup(text));
    return 0;
  }
  LRESULT result = CallWindowProcW(previous, label, message, wParam, lParam);
  if (message == WM_SETTEXT) InvalidateRect(label, nullptr, TRUE);
  return result;
}

}  // namespace

void InstallMarkupLabel(HWND label) {
  auto ours = reinterpret_cast<LONG_PTR>(MarkupLabelProc);
  if (!label || GetWindowLongPtrW(label, GWLP_WNDPROC) == ours) return;
  SetWindowLongPtrW(label, GWLP_USERDATA, GetWindowLongPtrW(label, GWLP_WNDPROC));
  SetWindowLongPtrW(label, GWLP_WNDPROC, ours);
}

}  // namespace DAVavador
