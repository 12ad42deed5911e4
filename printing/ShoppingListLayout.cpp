#include "printing/ShoppingListLayout.h"

#include <commdlg.h>

#include "printing/PrintDialog.h"

namespace {

// Further columns of a page; the third full column turns the page.
constexpr int kColumnsPerPage = 3;

}  // namespace

int ShoppingListColumns(size_t lineCount) {
  return lineCount <= 50 ? 1 : lineCount <= 100 ? 2 : 3;
}

bool PrintShoppingList(PrintSurface& surface, const WString& title, const std::vector<WString>& lines) {
  const int dpiX = surface.DpiX();
  const int dpiY = surface.DpiY();
  const int lineHeight = surface.LineHeight();
  const int left = dpiX / 2;
  const int titleRight = dpiX * 15 / 2;
  const int top = dpiY / 2;
  const int firstLine = top + 2 * lineHeight;
  const int columns = ShoppingListColumns(lines.size());
  const int columnWidth = dpiX * 13 / 2 / columns;
  const size_t perColumn = lines.empty() ? 1 : lines.size() / static_cast<size_t>(columns);

  surface.DrawLine(title, left, titleRight, top, PrintSurface::Align::Centre);
  int x = left;
  int y = firstLine;
  int column = 0;
  size_t inColumn = 0;
  for (size_t n = 0; n < lines.size(); ++n) {
    surface.DrawLine(lines[n], x, x + columnWidth, y, PrintSurface::Align::Left);
    y += lineHeight;
    if (++inColumn < perColumn) continue;
    inColumn = 0;
    if (++column < kColumnsPerPage) {
      x += columnWidth;
      y = firstLine;
    } else if (n + 1 < lines.size()) {
      if (!surface.EndPage() || !surface.StartPage()) return false;
      column = 0;
      x = left;
      surface.DrawLine(title, left, titleRight, firstLine, PrintSurface::Align::Centre);
      y = firstLine + lineHeight;
    }
  }
  return true;
}

HDC ChooseListPrinter(HWND owner) {
  return ChoosePrinter(owner, false);
}

bool PrintShoppingListDocument(HDC dc, const PrintDevice& device, const WString& documentName,
                               const WString& title, const std::vector<WString>& lines) {
  DOCINFOW document{};
  document.cbSize = sizeof(document);
  document.lpszDocName = documentName.c_str();
  if (StartDocW(dc, &document) <= 0) return false;
  if (StartPage(dc) <= 0) {
    EndDoc(dc);
    return false;
  }
  bool printed;
  {
    GdiPrintSurface surface(dc, device, TXT("Arial"), true);
    printed = PrintShoppingList(surface, title, lines) && surface.EndPage();
  }
  EndDoc(dc);
  return printed;
}
