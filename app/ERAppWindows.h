#pragma once
// The application object of the running program: it owns the main window's children, the four
// catalog views and the options, runs the startup and shutdown sequences, lays the window out and
// routes every menu, accelerator and toolbar command to the current view or to the shell.
#include <windows.h>

#include <array>
#include <memory>

#include "app/Options.h"
#include "app/ProgressWindow.h"
#include "net/NewsPopup.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERSplitter.h"
#include "toolkit/ERStatusBar.h"
#include "toolkit/ERTabWin.h"
#include "toolkit/ERToolbar.h"
#include "toolkit/ScopedHandle.h"
#include "views/View.h"

namespace DAVavador {

class ERAppWindows : public ERApp {
 public:
  static constexpr UINT_PTR kStartTimer = 9000;
  static constexpr UINT kStartTimerPeriod = 25;
  static constexpr int kTabCount = 4;
  static constexpr int kToolbarButtonCount = 21;

  ERAppWindows(HINSTANCE instance, HWND mainWindow);
  // Releases the single-instance mutex, stops the start timer and destroys the main window.
  ~ERAppWindows() override;

  // The startup sequence inside WM_CREATE; false makes the window creation fail.
  bool Start();
  // WM_CLOSE before the object is destroyed: writes changed options and modified catalogs.
  // False when a catalog could not be saved and the user chose to stay.
  bool Shutdown();
  // The main window procedure's messages; false leaves the message to DefWindowProcW.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // F1 in a dialog: its page of the help file.
  void ShowDialogHelp(int dialogId) const override;

 private:
  bool ClaimSingleInstance();
  void BringRunningWindowForward() const;
  void ApplyCommandLine();
  bool CreateWindows();
  bool LoadCatalogs();
  static DWORD WINAPI LoadCatalogsWorker(void* arg);
  void ReportLoadProblems() const;
  void ReopenHeldCatalogs();
  bool SaveAtExit(View& view);
  void SetUpToolbar();
  void OnFirstTick();
  // The update check and the news pop-up fetch from the server of the options file, or the
  // program's own.
  UpdateSite Site() const;
  void CheckForUpdateNow();

  View& Current() const { return *views[options.curTab % kTabCount]; }
  HMENU MainMenu() const { return GetMenu(MainWindow()); }
  void SelectTab(int index);
  void ShowCurrentView();
  void Layout();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void RecordPlacement();
  void Paint();
  bool OnNotify(const NMHDR* header, LRESULT& result);
  bool OnCommand(WPARAM wp, LPARAM lp);
  bool RunViewCommand(int command);
  void RunAbout();
  void RunOptions();
  void RunCustomizeToolbar();
  // The current tab's page of the help file; any page of it.
  void ShowHelp() const;
  void OpenHelpPage(const wchar_t* page) const;
  void OpenAddress(UINT stringId) const;
  static void OnSplitterDrop(void* arg, int x);
  static bool ForwardTabCommand(void* arg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK TabSubclass(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);

  ProgressWindow progress;
  DAVavador::ERSplitter splitter;
  DAVavador::ERStatusBar statusBar;
  DAVavador::ERTabWin tabs;
  DAVavador::ERToolbar toolbar;
  std::array<std::unique_ptr<View>, kTabCount> views;  // IngredientList, RecipeList, Diary, ShopList
  DAVavador::ScopedHandle instanceMutex;
  Options options;
  Options savedOptions;
  std::unique_ptr<NewsPopup> news;  // made at startup; the Options dialog shows its setting
  bool started = false;
  mutable WString helpFile;  // written for the first help asked for in this run
};

}  // namespace DAVavador
