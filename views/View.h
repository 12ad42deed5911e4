#pragma once
// The catalog view: one tab of the main window with its catalog, its controls inside the tab
// control (category selector, "Starts with" letter selector, list view, picture pane), its menus and
// its persisted presentation (columns, widths, sort, selection, find text). The main window knows a view only
// through the 35 virtual operations below; the base gives the shared behaviour and the helpers the
// four views build their own operations from.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/ProgressWindow.h"
#include "food/Nutrients.h"
#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERComboBox.h"
#include "toolkit/EREdit.h"
#include "toolkit/ERLabel.h"
#include "toolkit/ERListView.h"
#include "toolkit/ERStatusBar.h"
#include "toolkit/ERToolbar.h"
#include "toolkit/ERWindow.h"
#include "toolkit/Picture.h"
#include "views/CategoryDialog.h"

class CalendarDate;
class CategoryList;
class Food;
class Options;
class XMLDoc;

// What distinguishes the four views to the base.
struct ViewTraits {
  int index;                            // tab position 0..3, also picks the tab caption 4106 + index
  int columnIdCount;                    // column identifiers the view knows: 34, 40, 34, 1
  UINT firstCaption;                    // caption string of column identifier 0: 5100, 5100, 5200, 5500
  UINT loadingTitle;                    // progress title of a large list fill: 4606, 4906, 4308, 5409
  std::vector<uint8_t> defaultColumns;  // shown until the VIEW element says otherwise
  bool sortable = true;                 // false: rows stay in the order the view adds them
};

class View {
 public:
  // List fills of this many rows or more run on a worker behind the progress window.
  static constexpr size_t kWorkerFillRows = 251;
  // Widths outside 0..kMaxColumnWidth are replaced by the automatic width: the list's width shared
  // by the columns, but never below kMinAutomaticWidth, so that a narrow list scrolls sideways
  // rather than cutting every name short.
  static constexpr int32_t kMaxColumnWidth = 4000;
  static constexpr int32_t kMinAutomaticWidth = 120;

  View(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
       Options& options, const ViewTraits& traits);
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // ---- the virtual operations, in slot order ----

