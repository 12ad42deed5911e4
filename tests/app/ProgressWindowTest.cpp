// The progress window under Wine: the worker starts once the window shows, its messages move the
// bars, Finish closes the window with the outcome, and Cancel works exactly once.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>

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

  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
  ProgressWindow progress_{app_};
  Body body_;
};

TEST_F(ProgressTest, EmptyWorkStillShowsTheWindowAndTheWorkersOutcomeIsTheResult) {
  bool visible = false;
  WString title;
  EXPECT_TRUE(Run([&](ProgressWindow& p) {
    visible = IsWindowVisible(p.Dialog());
    title = DAVavador::WindowText(Item(IDC_PROGRESS_TITLE));
    p.Finish(false);
  }));
  EXPECT_TRUE(visible);
  EXPECT_EQ(title, L"Mirepan");
  EXPECT_EQ(progress_.Dialog(), nullptr);
  // A failed worker closes the window with failure; each run opens a fresh dialog.
  EXPECT_FALSE(Run([](ProgressWindow& p) { p.Finish(true); }));
  EXPECT_TRUE(Run([](ProgressWindow& p) { p.Finish(false); }));
}

TEST_F(ProgressTest, WorkerMessagesMoveTheBarsAndTheSecondShowsOnRequest) {
  LRESULT first = -1, second = -1;
  bool secondShown = true, cancelShown = true;
  Run([&](ProgressWindow& p) {
    p.SetProgress(40);
    p.SetSecondProgress(70);
    first = BarPosition(IDC_PROGRESS_BAR);
    second = BarPosition(IDC_PROGRESS_BAR2);
    secondShown = IsWindowVisible(Item(IDC_PROGRESS_BAR2));
    cancelShown = IsWindowVisible(Item(IDCANCEL));
    p.SetProgress(100);
    first = first == 40 ? BarPosition(IDC_PROGRESS_BAR) : first;
    p.Finish(false);
  });
  EXPECT_EQ(first, 100);
  EXPECT_EQ(second, 70);
  EXPECT_FALSE(secondShown);
  EXPECT_FALSE(cancelShown);  // no cancel function
  secondShown = false;
  progress_.ShowSecondBar(true);
  Run([&](ProgressWindow& p) {
    secondShown = IsWindowVisible(Item(IDC_PROGRESS_BAR2));
    p.Finish(false);
  });
  EXPECT_TRUE(secondShown);  // on request
}

int cancelCalls = 0;
void* cancelArg = nullptr;
void CountCancel(void* arg) {
  ++cancelCalls;
  cancelArg = arg;
}

TEST_F(ProgressTest, CancelDisablesTheButtonAndCallsTheFunctionOnceAndEscapeWithoutOneDoesNothing) {
  cancelCalls = 0;
  bool shownEnabled = false, enabledAfter = true, openAfter = false;
  EXPECT_TRUE(Run(
      [&](ProgressWindow& p) {
        HWND cancel = Item(IDCANCEL);
        shownEnabled = IsWindowVisible(cancel) && IsWindowEnabled(cancel);
        SendMessageW(cancel, BM_CLICK, 0, 0);
        SendMessageW(cancel, BM_CLICK, 0, 0);
        SendMessageW(p.Dialog(), WM_COMMAND, IDCANCEL, 0);  // Escape takes this path
        enabledAfter = IsWindowEnabled(cancel);
        openAfter = IsWindow(p.Dialog());  // the worker decides when to finish
        p.Finish(false);
      },
      CountCancel));
  EXPECT_TRUE(shownEnabled);
  EXPECT_EQ(cancelCalls, 1);
  EXPECT_EQ(cancelArg, this);
  EXPECT_FALSE(enabledAfter);
  EXPECT_TRUE(openAfter);
  // Without a cancel function Escape does nothing.
  openAfter = false;
  EXPECT_TRUE(Run([&](ProgressWindow& p) {
    SendMessageW(p.Dialog(), WM_COMMAND, IDCANCEL, 0);
    openAfter = IsWindow(p.Dialog());
    p.Finish(false);
  }));
  EXPECT_TRUE(openAfter);
}

}  // namespace
