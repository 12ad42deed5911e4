#include "views/RecipeList/RecipeList.h"

#include "views/RecipeList/WebImport.h"

#include <algorithm>

#include "app/DataLockGuard.h"
#include "app/Options.h"
#include "food/CategoryList.h"
#include "food/RecordIds.h"
#include "food/TagNames.h"
#include "net/RecipeSharing.h"
#include "printing/PrintRecipes.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "storage/XMLDoc.h"
#include "toolkit/ScopedGdi.h"
#include "views/CommandStates.h"
#include "views/IngredientList/ExportDialog.h"
#include "storage/Csv.h"
#include "views/IngredientList/IngredientEditor.h"
#include "views/IngredientList/IngredientList.h"
#include "views/RecipeList/ComponentInfo.h"
#include "views/RecipeList/RecipeEditor.h"

namespace {

bool IsNumberColumn(uint8_t id) {
  return id < Nutrient::kCount || id == kColumnOunces || id == kColumnServes;
}

}  // namespace

RecipeList::RecipeList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar,
                       DAVavador::ERToolbar& toolbar, Options& options, IngredientList& ingredients)
    : FoodCatalogView(owner, statusBar, toolbar, options,
                      ViewTraits{1,
                                 static_cast<int>(kRecipeColumnCount),
                                 IDS_COLUMN_FIRST,
                                 IDS_RECIPE_LOADING,
                                 {kColumnName, kColumnServingSize, Nutrient::kCalories}}),
      ingredients_(ingredients) {
  ingredients_.AddFoodReferences(this);
  categories = std::make_unique<CategoryList>();
  const DAVavador::ScopedDC screen = DAVavador::ScopedDC::ForWindow(nullptr);
  foodOwner_.logPixelsX = GetDeviceCaps(screen.Get(), LOGPIXELSX);
}

RecipeList::~RecipeList() {
  ingredients_.RemoveFoodReferences(this);
}

void RecipeList::VisitFoodPointers(const PointerVisitor& visit) {
  for (const auto& record : records_) {
    for (RecipeLine& line : record->lines) modified = Moved(line.ingredient, visit) || modified;
  }
}

void RecipeList::VisitLinkedIds(const IdVisitor& visit) {
  for (const auto& record : records_) {
    if (record->ingredientId <= 0) continue;
    auto id = static_cast<uint32_t>(record->ingredientId);
    if (!Moved(id, visit)) continue;
    record->ingredientId = static_cast<int32_t>(id);
    modified = true;
  }
}

// ---- the catalog ----

Recipe* RecipeList::FindById(uint32_t foodId) const {
  return FindRecord(foodId);
}

const Recipe* RecipeList::FindRecipeNamed(WStringView name) const {
  for (const auto& record : records_) {
    if (record->name == name) return record.get();
  }
  return nullptr;
}

std::set<WString> RecipeList::CustomValues() const {
  std::set<WString> values;
  for (const auto& record : records_) {
    if (!record->custom.empty()) values.insert(record->custom);
  }
  return values;
}

bool RecipeList::HasLinkedId(uint32_t id) {
  return id != 0 && std::any_of(records_.begin(), records_.end(), [id](const auto& record) {
           return static_cast<uint32_t>(record->ingredientId) == id;
         });
}

bool RecipeList::IsFoodUsed(uint32_t foodId) {
  for (const auto& record : records_) {
    for (const RecipeLine& line : record->lines) {
      if (line.ingredient && line.ingredient->foodId == foodId) return true;
    }
  }
  return false;
}

bool RecipeList::IsCategoryUsed(uint32_t categoryId) {
  return std::any_of(records_.begin(), records_.end(),
                     [categoryId](const auto& record) { return record->catId == categoryId; });
}

bool RecipeList::OtherRecordNames(const WString& fileName) const {
  for (const auto& record : records_) {
    if (record.get() != editing_ && EqualsNoCase(record->picture, fileName)) return true;
  }
  for (const auto& record : ingredients_.Records()) {
    if (EqualsNoCase(record->picture, fileName)) return true;
  }
  return false;
}

