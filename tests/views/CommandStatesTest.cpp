// The enable table of a view's commands: menu items and toolbar buttons follow the same flags,
// and a missing menu or toolbar is left alone.
#include "views/CommandStates.h"

#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "resource.h"

using view_test::ViewTest;

namespace {

class CommandStatesTest : public ViewTest {
 protected:
  CommandStatesTest() {
    for (const UINT command : {IDM_ADD_CATEGORY, IDM_DELETE_CATEGORY, IDM_RESTORE})
      AppendMenuW(menu_, MF_STRING, command, L"Command");
  }
  ~CommandStatesTest() override { DestroyMenu(menu_); }

  bool MenuEnabled(UINT command) const { return !(GetMenuState(menu_, command, MF_BYCOMMAND) & MF_GRAYED); }

  HMENU menu_ = CreatePopupMenu();
};

}  // namespace

TEST_F(CommandStatesTest, MenuItemsAndButtonsFollowTheirFlags) {
  ApplyCommandStates(menu_, &toolbar_,
                     {{IDM_ADD_CATEGORY, false}, {IDM_DELETE_CATEGORY, true}, {IDM_RESTORE, false}});
  EXPECT_FALSE(MenuEnabled(IDM_ADD_CATEGORY));
  EXPECT_TRUE(MenuEnabled(IDM_DELETE_CATEGORY));
  EXPECT_FALSE(MenuEnabled(IDM_RESTORE));  // a menu item without a button
  EXPECT_FALSE(toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(IDM_DELETE_CATEGORY));

  ApplyCommandStates(menu_, &toolbar_, {{IDM_ADD_CATEGORY, true}, {IDM_DELETE_CATEGORY, false}});
  EXPECT_TRUE(MenuEnabled(IDM_ADD_CATEGORY));
  EXPECT_FALSE(MenuEnabled(IDM_DELETE_CATEGORY));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(IDM_DELETE_CATEGORY));
}

TEST_F(CommandStatesTest, WithoutAMenuOnlyTheButtonsChange) {
  ApplyCommandStates(nullptr, &toolbar_, {{IDM_ADD_CATEGORY, false}, {IDM_ADD_DIARY, false}});
  EXPECT_TRUE(MenuEnabled(IDM_ADD_CATEGORY));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(IDM_ADD_DIARY));
}

TEST_F(CommandStatesTest, WithoutAToolbarOnlyTheMenuChanges) {
  toolbar_.EnableButton(IDM_ADD_CATEGORY, true);
  ApplyCommandStates(menu_, nullptr, {{IDM_ADD_CATEGORY, false}});
  EXPECT_FALSE(MenuEnabled(IDM_ADD_CATEGORY));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY));
}
