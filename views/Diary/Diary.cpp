#include "views/Diary/Diary.h"

#include <algorithm>

#include "app/DataLockGuard.h"
#include "app/Options.h"
#include "food/NutrientChart.h"
#include "food/RecordIds.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "views/CommandStates.h"
#include "views/Diary/DiaryDialog.h"
#include "views/Diary/DiaryExportDialog.h"
#include "views/Diary/MealDialog.h"
#include "views/Diary/NutritionDialog.h"
#include "views/IngredientList/IngredientEditor.h"
#include "views/IngredientList/IngredientList.h"

namespace {

bool IsNumberColumn(uint8_t id) {
  return id < Nutrient::kCount;
}

}  // namespace

Diary::Diary(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
             Options& options, IngredientList& ingredients)
    : View(owner, statusBar, toolbar, options,
           ViewTraits{2,
                      static_cast<int>(kFoodColumnCount),
                      IDS_DIARY_COLUMN_FIRST,
                      IDS_DIARY_LOADING,
                      {kColumnServingSize, kColumnCategory, Nutrient::kCalories, kColumnPicture}}),
      ingredients_(ingredients) {
  UseRecordRows<Meal>();
  ingredients_.AddFoodReferences(this);
  WString mealTypes[kMealTypeCount - 1];
  for (int32_t type = kMealBreakfast; type < kMealTypeCount; ++type)
    mealTypes[type - 1] = owner.String(IDS_MEAL_TYPE_FIRST + type - 1);
  SetMealTypeNames(mealTypes);
  categories = std::make_unique<DiaryNameList>();
  categoryDialog = std::make_unique<DiaryDialog>(owner, Diaries());
  showTotals_ = [this](HWND window, FoodRDA& totals, const NutritionPeriod& period) {
    IngredientEditor::Context context{this->owner, *categories, totals, Format(), imagesFolder};
    context.days = DaysOf(period);
    context.trend = [this, &totals, period](uint32_t nutrient) {
      DataLockGuard lock;
      return DailyTrend(meals_, period, totals, nutrient);
    };
    IngredientEditor::Open(window, context, IngredientEditor::kDiary | IngredientEditor::kViewOnly);
  };
}

Diary::~Diary() {
  ingredients_.RemoveFoodReferences(this);
}

void Diary::VisitFoodPointers(const PointerVisitor& visit) {
  for (const auto& meal : meals_) {
    for (MealItem& item : meal->items) modified = Moved(item.food, visit) || modified;
  }
}

// ---- the meals ----

bool Diary::Passes(const Meal& meal) const {
  return (selectedCategory == 0 || meal.catId == selectedCategory) &&
         (selectedLetter == 0 || meal.mealType == static_cast<int32_t>(selectedLetter));
}

Meal* Diary::FindMeal(uint32_t mealId) const {
  for (const auto& meal : meals_) {
    if (meal->foodId == mealId) return meal.get();
  }
  return nullptr;
}

Meal* Diary::FocusedMeal() const {
  const int row = listView.FocusedOfOne();
  return row < 0 ? nullptr : FindMeal(static_cast<uint32_t>(listView.ItemData(row)));
}

bool Diary::IsFoodUsed(uint32_t foodId) {
  return std::any_of(meals_.begin(), meals_.end(), [foodId](const auto& meal) {
    return std::any_of(meal->items.begin(), meal->items.end(),
                       [foodId](const MealItem& item) { return item.food && item.food->foodId == foodId; });
  });
}

void Diary::TakeMeal(std::unique_ptr<Meal> meal) {
  // Meal ids grow in file order, so a meal renumbered at once takes no id a later one holds.
  if (meal->foodId <= lastMealId || !TakeFileId(meal->foodId, lastMealId)) meal->foodId = ++lastMealId;
  meals_.push_back(std::move(meal));
}

void Diary::Clear() {
  DataLockGuard lock;
  View::Clear();
  meals_.clear();
  lastMealId = 0;
}

// ---- the list ----

void Diary::FillList() {
  const size_t count =
      std::count_if(meals_.begin(), meals_.end(), [this](const auto& meal) { return Passes(*meal); });
  FillRows(count, [this](FillProgress& fill) {
    for (const auto& meal : meals_) {
      if (!Passes(*meal)) continue;
      AddRow(static_cast<LPARAM>(meal->foodId), meal.get());
      fill.RowAdded();
    }
  });
}

void Diary::BuildColumns() {
  BuildColumnsFrom(IDS_DIARY_COLUMN_FIRST, &IsNumberColumn);
}

