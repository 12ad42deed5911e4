#pragma once
// Small helpers the diary's dialogs share: control texts, combo and list-box items with data.
#include <windows.h>

#include <cstdint>

#include "storage/NamedIdList.h"
#include "storage/Text.h"

namespace diary_dialog {

WString ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const WString& text);

// Appends an entry with its data to a drop-down combo box; its index.
int AddComboItem(HWND combo, const WString& text, LPARAM data);
// Replaces the combo's entries by the list's, each carrying its id.
void FillCombo(HWND combo, const NamedIdList& entries);
// Selects the first entry carrying `data`; without one nothing is selected and the result is false.
bool SelectComboData(HWND combo, LPARAM data);
// The data of the selected entry; `none` without a selection.
LPARAM SelectedComboData(HWND combo, LPARAM none = 0);

// The meal-type combo: the seven names with data 1..7, "--All--" (data 0) on top when `withAll`.
void FillMealTypes(HWND combo, const WString& allText, bool withAll);

}  // namespace diary_dialog
