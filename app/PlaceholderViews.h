#pragma once
// Stand-ins for the catalog views not built yet: each keeps its catalog file's root and VIEW
// element (columns, widths, sort) and lists nothing. A catalog that holds records is never
// rewritten by a stand-in, so no record is lost before the real view reads it.
#include "views/View.h"

class PlaceholderView : public View {
 public:
  PlaceholderView(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
                  Options& options, const ViewTraits& traits, const WChar* rootName);

  uint32_t AddItem(View*) override { return 0; }
  void Hide() override { ShowControls(false); }
  void CustomizeColumns() override { CustomizeColumnsWith(columnIdCount, firstCaption); }
  void Export() override {}
  void Import() override {}
  void RestoreBackup() override {}
  void CopyItem() override {}
  void DeleteItem(View*, View*) override {}
  void EditItem(View*) override {}
  void OnSelectionChanged(HMENU menuHandle) override { UpdateMenu(menuHandle); }
  void UpdateMenu(HMENU) override {}
  void FillList() override;
  void BuildColumns() override;
  bool Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) override;
  bool Save() override;

 private:
  const WChar* rootName;
  int columnIdCount;
  UINT firstCaption;
  bool holdsRecords = false;  // the file has more than the VIEW element: leave it alone
};

// The stand-ins of the tabs whose views are still to come, with their catalogs' root names.
class PlaceholderRecipeList : public PlaceholderView {
 public:
  PlaceholderRecipeList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar,
                        DAVavador::ERToolbar& toolbar, Options& options);
};

class PlaceholderDiary : public PlaceholderView {
 public:
  PlaceholderDiary(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
                   Options& options);
};

class PlaceholderShopList : public PlaceholderView {
 public:
  PlaceholderShopList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar,
                      DAVavador::ERToolbar& toolbar, Options& options);
};
