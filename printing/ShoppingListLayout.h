#pragma once
// The printed shopping list: its name centred on top, then its lines in up to three columns of a
// 6.5 inch wide area, continued on further pages; and the print job around it.
#include <windows.h>

#include <vector>

#include "printing/GdiPrintSurface.h"
#include "printing/RecipeLayout.h"

// 1 column for up to 50 lines, 2 for up to 100, 3 beyond.
int ShoppingListColumns(size_t lineCount);

// Draws the list on a surface whose first page the caller started; the last page stays open for
// the caller to end. False when a page could not be ended or begun.
bool PrintShoppingList(PrintSurface& surface, const WString& title, const std::vector<WString>& lines);

// The printer dialog without the choice of a selection; the chosen printer's device context (the
// caller deletes it), or null when cancelled.
HDC ChooseListPrinter(HWND owner);

// The document `documentName` with the list on it, in Arial of the full-page height.
bool PrintShoppingListDocument(HDC dc, const PrintDevice& device, const WString& documentName,
                               const WString& title, const std::vector<WString>& lines);