Recipe& RecipeList::AddForeignRecipe(std::unique_ptr<Recipe> recipe) {
  Recipe* added;
  {
    DataLockGuard lock;
    // Its INGREDIENTID named an ingredient of the catalog it came from; the next confirmed edit
    // gives it a linked ingredient of its own here.
    recipe->ingredientId = 0;
    recipe->foodId = ++lastId;
    added = recipe.get();
    records_.push_back(std::move(recipe));
    if (MatchesFilter(*added)) AddFoodRow(*added);
    modified = true;
  }
  SaveIfModified(false);
  return *added;
}

void RecipeList::Clear() {
  DataLockGuard lock;
  View::Clear();
  records_.clear();
}

void RecipeList::EraseRecord(uint32_t foodId) {
  const auto gone = std::remove_if(records_.begin(), records_.end(),
                                   [foodId](const auto& record) { return record->foodId == foodId; });
  for (auto record = gone; record != records_.end(); ++record) listView.DeleteRecord(record->get());
  records_.erase(gone, records_.end());
}

WString RecipeList::CategoryName(uint32_t catId) const {
  const WString* name = categories->NameById(catId);
  return name ? *name : WString();
}

// ---- the catalog file ----

bool RecipeList::Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  PrepareLoad();
  bool finished = false;
  if (IsCsvPath(workPath)) {
    finished = ReadCsvFile(progressWindow, fromPercent, toPercent);
  } else {
    IngredientList::AddBatch foods(ingredients_);  // embedded ingredients, saved once at the end
    DataLockGuard lock;
    finished = ReadXmlFile(progressWindow, fromPercent, toPercent);
    NumberUnnumbered(records_, lastId);
  }
  FillCategorySelector();
  // Only the catalog file itself reports its end tag; imports and restores end with their worker.
  return finished && !IsExchange();
}

bool RecipeList::ReadXmlFile(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  XMLDoc doc;
  if (!FileExists(workPath) || !doc.Load(workPath) || !doc.FindRoot(TXT("RECIPELIST"))) return false;
  bool inRecords = false;
  while (const WChar* tag = doc.NextTag()) {
    ReportLoadProgress(progressWindow, fromPercent, toPercent, doc);
    if (IsTag(tag, TXT("RECIPELIST"))) {
      if (doc.IsEndTag()) return true;
    } else if (doc.IsEmptyTag() || doc.IsEndTag()) {
      if (IsTag(tag, TXT("RECIPES"))) inRecords = false;
    } else if (IsTag(tag, TXT("RECIPES"))) {
      inRecords = true;
    } else if (IsTag(tag, TXT("VIEW"))) {
      ReadViewSettings(doc);
    } else if (inRecords && IsTag(tag, TXT("RECIPE"))) {
      auto record = std::make_unique<Recipe>(&foodOwner_);
      if (record->ReadRecipeElement(doc, *categories, lastId, ingredients_)) TakeRecord(std::move(record));
    }
  }
  return false;
}

void RecipeList::TakeRecord(std::unique_ptr<Recipe> record) {
  if (IsExchange()) {
    record->foodId = 0;  // a new id, given after the whole file
    // An imported recipe's INGREDIENTID belongs to the catalog it came from and may name an
    // unrelated ingredient here; the backup's links are this catalog's own.
    if (!IsSameFile(workPath, BackupPath())) record->ingredientId = 0;
    record->picture = PlainFileName(record->picture);  // a foreign file names no other folder
    DAVavador::TakeForeignPicture(record->picture, FolderOf(workPath) + TXT("Images\\"), imagesFolder);
  }
  record->foodId = TakeFileId(record->foodId, lastId);  // 0 is numbered after the whole file
  records_.push_back(std::move(record));
}

