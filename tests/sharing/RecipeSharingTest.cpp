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
#include "support/MessagePump.h"
#include "views/ViewTestSupport.h"

namespace {

using test_support::DialogDriver;

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

  // Uploads the recipe under `name`, answering Yes and then OK; the last message shown.
  WString Upload(const ServerAddress& server, const WString& name = L"Apple Pie") {
    recipe_.name = name;
    prompts_.answers = {IDYES, IDOK};
    UploadRecipe(app_, server, recipe_, recipeCategories_, catalog_.categories, folder_.Path());
    return prompts_.questions.empty() ? WString() : prompts_.questions.back().text;
  }
  static ServerAddress AddressOf(const LoopbackHttpServer& server) {
    ServerAddress address;
    address.Parse(server.Url().substr(7));
    return address;
  }
  static std::vector<WString> Found(const ServerAddress& server, WStringView category, WStringView name,
                                    const CalendarDate& since = CalendarDate(0, 1, 1)) {
    std::vector<WString> names;
    for (const SharedRecipeListing& row :
         ParseSearchReply(FetchSearchReply(SearchAddress(server, since, category, name))))
      names.push_back(row.name);
    return names;
  }
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
  view_test::DialogScripts scripts_;
  MemoryCatalog catalog_;
  CategoryList recipeCategories_;
  Recipe recipe_;
};

TEST_F(Sharing, AnUploadedRecipeIsFoundAndDownloadedWithItsIngredients) {
  SharingServerProcess server(folder_ / L"server");
  ASSERT_TRUE(server.Running()) << "the native tree's mirepan-server is needed: " << SHARING_SERVER;

  EXPECT_EQ(Upload(server.Address()), L"Your recipe has been uploaded.") << server.Log();
  EXPECT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(std::get<0>(view_test::Question(prompts_, 0)), L"Upload this recipe: Apple Pie");
  EXPECT_EQ(std::get<1>(view_test::Question(prompts_, 0)), L"Mirepan");
  EXPECT_FALSE(FileExists(folder_ / kUploadFile));

  // The dialog as it opens, then a search of all recipes and the one found moved across (the
  // arrows are TheArrowsFollowTheSelectionAndTheSearchAsksWithTheChosenFilters's point).
  WString category;
  bool sinceLast = false, closedAtStart = false;
  std::vector<WString> found;
  scripts_.Drive(IDD_DOWNLOAD_RECIPES, [&](const DialogDriver& d) {
    category = d.Text(IDC_DOWNLOAD_CATEGORY);
    sinceLast = d.Checked(IDC_DOWNLOAD_SINCE_LAST);
    closedAtStart = !d.Enabled(IDOK) && !d.Enabled(IDC_DOWNLOAD_ADD) && !d.Enabled(IDC_DOWNLOAD_REMOVE);
    d.Tick(IDC_DOWNLOAD_ALL);
    d.Press(IDC_DOWNLOAD_FIND);
    found = d.Rows(IDC_DOWNLOAD_AVAILABLE);
    d.Pick(IDC_DOWNLOAD_AVAILABLE, 0);
    d.Press(IDC_DOWNLOAD_ADD);
    d.Press(IDOK);
  });
  RecipeDownloadDialog dialog(app_, server.Address(), recipeCategories_, CalendarDate(2000, 1, 1));
  ASSERT_TRUE(dialog.Run());
  EXPECT_EQ(std::tuple(category, sinceLast, closedAtStart), std::tuple(L"--All--", true, true));
  EXPECT_EQ(found, std::vector<WString>{L"Apple Pie"});
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
  EXPECT_EQ(std::tuple(pie.name, pie.instructions, pie.serves),
            std::tuple(L"Apple Pie", recipe_.instructions, 8));
  ASSERT_NE(categories.NameById(pie.catId), nullptr);
  EXPECT_EQ(*categories.NameById(pie.catId), L"Desserts");
  ASSERT_EQ(pie.lines.size(), 2u);
  EXPECT_EQ(std::tuple(pie.lines[0].ingredient->foodId, pie.lines[1].ingredient->name, pie.lines[1].amount),
            std::tuple(40u, L"Flour", 2.0));
  EXPECT_EQ(receiver.foods.size(), 2u);  // Flour was added once, then matched
}