  // 0: releases the controls, the category list and the menus.
  virtual ~View();
  // 1: the recipe editor's quick search (ingredients only); the base does nothing.
  virtual void FillSearchList(HWND listBox, const WString& text, bool useFilters, bool includeHidden);
  // 2: creates the controls as children of `parent` (the tab control) and loads the menus; the
  // derived class creates `categories` first. False when a control cannot be created.
  virtual bool Create(HWND parent, int menuId, int popupMenuId);
  // 3, 4, 5: questions the views ask each other; the base answers false.
  virtual bool HasLinkedId(uint32_t id);
  virtual bool IsFoodUsed(uint32_t foodId);
  virtual bool IsCategoryUsed(uint32_t categoryId);
  // 6: recipe download since `lastDownload`; true when the user confirmed. The base: false.
  virtual bool Download(const CalendarDate& lastDownload);
  // 7: adds a record through the view's editor; the new record's id, 0 when cancelled.
  virtual uint32_t AddItem(View* recipes) = 0;
  // 8, 9, 10: the category commands (see View.cpp); nothing while read-only.
  virtual void AddCategory();
  virtual void DeleteCategory();
  virtual void EditCategory();
  // 11: takes over a changed category selection, then sets the category menu items and buttons.
  virtual void UpdateCategoryMenu(HMENU menuHandle);
  // 12: hides the view's controls and disables its toolbar buttons.
  virtual void Hide() = 0;
  // 13: the view's own toolbar buttons; the base does nothing.
  virtual void UpdateToolbar();
  // 14: under the data lock empties the list and the categories, clears the picture and resets
  // the sort, the export category and the flags. Views also empty their records.
  virtual void Clear();
  // 15: the column chooser; views call CustomizeColumnsWith with their numbers.
  virtual void CustomizeColumns() = 0;
  // 16, 17: the export and import commands.
  virtual void Export() = 0;
  virtual void Import() = 0;
  // 18: nutrition of the selection; the base does nothing.
  virtual void ShowNutrition();
  // 19: printing; `printOptions` carries the print settings in and out. The base does nothing.
  virtual void Print(Options& printOptions);
  // 20: restore from backup; views call RestoreFromBackup with their question and title.
  virtual void RestoreBackup() = 0;
  // 21: recipe upload; the base does nothing.
  virtual void Upload();
  // A recipe from a web page, reviewed and added (the Recipes view); the base does nothing.
  virtual void ImportFromWebPage() {}
  // 22, 23, 24: the item commands.
  virtual void CopyItem() = 0;
  virtual void DeleteItem(View* recipes, View* diary) = 0;
  virtual void EditItem(View* recipes) = 0;
  // 25: move the selection to another category; the base does nothing.
  virtual void MoveToCategory();
  // 26: the list selection changed; picture pane, menu and toolbar follow it.
  virtual void OnSelectionChanged(HMENU menuHandle) = 0;
  // 27: enables and greys the view's menu items (main menu or list pop-up).
  virtual void UpdateMenu(HMENU menuHandle) = 0;
  // 28: refills the list; views call FillRows.
  virtual void FillList() = 0;
  // 29: makes `menu` the main window's menu bar and calls OnSelectionChanged with it. Views also
  // show their controls and enable their buttons.
  virtual void InstallMenu();
  // 30: builds the list columns; views call BuildColumnsFrom.
  virtual void BuildColumns() = 0;
  // 31: component information of a recipe; the base does nothing.
  virtual void ShowComponentInfo();
  // 32: reads the file StartImport was given behind the progress window, the worker of an import
  // or restore.
  virtual void Reload();
  // 33: reads `workPath` under the data lock: the catalog file, or an exchange file (an import,
  // a backup, a download: any other path) whose records are added. `progress` is null when nothing
  // shows the progress.
  virtual bool Load(ProgressWindow* progress, int fromPercent, int toPercent) = 0;
  // 34: writes `workPath` under the data lock: the catalog file with every record (then clears
  // `modified`), or an export file. The path alone decides which; the caller sets it under the lock.
  virtual bool Save() = 0;

  // ---- operations of the base ----

  // Loads the catalog file; after a successful load with `makeBackup` copies it to its ".bak".
  // `loader` is the progress window of the thread that loads (null for none). A load that throws
  // leaves the view read-only and returns false, so the loader always goes on to its end.
  bool OpenCatalog(const WString& catalogFile, bool makeBackup, int fromPercent, int toPercent,
                   ProgressWindow* loader);
  // Why the last OpenCatalog did not read the catalog file whole: the system's reason, or that the
  // file is damaged; empty when it was read or is not there yet (a new catalog).
  const WString& LoadProblem() const { return loadProblem_; }
  // The records point into a catalog that was not read whole, so some of their references could
  // not be resolved: the view is shown read-only and nothing is written back without them.
  void HoldReadOnly() { readOnly = held_ = true; }
  bool IsHeld() const { return held_; }
  // Reads the catalog file again in place of the records shown (a held view, once the catalog it
  // points into is whole again).
  void Reopen();
  // Takes the column widths back from the list and, when modified and writable, saves the catalog
  // on a background thread or, when `synchronous`, on this one after the background saves still
  // pending (the shutdown's call; the caller must not hold the data lock then).
  // False when a synchronous save failed (LastSaveError tells why, and the caller tells the user);
  // the changes are still held.
  bool SaveIfModified(bool synchronous);
  uint32_t LastSaveError() const { return saveError_; }
  // Writes the catalog with every record into `folder` under the catalog file's name, the catalog
  // file itself left alone (a way out when it cannot be written); clears `modified` on success.
  bool SaveCopyInto(const WString& folder);
  // Returns once every background save started by this view has returned; a view may be
  // destroyed only after that. Not to be called while holding the data lock.
  void WaitForBackgroundSaves() const;
  // Save to the export file `path` or Reload from the import or backup file `path`, in worker mode
  // behind the view's progress window titled with the string. True when the worker succeeded. An
  // export onto the catalog file or its backup is refused with a message and writes nothing.
  bool StartExport(UINT titleStringId, const WString& path);
  bool StartImport(UINT titleStringId, const WString& path);
  // The VIEW element; ReadViewSettings is called right after the VIEW start tag.
  void ReadViewSettings(XMLDoc& doc);
  void WriteViewSettings(XMLDoc& doc) const;
  // A click on the header of column `position`: sorts by it, toggling the direction on a repeat.
  void SortByColumn(int position);
  // Ctrl+F: the keyboard goes to the find box.
  void FocusFind() const { findEdit.Focus(); }
  HWND FindBox() const { return findEdit.Window(); }
  // Status part 0: category (or tab caption), ": ", the number of listed items; part 1: "Read-only".
  void UpdateStatus();
  // `rect` holds the selectors and the list (tab-control coordinates), `pictureRect` the picture
  // pane (main-window coordinates).
  void Layout(const RECT& rect, const RECT& pictureRect);
  // After the list's DPI changed: the columns again, as wide for the eye as before.
  void RescaleColumns();
  void PaintPicture(HDC dc);
  // A left click at `point` (main-window client coordinates): inside the picture pane it opens
  // the picture dialog and returns true.
  bool ClickPicture(POINT point);
  // The category and letter selection.
  bool MatchesFilter(const Food& record) const;
  bool MatchesFilter(uint32_t categoryId, WStringView name) const;
  // WM_COMMAND from the view's controls (they are children of the tab control, whose owner
  // forwards it): a new category selection runs UpdateCategoryMenu(menuHandle), a new letter
  // refills the list, a changed find text filters it. True when the command was the view's.
  bool HandleCommand(WPARAM wParam, LPARAM lParam, HMENU menuHandle);

