#include "views/Diary/DatePicker.h"

#include <commctrl.h>

#include "food/CalendarDate.h"
#include "resources/resource.h"
#include "toolkit/ERDialog.h"

namespace {

class PickerDialog : public DAVavador::ERDialog {
 public:
  explicit PickerDialog(const WString& current) : hasPreset_(preset_.Parse(current)) {}

  std::optional<WString> Run(const DAVavador::ERApp& app, HWND owner) {
    if (RunModal(app, IDD_DATE_PICKER, owner) != IDOK) return std::nullopt;
    return result_;
  }

 private:
  bool OnInit() override {
    if (hasPreset_) {
      SYSTEMTIME day = {};
      day.wYear = static_cast<WORD>(preset_.year);
      day.wMonth = static_cast<WORD>(preset_.month);
      day.wDay = static_cast<WORD>(preset_.day);
      Message(IDC_DATE_CALENDAR, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
    }
    return true;
  }

  bool OnNotify(const NMHDR& header, LRESULT&) override {
    if (header.idFrom != IDC_DATE_CALENDAR || header.code != MCN_SELECT) return false;
    const SYSTEMTIME& day = reinterpret_cast<const NMSELCHANGE&>(header).stSelStart;
    Picked(CalendarDate(day.wYear, day.wMonth, day.wDay).DateText());
    return true;
  }

  bool OnCommand(int id, int) override {
    if (id == IDC_DATE_ERASE)
      Picked(WString());
    else if (id == IDC_DATE_TODAY)
      Picked(CalendarDate::Now().DateText());
    else
      return false;
    return true;
  }

  void Picked(const WString& text) {
    result_ = text;
    End(IDOK);
  }

  CalendarDate preset_;
  const bool hasPreset_;
  WString result_;
};

}  // namespace

std::optional<WString> DatePicker::Pick(const DAVavador::ERApp& app, HWND owner, const WString& current) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  return PickerDialog(current).Run(app, owner);
}

void DatePicker::PickInto(const DAVavador::ERApp& app, HWND dialog, int editId) {
  if (const std::optional<WString> picked = Pick(app, dialog, DAVavador::ERDialog::ItemText(dialog, editId)))
    SetDlgItemTextW(dialog, editId, picked->c_str());
}
