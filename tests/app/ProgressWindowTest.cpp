// The progress window under Wine: the worker starts once the window shows, its messages move the
// bars, Finish closes the window with the outcome, and Cancel works exactly once.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "app/ProgressWindow.h"
#include "resource.h"
#include "toolkit/ERApp.h"
#include "toolkit/WindowText.h"

namespace {

// Runs a test body as the worker of a progress window; the body ends by calling Finish.
class ProgressTest : public ::testing::Test {
 protected:
  using Body = std::function<void(ProgressWindow&)>;

  bool Run(Body body, ProgressWindow::CancelFunction cancel = nullptr) {
    body_ = std::move(body);
    return progress_.Run(nullptr, IDS_DISPLAY_NAME, Worker, this, cancel);
  }

  static DWORD WINAPI Worker(void* arg) {
    auto* self = static_cast<ProgressTest*>(arg);
    self->body_(self->progress_);
    return 0;
  }

  HWND Item(int id) const { return GetDlgItem(progress_.Dialog(), id); }
  LRESULT BarPosition(int id) const { return SendMessageW(Item(id), PBM_GETPOS, 0, 0); }
  bool Shows(int id) const { return IsWindowVisible(Item(id)); }

  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
  ProgressWindow progress_{app_};
  Body body_;
};

TEST_F(ProgressTest, TheWindowShowsEvenForEmptyWorkItsBarsFollowTheWorkerAndItsOutcomeIsTheResult) {
  std::pair<bool, WString> shown;  // the window on screen, its title
  EXPECT_TRUE(Run([&](ProgressWindow& p) {
    shown = {IsWindowVisible(p.Dialog()) != FALSE, DAVavador::WindowText(Item(IDC_PROGRESS_TITLE))};
    p.Finish(false);
  }));
  EXPECT_EQ(std::make_pair(true, WString(L"Mirepan")), shown);
  EXPECT_EQ(progress_.Dialog(), nullptr);
  // A failed worker closes the window with failure; each run opens a fresh dialog.
  EXPECT_FALSE(Run([](ProgressWindow& p) { p.Finish(true); }));
  // Worker messages move the bars; the second shows on request.
  std::vector<LRESULT> seen;  // the bars' places, whether the second bar and Cancel show, the first again
  EXPECT_TRUE(Run([&](ProgressWindow& p) {
    p.SetProgress(40);
    p.SetSecondProgress(70);
    seen = {BarPosition(IDC_PROGRESS_BAR), BarPosition(IDC_PROGRESS_BAR2), Shows(IDC_PROGRESS_BAR2),
            Shows(IDCANCEL)};
    p.SetProgress(100);
    seen.push_back(BarPosition(IDC_PROGRESS_BAR));
    p.Finish(false);
  }));
  EXPECT_EQ((std::vector<LRESULT>{40, 70, false, false, 100}), seen);  // no cancel function: no Cancel
  progress_.ShowSecondBar(true);
  Run([&](ProgressWindow& p) {
    seen = {Shows(IDC_PROGRESS_BAR2)};
    p.Finish(false);
  });
  EXPECT_EQ(std::vector<LRESULT>{true}, seen);  // on request
}

int cancelCalls = 0;
void* cancelArg = nullptr;
void CountCancel(void* arg) {
  ++cancelCalls;
  cancelArg = arg;
}

TEST_F(ProgressTest, CancelDisablesTheButtonAndCallsTheFunctionOnceAndEscapeWithoutOneDoesNothing) {
  cancelCalls = 0;
  std::vector<bool> seen;  // Cancel shown and enabled; after the clicks enabled, the window open
  EXPECT_TRUE(Run(
      [&](ProgressWindow& p) {
        HWND cancel = Item(IDCANCEL);
        const bool shownEnabled = Shows(IDCANCEL) && IsWindowEnabled(cancel);
        SendMessageW(cancel, BM_CLICK, 0, 0);
        SendMessageW(cancel, BM_CLICK, 0, 0);
        SendMessageW(p.Dialog(), WM_COMMAND, IDCANCEL, 0);  // Escape takes this path
        // The worker decides when to finish.
        seen = {shownEnabled, IsWindowEnabled(cancel) != FALSE, IsWindow(p.Dialog()) != FALSE};
        p.Finish(false);
      },
      CountCancel));
  EXPECT_EQ((std::vector<bool>{true, false, true}), seen);
  EXPECT_EQ(std::make_pair(1, static_cast<void*>(this)), std::make_pair(cancelCalls, cancelArg));
  // Without a cancel function Escape does nothing.
  EXPECT_TRUE(Run([&](ProgressWindow& p) {
    SendMessageW(p.Dialog(), WM_COMMAND, IDCANCEL, 0);
    seen = {IsWindow(p.Dialog()) != FALSE};
    p.Finish(false);
  }));
  EXPECT_EQ(std::vector<bool>{true}, seen);
}

}  // namespace