void Diary::CustomizeColumns() {
  CustomizeColumnsWith(static_cast<int>(kFoodColumnCount), IDS_DIARY_COLUMN_FIRST);
}

// ---- the controls and the filters ----

bool Diary::Create(HWND parent, int menuId, int popupMenuId) {
  const bool created = View::Create(parent, menuId, popupMenuId);
  categoryLabel.SetText(owner.String(IDS_DIARY_NAME_LABEL));
  letterLabel.SetText(owner.String(IDS_DIARY_MEAL_LABEL));
  // The letter selector becomes the meal-type selector.
  letterCombo.ResetContent();
  letterCombo.AddString(owner.String(IDS_VIEW_ALL), kMealNone);
  for (int32_t type = kMealBreakfast; type < kMealTypeCount; ++type)
    letterCombo.AddString(MealTypeName(type), type);
  FillCategorySelector();
  SelectStoredFilter();
  return created;
}

void Diary::TakeFilter() {
  const uint32_t diary = SelectorCategory();
  const uint32_t mealType = SelectorLetter();
  if (diary == selectedCategory && mealType == selectedLetter) return;
  selectedCategory = diary;
  selectedLetter = mealType;
  modified = true;
  FillList();
}

void Diary::InstallMenu() {
  ShowControls(true);
  View::InstallMenu();
  TakeFilter();
}

void Diary::UpdateCategoryMenu(HMENU menuHandle) {
  const uint32_t shown = SelectorCategory();
  if (shown != selectedCategory) {
    selectedCategory = shown;
    modified = true;
    FillList();
    UpdateStatus();
  }
  EnableDiaryCommands(menuHandle, true);
}

void Diary::EnableDiaryCommands(HMENU menuHandle, bool show) const {
  const bool canAdd = show && !readOnly;
  const bool canChange = canAdd && SelectorCategory() != 0;
  ApplyCommandStates(menuHandle, &toolbar,
                     {{kAddDiary, canAdd}, {kEditDiary, canChange}, {kDeleteDiary, canChange}});
  // The diaries stand in for the categories here, whose buttons mean nothing on this tab.
  ApplyCommandStates(nullptr, &toolbar,
                     {{IDM_ADD_CATEGORY, false}, {IDM_DELETE_CATEGORY, false}, {IDM_EDIT_CATEGORY, false}});
}

void Diary::UpdateMenu(HMENU menuHandle) {
  const int selected = listView.SelectedCount();
  ApplyCommandStates(menuHandle, nullptr,
                     {{kRestore, FileExists(BackupPath())},
                      {kAddMeal, !readOnly && !categories->Entries().Empty()},
                      {kDeleteMeal, selected >= 1},
                      {kEditMeal, selected == 1}});
}

void Diary::UpdateToolbar() {
  EnableDiaryCommands(nullptr, true);
}

void Diary::Hide() {
  ShowControls(false);
  EnableDiaryCommands(nullptr, false);
}

void Diary::OnSelectionChanged(HMENU menuHandle) {
  UpdateMenu(menuHandle);
  UpdateToolbar();
}

// ---- the meal commands ----

uint32_t Diary::AddItem(View*) {
  if (readOnly) return 0;
  auto meal = std::make_unique<Meal>(&foodOwner_);
  meal->catId = SelectorCategory();
  if (!MealDialog(owner, Diaries(), ingredients_).Run(*meal)) return 0;
  uint32_t id;
  {
    DataLockGuard lock;
    id = meal->foodId = ++lastMealId;
    meals_.push_back(std::move(meal));
    if (Passes(*meals_.back())) AddRow(static_cast<LPARAM>(id), meals_.back().get());
    modified = true;
  }
  UpdateStatus();
  SaveIfModified(false);
  return id;
}

void Diary::EditItem(View*) {
  Meal* meal = FocusedMeal();
  if (readOnly || !meal) return;
  Meal copy = *meal;
  if (!MealDialog(owner, Diaries(), ingredients_).Run(copy)) return;
  {
    DataLockGuard lock;
    meal = FindMeal(copy.foodId);  // found again, never written through the pointer of before
    if (!meal) return;
    *meal = copy;
    const int row = listView.FindItem(static_cast<LPARAM>(meal->foodId));
    if (row >= 0 && Passes(*meal))
      ShowRow(row);
    else if (row >= 0)
      listView.DeleteItem(row);
    modified = true;
  }
  UpdateStatus();
  SaveIfModified(false);
}

