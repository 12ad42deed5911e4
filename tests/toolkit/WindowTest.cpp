// The base wrapper: placement, text, attach and detach, and the routing of a subclassed window.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/ERLabel.h"
#include "toolkit/ERListView.h"

using namespace DAVavador;
using toolkit_test::Pump;
using toolkit_test::RecordingWindow;

namespace {

// Left, top, width and height in the parent.
std::vector<int> Placed(const ERLabel& label) {
  RECT r;
  GetWindowRect(label.Window(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(label.Window()), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, label.Width(), label.Height()};
}

struct CallLog {
  std::vector<int> calls;
  bool handle = false;
};

template <int N>
bool LogCommand(void* arg, WPARAM wp, LPARAM) {
  auto* log = static_cast<CallLog*>(arg);
  log->calls.push_back(N * 100000 + LOWORD(wp));
  return log->handle && N == 2;
}

// A wrapper attached to a child window that records what reaches its own procedure.
class AttachedTest : public testing::Test {
 protected:
  void SetUp() override { wrapper.Attach(child.Handle()); }
  LRESULT Send(UINT msg, WPARAM wp = 0) const { return SendMessageW(child.Handle(), msg, wp, 0); }
  std::vector<UINT> Received() const {
    std::vector<UINT> messages;
    for (const toolkit_test::Received& r : child.All()) messages.push_back(r.msg);
    return messages;
  }

  RecordingWindow parent;
  RecordingWindow child{50, 20, parent.Handle()};
  ERLabel wrapper;
  CallLog log;
};

}  // namespace

TEST(ERWindowTest, SetPosKeepsTheSizeOrThePlaceForNegativeValuesAndTheToolTipFollows) {
  RecordingWindow parent;
  ERLabel label;
  ASSERT_TRUE(label.CreateAt(parent.Handle(), 100, 10, 20, 80, 30));
  label.SetPos(40, 50, -1, 30, nullptr);  // moves without resizing
  EXPECT_EQ((std::vector<int>{40, 50, 80, 30}), Placed(label));
  label.SetPos(-1, 50, 120, 60, nullptr);  // resizes without moving
  EXPECT_EQ((std::vector<int>{40, 50, 120, 60}), Placed(label));
  label.Move(5, 6, 70, 25);
  EXPECT_EQ((std::vector<int>{5, 6, 70, 25}), Placed(label));
  // The tool tip covers the window after every SetPos.
  label.SetTooltip(L"Enter ingredient for quick search");
  ASSERT_NE(nullptr, label.Tooltip());
  label.SetPos(-1, -1, 150, 40, nullptr);
  wchar_t text[80] = {};
  TOOLINFOW tool = {sizeof(tool)};
  tool.hwnd = label.Window();
  tool.uId = 1;
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageW(label.Tooltip(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_STREQ(L"Enter ingredient for quick search", text);
  EXPECT_EQ(std::make_pair(150L, 40L), std::make_pair(tool.rect.right, tool.rect.bottom));
}

// A wrapper whose window went answers every query with zero and keeps its text.
TEST(ERWindowTest, OwnedWindowDiesWithTheWrapperAttachedOneIsRestoredOneDestroyedIsForgotten) {
  RecordingWindow parent;
  RecordingWindow child(50, 20, parent.Handle());
  const LONG_PTR originalProc = GetWindowLongPtrW(child.Handle(), GWLP_WNDPROC);
  HWND owned;
  {
    ERLabel label;
    ASSERT_TRUE(label.Create(parent.Handle(), 102));
    owned = label.Window();
    label.Attach(child.Handle());
    EXPECT_EQ(child.Handle(), label.Window());
    label.Detach();  // back to the owned window
    EXPECT_EQ(owned, label.Window());
    EXPECT_EQ(originalProc, GetWindowLongPtrW(child.Handle(), GWLP_WNDPROC));
    label.Attach(child.Handle());
  }
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_TRUE(IsWindow(child.Handle()));
  EXPECT_EQ(originalProc, GetWindowLongPtrW(child.Handle(), GWLP_WNDPROC));
  // A window destroyed with its parent is forgotten.
  ERLabel label;
  {
    RecordingWindow other;
    ASSERT_TRUE(label.Create(other.Handle(), 103));
  }
  EXPECT_EQ(nullptr, label.Window());
  EXPECT_EQ(std::make_pair(0, LRESULT{0}), std::make_pair(label.Width(), label.Send(WM_GETTEXTLENGTH)));
  label.SetPos(1, 2, 3, 4, nullptr);
  label.SetText(L"kept");
  EXPECT_EQ(L"kept", label.GetText());
  label.Detach();
}

// Destroy is swallowed, the wheel goes to its callback and other messages pass on; command callbacks
// run in order until one handles the command, and a second wrapper leaves the routing to the first.
TEST_F(AttachedTest, MessagesReachTheWrappersCallbacksInOrderAndTheRestPassOn) {
  Send(WM_DESTROY);
  Send(WM_NOTIFY);                                  // no pop-up menu: passes on
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA));  // no callback yet: passes on
  EXPECT_EQ((std::vector<UINT>{WM_NOTIFY, WM_MOUSEWHEEL}), Received());
  int distance = 0;
  wrapper.SetWheelCallback([](void* arg, int d) { *static_cast<int*>(arg) += d; }, &distance);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)));
  EXPECT_EQ(-2 * WHEEL_DELTA, distance);
  EXPECT_EQ(2u, Received().size());
  wrapper.AddCommandHandler(&LogCommand<1>, &log);
  wrapper.AddCommandHandler(&LogCommand<2>, &log);
  wrapper.AddCommandHandler(&LogCommand<3>, &log);
  Send(WM_COMMAND, MAKEWPARAM(2100, CBN_SELCHANGE));
  EXPECT_EQ(std::vector<int>({102100, 202100, 302100}), log.calls);
  EXPECT_EQ(1u, child.Commands().size());  // nobody handled it: the window's own procedure sees it
  log.calls.clear();
  log.handle = true;
  Send(WM_COMMAND, MAKEWPARAM(2101, CBN_SELCHANGE));
  EXPECT_EQ(std::vector<int>({102101, 202101}), log.calls);
  EXPECT_EQ(1u, child.Commands().size());
  // A second wrapper attached to the window leaves the routing to the first, also once detached.
  log.calls.clear();
  ERLabel second;
  second.AddCommandHandler(&LogCommand<4>, &log);
  second.Attach(child.Handle());
  Send(WM_COMMAND, 7);
  second.Detach();
  Send(WM_COMMAND, 8);
  EXPECT_EQ(std::vector<int>({100007, 200007, 100008, 200008}), log.calls);
}

