#pragma once
// The Shopping List tab: any number of named lists (ShoppingList.xml), the items of the list
// chosen in the selector, the list dialog, printing in columns, export and import of one list.
// A list is a Meal whose items refer to ingredients of the Ingredients view.
#include <memory>
#include <vector>

#include "food/Meal.h"
#include "food/ShoppingList.h"
#include "resources/resource.h"
#include "views/FoodReferences.h"
#include "views/View.h"

class IngredientList;

class ShopList : public View, public FoodReferences {
 public:
  // The item commands of the view's menus.
  enum Command : UINT {
    kAddList = IDM_ADD_SHOPLIST,
    kCopyList = IDM_COPY_SHOPLIST,
    kDeleteList = IDM_DELETE_SHOPLIST,
    kEditList = IDM_EDIT_SHOPLIST,
    kRestore = IDM_RESTORE,
  };

  ShopList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
           Options& options, IngredientList& ingredients);
  ~ShopList() override;

  // ---- FoodReferences ----
  void VisitFoodPointers(const PointerVisitor& visit) override;

  const std::vector<std::unique_ptr<Meal>>& Lists() const { return lists_; }
  // The list of the selector, null when none is chosen.
  Meal* SelectedList();
  // The printed and listed lines of a list, one per item.
  std::vector<WString> LinesOf(const Meal& list) const;

  // ---- View ----
  bool Create(HWND parent, int menuId, int popupMenuId) override;
  bool IsFoodUsed(uint32_t foodId) override;
  uint32_t AddItem(View* recipes) override;
  // The selector chooses lists, which the category commands must not touch.
  void AddCategory() override {}
  void DeleteCategory() override {}
  void EditCategory() override {}
  void UpdateCategoryMenu(HMENU menuHandle) override;
  void Hide() override;
  void Clear() override;
  void CustomizeColumns() override;
  void Export() override;
  void Import() override;
  void Print(Options& printOptions) override;
  void RestoreBackup() override;
  void CopyItem() override;
  void DeleteItem(View* recipes, View* diary) override;
  void EditItem(View* recipes) override;
  void OnSelectionChanged(HMENU menuHandle) override;
  void UpdateMenu(HMENU menuHandle) override;
  void FillList() override;
  void InstallMenu() override;
  void BuildColumns() override;
  bool Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) override;
  bool Save() override;

 private:
  std::unique_ptr<Meal> NewList(const WString& name);
  // Appends the list with the next ID and selects it.
  Meal& AppendNewList(std::unique_ptr<Meal> list);
  Meal* FindList(uint32_t id);
  // The selector holds one entry per list in list order; `selectId` is chosen (the first list
  // when it names none).
  void RebuildSelector(uint32_t selectId);
  void Select(uint32_t listId);
  bool RunListDialog(Meal& list, View* recipes);
  bool ReadLists(XMLDoc& doc, ProgressWindow* progressWindow, int fromPercent, int toPercent);
  // An imported list replaces every list of its ID or of its exact name.
  void TakeList(std::unique_ptr<Meal> list);
  void RefreshAfterLoad();

  IngredientList& ingredients_;
  std::vector<std::unique_ptr<Meal>> lists_;
  std::vector<WString> shownLines_;  // the lines the list view shows, a row each
  uint32_t exportListId_ = 0;
};
