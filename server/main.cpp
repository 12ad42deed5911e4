// mirepan-server: the recipe-sharing server that Mirepan's Upload, Download, update check and news
// pop-up talk to. It runs in the foreground until SIGINT or SIGTERM.
#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ctime>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/RecipeStore.h"
#include "server/SharingServer.h"

namespace {

constexpr const char* kUsage =
    "usage: mirepan-server [--bind ADDRESS] [--port PORT] [--db FILE] [--files FOLDER]\n"
    "                      [--max-upload BYTES] [--max-results COUNT] [--idle-timeout SECONDS]\n"
    "                      [--request-timeout SECONDS] [--max-connections-per-client COUNT]\n"
    "                      [--allow-upload RANGE]... [--max-uploads-per-minute COUNT]\n"
    "                      [--max-uploads-per-hour COUNT]\n"
    "                      [--trusted-proxy RANGE]... [--cert FILE --key FILE]\n"
    "  --bind ADDRESS       address to listen on (default 127.0.0.1; 0.0.0.0 for every interface)\n"
    "  --port PORT          TCP port (default 8080; 0 picks a free one)\n"
    "  --db FILE            SQLite database of the shared recipes, created when missing\n"
    "                       (default mirepan-recipes.db)\n"
    "  --files FOLDER       folder of Mirepan.ver, Mirepansetup.exe and popup.xml (default files)\n"
    "  --max-upload BYTES   largest recipe upload accepted (default 1048576)\n"
    "  --max-results COUNT  most recipes listed by one search (default 1000)\n"
    "  --idle-timeout SECONDS  close connections without traffic for this long (default 15)\n"
    "  --request-timeout SECONDS  drop a request whose headers and body have not all come this long\n"
    "                          after it began (default 30)\n"
    "  --max-connections-per-client COUNT  connections one address may hold open at once\n"
    "                          (default 32; 0 for any number)\n"
    "  --allow-upload RANGE    take uploads only from this address range, such as 192.168.1.0/24\n"
    "                          or 2001:db8::/32; repeatable (default: from every address)\n"
    "  --max-uploads-per-minute COUNT  uploads one client may make in any minute (default 60;\n"
    "                          0 for no limit)\n"
    "  --max-uploads-per-hour COUNT  uploads one client may make in any hour (default 0: no limit)\n"
    "  --trusted-proxy RANGE   a reverse proxy in this range names the client in X-Forwarded-For;\n"
    "                          repeatable\n"
    "  --cert FILE, --key FILE  serve HTTPS with this PEM certificate (its chain may follow it)\n"
    "                          and its PEM private key\n";

struct Arguments {
  std::string certificateFile, keyFile;
  std::string host = "127.0.0.1";
  long port = 8080;
  std::string database = "mirepan-recipes.db";
  SharingSettings sharing;
};

bool ParseCount(const char* text, long low, long high, long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

bool AddRange(const char* text, std::vector<AddressRange>& ranges) {
  const std::optional<AddressRange> range = AddressRange::Parse(text);
  if (range) ranges.push_back(*range);
  return range.has_value();
}

// False, with the reason in `error`, for an unknown option, a missing value or a bad number.
bool ParseArguments(int argc, char** argv, Arguments& args, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h" || i + 1 >= argc) {
      error = option == "--help" || option == "-h" ? "" : "missing value after " + option;
      return false;
    }
    const char* value = argv[++i];
    long count = 0;
    bool ok = true;
    if (option == "--bind") {
      args.host = value;
    } else if (option == "--port") {
      ok = ParseCount(value, 0, 65535, args.port);
    } else if (option == "--db") {
      args.database = value;
    } else if (option == "--files") {
      args.sharing.filesFolder = value;
    } else if (option == "--max-upload") {
      ok = ParseCount(value, 1024, 1L << 30, count);
      args.sharing.maxUploadBytes = static_cast<size_t>(count);
    } else if (option == "--max-results") {
      ok = ParseCount(value, 1, 1000000, count);
      args.sharing.maxResults = static_cast<size_t>(count);
    } else if (option == "--idle-timeout") {
      ok = ParseCount(value, 1, 3600, count);
      args.sharing.idleSeconds = static_cast<unsigned>(count);
    } else if (option == "--request-timeout") {
      ok = ParseCount(value, 1, 3600, count);
      args.sharing.requestSeconds = static_cast<unsigned>(count);
    } else if (option == "--max-connections-per-client") {
      ok = ParseCount(value, 0, 1000000, count);
      args.sharing.connectionsPerClient = static_cast<unsigned>(count);
    } else if (option == "--allow-upload") {
      ok = AddRange(value, args.sharing.uploadRanges);
    } else if (option == "--max-uploads-per-minute") {
      ok = ParseCount(value, 0, 1000000, count);
      args.sharing.maxUploadsPerMinute = static_cast<size_t>(count);
    } else if (option == "--max-uploads-per-hour") {
      ok = ParseCount(value, 0, 1000000, count);
      args.sharing.maxUploadsPerHour = static_cast<size_t>(count);
    } else if (option == "--cert") {
      args.certificateFile = value;
    } else if (option == "--key") {
      args.keyFile = value;
    } else if (option == "--trusted-proxy") {
      ok = AddRange(value, args.sharing.trustedProxies);
    } else {
      error = "unknown option " + option;
      return false;
    }
    if (!ok) {
      error = "bad value for " + option + ": " + value;
      return false;
    }
  }
  if (args.certificateFile.empty() != args.keyFile.empty()) {
    error = "--cert and --key go together";
    return false;
  }
  return true;
}

