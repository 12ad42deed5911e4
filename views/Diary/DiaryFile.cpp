// FoodDiary.xml: the VIEW element with the diary names, then one DIARY element per meal with its
// foods (by ingredient id, or as a whole FOOD element from other programs' files), comment, type,
// date and its own FOOD element with the totals.
#include "app/DataLockGuard.h"
#include "food/TagNames.h"
#include "storage/Files.h"
#include "storage/XMLDoc.h"
#include "views/Diary/Diary.h"
#include "storage/Csv.h"
#include "views/IngredientList/IngredientList.h"

// Reads the DIARIES element of one document into the diary, one meal at a time; true when the
// DIARYLIST end tag was reached.
bool Diary::ReadDiaries(XMLDoc& doc, ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  bool inside = false;
  bool inDiaries = false;
  while (const WChar* tag = doc.NextTag()) {
    ReportLoadProgress(progressWindow, fromPercent, toPercent, doc);
    if (IsTag(tag, TXT("DIARYLIST"))) {
      if (doc.IsEndTag()) return true;
      inside = true;
    } else if (!inside) {
      continue;
    } else if (IsTag(tag, TXT("DIARIES"))) {
      inDiaries = !doc.IsEndTag() && !doc.IsEmptyTag();
    } else if (doc.IsEndTag() || doc.IsEmptyTag()) {
      continue;
    } else if (IsTag(tag, TXT("VIEW"))) {
      ReadViewSettings(doc);
    } else if (inDiaries && IsTag(tag, TXT("DIARY"))) {
      auto meal = std::make_unique<Meal>(&foodOwner_);
      // A meal without its own readable FOOD element is dropped.
      if (meal->ReadDiaryElement(doc, *categories, lastId, ingredients_)) TakeMeal(std::move(meal));
    }
  }
  return false;
}

bool Diary::Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  PrepareLoad();
  if (IsCsvPath(workPath)) return false;
  bool finished = false;
  {
    IngredientList::AddBatch foods(ingredients_);  // foods given whole, saved once at the end
    DataLockGuard lock;
    XMLDoc doc;
    if (FileExists(workPath) && doc.Load(workPath) && doc.FindRoot(TXT("DIARYLIST")))
      finished = ReadDiaries(doc, progressWindow, fromPercent, toPercent);
  }
  FillCategorySelector();
  return finished;
}

bool Diary::Save() {
  DataLockGuard lock;
  if (IsCsvPath(workPath)) return false;
  // The export diary restricts exports only; the catalog file always holds every meal.
  const bool exchange = IsExchange();
  const uint32_t exportDiary = exchange ? filterCategoryId : 0;
  std::vector<const Meal*> written;
  for (const auto& meal : meals_) {
    if (exportDiary == 0 || meal->catId == exportDiary) written.push_back(meal.get());
  }
  XMLDoc doc;
  doc.StreamTo(workPath);  // years of meals are never held whole
  doc.OpenElement(TXT("DIARYLIST"));
  WriteViewSettings(doc);
  doc.OpenElement(TXT("DIARIES"));
  for (size_t n = 0; n < written.size(); ++n) {
    written[n]->WriteDiaryElement(doc);
    ReportSaveProgress(n + 1, written.size());
  }
  doc.CloseElement();
  doc.CloseElement();
  const bool saved = WriteWorkFile(doc);
  if (saved && !exchange) modified = false;
  return saved;
}
