// The sharing server under load, on a loopback port: searches of each kind the program asks, uploads
// of a long recipe, and searches while 200 connections sit idle or stalled. Prints one table.
//
//   sharing_server_bench [recipes] [seconds] [kept.db]
//
// Defaults: 100000 recipes, 2 seconds per measure. With kept.db, the filled store is copied there once
// and later runs start from a copy of it instead of filling the store again (delete it after changing
// the schema or the recipes).
#include <fcntl.h>
#include <httplib.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackSocket.h"
#include "SharedDocuments.h"
#include "server/RecipeStore.h"
#include "server/SharingServer.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr DayNumber kToday = 20241231;
constexpr const char* kForm = "application/x-www-form-urlencoded";

const char* const kAdjectives[] = {"Smoky",     "Spicy",   "Creamy", "Quick",  "Rustic", "Golden",
                                   "Herbed",    "Roasted", "Tangy",  "Hearty", "Crispy", "Sweet",
                                   "Grandma's", "Summer",  "Winter", "Lemon"};
const char* const kFoods[] = {
    "lentil", "chicken", "bean",    "apple",   "pasta",  "rice",   "fish",   "pea",      "onion",   "beef",
    "tomato", "corn",    "pumpkin", "noodle",  "barley", "leek",   "carrot", "mushroom", "spinach", "lamb",
    "pork",   "tofu",    "potato",  "cabbage", "salmon", "shrimp", "egg",    "cheese",   "pear",    "plum",
    "cherry", "walnut",  "almond",  "oat",     "quinoa", "millet", "fennel", "celery",   "garlic",  "ginger"};
const char* const kKinds[] = {"soup", "stew",  "salad",   "pie",  "bake",
                              "bowl", "curry", "risotto", "tart", "sauce"};
const WChar* const kCategories[] = {
    TXT("Soups"),     TXT("Stews"),  TXT("Salads"), TXT("Desserts"),
    TXT("Breads"),    TXT("Pasta"),  TXT("Fish"),   TXT("Vegetarian"),
    TXT("Breakfast"), TXT("Drinks"), TXT("Sauces"), TXT("\u03A3\u03BF\u03CD\u03C0\u03B5\u03C2")};

// About 9 KB as stored, like a recipe of a dozen lines with its instructions.
WString StoredDocument() {
  TestRecipe recipe;
  recipe.extraLines = 10;
  recipe.instructions = WString(1200, u'x');
  return SharedDocumentWithoutIds(recipe);
}

// Recipe n: a name of words that searches look for (every 97th in Greek too) and a category.
SharedRecipe NthRecipe(size_t n, const WString& document) {
  WString name = FromUtf8(std::string(kAdjectives[n % 16]) + " " + kFoods[n / 16 % 40] + " " +
                          kKinds[n / 640 % 10] + " " + std::to_string(n));
  if (n % 97 == 0) name = TXT("\u03A9\u03BC\u03AD\u03B3\u03B1 ") + name;  // Ωμέγα
  return {name, kCategories[n % 12], document};
}

// The upload day of recipe n, spread evenly over 2021 to 2024 (months of 30 days).
DayNumber NthDay(size_t n) {
  const int day = static_cast<int>(n % 1440);
  return (2021 + day / 360) * 10000 + (day % 360 / 30 + 1) * 100 + day % 30 + 1;
}

struct Row {
  std::string measure;
  size_t count = 0;
  double seconds = 0;
  std::vector<double> millis;  // one per request, when timed one by one
};

double Percentile(std::vector<double> values, double part) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<size_t>(part * values.size()))];
}

void PrintTable(const std::vector<Row>& rows) {
  std::printf("\n| %-44s | %8s | %10s | %8s | %8s | %8s |\n", "measure", "count", "per second", "p50 ms",
              "p99 ms", "max ms");
  std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(10, '-').c_str(),
              std::string(12, '-').c_str(), std::string(10, '-').c_str(), std::string(10, '-').c_str(),
              std::string(10, '-').c_str());
  for (const Row& row : rows) {
    std::printf("| %-44s | %8zu | %10.0f |", row.measure.c_str(), row.count, row.count / row.seconds);
    if (row.millis.empty()) {
      std::printf(" %8s | %8s | %8s |\n", "-", "-", "-");
    } else {
      std::printf(" %8.2f | %8.2f | %8.2f |\n", Percentile(row.millis, 0.5), Percentile(row.millis, 0.99),
                  Percentile(row.millis, 1.0));
    }
  }
}

