#include "views/Diary/DatePicker.h"

#include <commctrl.h>

#include "food/CalendarDate.h"
#include "resources/resource.h"
#include "toolkit/ERDialog.h"

namespace {

struct PickState {
  CalendarDate preset;
  bool hasPreset = false;
  WString result;
};

WString DayText(const SYSTEMTIME& day) {
  return CalendarDate(day.wYear, day.wMonth, day.wDay).DateText();
}

INT_PTR CALLBACK PickerProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    const auto* state = reinterpret_cast<PickState*>(lp);
    if (state->hasPreset) {
      SYSTEMTIME day = {};
      day.wYear = static_cast<WORD>(state->preset.year);
      day.wMonth = static_cast<WORD>(state->preset.month);
      day.wDay = static_cast<WORD>(state->preset.day);
      SendDlgItemMessageW(dialog, IDC_DATE_CALENDAR, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
    }
    return TRUE;
  }
  auto* state = reinterpret_cast<PickState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!state) return FALSE;
  if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom != IDC_DATE_CALENDAR || header->code != MCN_SELECT) return FALSE;
    state->result = DayText(reinterpret_cast<const NMSELCHANGE*>(lp)->stSelStart);
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (msg != WM_COMMAND) return FALSE;
  switch (LOWORD(wp)) {
    case IDC_DATE_ERASE:
      state->result.clear();
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDC_DATE_TODAY:
      state->result = CalendarDate::Now().DateText();
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<WString> DatePicker::Pick(const DAVavador::ERApp& app, HWND owner, const WString& current) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  PickState state;
  state.hasPreset = state.preset.Parse(current);
  if (app.RunDialog(IDD_DATE_PICKER, PickerProc, reinterpret_cast<LPARAM>(&state), owner) != IDOK)
    return std::nullopt;
  return state.result;
}

void DatePicker::PickInto(const DAVavador::ERApp& app, HWND dialog, int editId) {
  if (const std::optional<WString> picked = Pick(app, dialog, DAVavador::ERDialog::ItemText(dialog, editId)))
    SetDlgItemTextW(dialog, editId, picked->c_str());
}
