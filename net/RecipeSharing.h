#pragma once
// Recipe upload and download for the Recipes view: one recipe posted to the vendor's web server, a
// search of the recipes others shared, and the background fetch of the chosen ones. The view owns
// the recipes; these functions only see what they are given and hand each fetched file back to
// the view's import.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "food/CalendarDate.h"
#include "net/ServerAddress.h"
#include "net/SharingWire.h"
#include "storage/Text.h"
#include "toolkit/ERDialog.h"

class CategoryList;
class ProgressWindow;
class Recipe;

// The files of the data folder that a transfer goes through.
extern const WChar kUploadFile[];    // "RecipeUpload.xml", deleted after the upload
extern const WChar kDownloadFile[];  // "RecipeDownload.xml", overwritten by each fetch

// RECIPELIST, RECIPES and the one RECIPE with its ingredients and category names embedded; no
// VIEW element.
bool WriteSharedRecipe(const WString& path, const Recipe& recipe, const CategoryList& recipeCategories,
                       const CategoryList& ingredientCategories);

enum class UploadResult {
  NotConnected,  // no Internet handle, connection or request: nothing is shown
  Failed,        // the send failed or the reply was not "    OK"
  Accepted,
  Cancelled,  // the user stopped it: nothing is shown
};
// Posts `document` (the text of a shared recipe document) to the upload page; `cancel` (a
// manual-reset event, or null) ends it once set.
UploadResult PostSharedRecipe(const ServerAddress& server, WStringView document, HANDLE cancel = nullptr);

// The Upload command for the one selected recipe: asks first, saves the document in `dataFolder`,
// posts its text behind a progress window whose Cancel ends it, tells how it went unless no
// connection was made or the user cancelled, and deletes the file.
void UploadRecipe(const DAVavador::ERApp& app, const ServerAddress& server, const Recipe& recipe,
                  const CategoryList& recipeCategories, const CategoryList& ingredientCategories,
                  const WString& dataFolder);

// The reply of a search address, every byte one character; empty when the server cannot be reached
// or the reply is larger than a list can be (kMaxListBytes).
WString FetchSearchReply(const WString& address);

// The "Download Recipes" dialog (resource 2450): search by category, name and start date, then
// move the recipes to fetch into the second list.
class RecipeDownloadDialog : public DAVavador::ERDialog {
 public:
  RecipeDownloadDialog(const DAVavador::ERApp& app, ServerAddress server,
                       const CategoryList& recipeCategories, const CalendarDate& lastDownload)
      : app_(app), server_(std::move(server)), categories_(recipeCategories), lastDownload_(lastDownload) {}

  // True when closed with "Download"; Chosen() then holds the server ids in list order.
  bool Run();
  const std::vector<int32_t>& Chosen() const { return chosen_; }

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnOK() override;
  // "Download", "Add" and "Remove" wait for a row to move.
  void DisableMoves() const;
  SearchSince ChosenSince() const;
  void Find();
  void AddRow(int list, const WString& name, int32_t id) const;
  // Moves the selected row of list `from` to list `to`.
  void MoveRow(int from, int to) const;
  void SelectionChanged(int list) const;

  const DAVavador::ERApp& app_;
  ServerAddress server_;
  const CategoryList& categories_;
  CalendarDate lastDownload_;
  std::vector<int32_t> chosen_;
};

// The background part of a download, run by the view's worker: each id in order is fetched from
// the download page into `localPath` and, when that worked, handed to `import` with its part of
// the progress bar (the n-th of N ends at n * 100 / (N + 1)). A failed fetch only moves the bar.
// Returns how many were imported.
using ImportFetched = std::function<void(int fromPercent, int toPercent)>;
size_t FetchSharedRecipes(const ServerAddress& server, const std::vector<int32_t>& ids,
                          const WString& localPath, ProgressWindow* window, const ImportFetched& import);
