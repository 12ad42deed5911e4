#pragma once
// The recipe editor: the tabbed dialog 3200 (General, Ingredients, Instructions, Picture) in which
// a recipe's lines are built from the ingredient catalog. It works on the caller's copy; on OK the
// copy holds the controls' values and the per-serving nutrition of its lines.
#include <windows.h>

#include <functional>
#include <set>
#include <vector>

#include "food/Recipe.h"
#include "resources/resource.h"
#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureImport.h"
#include "views/AmountEntry.h"
#include "views/CategoryBox.h"

class CategoryList;
class IngredientList;
class View;

class RecipeEditor : public DAVavador::ERDialog {
 public:
  struct Context {
    DAVavador::ERApp& app;
    Recipe& recipe;               // the working copy
    IngredientList& ingredients;  // picker, quick search, New Ingredient
    View* recipes;                // handed to the ingredient view's AddItem
    const CategoryList& categories;
    std::set<WString> customValues;
    WString imagesFolder;
    const DAVavador::PictureUsers& pictureUsers;
    // Find Ingredient: the ingredient chosen for a search text, null when none was.
    std::function<Ingredient*(HWND owner, const WString& text)> findIngredient;
    // Makes the category of a name typed into the category box on OK.
    CategoryBox::Create newCategory;
  };

  explicit RecipeEditor(const Context& context) : context_(context) {}
  RecipeEditor(const RecipeEditor&) = delete;
  RecipeEditor& operator=(const RecipeEditor&) = delete;

  // Runs the dialog modally over `owner`; true when it ended with OK.
  bool Run(HWND owner);

  // The text of a line in the recipe-lines list: its own text, or amount, unit and name.
  static WString LineText(const RecipeLine& line);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  bool OnOK() override;
  void Fill();
  void FillGeneral();
  void ResetAmount();
  void ShowTab(int tab);

  Ingredient* PickedIngredient() const;
  int SelectedLine() const;
  bool EnterOnLine();
  bool AddLine();
  void SelectLine();
  bool ChangeLine();
  bool UpdateLine();
  void ShowLineText(const WString& text);
  bool LineTextTyped() const;
  void RemoveLine();
  void MoveLine(int by);
  void SetLineRow(int row, const WString& text);
  void UpdateButtons();
  void RefillCatalog();
  void Search();
  void NewIngredient();
  void OfferIngredient(const Ingredient& ingredient);
  void OfferPicked();

  void BrowsePicture();
  void ClearPicture();
  void LoadPreview();
  void ReadGeneral();

  Context context_;
  std::vector<RecipeLine> lines_;
  AmountEntry amount_{IDC_RECIPE_WHOLE, IDC_RECIPE_FRACTION, IDC_RECIPE_UNIT};
  WString shownLineText_;    // what the line-text edit was given; any other text the user typed
  bool lineChosen_ = false;  // a row of the lines picked last, which Enter then changes
  DAVavador::ERPictureHolder preview_;
  int currentTab_ = 0;
  bool busy_ = false;
};
