#include <gtest/gtest.h>
#include <httplib.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "SharedDocuments.h"
#include "server/ClientText.h"
#include "server/RecipeStore.h"
#include "server/SharingServer.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxUpload = 64 * 1024;
constexpr const char* kForm = "application/x-www-form-urlencoded";

// A search as the program asks it: the start date, then category and name only when given.
std::string SearchPath(const char* startDate, WStringView category = {}, WStringView name = {}) {
  std::string path = "/mirepan/findrecipe.php?startdate=" + QueryEncode(FromAscii(startDate));
  if (!category.empty()) path += "&category=" + QueryEncode(category);
  if (!name.empty()) path += "&foodname=" + QueryEncode(name);
  return path;
}

std::string Bytes(const WString& text) {
  return Utf16Bytes(text);
}

// One server on a loopback port with a fresh database and files folder per test.
class SharingServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/mirepan-server-test-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    folder_ = pattern;
    fs::create_directory(folder_ / "files");
    StartServer();
  }

  void TearDown() override {
    StopServer();
    fs::remove_all(folder_);
  }

  void StartServer() {
    store_ = std::make_unique<RecipeStore>();
    std::string error;
    ASSERT_TRUE(store_->Open((folder_ / "recipes.db").string(), error)) << error;
    SharingSettings settings;
    settings.filesFolder = (folder_ / "files").string();
    settings.maxUploadBytes = kMaxUpload;
    settings.today = [this] { return today_; };
    server_ = std::make_unique<SharingServer>(*store_, settings);
    port_ = server_->Bind("127.0.0.1", 0);
    ASSERT_GT(port_, 0);
    thread_ = std::thread([this] { server_->Run(); });
    for (int i = 0; i < 500 && !server_->IsRunning(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(server_->IsRunning());
    client_ = std::make_unique<httplib::Client>("127.0.0.1", port_);
    client_->set_connection_timeout(5);
    client_->set_read_timeout(10);
    client_->set_url_encode(false);
  }

  void StopServer() {
    if (!server_) return;
    client_.reset();
    server_->Stop();
    if (thread_.joinable()) thread_.join();
    server_.reset();
    store_.reset();
  }

  httplib::Result Upload(const std::string& body) {
    return client_->Post("/mirepan/uploadrecipe.php", body, kForm);
  }
  httplib::Result Upload(const TestRecipe& recipe, DayNumber day) {
    today_ = day;
    return Upload("recipe=" + FormEncode(SharedDocument(recipe)));
  }
  // The id the server gave an upload that must succeed.
  std::string Uploaded(const WString& name, const WString& category, DayNumber day) {
    TestRecipe recipe;
    recipe.name = name;
    recipe.category = category;
    const auto reply = Upload(recipe, day);
    EXPECT_TRUE(reply && reply->body.rfind("    OK ", 0) == 0) << (reply ? reply->body : "no reply");
    return reply ? reply->body.substr(7, reply->body.find('\r') - 7) : "";
  }
  std::string Get(const std::string& path, int status = 200) {
    const auto reply = client_->Get(path.c_str());
    if (!reply) return "no reply";
    EXPECT_EQ(status, reply->status) << path;
    return reply->body;
  }
  std::string Search(const std::string& path) { return Get(path); }
  void WriteFile(const char* name, const std::string& bytes) {
    std::ofstream(folder_ / "files" / name, std::ios::binary) << bytes;
  }

  fs::path folder_;
  int port_ = 0;
  DayNumber today_ = 20240315;
  std::unique_ptr<RecipeStore> store_;
  std::unique_ptr<SharingServer> server_;
  std::thread thread_;
  std::unique_ptr<httplib::Client> client_;
};

}  // namespace

