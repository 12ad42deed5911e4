// F1 pressed in a dialog, on the keyboard as a user presses it, asks the application for that
// dialog's help: with the keyboard in one of its controls, in a dialog without a procedure of its
// own, and in a dialog opened over another, which asks for its own help and not the other's.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "toolkit/ERApp.h"

namespace {

using DAVavador::ERApp;

class HelpRecordingApp : public ERApp {
 public:
  using ERApp::ERApp;
  void ShowDialogHelp(int dialogId) const override { asked.push_back(dialogId); }
  mutable std::vector<int> asked;
};

// Calls `step` with this thread's active window every few milliseconds while the thread waits in
// the modal loops of dialogs, also in those a step opens itself.
class WhileDialogsRun {
 public:
  explicit WhileDialogsRun(std::function<void(HWND active)> step) : step_(std::move(step)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 30, &Tick);
  }
  WhileDialogsRun(const WhileDialogsRun&) = delete;
  WhileDialogsRun& operator=(const WhileDialogsRun&) = delete;
  ~WhileDialogsRun() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    const HWND active = GetActiveWindow();
    // A dialog under another one is disabled: only the innermost takes the keyboard.
    if (current_ && active && IsWindowVisible(active) && IsWindowEnabled(active)) current_->step_(active);
  }

  static WhileDialogsRun* current_;
  std::function<void(HWND)> step_;
  UINT_PTR timer_;
};
WhileDialogsRun* WhileDialogsRun::current_ = nullptr;

void PressF1() {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_F1;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

class DialogHelpTest : public ::testing::Test {
 protected:
  // Presses F1 once in each dialog that comes up; once the help it asks for has been asked (or
  // after a while without), `answered` runs and the dialog closes.
  WhileDialogsRun PressF1InEachDialog(std::function<void(HWND dialog)> answered = nullptr) {
    return WhileDialogsRun([this, answered](HWND dialog) {
      if (std::find(pressed_.begin(), pressed_.end(), dialog) == pressed_.end()) {
        pressed_.push_back(dialog);
        focusedClass_ = ClassOf(GetFocus());
        PressF1();
        return;
      }
      if (app_.asked.size() < pressed_.size() && ++waited_ < 100) return;
      if (answered) answered(dialog);
      EndDialog(dialog, IDCANCEL);
    });
  }

  static std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
  }

  HelpRecordingApp app_{GetModuleHandleW(nullptr)};
  std::vector<HWND> pressed_;
  std::wstring focusedClass_;
  int waited_ = 0;
};

TEST_F(DialogHelpTest, F1WithTheKeyboardInAControlAsksForTheDialogsHelp) {
  const WhileDialogsRun user = PressF1InEachDialog();
  WString name = L"Pea soup";
  app_.InputBox(L"Copy Recipe", L"Please enter the name of the new recipe:", name);
  EXPECT_EQ(focusedClass_, L"Edit");
  EXPECT_EQ(app_.asked, std::vector<int>{IDD_INPUT_BOX});
}

TEST_F(DialogHelpTest, F1InADialogOverAnotherAsksForItsOwnHelp) {
  const WhileDialogsRun user = PressF1InEachDialog([this](HWND dialog) {
    WString name;
    if (pressed_.size() == 1)
      app_.InputBox(L"Copy Ingredient", L"Please enter the name of the new ingredient:", name, dialog);
  });
  // The About box runs without a procedure of its own.
  app_.RunDialog(IDD_ABOUT, nullptr, 0);
  EXPECT_EQ(app_.asked, (std::vector<int>{IDD_ABOUT, IDD_INPUT_BOX}));
}

}  // namespace