bool RecipeList::ImportCsv(const WString& text, ProgressWindow* progressWindow, int fromPercent,
                           int toPercent) {
  const std::vector<WStringView> lines = CsvLines(text);
  if (lines.empty()) return false;
  CsvColumnMap map;
  bool matched = false;
  const CsvRow header = SplitCsvLine(lines[0]);
  for (uint32_t column = 0; column < kRecipeColumnCount; ++column) {
    const WString name = owner.String(IDS_COLUMN_FIRST + column);
    for (size_t cell = 0; cell < header.size(); ++cell) {
      if (!EqualsNoCase(header[cell], name)) continue;
      map.position[column] = static_cast<uint32_t>(cell);
      matched = true;
    }
  }
  if (!matched) return false;
  DataLockGuard lock;
  for (size_t n = 1; n < lines.size(); ++n) {
    ReportLoadProgress(progressWindow, fromPercent, toPercent, n, lines.size());
    auto record = std::make_unique<Recipe>(&foodOwner_);
    if (!record->ImportCsvRecipeRow(SplitCsvLine(lines[n]), *categories, UnitNames(), lastId, map,
                                    ingredients_))
      continue;
    record->picture = PlainFileName(record->picture);  // a foreign file names no other folder
    if (IsExchange())
      DAVavador::TakeForeignPicture(record->picture, FolderOf(workPath) + TXT("Images\\"), imagesFolder);
    records_.push_back(std::move(record));
  }
  return true;
}

bool RecipeList::WriteXmlFile(const std::vector<const Recipe*>& written) {
  const bool embed = IsExchange() && exportIngredients;
  XMLDoc doc;
  doc.StreamTo(workPath);  // a large catalog is never held whole
  doc.OpenElement(TXT("RECIPELIST"));
  WriteViewSettings(doc);
  doc.OpenElement(TXT("RECIPES"));
  for (size_t n = 0; n < written.size(); ++n) {
    ReportSaveProgress(n + 1, written.size() + 1);
    written[n]->WriteRecipeElement(doc, embed, *categories, ingredients_.Categories());
    ExportPicture(*written[n]);
  }
  doc.CloseElement();
  doc.CloseElement();
  return WriteWorkFile(doc);
}

bool RecipeList::WriteCsvFile(const std::vector<const Recipe*>& written) {
  const WString text =
      CsvExportText(written.size(), kRecipeColumnCount, IDS_COLUMN_FIRST, [&](size_t n, uint8_t id) {
        if (id == kColumnPicture) ExportPicture(*written[n]);
        WString cell;
        written[n]->ColumnText(cell, id, *categories, Format(), true, true);
        return cell;
      });
  if (preserveUnicode) return WriteWorkFile(text.data(), text.size() * sizeof(WChar));
  // Without Unicode every character is written as the low byte of its code.
  std::string bytes(text.size(), '\0');
  std::transform(text.begin(), text.end(), bytes.begin(),
                 [](WChar c) { return static_cast<char>(c & 0xFF); });
  return WriteWorkFile(bytes.data(), bytes.size());
}

void RecipeList::ExportPicture(const Recipe& record) const {
  if (!IsExchange() || !exportPictures || record.picture.empty()) return;
  DAVavador::CopyPicture(record.picture, imagesFolder, FolderOf(workPath) + TXT("Images\\"));
}

// ---- the list ----

void RecipeList::FillList() {
  const size_t count = std::count_if(records_.begin(), records_.end(),
                                     [this](const auto& record) { return MatchesFilter(*record); });
  FillRows(count, [this](FillProgress& fill) {
    for (const auto& record : records_) {
      if (!MatchesFilter(*record)) continue;
      AddFoodRow(*record);
      fill.RowAdded();
    }
  });
}

void RecipeList::BuildColumns() {
  BuildColumnsFrom(IDS_COLUMN_FIRST, &IsNumberColumn);
}

void RecipeList::CustomizeColumns() {
  CustomizeColumnsWith(static_cast<int>(kRecipeColumnCount), IDS_COLUMN_FIRST);
}

const Recipe* RecipeList::SelectedRecipe() {
  return FocusedRecord();
}