  // ---- for the main window ----
  HMENU Menu() const { return menu; }
  DAVavador::ERListView& List() { return listView; }
  const DAVavador::ERListView& List() const { return listView; }
  CategoryList* Categories() const { return categories.get(); }
  const WString& CatalogPath() const { return catalogPath; }
  WString BackupPath() const { return catalogPath + TXT(".bak"); }
  // Where the export dialog starts: the last export file, else "<catalog> export<extension>" beside
  // the catalog, never the catalog itself.
  WString ExportSuggestion(const WChar* extension) const;
  bool IsReadOnly() const { return readOnly; }
  bool IsModified() const { return modified; }
  bool IsWorking() const { return workerMode; }
  int ViewIndex() const { return viewIndex; }

 protected:
  // Counts rows during a fill; in worker mode each row advances the progress window.
  class FillProgress {
   public:
    FillProgress(ProgressWindow* window, size_t count) : window_(window), count_(count) {}
    void RowAdded();

   private:
    ProgressWindow* window_;
    size_t count_;
    static constexpr DWORD kReportInterval = 50;  // milliseconds
    size_t added_ = 0;
    int shown_ = -1;  // the percentage last shown
    DWORD shownAt_ = 0;
  };
  using RowFiller = std::function<void(FillProgress& progress)>;
  using NumberColumnTest = bool (*)(uint8_t columnId);
  // A cell's text by record and column identifier, and the name the find text is matched against.
  using CellSource = std::function<WString(const void* record, uint8_t columnId)>;
  using NameSource = std::function<WStringView(const void* record)>;

  // A delete question: the text of `questionId`, then the name of the one selected record or the
  // number of those selected, so that the user sees what goes.
  WString DeleteQuestion(UINT questionId) const;
  // Where the list's texts come from; derived views call one of these from their constructors.
  void UseRowSource(CellSource cells, NameSource names);
  // Records with ColumnText and a name (ingredients, recipes, meals).
  template <class Record>
  void UseRecordRows() {
    UseRowSource(
        [this](const void* record, uint8_t id) {
          WString text;
          static_cast<const Record*>(record)->ColumnText(text, id, *categories, Format(), false, false);
          return text;
        },
        [](const void* record) { return WStringView(static_cast<const Record*>(record)->name); });
  }