// Calls `request` again and again for `seconds`, timing each call; it returns false on failure.
Row Repeat(const std::string& measure, double seconds, const std::function<bool()>& request) {
  Row row{measure};
  const auto start = Clock::now();
  const auto end =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  while (Clock::now() < end) {
    const auto before = Clock::now();
    if (!request()) {
      std::fprintf(stderr, "%s: a request failed\n", measure.c_str());
      break;
    }
    row.millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
  }
  row.count = row.millis.size();
  row.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return row;
}

// The server of the benchmark, on its own thread.
class RunningServer {
 public:
  RunningServer(RecipeStore& store, SharingSettings settings) : server_(store, std::move(settings)) {
    port_ = server_.Bind("127.0.0.1", 0);
    thread_ = std::thread([this] { server_.Run(); });
    while (!server_.IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ~RunningServer() {
    server_.Stop();
    thread_.join();
  }
  int Port() const { return port_; }

 private:
  SharingServer server_;
  int port_ = -1;
  std::thread thread_;
};

std::string SearchPath(const std::string& query) {
  return "/mirepan/findrecipe.php?startdate=" + query;
}

// Each search on a connection of its own, as the program asks.
bool SearchOnNewConnection(int port, const std::string& path) {
  httplib::Client client("127.0.0.1", port);
  client.set_tcp_nodelay(true);
  client.set_read_timeout(10);
  const auto reply = client.Get(path.c_str());
  return reply && reply->status == 200;
}

// Fills the store through RecipeStore::Add, one transaction per recipe as uploads make them.
Row FillStore(RecipeStore& store, size_t recipes) {
  const WString document = StoredDocument();
  std::printf("filling the store with %zu recipes of %zu bytes each...\n", recipes, document.size() * 2);
  Row fill{"store: add a recipe (no HTTP)", recipes};
  const auto start = Clock::now();
  for (size_t n = 1; n <= recipes; ++n) store.Add(NthRecipe(n, document), NthDay(n));
  fill.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return fill;
}

// Searches of each kind the download dialog makes, one kind after another and then all in turn, on
// one kept-alive connection.
void MeasureSearches(httplib::Client& client, double seconds, std::vector<Row>& rows) {
  const struct {
    const char* measure;
    std::string path;
  } searches[] = {
      {"search: all recipes (1000 rows listed)", SearchPath("01%2D01%2D0000")},
      {"search: new since last week", SearchPath("12%2D24%2D2024")},
      {"search: category, since last month", SearchPath("11%2D30%2D2024&category=Soups")},
      {"search: name part \"lentil\"", SearchPath("01%2D01%2D0000&foodname=lentil")},
      {"search: name part \"lentil soup 12\"", SearchPath("01%2D01%2D0000&foodname=lentil%20soup%2012")},
      {"search: name part \"ts\" (two letters)", SearchPath("01%2D01%2D0000&foodname=ts")},
      {"search: Greek \"\xCE\xA9\xCE\x9C\xCE\x88\xCE\x93\xCE\x91\"",
       SearchPath("01%2D01%2D0000&foodname=%CE%A9%CE%9C%CE%88%CE%93%CE%91")},
      {"search: name part that matches nothing", SearchPath("01%2D01%2D0000&foodname=zzzqqq")},
  };
  auto get = [&](const std::string& path) {
    const auto reply = client.Get(path.c_str());
    return reply && reply->status == 200;
  };
  for (const auto& search : searches) {
    rows.push_back(Repeat(search.measure, seconds, [&] { return get(search.path); }));
  }
  size_t next = 0;
  rows.push_back(Repeat("search: the kinds above in turn", seconds,
                        [&] { return get(searches[next++ % std::size(searches)].path); }));
}

// Uploads of a recipe of a dozen lines and of one of 60 lines, in the program's form encoding.
void MeasureUploads(httplib::Client& client, double seconds, std::vector<Row>& rows) {
  for (size_t lines : {12, 60}) {
    TestRecipe recipe;
    recipe.extraLines = lines - 2;
    recipe.instructions = WString(lines * 50, u'y');
    const std::string body = "recipe=" + FormEncode(SharedDocument(recipe));
    const std::string measure = "upload: " + std::to_string(lines) + "-line recipe (" +
                                std::to_string(body.size() / 1024) + " KiB form)";
    rows.push_back(Repeat(measure, seconds, [&] {
      const auto reply = client.Post("/mirepan/uploadrecipe.php", body, kForm);
      return reply && reply->body.rfind("    OK", 0) == 0;
    }));
  }
}

// Searches on a new connection each, as the program makes them, before and while 200 connections
// send nothing, stop inside their headers, or stop inside a body.
void MeasureBesideIdleConnections(int port, double seconds, std::vector<Row>& rows) {
  const std::string path = SearchPath("12%2D24%2D2024");
  rows.push_back(
      Repeat("search, new connection each", seconds, [&] { return SearchOnNewConnection(port, path); }));
  const std::string stalls[] = {
      "",
      "GET /mirepan/findrecipe.php HTTP/1.1\r\nHost: 127.0.0.1\r\n",
      "POST /mirepan/uploadrecipe.php HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 10000\r\n\r\nrecipe=",
  };
  std::vector<std::unique_ptr<LoopbackSocket>> stalled;
  for (int i = 0; i < 200; ++i) {
    stalled.push_back(std::make_unique<LoopbackSocket>(port));
    stalled.back()->Send(stalls[i % 3]);
  }
  rows.push_back(Repeat("search, new connection each, 200 idle open", seconds,
                        [&] { return SearchOnNewConnection(port, path); }));
}

// Copies a file and waits until the copy is on disk, so that no later measure waits for its writing.
void CopyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  const int file = open(to.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return;
  fsync(file);
  close(file);
}

// Copies a database and its write-ahead log, if any; no connection may be writing to it.
void CopyDatabase(const std::filesystem::path& from, const std::filesystem::path& to) {
  const std::filesystem::path fromLog = from.string() + "-wal", toLog = to.string() + "-wal";
  CopyFile(from, to);
  std::filesystem::remove(toLog);
  if (std::filesystem::exists(fromLog)) CopyFile(fromLog, toLog);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t recipes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const double seconds = argc > 2 ? std::atof(argv[2]) : 2.0;
  const std::filesystem::path kept = argc > 3 ? argv[3] : "";
  KeepFreedMemory();  // as the server's main does
  char pattern[] = "/tmp/mirepan-server-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::filesystem::path folder = pattern;
  std::vector<Row> rows;
  {
    const std::filesystem::path path = folder / "recipes.db";
    const bool reuse = !kept.empty() && std::filesystem::exists(kept);
    if (reuse) CopyDatabase(kept, path);
    RecipeStore store;
    std::string error;
    if (!store.Open(path.string(), error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    if (!reuse) rows.push_back(FillStore(store, recipes));
    if (!reuse && !kept.empty()) CopyDatabase(path, kept);
    SharingSettings settings;
    settings.filesFolder = (folder / "files").string();
    settings.today = [] { return kToday; };
    // One client measures the whole load: the per-client limits that guard a public server stay off.
    settings.connectionsPerClient = 0;
    settings.maxUploadsPerMinute = 0;
    RunningServer server(store, settings);
    httplib::Client client("127.0.0.1", server.Port());
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);  // the body goes out at once, not after the headers' acknowledgement
    client.set_url_encode(false);
    MeasureSearches(client, seconds, rows);
    MeasureBesideIdleConnections(server.Port(), seconds, rows);
    MeasureUploads(client, seconds, rows);  // last: the uploads change what the searches find
  }
  std::filesystem::remove_all(folder);
  PrintTable(rows);
  return 0;
}
