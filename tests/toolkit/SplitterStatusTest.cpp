// The splitter's drag and the status bar's percentage parts.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/ERSplitter.h"
#include "toolkit/ERStatusBar.h"

using namespace DAVavador;
using toolkit_test::RecordingWindow;

namespace {

void Record(void* arg, int x) {
  static_cast<std::vector<int>*>(arg)->push_back(x);
}

RECT InParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class SplitterTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(splitter.Create(parent.Handle(), 2105, 300, 45, 5, 200));
    splitter.SetCallback(&Record, &drops);
  }
  void Send(UINT msg, int x, int y = 10) const { SendMessageW(splitter.Window(), msg, 0, MAKELPARAM(x, y)); }

  RecordingWindow parent{400, 300};
  ERSplitter splitter;
  std::vector<int> drops;
};

}  // namespace

// The splitter shows the resize cursor and leaves its siblings alone. Moves without a pressed button
// and a lost capture change nothing; a drag reports the drop position and moves the bar.
TEST_F(SplitterTest, DragReportsTheDropPositionAndMovesTheBarInsideTheParent) {
  EXPECT_TRUE(GetWindowLongPtrW(splitter.Window(), GWL_STYLE) & WS_CLIPSIBLINGS);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_SIZEWE),
            reinterpret_cast<HCURSOR>(GetClassLongPtrW(splitter.Window(), GCLP_HCURSOR)));
  Send(WM_MOUSEMOVE, -50);
  Send(WM_LBUTTONUP, -50);
  Send(WM_LBUTTONDOWN, 0);
  Send(WM_MOUSEMOVE, -50);
  ReleaseCapture();  // something else took the mouse
  Send(WM_LBUTTONUP, -50);
  EXPECT_EQ(300, InParent(splitter.Window()).left);
  Send(WM_LBUTTONDOWN, 2);
  EXPECT_EQ(splitter.Window(), GetCapture());
  Send(WM_MOUSEMOVE, -48);
  Send(WM_MOUSEMOVE, -98);
  EXPECT_TRUE(drops.empty());
  Send(WM_LBUTTONUP, -98);
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(std::vector<int>({200}), drops);
  EXPECT_EQ(200, InParent(splitter.Window()).left);
  // The bar stays inside the parent.
  Send(WM_LBUTTONDOWN, 0);
  Send(WM_MOUSEMOVE, 500);
  Send(WM_LBUTTONUP, 500);
  Send(WM_LBUTTONDOWN, 0);
  Send(WM_LBUTTONUP, -1000);
  EXPECT_EQ(std::vector<int>({200, 396, 0}), drops);  // width less 4, then the left edge
}

// The part edges are running percentages of the width, the last part reaching the end.
TEST(StatusBarTest, LaysOutItsPartsAcrossTheParentsBottom) {
  EXPECT_EQ(std::vector<int>({250, 750, -1}), ERStatusBar::PartEdges({25, 50, 25}, 1001));
  EXPECT_EQ(std::vector<int>({-1}), ERStatusBar::PartEdges({100}, 10));
  EXPECT_TRUE(ERStatusBar::PartEdges({}, 10).empty());
  RecordingWindow parent{400, 300};
  ERStatusBar status({25, 50, 25});
  ASSERT_TRUE(status.Create(parent.Handle(), 2106, true));
  const auto parts = [&status] {
    std::vector<int> edges(4);
    edges.resize(SendMessageW(status.Window(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges.data())));
    return edges;
  };
  EXPECT_EQ(std::vector<int>({100, 300, -1}), parts());
  EXPECT_GT(status.Height(), 0);
  EXPECT_EQ(300, InParent(status.Window()).bottom);

  SetWindowPos(parent.Handle(), nullptr, 0, 0, 800, 400, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(parent.Handle(), &client);
  status.Layout();
  EXPECT_EQ(std::vector<int>({int(client.right / 4), int(client.right * 3 / 4), -1}), parts());

  status.SetText(0, L"Vegetables: 42");
  status.SetText(1, L"Read-only");
  EXPECT_EQ(std::make_pair(WString(L"Vegetables: 42"), WString(L"Read-only")),
            std::make_pair(status.Text(0), status.Text(1)));
  status.Show(false);
  EXPECT_FALSE(status.IsVisible());
}
