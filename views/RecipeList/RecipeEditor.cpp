#include "views/RecipeList/RecipeEditor.h"

#include "views/IngredientList/FindIngredientDialog.h"

#include <commctrl.h>

#include "food/CategoryList.h"
#include "printing/RecipeLayout.h"
#include "resources/resource.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "views/CategoryBox.h"
#include "views/IngredientList/IngredientList.h"

namespace {

constexpr int kTabCount = 4;
constexpr int kIngredientsTab = 1;
constexpr int kPictureTab = 3;

// The controls of each tab; switching tabs shows one set and hides the others.
const std::vector<int> kTabControls[kTabCount] = {
    {IDC_RECIPE_GENERAL_LABEL, IDC_RECIPE_GENERAL_LABEL + 1, IDC_RECIPE_GENERAL_LABEL + 2,
     IDC_RECIPE_GENERAL_LABEL + 3, IDC_RECIPE_GENERAL_LABEL + 4, IDC_RECIPE_GENERAL_LABEL + 5,
     IDC_RECIPE_GENERAL_LABEL + 6, IDC_RECIPE_CATEGORY, IDC_RECIPE_NAME, IDC_RECIPE_SERVES,
     IDC_RECIPE_PREP_HOURS, IDC_RECIPE_PREP_MINUTES, IDC_RECIPE_COOK_HOURS, IDC_RECIPE_COOK_MINUTES,
     IDC_RECIPE_ON_LIST, IDC_RECIPE_CUSTOM},
    {IDC_RECIPE_INGREDIENTS_LABEL, IDC_RECIPE_INGREDIENTS_LABEL + 1, IDC_RECIPE_INGREDIENTS_LABEL + 2,
     IDC_RECIPE_WHOLE, IDC_RECIPE_FRACTION, IDC_RECIPE_UNIT, IDC_RECIPE_CHANGE, IDC_RECIPE_QUICK_SEARCH,
     IDC_RECIPE_SEARCH, IDC_RECIPE_NEW_INGREDIENT, IDC_RECIPE_LINE_TEXT, IDC_RECIPE_UPDATE,
     IDC_RECIPE_CATALOG, IDC_RECIPE_UP, IDC_RECIPE_ADD_LINE, IDC_RECIPE_REMOVE_LINE, IDC_RECIPE_DOWN,
     IDC_RECIPE_LINES},
    {IDC_RECIPE_INSTRUCTIONS_LABEL, IDC_RECIPE_INSTRUCTIONS},
    {IDC_RECIPE_PICTURE, IDC_RECIPE_BROWSE, IDC_RECIPE_CLEAR},
};

// The numbers 0 .. count - 1, each carrying itself.
void FillNumbers(HWND combo, int count, int32_t selected) {
  for (int n = 0; n < count; ++n) DAVavador::ERDialog::AddComboItem(combo, std::to_wstring(n), n);
  DAVavador::ERDialog::SelectComboData(combo, selected);
}

}  // namespace

WString RecipeEditor::LineText(const RecipeLine& line) {
  return PrintedLineText(line);
}

bool RecipeEditor::Run(HWND owner) {
  return RunModal(context_.app, IDD_RECIPE_EDITOR, owner) == IDOK;
}

bool RecipeEditor::OnNotify(const NMHDR& header, LRESULT&) {
  if (header.idFrom == IDC_RECIPE_TABS && header.code == TCN_SELCHANGE)
    ShowTab(static_cast<int>(Message(IDC_RECIPE_TABS, TCM_GETCURSEL)));
  return true;
}

bool RecipeEditor::OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  if (msg == WM_DRAWITEM && wp == IDC_RECIPE_PICTURE) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    preview_.DrawFitted(item->hDC, false);
    result = TRUE;
    return true;
  }
  return false;
}

// ---- opening ----

bool RecipeEditor::OnInit() {
  AskBeforeDiscarding();
  Fill();
  return true;
}