bool ReadText(const std::string& path, std::string& text, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  text.assign(std::istreambuf_iterator<char>(file), {});
  if (file.bad() || !file.is_open() || text.empty()) error = "cannot read " + path;
  return error.empty();
}

void LogLine(const std::string& line) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  // Requests are answered on several threads; each line is written whole.
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  std::cout << stamp << ' ' << line << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  std::string error;
  if (!ParseArguments(argc, argv, args, error)) {
    if (!error.empty()) std::cerr << "mirepan-server: " << error << "\n";
    std::cerr << kUsage;
    return error.empty() ? 0 : 2;
  }
  if (!args.certificateFile.empty() && (!ReadText(args.certificateFile, args.sharing.tlsCertificate, error) ||
                                        !ReadText(args.keyFile, args.sharing.tlsKey, error))) {
    std::cerr << "mirepan-server: " << error << "\n";
    return 1;
  }
  KeepFreedMemory();
  RecipeStore store;
  if (!store.Open(args.database, error)) {
    std::cerr << "mirepan-server: " << error << "\n";
    return 1;
  }
  args.sharing.log = LogLine;
  SharingServer server(store, args.sharing);
  const int port = server.Bind(args.host, static_cast<int>(args.port));
  if (port < 0) {
    std::cerr << "mirepan-server: cannot listen on " << args.host << ":" << args.port << ": "
              << std::strerror(errno) << "\n";
    return 1;
  }

  // The signals are taken by one thread that stops the server; the worker threads never see them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  });

  const bool v6 = args.host.find(':') != std::string::npos;
  const char* scheme = args.sharing.tlsCertificate.empty() ? "http://" : "https://";
  std::cout << "mirepan-server: serving " << scheme << (v6 ? "[" + args.host + "]" : args.host) << ":" << port
            << "/mirepan/ (database " << args.database << ", files from " << args.sharing.filesFolder << ")"
            << std::endl;
  const bool served = server.Run();
  if (!served) std::cerr << "mirepan-server: cannot serve (a certificate and key that do not fit?)\n";
  pthread_kill(stopper.native_handle(), SIGTERM);  // wakes the stopper when Run ended on its own
  stopper.join();
  return served ? 0 : 1;
}
