// Recipe upload, search and download through the program's code: against the real sharing server
// for the round trip, against a loopback server for the replies it would never give.
#include "net/RecipeSharing.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "SharingServerProcess.h"
#include "food/FoodTestSupport.h"
#include "net/SharingWire.h"
#include "resource.h"
#include "storage/Files.h"
#include "support/LoopbackHttpServer.h"
#include "views/ViewTestSupport.h"

using view_test::DialogScripts;
using view_test::Press;

namespace {

// Selects `row` of a list box as a click does, notification included.
void SelectRow(HWND dialog, int list, int row) {
  SendDlgItemMessageW(dialog, list, LB_SETCURSEL, row, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}

std::vector<WString> Rows(HWND dialog, int list) {
  std::vector<WString> rows;
  const auto count = static_cast<int>(SendDlgItemMessageW(dialog, list, LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    wchar_t text[256] = {};
    SendDlgItemMessageW(dialog, list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    rows.push_back(text);
  }
  return rows;
}

bool Enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// A small catalog of two ingredients and a recipe from them.
class Sharing : public ::testing::Test {
 protected:
  Sharing() {
    catalog_.categories.Add(TXT("Fruit"), 1);
    catalog_.counter = 1;
    catalog_.Add(TXT("Apple"), 2, 95).catId = 1;
    catalog_.Add(TXT("Flour"), 3, 455);
    recipeCategories_.Add(TXT("Desserts"), 1);
    recipe_.name = TXT("Apple Pie");
    recipe_.foodId = 7;
    recipe_.catId = 1;
    recipe_.serves = 8;
    recipe_.instructions = TXT("Peel, slice & bake <1 hour>.\r\n");
    recipe_.lines = {{3.0, static_cast<int32_t>(kUnitBlank), {}, &catalog_.foods.front()},
                     {2.0, static_cast<int32_t>(kUnitCup), {}, &catalog_.foods.back()}};
  }

  void Upload(const ServerAddress& server) {
    UploadRecipe(app_, server, recipe_, recipeCategories_, catalog_.categories, folder_.Path());
  }
  void AnswerUpload() { prompts_.answers = {IDYES, IDOK}; }
  // The one recipe of a fetched document, read as an import reads it into `catalog`.
  static bool ReadFetched(const WString& path, MemoryCatalog& catalog, CategoryList& categories,
                          Recipe& recipe) {
    XMLDoc doc;
    if (!doc.Load(path) || !doc.FindRoot(TXT("RECIPELIST"))) return false;
    uint32_t counter = 0;
    while (const WChar* tag = doc.NextTag())
      if (EqualsNoCase(tag, TXT("RECIPE")) && !doc.IsEndTag())
        return recipe.ReadRecipeElement(doc, categories, counter, catalog);
    return false;
  }

  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
  storage_test::ScratchFolder folder_;
  storage_test::ScriptedPrompts prompts_;
  DialogScripts scripts_;
  MemoryCatalog catalog_;
  CategoryList recipeCategories_;
  Recipe recipe_;
};

TEST_F(Sharing, AnUploadedRecipeIsFoundAndDownloadedWithItsIngredients) {
  SharingServerProcess server(folder_ / L"server");
  ASSERT_TRUE(server.Running()) << "the native tree's mirepan-server is needed: " << SHARING_SERVER;

  AnswerUpload();
  Upload(server.Address());
  ASSERT_EQ(prompts_.questions.size(), 2u) << server.Log();
  EXPECT_EQ(prompts_.questions[0].text, L"Upload this recipe: Apple Pie");
  EXPECT_EQ(prompts_.questions[0].caption, L"Mirepan");
  EXPECT_EQ(prompts_.questions[1].text, L"Your recipe has been uploaded.") << server.Log();
  EXPECT_FALSE(FileExists(folder_ / kUploadFile));

  // The dialog as it opens, then a search of all recipes and the one found moved across.
  bool allChosen = false, sinceLast = false, closedAtStart = false, addAfterSelect = false,
       okAfterAdd = false;
  std::vector<WString> found, chosenRows;
  scripts_.On(IDD_DOWNLOAD_RECIPES, [&](HWND dialog) {
    wchar_t category[64] = {};
    GetDlgItemTextW(dialog, IDC_DOWNLOAD_CATEGORY, category, 64);
    allChosen = WString(category) == L"--All--";
    sinceLast = IsDlgButtonChecked(dialog, IDC_DOWNLOAD_SINCE_LAST) == BST_CHECKED;
    closedAtStart =
        !Enabled(dialog, IDOK) && !Enabled(dialog, IDC_DOWNLOAD_ADD) && !Enabled(dialog, IDC_DOWNLOAD_REMOVE);
    CheckRadioButton(dialog, IDC_DOWNLOAD_SINCE_LAST, IDC_DOWNLOAD_ALL, IDC_DOWNLOAD_ALL);
    Press(dialog, IDC_DOWNLOAD_FIND);
    found = Rows(dialog, IDC_DOWNLOAD_AVAILABLE);
    SelectRow(dialog, IDC_DOWNLOAD_AVAILABLE, 0);
    addAfterSelect = Enabled(dialog, IDC_DOWNLOAD_ADD) && !Enabled(dialog, IDC_DOWNLOAD_REMOVE);
    Press(dialog, IDC_DOWNLOAD_ADD);
    okAfterAdd = Enabled(dialog, IDOK) && !Enabled(dialog, IDC_DOWNLOAD_ADD);
    chosenRows = Rows(dialog, IDC_DOWNLOAD_SELECTED);
    Press(dialog, IDOK);
  });
  RecipeDownloadDialog dialog(app_, server.Address(), recipeCategories_, CalendarDate(2000, 1, 1));
  ASSERT_TRUE(dialog.Run());
  EXPECT_TRUE(allChosen);
  EXPECT_TRUE(sinceLast);
  EXPECT_TRUE(closedAtStart);
  EXPECT_EQ(found, std::vector<WString>{L"Apple Pie"});
  EXPECT_TRUE(addAfterSelect);
  EXPECT_TRUE(okAfterAdd);
  EXPECT_EQ(chosenRows, std::vector<WString>{L"Apple Pie"});
  ASSERT_EQ(dialog.Chosen().size(), 1u);
  const int32_t id = dialog.Chosen()[0];

  // The chosen recipe, an id the server does not know, and the recipe again: two imports.
  MemoryCatalog receiver;
  receiver.Add(TXT("apple"), 40);  // matched by name, whatever the case
  CategoryList categories;
  std::vector<std::pair<int, int>> parts;
  std::vector<Recipe> received;
  const WString path = folder_ / kDownloadFile;
  const size_t imported =
      FetchSharedRecipes(server.Address(), {id, id + 1000, id}, path, nullptr, [&](int from, int to) {
        parts.emplace_back(from, to);
        received.emplace_back();
        EXPECT_TRUE(ReadFetched(path, receiver, categories, received.back()));
      });
  EXPECT_EQ(imported, 2u);
  EXPECT_EQ(parts, (std::vector<std::pair<int, int>>{{0, 25}, {50, 75}}));
  ASSERT_EQ(received.size(), 2u);
  const Recipe& pie = received[0];
  EXPECT_EQ(pie.name, L"Apple Pie");
  EXPECT_EQ(pie.instructions, recipe_.instructions);
  EXPECT_EQ(pie.serves, 8);
  ASSERT_NE(categories.NameById(pie.catId), nullptr);
  EXPECT_EQ(*categories.NameById(pie.catId), L"Desserts");
  ASSERT_EQ(pie.lines.size(), 2u);
  EXPECT_EQ(pie.lines[0].ingredient->foodId, 40u);
  EXPECT_EQ(pie.lines[1].ingredient->name, L"Flour");
  EXPECT_DOUBLE_EQ(pie.lines[1].amount, 2.0);
  EXPECT_EQ(receiver.foods.size(), 2u);  // Flour was added once, then matched
}

TEST_F(Sharing, TheSearchNarrowsByCategoryAndNameWithBlanksEncoded) {
  SharingServerProcess server(folder_ / L"server");
  ASSERT_TRUE(server.Running()) << SHARING_SERVER;
  AnswerUpload();
  Upload(server.Address());
  recipe_.name = TXT("Pear Tart");
  AnswerUpload();
  Upload(server.Address());
  auto names = [&](WStringView category, WStringView name) {
    std::vector<WString> rows;
    const WString address = SearchAddress(server.Address(), CalendarDate(0, 1, 1), category, name);
    for (const SharedRecipeListing& row : ParseSearchReply(FetchSearchReply(address)))
      rows.push_back(row.name);
    return rows;
  };
  EXPECT_EQ(names({}, {}), (std::vector<WString>{L"Apple Pie", L"Pear Tart"}));
  EXPECT_EQ(names(L"Desserts", L"Apple Pie"), std::vector<WString>{L"Apple Pie"});
  EXPECT_TRUE(names(L"Soups", {}).empty());
  CalendarDate tomorrow = CalendarDate::Now();
  tomorrow.AddDays(1);
  EXPECT_TRUE(ParseSearchReply(FetchSearchReply(SearchAddress(server.Address(), tomorrow, {}, {}))).empty());
}

TEST_F(Sharing, ALongRecipeUploadsWhole) {
  SharingServerProcess server(folder_ / L"server");
  ASSERT_TRUE(server.Running()) << SHARING_SERVER;
  // Sixty lines and long instructions: a form body of tens of kilobytes.
  recipe_.name = TXT("Harvest stew");
  const RecipeLine line = recipe_.lines.front();
  recipe_.lines.assign(60, line);
  for (int step = 1; step <= 40; ++step)
    recipe_.instructions += TXT("Step ") + std::to_wstring(step) + TXT(": stir slowly & taste <often>.\r\n");
  AnswerUpload();
  Upload(server.Address());
  ASSERT_EQ(prompts_.questions.size(), 2u) << server.Log();
  EXPECT_EQ(prompts_.questions[1].text, L"Your recipe has been uploaded.") << server.Log();
  const WString address = SearchAddress(server.Address(), CalendarDate(0, 1, 1), {}, TXT("harvest"));
  const std::vector<SharedRecipeListing> rows = ParseSearchReply(FetchSearchReply(address));
  ASSERT_EQ(rows.size(), 1u);
  const WString fetched = folder_ / L"fetched.xml";
  int imports = 0;
  FetchSharedRecipes(server.Address(), {rows[0].id}, fetched, nullptr, [&](int, int) { ++imports; });
  ASSERT_EQ(imports, 1);
  MemoryCatalog receiver;
  CategoryList categories;
  Recipe stew;
  ASSERT_TRUE(ReadFetched(fetched, receiver, categories, stew));
  EXPECT_EQ(stew.lines.size(), 60u);
  EXPECT_EQ(stew.instructions, recipe_.instructions);
}

TEST_F(Sharing, AccentedNamesAreFoundByTheirAccentedParts) {
  SharingServerProcess server(folder_ / L"server");
  ASSERT_TRUE(server.Running()) << SHARING_SERVER;
  const WString names[] = {L"Cr\u00E8me br\u00FBl\u00E9e", L"M\u00FCsli", L"Jalape\u00F1o bread",
                           L"Stra\u00DFe pie"};
  for (const WString& name : names) {
    recipe_.name = name;
    AnswerUpload();
    Upload(server.Address());
  }
  const std::pair<const wchar_t*, const wchar_t*> searches[] = {
      {L"cr\u00E8me BR\u00DBL\u00C9E", names[0].c_str()},
      {L"m\u00FCs", names[1].c_str()},
      {L"\u00F1o", names[2].c_str()},
      {L"stra\u00DF", names[3].c_str()}};
  for (const auto& [part, found] : searches) {
    const WString address = SearchAddress(server.Address(), CalendarDate(0, 1, 1), {}, part);
    const std::vector<SharedRecipeListing> rows = ParseSearchReply(FetchSearchReply(address));
    ASSERT_EQ(rows.size(), 1u) << ToUtf8(part) << "\n" << server.Log();
    EXPECT_EQ(rows[0].name, found);
  }
}

TEST_F(Sharing, OnlyFourBlanksBeforeOkMeanTheUploadArrived) {
  LoopbackHttpServer server;
  server.Serve("/mirepan/uploadrecipe.php", "OK");
  ServerAddress address;
  address.Parse(server.Url().substr(7));
  AnswerUpload();
  Upload(address);
  ASSERT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(prompts_.questions[1].text,
            L"There was a problem uploading your recipe - please try again later.");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[0].Header("User-Agent"), "RecipeUpload");
  const std::string& body = requests[0].body;
  EXPECT_EQ(body.rfind("recipe=%3C", 0), 0u);
  EXPECT_NE(body.find("%3CRECIPELIST%3E"), std::string::npos);
  EXPECT_NE(body.find("Apple+Pie"), std::string::npos);
  EXPECT_NE(body.find("%26amp%3B"), std::string::npos);  // "&" as the document escapes it
  EXPECT_EQ(body.find(' '), std::string::npos);

  server.Serve("/mirepan/uploadrecipe.php", "    OK");
  AnswerUpload();
  Upload(address);
  ASSERT_EQ(prompts_.questions.size(), 4u);
  EXPECT_EQ(prompts_.questions[3].text, L"Your recipe has been uploaded.");
}

TEST_F(Sharing, NoSendsNothingAndAnUnreachableServerFails) {
  LoopbackHttpServer server;
  ServerAddress address;
  address.Parse(server.Url().substr(7));
  prompts_.answers = {IDNO};
  Upload(address);
  EXPECT_EQ(prompts_.questions.size(), 1u);
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_FALSE(FileExists(folder_ / kUploadFile));

  server.Stop();
  AnswerUpload();
  Upload(address);
  ASSERT_EQ(prompts_.questions.size(), 3u);
  EXPECT_EQ(prompts_.questions[2].text,
            L"There was a problem uploading your recipe - please try again later.");
  EXPECT_FALSE(FileExists(folder_ / kUploadFile));
  EXPECT_TRUE(FetchSearchReply(SearchAddress(address, CalendarDate(0, 1, 1), {}, {})).empty());
}

TEST_F(Sharing, TheArrowsFollowTheSelectionAndTheSearchAsksWithTheChosenFilters) {
  LoopbackHttpServer server;
  server.Serve("/mirepan/findrecipe.php", "3,Apple Pie\r\n5,\"Soup, Thick\"\r\n8,Too,Many\r\n");
  ServerAddress address;
  address.Parse(server.Url().substr(7));
  std::vector<WString> available, selected;
  bool removeAfterSelect = false, okAfterRemove = true, findClosesDownload = false;
  scripts_.On(IDD_DOWNLOAD_RECIPES, [&](HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_DOWNLOAD_CATEGORY, CB_SETCURSEL, 1, 0);
    SetDlgItemTextW(dialog, IDC_DOWNLOAD_NAME, L"Apple Pie");
    CheckRadioButton(dialog, IDC_DOWNLOAD_SINCE_LAST, IDC_DOWNLOAD_ALL, IDC_DOWNLOAD_SINCE_LAST);
    Press(dialog, IDC_DOWNLOAD_FIND);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_AVAILABLE, LBN_DBLCLK), 0);  // no row: nothing
    SelectRow(dialog, IDC_DOWNLOAD_AVAILABLE, 1);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_AVAILABLE, LBN_DBLCLK), 0);
    SelectRow(dialog, IDC_DOWNLOAD_AVAILABLE, 0);
    Press(dialog, IDC_DOWNLOAD_ADD);
    SelectRow(dialog, IDC_DOWNLOAD_SELECTED, 0);
    removeAfterSelect = Enabled(dialog, IDC_DOWNLOAD_REMOVE) && !Enabled(dialog, IDC_DOWNLOAD_ADD) &&
                        SendDlgItemMessageW(dialog, IDC_DOWNLOAD_AVAILABLE, LB_GETCURSEL, 0, 0) == LB_ERR;
    Press(dialog, IDC_DOWNLOAD_REMOVE);
    SelectRow(dialog, IDC_DOWNLOAD_SELECTED, 0);
    Press(dialog, IDC_DOWNLOAD_REMOVE);
    okAfterRemove = Enabled(dialog, IDOK);
    SelectRow(dialog, IDC_DOWNLOAD_AVAILABLE, 0);
    Press(dialog, IDC_DOWNLOAD_ADD);
    Press(dialog, IDC_DOWNLOAD_FIND);
    findClosesDownload = !Enabled(dialog, IDOK);
    SelectRow(dialog, IDC_DOWNLOAD_AVAILABLE, 0);
    Press(dialog, IDC_DOWNLOAD_ADD);
    available = Rows(dialog, IDC_DOWNLOAD_AVAILABLE);
    selected = Rows(dialog, IDC_DOWNLOAD_SELECTED);
    Press(dialog, IDOK);
  });
  RecipeDownloadDialog dialog(app_, address, recipeCategories_, CalendarDate(2019, 5, 6));
  ASSERT_TRUE(dialog.Run());
  EXPECT_TRUE(removeAfterSelect);
  EXPECT_FALSE(okAfterRemove);
  EXPECT_TRUE(findClosesDownload);
  EXPECT_EQ(available, std::vector<WString>{L"Soup, Thick"});
  EXPECT_EQ(selected, (std::vector<WString>{L"Soup, Thick", L"Apple Pie"}));  // in the order moved
  EXPECT_EQ(dialog.Chosen(), (std::vector<int32_t>{5, 3}));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target,
            "/mirepan/findrecipe.php?startdate=05%2D06%2D2019&category=Desserts&foodname=Apple%20Pie");
  EXPECT_EQ(requests[0].Header("User-Agent"), "RecipeDownload");
}

}  // namespace