void Diary::CopyItem() {}

void Diary::DeleteItem(View*, View*) {
  if (readOnly || listView.SelectedCount() == 0) return;
  if (owner.ShowMessage(DeleteQuestion(IDS_DIARY_DELETE_MEALS_QUESTION), owner.ProductName(),
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  bool changed = false;
  {
    DataLockGuard lock;
    const std::vector<int> rows = listView.SelectedItems();
    // From the last row up, so that removing a row leaves the others' indices alone.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
      const auto id = static_cast<uint32_t>(listView.ItemData(*row));
      const auto before = meals_.size();
      meals_.erase(
          std::remove_if(meals_.begin(), meals_.end(), [id](const auto& meal) { return meal->foodId == id; }),
          meals_.end());
      listView.DeleteItem(*row);
      changed |= meals_.size() != before;
    }
    if (changed) modified = true;
  }
  UpdateStatus();
  if (changed) SaveIfModified(false);
}

void Diary::ShowNutrition() {
  Meal preset(&foodOwner_);
  if (const Meal* meal = FocusedMeal())
    preset = *meal;
  else
    preset.catId = SelectorCategory();
  NutritionDialog(owner, Diaries(), meals_,
                  [this](HWND dialog, FoodRDA& totals, const NutritionPeriod& period) {
                    showTotals_(dialog, totals, period);
                  })
      .Run(preset);
}

// ---- the diary commands ----

void Diary::DeleteCategory() {
  const uint32_t id = SelectorCategory();
  if (readOnly || id == 0) return;
  const WString question = owner.String(IDS_DIARY_DELETE_QUESTION) + TXT(": ") + Diaries().Find(id).name;
  if (owner.ShowMessage(question, owner.String(IDS_DIARY_DELETE_CAPTION), MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  {
    DataLockGuard lock;
    Diaries().Remove(id);
    meals_.erase(
        std::remove_if(meals_.begin(), meals_.end(), [id](const auto& meal) { return meal->catId == id; }),
        meals_.end());
    selectedCategory = 0;
    FillCategorySelector(0);
    FillList();
    modified = true;
  }
  UpdateStatus();
  SaveIfModified(false);
}

void Diary::EditCategory() {
  const uint32_t id = SelectorCategory();
  if (readOnly || id == 0) return;
  DiaryName diary = Diaries().Find(id);
  if (!static_cast<DiaryDialog&>(*categoryDialog).EditDiary(diary)) return;
  bool updated;
  {
    DataLockGuard lock;
    updated = Diaries().Update(diary);
    if (updated) {
      modified = true;
      FillCategorySelector(id);
    }
  }
  if (!updated) {
    owner.ShowMessage(owner.String(IDS_VIEW_CATEGORY_EXISTS) + diary.name, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  SaveIfModified(false);
}

// ---- export, import, restore ----

void Diary::Export() {
  WString path = ExportSuggestion(TXT(".xml"));
  uint32_t diaryId = filterCategoryId != 0 ? filterCategoryId : SelectorCategory();
  if (!DiaryExportDialog(owner, *categories).Run(path, diaryId)) return;
  filterCategoryId = diaryId;
  StartExport(IDS_DIARY_EXPORTING, path);
}

void Diary::Import() {
  if (readOnly) return;
  const WString filter = owner.String(IDS_XML_FILES) + TXT("|") + owner.String(IDS_XML_FILES + 1);
  const std::optional<WString> path =
      ChooseOpenFile(owner.MainWindow(), owner.String(IDS_DIARY_IMPORT_FILE_TITLE), filter, TXT("xml"),
                     FolderOf(catalogPath));
  if (!path) return;
  const int answer = owner.ShowMessage(owner.String(IDS_DIARY_IMPORT_QUESTION), owner.ProductName(),
                                       MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return;
  WaitForBackgroundSaves();
  if (answer == IDYES) Clear();
  StartImport(IDS_DIARY_IMPORTING, *path);
  RefillAfterLoad();
}

void Diary::RestoreBackup() {
  RestoreFromBackup(IDS_DIARY_RESTORE_QUESTION, IDS_DIARY_RESTORING);
}

void Diary::RefillAfterLoad() {
  {
    DataLockGuard lock;
    modified = true;
    FillCategorySelector();
    SelectStoredFilter();
    selectedCategory = SelectorCategory();
  }
  BuildColumns();
  FillList();
  UpdateStatus();
  SaveIfModified(false);
}
