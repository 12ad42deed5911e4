#include "views/View.h"

#include <commctrl.h>

#include <algorithm>

#include "app/DataLockGuard.h"
#include "app/Options.h"
#include "food/CategoryList.h"
#include "food/Food.h"
#include "resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/XMLDoc.h"
#include "views/ColumnChooser.h"
#include "views/CommandStates.h"
#include "storage/Csv.h"
#include "views/PictureDialog.h"
#include "toolkit/Dpi.h"

using DAVavador::ERComboBox;

namespace {

// Places of the controls in the tab control's client area.
constexpr int kSelectorTop = 32;
constexpr int kLabelTop = 35;
constexpr int kListTop = 30;  // the list starts this far below the top of the view's rectangle
constexpr int kFindLeft = 452;
constexpr int kFindLabelWidth = 36;
constexpr int kFindWidth = 160;

// The selector row above the list, in pixels at 96 DPI.
struct Placement {
  int x, y, width, height;
};
constexpr Placement kCategoryComboAt{77, kSelectorTop, 200, DAVavador::ERComboBox::kDropHeight};
constexpr Placement kLetterComboAt{376, kSelectorTop, 60, DAVavador::ERComboBox::kDropHeight};
constexpr Placement kCategoryLabelAt{10, kLabelTop, 62, 20};
constexpr Placement kLetterLabelAt{290, kLabelTop, 80, 20};
constexpr Placement kFindLabelAt{kFindLeft, kLabelTop, kFindLabelWidth, 20};
constexpr Placement kFindEditAt{kFindLeft + kFindLabelWidth, kSelectorTop - 1, kFindWidth, 23};

void Place(DAVavador::ERWindow& control, const Placement& at, UINT dpi) {
  using DAVavador::Scaled;
  control.Move(Scaled(at.x, dpi), Scaled(at.y, dpi), Scaled(at.width, dpi), Scaled(at.height, dpi));
}

bool IsTag(const WChar* tag, const WChar* name) {
  return EqualsNoCase(tag, name);
}

}  // namespace

// The argument of a worker thread: the view and the work it does behind the progress window.
struct View::Worker {
  View* view;
  const std::function<bool()>* work;

  static DWORD WINAPI Run(void* arg) {
    const auto* worker = static_cast<Worker*>(arg);
    bool succeeded = false;
    try {
      succeeded = (*worker->work)();
    } catch (...) {
    }
    worker->view->progress.Finish(!succeeded);
    return 0;
  }
};

void View::FillProgress::RowAdded() {
  ++added_;
  // Each report is a round trip to the interface thread: only a new percentage is sent, and no
  // more often than the eye follows.
  const int percent = static_cast<int>(added_ * 100 / count_);
  if (!window_ || percent == shown_) return;
  const DWORD now = GetTickCount();
  if (now - shownAt_ < kReportInterval && percent < 100) return;
  shown_ = percent;
  shownAt_ = now;
  window_->SetProgress(percent);
}

View::View(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
           Options& options, const ViewTraits& traits)
    : owner(owner),
      categoryCombo(false),
      letterCombo(false),
      progress(owner),
      statusBar(statusBar),
      toolbar(toolbar),
      columns(traits.defaultColumns),
      columnWidths(static_cast<size_t>(traits.columnIdCount), -1),
      options(options),
      viewIndex(traits.index),
      traits_(traits),
      letters_(owner.String(IDS_VIEW_LETTERS)) {}

View::~View() {
  // The menu on show went with the main window; the others are still ours.
  const HWND main = parentWindow ? GetParent(parentWindow) : nullptr;
  if (menu && IsMenu(menu) && !(main && GetMenu(main) == menu)) DestroyMenu(menu);
}

// ---- the virtual operations with a base behaviour ----

void View::FillSearchList(HWND, const WString&, bool, bool) {}

