#include "views/Diary/NutritionDialog.h"

#include "app/DataLockGuard.h"
#include "resources/resource.h"
#include "views/Diary/DatePicker.h"
#include "views/Diary/MealDialog.h"

void NutritionDialog::Run(const Meal& preset) {
  preset_ = &preset;
  RunModal(app_, IDD_DIARY_NUTRITION);
  preset_ = nullptr;
}

bool NutritionDialog::OnCommand(int id, int) {
  switch (id) {
    case IDC_NUTRITION_FROM_PICK:
      DatePicker::PickInto(app_, Dialog(), IDC_NUTRITION_FROM);
      return true;
    case IDC_NUTRITION_TO_PICK:
      DatePicker::PickInto(app_, Dialog(), IDC_NUTRITION_TO);
      return true;
    case IDC_NUTRITION_VIEW:
      ViewNutrition();
      return true;
    default:
      return false;
  }
}

bool NutritionDialog::OnInit() {
  FillCombo(IDC_NUTRITION_DIARY, diaries_.Entries());
  SelectComboData(IDC_NUTRITION_DIARY, preset_->catId, 0);
  MealDialog::FillMealTypes(Item(IDC_NUTRITION_MEAL), app_.String(IDS_ALL), true);
  SelectComboData(IDC_NUTRITION_MEAL, preset_->mealType, 0);  // else the first row, "--All--"
  CalendarDate day = preset_->date;
  day.dateFormat = CalendarDate::kMonthDayYear;
  SetItemText(IDC_NUTRITION_FROM, day.DateText());
  SetItemText(IDC_NUTRITION_TO, day.DateText());
  return true;
}

void NutritionDialog::ViewNutrition() const {
  NutritionPeriod period;
  period.diaryId = static_cast<uint32_t>(SelectedComboData(IDC_NUTRITION_DIARY));
  period.mealType = static_cast<int32_t>(SelectedComboData(IDC_NUTRITION_MEAL));
  for (auto [edit, date] :
       {std::pair{IDC_NUTRITION_FROM, &period.from}, std::pair{IDC_NUTRITION_TO, &period.to}}) {
    if (!date->Parse(ItemText(edit))) {
      app_.ShowMessage(IDS_DIARY_BAD_DATE, MB_OK | MB_ICONINFORMATION);
      SetFocus(Item(edit));
      return;
    }
  }
  FoodRDA totals(0, 0);
  {
    DataLockGuard lock;
    totals = period.Totals(meals_, diaries_);
  }
  totals.catId = period.diaryId;
  show_(Dialog(), totals, period);
}
