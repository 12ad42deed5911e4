#pragma once
// "Select a Date": a month calendar preset to the date of an edit. A click on a day picks it,
// "Erase" picks no date, "Today" today's date, "Cancel" leaves the edit alone.
#include <windows.h>

#include <optional>

#include "storage/Text.h"
#include "toolkit/ERApp.h"

class DatePicker {
 public:
  // The text that replaces `current` (month-day-year, empty after "Erase"), nothing after Cancel.
  static std::optional<WString> Pick(const DAVavador::ERApp& app, HWND owner, const WString& current);

  // Runs the picker over the dialog's edit `editId` and writes the picked text into it.
  static void PickInto(const DAVavador::ERApp& app, HWND dialog, int editId);
};