  // The fill rule of every view: `count` rows pass the filter; with fewer than kWorkerFillRows the
  // list fills here, otherwise on a worker behind the progress window titled with the view's
  // loading title. The rows `addRows` adds replace the list's at the end, which is then sorted.
  void FillRows(size_t count, const RowFiller& addRows);
  // One row showing `record` at the end of the list; its index, or -1 during a fill (the rows go
  // in together at its end). A record the find text would hide empties the find box, so that
  // what the user just added is on show.
  int AddRow(LPARAM itemData, const void* record);
  // The record of the row changed.
  void ShowRow(int row) { listView.UpdateItem(row); }
  // The text of a CSV export of `count` records: a header line of the columns (every identifier
  // below `columnCount` when exportAllData, else the displayed ones) captioned from
  // `firstCaption`, then a line a record, each cell `cellOf(record index, column identifier)`.
  WString CsvExportText(size_t count, uint8_t columnCount, UINT firstCaption,
                        const std::function<WString(size_t n, uint8_t columnId)>& cellOf) const;
  // Nutrient values show as percentages and rounded as the options say.
  NutrientFormat Format() const;
  // The row of a food record (an ingredient, a recipe): keyed by its FOODID, its cells the record's
  // column texts.
  template <class Record>
  int AddFoodRow(const Record& record) {
    return AddRow(static_cast<LPARAM>(record.foodId), &record);
  }
  // Sorts the list by `sortColumn` and `sortReverse`.
  void SortList();
  // The column rule: widths repaired, captions from `firstCaption` + identifier, columns past the
  // displayed ones deleted; columns whose identifier passes `isNumber` sort as numbers.
  void BuildColumnsFrom(UINT firstCaption, NumberColumnTest isNumber);
  // The column chooser (dialog 2308) over `idCount` identifiers captioned from `firstCaption`; on
  // OK rebuilds the columns, refills the list and marks the view modified. True on OK.
  bool CustomizeColumnsWith(int idCount, UINT firstCaption);
  // Restore from Backup: with an existing ".bak", asks `questionId` and on Yes clears the view,
  // reads the backup behind the progress window titled `titleId`, takes the category selection,
  // rebuilds columns and list and saves in the background.
  void RestoreFromBackup(UINT questionId, UINT titleId);

  // For Load: a catalog file sets `readOnly` from its attribute, an external file sets `modified`.
  void PrepareLoad();
  // `workPath` is an exchange file (import, export, backup, download), not the catalog file.
  bool IsExchange() const;
  // Load of `path` under the data lock, `workPath` pointing at it meanwhile.
  bool LoadFrom(const WString& path, ProgressWindow* progressWindow, int fromPercent, int toPercent);
  // Save writes its document or bytes to `workPath` through these; a failure's system code is kept
  // for the message that tells the user.
  bool WriteWorkFile(XMLDoc& doc);
  bool WriteWorkFile(const void* bytes, size_t size);
  // Progress of a load at the document's position, and of the n-th of `count` records of an
  // external save (10 + n * 90 / count); both do nothing without a window.
  static void ReportLoadProgress(ProgressWindow* window, int fromPercent, int toPercent, const XMLDoc& doc);
  // The same for `done` of `count` lines of a CSV file.
  static void ReportLoadProgress(ProgressWindow* window, int fromPercent, int toPercent, size_t done,
                                 size_t count);
  void ReportSaveProgress(size_t written, size_t count) const;
  // Runs `work` on a worker thread behind the view's progress window titled with the string, the
  // list painting what it holds meanwhile. True when the work returned true; one that throws fails.
  bool RunWorker(UINT titleStringId, const std::function<bool()>& work);
  // Tells the user that the catalog could not be saved and why, once until a save succeeds again.
  void ReportSaveFailure(uint32_t error);