TEST(ERWindowTest, LinkLikeLabelTracksTheMouseAndReportsAClick) {
  RecordingWindow parent;
  ERLabel link(ERLabel::kLinkLike | ERLabel::kOwnerDraw);
  ASSERT_TRUE(link.CreateAt(parent.Handle(), 104, 10, 10, 100, 20));
  SendMessageW(link.Window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(parent.Commands().empty());  // not hovering: no click

  SendMessageW(link.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(link.Window(), GetCapture());
  SendMessageW(link.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 5));
  EXPECT_EQ(nullptr, GetCapture());

  SendMessageW(link.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(link.Window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(nullptr, GetCapture());
  const auto commands = parent.Commands();
  ASSERT_EQ(1u, commands.size());
  EXPECT_EQ(std::make_pair(WORD{104}, link.Window()),
            std::make_pair(LOWORD(commands[0].wp), reinterpret_cast<HWND>(commands[0].lp)));

  ERLabel plain;  // a plain label does not track the mouse
  ASSERT_TRUE(plain.CreateAt(parent.Handle(), 105, 10, 40, 100, 20));
  SendMessageW(plain.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(nullptr, GetCapture());
}

namespace {

constexpr UINT kCommandDisabled = 1401, kCommandEnabled = 1402;

struct PrepareLog {
  int calls = 0;
  HMENU menu = nullptr;
  HWND list = nullptr;
};

// Updates the menu the way the views do, then queues the keys that pick the second item (enabled
// here only), which the menu's own loop reads once it is on screen.
void PrepareMenu(void* arg, HMENU menu) {
  auto* log = static_cast<PrepareLog*>(arg);
  ++log->calls;
  log->menu = menu;
  EnableMenuItem(menu, kCommandDisabled, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(menu, kCommandEnabled, MF_BYCOMMAND | MF_ENABLED);
  PostMessageW(log->list, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(log->list, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(log->list, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

// A right click, the notification of one from a child (the list's header), or the menu key shows
// the menu.
TEST(ERWindowTest, RightClickPreparesThePopupMenuAndSendsTheChoiceToTheMainWindow) {
  RecordingWindow main(500, 400);
  toolkit_test::HostCommands().clear();  // the top-level window the commands go to
  // As in the program, the list lies in a tab control, which has no use for menu commands.
  const HWND tabs = CreateWindowW(WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, main.Handle(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
  ERListView list;
  ASSERT_TRUE(list.CreateAt(tabs, 2102, 0, 0, 300, 200));
  HMENU popup = CreatePopupMenu(), menu = CreateMenu();
  AppendMenuW(popup, MF_STRING, kCommandDisabled, L"Copy Ingredient...");
  AppendMenuW(popup, MF_STRING | MF_GRAYED, kCommandEnabled, L"Delete Ingredient");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"List");
  PrepareLog log{0, nullptr, list.Window()};
  list.SetPopupMenu(menu, &PrepareMenu, &log);

  SendMessageW(list.Window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
  Pump();
  EXPECT_EQ(1, log.calls);
  EXPECT_EQ(popup, log.menu);
  EXPECT_EQ(toolkit_test::HostCommands(), std::vector<WORD>{kCommandEnabled});  // the prepared state shown

  NMHDR header = {reinterpret_cast<HWND>(list.Send(LVM_GETHEADER)), 0, static_cast<UINT>(NM_RCLICK)};
  SendMessageW(list.Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  Pump();
  EXPECT_EQ(2, log.calls);
  EXPECT_EQ(toolkit_test::HostCommands(), (std::vector<WORD>{kCommandEnabled, kCommandEnabled}));

  SendMessageW(list.Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.Window()), -1);
  Pump();
  EXPECT_EQ(3, log.calls);
  EXPECT_EQ(toolkit_test::HostCommands().size(), 3u);
}