// ---- the item commands ----

bool RecipeList::RunEditor(Recipe& recipe) {
  RecipeEditor::Context context{
      owner,
      recipe,
      ingredients_,
      this,
      *categories,
      CustomValues(),
      imagesFolder,
      *this,
      [this](HWND dialog, const WString& text) { return ChooseIngredient(dialog, text); },
      [this](const WString& name) { return CategoryNamed(name); }};
  return RecipeEditor(context).Run(owner.MainWindow());
}

Ingredient* RecipeList::ChooseIngredient(HWND owner, const WString& text) {
  const uint32_t chosen = ingredients_.FindIngredient(owner, text);
  return chosen != 0 ? ingredients_.FindById(chosen) : nullptr;
}

void RecipeList::LinkIngredient(Recipe& recipe, uint32_t linkId) {
  const Ingredient& linked = ingredients_.UpsertLinkedIngredient(linkId, recipe, recipe.notOnIngredientList,
                                                                 CategoryName(recipe.catId));
  recipe.ingredientId = static_cast<int32_t>(linked.foodId);
  recipe.notOnIngredientList = linked.hidden;
}

// The link holds while the linked ingredient still carries the recipe's name: a catalog replaced
// by an import may have given its id to another food, which must not take the recipe's values.
uint32_t RecipeList::LinkOf(const Recipe& stored) const {
  const Ingredient* linked =
      stored.ingredientId > 0 ? ingredients_.FindById(static_cast<uint32_t>(stored.ingredientId)) : nullptr;
  return linked && EqualsNoCase(linked->name, stored.name) ? linked->foodId : 0;
}

uint32_t RecipeList::AddItem(View*) {
  if (readOnly || workerMode) return 0;
  auto recipe = std::make_unique<Recipe>(&foodOwner_);
  recipe->catId = SelectorCategory();
  if (!RunEditor(*recipe)) return 0;
  const uint32_t id = AppendNewRecipe(std::move(recipe)).foodId;
  SaveIfModified(false);
  return id;
}

Recipe& RecipeList::AppendNewRecipe(std::unique_ptr<Recipe> recipe) {
  DataLockGuard lock;
  recipe->foodId = ++lastId;
  LinkIngredient(*recipe, 0);
  Recipe& added = *recipe;
  records_.push_back(std::move(recipe));
  modified = true;
  if (MatchesFilter(added)) {
    AddFoodRow(added);
  } else {
    SelectFilterFor(added.catId, added.name);
    FillList();
  }
  return added;
}

void RecipeList::EditItem(View*) {
  if (readOnly || workerMode) return;
  Recipe* stored = FocusedRecord();
  if (!stored) return;
  Recipe copy(*stored);
  editing_ = stored;
  const bool confirmed = RunEditor(copy);
  editing_ = nullptr;
  if (!confirmed) return;
  {
    DataLockGuard lock;
    // Found again: nothing may have gone meanwhile, but the editor never writes through a pointer
    // it took before it opened.
    stored = FindById(copy.foodId);
    if (!stored) return;
    LinkIngredient(copy, LinkOf(*stored));
    *stored = copy;
    const int row = listView.FindItem(static_cast<LPARAM>(stored->foodId));
    if (row >= 0 && MatchesFilter(*stored))
      ShowRow(row);
    else if (row >= 0)
      listView.DeleteItem(row);
    modified = true;
  }
  SaveIfModified(false);
}

void RecipeList::CopyItem() {
  const Recipe* source = SelectedRecipe();
  if (readOnly || workerMode || !source) return;
  WString name = source->name;
  if (!owner.InputBox(owner.String(IDS_RECIPE_COPY_CAPTION), owner.String(IDS_RECIPE_COPY_PROMPT), name,
                      owner.MainWindow()))
    return;
  {
    DataLockGuard lock;
    auto copy = std::make_unique<Recipe>(*source);
    copy->foodId = ++lastId;
    copy->name = name;
    LinkIngredient(*copy, 0);  // on the ingredient list as the original's editor state says
    if (MatchesFilter(*copy)) AddFoodRow(*copy);
    records_.push_back(std::move(copy));
    modified = true;
  }
  SaveIfModified(false);
}

