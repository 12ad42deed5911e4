#pragma once
// The Recipes tab: owner of every recipe (Recipes.xml). Recipe lines point into the ingredient
// catalog of the Ingredients view, and each confirmed recipe is mirrored there by its linked
// ingredient, through which it serves as an ingredient of other recipes.
#include <memory>
#include <set>
#include <vector>

#include "food/Recipe.h"
#include "food/ShoppingList.h"
#include "resources/resource.h"
#include "toolkit/PictureImport.h"
#include "views/FoodReferences.h"
#include "views/FoodCatalogView.h"
#include "webrecipe/WebRecipe.h"

class IngredientMatcher;
struct ReviewedRecipe;

class IngredientList;

class RecipeList : public FoodCatalogView<Recipe>,
                   public RecipeLookup,
                   public DAVavador::PictureUsers,
                   public FoodReferences {
 public:
  // The item commands of the view's menus and toolbar.
  enum Command : UINT {
    kAddRecipe = IDM_ADD_RECIPE,
    kComponentInfo = IDM_COMPONENT_INFO,
    kCopyRecipe = IDM_COPY_RECIPE,
    kDeleteRecipe = IDM_DELETE_RECIPE,
    kEditRecipe = IDM_EDIT_RECIPE,
    kMoveRecipe = IDM_MOVE_RECIPE,
    kNutrition = IDM_NUTRITION,
    kDownload = IDM_DOWNLOAD_RECIPES,
    kUpload = IDM_UPLOAD_RECIPE,
    kImportFromWebPage = IDM_IMPORT_WEB_PAGE,
  };

  RecipeList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
             Options& options, IngredientList& ingredients);
  ~RecipeList() override;

  // ---- FoodReferences ----
  void VisitFoodPointers(const PointerVisitor& visit) override;
  void VisitLinkedIds(const IdVisitor& visit) override;

  Recipe* FindById(uint32_t foodId) const;
  // The one selected recipe (the upload's subject), null unless exactly one row is selected.
  const Recipe* SelectedRecipe();
  // Takes a recipe made outside the editor: a new FOODID, no link to an ingredient of the catalog
  // it may have come from, appended, listed when it passes the filter, and saved.
  Recipe& AddForeignRecipe(std::unique_ptr<Recipe> recipe);
  // The distinct custom texts of all recipes, in character-code order.
  std::set<WString> CustomValues() const;

  // ---- RecipeLookup: a shopping list expands the recipe a listed food is named after ----
  const Recipe* FindRecipeNamed(WStringView name) const override;

  // ---- PictureUsers ----
  bool OtherRecordNames(const WString& fileName) const override;

  // ---- View ----
  bool Create(HWND parent, int menuId, int popupMenuId) override;
  bool HasLinkedId(uint32_t id) override;
  bool IsFoodUsed(uint32_t foodId) override;
  bool IsCategoryUsed(uint32_t categoryId) override;
  bool Download(const CalendarDate& lastDownload) override;
  uint32_t AddItem(View* recipes) override;
  void Hide() override;
  void UpdateToolbar() override;
  void Clear() override;
  void CustomizeColumns() override;
  void Export() override;
  void Import() override;
  void ShowNutrition() override;
  void Print(Options& printOptions) override;
  void RestoreBackup() override;
  void Upload() override;
  void ImportFromWebPage() override;
  void CopyItem() override;
  void DeleteItem(View* recipes, View* diary) override;
  void EditItem(View* recipes) override;
  void MoveToCategory() override;
  void OnSelectionChanged(HMENU menuHandle) override;
  void UpdateMenu(HMENU menuHandle) override;
  void FillList() override;
  void InstallMenu() override;
  void BuildColumns() override;
  void ShowComponentInfo() override;
  void Reload() override;
  bool Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) override;

 private:
  // What the selection allows: the rules the menu and the toolbar share.
  struct CommandStates {
    bool add, one, many;
  };
  CommandStates States() const;
  void EnableButtons(bool show);

  bool ReadXmlFile(ProgressWindow* progressWindow, int fromPercent, int toPercent);
  bool ImportCsv(const WString& text, ProgressWindow* progressWindow, int fromPercent,
                 int toPercent) override;
  void TakeRecord(std::unique_ptr<Recipe> record);
  bool WriteXmlFile(const std::vector<const Recipe*>& written) override;
  bool WriteCsvFile(const std::vector<const Recipe*>& written) override;
  void ExportPicture(const Recipe& record) const;

  // Runs the recipe editor on `recipe`; true on OK.
  bool RunEditor(Recipe& recipe);
  // Publishes the confirmed recipe as its linked ingredient (a new one for `linkId` 0).
  void LinkIngredient(Recipe& recipe, uint32_t linkId);
  // Gives a new recipe its id and linked ingredient, appends it and shows it, as Add Recipe does.
  Recipe& AppendNewRecipe(std::unique_ptr<Recipe> recipe);
  // Imported recipes: each reviewed, then added; false when the review was cancelled.
  bool ReviewAndAdd(ImportedRecipe read);
  // The recipe with its lines matched to the catalog and its category named.
  ReviewedRecipe Matched(ImportedRecipe read, const IngredientMatcher& matcher);
  void AddReviewed(const ReviewedRecipe& reviewed);
  void ImportMealMaster(const WString& path);
  // The id of the stored recipe's linked ingredient, 0 when the link no longer holds.
  uint32_t LinkOf(const Recipe& stored) const;
  // Find Ingredient as the editor's "Search" opens it: the chosen ingredient, or null.
  Ingredient* ChooseIngredient(HWND owner, const WString& text);
  // Removes a deleted recipe's linked ingredient when nothing else still refers to it.
  void DropLinkedIngredient(uint32_t linkId);

  void EraseRecord(uint32_t foodId);
  WString CategoryName(uint32_t catId) const;

  IngredientList& ingredients_;
  const Recipe* editing_ = nullptr;  // the stored recipe while the editor changes its copy
  FoodOwner foodOwner_;
  std::vector<int32_t> downloads_;  // the server ids chosen in the download dialog
};
