#pragma once
// The markup label: a static control whose window text, in the markup of MarkupText.h, is painted
// word by word with bold, italic, underline and colours, wrapped at the control's right edge.
#include <windows.h>

namespace DAVavador {

// Takes over the control's painting. Its previous window procedure, kept in the control's user
// data, still stores the text and answers every message but WM_PAINT; setting a new text repaints.
// Installing twice changes nothing.
void InstallMarkupLabel(HWND label);

}  // namespace DAVavador
