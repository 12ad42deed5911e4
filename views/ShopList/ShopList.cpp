#include "views/ShopList/ShopList.h"

#include <algorithm>

#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "food/RecordIds.h"
#include "food/TagNames.h"
#include "food/Units.h"
#include "printing/ShoppingListLayout.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "storage/XMLDoc.h"
#include "toolkit/ScopedGdi.h"
#include "views/CommandStates.h"
#include "views/IngredientList/IngredientList.h"
#include "views/ShopList/ShopListDialog.h"

namespace {

constexpr uint8_t kItemsColumn = 0;

// The category and diary buttons, which mean nothing on this tab.
void DisableForeignButtons(DAVavador::ERToolbar& toolbar) {
  ApplyCommandStates(nullptr, &toolbar,
                     {{IDM_ADD_CATEGORY, false},
                      {IDM_DELETE_CATEGORY, false},
                      {IDM_EDIT_CATEGORY, false},
                      {IDM_ADD_DIARY, false},
                      {IDM_DELETE_DIARY, false},
                      {IDM_EDIT_DIARY, false}});
}

// The raw text of a leaf; an empty element (how zero values are written) gives "".
WString XmlFilter(const DAVavador::ERApp& app) {
  return app.String(IDS_SHOPLIST_XML_FILES) + TXT("|*.xml");
}

}  // namespace

ShopList::ShopList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
                   Options& options, IngredientList& ingredients)
    : View(owner, statusBar, toolbar, options,
           ViewTraits{
               3, 1, IDS_SHOPLIST_COLUMN_FIRST, IDS_SHOPLIST_LOADING, {kItemsColumn}, false}),  // item order
      ingredients_(ingredients) {
  ingredients_.AddFoodReferences(this);
  categories = std::make_unique<ShoppingListNames>();
  const auto line = [](const void* shown) { return WStringView(*static_cast<const WString*>(shown)); };
  UseRowSource([line](const void* shown, uint8_t) { return WString(line(shown)); }, line);
}

ShopList::~ShopList() {
  ingredients_.RemoveFoodReferences(this);
}

void ShopList::VisitFoodPointers(const PointerVisitor& visit) {
  for (const auto& list : lists_) {
    for (MealItem& item : list->items) modified = Moved(item.food, visit) || modified;
  }
}

// ---- the lists ----

std::unique_ptr<Meal> ShopList::NewList(const WString& name) {
  auto list = std::make_unique<Meal>();
  list->name = name;
  return list;
}

Meal& ShopList::AppendNewList(std::unique_ptr<Meal> list) {
  SetShoppingListId(*list, ++lastId);
  lists_.push_back(std::move(list));
  Meal& added = *lists_.back();
  RebuildSelector(ShoppingListId(added));
  return added;
}

Meal* ShopList::FindList(uint32_t id) {
  for (const auto& list : lists_) {
    if (ShoppingListId(*list) == id) return list.get();
  }
  return nullptr;
}

Meal* ShopList::SelectedList() {
  return FindList(selectedCategory);
}

void ShopList::RebuildSelector(uint32_t selectId) {
  {
    DataLockGuard lock;
    categories->Clear();
    for (const auto& list : lists_) categories->Add(list->name, ShoppingListId(*list));
    if (!FindList(selectId)) selectId = lists_.empty() ? 0 : ShoppingListId(*lists_.front());
    selectedCategory = selectId;
  }
  FillCategorySelector(selectId);
}

void ShopList::Select(uint32_t listId) {
  RebuildSelector(listId);
  FillList();
}

std::vector<WString> ShopList::LinesOf(const Meal& list) const {
  std::vector<WString> lines;
  for (const MealItem& item : list.items) lines.push_back(ShoppingLineText(item, UnitNames()));
  return lines;
}

bool ShopList::IsFoodUsed(uint32_t foodId) {
  return std::any_of(lists_.begin(), lists_.end(), [foodId](const auto& list) {
    return std::any_of(list->items.begin(), list->items.end(),
                       [foodId](const MealItem& item) { return item.food->foodId == foodId; });
  });
}

void ShopList::Clear() {
  DataLockGuard lock;
  View::Clear();
  lists_.clear();
}

// ---- the catalog file ----

bool ShopList::Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  PrepareLoad();
  bool finished = false;
  {
    DataLockGuard lock;
    if (!IsExchange()) {
      lists_.clear();
      categories->Clear();
    }
    XMLDoc doc;
    if (FileExists(workPath) && doc.Load(workPath) && doc.FindRoot(TXT("SHOPLISTLIST")))
      finished = ReadLists(doc, progressWindow, fromPercent, toPercent);
    for (const auto& list : lists_)
      if (ShoppingListId(*list) == 0) SetShoppingListId(*list, ++lastId);
    if (lists_.empty()) {
      auto list = NewList(owner.String(IDS_SHOPLIST_DEFAULT_NAME));
      SetShoppingListId(*list, ++lastId);
      lists_.push_back(std::move(list));
    }
  }
  RebuildSelector(selectedCategory);
  return finished;
}