TEST_F(SharingServerTest, UploadedRecipeIsListedAndDownloadedInTheProgramsForm) {
  const auto reply = Upload(TestRecipe(), 20240315);
  ASSERT_TRUE(reply);
  EXPECT_EQ(200, reply->status);
  EXPECT_EQ("    OK 1\r\n", reply->body);

  EXPECT_EQ("1,Pea Soup\r\n", Search(SearchPath("01-01-0000")));

  const auto document = client_->Get("/mirepan/downloadrecipe.php?id=1");
  ASSERT_TRUE(document);
  EXPECT_EQ(200, document->status);
  EXPECT_EQ(Bytes(SharedDocumentWithoutIds()), document->body);
  EXPECT_EQ(std::to_string(document->body.size()), document->get_header_value("Content-Length"));
}

TEST_F(SharingServerTest, StartDatesOfEveryDateChoiceSelectByUploadDay) {
  Uploaded(TXT("Autumn stew"), TXT("Stews"), 20231130);
  Uploaded(TXT("Bean salad"), TXT("Salads"), 20240214);
  Uploaded(TXT("Chili"), TXT("Stews"), 20240308);
  Uploaded(TXT("Dal"), TXT("Stews"), 20240314);
  Uploaded(TXT("Eggs"), TXT("Breakfast"), 20240315);
  // Today is 03-15-2024: all recipes, since a last download, last month (29 days in February),
  // last week, yesterday; the client sends the dashes query-encoded.
  EXPECT_EQ("1,Autumn stew\r\n2,Bean salad\r\n3,Chili\r\n4,Dal\r\n5,Eggs\r\n",
            Search(SearchPath("01-01-0000")));
  EXPECT_EQ("2,Bean salad\r\n3,Chili\r\n4,Dal\r\n5,Eggs\r\n", Search(SearchPath("01-02-2024")));
  EXPECT_EQ("2,Bean salad\r\n3,Chili\r\n4,Dal\r\n5,Eggs\r\n", Search(SearchPath("02-14-2024")));
  EXPECT_EQ("3,Chili\r\n4,Dal\r\n5,Eggs\r\n", Search(SearchPath("03-08-2024")));
  EXPECT_EQ("4,Dal\r\n5,Eggs\r\n", Search(SearchPath("03-14-2024")));
  EXPECT_EQ("", Search(SearchPath("03-16-2024")));
  EXPECT_EQ("01%2D01%2D0000", QueryEncode(TXT("01-01-0000")));
  EXPECT_EQ(Search(SearchPath("01-01-0000")), Search("/mirepan/findrecipe.php"));
  Get("/mirepan/findrecipe.php?startdate=2024-03-15", 400);
  Get("/mirepan/findrecipe.php?startdate=13-01-2024", 400);
}

TEST_F(SharingServerTest, CategoryAndNameFiltersIgnoreCaseAndCombine) {
  Uploaded(TXT("Pea Soup"), TXT("Soups & Stews"), 20240301);
  Uploaded(TXT("Sweet pea soup"), TXT("soups & stews"), 20240301);
  Uploaded(TXT("Pea salad"), TXT("Salads"), 20240301);
  Uploaded(TXT("Cr\u00E8me br\u00FBl\u00E9e"), TXT("Desserts"), 20240301);
  EXPECT_EQ("1,Pea Soup\r\n2,Sweet pea soup\r\n", Search(SearchPath("01-01-0000", TXT("SOUPS & STEWS"))));
  EXPECT_EQ("", Search(SearchPath("01-01-0000", TXT("Soups"))));
  EXPECT_EQ("1,Pea Soup\r\n2,Sweet pea soup\r\n", Search(SearchPath("01-01-0000", {}, TXT("PEA SOUP"))));
  EXPECT_EQ("3,Pea salad\r\n1,Pea Soup\r\n2,Sweet pea soup\r\n",
            Search(SearchPath("01-01-0000", {}, TXT(" pea "))));
  EXPECT_EQ("3,Pea salad\r\n", Search(SearchPath("01-01-0000", TXT("salads"), TXT("pea"))));
  EXPECT_EQ("", Search(SearchPath("01-01-0000", TXT("Salads"), TXT("soup"))));
  // A letter outside ASCII arrives as its own byte, or UTF-8 encoded by other clients; the reply
  // carries it as one byte.
  EXPECT_EQ(
      "4,Cr\xE8me br\xFBl\xE9"
      "e\r\n",
      Search(SearchPath("01-01-0000", {}, TXT("CR\u00C8ME"))));
  EXPECT_EQ(
      "4,Cr\xE8me br\xFBl\xE9"
      "e\r\n",
      Search("/mirepan/findrecipe.php?startdate=01-01-0000&foodname=cr%C3%A8me"));
}

