#pragma once
// A real main window with a tab control, status bar and toolbar, and a test view created inside
// the tab control; prompts answered from a script; modal dialogs driven by scripts that run once
// the dialog shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "TestView.h"
#include "app/DataLockGuard.h"
#include "app/Options.h"
#include "storage/StorageTestSupport.h"
#include "support/DialogDriver.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERStatusBar.h"
#include "toolkit/ERTabWin.h"
#include "toolkit/ERToolbar.h"
#include "toolkit/WindowText.h"

namespace view_test {

// Runs a script in each modal dialog of a given resource as soon as its message loop runs, and
// counts the dialogs that opened. Installed while it lives.
class DialogScripts : public DAVavador::DialogObserver {
 public:
  using Script = std::function<void(HWND dialog)>;

  DialogScripts() { DAVavador::ERApp::SetDialogObserver(this); }
  ~DialogScripts() override { DAVavador::ERApp::SetDialogObserver(nullptr); }

  void On(int dialogId, Script script) { scripts_[dialogId] = std::move(script); }
  // The same with a driver of the dialog.
  void Drive(int dialogId, std::function<void(const test_support::DialogDriver&)> script) {
    On(dialogId, [script = std::move(script)](HWND dialog) { script(test_support::DialogDriver(dialog)); });
  }
  int Opened(int dialogId) const {
    const auto found = opened_.find(dialogId);
    return found == opened_.end() ? 0 : found->second;
  }

  void OnDialogInit(int dialogId, HWND dialog) override {
    ++opened_[dialogId];
    const auto found = scripts_.find(dialogId);
    if (found == scripts_.end()) return;
    pending_ = found->second;
    SetTimer(dialog, kTimer, 10, &DialogScripts::RunPending);
  }

 private:
  static constexpr UINT_PTR kTimer = 0x7E57;
  // Waits for the modal loop to show the dialog, then runs the script once.
  static void CALLBACK RunPending(HWND dialog, UINT, UINT_PTR id, DWORD) {
    if (!IsWindowVisible(dialog)) return;
    KillTimer(dialog, id);
    Script script = std::move(pending_);
    pending_ = nullptr;
    if (script) script(dialog);
  }

  static inline Script pending_;
  std::map<int, Script> scripts_;
  std::map<int, int> opened_;
};

using DAVavador::WindowText;

using storage_test::FileText;
using storage_test::WriteText;

// The texts of the questions asked so far.
inline std::vector<WString> Asked(const storage_test::ScriptedPrompts& prompts) {
  std::vector<WString> texts;
  for (const auto& question : prompts.questions) texts.push_back(question.text);
  return texts;
}

// Question `index` as text, caption and style; empty when fewer were asked.
inline std::tuple<WString, WString, unsigned> Question(const storage_test::ScriptedPrompts& prompts,
                                                       size_t index) {
  if (index >= prompts.questions.size()) return {};
  const auto& question = prompts.questions[index];
  return {question.text, question.caption, question.style};
}

// The texts of a list view's column `position`, row by row.
inline std::vector<WString> ListTexts(const DAVavador::ERListView& list, int position = 0) {
  std::vector<WString> texts;
  for (int row = 0; row < list.ItemCount(); ++row) texts.push_back(list.ItemText(row, position));
  return texts;
}

// How often `part` stands in `text`.
inline size_t Occurrences(const WString& text, const WString& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != WString::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

inline bool Greyed(HMENU menu, UINT command) {
  return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

// Waits up to five seconds for `done`, which is asked under the data lock, for background saves.
inline bool WaitUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 500; ++i) {
    {
      DataLockGuard lock;
      if (done()) return true;
    }
    Sleep(10);
  }
  return false;
}

class ViewTest : public ::testing::Test {
 protected:
  static constexpr int kTabsWidth = 760;
  static constexpr int kTabsHeight = 520;

  ViewTest() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MirepanViewTest";
    RegisterClassW(&windowClass);
    // Hidden: under Wine without a window manager every top-level window that disappears costs
    // two seconds. The controls inside work the same.
    main_.handle = CreateWindowW(L"MirepanViewTest", L"Mirepan", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    app_.SetMainWindow(main_);
    tabs_.CreateAt(main_, 2103, 10, 45, kTabsWidth, kTabsHeight);
    status_.Create(main_, 2104, true);
    toolbar_.Create(main_, 2105);
    // The category and diary buttons with their image indices.
    const std::pair<uint8_t, int> buttons[] = {{0, 1001},  {1, 1002},  {2, 1003},
                                               {18, 1101}, {19, 1102}, {20, 1103}};
    for (const auto& [image, command] : buttons) toolbar_.RegisterButton(image, command, true);
    toolbar_.Arrange({0, 1, 2, 18, 19, 20});
    created_ = view_.Create(tabs_.Window(), TestView::kMenu, TestView::kPopupMenu);
  }
  ~ViewTest() override { view_.WaitForBackgroundSaves(); }

  // Gives the list and the picture pane the places the main window gives them.
  void LayOut() { view_.Layout(RECT{10, 33, 710, 433}, RECT{700, 70, 880, 300}); }
  // Fills the view with `count` records named "Item n" in category 0.
  void AddRecords(size_t count, uint32_t catId = 0) {
    for (size_t i = 0; i < count; ++i)
      view_.records.push_back({catId, L"Item " + std::to_wstring(i), std::to_wstring(i)});
  }
  std::vector<WString> Column(int position) const { return ListTexts(view_.List(), position); }
  // The catalog file of the test; the view reads it with OpenCatalog.
  WString CatalogPath() const { return folder_ / L"Test.xml"; }

  storage_test::ScratchFolder folder_;
  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
  // Destroyed after the wrappers of its child windows.
  struct MainWindow {
    HWND handle = nullptr;
    ~MainWindow() { DestroyWindow(handle); }
    operator HWND() const { return handle; }
  } main_;
  DAVavador::ERTabWin tabs_;
  DAVavador::ERStatusBar status_{{25, 50, 25}};
  DAVavador::ERToolbar toolbar_;
  Options options_{&app_, folder_.Path()};
  TestView view_{app_, status_, toolbar_, options_};
  bool created_ = false;
};

}  // namespace view_test