void RecipeEditor::Fill() {
  Recipe& recipe = context_.recipe;
  amount_.Attach(Dialog());
  // A new recipe in the "--All--" view starts in the first category; without any the box takes
  // the name of a first one.
  CategoryBox::Fill(Item(IDC_RECIPE_CATEGORY), context_.categories, recipe.catId);

  FillGeneral();
  const HWND custom = Item(IDC_RECIPE_CUSTOM);
  for (const WString& value : context_.customValues)
    SendMessageW(custom, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value.c_str()));
  SetWindowTextW(custom, recipe.custom.c_str());
  AddTips(context_.app, {{IDC_RECIPE_ADD_LINE, IDS_RECIPE_TIP_ADD_LINE},
                         {IDC_RECIPE_LINE_TEXT, IDS_RECIPE_TIP_LINE_TEXT},
                         {IDC_RECIPE_ON_LIST, IDS_RECIPE_TIP_ON_LIST},
                         {IDC_RECIPE_QUICK_SEARCH, IDS_RECIPE_TIP_QUICK_SEARCH},
                         {IDC_RECIPE_LINES, IDS_RECIPE_TIP_LINES},
                         {IDC_RECIPE_REMOVE_LINE, IDS_RECIPE_TIP_REMOVE_LINE},
                         {IDC_RECIPE_CATALOG, IDS_RECIPE_TIP_CATALOG}});

  for (const RecipeLine& line : recipe.lines) {
    if (!line.ingredient) continue;
    lines_.push_back(line);
    Message(IDC_RECIPE_LINES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LineText(line).c_str()));
  }
  if (recipe.foodId != 0) {
    SetWindowTextW(Dialog(), context_.app.String(IDS_RECIPE_EDIT_CAPTION).c_str());
    // A recipe once put on the ingredient list stays there.
    const Ingredient* linked = context_.ingredients.FindById(static_cast<uint32_t>(recipe.ingredientId));
    if (linked && !linked->hidden) {
      SetChecked(IDC_RECIPE_ON_LIST, true);
      EnableWindow(Item(IDC_RECIPE_ON_LIST), FALSE);
    }
  }

  for (int tab = 0; tab < kTabCount; ++tab) {
    WString name = context_.app.String(IDS_RECIPE_TAB_FIRST + tab);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = name.data();
    Message(IDC_RECIPE_TABS, TCM_INSERTITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
  }
  preview_.SetWindow(Item(IDC_RECIPE_PICTURE));
  LoadPreview();
  ShowTab(0);
}

void RecipeEditor::FillGeneral() {
  const Recipe& recipe = context_.recipe;
  SetItemText(IDC_RECIPE_NAME, recipe.name);
  SetItemText(IDC_RECIPE_SERVES, std::to_wstring(recipe.serves));
  FillNumbers(Item(IDC_RECIPE_PREP_HOURS), 48, recipe.prepHours);
  FillNumbers(Item(IDC_RECIPE_COOK_HOURS), 48, recipe.cookHours);
  FillNumbers(Item(IDC_RECIPE_PREP_MINUTES), 60, recipe.prepMinutes);
  FillNumbers(Item(IDC_RECIPE_COOK_MINUTES), 60, recipe.cookMinutes);
  SetChecked(IDC_RECIPE_ON_LIST, !recipe.notOnIngredientList);
  SetItemText(IDC_RECIPE_INSTRUCTIONS, recipe.instructions);
  SetItemText(IDC_RECIPE_PICTURE_PATH, recipe.picture);
}

void RecipeEditor::ShowTab(int tab) {
  currentTab_ = tab;
  Message(IDC_RECIPE_TABS, TCM_SETCURSEL, static_cast<WPARAM>(tab));
  for (int other = 0; other < kTabCount; ++other) {
    for (int id : kTabControls[other]) ShowWindow(Item(id), other == tab ? SW_SHOW : SW_HIDE);
  }
  UpdateButtons();
}

// ---- amounts ----

void RecipeEditor::ResetAmount() {
  amount_.Show(0, amount_.FirstUnit());
}

// ---- lines ----

