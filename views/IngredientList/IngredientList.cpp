#include "views/IngredientList/IngredientList.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <utility>

#include "app/DataLockGuard.h"
#include "app/Options.h"
#include "food/CategoryList.h"
#include "food/RecordIds.h"
#include "food/TagNames.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "toolkit/ScopedGdi.h"
#include "views/CommandStates.h"
#include "views/IngredientList/ExportDialog.h"
#include "views/IngredientList/FindIngredientDialog.h"
#include "storage/Csv.h"
#include "views/IngredientList/IngredientEditor.h"
#include "storage/XMLDoc.h"

namespace {

bool IsNumberColumn(uint8_t id) {
  return id < Nutrient::kCount || id == kColumnOunces;
}

// The first position at which `text` occurs in `name`, comparing text-length characters ignoring
// case as the system locale does; npos when nowhere.
size_t FindNoCase(const WString& name, const WString& text) {
  if (text.size() > name.size()) return WString::npos;
  const int length = static_cast<int>(text.size());
  for (size_t at = 0; at + text.size() <= name.size(); ++at) {
    if (CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name.c_str() + at, length, text.c_str(),
                       length) == CSTR_EQUAL)
      return at;
  }
  return WString::npos;
}

}  // namespace

IngredientList::IngredientList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar,
                               DAVavador::ERToolbar& toolbar, Options& options)
    : FoodCatalogView(owner, statusBar, toolbar, options,
                      ViewTraits{0,
                                 static_cast<int>(kFoodColumnCount),
                                 IDS_COLUMN_FIRST,
                                 IDS_INGREDIENT_LOADING,
                                 {kColumnName, kColumnServingSize, Nutrient::kCalories}}) {
  categories = std::make_unique<CategoryList>();
  const DAVavador::ScopedDC screen = DAVavador::ScopedDC::ForWindow(nullptr);
  foodOwner_.logPixelsX = GetDeviceCaps(screen.Get(), LOGPIXELSX);
}

// ---- the catalog ----

Ingredient* IngredientList::FindById(uint32_t foodId) {
  return FindRecord(foodId);
}

Ingredient* IngredientList::FindByName(WStringView name) {
  for (const auto& record : records_) {
    if (EqualsNoCase(record->name, name)) return record.get();
  }
  return nullptr;
}

Ingredient* IngredientList::AddIngredient(const Ingredient& ingredient) {
  Ingredient* added;
  {
    DataLockGuard lock;
    records_.push_back(std::make_unique<Ingredient>(ingredient));
    added = records_.back().get();
    added->foodId = ++lastId;
    added->picture = PlainFileName(added->picture);  // the foods a recipe file carries are foreign
    modified = true;
    if (openBatches_ > 0) {
      batchAdded_ = true;  // saved with the batch
      return added;
    }
  }
  SaveIfModified(false);
  return added;
}

IngredientList::AddBatch::AddBatch(IngredientList& catalog) : catalog_(catalog) {
  DataLockGuard lock;
  ++catalog_.openBatches_;
}

IngredientList::AddBatch::~AddBatch() {
  bool added;
  {
    DataLockGuard lock;
    added = --catalog_.openBatches_ == 0 && std::exchange(catalog_.batchAdded_, false);
  }
  if (added) catalog_.SaveIfModified(false);
}

Ingredient& IngredientList::UpsertLinkedIngredient(uint32_t linkId, const Food& values, bool hidden,
                                                   const WString& categoryName) {
  Ingredient* record;
  {
    DataLockGuard lock;
    // A recipe's category joins the ingredient categories; what the Ingredients tab shows stays.
    const uint32_t known = lastId;
    const uint32_t categoryId = categories->FindOrCreate(categoryName, lastId);
    if (lastId != known) FillCategorySelector();
    record = FindById(linkId);
    const bool created = !record;
    if (created) {
      records_.push_back(std::make_unique<Ingredient>(&foodOwner_));
      record = records_.back().get();
    }
    *record = Ingredient(values);
    record->catId = categoryId;
    record->hidden = hidden;
    record->foodId = created ? ++lastId : linkId;
    modified = true;
  }
  SaveIfModified(false);
  if (selectedCategory == 0 || selectedCategory == record->catId) FillList();
  return *record;
}

