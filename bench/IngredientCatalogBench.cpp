// Times a catalog view on a large catalog as the program holds it: reading the catalog file,
// filling the list and painting it, re-sorting (the same column reversed, then another column),
// two keystrokes in the find box and writing the file back, with the peak memory of the process.
// Windows program, run under Wine by bench.sh, one configuration a process so that each peak is
// its own (measured after the first run: the program reads its catalogs once). Arguments: "ingredients" or
// "recipes", the number of records, the number of runs; prints one row of the table bench.sh heads (the
// median of the runs, in milliseconds).
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/Options.h"
#include "food/CategoryList.h"
#include "food/Food.h"
#include "food/Recipe.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/XMLDoc.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERStatusBar.h"
#include "toolkit/ERTabWin.h"
#include "toolkit/ERToolbar.h"
#include "views/IngredientList/IngredientList.h"
#include "views/RecipeList/RecipeList.h"

namespace {

constexpr uint32_t kCategories = 20;
constexpr int kRecipeIngredients = 2000;  // the catalog under the recipes
constexpr int kLinesPerRecipe = 8;

WString Number(int n) {
  return FromAscii(std::to_string(n));
}

CategoryList Categories() {
  CategoryList categories;
  for (uint32_t c = 1; c <= kCategories; ++c) categories.Add(TXT("Category ") + Number(c), c);
  return categories;
}

// An ingredient as a user's catalog holds them: a serving, ounces, a dozen nutrients and every
// tenth with a picture; names in a scattered order.
Ingredient MakeIngredient(int r) {
  Ingredient food;
  food.catId = 1 + static_cast<uint32_t>(r) % kCategories;
  food.foodId = kCategories + 1 + static_cast<uint32_t>(r);
  food.name = TXT("Cheese & crackers, ") + Number(r * 7919 % 1000003);
  if (r % 10 == 0) food.picture = TXT("food.jpg");
  food.size = 1 + r % 4 * 0.25;
  food.type = static_cast<ServingUnit>(r % kUnitCount);
  food.ounces = 3.5274 * (1 + r % 5);
  for (uint32_t n = 0; n < Nutrient::kCount; n += 2) food.nutrients[n] = (r + 1) * (n + 1) / 7.0;
  return food;
}

void WriteIngredients(const WString& path, int count) {
  XMLDoc doc;
  doc.StreamTo(path);
  doc.OpenElement(TXT("INGREDIENTLIST"));
  doc.OpenElement(TXT("VIEW"));
  Categories().Save(doc);
  doc.CloseElement();
  doc.OpenElement(TXT("INGREDIENTS"));
  for (int r = 0; r < count; ++r) WriteFood(doc, MakeIngredient(r));
  doc.CloseElement();
  doc.CloseElement();
  doc.Save(path);
}

void WriteRecipes(const WString& path, int count) {
  std::vector<Ingredient> foods;
  for (int r = 0; r < kRecipeIngredients; ++r) foods.push_back(MakeIngredient(r));
  const CategoryList categories = Categories();
  XMLDoc doc;
  doc.StreamTo(path);
  doc.OpenElement(TXT("RECIPELIST"));
  doc.OpenElement(TXT("VIEW"));
  categories.Save(doc);
  doc.CloseElement();
  doc.OpenElement(TXT("RECIPES"));
  for (int r = 0; r < count; ++r) {
    Recipe recipe;
    recipe.catId = 1 + static_cast<uint32_t>(r) % kCategories;
    recipe.foodId = kCategories + 1 + static_cast<uint32_t>(r);
    recipe.name = TXT("Stew with lentils, ") + Number(r * 7919 % 1000003);
    recipe.instructions = TXT("Simmer everything for an hour, stirring now and then.");
    std::vector<RecipeLine> lines;
    for (int l = 0; l < kLinesPerRecipe; ++l) {
      RecipeLine line;
      line.amount = 1 + l % 3;
      line.ingredient = &foods[static_cast<size_t>((r * 13 + l * 101) % kRecipeIngredients)];
      lines.push_back(line);
    }
    recipe.ComputeNutrition(lines, 4);
    recipe.WriteRecipeElement(doc, false, categories, categories);
  }
  doc.CloseElement();
  doc.CloseElement();
  doc.Save(path);
}

double Milliseconds(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The view in a shown main window of its own, as the program holds it.
struct Host {
  DAVavador::ERApp app{GetModuleHandleW(nullptr)};
  HWND main = nullptr;
  DAVavador::ERTabWin tabs;
  DAVavador::ERStatusBar status{{25, 50, 25}};
  DAVavador::ERToolbar toolbar;

  Host() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MirepanCatalogBench";
    RegisterClassW(&windowClass);
    main = CreateWindowW(L"MirepanCatalogBench", L"Mirepan", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
    app.SetMainWindow(main);
    tabs.CreateAt(main, IDC_TABS, 10, 45, 760, 520);
    status.Create(main, IDC_STATUS, true);
    toolbar.Create(main, IDC_TOOLBAR);
    ShowWindow(main, SW_SHOW);
  }
  ~Host() { DestroyWindow(main); }

  void Show(View& view) const {
    view.InstallMenu();
    view.Layout(RECT{4, 28, 740, 500}, RECT{780, 45, 880, 145});
  }
};

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

struct Times {
  std::vector<double> load, fill, reverse, other, find1, find2, save;
};

// Types `text` into the view's find box as a keystroke does, and paints the list.
double Keystroke(Host& host, View& view, const wchar_t* text) {
  const HWND find = view.FindBox();
  return Milliseconds([&] {
    SetWindowTextW(find, text);
    view.HandleCommand(MAKEWPARAM(IDC_VIEW_FIND, EN_CHANGE), reinterpret_cast<LPARAM>(find), nullptr);
    UpdateWindow(view.List().Window());
  });
}

// One run over the view: the catalog file is read, listed and painted, sorted, searched, saved.
template <class Load>
void Run(Host& host, View& view, const Load& load, Times& times) {
  times.load.push_back(Milliseconds(load));
  view.BuildColumns();
  times.fill.push_back(Milliseconds([&] {
    view.FillList();
    UpdateWindow(view.List().Window());
  }));
  times.reverse.push_back(Milliseconds([&] {
    view.SortByColumn(0);
    UpdateWindow(view.List().Window());
  }));
  times.other.push_back(Milliseconds([&] {
    view.SortByColumn(2);
    UpdateWindow(view.List().Window());
  }));
  times.find1.push_back(Keystroke(host, view, L"9"));
  times.find2.push_back(Keystroke(host, view, L"99"));
  Keystroke(host, view, L"");
  view.SortByColumn(0);
  times.save.push_back(Milliseconds([&] { view.Save(); }));
}

}  // namespace

int main(int argc, char** argv) {
  const bool recipes = argc > 1 && std::strcmp(argv[1], "recipes") == 0;
  const int count = std::max(1, argc > 2 ? std::atoi(argv[2]) : 100000);
  const int runs = std::max(1, argc > 3 ? std::atoi(argv[3]) : 3);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const WString folder = WString(temp) + TXT("mirepan-catalog-bench\\");
  CreateFolders(folder, false);
  const WString ingredientsFile = folder + TXT("Ingredients.xml");
  const WString recipesFile = folder + TXT("Recipes.xml");
  WriteIngredients(ingredientsFile, recipes ? kRecipeIngredients : count);
  if (recipes) WriteRecipes(recipesFile, count);

  Host host;
  Options options(&host.app, folder);
  IngredientList ingredients(host.app, host.status, host.toolbar, options);
  RecipeList recipeList(host.app, host.status, host.toolbar, options, ingredients);
  View& view = recipes ? static_cast<View&>(recipeList) : ingredients;
  if (!ingredients.Create(host.tabs.Window(), IDM_MAIN_INGREDIENTS, IDM_POPUP_INGREDIENTS) ||
      !recipeList.Create(host.tabs.Window(), IDM_MAIN_RECIPES, IDM_POPUP_RECIPES)) {
    std::fprintf(stderr, "the views cannot be created\n");
    return 1;
  }
  host.Show(view);
  if (recipes) ingredients.OpenCatalog(ingredientsFile, false, 0, 100, nullptr);
  Times times;
  double peak = 0;  // after the first run: the program reads its catalog once
  for (int run = 0; run < runs; ++run) {
    view.Clear();
    bool read = false;
    const WString& file = recipes ? recipesFile : ingredientsFile;
    Run(
        host, view, [&] { read = view.OpenCatalog(file, false, 0, 100, nullptr); }, times);
    const size_t held = recipes ? recipeList.Records().size() : ingredients.Records().size();
    if (!read || held != static_cast<size_t>(count) || view.List().ItemCount() != count) {
      std::fprintf(stderr, "the catalog read back %zu records, %d rows\n", held, view.List().ItemCount());
      return 1;
    }
    if (run == 0) peak = PeakMegabytes();
  }
  const double loadAndFill = Median(times.load) + Median(times.fill);
  std::printf("| %-7s %-11s | %7.0f | %10.0f | %10.0f | %8.0f | %8.0f | %8.0f | %8.0f | %6.0f | %7.0f |\n",
              std::to_string(count).c_str(), recipes ? "recipes" : "ingredients", Median(times.load),
              Median(times.fill), loadAndFill, Median(times.reverse), Median(times.other),
              Median(times.find1), Median(times.find2), Median(times.save), peak);
  DeleteFileAt(ingredientsFile);
  DeleteFileAt(recipesFile);
  RemoveDirectoryW(folder.c_str());
  return 0;
}