// All recipes come in name order; blanks and accented letters in the query are encoded; accented
// parts match in any case; a recipe of sixty lines and long instructions (a form body of tens of
// kilobytes) arrives whole.
TEST_F(Sharing, SearchesFindUploadsByCategoryAndAnyPartOfTheirNames) {
  SharingServerProcess server(folder_ / L"server");
  ASSERT_TRUE(server.Running()) << SHARING_SERVER;
  const WString names[] = {L"Apple Pie", L"Cr\u00E8me br\u00FBl\u00E9e", L"M\u00FCsli",
                           L"Jalape\u00F1o bread", L"Stra\u00DFe pie"};
  for (const WString& name : names)
    EXPECT_EQ(Upload(server.Address(), name), L"Your recipe has been uploaded.");
  recipe_.lines.assign(60, recipe_.lines.front());
  for (int step = 1; step <= 40; ++step)
    recipe_.instructions += TXT("Step ") + std::to_wstring(step) + TXT(": stir slowly & taste <often>.\r\n");
  ASSERT_EQ(Upload(server.Address(), L"Harvest stew"), L"Your recipe has been uploaded.") << server.Log();

  const struct {
    const wchar_t* category;
    const wchar_t* part;
    std::vector<WString> found;
  } searches[] = {{L"", L"", {names[0], names[1], L"Harvest stew", names[3], names[2], names[4]}},
                  {L"Desserts", L"Apple Pie", {names[0]}},
                  {L"Soups", L"", {}},
                  {L"", L"cr\u00E8me BR\u00DBL\u00C9E", {names[1]}},
                  {L"", L"m\u00FCs", {names[2]}},
                  {L"", L"\u00F1o", {names[3]}},
                  {L"", L"stra\u00DF", {names[4]}}};
  for (const auto& search : searches)
    EXPECT_EQ(Found(server.Address(), search.category, search.part), search.found)
        << ToUtf8(search.category) << "/" << ToUtf8(search.part) << "\n"
        << server.Log();
  CalendarDate tomorrow = CalendarDate::Now();
  tomorrow.AddDays(1);
  EXPECT_TRUE(Found(server.Address(), {}, {}, tomorrow).empty());

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

// Only four blanks before OK mean the upload arrived; No sends nothing; an unreachable server
// fails; the upload file goes in every case.
TEST_F(Sharing, WhatTheUserIsToldFollowsTheServersReply) {
  LoopbackHttpServer server;
  const ServerAddress address = AddressOf(server);
  const WString problem = L"There was a problem uploading your recipe - please try again later.";
  prompts_.answers = {IDNO};
  UploadRecipe(app_, address, recipe_, recipeCategories_, catalog_.categories, folder_.Path());
  EXPECT_EQ(prompts_.questions.size(), 1u);
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_FALSE(FileExists(folder_ / kUploadFile));

  server.Serve("/mirepan/uploadrecipe.php", "OK");
  EXPECT_EQ(Upload(address), problem);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(
      std::tuple(requests[0].method, requests[0].Header("Content-Type"), requests[0].Header("User-Agent")),
      std::tuple("POST", "application/x-www-form-urlencoded", "RecipeUpload"));
  // The form field holds the whole document (its encoding is checked on its own, its content
  // by the round trip through the real server).
  EXPECT_EQ(requests[0].body.rfind("recipe=%3CRECIPELIST%3E", 0), 0u);
  EXPECT_EQ(requests[0].body.find(' '), std::string::npos);

  server.Serve("/mirepan/uploadrecipe.php", "    OK");
  EXPECT_EQ(Upload(address), L"Your recipe has been uploaded.");
  server.Stop();
  EXPECT_EQ(Upload(address), problem);
  EXPECT_EQ(prompts_.questions.size(), 7u);
  EXPECT_FALSE(FileExists(folder_ / kUploadFile));
  EXPECT_TRUE(FetchSearchReply(SearchAddress(address, CalendarDate(0, 1, 1), {}, {})).empty());
}

TEST_F(Sharing, TheArrowsFollowTheSelectionAndTheSearchAsksWithTheChosenFilters) {
  LoopbackHttpServer server;
  server.Serve("/mirepan/findrecipe.php", "3,Apple Pie\r\n5,\"Soup, Thick\"\r\n8,Too,Many\r\n");
  std::vector<WString> available, selected;
  bool removeAfterSelect = false, okAfterRemove = true, findClosesDownload = false;
  scripts_.Drive(IDD_DOWNLOAD_RECIPES, [&](const DialogDriver& d) {
    d.Pick(IDC_DOWNLOAD_CATEGORY, 1);
    d.Type(IDC_DOWNLOAD_NAME, L"Apple Pie");
    d.Tick(IDC_DOWNLOAD_SINCE_LAST);
    d.Press(IDC_DOWNLOAD_FIND);
    d.DoubleClick(IDC_DOWNLOAD_AVAILABLE);  // no row: nothing
    d.Pick(IDC_DOWNLOAD_AVAILABLE, 1);
    d.DoubleClick(IDC_DOWNLOAD_AVAILABLE);
    d.Pick(IDC_DOWNLOAD_AVAILABLE, 0);
    d.Press(IDC_DOWNLOAD_ADD);
    d.Pick(IDC_DOWNLOAD_SELECTED, 0);
    removeAfterSelect = d.Enabled(IDC_DOWNLOAD_REMOVE) && !d.Enabled(IDC_DOWNLOAD_ADD) &&
                        d.Selected(IDC_DOWNLOAD_AVAILABLE) == LB_ERR;
    d.Press(IDC_DOWNLOAD_REMOVE);
    d.Pick(IDC_DOWNLOAD_SELECTED, 0);
    d.Press(IDC_DOWNLOAD_REMOVE);
    okAfterRemove = d.Enabled(IDOK);
    d.Pick(IDC_DOWNLOAD_AVAILABLE, 0);
    d.Press(IDC_DOWNLOAD_ADD);
    d.Press(IDC_DOWNLOAD_FIND);
    findClosesDownload = !d.Enabled(IDOK);
    d.Pick(IDC_DOWNLOAD_AVAILABLE, 0);
    d.Press(IDC_DOWNLOAD_ADD);
    available = d.Rows(IDC_DOWNLOAD_AVAILABLE);
    selected = d.Rows(IDC_DOWNLOAD_SELECTED);
    d.Press(IDOK);
  });
  RecipeDownloadDialog dialog(app_, AddressOf(server), recipeCategories_, CalendarDate(2019, 5, 6));
  ASSERT_TRUE(dialog.Run());
  EXPECT_EQ(std::tuple(removeAfterSelect, okAfterRemove, findClosesDownload), std::tuple(true, false, true));
  EXPECT_EQ(available, std::vector<WString>{L"Soup, Thick"});
  EXPECT_EQ(selected, (std::vector<WString>{L"Soup, Thick", L"Apple Pie"}));  // in the order moved
  EXPECT_EQ(dialog.Chosen(), (std::vector<int32_t>{5, 3}));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target,
            "/mirepan/findrecipe.php?startdate=05%2D06%2D2019&category=Desserts&foodname=Apple%20Pie");
  EXPECT_EQ(requests[0].Header("User-Agent"), "RecipeDownload");
}

