#pragma once
// The Ingredients tab: owner of the ingredient catalog (Ingredients.xml) that recipes, meals and
// shopping lists refer to by FOODID. Records keep their address for their whole life, so the
// lines of recipes may point at them.
#include <memory>
#include <vector>

#include "food/Food.h"
#include "food/Recipe.h"
#include "resources/resource.h"
#include "toolkit/PictureImport.h"
#include "storage/NamedIdList.h"
#include "views/FoodCatalogView.h"
#include "views/FoodReferences.h"

class IngredientList : public FoodCatalogView<Ingredient>,
                       public IngredientCatalog,
                       public DAVavador::PictureUsers {
 public:
  // The item commands of the view's menus and toolbar.
  enum Command : UINT {
    kAddIngredient = IDM_ADD_INGREDIENT,
    kCopyIngredient = IDM_COPY_INGREDIENT,
    kDeleteIngredient = IDM_DELETE_INGREDIENT,
    kEditIngredient = IDM_EDIT_INGREDIENT,
    kMoveIngredient = IDM_MOVE_INGREDIENT,
    kNutrition = IDM_NUTRITION,
  };

  IngredientList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
                 Options& options);

  // ---- IngredientCatalog ----
  Ingredient* FindById(uint32_t foodId) override;
  Ingredient* FindByName(WStringView name) override;
  Ingredient* AddIngredient(const Ingredient& ingredient) override;
  CategoryList& Categories() override { return *categories; }
  uint32_t& IdCounter() override { return lastId; }

  // Foods that a file being read brings whole (recipe and diary files may) join the catalog as one
  // batch: while a batch is open AddIngredient does not save, and the end of the outermost batch
  // saves once, in the background, when anything was added.
  class AddBatch {
   public:
    explicit AddBatch(IngredientList& catalog);
    ~AddBatch();
    AddBatch(const AddBatch&) = delete;
    AddBatch& operator=(const AddBatch&) = delete;

   private:
    IngredientList& catalog_;
  };

  // The ingredient a recipe used as an ingredient publishes: record `linkId` (or a new one) takes
  // the recipe's values, the named category (created when missing) and the hidden flag.
  Ingredient& UpsertLinkedIngredient(uint32_t linkId, const Food& values, bool hidden,
                                     const WString& categoryName);

  // Removes the record and its row (a deleted recipe's hidden linked ingredient) and saves; a
  // record something still refers to stays, hidden.
  void EraseIngredient(uint32_t foodId);

  // The views whose records point at ingredients; a replaced catalog moves their pointers.
  void AddFoodReferences(FoodReferences* view);
  void RemoveFoodReferences(FoodReferences* view);
  // True when a recipe line, meal item or list item points at the record, or a recipe links it.
  bool IsReferenced(const Ingredient& record) const;

  // "Find Ingredient" (dialog 2600) over `owner`, starting from `text` under the view's filters:
  // the chosen FOODID, 0 when none.
  uint32_t FindIngredient(HWND owner, const WString& text);

  // Takes over the nutrient data shipped beside the program (a CSV file): its foods join the
  // catalog, replacing those of the same name, and the catalog is saved at once. False when the
  // file could not be read.
  bool TakeNutrientData(const WString& csvPath);
  // The text Find Ingredient opens with: `text` when a listed name holds it, else the first of its
  // words, from the last, that one holds (a plural's "s" or "es" may go); else `text` itself.
  WString SearchTextFor(const WString& text) const;

  // ---- PictureUsers ----
  // Another ingredient than the one in the editor names the file, or a recipe does.
  bool OtherRecordNames(const WString& fileName) const override;

  // ---- View ----
  void FillSearchList(HWND listBox, const WString& text, bool useFilters, bool includeHidden) override;
  bool IsCategoryUsed(uint32_t categoryId) override;
  uint32_t AddItem(View* recipes) override;
  void Hide() override;
  void UpdateToolbar() override;
  void Clear() override;
  void CustomizeColumns() override;
  void Export() override;
  void Import() override;
  void RestoreBackup() override;
  void CopyItem() override;
  void DeleteItem(View* recipes, View* diary) override;
  void EditItem(View* recipes) override;
  void ShowNutrition() override;
  void MoveToCategory() override;
  void OnSelectionChanged(HMENU menuHandle) override;
  void UpdateMenu(HMENU menuHandle) override;
  void FillList() override;
  void InstallMenu() override;
  void BuildColumns() override;
  bool Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) override;

 private:
  // What the selection allows: the rules the menu and the toolbar share.
  struct CommandStates {
    bool add, copy, remove, edit, move, nutrition;
  };
  CommandStates States() const;
  void EnableButtons(bool show);
  bool ReadRecords(XMLDoc& doc, ProgressWindow* progressWindow, int fromPercent, int toPercent);
  bool ImportCsv(const WString& text, ProgressWindow* progressWindow, int fromPercent,
                 int toPercent) override;
  bool WriteXmlFile(const std::vector<const Ingredient*>& written) override;
  bool WriteCsvFile(const std::vector<const Ingredient*>& written) override;
  // Pictures of an exchanged file lie in the Images folder beside it. An imported picture never
  // replaces one of the images folder: the record names the file that holds its copy.
  WString PictureSource() const;
  void ImportPicture(Ingredient& record, const WString& pictureSource) const;
  void ExportPicture(const Ingredient& record) const;

  void TakeRecord(std::unique_ptr<Ingredient> record, const WString& pictureSource);
  // Frees the record of `foodId` unless `keep` is set or something refers to it: then it stays,
  // hidden, so that the reference survives a restart. Under the data lock.
  void Release(uint32_t foodId, bool keep);
  // After the emptied catalog was read again (an import that replaces it, a restore, a new data
  // folder): every pointer and link at a record of the old catalog moves to its successor, then the
  // old records are freed.
  void TakeBackRetired();
  Ingredient* SuccessorOf(Ingredient& old);
  // The referring views save what TakeBackRetired changed.
  void SaveReferrers();
  // Runs the ingredient editor on `copy`; true on OK.
  bool RunEditor(Ingredient& copy, unsigned modes, View* recipes);
  // The list cells of a record: list texts, not CSV, with the options' percentages and rounding.

  FoodOwner foodOwner_;
  // The records of an emptied catalog (an import that replaces it, a restore) stay allocated: the
  // lines of recipes, meals and lists point at them until TakeBackRetired moves the pointers.
  std::vector<std::unique_ptr<Ingredient>> retired_;
  NamedIdList retiredCategories_;  // the categories of the emptied catalog, for records that rejoin
  std::vector<FoodReferences*> referrers_;
  // While the editor runs: the record it edits (0 for a new one) and the recipes, which share the
  // images folder.
  uint32_t editedId_ = 0;
  const DAVavador::PictureUsers* recipePictures_ = nullptr;
  // The open AddBatch scopes and whether they added a food; under the data lock.
  int openBatches_ = 0;
  bool batchAdded_ = false;
};
