#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "LoopbackSocket.h"
#include "SharedDocuments.h"
#include "server/AddressRange.h"
#include "server/ClientText.h"
#include "server/RecipeStore.h"
#include "server/SharingServer.h"
#include "support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxUpload = 64 * 1024;
constexpr const char* kForm = "application/x-www-form-urlencoded";

// Connections that send nothing, stop inside the headers, or stop inside an upload's body.
const std::string kStalls[] = {
    "", "GET /mirepan/findrecipe.php?startdate=01-01-0000 HTTP/1.1\r\nHost: 127.0.0.1\r\n",
    "POST /mirepan/uploadrecipe.php HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: " + std::string(kForm) +
        "\r\nContent-Length: 10000\r\n\r\nrecipe=%3CRECIPELIST"};

std::vector<AddressRange> Ranges(std::initializer_list<const char*> texts) {
  std::vector<AddressRange> ranges;
  for (const char* text : texts) ranges.push_back(*AddressRange::Parse(text));
  return ranges;
}

// A raw HTTP reply: the status code (0 when unreadable), the status line and headers, and the body.
using RawReply = std::tuple<int, std::string, std::string>;

// One server on a loopback port with a fresh database and files folder per test.
class SharingServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(folder_ / "files");
    settings_.filesFolder = (folder_ / "files").string();
    settings_.maxUploadBytes = kMaxUpload;
    settings_.today = [this] { return today_; };
    settings_.log = [this](const std::string& line) {
      std::lock_guard<std::mutex> lock(logMutex_);
      log_.push_back(line);
      logged_.notify_all();
    };
    Start();
  }

  void TearDown() override { Stop(); }

  void Start() {
    store_ = std::make_unique<RecipeStore>();
    std::string error;
    ASSERT_TRUE(store_->Open((folder_ / "recipes.db").string(), error)) << error;
    server_ = std::make_unique<SharingServer>(*store_, settings_);
    ASSERT_GT(port_ = server_->Bind("127.0.0.1", 0), 0);
    thread_ = std::thread([this] { server_->Run(); });
    for (int i = 0; i < 500 && !server_->IsRunning(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(server_->IsRunning());
    client_ = std::make_unique<httplib::Client>("127.0.0.1", port_);
    client_->set_connection_timeout(5);
    client_->set_read_timeout(10);
    client_->set_url_encode(false);
  }

  void Stop() {
    if (!server_) return;
    client_.reset();
    server_->Stop();
    if (thread_.joinable()) thread_.join();
    server_.reset();
    store_.reset();
  }

  // Serves again on the same database, with the settings changed by `change`.
  void Restart(const std::function<void(SharingSettings&)>& change = {}) {
    Stop();
    if (change) change(settings_);
    Start();
  }

  // The status and body of the reply to an upload; status 0 when none came.
  std::pair<int, std::string> Upload(const std::string& body) {
    const auto reply = client_->Post("/mirepan/uploadrecipe.php", body, kForm);
    return reply ? std::make_pair(reply->status, reply->body) : std::make_pair(0, std::string("no reply"));
  }
  // The id the server gave an upload that must succeed.
  std::string Uploaded(const WString& name, const WString& category, DayNumber day) {
    today_ = day;
    const std::string reply = Upload("recipe=" + FormEncode(SharedDocument({name, category}))).second;
    EXPECT_EQ(0u, reply.rfind("    OK ", 0)) << reply;
    return reply.substr(7, reply.find('\r') - 7);
  }
  // The status, body and Content-Length of the reply to a GET; status 0 when none came.
  std::tuple<int, std::string, std::string> Fetch(const std::string& path) {
    const auto reply = client_->Get(path.c_str());
    if (!reply) return {0, "no reply", ""};
    return {reply->status, reply->body, reply->get_header_value("Content-Length")};
  }
  std::string Get(const std::string& path, int status = 200) {
    const auto [code, body, length] = Fetch(path);
    EXPECT_EQ(status, code) << path;
    return body;
  }
  // A search as the program asks it: the start date, then category and name only when given.
  std::string Listed(WStringView category = {}, WStringView name = {}, const char* startDate = "01-01-0000") {
    std::string path = "/mirepan/findrecipe.php?startdate=" + QueryEncode(FromAscii(startDate));
    if (!category.empty()) path += "&category=" + QueryEncode(category);
    if (!name.empty()) path += "&foodname=" + QueryEncode(name);
    return Get(path);
  }
  // The request log once it holds `count` lines; the server writes a line after it has answered.
  std::vector<std::string> LogLines(size_t count) {
    std::unique_lock<std::mutex> lock(logMutex_);
    logged_.wait_for(lock, std::chrono::seconds(2), [&] { return log_.size() >= count; });
    return log_;
  }

  // A request on a connection of its own from `source`, read until the server closes it.
  RawReply Raw(const char* source, const std::string& request) {
    LoopbackSocket socket(port_, source);
    EXPECT_TRUE(socket.Connected()) << source;
    socket.Send(request);
    const std::string reply = socket.ReadUntilClosed(5);
    const size_t end = reply.find("\r\n\r\n");
    if (reply.rfind("HTTP/1.", 0) != 0 || reply.size() < 12 || end == std::string::npos)
      return {0, reply, ""};
    return {std::stoi(reply.substr(9, 3)), reply.substr(0, end + 2), reply.substr(end + 4)};
  }
  RawReply UploadFrom(const char* source, const std::string& headers = "") {
    const std::string body = "recipe=" + FormEncode(SharedDocument());
    return Raw(source, "POST /mirepan/uploadrecipe.php HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
                           headers + "Content-Type: " + kForm +
                           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
  }

  const test_support::ScratchFolder scratch_;
  const fs::path folder_ = test_support::SystemPath(scratch_.Path());
  SharingSettings settings_;
  int port_ = 0;
  DayNumber today_ = 20240315;
  std::unique_ptr<RecipeStore> store_;
  std::unique_ptr<SharingServer> server_;
  std::thread thread_;
  std::unique_ptr<httplib::Client> client_;
  std::mutex logMutex_;
  std::condition_variable logged_;
  std::vector<std::string> log_;
};

}  // namespace

TEST_F(SharingServerTest, UploadsAreListedAndDownloadedInTheProgramsForm) {
  const TestRecipe borscht{
      TXT("Borscht \u0431\u043E\u0440\u0449")};  // kept only when the file's own bytes are sent
  EXPECT_EQ(std::make_pair(200, std::string("    OK 1\r\n")),
            Upload("recipe=" + FormEncode(SharedDocument())));
  // Also the file's bytes as they are, and the text with a terminating zero.
  EXPECT_EQ("    OK 2\r\n",
            Upload("recipe=" + FormEncode(FromAscii(Utf16Bytes(SharedDocument(borscht))))).second);
  EXPECT_EQ("    OK 3\r\n", Upload("recipe=" + FormEncode(SharedDocument()) + std::string(1, '\0')).second);
  EXPECT_EQ("2,Borscht ????\r\n1,Pea Soup\r\n3,Pea Soup\r\n", Listed());
  const std::string document = Utf16Bytes(SharedDocumentWithoutIds());
  EXPECT_EQ(std::make_tuple(200, document, std::to_string(document.size())),
            Fetch("/mirepan/downloadrecipe.php?id=1"));
  EXPECT_EQ(Utf16Bytes(SharedDocumentWithoutIds(borscht)), Get("/mirepan/downloadrecipe.php?id=2"));
  EXPECT_EQ(document, Get("/mirepan/downloadrecipe.php?id=3"));
}

TEST_F(SharingServerTest, StartDatesOfEveryDateChoiceSelectByUploadDay) {
  Uploaded(TXT("Autumn stew"), TXT("Stews"), 20240213);
  Uploaded(TXT("Bean salad"), TXT("Stews"), 20240214);
  Uploaded(TXT("Chili"), TXT("Stews"), 20240315);
  // Today is 03-15-2024: all recipes, those since a day (last month: 29 days in February), none after
  // today; the client sends the dashes query-encoded.
  const std::pair<const char*, const char*> rows[] = {
      {"01-01-0000", "1,Autumn stew\r\n2,Bean salad\r\n3,Chili\r\n"},
      {"02-14-2024", "2,Bean salad\r\n3,Chili\r\n"},
      {"03-16-2024", ""}};
  for (const auto& [startDate, listed] : rows) EXPECT_EQ(listed, Listed({}, {}, startDate)) << startDate;
  EXPECT_EQ(Listed(), Get("/mirepan/findrecipe.php"));
  Get("/mirepan/findrecipe.php?startdate=2024-03-15", 400);
  Get("/mirepan/findrecipe.php?startdate=13-01-2024", 400);
}

TEST_F(SharingServerTest, SearchesFilterByCategoryAndNameAndListTwoFieldsALine) {
  const WString robert = TXT("Robert'); DROP TABLE recipes;--"), orTrue = TXT("x' OR '1'='1");
  // clang-format off
  const std::pair<WString, WString> uploads[] = {
      {TXT("Pea Soup"), TXT("Soups & Stews")}, {TXT("Sweet pea soup"), TXT("soups & stews")},
      {TXT("Pea salad"), TXT("Salads")}, {TXT("Cr\u00E8me br\u00FBl\u00E9e"), TXT("Desserts")},
      {TXT("Mac, cheese and \"more\""), TXT("Pasta")}, {TXT("Plain \"pasta\""), TXT("Pasta")},
      {TXT("Pasta\tal limone"), TXT("Pasta")}, {robert, orTrue}, {TXT("100% rye_bread"), TXT("Breads")}};
  // clang-format on
  for (const auto& [name, category] : uploads) Uploaded(name, category, 20240301);
  // The program's uploads carry 8-bit names; a name stored by other means may hold any letter.
  store_->Add({TXT("Pasta \u00E0 la \u20AC"), TXT("Pasta"), TXT("<RECIPELIST/>")}, 20240301);
  // Each line is an id and the name without quotes, the name quoted when it holds a comma.
  EXPECT_EQ(
      "9,100% rye_bread\r\n4,Cr\350me br\373l\351e\r\n5,\"Mac, cheese and more\"\r\n7,Pasta al limone\r\n"
      "10,Pasta \340 la ?\r\n3,Pea salad\r\n1,Pea Soup\r\n6,Plain pasta\r\n"
      "8,Robert'); DROP TABLE recipes;--\r\n2,Sweet pea soup\r\n",
      Listed());
  const std::tuple<const WChar*, const WChar*, const char*> rows[] = {
      // category, name, listing
      {TXT("SOUPS & STEWS"), TXT(""), "1,Pea Soup\r\n2,Sweet pea soup\r\n"},
      {TXT("Soups"), TXT(""), ""},
      {TXT(""), TXT(" pea "), "3,Pea salad\r\n1,Pea Soup\r\n2,Sweet pea soup\r\n"},
      {TXT("salads"), TXT("pea"), "3,Pea salad\r\n"},
      // A letter outside ASCII arrives as its own byte (or UTF-8, below); the reply carries one byte.
      {TXT(""), TXT("CR\u00C8ME"), "4,Cr\350me br\373l\351e\r\n"},
      // SQL and LIKE patterns are plain text.
      {TXT("X' or '1'='1"), TXT(""), "8,Robert'); DROP TABLE recipes;--\r\n"},
      {TXT(""), TXT("');"), "8,Robert'); DROP TABLE recipes;--\r\n"},  // a quote in the name too
      {TXT("' OR 1=1 --"), TXT(""), ""},
      {TXT(""), TXT("%"), "9,100% rye_bread\r\n"},
      {TXT(""), TXT("r_e"), ""},
  };
  for (const auto& [category, name, listed] : rows) {
    EXPECT_EQ(listed, Listed(category, name)) << ToUtf8(category) << " / " << ToUtf8(name);
  }
  EXPECT_EQ("4,Cr\350me br\373l\351e\r\n",
            Get("/mirepan/findrecipe.php?startdate=01-01-0000&foodname=cr%C3%A8me"));
  EXPECT_EQ(Utf16Bytes(SharedDocumentWithoutIds({robert, orTrue})), Get("/mirepan/downloadrecipe.php?id=8"));
}

TEST_F(SharingServerTest, RecipesOutliveARestartAndUnknownIdsGetAnEmptyReply) {
  RecipeStore other;
  std::string error;
  ASSERT_TRUE(other.Open((folder_ / "other.db").string(), error)) << error;
  EXPECT_EQ(-1, SharingServer(other, SharingSettings()).Bind("127.0.0.1", port_)) << "no second server";
  Uploaded(TXT("Pea Soup"), TXT("Soups"), 20240301);
  for (const char* query :
       {"?id=2", "?id=0", "?id=-1", "?id=1x", "?id=", "?id=4294967297", "?id=2147483648", ""}) {
    EXPECT_EQ(std::make_tuple(404, std::string(), std::string("0")),
              Fetch(std::string("/mirepan/downloadrecipe.php") + query))
        << query;
  }
  Restart();
  EXPECT_EQ("1,Pea Soup\r\n", Listed());
  EXPECT_EQ("2", Uploaded(TXT("Dal"), TXT("Stews"), 20240302));
}

TEST_F(SharingServerTest, ServesExactlyTheThreeFilesOfItsFolder) {
  std::string installer(20000, '\0');
  for (size_t i = 0; i < installer.size(); ++i) installer[i] = static_cast<char>(i * 7);
  const std::pair<std::string, std::string> files[] = {
      {"Mirepan.ver", "<VERSION>4.4.1.0</VERSION>\r\n"},
      {"Mirepansetup.exe", installer},
      {"popup.xml", "<POPUP>\r\n<DATE>1</DATE>\r\n<MESSAGE>Hi</MESSAGE>\r\n</POPUP>\r\n"}};
  std::ofstream(folder_ / "files" / "secret.txt") << "not for clients";
  for (const auto& [name, bytes] : files) {
    std::ofstream(folder_ / "files" / name, std::ios::binary) << bytes;
    EXPECT_EQ(std::make_tuple(200, bytes, std::to_string(bytes.size())), Fetch("/mirepan/" + name)) << name;
  }
  for (const char* path :
       {"/mirepan/secret.txt", "/mirepan/../files/secret.txt", "/mirepan/popup.xmlx", "/mirepan/Popup.xml"}) {
    EXPECT_EQ("", Get(path, 404)) << path;
  }
  // The path is decoded whole; a control character anywhere in it is refused, also after a name.
  EXPECT_EQ(0u, Get("/mirepan/Mirepan%2Ever").rfind(files[0].second, 0));
  for (const char* path : {"/mirepan/Mirepan.ver%00.txt", "/mirepan/Mirepan.ver%00", "/mirepan/popup.xml%0A",
                           "/mirepan/%1Fpopup.xml", "/mirepan/popup%7F.xml", "/mirepan/findrecipe.php%09"}) {
    EXPECT_EQ("ERROR: the path holds a control character\r\n", Get(path, 400)) << path;
  }
  // Gone, or a folder in place of the file.
  fs::remove(folder_ / "files" / "popup.xml");
  fs::remove(folder_ / "files" / "Mirepan.ver");
  fs::create_directory(folder_ / "files" / "Mirepan.ver");
  EXPECT_EQ("", Get("/mirepan/popup.xml", 404));
  EXPECT_EQ("", Get("/mirepan/Mirepan.ver", 404));
}

// The version file carries the hash of the installer beside it, in the file's own encoding, and a
// replaced installer's new hash; an element the file has itself comes before it.
TEST_F(SharingServerTest, TheVersionFileNamesTheInstallersHash) {
  const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const std::string wideVersion(
      "<\0V\0>\0"
      "4\0>\0",
      10);
  const struct {
    const char* what;
    std::string version, installer, served;
  } cases[] = {
      {"8-bit", "<VERSION>4.4.1.0</VERSION>\r\n", "abc",
       "<VERSION>4.4.1.0</VERSION>\r\n<SHA256>" + abc + "</SHA256>\r\n"},
      {"replaced", "<VERSION>4.4.2.0</VERSION><SHA256>0</SHA256>", "",
       "<VERSION>4.4.2.0</VERSION><SHA256>0</SHA256><SHA256>"
       "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855</SHA256>\r\n"},
      {"UTF-16", wideVersion, "abc", wideVersion + std::string("<\0S\0H\0A\0002\0005\0006\0>\0", 16)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(folder_ / "files" / "Mirepan.ver", std::ios::binary) << c.version;
    std::ofstream(folder_ / "files" / "Mirepansetup.exe", std::ios::binary) << c.installer;
    const std::string served = Get("/mirepan/Mirepan.ver");
    EXPECT_EQ(served.substr(0, c.served.size()), c.served);
  }
}

TEST_F(SharingServerTest, LongRecipesAreAcceptedUpToTheUploadLimitAndRefusalsGiveAReason) {
  // 60 ingredient lines and long instructions, as a cook would share them.
  TestRecipe recipe;
  recipe.extraLines = 58;
  recipe.instructions.clear();
  for (int step = 1; step <= 40; ++step) {
    recipe.instructions += TXT("Step ") + FromAscii(std::to_string(step)) +
                           TXT(": stir the pot gently, taste, and add a little water when it thickens.\r\n");
  }
  const std::string body = "recipe=" + FormEncode(SharedDocument(recipe));
  ASSERT_GT(body.size(), 8192u);
  ASSERT_LT(body.size(), kMaxUpload);
  ASSERT_EQ("    OK 1\r\n", Upload(body).second);
  EXPECT_TRUE(Utf16Bytes(SharedDocumentWithoutIds(recipe)) == Get("/mirepan/downloadrecipe.php?id=1"));
  // The size alone decides up to the limit: a body of exactly the limit is read and judged. Below it,
  // what is no shared recipe is refused.
  const std::string a(kMaxUpload, 'a');
  // clang-format off
  const std::pair<std::string, int> refused[] = {
      {"recipe=" + a.substr(0, 8193 - 7), 400}, {"recipe=" + a.substr(7), 400},
      {"recipe=" + a.substr(6), 413}, {"recipe=Pea+soup", 400}, {"recipe=", 400}, {"name=Pea", 400},
      {"recipe=" + FormEncode(TXT("<RECIPELIST>\r\n<RECIPES>\r\n</RECIPES>\r\n</RECIPELIST>\r\n")), 400}};
  // clang-format on
  for (const auto& [refusedBody, status] : refused) {
    const auto [code, reason] = Upload(refusedBody);
    EXPECT_EQ(status, code) << refusedBody.size() << " " << refusedBody.substr(0, 20);
    EXPECT_EQ(0u, reason.rfind("ERROR: ", 0)) << reason;
  }
  EXPECT_NE(0u, Upload("recipe=" + std::string(3 * kMaxUpload, 'a')).second.rfind("    OK", 0))
      << "no reply is fine";
  EXPECT_EQ("", Get("/mirepan/uploadrecipe.php", 404));
  EXPECT_EQ("1,Pea Soup\r\n", Listed()) << "refused uploads store nothing";
}

// Paths with controls are refused, and logged as they were decoded.
TEST_F(SharingServerTest, RequestLogKeepsEachRequestOnOneLineWithControlsEscaped) {
  const std::pair<const char*, const char*> requests[] = {
      {"/mirepan/x%0D%0A2024-03-15 10:00:00 127.0.0.1 GET /mirepan/popup.xml 200",
       "127.0.0.1 GET /mirepan/x\\r\\n2024-03-15 10:00:00 127.0.0.1 GET /mirepan/popup.xml 200 400"},
      {"/mirepan/%1B%5B2J%09back%5Cslash%7Fcaf%C3%A9%00",
       "127.0.0.1 GET /mirepan/\\x1b[2J\\tback\\\\slash\\x7fcaf\\xc3\\xa9\\x00 400"},
  };
  size_t count = 0;
  for (const auto& [path, logged] : requests) {
    Get(path, 400);
    const std::vector<std::string> lines = LogLines(++count);
    ASSERT_EQ(count, lines.size()) << path;
    EXPECT_EQ(logged, lines.back()) << path;
  }
}

// Idle and stalled connections neither slow searches down nor stay open past the idle time.
TEST_F(SharingServerTest, StalledConnectionsNeitherSlowSearchesNorStayOpen) {
  Uploaded(TXT("Pea Soup"), TXT("Soups"), 20240301);
  std::vector<std::unique_ptr<LoopbackSocket>> stalled;
  for (int i = 0; i < 200; ++i) {
    const std::string source = "127.0.1." + std::to_string(1 + i % 20);  // within each client's share
    stalled.push_back(std::make_unique<LoopbackSocket>(port_, source.c_str()));
    ASSERT_TRUE(stalled.back()->Connected()) << i;
    ASSERT_TRUE(stalled.back()->Send(kStalls[i % 3])) << i;
  }
  // Milliseconds each search of every recipe takes on a connection of its own.
  std::vector<double> took;
  httplib::Client client("127.0.0.1", port_);  // a connection for each request
  client.set_connection_timeout(3);
  client.set_read_timeout(3);
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const auto reply = client.Get("/mirepan/findrecipe.php?startdate=01%2D01%2D0000");
    took.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    EXPECT_EQ("1,Pea Soup\r\n", reply ? reply->body : "no reply");
  }
  std::sort(took.begin(), took.end());
  EXPECT_LT(took[2], 100.0) << "median search time in ms";
  EXPECT_LT(took[4], 1000.0) << "slowest search time in ms";
  stalled.clear();
  Restart([](SharingSettings& settings) { settings.idleSeconds = 1; });
  for (const std::string& stall : kStalls) {
    LoopbackSocket socket(port_);
    ASSERT_TRUE(socket.Send(stall));
    bool closed = false;
    socket.ReadUntilClosed(5, &closed);
    EXPECT_TRUE(closed) << stall;
  }
}

// A client whose many connections each send a header line now and then, so that none is ever idle,
// keeps no one else waiting, and each connection is dropped once its request has taken the request time.
TEST_F(SharingServerTest, TricklingConnectionsNeitherLockOthersOutNorOutlastTheRequestTime) {
  Restart([](SharingSettings& settings) {
    settings.idleSeconds = 1;
    settings.requestSeconds = 2;
  });
  std::vector<std::unique_ptr<LoopbackSocket>> trickling;
  for (int i = 0; i < 1100; ++i) {
    trickling.push_back(std::make_unique<LoopbackSocket>(port_, "127.0.0.2"));
    trickling.back()->Send(kStalls[1]);
  }
  const std::string search =
      "GET /mirepan/findrecipe.php HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(200, std::get<0>(Raw("127.0.0.1", search)));
  using Milliseconds = std::chrono::duration<double, std::milli>;
  EXPECT_LT(Milliseconds(std::chrono::steady_clock::now() - start).count(), 500.0)
      << "ms a fresh search takes";
  // A line every half second, for at most 6 s, until the server has closed every connection.
  for (int round = 0; round < 12 && !trickling.empty(); ++round) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    trickling.erase(std::remove_if(trickling.begin(), trickling.end(),
                                   [](const auto& socket) { return !socket->Send("X-Trickle: 1\r\n"); }),
                    trickling.end());
  }
  EXPECT_EQ(0u, trickling.size()) << "connections still open";
  EXPECT_EQ(200, std::get<0>(Raw("127.0.0.2", search))) << "the client itself is served again";
}