void IngredientList::EraseIngredient(uint32_t foodId) {
  {
    DataLockGuard lock;
    const int row = listView.FindItem(static_cast<LPARAM>(foodId));
    if (row >= 0) listView.DeleteItem(row);
    Release(foodId, false);
    modified = true;
  }
  SaveIfModified(false);
}

void IngredientList::Release(uint32_t foodId, bool keep) {
  const auto at = std::find_if(records_.begin(), records_.end(),
                               [foodId](const auto& record) { return record->foodId == foodId; });
  if (at == records_.end()) return;
  if (keep || IsReferenced(**at)) {
    (*at)->hidden = true;
    return;
  }
  listView.DeleteRecord(at->get());  // a row the find text hides goes with it
  records_.erase(at);
}

bool IngredientList::IsReferenced(const Ingredient& record) const {
  bool used = false;
  for (FoodReferences* view : referrers_) {
    view->VisitFoodPointers([&](Ingredient*& food) { used = used || food == &record; });
    view->VisitLinkedIds([&](uint32_t& id) { used = used || id == record.foodId; });
  }
  return used;
}

bool IngredientList::IsCategoryUsed(uint32_t categoryId) {
  return std::any_of(records_.begin(), records_.end(),
                     [categoryId](const auto& record) { return record->catId == categoryId; });
}

void IngredientList::AddFoodReferences(FoodReferences* view) {
  referrers_.push_back(view);
}

void IngredientList::RemoveFoodReferences(FoodReferences* view) {
  referrers_.erase(std::remove(referrers_.begin(), referrers_.end(), view), referrers_.end());
}

void IngredientList::Clear() {
  DataLockGuard lock;
  retiredCategories_ = categories->Entries();
  View::Clear();
  std::move(records_.begin(), records_.end(), std::back_inserter(retired_));
  records_.clear();
}

void IngredientList::TakeBackRetired() {
  DataLockGuard lock;
  std::unordered_map<const Ingredient*, Ingredient*> successors;
  std::unordered_map<uint32_t, Ingredient*> retiredById;
  for (const auto& record : retired_) {
    successors.emplace(record.get(), nullptr);
    retiredById.emplace(record->foodId, record.get());
  }
  const auto successor = [&](Ingredient* old) {
    Ingredient*& next = successors[old];
    if (!next) next = SuccessorOf(*old);
    return next;
  };
  for (FoodReferences* view : referrers_) {
    view->VisitFoodPointers([&](Ingredient*& food) {
      if (successors.count(food)) food = successor(food);
    });
    view->VisitLinkedIds([&](uint32_t& id) {
      const auto old = retiredById.find(id);
      if (old != retiredById.end()) id = successor(old->second)->foodId;
    });
  }
  retired_.clear();  // nothing refers to them any more
}

// The new catalog's ingredient of the same id and name, else of the same name; otherwise the old
// record rejoins the catalog, hidden (renumbered when its id is taken, in its category by name):
// the listed catalog is the file's, and nothing a recipe, meal or list holds is lost.
Ingredient* IngredientList::SuccessorOf(Ingredient& old) {
  Ingredient* same = FindById(old.foodId);
  if (same && EqualsNoCase(same->name, old.name)) return same;
  if ((same = FindByName(old.name))) return same;
  const auto at = std::find_if(retired_.begin(), retired_.end(),
                               [&old](const auto& record) { return record.get() == &old; });
  std::unique_ptr<Ingredient> record = std::move(*at);
  retired_.erase(at);
  if (FindById(record->foodId) || !TakeFileId(record->foodId, lastId)) record->foodId = ++lastId;
  const WString* category = retiredCategories_.NameById(record->catId);
  record->catId = category ? categories->FindOrCreate(*category, lastId) : 0;
  record->hidden = true;
  records_.push_back(std::move(record));
  modified = true;
  return records_.back().get();
}

