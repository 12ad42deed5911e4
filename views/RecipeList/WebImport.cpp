#include "views/RecipeList/WebImport.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "app/ProgressWindow.h"
#include "food/CategoryList.h"
#include "food/NumberText.h"
#include "food/Units.h"
#include "net/ERXferHTTP.h"
#include "net/TransferWindow.h"
#include "resources/resource.h"
#include "storage/Csv.h"
#include "storage/Files.h"
#include "storage/UserPrompts.h"
#include "storage/XMLDoc.h"
#include "toolkit/ERDialog.h"
#include "views/IngredientList/IngredientList.h"

using DAVavador::ERDialog;

namespace {

constexpr uint32_t kMaxPageBytes = 10 * 1024 * 1024;

bool IsWebAddress(const WString& address) {
  return address.rfind(L"http://", 0) == 0 || address.rfind(L"https://", 0) == 0;
}

// The transfer's base (up to the last "/" of the path) and file (the rest, with the query).
std::pair<WString, WString> SplitAddress(const WString& address) {
  const size_t hostStart = address.find(L"://") + 3;
  const size_t query = address.find_first_of(L"?#", hostStart);
  const size_t slash = address.rfind(L'/', query == WString::npos ? WString::npos : query - 1);
  if (slash == WString::npos || slash < hostStart) return {address + L"/", WString()};
  return {address.substr(0, slash + 1), address.substr(slash + 1)};
}

// A transfer of `address` into `path`, at most 10 MB, over TLS for https://.
void Aim(DAVavador::ERXferHTTP& transfer, const WString& file, const WString& address, const WString& path) {
  transfer.SetRequest(file, path);
  transfer.Request().secure = address.rfind(L"https://", 0) == 0;
  transfer.Request().maxBytes = kMaxPageBytes;
}

// ---- the address dialog ----

class AddressDialog : public ERDialog {
 public:
  explicit AddressDialog(const DAVavador::ERApp& app) : app_(app) {}

  std::optional<WString> Run(HWND owner) {
    if (RunModal(app_, IDD_WEB_ADDRESS, owner) != IDOK) return std::nullopt;
    return address_;
  }

 private:
  bool OnCommand(int id, int) override {
    if (id != IDC_WEB_BROWSE) return false;
    if (const auto path =
            ChooseOpenFile(Dialog(), app_.String(IDS_WEB_BROWSE_TITLE),
                           app_.String(IDS_WEB_HTML_FILES) + L"|*.html;*.htm", L"html", WString()))
      SetItemText(IDC_WEB_ADDRESS, *path);
    return true;
  }

  bool OnOK() override {
    address_ = ItemText(IDC_WEB_ADDRESS);
    return !address_.empty();
  }

  const DAVavador::ERApp& app_;
  WString address_;
};

}  // namespace

std::optional<WString> AskForPage(const DAVavador::ERApp& app, HWND owner) {
  return AddressDialog(app).Run(owner);
}

// ---- reading the page ----

std::optional<std::string> ReadPage(const DAVavador::ERApp& app, ProgressWindow& progress,
                                    const WString& address, const WString& scratchPath) {
  const auto fail = [&](UINT text) -> std::optional<std::string> {
    app.ShowMessage(app.String(text) + address, MB_OK | MB_ICONWARNING);
    return std::nullopt;
  };
  WString path = address;
  if (IsWebAddress(address)) {
    const auto [base, file] = SplitAddress(address);
    DAVavador::ERXferHTTP transfer(base);
    Aim(transfer, file, address, scratchPath);
    DAVavador::TransferWindow window(progress);
    if (!transfer.RunWithWindow(window, app.MainWindow(), IDS_WEB_FETCHING)) {
      if (transfer.Request().cancelled) return std::nullopt;
      return fail(transfer.Request().error == ERROR_FILE_TOO_LARGE ? IDS_WEB_TOO_LARGE : IDS_WEB_NOT_FETCHED);
    }
    path = scratchPath;
  }
  std::string bytes;
  const bool read = ReadFileBytes(path, bytes);
  if (path == scratchPath) DeleteFileAt(scratchPath);
  if (!read) return fail(IDS_WEB_NOT_FETCHED);
  if (bytes.size() > kMaxPageBytes) return fail(IDS_WEB_TOO_LARGE);
  return bytes;
}