TEST_F(SharingServerTest, OneClientsUploadsAreLimitedToSixtyAMinuteByDefault) {
  const std::string body = "recipe=" + FormEncode(SharedDocument());
  for (int i = 1; i <= 60; ++i) ASSERT_EQ(200, Upload(body).first) << i;
  const auto [status, head, reason] = UploadFrom("127.0.0.1");
  EXPECT_EQ(429, status);
  EXPECT_EQ("ERROR: too many uploads from your address, try again later\r\n", reason);
  EXPECT_NE(std::string::npos, head.find("\r\nRetry-After: 6")) << head;  // about a minute
  EXPECT_EQ(200, std::get<0>(UploadFrom("127.0.0.2"))) << "another client";
}

TEST_F(SharingServerTest, UploadLimitsJudgeTheClientOrTheOneATrustedProxyNames) {
  const char* const kNotAllowed = "ERROR: this server takes no uploads from your address\r\n";
  // Uploads from a source with an X-Forwarded-For header: the status and body of the reply, and the client
  // the log names.
  using Upload = std::tuple<const char*, std::string, int, const char*, const char*>;
  size_t requests = 0;
  const auto expectReplies = [&](std::initializer_list<Upload> uploads) {
    for (const auto& [source, forwarded, expectedStatus, expectedBody, client] : uploads) {
      const auto [status, head, body] =
          UploadFrom(source, forwarded.empty() ? "" : "X-Forwarded-For: " + forwarded + "\r\n");
      EXPECT_EQ(expectedStatus, status) << source << " " << forwarded;
      EXPECT_EQ(expectedBody, body) << source << " " << forwarded;
      EXPECT_EQ(expectedStatus == 429, head.find("\r\nRetry-After: 3") != std::string::npos) << head;
      EXPECT_EQ(client + (" POST /mirepan/uploadrecipe.php " + std::to_string(status)),
                LogLines(++requests).back());
    }
  };
  Restart([](SharingSettings& settings) {
    settings.uploadRanges = Ranges({"127.0.0.1/32", "::1"});
    settings.maxUploadsPerHour = 2;
  });
  expectReplies({{"127.0.0.2", "", 403, kNotAllowed, "127.0.0.2"},
                 {"127.0.0.1", "", 200, "    OK 1\r\n", "127.0.0.1"},
                 {"127.0.0.1", "", 200, "    OK 2\r\n", "127.0.0.1"},
                 {"127.0.0.1", "", 429, "ERROR: too many uploads from your address, try again later\r\n",
                  "127.0.0.1"}});
  // Searches stay open to everyone.
  const auto [status, head, body] = Raw(
      "127.0.0.2", "GET /mirepan/findrecipe.php HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(std::make_pair(200, std::string("1,Pea Soup\r\n2,Pea Soup\r\n")), std::make_pair(status, body));
  ++requests;
  // A trusted proxy names the client in the last entry of X-Forwarded-For.
  Restart([](SharingSettings& settings) {
    settings.maxUploadsPerHour = 0;
    settings.uploadRanges = Ranges({"192.0.2.0/24"});
    settings.trustedProxies = Ranges({"127.0.0.1"});
  });
  expectReplies({{"127.0.0.1", "203.0.113.5, 192.0.2.9", 200, "    OK 3\r\n", "192.0.2.9"},
                 {"127.0.0.1", "192.0.2.9, 203.0.113.5", 403, kNotAllowed, "203.0.113.5"},
                 {"127.0.0.1", "", 403, kNotAllowed, "127.0.0.1"},
                 {"127.0.0.2", "192.0.2.9", 403, kNotAllowed, "127.0.0.2"}});
}