// The search runs behind a progress window through the bounded transfer: its Cancel ends a reply
// that never completes, and a reply without end is given up at its limit. Either leaves the list
// empty.
TEST_F(Sharing, TheSearchRunsBehindAProgressWindowWithinItsLimit) {
  LoopbackHttpServer server;
  server.Serve("/mirepan/findrecipe.php", LoopbackHttpServer::Drip());
  const auto searches = [&server] { return server.Requests().size(); };
  scripts_.Drive(IDD_PROGRESS, [&](const DialogDriver& d) {
    EXPECT_TRUE(test_support::PumpUntil([&] { return searches() == 1; }));
    d.Press(IDCANCEL);
  });
  std::vector<WString> found{L"not searched"};
  scripts_.Drive(IDD_DOWNLOAD_RECIPES, [&](const DialogDriver& d) {
    d.Press(IDC_DOWNLOAD_FIND);
    found = d.Rows(IDC_DOWNLOAD_AVAILABLE);
    d.Press(IDCANCEL);
  });
  RecipeDownloadDialog dialog(app_, AddressOf(server), recipeCategories_, CalendarDate(2019, 5, 6));
  EXPECT_FALSE(dialog.Run());
  EXPECT_EQ(scripts_.Opened(IDD_PROGRESS), 1);
  EXPECT_TRUE(found.empty());

  LoopbackHttpServer::Reply endless;
  endless.endless = true;
  server.Serve("/mirepan/findrecipe.php", endless);
  EXPECT_TRUE(FetchSearchReply(SearchAddress(AddressOf(server), CalendarDate(0, 1, 1), {}, {})).empty());
  EXPECT_EQ(searches(), 2u);
}

// The upload runs behind a progress window: its Cancel ends it against a server that keeps it
// waiting, and nothing more is said after a Cancel.
TEST_F(Sharing, TheUploadRunsBehindAProgressWindowWhoseCancelEndsIt) {
  LoopbackHttpServer server;
  server.Serve("/mirepan/uploadrecipe.php", LoopbackHttpServer::Drip());
  scripts_.Drive(IDD_PROGRESS, [&](const DialogDriver& d) {
    EXPECT_TRUE(test_support::PumpUntil([&] { return server.Requests().size() == 1; }));
    d.Press(IDCANCEL);
  });
  prompts_.answers = {IDYES};
  UploadRecipe(app_, AddressOf(server), recipe_, recipeCategories_, catalog_.categories, folder_.Path());
  EXPECT_EQ(std::tuple(scripts_.Opened(IDD_PROGRESS), prompts_.questions.size()), std::tuple(1, size_t{1}));
  EXPECT_FALSE(FileExists(folder_ / kUploadFile));
}

}  // namespace