void RecipeList::DeleteItem(View*, View* diary) {
  if (readOnly || workerMode || listView.SelectedCount() == 0) return;
  if (owner.ShowMessage(DeleteQuestion(IDS_RECIPE_DELETE_QUESTION), owner.ProductName(),
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  bool changed = false;
  {
    DataLockGuard lock;
    listView.SetRedraw(false);
    const std::vector<int> rows = listView.SelectedItems();
    // From the last row up, so that removing a row leaves the others' indices alone.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
      const Recipe* record = RecordOfRow(*row);
      if (!record) continue;
      const auto linkId = static_cast<uint32_t>(record->ingredientId);
      if (linkId != 0 && diary && diary->IsFoodUsed(linkId)) {
        listView.Select(*row, false);
        continue;
      }
      listView.DeleteItem(*row);
      EraseRecord(record->foodId);
      DropLinkedIngredient(linkId);
      changed = true;
    }
    listView.SetRedraw(true);
    if (changed) modified = true;
  }
  if (changed) SaveIfModified(false);
}

// The hidden ingredient of a deleted recipe goes with it, unless another recipe uses it as an
// ingredient or a shopping list holds it: the catalog keeps what is referred to, out of sight.
void RecipeList::DropLinkedIngredient(uint32_t linkId) {
  const Ingredient* linked = linkId != 0 ? ingredients_.FindById(linkId) : nullptr;
  if (linked && linked->hidden) ingredients_.EraseIngredient(linkId);
}

void RecipeList::MoveToCategory() {
  if (readOnly || workerMode || listView.SelectedCount() == 0 || !categoryDialog) return;
  WString name = CategoryName(SelectorCategory());
  if (!categoryDialog->ChangeDialog(name)) return;
  bool changed = false;
  {
    DataLockGuard lock;
    const uint32_t target = categories->IdByName(name);
    const std::vector<int> rows = listView.SelectedItems();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
      Recipe* record = RecordOfRow(*row);
      if (!record || target == 0) continue;
      record->catId = target;
      changed = true;
      if (selectedCategory == 0) {
        ShowRow(*row);
        listView.Select(*row, false);
      } else if (selectedCategory != target) {
        listView.DeleteItem(*row);
      }
    }
    if (changed) modified = true;
  }
  if (changed) SaveIfModified(false);
}

void RecipeList::ShowNutrition() {
  const Recipe* record = SelectedRecipe();
  if (!record) return;
  Recipe copy(*record);
  const IngredientEditor::Context context{owner, *categories, copy, Format(), imagesFolder};
  IngredientEditor::Open(owner.MainWindow(), context, IngredientEditor::kViewOnly);
}

void RecipeList::ShowComponentInfo() {
  if (const Recipe* record = SelectedRecipe()) ShowRecipeComponents(owner, owner.MainWindow(), *record);
}

void RecipeList::Print(Options& printOptions) {
  // The recipes are copied out under the lock; the dialogs and the printing run without it, so
  // that saves are not held up meanwhile.
  std::vector<Recipe> copies;
  std::vector<size_t> selectedCopies;
  {
    DataLockGuard lock;
    copies.reserve(records_.size());
    for (const auto& record : records_) copies.push_back(*record);
    for (int row : listView.SelectedItems()) {
      const Recipe* record = RecordOfRow(row);
      for (size_t n = 0; record && n < records_.size(); ++n)
        if (records_[n].get() == record) selectedCopies.push_back(n);
    }
  }
  PrintSource source;
  for (size_t n : selectedCopies) source.selected.push_back(&copies[n]);
  for (const Recipe& copy : copies) source.all.push_back(&copy);
  source.categories = categories.get();
  source.shownCategory = selectedCategory;
  source.imagesFolder = imagesFolder;
  source.format = Format();
  const PrintSettings before = PrintSettingsFrom(printOptions);
  PrintSettings settings = before;
  if (PrintRecipes(owner, owner.MainWindow(), source, settings) && settings != before)
    StorePrintSettings(settings, printOptions);
}