bool View::Create(HWND parent, int menuId, int popupMenuId) {
  parentWindow = parent;
  menu = owner.LoadMenuResource(menuId);
  const HMENU popup = owner.LoadMenuResource(popupMenuId);
  if (!categories) return false;
  if (!categoryDialog) categoryDialog = std::make_unique<CategoryDialog>(owner, *categories);

  // Placed by Layout, at the window's DPI.
  bool created = categoryCombo.CreateAt(parent, IDC_VIEW_CATEGORY, 0, 0, 0, 0);
  created &= letterCombo.CreateAt(parent, IDC_VIEW_LETTER, 0, 0, 0, 0);
  created &= listView.Create(parent, IDC_VIEW_LIST);
  if (popup) listView.SetPopupMenu(popup, &View::PreparePopup, this);
  created &= categoryLabel.CreateAt(parent, -1, 0, 0, 0, 0);
  created &= letterLabel.CreateAt(parent, -1, 0, 0, 0, 0);
  created &= findLabel.CreateAt(parent, -1, 0, 0, 0, 0);
  created &= findEdit.CreateAt(parent, IDC_VIEW_FIND, 0, 0, 0, 0);
  categoryLabel.SetText(owner.String(IDS_VIEW_CATEGORY_LABEL));
  letterLabel.SetText(owner.String(IDS_VIEW_LETTER_LABEL));
  findLabel.SetText(owner.String(IDS_VIEW_FIND_LABEL));
  findEdit.SetNextWindow(listView.Window());

  for (size_t i = 0; i < letters_.size(); ++i)
    letterCombo.AddString(WString(1, letters_[i]), static_cast<LPARAM>(i + 1));
  letterCombo.InsertString(0, owner.String(IDS_VIEW_ALL), 0);
  FillCategorySelector();
  SelectStoredFilter();
  return created && menu && popup;
}

bool View::HasLinkedId(uint32_t) {
  return false;
}
bool View::IsFoodUsed(uint32_t) {
  return false;
}
bool View::IsCategoryUsed(uint32_t) {
  return false;
}
bool View::Download(const CalendarDate&) {
  return false;
}

void View::AddCategory() {
  WString name;
  if (readOnly || !categoryDialog || !categoryDialog->AddDialog(name)) return;
  {
    DataLockGuard lock;
    const uint32_t id = categoryDialog->CommitAdd(name, lastId);
    modified = true;
    if (id) FillCategorySelector(id);
  }
  UpdateToolbar();  // the category buttons follow the new selection
  SaveIfModified(false);
}

