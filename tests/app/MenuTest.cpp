// The program's menus as a keyboard user meets them: every item has an access key, and within each
// menu bar and each drop-down or pop-up no two items share one.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "resources/resource.h"

namespace {

// The menu item texts of `menu` without their accelerator part, and the same for every submenu
// through `visit`.
template <class Visit>
void VisitMenus(HMENU menu, const std::wstring& path, const Visit& visit) {
  std::map<int, std::wstring> items;  // position -> text
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    std::wstring item = text;
    items[i] = item.substr(0, item.find(L'\t'));
    if (HMENU sub = GetSubMenu(menu, i)) VisitMenus(sub, path + L" > " + items[i], visit);
  }
  visit(path, items);
}

TEST(MenuTest, EveryMenuItemHasItsOwnAccessKeyAndSharingReadsDownloadAndUpload) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  std::map<int, std::wstring> sharing;  // command -> text, from the Recipes menu bar
  for (const int id : {IDM_MAIN_DEFAULT, IDM_MAIN_INGREDIENTS, IDM_MAIN_RECIPES, IDM_MAIN_DIARY,
                       IDM_MAIN_SHOPLIST, IDM_POPUP_INGREDIENTS, IDM_POPUP_RECIPES, IDM_POPUP_DIARY,
                       IDM_POPUP_SHOPLIST, IDM_POPUP_TABS, IDM_POPUP_TOOLBAR}) {
    const HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(id));
    ASSERT_NE(menu, nullptr) << id;
    VisitMenus(menu, std::to_wstring(id),
               [](const std::wstring& path, const std::map<int, std::wstring>& items) {
                 std::map<wchar_t, std::wstring> taken;
                 for (const auto& [position, text] : items) {
                   if (text.empty()) continue;  // a separator, or a pop-up's untitled holder
                   const size_t amp = text.find(L'&');
                   const bool hasKey = amp != std::wstring::npos && amp + 1 < text.size();
                   EXPECT_TRUE(hasKey)
                       << "in " << testing::PrintToString(path) << ": " << testing::PrintToString(text);
                   if (!hasKey) continue;
                   const wchar_t key = static_cast<wchar_t>(towupper(text[amp + 1]));
                   EXPECT_EQ(taken.count(key), 0u)
                       << "in " << testing::PrintToString(path) << ": " << testing::PrintToString(text)
                       << " and " << testing::PrintToString(taken[key]);
                   taken[key] = text;
                 }
               });
    if (id == IDM_MAIN_RECIPES)
      for (const int command : {IDM_DOWNLOAD_RECIPES, IDM_UPLOAD_RECIPE}) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND);
        std::wstring shown = text;
        shown = shown.substr(0, shown.find(L'\t'));
        shown.erase(std::remove(shown.begin(), shown.end(), L'&'), shown.end());
        sharing[command] = shown;
      }
    DestroyMenu(menu);
  }
  EXPECT_EQ(sharing, (std::map<int, std::wstring>{{IDM_DOWNLOAD_RECIPES, L"Download..."},
                                                  {IDM_UPLOAD_RECIPE, L"Upload"}}));
}

}  // namespace