bool FetchPicture(const WString& address, const WString& path) {
  if (!IsWebAddress(address)) return false;
  const auto [base, file] = SplitAddress(address);
  DAVavador::ERXferHTTP transfer(base);
  Aim(transfer, file, address, path);
  transfer.Request().reportProgress = false;
  return transfer.Download(transfer.Request(), nullptr, 0, 100) == 0;
}

// ---- the review dialog ----

namespace {

class ReviewDialog : public ERDialog {
 public:
  ReviewDialog(DAVavador::ERApp& app, IngredientList& catalog, const CategoryList& categories, View* recipes,
               ReviewedRecipe& recipe)
      : app_(app), catalog_(catalog), categories_(categories), recipes_(recipes), recipe_(recipe) {}

  bool Run(HWND owner) { return RunModal(app_, IDD_RECIPE_REVIEW, owner) == IDOK; }

 private:
  bool OnNotify(const NMHDR& header, LRESULT&) override {
    if (header.idFrom == IDC_REVIEW_LINES && header.code == LVN_ITEMCHANGED) TakeSelected();
    return false;
  }

  bool OnInit() override {
    SetItemText(IDC_REVIEW_NAME, recipe_.read.name);
    // A batch ("1 loaf") tells no servings: the box stays empty and the line beside it asks.
    const bool asked = !recipe_.read.batchYield.empty();
    SetItemText(IDC_REVIEW_SERVES, asked ? WString() : std::to_wstring(recipe_.read.serves));
    if (asked)
      SetItemText(IDC_REVIEW_YIELD, app_.String(IDS_REVIEW_YIELD) + recipe_.read.batchYield +
                                        app_.String(IDS_REVIEW_YIELD_END));
    // The category is typed or picked by name: a new name makes a new category.
    FillCombo(IDC_REVIEW_CATEGORY, categories_.Entries());
    SetItemText(IDC_REVIEW_CATEGORY, recipe_.category);
    FillCombo(IDC_REVIEW_UNIT, UnitNames());
    const HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    const int widths[] = {250, 60, 80, 230};
    for (int column = 0; column < 4; ++column) {
      const WString caption = app_.String(IDS_REVIEW_COLUMNS + column);
      LVCOLUMNW entry = {LVCF_TEXT | LVCF_WIDTH};
      entry.pszText = const_cast<wchar_t*>(caption.c_str());
      entry.cx = widths[column];
      ListView_InsertColumn(list, column, &entry);
    }
    for (size_t row = 0; row < recipe_.lines.size(); ++row) {
      LVITEMW item = {LVIF_TEXT};
      item.iItem = static_cast<int>(row);
      item.pszText = const_cast<wchar_t*>(L"");
      ListView_InsertItem(list, &item);
      ShowLine(static_cast<int>(row));
    }
    ShowCalories();
    if (!asked) return true;
    SetFocus(Item(IDC_REVIEW_SERVES));
    return false;
  }

  int32_t Serves() const { return ParseInt(ItemText(IDC_REVIEW_SERVES).c_str()); }

  // The calories per serving the kept lines come to, as the import stores them, beside the page's.
  void ShowCalories() {
    const Recipe computed = ImportedNutrition(recipe_.lines, std::max(1, Serves()));
    WString text = app_.String(IDS_REVIEW_CALORIES) +
                   std::to_wstring(std::lround(computed.nutrients[Nutrient::kCalories]));
    if (recipe_.read.statedCalories > 0)
      text += app_.String(IDS_REVIEW_STATED) + std::to_wstring(std::lround(recipe_.read.statedCalories));
    SetItemText(IDC_REVIEW_CALORIES, text);
  }

