#include "app/HelpTopics.h"

#include "resources/resource.h"

const wchar_t kHelpContentsPage[] = L"index.html";

namespace {

struct DialogPage {
  int dialogId;
  const wchar_t* page;
};

constexpr DialogPage kDialogPages[] = {
    {IDD_ABOUT, L"about.html"},
    {IDD_AUTO_UPDATE, L"check-for-update.html"},
    {IDD_CATEGORY, L"category.html"},
    {IDD_COLUMNS, L"customize-columns.html"},
    {IDD_COMPONENT_INFO, L"component-information.html"},
    {IDD_DATE_PICKER, L"select-a-date.html"},
    {IDD_DIARY_NAME, L"food-diary-name.html"},
    {IDD_DIARY_NUTRITION, L"diary-nutrition.html"},
    {IDD_DOWNLOAD_RECIPES, L"download-recipes.html"},
    {IDD_FIND_INGREDIENT, L"find-ingredient.html"},
    {IDD_INGREDIENT_EDITOR, L"ingredient-editor.html"},
    {IDD_INGREDIENT_EXPORT, L"export.html"},
    {IDD_INPUT_BOX, L"copy-name.html"},
    {IDD_MEAL, L"meal.html"},
    {IDD_NEWS, L"news.html"},
    {IDD_OPTIONS, L"options.html"},
    {IDD_PICTURE, L"picture.html"},
    {IDD_PRINT, L"print-recipes.html"},
    {IDD_PROGRESS, L"progress.html"},
    {IDD_RECIPE_EDITOR, L"recipe-editor.html"},
    {IDD_RECIPE_REVIEW, L"import-recipe.html"},
    {IDD_SAVE_AT_EXIT, L"save-at-exit.html"},
    {IDD_SHOPLIST, L"shopping-list-editor.html"},
    {IDD_WEB_ADDRESS, L"import-from-web-page.html"},
};

constexpr const wchar_t* kTabPages[] = {L"ingredients.html", L"recipes.html", L"food-diary.html",
                                        L"shopping-list.html"};

}  // namespace

const wchar_t* DialogHelpPage(int dialogId) {
  for (const DialogPage& entry : kDialogPages)
    if (entry.dialogId == dialogId) return entry.page;
  return nullptr;
}

const wchar_t* TabHelpPage(size_t tab) {
  return tab < sizeof kTabPages / sizeof kTabPages[0] ? kTabPages[tab] : kHelpContentsPage;
}