// ---- sharing ----

// The upload reads the recipe and its ingredients while it waits for the server, so it holds the
// lock as printing does.
void RecipeList::Upload() {
  if (workerMode) return;
  DataLockGuard lock;
  const Recipe* recipe = SelectedRecipe();
  if (!recipe) return;
  UploadRecipe(owner, ProgramServer(owner, options.server), *recipe, *categories, ingredients_.Categories(),
               options.baseFolder);
}

bool RecipeList::Download(const CalendarDate& lastDownload) {
  if (readOnly || workerMode) return false;
  RecipeDownloadDialog dialog(owner, ProgramServer(owner, options.server), *categories, lastDownload);
  if (!dialog.Run()) return false;
  downloads_ = dialog.Chosen();
  if (!downloads_.empty()) StartImport(IDS_DOWNLOADING_RECIPES, options.baseFolder + kDownloadFile);
  downloads_.clear();
  FillList();
  SaveIfModified(false);
  return true;
}

// The worker of an import; for a download each chosen recipe is fetched and read as an import.
void RecipeList::Reload() {
  if (downloads_.empty()) return View::Reload();
  const WString fetched = options.baseFolder + kDownloadFile;
  FetchSharedRecipes(
      ProgramServer(owner, options.server), downloads_, fetched, &progress,
      [&](int fromPercent, int toPercent) { LoadFrom(fetched, &progress, fromPercent, toPercent); });
}

// ---- recipes from web pages and MealMaster files ----

namespace {

constexpr WChar kWebPageFile[] = TXT("RecipePage.download");

bool IsMealMasterPath(const WString& path) {
  const size_t dot = path.rfind(TXT('.'));
  const WString extension = dot == WString::npos ? WString() : path.substr(dot);
  return EqualsNoCase(extension, TXT(".mmf")) || EqualsNoCase(extension, TXT(".mm")) ||
         EqualsNoCase(extension, TXT(".txt"));
}

// A picture's file name from its address: the last part of its path, kept to a plain name with an
// image's extension, numbered when the images folder has one of that name already.
WString PictureFileName(const WString& address, const WString& folder, uint32_t recipeId) {
  const size_t end = address.find_first_of(TXT("?#"));
  WString name = PlainFileName(address.substr(0, end));
  const size_t dot = name.rfind(TXT('.'));
  const WString extension = dot == WString::npos ? WString() : name.substr(dot);
  bool image = false;
  for (const WChar* known : {TXT(".jpg"), TXT(".jpeg"), TXT(".png"), TXT(".gif"), TXT(".bmp")})
    image = image || EqualsNoCase(extension, known);
  if (name.empty() || !image) name = TXT("recipe.jpg");
  if (FileExists(folder + name)) name = FromAscii(std::to_string(recipeId)) + TXT("-") + name;
  return name;
}

}  // namespace

void RecipeList::ImportFromWebPage() {
  if (readOnly || workerMode) return;
  const std::optional<WString> address = AskForPage(owner, owner.MainWindow());
  if (!address) return;
  const std::optional<std::string> page =
      ReadPage(owner, progress, *address, options.baseFolder + kWebPageFile);
  if (!page) return;
  // A large page takes a while, and a hostile one may exhaust memory: it is read on a worker
  // behind the progress window, and a reading that fails is told, not fatal.
  ImportedRecipe read;
  if (!RunWorker(IDS_WEB_READING, [&] {
        read = ReadRecipePage(*page, ToUtf8(*address));
        return true;
      })) {
    owner.ShowMessage(owner.String(IDS_WEB_NOT_READ) + *address, MB_OK | MB_ICONWARNING);
    return;
  }
  if (read.error != RecipeImportError::kNone) {
    owner.ShowMessage(owner.String(IDS_WEB_NO_RECIPE) + *address, MB_OK | MB_ICONINFORMATION);
    return;
  }
  ReviewAndAdd(std::move(read));
}

