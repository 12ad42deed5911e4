#include "views/Diary/NutritionDialog.h"

#include "app/DataLockGuard.h"
#include "resources/resource.h"
#include "views/Diary/DatePicker.h"
#include "views/Diary/DialogText.h"

using namespace diary_dialog;

void NutritionDialog::Run(const Meal& preset) {
  preset_ = &preset;
  app_.RunDialog(IDD_DIARY_NUTRITION, DialogProc, reinterpret_cast<LPARAM>(this));
  preset_ = nullptr;
}

INT_PTR CALLBACK NutritionDialog::DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<NutritionDialog*>(lp)->OnInit(dialog);
    return TRUE;
  }
  const auto* self = reinterpret_cast<NutritionDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self || msg != WM_COMMAND) return FALSE;
  switch (LOWORD(wp)) {
    case IDC_NUTRITION_FROM_PICK:
      DatePicker::PickInto(self->app_, dialog, IDC_NUTRITION_FROM);
      return TRUE;
    case IDC_NUTRITION_TO_PICK:
      DatePicker::PickInto(self->app_, dialog, IDC_NUTRITION_TO);
      return TRUE;
    case IDC_NUTRITION_VIEW:
      self->ViewNutrition(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void NutritionDialog::OnInit(HWND dialog) const {
  const HWND diary = GetDlgItem(dialog, IDC_NUTRITION_DIARY);
  FillCombo(diary, diaries_.Entries());
  if (!SelectComboData(diary, preset_->catId)) SendMessageW(diary, CB_SETCURSEL, 0, 0);
  const HWND meal = GetDlgItem(dialog, IDC_NUTRITION_MEAL);
  FillMealTypes(meal, app_.String(IDS_ALL), true);
  if (!SelectComboData(meal, preset_->mealType)) SelectComboData(meal, kMealNone);
  CalendarDate from = preset_->date;
  from.dateFormat = CalendarDate::kMonthDayYear;
  CalendarDate to = from;
  to.AddDays(1);
  SetItemText(dialog, IDC_NUTRITION_FROM, from.DateText());
  SetItemText(dialog, IDC_NUTRITION_TO, to.DateText());
}

void NutritionDialog::ViewNutrition(HWND dialog) const {
  NutritionPeriod period;
  period.diaryId = static_cast<uint32_t>(SelectedComboData(GetDlgItem(dialog, IDC_NUTRITION_DIARY)));
  period.mealType = static_cast<int32_t>(SelectedComboData(GetDlgItem(dialog, IDC_NUTRITION_MEAL)));
  for (auto [edit, date] :
       {std::pair{IDC_NUTRITION_FROM, &period.from}, std::pair{IDC_NUTRITION_TO, &period.to}}) {
    if (!date->Parse(ItemText(dialog, edit))) {
      app_.ShowMessage(IDS_DIARY_BAD_DATE, MB_OK | MB_ICONINFORMATION);
      SetFocus(GetDlgItem(dialog, edit));
      return;
    }
  }
  FoodRDA totals(0, 0);
  {
    DataLockGuard lock;
    totals = period.Totals(meals_, diaries_);
  }
  totals.catId = period.diaryId;
  show_(dialog, totals, period);
}
