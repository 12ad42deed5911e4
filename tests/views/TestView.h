#pragma once
// The smallest concrete view: records with a category, a name and a number, kept in a file of
// their own form around the VIEW element. It implements every pure operation with the base's
// helpers and records what its saves did, so that the tests can watch the base at work.
#include <windows.h>

#include <atomic>
#include <vector>

#include "resources/resource.h"
#include "views/View.h"

struct TestRecord {
  uint32_t catId = 0;
  WString name;
  WString number;  // shown in column 0, which sorts as a number
};

class TestView : public View {
 public:
  // The Ingredients view's menus, which hold the category commands.
  static constexpr int kMenu = IDM_MAIN_INGREDIENTS;
  static constexpr int kPopupMenu = IDM_POPUP_INGREDIENTS;
  static constexpr UINT kLoadingTitle = 4606;  // "Loading Ingredients"

  // Columns 30 (name), 29 (category) and 0 (number) are shown by default.
  TestView(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
           Options& options);

  struct SaveRecord {
    DWORD thread;
    size_t records;
    bool exchange;
    WString path;
  };

  uint32_t AddItem(View*) override { return 0; }
  void Hide() override { ShowControls(false); }
  void CustomizeColumns() override { CustomizeColumnsWith(34, 5100); }
  void Export() override {}
  void Import() override {}
  void RestoreBackup() override { RestoreFromBackup(4601, 4517); }
  void CopyItem() override {}
  void DeleteItem(View*, View*) override {}
  void EditItem(View*) override {}
  void OnSelectionChanged(HMENU menuHandle) override { UpdateMenu(menuHandle); }
  void UpdateMenu(HMENU) override {}
  void Clear() override;
  void FillList() override;
  void BuildColumns() override;
  bool IsCategoryUsed(uint32_t categoryId) override;
  bool Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) override;
  bool Save() override;

  // The records and the saves; both change under the data lock.
  std::vector<TestRecord> records;
  std::vector<SaveRecord> saves;
  // Set once a save holds the lock; the save then waits `saveDelay` milliseconds before writing.
  HANDLE saveStarted = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> saveDelay{0};
  bool throwOnLoad = false;  // a reader fault
  int fills = 0;

  ~TestView() override { CloseHandle(saveStarted); }

  // The row of records[index], and back.
  static const void* RowOf(size_t index);
  const TestRecord* RecordOf(const void* row) const;
  WString CellOf(const void* row, uint8_t columnId) const;

  // The base's state, opened up for the tests.
  using View::categories;
  using View::categoryCombo;
  using View::categoryLabel;
  using View::columns;
  using View::columnWidths;
  using View::FillCategorySelector;
  using View::filterCategoryId;
  using View::findText;
  using View::imagesFolder;
  using View::lastId;
  using View::letterCombo;
  using View::letterLabel;
  using View::modified;
  using View::picturePane;
  using View::readOnly;
  using View::selectedCategory;
  using View::selectedLetter;
  using View::ShowPicture;
  using View::sortColumn;
  using View::sortReverse;
  using View::workerMode;
  using View::workPath;
};
