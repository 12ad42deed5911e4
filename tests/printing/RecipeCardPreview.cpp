// Renders a page of index cards onto a Letter bitmap and saves it as PNG, for the documentation:
//   printing_preview.exe out.png
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include "PrintTestSupport.h"
#include "printing/GdiPrintSurface.h"
#include "toolkit/ERApp.h"

namespace {

Recipe Card(const WString& name, const WString& custom, std::initializer_list<const WChar*> lines,
            const WString& instructions) {
  Recipe recipe;
  recipe.name = name;
  recipe.custom = custom;
  for (const WChar* text : lines) {
    RecipeLine line;
    line.displayName = text;
    recipe.lines.push_back(line);
  }
  recipe.instructions = instructions;
  const double values[] = {320, 12.5, 4.2, 35, 410};
  for (uint32_t n = 0; n < 5; ++n) recipe.nutrients[n] = values[n];
  return recipe;
}

// A plain GDI page surface: page ends are counted by the layout alone.
class PreviewSurface : public GdiPrintSurface {
 public:
  using GdiPrintSurface::GdiPrintSurface;
  bool StartPage() override { return true; }
  bool EndPage() override { return true; }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  DAVavador::ERApp app(GetModuleHandleW(nullptr));
  print_test::LetterBitmap page;
  PrintSettings settings;
  const std::vector<Recipe> recipes = {
      Card(TXT("Tomato Soup"), TXT("A winter favourite"),
           {TXT("6 tomatoes"), TXT("1 onion"), TXT("2 cups stock"), TXT("1 tbsp butter"), TXT("salt")},
           TXT("Chop the onion and soften it in the butter. Add the tomatoes and the stock and simmer for "
               "twenty minutes.\r\nBlend until smooth and season with salt.")),
      Card(TXT("Lemon Cake"), WString(),
           {TXT("2 cups flour"), TXT("1 cup sugar"), TXT("3 eggs"), TXT("2 lemons")},
           TXT("Beat the eggs with the sugar. Fold in the flour and the grated lemon peel. Bake for forty "
               "minutes.")),
      Card(TXT("Bean Stew"), WString(), {TXT("2 cups beans"), TXT("1 carrot"), TXT("1 onion")},
           TXT("Soak the beans overnight. Cook them slowly with the vegetables until tender. Serve hot with "
               "bread.")),
  };
  std::vector<const Recipe*> list;
  for (const Recipe& recipe : recipes) list.push_back(&recipe);
  {
    PreviewSurface surface(page.Dc(), page.Device(), settings.font, false);
    RecipePrinter printer(surface, settings, LoadPrintTexts(app), NutrientFormat{}, WString());
    printer.PrintAll(list);
  }
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  Gdiplus::Status status;
  {
    Gdiplus::Bitmap bitmap(page.Bitmap(), nullptr);
    status = bitmap.Save(argv[1], &png, nullptr);
  }
  Gdiplus::GdiplusShutdown(token);
  return status == Gdiplus::Ok ? 0 : 1;
}
