// Times the Ingredients view on a catalog of 50,000 ingredients in 20 categories: reading
// Ingredients.xml, filling the list view (behind its progress window, as the program does) and
// writing the file back. Windows program, run under Wine by bench.sh; prints one line per step
// with the best and the median of the runs. Arguments: the number of runs (default 3) and of
// ingredients (default 50,000).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/Options.h"
#include "food/CategoryList.h"
#include "food/Food.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/XMLDoc.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERStatusBar.h"
#include "toolkit/ERTabWin.h"
#include "toolkit/ERToolbar.h"
#include "views/IngredientList/IngredientList.h"

namespace {

int records = 50000;
constexpr uint32_t kCategories = 20;

// The catalog file as the program writes it: the categories in the view settings, then the records
// with a serving, ounces, a dozen nutrients and every tenth with a picture name.
void WriteCatalog(const WString& path) {
  CategoryList categories;
  for (uint32_t c = 1; c <= kCategories; ++c)
    categories.Add(TXT("Category ") + FromAscii(std::to_string(c)), c);
  XMLDoc doc;
  doc.OpenElement(TXT("INGREDIENTLIST"));
  doc.OpenElement(TXT("VIEW"));
  categories.Save(doc);
  doc.CloseElement();
  doc.OpenElement(TXT("INGREDIENTS"));
  for (int r = 0; r < records; ++r) {
    Ingredient food;
    food.catId = 1 + static_cast<uint32_t>(r) % kCategories;
    food.foodId = kCategories + 1 + static_cast<uint32_t>(r);
    food.name = TXT("Cheese & crackers, ") + FromAscii(std::to_string(r));
    if (r % 10 == 0) food.picture = TXT("food.jpg");
    food.size = 1 + r % 4 * 0.25;
    food.type = static_cast<ServingUnit>(r % kUnitCount);
    food.ounces = 3.5274 * (1 + r % 5);
    for (uint32_t n = 0; n < Nutrient::kCount; n += 2) food.nutrients[n] = (r + 1) * (n + 1) / 7.0;
    WriteFood(doc, food);
  }
  doc.CloseElement();
  doc.CloseElement();
  doc.Save(path);
}

double Seconds(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* step, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-34s best %8.3f s   median %8.3f s\n", step, times.front(), times[times.size() / 2]);
}

// The view in a main window of its own, as the program holds it.
struct Host {
  DAVavador::ERApp app{GetModuleHandleW(nullptr)};
  HWND main = nullptr;
  DAVavador::ERTabWin tabs;
  DAVavador::ERStatusBar status{{25, 50, 25}};
  DAVavador::ERToolbar toolbar;

  explicit Host() {
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
  }
  ~Host() { DestroyWindow(main); }
};

// The same number of three-column rows put into a bare list view, from this thread and from a
// worker (each message then a round trip to this thread): what the control itself costs.
double BareFill(HWND parent, bool fromWorker) {
  DAVavador::ERListView list;
  list.CreateAt(parent, 3999, 0, 0, 400, 300);
  for (int c = 0; c < 3; ++c)
    list.InsertColumn(c, TXT("Column"), 100, LVCFMT_LEFT, DAVavador::SortKind::Text);
  const auto fill = [&list] {
    list.SetRedraw(false);
    for (int r = 0; r < records; ++r) {
      const int row = list.InsertItem(r, TXT("Cheese & crackers"), r);
      list.SetItemText(row, 1, TXT("1  cup"));
      list.SetItemText(row, 2, TXT("123.5"));
    }
    list.SetRedraw(true);
  };
  if (!fromWorker) return Seconds(fill);
  return Seconds([&] {
    struct Work {
      std::function<void()> fill;
      static DWORD WINAPI Run(void* work) {
        static_cast<Work*>(work)->fill();
        return 0;
      }
    } work{fill};
    HANDLE thread = CreateThread(nullptr, 0, &Work::Run, &work, 0, nullptr);
    // Serves the worker's messages until it is done.
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    CloseHandle(thread);
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 3);
  if (argc > 2) records = std::max(1, std::atoi(argv[2]));
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const WString folder = WString(temp) + TXT("mirepan-catalog-bench\\");
  CreateFolders(folder, false);
  const WString catalog = folder + TXT("Ingredients.xml");
  std::vector<double> written, loaded, filled, sorted, saved;
  written.push_back(Seconds([&] { WriteCatalog(catalog); }));

  Host host;
  Options options(&host.app, folder);
  IngredientList view(host.app, host.status, host.toolbar, options);
  if (!view.Create(host.tabs.Window(), IDM_MAIN_INGREDIENTS, IDM_POPUP_INGREDIENTS)) {
    std::fprintf(stderr, "the view cannot be created\n");
    return 1;
  }
  for (int run = 0; run < runs; ++run) {
    view.Clear();
    bool read = false;
    loaded.push_back(Seconds([&] { read = view.OpenCatalog(catalog, false, 0, 100, nullptr); }));
    if (!read || view.Records().size() != static_cast<size_t>(records)) {
      std::fprintf(stderr, "the catalog read back %zu records\n", view.Records().size());
      return 1;
    }
    view.BuildColumns();
    filled.push_back(Seconds([&] { view.FillList(); }));
    sorted.push_back(Seconds([&] { view.List().Sort(0, true); }));
    saved.push_back(Seconds([&] { view.Save(); }));
  }
  const double bare = BareFill(host.main, false);
  const double bareWorker = BareFill(host.main, true);
  std::printf("%d ingredients in %u categories, %d runs\n", records, kCategories, runs);
  Report("write the catalog (XMLDoc)", written);
  Report("load Ingredients.xml", loaded);
  Report("fill the list view (progress)", filled);
  Report("sort the filled list by name", sorted);
  Report("save Ingredients.xml", saved);
  std::printf("list rows %d\n", view.List().ItemCount());
  std::printf("bare list view, same rows: %.3f s from the interface thread, %.3f s from a worker\n", bare,
              bareWorker);
  DeleteFileAt(catalog);
  RemoveDirectoryW(folder.c_str());
  return 0;
}