bool ShopList::ReadLists(XMLDoc& doc, ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  bool inside = false;
  bool inLists = false;
  while (const WChar* tag = doc.NextTag()) {
    ReportLoadProgress(progressWindow, fromPercent, toPercent, doc);
    const bool end = doc.IsEndTag();
    if (IsTag(tag, TXT("SHOPLISTLIST"))) {
      if (end) {
        if (!IsExchange()) modified = false;
        return true;
      }
      inside = true;
    } else if (!inside) {
      continue;
    } else if (IsTag(tag, TXT("VIEW"))) {
      // The file's view settings apply, imported or restored; the list selector is rebuilt from the
      // lists read, so the file's own entries go.
      if (end || doc.IsEmptyTag()) continue;
      ReadViewSettings(doc);
      categories->Clear();
    } else if (IsTag(tag, TXT("LISTS"))) {
      inLists = !end && !doc.IsEmptyTag();
    } else if (!inLists) {
      continue;
    } else if (IsTag(tag, TXT("SHOPLIST")) && !end) {
      auto list = std::make_unique<Meal>();
      if (ReadShoppingListElement(doc, *list, ingredients_)) TakeList(std::move(list));
    }
  }
  return false;
}

void ShopList::TakeList(std::unique_ptr<Meal> list) {
  const uint32_t id = UsableId(ShoppingListId(*list));
  if (IsExchange()) {
    lists_.erase(std::remove_if(lists_.begin(), lists_.end(),
                                [&](const auto& old) {
                                  return (id != 0 && ShoppingListId(*old) == id) || old->name == list->name;
                                }),
                 lists_.end());
  }
  // A list without a usable id of its own (0) is numbered once the whole file is read.
  SetShoppingListId(*list, FindList(id) ? 0 : TakeFileId(id, lastId));
  lists_.push_back(std::move(list));
}

bool ShopList::Save() {
  DataLockGuard lock;
  const bool exchange = IsExchange();
  std::vector<const Meal*> written;
  for (const auto& list : lists_) {
    if (!exchange || ShoppingListId(*list) == exportListId_) written.push_back(list.get());
  }
  XMLDoc doc;
  doc.OpenElement(TXT("SHOPLISTLIST"));
  WriteViewSettings(doc);
  doc.OpenElement(TXT("LISTS"));
  for (size_t n = 0; n < written.size(); ++n) {
    ReportSaveProgress(n + 1, written.size());
    WriteShoppingListElement(doc, *written[n]);
  }
  doc.CloseElement();
  doc.CloseElement();
  const bool saved = WriteWorkFile(doc);
  if (saved && !exchange) modified = false;
  return saved;
}

// ---- the list ----

bool ShopList::Create(HWND parent, int menuId, int popupMenuId) {
  const bool created = View::Create(parent, menuId, popupMenuId);
  categoryLabel.SetText(owner.String(IDS_SHOPLIST_LABEL));
  {
    DataLockGuard lock;
    AppendNewList(NewList(owner.String(IDS_SHOPLIST_DEFAULT_NAME)));
    modified = true;
  }
  Hide();
  return created;
}

void ShopList::FillList() {
  const Meal* list = SelectedList();
  // The fill rule counts lists: the one chosen, or all of them when none is.
  const size_t count = list ? 1 : lists_.size();
  FillRows(count, [this, list](FillProgress& fill) {
    shownLines_ = list ? LinesOf(*list) : std::vector<WString>();
    for (const WString& line : shownLines_) AddRow(0, &line);
    if (list) fill.RowAdded();
  });
}

void ShopList::BuildColumns() {
  columns = {0};  // the one column, whatever a file named
  BuildColumnsFrom(IDS_SHOPLIST_COLUMN_FIRST, nullptr);
}

void ShopList::CustomizeColumns() {
  CustomizeColumnsWith(1, IDS_SHOPLIST_COLUMN_FIRST);
}

void ShopList::UpdateCategoryMenu(HMENU) {
  const uint32_t shown = SelectorCategory();
  if (shown != selectedCategory) {
    selectedCategory = shown;
    modified = true;
    FillList();
  }
  DisableForeignButtons(toolbar);
}

// ---- the item commands ----

bool ShopList::RunListDialog(Meal& list, View* recipes) {
  const auto* lookup = dynamic_cast<const RecipeLookup*>(recipes);
  return ShopListDialog(owner, list, ingredients_, lookup).Run(owner.MainWindow());
}

uint32_t ShopList::AddItem(View* recipes) {
  if (readOnly) return 0;
  auto list = NewList(WString());
  if (!RunListDialog(*list, recipes)) return 0;
  uint32_t id;
  {
    DataLockGuard lock;
    id = ShoppingListId(AppendNewList(std::move(list)));
    modified = true;
  }
  FillList();
  SaveIfModified(false);
  return id;
}