bool RecipeEditor::OnCommand(int id, int code) {
  if (amount_.OnCommand(id, code)) {
    UpdateButtons();
    return true;
  }
  switch (id) {
    case IDOK:
      return EnterOnLine();
    case IDC_RECIPE_CATALOG:
      if (code == LBN_DBLCLK) AddLine();
      if (code == LBN_SELCHANGE) OfferPicked();
      break;
    case IDC_RECIPE_LINES:
      if (code == LBN_DBLCLK) AddLine();
      if (code == LBN_SELCHANGE) SelectLine();
      break;
    case IDC_RECIPE_QUICK_SEARCH:
      if (code == EN_CHANGE && !busy_) RefillCatalog();
      break;
    case IDC_RECIPE_ADD_LINE:
      AddLine();
      break;
    case IDC_RECIPE_CHANGE:
      ChangeLine();
      break;
    case IDC_RECIPE_UPDATE:
      UpdateLine();
      break;
    case IDC_RECIPE_REMOVE_LINE:
      RemoveLine();
      break;
    case IDC_RECIPE_UP:
      MoveLine(-1);
      break;
    case IDC_RECIPE_DOWN:
      MoveLine(1);
      break;
    case IDC_RECIPE_SEARCH:
      Search();
      break;
    case IDC_RECIPE_NEW_INGREDIENT:
      NewIngredient();
      break;
    case IDC_RECIPE_BROWSE:
      BrowsePicture();
      break;
    case IDC_RECIPE_CLEAR:
      ClearPicture();
      break;
    default:
      return false;
  }
  return true;
}

Ingredient* RecipeEditor::PickedIngredient() const {
  const auto foodId = static_cast<uint32_t>(SelectedListData(IDC_RECIPE_CATALOG));  // 0: none selected
  return foodId ? context_.ingredients.FindById(foodId) : nullptr;
}

int RecipeEditor::SelectedLine() const {
  const auto at = static_cast<int>(Message(IDC_RECIPE_LINES, LB_GETCURSEL));
  return at >= 0 && static_cast<size_t>(at) < lines_.size() ? at : -1;
}

// Enter in the line controls works on a line instead of ending the editor: in the line text it
// updates the line's text; in the amount, the quick search or the catalog it adds the food picked,
// or changes the line picked when that came last.
bool RecipeEditor::EnterOnLine() {
  if (currentTab_ != kIngredientsTab) return false;
  bool done = false;
  if (KeyboardIn(Dialog(), {IDC_RECIPE_LINE_TEXT}))
    done = UpdateLine();
  else if (amount_.HasFocus() || KeyboardIn(Dialog(), {IDC_RECIPE_QUICK_SEARCH, IDC_RECIPE_CATALOG}))
    done = lineChosen_ ? ChangeLine() : AddLine();
  else
    return false;
  if (!done) MessageBeep(MB_OK);
  return true;
}