  HWND List() const { return Item(IDC_REVIEW_LINES); }
  int Selected() const { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }

  void ShowLine(int row) {
    const ReviewLine& line = recipe_.lines[row];
    WString amount, unit, ingredient;
    if (!line.read.isHeading) {
      AppendReal(amount, line.read.amount);
      if (const WString* name = UnitNames().NameById(line.read.unit)) unit = *name;
      ingredient = line.Kept()
                       ? line.ingredient->name
                       : (line.ingredient && !line.leftOut ? line.ingredient->name + L" " : WString()) +
                             app_.String(IDS_REVIEW_LEFT_OUT);
    }
    const WString cells[] = {line.read.original, amount, unit, ingredient};
    for (int column = 0; column < 4; ++column)
      ListView_SetItemText(List(), row, column, const_cast<wchar_t*>(cells[column].c_str()));
  }

  // The selected line's amount and unit go into the controls below the list.
  void TakeSelected() {
    const int row = Selected();
    if (row < 0) return;
    WString amount;
    AppendReal(amount, recipe_.lines[row].read.amount);
    SetItemText(IDC_REVIEW_AMOUNT, amount);
    SelectComboData(IDC_REVIEW_UNIT, static_cast<LPARAM>(recipe_.lines[row].read.unit));
  }

  bool OnCommand(int id, int code) override {
    if (id == IDC_REVIEW_SERVES) {
      if (code == EN_CHANGE) ShowCalories();
      return code == EN_CHANGE;
    }
    const int row = Selected();
    switch (id) {
      case IDC_REVIEW_CHANGE:
        if (row >= 0) Change(recipe_.lines[row]);
        break;
      case IDC_REVIEW_FIND:
        if (row >= 0)
          Choose(recipe_.lines[row], catalog_.FindIngredient(Dialog(), recipe_.lines[row].read.name));
        break;
      case IDC_REVIEW_NEW:
        if (row >= 0) Choose(recipe_.lines[row], catalog_.AddItem(recipes_));
        break;
      case IDC_REVIEW_LEAVE_OUT:
        if (row >= 0) recipe_.lines[row].leftOut = !recipe_.lines[row].leftOut;
        break;
      default:
        return false;
    }
    if (row >= 0) ShowLine(row);
    ShowCalories();
    return true;
  }

  void Change(ReviewLine& line) {
    line.read.amount = ParseReal(ItemText(IDC_REVIEW_AMOUNT).c_str());
    line.read.unit = static_cast<ServingUnit>(SelectedComboData(IDC_REVIEW_UNIT, line.read.unit));
  }

  void Choose(ReviewLine& line, uint32_t foodId) {
    if (Ingredient* chosen = foodId ? catalog_.FindById(foodId) : nullptr) {
      line.ingredient = chosen;
      line.leftOut = false;
    }
  }

  bool OnOK() override {
    recipe_.read.name = ItemText(IDC_REVIEW_NAME);
    if (recipe_.read.name.empty()) {
      app_.ShowMessage(app_.String(IDS_REVIEW_NO_NAME), MB_OK | MB_ICONINFORMATION);
      return false;
    }
    if (Serves() < 1 && !recipe_.read.batchYield.empty()) {
      app_.ShowMessage(app_.String(IDS_REVIEW_NO_SERVES), MB_OK | MB_ICONINFORMATION);
      return false;
    }
    recipe_.read.serves = std::max(1, Serves());
    recipe_.category = ItemText(IDC_REVIEW_CATEGORY);
    return true;
  }

  DAVavador::ERApp& app_;
  IngredientList& catalog_;
  const CategoryList& categories_;
  View* recipes_;
  ReviewedRecipe& recipe_;
};

}  // namespace

bool ReviewRecipe(DAVavador::ERApp& app, HWND owner, IngredientList& catalog, const CategoryList& categories,
                  View* recipes, ReviewedRecipe& recipe) {
  return ReviewDialog(app, catalog, categories, recipes, recipe).Run(owner);
}