void ShopList::EditItem(View* recipes) {
  Meal* list = SelectedList();
  if (readOnly || !list) return;
  Meal copy(*list);
  if (!RunListDialog(copy, recipes)) return;
  {
    DataLockGuard lock;
    list = FindList(ShoppingListId(copy));  // found again, never written through the pointer of before
    if (!list) return;
    *list = copy;
    modified = true;
  }
  Select(ShoppingListId(*list));
  SaveIfModified(false);
}

void ShopList::CopyItem() {
  const Meal* list = SelectedList();
  if (readOnly || !list) return;
  WString name;
  if (!owner.InputBox(owner.String(IDS_SHOPLIST_COPY_CAPTION), owner.String(IDS_SHOPLIST_COPY_PROMPT), name,
                      owner.MainWindow()) ||
      name.empty())
    return;
  {
    DataLockGuard lock;
    auto copy = std::make_unique<Meal>(*list);
    copy->name = name;
    AppendNewList(std::move(copy));
    modified = true;
  }
  FillList();
  SaveIfModified(false);
}

void ShopList::DeleteItem(View*, View*) {
  Meal* list = SelectedList();
  if (readOnly || !list) return;
  if (owner.ShowMessage(owner.String(IDS_SHOPLIST_DELETE_QUESTION) + list->name, owner.ProductName(),
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  {
    DataLockGuard lock;
    lists_.erase(
        std::remove_if(lists_.begin(), lists_.end(), [list](const auto& each) { return each.get() == list; }),
        lists_.end());
    // There is always a list to put things on.
    if (lists_.empty())
      AppendNewList(NewList(owner.String(IDS_SHOPLIST_DEFAULT_NAME)));
    else
      RebuildSelector(0);
    modified = true;
  }
  FillList();
  SaveIfModified(false);
}

// ---- exchange, backup, printing ----

void ShopList::Export() {
  const Meal* list = SelectedList();
  if (!list) return;
  FileRequest request;
  request.owner = owner.MainWindow();
  request.title = owner.String(IDS_SHOPLIST_EXPORT_TITLE);
  request.filter = XmlFilter(owner);
  request.defaultExtension = TXT("xml");
  request.initialPath = FolderOf(catalogPath);
  const std::optional<WString> path = UserPrompts::Current().SaveFile(request);
  if (!path) return;
  if (FileExists(*path) && owner.ShowMessage(owner.String(IDS_SHOPLIST_OVERWRITE_QUESTION),
                                             owner.ProductName(), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  exportListId_ = ShoppingListId(*list);
  StartExport(IDS_SHOPLIST_EXPORTING, *path);
}

void ShopList::Import() {
  if (readOnly) return;
  const std::optional<WString> path =
      ChooseOpenFile(owner.MainWindow(), owner.String(IDS_SHOPLIST_IMPORT_TITLE), XmlFilter(owner),
                     TXT("xml"), FolderOf(catalogPath));
  if (!path) return;
  StartImport(IDS_SHOPLIST_IMPORTING, *path);
  RebuildSelector(selectedCategory);
  BuildColumns();
  FillList();
  SaveIfModified(false);
}

void ShopList::RestoreBackup() {
  RestoreFromBackup(IDS_SHOPLIST_RESTORE_QUESTION, IDS_SHOPLIST_RESTORING);
}

void ShopList::Print(Options&) {
  const DAVavador::ScopedDC printer = DAVavador::ScopedDC::Adopt(ChooseListPrinter(owner.MainWindow()));
  if (!printer) return;
  const Meal* list = SelectedList();
  const std::vector<WString> lines = list ? LinesOf(*list) : std::vector<WString>();
  if (lines.empty()) {
    owner.ShowMessage(owner.String(IDS_SHOPLIST_NOTHING_TO_PRINT), owner.ProductName(),
                      MB_OK | MB_ICONINFORMATION);
  } else {
    PrintShoppingListDocument(printer.Get(), PrintDevice::Of(printer.Get()), owner.ProductName(), list->name,
                              lines);
  }
}

// ---- menus and controls ----

void ShopList::UpdateMenu(HMENU menuHandle) {
  ApplyCommandStates(menuHandle, nullptr,
                     {{kRestore, FileExists(BackupPath())},
                      {kAddList, !readOnly},
                      {kCopyList, !readOnly},
                      {kEditList, !readOnly},
                      {kDeleteList, !readOnly}});
}

void ShopList::OnSelectionChanged(HMENU menuHandle) {
  UpdateMenu(menuHandle);
}

void ShopList::Hide() {
  ShowControls(false);
}

void ShopList::InstallMenu() {
  // The letter selector has nothing to choose among lists.
  ShowControls(true);
  letterCombo.Show(false);
  letterLabel.Show(false);
  DisableForeignButtons(toolbar);
  View::InstallMenu();
}