bool RecipeEditor::AddLine() {
  Ingredient* ingredient = PickedIngredient();
  const double amount = amount_.Amount();
  if (!ingredient || !(amount > 0)) return false;
  RecipeLine line;
  line.amount = amount;
  line.unit = static_cast<int32_t>(amount_.Unit());
  line.ingredient = ingredient;
  lines_.push_back(line);
  const WString text = LineText(line);
  const LRESULT row = Message(IDC_RECIPE_LINES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Message(IDC_RECIPE_LINES, LB_SETCURSEL, static_cast<WPARAM>(row));
  ShowLineText(text);
  ResetAmount();
  SetItemText(IDC_RECIPE_QUICK_SEARCH, WString());
  amount_.Focus();
  lineChosen_ = false;
  UpdateButtons();
  return true;
}

void RecipeEditor::SelectLine() {
  const int row = SelectedLine();
  if (row >= 0) {
    const RecipeLine& line = lines_[static_cast<size_t>(row)];
    ShowLineText(LineText(line));
    amount_.Show(line.amount, static_cast<ServingUnit>(line.unit));
    lineChosen_ = true;
  }
  UpdateButtons();
}

bool RecipeEditor::ChangeLine() {
  const int row = SelectedLine();
  const double amount = amount_.Amount();
  if (row < 0 || !(amount > 0)) return false;
  RecipeLine& line = lines_[static_cast<size_t>(row)];
  line.amount = amount;
  line.unit = static_cast<int32_t>(amount_.Unit());
  line.displayName.clear();
  line.displayName = LineText(line);
  SetLineRow(row, line.displayName);
  // The line text shown follows the new amount unless the user is writing their own.
  if (!LineTextTyped()) ShowLineText(line.displayName);
  ResetAmount();
  lineChosen_ = false;
  UpdateButtons();
  return true;
}

// Only a text the user typed becomes the line's own; the one shown for it changes nothing.
bool RecipeEditor::UpdateLine() {
  const int row = SelectedLine();
  if (row < 0) return false;
  RecipeLine& line = lines_[static_cast<size_t>(row)];
  if (LineTextTyped()) line.displayName = ItemText(IDC_RECIPE_LINE_TEXT);
  SetLineRow(row, LineText(line));
  ShowLineText(WString());
  UpdateButtons();
  return true;
}

void RecipeEditor::ShowLineText(const WString& text) {
  shownLineText_ = text;
  SetItemText(IDC_RECIPE_LINE_TEXT, text);
}

bool RecipeEditor::LineTextTyped() const {
  return ItemText(IDC_RECIPE_LINE_TEXT) != shownLineText_;
}

void RecipeEditor::RemoveLine() {
  const int row = SelectedLine();
  if (row < 0) return;
  lines_.erase(lines_.begin() + row);
  Message(IDC_RECIPE_LINES, LB_DELETESTRING, static_cast<WPARAM>(row));
  UpdateButtons();
}

void RecipeEditor::MoveLine(int by) {
  const int row = SelectedLine();
  const int target = row + by;
  if (row < 0 || target < 0 || static_cast<size_t>(target) >= lines_.size()) return;
  std::swap(lines_[static_cast<size_t>(row)], lines_[static_cast<size_t>(target)]);
  SetLineRow(row, LineText(lines_[static_cast<size_t>(row)]));
  SetLineRow(target, LineText(lines_[static_cast<size_t>(target)]));
  UpdateButtons();
}

// Replaces the row's text and leaves it selected.
void RecipeEditor::SetLineRow(int row, const WString& text) {
  Message(IDC_RECIPE_LINES, LB_DELETESTRING, static_cast<WPARAM>(row));
  Message(IDC_RECIPE_LINES, LB_INSERTSTRING, static_cast<WPARAM>(row),
          reinterpret_cast<LPARAM>(text.c_str()));
  Message(IDC_RECIPE_LINES, LB_SETCURSEL, static_cast<WPARAM>(row));
}

void RecipeEditor::UpdateButtons() {
  const bool selected = SelectedLine() >= 0;
  for (int id : {IDC_RECIPE_REMOVE_LINE, IDC_RECIPE_UP, IDC_RECIPE_DOWN}) EnableWindow(Item(id), selected);
  ShowWindow(Item(IDC_RECIPE_CHANGE), selected && currentTab_ == kIngredientsTab ? SW_SHOW : SW_HIDE);
  EnableWindow(Item(IDC_RECIPE_ADD_LINE), PickedIngredient() && amount_.Amount() > 0);
}

// ---- the ingredient catalog ----

void RecipeEditor::RefillCatalog() {
  context_.ingredients.FillSearchList(Item(IDC_RECIPE_CATALOG), ItemText(IDC_RECIPE_QUICK_SEARCH), false,
                                      false);
  UpdateButtons();
}

void RecipeEditor::OfferIngredient(const Ingredient& ingredient) {
  SelectIngredientEntry(Item(IDC_RECIPE_CATALOG), ingredient);
  OfferPicked();
}

// The food picked in the catalog presets its serving, as far as the user gave no amount or unit.
void RecipeEditor::OfferPicked() {
  lineChosen_ = false;
  if (const Ingredient* ingredient = PickedIngredient()) amount_.Offer(*ingredient);
  UpdateButtons();
}

void RecipeEditor::Search() {
  if (currentTab_ != kIngredientsTab || busy_ || !context_.findIngredient) return;
  busy_ = true;
  const Ingredient* found = context_.findIngredient(Dialog(), ItemText(IDC_RECIPE_QUICK_SEARCH));
  busy_ = false;
  if (found) OfferIngredient(*found);
}

void RecipeEditor::NewIngredient() {
  if (busy_) return;
  busy_ = true;
  const uint32_t added = context_.ingredients.AddItem(context_.recipes);
  if (const Ingredient* ingredient = added ? context_.ingredients.FindById(added) : nullptr)
    OfferIngredient(*ingredient);
  CategoryBox::Refill(Item(IDC_RECIPE_CATEGORY), context_.categories);
  busy_ = false;
  UpdateButtons();
}

// ---- the picture ----

void RecipeEditor::BrowsePicture() {
  const WString current = ItemText(IDC_RECIPE_PICTURE_PATH);
  FileRequest request;
  request.owner = Dialog();
  request.title = context_.app.String(IDS_PICTURE_BROWSE_TITLE);
  for (UINT id = IDS_PICTURE_FILES; id < IDS_PICTURE_FILES + 4; ++id)
    request.filter += (request.filter.empty() ? WString() : WString(TXT("|"))) + context_.app.String(id);
  if (current.find(TXT('\\')) != WString::npos)
    request.initialPath = FolderOf(current);
  else
    request.initialPath =
        current.empty() || current == DAVavador::kNoPicture ? TXT("C:\\") : context_.imagesFolder;
  const std::optional<WString> path = UserPrompts::Current().OpenFile(request);
  if (!path) return;
  SetItemText(IDC_RECIPE_PICTURE_PATH, *path);
  LoadPreview();
}

void RecipeEditor::ClearPicture() {
  if (context_.app.ShowMessage(IDS_PICTURE_CLEAR_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  SetItemText(IDC_RECIPE_PICTURE_PATH, DAVavador::kNoPicture);
  LoadPreview();
}

// The path edit holds a chosen file's path, the recipe's bare file name or the no-picture text.
void RecipeEditor::LoadPreview() {
  const WString text = ItemText(IDC_RECIPE_PICTURE_PATH);
  RECT frame;
  GetClientRect(Item(IDC_RECIPE_PICTURE), &frame);
  preview_.SetBox(0, 0, frame.right, frame.bottom);
  if (text.empty() || text == DAVavador::kNoPicture) {
    preview_.Clear();
    return;
  }
  const bool bare = text.find(TXT('\\')) == WString::npos && text.find(TXT('/')) == WString::npos;
  preview_.Load(bare ? context_.imagesFolder + text : text);
}

// ---- OK ----

bool RecipeEditor::OnOK() {
  if (Message(IDC_RECIPE_LINES, LB_GETCOUNT) <= 0) {
    context_.app.ShowMessage(IDS_RECIPE_NO_LINES, MB_OK | MB_ICONWARNING);
    return false;
  }
  if (!CategoryBox::Check(Item(IDC_RECIPE_CATEGORY), context_.app)) return false;
  ReadGeneral();
  context_.recipe.ComputeNutrition(lines_, context_.recipe.serves);
  return true;
}

void RecipeEditor::ReadGeneral() {
  Recipe& recipe = context_.recipe;
  recipe.instructions = ItemText(IDC_RECIPE_INSTRUCTIONS);
  recipe.custom = ItemText(IDC_RECIPE_CUSTOM);
  // A value outside the combos' ranges shows no entry and stays as it was.
  recipe.cookHours = static_cast<int32_t>(SelectedComboData(IDC_RECIPE_COOK_HOURS, recipe.cookHours));
  recipe.cookMinutes = static_cast<int32_t>(SelectedComboData(IDC_RECIPE_COOK_MINUTES, recipe.cookMinutes));
  recipe.prepHours = static_cast<int32_t>(SelectedComboData(IDC_RECIPE_PREP_HOURS, recipe.prepHours));
  recipe.prepMinutes = static_cast<int32_t>(SelectedComboData(IDC_RECIPE_PREP_MINUTES, recipe.prepMinutes));
  // An empty Serves field makes one serving: the values then describe the whole batch.
  const auto serves = static_cast<int32_t>(GetDlgItemInt(Dialog(), IDC_RECIPE_SERVES, nullptr, FALSE));
  recipe.serves = serves > 0 ? serves : 1;
  recipe.notOnIngredientList = !IsChecked(IDC_RECIPE_ON_LIST);
  recipe.name = ItemText(IDC_RECIPE_NAME);
  recipe.catId = CategoryBox::Read(Item(IDC_RECIPE_CATEGORY), context_.categories, context_.newCategory);
  DAVavador::ImportPicture(ItemText(IDC_RECIPE_PICTURE_PATH), context_.imagesFolder, recipe.picture,
                           context_.pictureUsers);
}