void IngredientList::SaveReferrers() {
  for (FoodReferences* referrer : referrers_) {
    if (auto* view = dynamic_cast<View*>(referrer)) view->SaveIfModified(false);
  }
}

// ---- the catalog file ----

bool IngredientList::Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  PrepareLoad();
  bool finished = false;
  if (IsCsvPath(workPath)) {
    finished = ReadCsvFile(progressWindow, fromPercent, toPercent);
  } else {
    DataLockGuard lock;
    XMLDoc doc;
    if (FileExists(workPath) && doc.Load(workPath) && doc.FindRoot(TXT("INGREDIENTLIST")))
      finished = ReadRecords(doc, progressWindow, fromPercent, toPercent);
    NumberUnnumbered(records_, lastId);
  }
  TakeBackRetired();
  FillCategorySelector();
  return finished;
}

WString IngredientList::PictureSource() const {
  return IsExchange() ? FolderOf(workPath) + TXT("Images\\") : WString();
}

bool IngredientList::ImportCsv(const WString& text, ProgressWindow* progressWindow, int fromPercent,
                               int toPercent) {
  const std::vector<WStringView> lines = CsvLines(text);
  CsvColumnMap map;
  const auto headerText = [this](uint32_t column) { return owner.String(IDS_COLUMN_FIRST + column); };
  if (lines.empty() || !MapCsvHeader(SplitCsvLine(lines[0]), headerText, map)) return false;
  const WString pictureSource = PictureSource();
  DataLockGuard lock;
  // Names are looked up by their keys, not compared one by one: a file of thousands of foods meets a
  // catalog of thousands. The first record of a name is the one found, as by FindByName.
  std::unordered_map<WString, Ingredient*> byName;
  for (const auto& record : records_) byName.emplace(NoCaseKey(record->name), record.get());
  for (size_t n = 1; n < lines.size(); ++n) {
    ReportLoadProgress(progressWindow, fromPercent, toPercent, n, lines.size());
    auto record = std::make_unique<Ingredient>(&foodOwner_);
    if (!record->ImportCsvRow(SplitCsvLine(lines[n]), *categories, UnitNames(), lastId, map)) continue;
    record->picture = PlainFileName(record->picture);  // a foreign file names no other folder
    ImportPicture(*record, pictureSource);
    // A name the catalog has (in any letter case) replaces that record in its place, keeping its id.
    WString key = NoCaseKey(record->name);
    if (const auto same = byName.find(key); same != byName.end()) {
      record->foodId = same->second->foodId;
      *same->second = *record;
    } else if (!record->name.empty()) {
      byName.emplace(std::move(key), record.get());
      records_.push_back(std::move(record));
    }
  }
  return true;
}

void IngredientList::ImportPicture(Ingredient& record, const WString& pictureSource) const {
  if (IsExchange())
    DAVavador::TakeForeignPicture(record.picture, pictureSource, imagesFolder);  // failures are ignored
}

bool IngredientList::ReadRecords(XMLDoc& doc, ProgressWindow* progressWindow, int fromPercent,
                                 int toPercent) {
  const WString pictureSource = PictureSource();
  bool inside = false;
  bool inRecords = false;
  while (const WChar* tag = doc.NextTag()) {
    ReportLoadProgress(progressWindow, fromPercent, toPercent, doc);
    if (IsTag(tag, TXT("INGREDIENTLIST"))) {
      if (doc.IsEndTag()) return true;
      inside = true;
    } else if (!inside || doc.IsEmptyTag()) {
      continue;
    } else if (IsTag(tag, TXT("INGREDIENTS"))) {
      inRecords = !doc.IsEndTag();
    } else if (IsTag(tag, TXT("VIEW")) && !doc.IsEndTag()) {
      ReadViewSettings(doc);
    } else if (inRecords && IsTag(tag, TXT("FOOD")) && !doc.IsEndTag()) {
      auto record = std::make_unique<Ingredient>(&foodOwner_);
      if (ReadFood(doc, *record, *categories, lastId)) TakeRecord(std::move(record), pictureSource);
    }
  }
  return false;
}