  // The picture of the selected record: images folder + the file-name part of `pictureName`,
  // or nothing when the name is empty.
  void ShowPicture(const WString& pictureName);
  void ClearPicture();
  // Shows or hides the view's controls.
  void ShowControls(bool show);
  // Refills the category selector from `categories`, selecting `selectId` (or "--All--").
  void FillCategorySelector(uint32_t selectId);
  void FillCategorySelector() { FillCategorySelector(selectedCategory); }
  // The selectors' current data, 0 for "--All--"; the stored selection while they have no window.
  uint32_t SelectorCategory() const;
  uint32_t SelectorLetter() const;
  // Selects the category and the letter of `name`'s first character (when it is one of "A".."Z")
  // in the selectors, as adding a record outside the shown filter does.
  void SelectFilterFor(uint32_t categoryId, WStringView name);
  // Shows `selectedCategory` and `selectedLetter` in the selectors and `findText` in the find box;
  // true when a selector showed something else (the list then needs a refill).
  bool SelectStoredFilter();
  // The other way: after an import or a restore read a file's VIEW element, the filter is again
  // what the selectors show, so that the list and the selectors agree.
  void TakeSelectorFilter();

  // Fields, in declaration order.
  DAVavador::ERApp& owner;
  DAVavador::ERComboBox categoryCombo;  // shows `categories`, "--All--" (id 0) on top
  DAVavador::ERComboBox letterCombo;
  DAVavador::ERLabel categoryLabel;
  DAVavador::ERLabel letterLabel;
  DAVavador::EREdit findEdit;
  DAVavador::ERLabel findLabel;
  DAVavador::ERListView listView;
  ProgressWindow progress;
  DAVavador::ERStatusBar& statusBar;
  DAVavador::ERToolbar& toolbar;
  std::vector<uint8_t> columns;       // displayed column identifiers in display order
  std::vector<int32_t> columnWidths;  // by identifier, in pixels at 96 DPI; -1 for the automatic width
  UINT columnsDpi = 96;               // the list's DPI when its columns were built
  std::unique_ptr<CategoryList> categories;
  // Asks for the names of new and renamed categories; Create makes the plain one unless the
  // derived view (the diary) has set its own.
  std::unique_ptr<CategoryDialog> categoryDialog;
  WString workPath;
  WString catalogPath;
  WString exportPath;  // the last export file, offered again
  Options& options;
  WString imagesFolder;
  DAVavador::ERPictureHolder picturePane;
  HWND parentWindow = nullptr;
  int32_t sortColumn = 0;
  uint32_t filterCategoryId = 0;
  uint32_t lastId = 0;
  uint32_t selectedCategory = 0;
  uint32_t selectedLetter = 0;
  WString findText;  // the find box's text, kept in the VIEW element
  int viewIndex;
  bool workerMode = false;
  bool readOnly = true;
  bool modified = false;
  bool sortReverse = false;
  // Export choices the derived views keep: reset by Clear to true and false for the first and
  // third. `exportPictures` decides whether pictures travel with an export.
  bool exportAllData = true;
  bool exportIngredients = false;
  bool exportPictures = true;
  bool preserveUnicode = false;
  HMENU menu = nullptr;

 private:
  struct Worker;
  void TakeFindText(const WString& text);
  static DWORD WINAPI SaveThread(void* view);
  static void PreparePopup(void* view, HMENU popup);
  bool RunExchange(UINT titleStringId, const std::function<bool()>& work);
  // Writes the catalog file from any thread; a failure is told the user on the interface thread.
  bool SaveCatalog();
  void StoreColumnWidths();
  int Unscaled(int pixels) const;  // list pixels to pixels at 96 DPI
  void ReadViewValue(const WChar* tag, const WChar* value);
  WString SelectedCategoryName() const;
  WString ReadProblem(const WString& path) const;

  NameSource names_;
  const ViewTraits traits_;
  WString loadProblem_;
  bool held_ = false;
  std::atomic<int> pendingSaves_{0};
  uint32_t saveError_ = 0;
  // A failing save is told once, until a save succeeds again.
  std::atomic<bool> saveFailureShown_{false};
  WString importPath_;    // the file of the running import or restore
  WString exchangePath_;  // the last exchange file LoadFrom or StartExport worked on
  WString letters_;       // the letters of the letter selector, entry data 1 onward
  // The rows of the running fill, and the thread that fills.
  std::vector<DAVavador::ERListView::Row>* filling_ = nullptr;
  DWORD fillThread_ = 0;
};
