#pragma once
// The ingredient editor: the tabbed dialog 2701 in which one food record is created, changed or
// only looked at. It always works on the caller's copy; the caller commits the copy on OK.
#include <windows.h>

#include "food/Food.h"
#include "food/Nutrients.h"
#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/PictureImport.h"
#include "views/CategoryBox.h"
#include "views/Charts/NutritionCharts.h"

class CategoryList;

class IngredientEditor {
 public:
  enum Mode : unsigned {
    kEdit = 0,
    kDiary = 1,     // the record holds diary totals: no serving, no picture, "Food Diary:" label
    kViewOnly = 2,  // nothing can be changed; only "Done" closes the dialog; the charts come first
  };

  struct Context {
    DAVavador::ERApp& app;
    CategoryList& categories;  // the catalog's categories for combo 2738
    Food& record;              // the caller's copy
    NutrientFormat format;     // the options' DISPLAYPERCENT and ROUNDNUMBERS
    WString imagesFolder;
    // Whether a replaced picture is still named elsewhere; without it replaced pictures are kept.
    const DAVavador::PictureUsers* pictureUsers = nullptr;
    // View-only: the record's values cover this many days (the chart shows one day's average),
    // and for a diary period the trend of a nutrient over its days.
    int32_t days = 1;
    NutritionCharts::TrendOf trend;
    // Makes the category of a name typed into the category box on OK.
    CategoryBox::Create newCategory;
  };

  // Runs the dialog modally over `owner`; true when it ended with OK.
  static bool Open(HWND owner, const Context& context, unsigned modes);
};