void IngredientList::TakeRecord(std::unique_ptr<Ingredient> record, const WString& pictureSource) {
  if (IsExchange()) {
    // Imported ids may clash with the catalog's own; a clashing record is renumbered.
    if (FindById(record->foodId)) record->foodId = 0;
    record->picture = PlainFileName(record->picture);  // a foreign file names no other folder
    ImportPicture(*record, pictureSource);
  }
  record->foodId = TakeFileId(record->foodId, lastId);  // 0 is numbered after the whole file
  records_.push_back(std::move(record));
}

bool IngredientList::WriteXmlFile(const std::vector<const Ingredient*>& written) {
  XMLDoc doc;
  doc.StreamTo(workPath);  // a large catalog is never held whole
  doc.OpenElement(TXT("INGREDIENTLIST"));
  WriteViewSettings(doc);
  doc.OpenElement(TXT("INGREDIENTS"));
  for (size_t n = 0; n < written.size(); ++n) {
    ReportSaveProgress(n + 1, written.size() + 1);
    WriteFood(doc, *written[n]);
    ExportPicture(*written[n]);
  }
  doc.CloseElement();
  doc.CloseElement();
  return WriteWorkFile(doc);
}

bool IngredientList::WriteCsvFile(const std::vector<const Ingredient*>& written) {
  const WString text =
      CsvExportText(written.size(), kFoodColumnCount, IDS_COLUMN_FIRST, [&](size_t n, uint8_t id) {
        if (id == kColumnPicture) ExportPicture(*written[n]);
        WString cell;
        written[n]->ColumnText(cell, id, *categories, Format(), true, true);
        return cell;
      });
  if (preserveUnicode) return WriteWorkFile(text.data(), text.size() * sizeof(WChar));
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, narrow.data(), bytes, nullptr, nullptr);
  return WriteWorkFile(narrow.data(), narrow.size());
}

void IngredientList::ExportPicture(const Ingredient& record) const {
  if (IsExchange() && exportPictures)
    DAVavador::CopyPicture(record.picture, imagesFolder,
                           FolderOf(workPath) + TXT("Images\\"));  // failures are ignored
}

// ---- the list ----

void IngredientList::FillList() {
  // Hidden records count towards the fill rule but are never shown.
  const size_t count = std::count_if(records_.begin(), records_.end(),
                                     [this](const auto& record) { return MatchesFilter(*record); });
  FillRows(count, [this](FillProgress& fill) {
    for (const auto& record : records_) {
      if (!MatchesFilter(*record) || record->hidden) continue;
      AddFoodRow(*record);
      fill.RowAdded();
    }
  });
}

void IngredientList::FillSearchList(HWND listBox, const WString& text, bool useFilters, bool includeHidden) {
  // Names that start with the text come first, in catalog order, then the names that hold it.
  std::vector<const Ingredient*> starting, holding;
  if (!text.empty() || (useFilters && (selectedCategory != 0 || selectedLetter != 0))) {
    for (const auto& record : records_) {
      if ((record->hidden && !includeHidden) || (useFilters && !MatchesFilter(*record))) continue;
      const size_t at = FindNoCase(record->name, text);
      if (at != WString::npos) (at == 0 ? starting : holding).push_back(record.get());
    }
  }
  // A sorted box shows the names that hold the text in its order: sorted here once, since the box
  // would compare each new name with every one before it.
  if (GetWindowLongW(listBox, GWL_STYLE) & LBS_SORT)
    std::stable_sort(holding.begin(), holding.end(), [](const Ingredient* a, const Ingredient* b) {
      return CompareNoCase(a->name, b->name) < 0;
    });
  // Thousands of rows go in at once: without drawing, into storage reserved ahead, appended.
  SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
  SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
  SendMessageW(listBox, LB_INITSTORAGE, starting.size() + holding.size(), 32 * sizeof(WChar));
  for (const auto* rows : {&starting, &holding}) {
    for (const Ingredient* record : *rows) {
      const LRESULT index = SendMessageW(listBox, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(record->name.c_str()));
      SendMessageW(listBox, LB_SETITEMDATA, static_cast<WPARAM>(index), record->foodId);
    }
  }
  SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(listBox, nullptr, TRUE);
}

