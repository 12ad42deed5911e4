#pragma once
// Dialog 2500, "Export Ingredients": the export file, the category, all data or the displayed
// columns, pictures and Unicode. Radio buttons and "Preserve Unicode" apply to CSV files only.
#include <windows.h>

#include <cstdint>

#include "resources/resource.h"
#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

class CategoryList;

// "Comma Separated Value Files (*.csv)|*.csv|XML Files (*.xml)|*.xml" from the string table.
WString ExchangeFilter(const DAVavador::ERApp& app);
// An export file the user may write: it is named, and new or agreed to be written over.
bool ExportPathAccepted(const DAVavador::ERApp& app, const WString& path);

struct ExportChoices {
  WString path;
  uint32_t categoryId = 0;
  bool allData = true;
  bool pictures = true;
  bool preserveUnicode = false;
  // The recipes' export: its caption and browse title, and the "Export Ingredients" choice,
  // which applies to XML files only.
  bool offerIngredients = false;
  bool ingredients = false;
  UINT captionId = 0;  // 0 keeps the resource's caption
  UINT browseTitleId = IDS_INGREDIENT_EXPORT_TITLE;
};

class ExportDialog : private DAVavador::ERDialog {
 public:
  ExportDialog(const DAVavador::ERApp& app, const CategoryList& categories)
      : app_(app), categories_(categories) {}

  // Runs the dialog preset from `choices`; true on OK with the user's choices in it.
  bool Run(ExportChoices& choices);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnOK() override;
  void OnPathChanged() const;
  void Browse() const;

  const DAVavador::ERApp& app_;
  const CategoryList& categories_;
  ExportChoices choices_;
};