TEST_F(SharingServerTest, ListingKeepsEveryLineAtTwoFields) {
  Uploaded(TXT("Mac, cheese and \"more\""), TXT("Pasta"), 20240301);
  Uploaded(TXT("Plain \"pasta\""), TXT("Pasta"), 20240301);
  EXPECT_EQ("1,\"Mac, cheese and more\"\r\n2,Plain pasta\r\n", Search(SearchPath("01-01-0000")));
}

TEST_F(SharingServerTest, SqlInNamesIsStoredAndSearchedAsPlainText) {
  const WString name = TXT("Robert'); DROP TABLE recipes;--");
  Uploaded(name, TXT("x' OR '1'='1"), 20240301);
  Uploaded(TXT("100% rye_bread"), TXT("Breads"), 20240301);
  EXPECT_EQ("2,100% rye_bread\r\n1,Robert'); DROP TABLE recipes;--\r\n", Search(SearchPath("01-01-0000")));
  EXPECT_EQ("1,Robert'); DROP TABLE recipes;--\r\n", Search(SearchPath("01-01-0000", TXT("X' or '1'='1"))));
  EXPECT_EQ("", Search(SearchPath("01-01-0000", TXT("' OR 1=1 --"))));
  EXPECT_EQ("2,100% rye_bread\r\n", Search(SearchPath("01-01-0000", {}, TXT("%"))));
  EXPECT_EQ("", Search(SearchPath("01-01-0000", {}, TXT("r_e"))));
  EXPECT_EQ("1,Robert'); DROP TABLE recipes;--\r\n", Search(SearchPath("01-01-0000", {}, TXT("');"))));
  TestRecipe recipe;
  recipe.name = name;
  recipe.category = TXT("x' OR '1'='1");
  EXPECT_EQ(Bytes(SharedDocumentWithoutIds(recipe)), Get("/mirepan/downloadrecipe.php?id=1"));
}

TEST_F(SharingServerTest, RefusedUploadsGetAReasonAndStoreNothing) {
  const auto tooLarge = Upload("recipe=" + std::string(kMaxUpload, 'a'));
  ASSERT_TRUE(tooLarge);
  EXPECT_EQ(413, tooLarge->status);
  EXPECT_EQ(0u, tooLarge->body.rfind("ERROR: ", 0)) << tooLarge->body;

  const auto farTooLarge = Upload("recipe=" + std::string(3 * kMaxUpload, 'a'));
  if (farTooLarge) {
    EXPECT_NE(0u, farTooLarge->body.rfind("    OK", 0));
  }

  for (const std::string& body :
       {std::string("recipe=Pea+soup"), std::string("recipe="), std::string("name=Pea"),
        "recipe=" + FormEncode(TXT("<RECIPELIST>\r\n<RECIPES>\r\n</RECIPES>\r\n</RECIPELIST>\r\n"))}) {
    const auto reply = Upload(body);
    ASSERT_TRUE(reply) << body;
    EXPECT_EQ(400, reply->status) << body;
    EXPECT_EQ(0u, reply->body.rfind("ERROR: ", 0)) << reply->body;
  }
  const auto get = client_->Get("/mirepan/uploadrecipe.php");
  ASSERT_TRUE(get);
  EXPECT_EQ(404, get->status);
  EXPECT_EQ("", Search(SearchPath("01-01-0000")));
}