void IngredientList::BuildColumns() {
  BuildColumnsFrom(IDS_COLUMN_FIRST, &IsNumberColumn);
}

void IngredientList::CustomizeColumns() {
  CustomizeColumnsWith(static_cast<int>(kFoodColumnCount), IDS_COLUMN_FIRST);
}

// ---- the item commands ----

bool IngredientList::RunEditor(Ingredient& copy, unsigned modes, View* recipes) {
  editedId_ = copy.foodId;
  recipePictures_ = dynamic_cast<const DAVavador::PictureUsers*>(recipes);
  IngredientEditor::Context context{owner, *categories, copy, Format(), imagesFolder, this};
  context.newCategory = [this](const WString& name) { return CategoryNamed(name); };
  const bool confirmed = IngredientEditor::Open(owner.MainWindow(), context, modes);
  editedId_ = 0;
  recipePictures_ = nullptr;
  return confirmed;
}

bool IngredientList::OtherRecordNames(const WString& fileName) const {
  const bool ingredient = std::any_of(records_.begin(), records_.end(), [&](const auto& record) {
    return record->foodId != editedId_ && EqualsNoCase(record->picture, fileName);
  });
  return ingredient || (recipePictures_ && recipePictures_->OtherRecordNames(fileName));
}

uint32_t IngredientList::AddItem(View* recipes) {
  if (readOnly) return 0;
  Ingredient copy(&foodOwner_);
  copy.catId = SelectorCategory();
  if (!RunEditor(copy, IngredientEditor::kEdit, recipes)) return 0;
  uint32_t id;
  {
    DataLockGuard lock;
    copy.foodId = id = ++lastId;
    records_.push_back(std::make_unique<Ingredient>(copy));
    const Ingredient& added = *records_.back();
    modified = true;
    if (MatchesFilter(added)) {
      AddFoodRow(added);
    } else {
      SelectFilterFor(added.catId, added.name);
      FillList();
    }
  }
  SaveIfModified(false);
  return id;
}

void IngredientList::EditItem(View* recipes) {
  const int row = listView.FocusedOfOne();
  Ingredient* record = RecordOfRow(row);
  if (readOnly || !record) return;
  Ingredient copy(*record);
  if (!RunEditor(copy, IngredientEditor::kEdit, recipes)) return;
  {
    DataLockGuard lock;
    record = FindById(copy.foodId);  // found again, never written through the pointer of before
    if (!record) return;
    *record = copy;
    const int shown = listView.FindItem(static_cast<LPARAM>(record->foodId));
    if (shown >= 0) ShowRow(shown);
    modified = true;
  }
  SaveIfModified(false);
}

void IngredientList::ShowNutrition() {
  const Ingredient* record = FocusedRecord();
  if (!record) return;
  Ingredient copy(*record);
  RunEditor(copy, IngredientEditor::kViewOnly, nullptr);
}

