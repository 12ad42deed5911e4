#pragma once
// Every setting that survives a restart, the options file that keeps them, and the data folder
// with the catalog paths derived from it. Reading, writing, comparing and deriving paths need only
// files; the default folder, the window placement, the dialog and the nutrient data offer are the
// Windows part.
#include <cstdint>
#include <vector>

#include "food/CalendarDate.h"
#include "storage/Text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace DAVavador {
class ERApp;
}

// The news pop-up setting ("Show Mirepan Messages") kept by the news service; the Options dialog
// shows it and hands a changed choice back.
class NewsPopupSetting {
 public:
  virtual ~NewsPopupSetting() = default;
  virtual bool NewsShown() const = 0;
  virtual void SetNewsShown(bool shown) = 0;
};

class Options {
 public:
  static constexpr int32_t kMinSplitter = 20;

  // Defaults, with `defaultFolder` as the data folder and the home of the options file.
  Options(const DAVavador::ERApp* app, const WString& defaultFolder);

  // The options file at `optionsPath`; a missing or unreadable file leaves every value as it is.
  bool Read();
  bool Write() const;
  // True when any setting differs: strings, toolbar, last download, numbers or flags.
  bool Differs(const Options& other) const;
  // Ends `baseFolder` with "\", composes the catalog and images paths and moves catalogs found
  // only in `programFolder` into the data folder.
  void DerivePaths(const WString& programFolder);

#ifdef _WIN32
  // Defaults with the system's per-user data folder (created when missing).
  explicit Options(const DAVavador::ERApp& app);
  static WString DefaultDataFolder(const DAVavador::ERApp& app);
  static WString ProgramFolder();  // the folder of the running executable, ending in "\"

  void DerivePaths() {
    DerivePaths(ProgramFolder());
  }
  // Keeps the window's position and size when the window lies wholly inside the work area.
  void RecordWindow(HWND window);
  // The Options dialog; true when confirmed (the paths are derived again then).
  bool RunDialog(NewsPopupSetting* news = nullptr);
  // Offers the first nutrient data file ("*.csv") in `programFolder` when it sorts after
  // `dbVersion`. Returns its full path when the user chose to upgrade; after Yes and No
  // `dbVersion` names it, after Cancel the question returns at the next start. Without `ask` (a
  // catalog without foods has nothing to upgrade) the answer is Yes.
  WString OfferNutrientData(const WString& programFolder = ProgramFolder(), bool ask = true);
  // That file's name, or empty when there is none newer than `dbVersion`.
  WString NutrientDataCandidate(const WString& programFolder) const;
#endif

  const DAVavador::ERApp* owner;
  WString baseFolder;
  WString dbVersion;
  WString optionsPath;
  WString font = TXT("Arial");
  WString diaryPath;
  WString ingredientsPath;
  WString ingredientImages;
  WString recipesPath;
  WString recipeImages;
  WString shopListPath;
  WString server;  // the vendor's web server as "host[:port]"; empty for the program's own
  std::vector<uint8_t> toolbarLayout = {0, 1, 2, 255, 15, 16, 17, 255, 11, 4};
  CalendarDate lastDownload{2000, 1, 1};
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t splitter = kMinSplitter;
  uint32_t curTab = 0;
  uint32_t margin = 0;
  bool autoBackup = true;
  bool displayPercent = false;
  bool printDetails = false;
  bool printFirst = true;
  bool printNutrition = true;
  bool printNutritionFull = false;
  bool printSelected = true;
  bool roundNumbers = true;
  bool showMessages = true;
  bool showStatus = true;
  bool track = true;
  bool reloadNow = false;
};