void View::DeleteCategory() {
  const uint32_t id = SelectorCategory();
  if (readOnly || id == 0) return;
  const WString name = SelectedCategoryName();
  if (IsCategoryUsed(id)) {
    owner.ShowMessage(owner.String(IDS_VIEW_CATEGORY_IN_USE) + name,
                      owner.String(IDS_VIEW_DELETE_CATEGORY_CAPTION), MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (owner.ShowMessage(owner.String(IDS_VIEW_DELETE_CATEGORY_QUESTION) + name,
                        owner.String(IDS_VIEW_DELETE_CATEGORY_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  {
    DataLockGuard lock;
    categories->Remove(id);
    modified = true;
    FillCategorySelector(0);
  }
  UpdateToolbar();  // the category buttons follow the new selection
  SaveIfModified(false);
}

void View::EditCategory() {
  const uint32_t id = SelectorCategory();
  if (readOnly || id == 0 || !categoryDialog) return;
  WString name = SelectedCategoryName();
  if (!categoryDialog->EditDialog(name)) return;
  bool renamed;
  {
    DataLockGuard lock;
    renamed = categories->Rename(id, name);
    if (renamed) {
      modified = true;
      FillCategorySelector(id);
      listView.TextsChanged();  // the category column shows the new name
    }
  }
  if (!renamed) {
    owner.ShowMessage(owner.String(IDS_VIEW_CATEGORY_EXISTS) + name, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  SaveIfModified(false);
}

void View::UpdateCategoryMenu(HMENU menuHandle) {
  const uint32_t shown = SelectorCategory();
  if (shown != selectedCategory) {
    selectedCategory = shown;
    modified = true;
    FillList();
  }
  const bool canChange = !readOnly && selectedCategory != 0;
  ApplyCommandStates(
      menuHandle, &toolbar,
      {{IDM_ADD_CATEGORY, !readOnly}, {IDM_EDIT_CATEGORY, canChange}, {IDM_DELETE_CATEGORY, canChange}});
  // The diary's own buttons are the diary's to enable.
  ApplyCommandStates(nullptr, &toolbar,
                     {{IDM_ADD_DIARY, false}, {IDM_DELETE_DIARY, false}, {IDM_EDIT_DIARY, false}});
}

void View::UpdateToolbar() {}

void View::UseRowSource(CellSource cells, NameSource names) {
  names_ = names;
  listView.SetSources(
      [this, cells = std::move(cells)](const void* record, int column) {
        return static_cast<size_t>(column) < columns.size() ? cells(record, columns[column]) : WString();
      },
      std::move(names));
}

WString View::DeleteQuestion(UINT questionId) const {
  const int count = listView.SelectedCount();
  const int first = listView.NextSelected();
  const void* record = first >= 0 ? listView.ItemRecord(first) : nullptr;
  const WString what = count == 1 && record && names_
                           ? WString(names_(record))
                           : std::to_wstring(count) + owner.String(IDS_VIEW_SELECTED);
  return owner.String(questionId) + TXT("\r\n\r\n") + what;
}

void View::Clear() {
  DataLockGuard lock;
  listView.DeleteAllItems();
  if (categories) categories->Clear();
  FillCategorySelector(0);
  ClearPicture();
  sortColumn = 0;
  filterCategoryId = 0;
  workerMode = false;
  sortReverse = false;
  exportAllData = true;
  exportPictures = false;
}

void View::ShowNutrition() {}
void View::Print(Options&) {}
void View::Upload() {}
void View::MoveToCategory() {}

void View::InstallMenu() {
  const HWND main = GetParent(parentWindow);
  SetMenu(main, menu);
  DrawMenuBar(main);
  OnSelectionChanged(menu);
}

void View::ShowComponentInfo() {}

void View::Reload() {
  LoadFrom(importPath_, &progress, 0, 100);
}

// ---- catalog file, background work ----

bool View::OpenCatalog(const WString& catalogFile, bool makeBackup, int fromPercent, int toPercent,
                       ProgressWindow* loader) {
  workerMode = false;
  catalogPath = workPath = catalogFile;
  imagesFolder = FolderOf(catalogFile) + TXT("Images\\");
  held_ = false;
  loadProblem_.clear();
  bool loaded = false;
  try {
    loaded = Load(loader, fromPercent, toPercent);
  } catch (...) {
    // A file the reader could not take whole (memory ran out, say): what was read stays on show,
    // but the catalog is not written over the file it came from.
    readOnly = true;
  }
  // A catalog file that is there but could not be read (damaged, or held by another program) is
  // not written over, nor copied over its backup: what it holds is still the user's.
  if (!loaded && FileExists(catalogFile)) {
    readOnly = true;
    loadProblem_ = ReadProblem(catalogFile);
  }
  uint32_t ignored;  // a backup that cannot be taken keeps the previous one
  if (loaded && makeBackup) ReplaceFileWithCopy(catalogPath, BackupPath(), ignored);
  SelectStoredFilter();
  return loaded;
}

WString View::ReadProblem(const WString& path) const {
  FileHandle file(path);
  if (!file.OpenRead()) return DAVavador::SystemMessage(file.lastError);
  return owner.String(IDS_VIEW_DAMAGED);
}

void View::Reopen() {
  WaitForBackgroundSaves();
  Clear();
  OpenCatalog(catalogPath, false, 0, 100, nullptr);
  BuildColumns();
  FillList();
  UpdateStatus();
}

bool View::SaveIfModified(bool synchronous) {
  if (synchronous) WaitForBackgroundSaves();
  {
    DataLockGuard lock;
    StoreColumnWidths();
    if (readOnly || !modified || catalogPath.empty()) return true;
    if (!synchronous) {
      // The thread waits for the lock this thread still holds, so it writes what is now committed.
      ++pendingSaves_;
      if (StartBackgroundThread(&View::SaveThread, this)) return true;
      --pendingSaves_;
    }
  }
  if (SaveCatalog()) return true;
  if (!synchronous) ReportSaveFailure(saveError_);
  return false;
}

bool View::SaveCopyInto(const WString& folder) {
  WaitForBackgroundSaves();
  DataLockGuard lock;
  const WString catalog = catalogPath;
  // Written as the catalog file is, with every record, to the other place.
  catalogPath = workPath = EnsureTrailing(folder, TXT('\\')) + FileNameOf(catalog);
  const bool saved = !IsSameFile(catalogPath, catalog) && Save();
  catalogPath = workPath = catalog;
  return saved;
}

DWORD WINAPI View::SaveThread(void* arg) {
  auto* view = static_cast<View*>(arg);
  if (!view->SaveCatalog()) {
    // This thread may hold up the interface thread (a closing program waits for its saves), so the
    // message is shown there, after this thread has finished.
    const uint32_t error = view->saveError_;
    view->listView.PostToWindowThread([view, error] { view->ReportSaveFailure(error); });
  }
  --view->pendingSaves_;
  return 0;
}

bool View::SaveCatalog() {
  DataLockGuard lock;
  workPath = catalogPath;
  if (!Save()) return false;
  saveFailureShown_ = false;
  return true;
}

void View::ReportSaveFailure(uint32_t error) {
  if (saveFailureShown_.exchange(true)) return;
  owner.ShowMessage(owner.String(IDS_VIEW_SAVE_FAILED) + catalogPath + TXT(":\r\n\r\n") +
                        DAVavador::SystemMessage(error) + TXT("\r\n\r\n") + owner.String(IDS_VIEW_SAVE_KEPT),
                    MB_OK | MB_ICONWARNING);
}

bool View::WriteWorkFile(XMLDoc& doc) {
  const bool saved = doc.Save(workPath);
  saveError_ = doc.LastError();
  return saved;
}

bool View::WriteWorkFile(const void* bytes, size_t size) {
  return ReplaceFileContents(workPath, bytes, size, saveError_);
}

void View::WaitForBackgroundSaves() const {
  while (pendingSaves_ > 0) Sleep(1);
}

bool View::StartExport(UINT titleStringId, const WString& path) {
  // An export of one category over the catalog would leave the catalog holding that category only,
  // and the next start would copy it over the backup.
  if (IsSameFile(path, catalogPath) || IsSameFile(path, BackupPath())) {
    owner.ShowMessage(IDS_VIEW_EXPORT_TO_CATALOG, MB_OK | MB_ICONWARNING);
    return false;
  }
  // A background save still to run writes the catalog first.
  WaitForBackgroundSaves();
  exportPath = path;
  return RunExchange(titleStringId, [this, &path] {
    DataLockGuard lock;
    exchangePath_ = workPath = path;
    const bool saved = Save();
    workPath = catalogPath;
    return saved;
  });
}

bool View::StartImport(UINT titleStringId, const WString& path) {
  WaitForBackgroundSaves();
  importPath_ = path;
  return RunExchange(titleStringId, [this] {
    Reload();
    return true;
  });
}

bool View::LoadFrom(const WString& path, ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  DataLockGuard lock;
  exchangePath_ = IsSameFile(path, catalogPath) ? WString() : path;
  workPath = path;
  const bool loaded = Load(progressWindow, fromPercent, toPercent);
  workPath = catalogPath;
  return loaded;
}

bool View::IsExchange() const {
  // Asked for every record read or written: the paths the exchanges set answer without the file
  // system.
  if (workPath == catalogPath) return false;
  if (workPath == exchangePath_) return true;
  return !IsSameFile(workPath, catalogPath);
}

WString View::ExportSuggestion(const WChar* extension) const {
  if (!exportPath.empty()) return exportPath;
  return FolderOf(catalogPath) + BaseNameOf(catalogPath) + owner.String(IDS_VIEW_EXPORT_NAME) + extension;
}

bool View::RunExchange(UINT titleStringId, const std::function<bool()>& work) {
  workerMode = true;
  const bool succeeded = RunWorker(titleStringId, work);
  workerMode = false;
  return succeeded;
}

bool View::RunWorker(UINT titleStringId, const std::function<bool()>& work) {
  Worker worker{this, &work};
  // The worker may change the records the rows show: meanwhile the list paints what it holds.
  listView.Freeze(true);
  const bool succeeded = progress.Run(owner.MainWindow(), titleStringId, &Worker::Run, &worker);
  listView.Freeze(false);
  return succeeded;
}

void View::RestoreFromBackup(UINT questionId, UINT titleId) {
  // A catalog read-only because its file could not be read is what a restore is for; one held
  // read-only for its neighbour's sake comes back with the neighbour.
  const bool unreadable = !loadProblem_.empty();
  if ((readOnly && !unreadable) || held_ || !FileExists(BackupPath())) return;
  if (owner.ShowMessage(questionId, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  WaitForBackgroundSaves();  // they would write the catalog over the backup being read
  Clear();
  if (unreadable) {
    readOnly = FileHandle(catalogPath).IsReadOnly();
    loadProblem_.clear();
  }
  StartImport(titleId, BackupPath());
  TakeSelectorFilter();
  BuildColumns();
  FillList();
  SaveIfModified(false);
}

void View::PrepareLoad() {
  if (IsExchange())
    modified = true;
  else
    readOnly = FileExists(workPath) && FileHandle(workPath).IsReadOnly();
}

void View::ReportLoadProgress(ProgressWindow* window, int fromPercent, int toPercent, const XMLDoc& doc) {
  if (window) window->SetProgress(fromPercent + doc.Progress() * (toPercent - fromPercent) / 100);
}

void View::ReportLoadProgress(ProgressWindow* window, int fromPercent, int toPercent, size_t done,
                              size_t count) {
  if (window) window->SetProgress(fromPercent + static_cast<int>(done * (toPercent - fromPercent) / count));
}

void View::ReportSaveProgress(size_t written, size_t count) const {
  if (IsExchange() && count > 0) progress.SetProgress(static_cast<int>(10 + written * 90 / count));
}

// ---- the VIEW element ----

void View::ReadViewSettings(XMLDoc& doc) {
  while (const WChar* tag = doc.NextTag()) {
    if (IsTag(tag, TXT("VIEW"))) {
      if (doc.IsEndTag()) break;
    } else if (doc.IsEndTag()) {
      continue;
    } else if (IsTag(tag, TXT("CATEGORIES"))) {
      if (categories && !doc.IsEmptyTag()) categories->Load(doc, lastId);
    } else if (const WChar* value = doc.ReadValue(tag)) {
      ReadViewValue(tag, value);  // a missing value keeps the field as it is
    }
  }
}

void View::ReadViewValue(const WChar* tag, const WChar* value) {
  if (IsTag(tag, TXT("COLS"))) {
    columns = XMLToByteList(value);
  } else if (IsTag(tag, TXT("COLWIDTHS"))) {
    columnWidths = XMLToIntList(value);
  } else if (IsTag(tag, TXT("SORTCOL"))) {
    sortColumn = XMLToInt(value);
  } else if (IsTag(tag, TXT("SORTREVERSE"))) {
    sortReverse = XMLToBool(value);
  } else if (IsTag(tag, TXT("SELECTEDCATEGORY"))) {
    selectedCategory = static_cast<uint32_t>(ParseInt(value));
  } else if (IsTag(tag, TXT("FIND"))) {
    // The user's own find text; an exchange file's is not the user's.
    if (!IsExchange()) findText = XMLUnescape(value);
  } else if (IsTag(tag, TXT("SELECTEDLETTER"))) {
    // A letter the selector does not offer would hide every record: it means all.
    const auto letter = static_cast<uint32_t>(ParseInt(value));
    selectedLetter = letter <= letters_.size() ? letter : 0;
  }
}

void View::WriteViewSettings(XMLDoc& doc) const {
  doc.OpenElement(TXT("VIEW"));
  doc.WriteByteList(TXT("COLS"), columns);
  doc.WriteIntList(TXT("COLWIDTHS"), columnWidths);
  doc.WriteInt(TXT("SORTCOL"), sortColumn);
  doc.WriteBool(TXT("SORTREVERSE"), sortReverse);
  doc.WriteUInt(TXT("SELECTEDCATEGORY"), selectedCategory);
  doc.WriteUInt(TXT("SELECTEDLETTER"), selectedLetter);
  if (!findText.empty() && !IsExchange()) doc.WriteString(TXT("FIND"), findText);
  if (categories) categories->Save(doc);
  doc.CloseElement();
}

// ---- columns, rows, sorting ----

void View::BuildColumnsFrom(UINT firstCaption, NumberColumnTest isNumber) {
  const int n = static_cast<int>(columns.size());
  // Widths are kept in pixels at 96 DPI, so that a column looks as wide on every display.
  columnsDpi = DAVavador::WindowDpi(listView.Window());
  if (n > 0) {
    // The room beside a vertical scroll bar, so that a long list needs no horizontal one.
    const int room = Unscaled(listView.Width() - GetSystemMetrics(SM_CXVSCROLL));
    const int automatic = std::max<int>(kMinAutomaticWidth, (room - n) / n);
    for (int i = 0; i < n; ++i) {
      const uint8_t id = columns[i];
      if (columnWidths.size() <= id) columnWidths.resize(id + 1u, 0);
      int32_t& width = columnWidths[id];
      if (width < 0 || width > kMaxColumnWidth) width = automatic;
      const auto kind = isNumber && isNumber(id) ? DAVavador::SortKind::Number : DAVavador::SortKind::Text;
      listView.SetColumn(i, owner.String(firstCaption + id), DAVavador::Scaled(width, columnsDpi),
                         LVCFMT_LEFT, kind);
    }
  }
  while (listView.ColumnCount() > n) listView.DeleteColumn(n);
}

bool View::CustomizeColumnsWith(int idCount, UINT firstCaption) {
  ColumnChooser chooser(owner, idCount, firstCaption, readOnly);
  if (!chooser.Run(columns)) return false;
  BuildColumns();
  FillList();
  modified = true;
  return true;
}

void View::FillRows(size_t count, const RowFiller& addRows) {
  // An empty list says what to do first, unless the letter chosen is what empties it.
  listView.SetEmptyText(selectedLetter == 0 ? owner.String(IDS_VIEW_EMPTY_FIRST + viewIndex) : WString());
  auto fill = [&](ProgressWindow* window) {
    std::vector<DAVavador::ERListView::Row> rows;
    rows.reserve(count);
    struct Filling {  // rows go to `rows` until the fill ends, however it ends
      View& view;
      ~Filling() { view.filling_ = nullptr; }
    } filling{*this};
    filling_ = &rows;
    fillThread_ = GetCurrentThreadId();
    FillProgress progress(window, count);
    addRows(progress);
    filling_ = nullptr;
    listView.SetRows(std::move(rows));
    listView.RunOnWindowThread([this] { SortList(); });
  };
  if (count < kWorkerFillRows) return fill(nullptr);
  // A fill only reads: it leaves `workerMode` alone, which a save running meanwhile must not see.
  RunWorker(traits_.loadingTitle, [&] {
    fill(&progress);
    return true;
  });
}

int View::AddRow(LPARAM itemData, const void* record) {
  if (filling_ && GetCurrentThreadId() == fillThread_) {
    filling_->push_back({itemData, record});
    return -1;
  }
  const int row = listView.AddItem(itemData, record);
  if (row >= 0 || findText.empty()) return row;
  listView.RunOnWindowThread([this] {
    TakeFindText(WString());
    findEdit.SetText(findText);
  });
  return listView.FindItem(itemData);
}

WString View::CsvExportText(size_t count, uint8_t columnCount, UINT firstCaption,
                            const std::function<WString(size_t n, uint8_t columnId)>& cellOf) const {
  std::vector<uint8_t> csvColumns = columns;
  if (exportAllData) {
    csvColumns.resize(columnCount);
    for (uint8_t code = 0; code < columnCount; ++code) csvColumns[code] = code;
  }
  WString text;
  for (size_t i = 0; i < csvColumns.size(); ++i)
    AppendCsvField(text, owner.String(firstCaption + csvColumns[i]), i == 0);
  text += TXT("\r\n");
  for (size_t n = 0; n < count; ++n) {
    ReportSaveProgress(n + 1, count + 1);
    for (size_t i = 0; i < csvColumns.size(); ++i) AppendCsvField(text, cellOf(n, csvColumns[i]), i == 0);
    text += TXT("\r\n");
  }
  return text;
}

NutrientFormat View::Format() const {
  return NutrientFormat{options.displayPercent, options.roundNumbers};
}

void View::SortList() {
  if (traits_.sortable && sortColumn >= 0 && sortColumn < listView.ColumnCount())
    listView.Sort(sortColumn, sortReverse);
}

void View::SortByColumn(int position) {
  DataLockGuard lock;
  if (position == sortColumn) {
    sortReverse = !sortReverse;
  } else {
    sortColumn = position;
    sortReverse = false;
  }
  SortList();
  modified = true;
}

int View::Unscaled(int pixels) const {
  return MulDiv(pixels, DAVavador::kDesignDpi, columnsDpi);
}

void View::RescaleColumns() {
  StoreColumnWidths();
  BuildColumns();
}

void View::StoreColumnWidths() {
  const size_t shown = std::min(columns.size(), static_cast<size_t>(listView.ColumnCount()));
  for (size_t i = 0; i < shown; ++i) {
    const uint8_t id = columns[i];
    const int32_t width = Unscaled(listView.ColumnWidth(static_cast<int>(i)));
    if (columnWidths.size() <= id) columnWidths.resize(id + 1u, 0);
    if (columnWidths[id] == width) continue;
    columnWidths[id] = width;
    modified = true;
  }
}

void View::PreparePopup(void* view, HMENU popup) {
  static_cast<View*>(view)->UpdateMenu(popup);
}

// ---- selection, filter, status ----

bool View::MatchesFilter(const Food& record) const {
  return MatchesFilter(record.catId, record.name);
}

bool View::MatchesFilter(uint32_t categoryId, WStringView name) const {
  if (selectedCategory != 0 && selectedCategory != categoryId) return false;
  if (selectedLetter == 0) return true;
  if (name.empty() || selectedLetter > letters_.size()) return false;
  WChar first[2] = {name[0], 0};
  CharUpperW(first);
  return first[0] == letters_[selectedLetter - 1];
}

bool View::HandleCommand(WPARAM wParam, LPARAM lParam, HMENU menuHandle) {
  const auto control = reinterpret_cast<HWND>(lParam);
  if (control && control == findEdit.Window() && HIWORD(wParam) == EN_CHANGE) {
    const WString text = findEdit.Text();
    if (text == findText) return true;
    TakeFindText(text);
    UpdateStatus();
    return true;
  }
  if (control && HIWORD(wParam) == CBN_DROPDOWN) DAVavador::FitDroppedList(control);
  if (!control || HIWORD(wParam) != CBN_SELCHANGE) return false;
  if (control == categoryCombo.Window()) {
    UpdateCategoryMenu(menuHandle);
  } else if (control == letterCombo.Window()) {
    const uint32_t letter = SelectorLetter();
    if (letter != selectedLetter) {
      selectedLetter = letter;
      modified = true;
      FillList();
    }
  } else {
    return false;
  }
  UpdateStatus();  // the count of the listed rows changed with the filter
  return true;
}

void View::TakeFindText(const WString& text) {
  {
    DataLockGuard lock;  // a background save reads it
    modified = modified || text != findText;
    findText = text;
  }
  listView.SetFilter(text);
}

void View::FillCategorySelector(uint32_t selectId) {
  if (!categoryCombo.Window()) return;
  categoryCombo.ResetContent();
  categoryCombo.AddString(owner.String(ERComboBox::kAllText), 0);
  int selected = 0;
  if (categories) {
    for (const NamedId& entry : categories->Entries()) {
      const int at = categoryCombo.AddString(entry.name, entry.id);
      if (entry.id == selectId) selected = at;
    }
  }
  categoryCombo.Select(selected);
}

uint32_t View::SelectorCategory() const {
  return categoryCombo.Window() ? categoryCombo.SelectedId() : selectedCategory;
}

uint32_t View::SelectorLetter() const {
  return letterCombo.Window() ? letterCombo.SelectedId() : selectedLetter;
}

bool View::SelectStoredFilter() {
  const bool changed = SelectorCategory() != selectedCategory || SelectorLetter() != selectedLetter;
  for (auto* combo : {&categoryCombo, &letterCombo}) {
    const uint32_t wanted = combo == &categoryCombo ? selectedCategory : selectedLetter;
    int index = 0;
    while (index < combo->Count() && combo->ItemData(index) != static_cast<LPARAM>(wanted)) ++index;
    combo->Select(index < combo->Count() ? index : 0);
  }
  listView.SetFilter(findText);
  if (findEdit.Window() && findEdit.Text() != findText) findEdit.SetText(findText);
  return changed;
}

void View::TakeSelectorFilter() {
  selectedCategory = SelectorCategory();
  selectedLetter = SelectorLetter();
  if (findEdit.Window()) TakeFindText(findEdit.Text());
}

void View::SelectFilterFor(uint32_t categoryId, WStringView name) {
  selectedCategory = categoryId;
  if (!name.empty()) {
    WChar first[2] = {name[0], 0};
    CharUpperW(first);
    const size_t letter = letters_.find(first[0]);
    if (letter != WString::npos) selectedLetter = static_cast<uint32_t>(letter + 1);
  }
  modified = true;
  SelectStoredFilter();
}

WString View::SelectedCategoryName() const {
  const WString* name = categories ? categories->NameById(SelectorCategory()) : nullptr;
  return name ? *name : WString();
}

void View::UpdateStatus() {
  const WString category =
      SelectorCategory() != 0 ? SelectedCategoryName() : owner.String(IDS_VIEW_TAB_FIRST + viewIndex);
  statusBar.SetText(0, category + TXT(": ") + std::to_wstring(listView.ItemCount()));
  statusBar.SetText(1, readOnly ? owner.String(IDS_VIEW_READ_ONLY) : WString());
}

// ---- controls, picture ----

void View::Layout(const RECT& rect, const RECT& pictureRect) {
  const UINT dpi = DAVavador::WindowDpi(parentWindow);
  Place(categoryCombo, kCategoryComboAt, dpi);
  Place(letterCombo, kLetterComboAt, dpi);
  Place(categoryLabel, kCategoryLabelAt, dpi);
  Place(letterLabel, kLetterLabelAt, dpi);
  Place(findLabel, kFindLabelAt, dpi);
  Place(findEdit, kFindEditAt, dpi);
  const int listTop = DAVavador::Scaled(kListTop, dpi);
  listView.Move(rect.left, rect.top + listTop, rect.right - rect.left, rect.bottom - rect.top - listTop);
  picturePane.SetWindow(parentWindow ? GetParent(parentWindow) : nullptr);
  picturePane.SetBox(pictureRect.left, pictureRect.top, pictureRect.right - pictureRect.left,
                     pictureRect.bottom - pictureRect.top);
}

void View::PaintPicture(HDC dc) {
  picturePane.DrawFitted(dc, true);
}

bool View::ClickPicture(POINT point) {
  if (picturePane.Empty() || !PtInRect(&picturePane.Box(), point)) return false;
  PictureDialog(owner, picturePane).Run();
  return true;
}

void View::ShowPicture(const WString& pictureName) {
  if (pictureName.empty())
    ClearPicture();
  else
    picturePane.Load(imagesFolder + FileNameOf(pictureName));
}

void View::ClearPicture() {
  picturePane.Clear();
}

void View::ShowControls(bool show) {
  for (DAVavador::ERWindow* control : std::initializer_list<DAVavador::ERWindow*>{
           &categoryCombo, &letterCombo, &categoryLabel, &letterLabel, &findLabel, &findEdit, &listView})
    control->Show(show);
}