uint32_t IngredientList::FindIngredient(HWND ownerWindow, const WString& text) {
  // The dialog's selectors stand in for the view's own while the search list fills.
  const auto search = [this](HWND listBox, const WString& searched, uint32_t categoryId, uint32_t letter) {
    const uint32_t shownCategory = selectedCategory;
    const uint32_t shownLetter = selectedLetter;
    selectedCategory = categoryId;
    selectedLetter = letter;
    FillSearchList(listBox, searched, true, false);
    selectedCategory = shownCategory;
    selectedLetter = shownLetter;
  };
  // The search starts over the whole catalog, whatever the Ingredients tab happens to show.
  return FindIngredientDialog(owner, *categories, search).Run(ownerWindow, SearchTextFor(text), 0, 0);
}

WString IngredientList::SearchTextFor(const WString& text) const {
  const auto finds = [this](const WString& part) {
    return std::any_of(records_.begin(), records_.end(), [&part](const auto& record) {
      return !record->hidden && FindNoCase(record->name, part) != WString::npos;
    });
  };
  if (text.empty() || finds(text)) return text;
  std::vector<WString> words;
  WString word;
  for (const WChar c : text + TXT(" ")) {
    if (IsCharAlphaW(c)) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  // A recipe names its food last ("all-purpose flour"), often in the plural.
  for (auto candidate = words.rbegin(); candidate != words.rend(); ++candidate) {
    for (const size_t cut : {0, 1, 2}) {
      if (candidate->size() < cut + 3) continue;
      const WString stem = candidate->substr(0, candidate->size() - cut);
      if (finds(stem)) return stem;
    }
  }
  return text;
}

void IngredientList::CopyItem() {
  const Ingredient* source = FocusedRecord();
  if (readOnly || !source) return;
  WString name = source->name;
  if (!owner.InputBox(owner.String(IDS_INGREDIENT_COPY_CAPTION), owner.String(IDS_INGREDIENT_COPY_PROMPT),
                      name, owner.MainWindow()))
    return;
  {
    DataLockGuard lock;
    auto copy = std::make_unique<Ingredient>(*source);
    copy->foodId = ++lastId;
    copy->name = name;
    AddFoodRow(*copy);
    records_.push_back(std::move(copy));
    modified = true;
  }
  SaveIfModified(false);
}

void IngredientList::DeleteItem(View* recipes, View* diary) {
  if (readOnly || listView.SelectedCount() == 0) return;
  if (owner.ShowMessage(DeleteQuestion(IDS_INGREDIENT_DELETE_QUESTION), owner.ProductName(),
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  bool changed = false;
  {
    DataLockGuard lock;
    listView.SetRedraw(false);
    const std::vector<int> rows = listView.SelectedItems();
    // From the last row up, so that removing a row leaves the others' indices alone.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
      const auto id = static_cast<uint32_t>(listView.ItemData(*row));
      if ((recipes && recipes->IsFoodUsed(id)) || (diary && diary->IsFoodUsed(id))) {
        listView.Select(*row, false);
        continue;
      }
      listView.DeleteItem(*row);
      changed = true;
      // A recipe published as this ingredient, or a shopping list holding it, keeps it out of sight.
      Release(id, recipes && recipes->HasLinkedId(id));
    }
    listView.SetRedraw(true);
    if (changed) modified = true;
  }
  if (changed) SaveIfModified(false);
}

void IngredientList::MoveToCategory() {
  if (readOnly || listView.SelectedCount() == 0 || !categoryDialog) return;
  const WString* current = categories->NameById(SelectorCategory());
  WString name = current ? *current : WString();
  if (!categoryDialog->ChangeDialog(name)) return;
  bool changed = false;
  {
    DataLockGuard lock;
    const uint32_t target = categories->IdByName(name);
    const std::vector<int> rows = listView.SelectedItems();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
      Ingredient* record = RecordOfRow(*row);
      if (!record || record->catId == target) continue;
      record->catId = target;
      changed = true;
      if (selectedCategory != 0 && selectedCategory != target)
        listView.DeleteItem(*row);
      else
        ShowRow(*row);
    }
    if (changed) modified = true;
  }
  if (changed) SaveIfModified(false);
}

bool IngredientList::TakeNutrientData(const WString& csvPath) {
  // The data file is read as the catalog would be, merging by name; then the catalog is itself again.
  // It is only read: no backup of it goes beside it, into the program's folder.
  const WString catalog = catalogPath;
  const bool read = OpenCatalog(csvPath, false, 0, 100, nullptr);
  {
    DataLockGuard lock;
    catalogPath = workPath = catalog;
    imagesFolder = FolderOf(catalog) + TXT("Images\\");
    readOnly = FileExists(catalog) && FileHandle(catalog).IsReadOnly();
    modified = true;
  }
  if (!SaveIfModified(true)) ReportSaveFailure(LastSaveError());
  return read;
}

void IngredientList::RestoreBackup() {
  RestoreFromBackup(IDS_INGREDIENT_RESTORE_QUESTION, IDS_INGREDIENT_RESTORING);
  SaveReferrers();
}

void IngredientList::Export() {
  ExportChoices choices{ExportSuggestion(TXT(".xml")), SelectorCategory(), exportAllData, exportPictures,
                        preserveUnicode};
  if (!ExportDialog(owner, *categories).Run(choices)) return;
  filterCategoryId = choices.categoryId;
  exportAllData = choices.allData;
  exportPictures = choices.pictures;
  preserveUnicode = choices.preserveUnicode;
  StartExport(IDS_INGREDIENT_EXPORTING, choices.path);
}

void IngredientList::Import() {
  if (readOnly) return;
  const std::optional<WString> path =
      ChooseOpenFile(owner.MainWindow(), owner.String(IDS_INGREDIENT_IMPORT_FILE_TITLE),
                     ExchangeFilter(owner), TXT("csv"), FolderOf(catalogPath));
  if (!path) return;
  const int answer = owner.ShowMessage(owner.String(IDS_INGREDIENT_IMPORT_QUESTION), owner.ProductName(),
                                       MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return;
  WaitForBackgroundSaves();
  if (answer == IDYES) Clear();
  StartImport(IDS_INGREDIENT_IMPORTING, *path);
  SaveReferrers();
  TakeSelectorFilter();
  FillCategorySelector();
  BuildColumns();
  FillList();
  SaveIfModified(false);
}

// ---- menus, toolbar, selection ----

IngredientList::CommandStates IngredientList::States() const {
  const int selected = listView.SelectedCount();
  const bool writable = !readOnly;
  // Adding needs no category: the editor takes the name of a first one.
  return CommandStates{writable,
                       writable && selected == 1,
                       writable && selected >= 1,
                       writable && selected == 1,
                       writable && selected >= 1,
                       writable && selected == 1};
}

void IngredientList::UpdateMenu(HMENU menuHandle) {
  const CommandStates states = States();
  ApplyCommandStates(menuHandle, nullptr,
                     {{IDM_RESTORE, FileExists(BackupPath())},
                      {kAddIngredient, states.add},
                      {kCopyIngredient, states.copy},
                      {kDeleteIngredient, states.remove},
                      {kEditIngredient, states.edit},
                      {kMoveIngredient, states.move},
                      {kNutrition, states.nutrition}});
}

void IngredientList::UpdateToolbar() {
  EnableButtons(true);
}

void IngredientList::EnableButtons(bool show) {
  const CommandStates states = States();
  ApplyCommandStates(nullptr, &toolbar,
                     {{kAddIngredient, show && states.add},
                      {kDeleteIngredient, show && states.remove},
                      {kEditIngredient, show && states.edit}});
}

void IngredientList::Hide() {
  ShowControls(false);
  EnableButtons(false);
}

void IngredientList::InstallMenu() {
  ShowControls(true);
  View::InstallMenu();
}

void IngredientList::OnSelectionChanged(HMENU menuHandle) {
  ClearPicture();
  UpdateMenu(menuHandle);
  UpdateToolbar();
  const Ingredient* record = FocusedRecord();
  if (record && !record->picture.empty()) ShowPicture(record->picture);
}