void RecipeList::ImportMealMaster(const WString& path) {
  std::string bytes;
  MealMasterFile file;
  if (ReadFileBytes(path, bytes)) file = ReadMealMaster(bytes);
  if (file.recipes.empty()) {
    owner.ShowMessage(owner.String(IDS_WEB_NO_RECIPE) + path, MB_OK | MB_ICONINFORMATION);
    return;
  }
  // A file of many recipes may go in at once with the best matches, or be reviewed recipe by recipe.
  int answer = IDNO;
  if (file.recipes.size() > 1)
    answer = owner.ShowMessage(owner.String(IDS_MEALMASTER_ACCEPT_ALL), owner.ProductName(),
                               MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return;
  if (answer == IDNO) {
    for (ImportedRecipe& read : file.recipes) ReviewAndAdd(std::move(read));
    return;
  }
  // Without reviews the catalog stays as it is: one index serves every recipe.
  const IngredientMatcher matcher = CatalogMatcher(ingredients_.Records());
  for (ImportedRecipe& read : file.recipes) AddReviewed(Matched(std::move(read), matcher));
}

ReviewedRecipe RecipeList::Matched(ImportedRecipe read, const IngredientMatcher& matcher) {
  ReviewedRecipe reviewed{std::move(read)};
  reviewed.category =
      reviewed.read.category.empty() ? CategoryName(SelectorCategory()) : reviewed.read.category;
  reviewed.lines = MatchLines(reviewed.read.lines, matcher, ingredients_);
  return reviewed;
}

bool RecipeList::ReviewAndAdd(ImportedRecipe read) {
  // A review may add ingredients, so each recipe is matched against the catalog as it is then.
  ReviewedRecipe reviewed = Matched(std::move(read), CatalogMatcher(ingredients_.Records()));
  if (!ReviewRecipe(owner, owner.MainWindow(), ingredients_, *categories, this, reviewed)) return false;
  AddReviewed(reviewed);
  return true;
}

void RecipeList::AddReviewed(const ReviewedRecipe& reviewed) {
  const ImportedRecipe& read = reviewed.read;
  auto recipe = std::make_unique<Recipe>(&foodOwner_);
  recipe->name = read.name;
  recipe->serves = read.serves;
  recipe->prepHours = read.prepHours;
  recipe->prepMinutes = read.prepMinutes;
  recipe->cookHours = read.cookHours;
  recipe->cookMinutes = read.cookMinutes;
  recipe->instructions = read.instructions;
  recipe->ComputeNutrition(KeptRecipeLines(reviewed.lines), read.serves);
  {
    DataLockGuard lock;
    const WString name = reviewed.category.empty() ? CategoryName(SelectorCategory()) : reviewed.category;
    recipe->catId = categories->IdByName(name);
    if (recipe->catId == 0 && !name.empty()) recipe->catId = categories->AddNew(name, lastId);
  }
  FillCategorySelector(selectedCategory);
  Recipe& added = AppendNewRecipe(std::move(recipe));
  if (!read.pictureUrl.empty() && CreateFolders(imagesFolder, false)) {
    const WString file = PictureFileName(read.pictureUrl, imagesFolder, added.foodId);
    if (FetchPicture(read.pictureUrl, imagesFolder + file)) {
      DataLockGuard lock;
      added.picture = file;
    }
  }
  SaveIfModified(false);
  listView.ClearSelection();
  const int row = listView.FindItem(static_cast<LPARAM>(added.foodId));
  if (row >= 0) {
    listView.Select(row);
    listView.EnsureVisible(row);
  }
}

// ---- exchange files ----

void RecipeList::Export() {
  if (workerMode) return;
  ExportChoices choices{ExportSuggestion(TXT(".csv")), SelectorCategory(), exportAllData, exportPictures,
                        preserveUnicode};
  choices.offerIngredients = true;
  choices.ingredients = exportIngredients;
  choices.captionId = IDS_RECIPE_EXPORT_CAPTION;
  choices.browseTitleId = IDS_RECIPE_EXPORT_TITLE;
  if (!ExportDialog(owner, *categories).Run(choices)) return;
  filterCategoryId = choices.categoryId;
  exportAllData = choices.allData;
  exportIngredients = choices.ingredients;
  exportPictures = choices.pictures;
  preserveUnicode = choices.preserveUnicode;
  StartExport(IDS_RECIPE_EXPORTING, choices.path);
}

void RecipeList::Import() {
  if (readOnly || workerMode) return;
  const std::optional<WString> path = ChooseOpenFile(
      owner.MainWindow(), owner.String(IDS_RECIPE_IMPORT_FILE_TITLE),
      ExchangeFilter(owner) + TXT("|") + owner.String(IDS_MEALMASTER_FILES) + TXT("|*.mmf;*.mm;*.txt"),
      TXT("csv"), FolderOf(catalogPath));
  if (!path) return;
  if (IsMealMasterPath(*path)) return ImportMealMaster(*path);
  const int answer = owner.ShowMessage(owner.String(IDS_RECIPE_IMPORT_QUESTION), owner.ProductName(),
                                       MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return;
  WaitForBackgroundSaves();
  if (answer == IDYES) Clear();
  StartImport(IDS_RECIPE_IMPORTING, *path);
  TakeSelectorFilter();
  FillCategorySelector();
  BuildColumns();
  FillList();
  SaveIfModified(false);
}

void RecipeList::RestoreBackup() {
  RestoreFromBackup(IDS_RECIPE_RESTORE_QUESTION, IDS_RECIPE_RESTORE_TITLE);
}

// ---- menus, toolbar, selection ----

RecipeList::CommandStates RecipeList::States() const {
  const int selected = listView.SelectedCount();
  const bool free = !workerMode;
  // Adding needs no category: the editor takes the name of a first one.
  return CommandStates{free && !readOnly, free && selected == 1, free && selected >= 1};
}

void RecipeList::UpdateMenu(HMENU menuHandle) {
  const CommandStates states = States();
  const bool change = !readOnly;
  ApplyCommandStates(menuHandle, nullptr,
                     {{IDM_RESTORE, FileExists(BackupPath())},
                      {kAddRecipe, states.add},
                      {kCopyRecipe, change && states.one},
                      {kDeleteRecipe, change && states.many},
                      {kEditRecipe, change && states.one},
                      {kMoveRecipe, change && states.many},
                      {kDownload, change && !workerMode},
                      {kImportFromWebPage, change && !workerMode},
                      {kUpload, states.one},
                      {kNutrition, states.one},
                      {kComponentInfo, states.one}});
}

void RecipeList::UpdateToolbar() {
  EnableButtons(true);
}

void RecipeList::EnableButtons(bool show) {
  const CommandStates states = States();
  ApplyCommandStates(nullptr, &toolbar,
                     {{kAddRecipe, show && states.add},
                      {kDeleteRecipe, show && !readOnly && states.many},
                      {kEditRecipe, show && !readOnly && states.one}});
}

bool RecipeList::Create(HWND parent, int menuId, int popupMenuId) {
  const bool created = View::Create(parent, menuId, popupMenuId);
  Hide();
  return created;
}

void RecipeList::Hide() {
  ShowControls(false);
  EnableButtons(false);
}

void RecipeList::InstallMenu() {
  ShowControls(true);
  if (SelectStoredFilter()) FillList();
  View::InstallMenu();
  UpdateToolbar();
}

void RecipeList::OnSelectionChanged(HMENU menuHandle) {
  ClearPicture();
  const Recipe* record = SelectedRecipe();
  if (record && !record->picture.empty()) ShowPicture(record->picture);
  UpdateMenu(menuHandle);
  UpdateToolbar();
}