TEST_F(SharingServerTest, UploadsOfTheFilesBytesAndWithATerminatingZeroAreAccepted) {
  TestRecipe recipe;
  recipe.name = TXT("Borscht \u0431\u043E\u0440\u0449");  // kept only when the file's own bytes are sent
  const auto wide = Upload("recipe=" + FormEncode(FromAscii(Bytes(SharedDocument(recipe)))));
  ASSERT_TRUE(wide);
  EXPECT_EQ("    OK 1\r\n", wide->body);
  const auto zero = Upload("recipe=" + FormEncode(SharedDocument()) + std::string(1, '\0'));
  ASSERT_TRUE(zero);
  EXPECT_EQ("    OK 2\r\n", zero->body);
  EXPECT_EQ(Bytes(SharedDocumentWithoutIds(recipe)), Get("/mirepan/downloadrecipe.php?id=1"));
  EXPECT_EQ("1,Borscht ????\r\n2,Pea Soup\r\n", Search(SearchPath("01-01-0000")));
}

TEST_F(SharingServerTest, UnknownIdsGetAnEmptyReply) {
  Uploaded(TXT("Pea Soup"), TXT("Soups"), 20240301);
  for (const char* id : {"2", "0", "-1", "abc", "", "1x", "4294967297", "2147483648"}) {
    const auto reply = client_->Get((std::string("/mirepan/downloadrecipe.php?id=") + id).c_str());
    ASSERT_TRUE(reply) << id;
    EXPECT_EQ(404, reply->status) << id;
    EXPECT_EQ("", reply->body) << id;
    EXPECT_EQ("0", reply->get_header_value("Content-Length")) << id;
  }
  EXPECT_EQ(404, client_->Get("/mirepan/downloadrecipe.php")->status);
}

TEST_F(SharingServerTest, ASecondServerCannotTakeTheSamePort) {
  RecipeStore other;
  std::string error;
  ASSERT_TRUE(other.Open((folder_ / "other.db").string(), error)) << error;
  SharingServer second(other, SharingSettings());
  EXPECT_EQ(-1, second.Bind("127.0.0.1", port_));
}

TEST_F(SharingServerTest, RecipesOutliveARestart) {
  Uploaded(TXT("Pea Soup"), TXT("Soups"), 20240301);
  StopServer();
  StartServer();
  EXPECT_EQ("1,Pea Soup\r\n", Search(SearchPath("01-01-0000")));
  EXPECT_EQ("2", Uploaded(TXT("Dal"), TXT("Stews"), 20240302));
}

TEST_F(SharingServerTest, ServesExactlyTheThreeFilesOfItsFolder) {
  std::string installer(20000, '\0');
  for (size_t i = 0; i < installer.size(); ++i) installer[i] = static_cast<char>(i * 7);
  WriteFile("Mirepan.ver", "<VERSION>4.4.1.0</VERSION>\r\n");
  WriteFile("Mirepansetup.exe", installer);
  WriteFile("popup.xml", "<POPUP>\r\n<DATE>1</DATE>\r\n<MESSAGE>Hi</MESSAGE>\r\n</POPUP>\r\n");
  WriteFile("secret.txt", "not for clients");
  EXPECT_EQ("<VERSION>4.4.1.0</VERSION>\r\n", Get("/mirepan/Mirepan.ver"));
  const auto setup = client_->Get("/mirepan/Mirepansetup.exe");
  ASSERT_TRUE(setup);
  EXPECT_EQ(installer, setup->body);
  EXPECT_EQ("20000", setup->get_header_value("Content-Length"));
  EXPECT_EQ("<POPUP>\r\n<DATE>1</DATE>\r\n<MESSAGE>Hi</MESSAGE>\r\n</POPUP>\r\n", Get("/mirepan/popup.xml"));
  for (const char* path : {"/mirepan/secret.txt", "/mirepan/../files/secret.txt", "/mirepan/files/secret.txt",
                           "/secret.txt", "/mirepan/", "/mirepan/popup.xmlx", "/mirepan/Popup.xml"}) {
    EXPECT_EQ("", Get(path, 404)) << path;
  }
  fs::remove(folder_ / "files" / "popup.xml");
  fs::remove(folder_ / "files" / "Mirepan.ver");
  fs::create_directory(folder_ / "files" / "Mirepan.ver");
  EXPECT_EQ("", Get("/mirepan/popup.xml", 404));
  EXPECT_EQ("", Get("/mirepan/Mirepan.ver", 404));
}
