#pragma once
// The HTTP face of recipe sharing, below "/mirepan/":
//   POST uploadrecipe.php          body "recipe=" and the form-encoded document; "    OK" on success
//   GET  findrecipe.php            ?startdate=MM-DD-YYYY&category=...&foodname=...; lines "id,name"
//   GET  downloadrecipe.php?id=N   the stored document, UTF-16LE; an empty 404 for an unknown id
//   GET  Mirepan.ver, Mirepansetup.exe, popup.xml   from the files folder; an empty 404 when absent
// Every other path is an empty 404.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "server/RecipeStore.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

struct SharingSettings {
  std::string filesFolder = "files";            // holds the version file, the installer and popup.xml
  size_t maxUploadBytes = 1 << 20;              // largest upload body accepted
  size_t maxResults = 1000;                     // most rows of one search reply
  std::function<DayNumber()> today;             // the upload day; the server's local date when empty
  std::function<void(const std::string&)> log;  // receives one line per request when set
};

// The local date as yyyymmdd.
DayNumber LocalToday();

// A start date as the program writes it, month-day-year ("03-14-2024", "01-01-0000" for all
// recipes); false for anything else.
bool ParseStartDate(const std::string& text, DayNumber& day);

class SharingServer {
 public:
  SharingServer(RecipeStore& store, SharingSettings settings);
  ~SharingServer();

  // Binds the listening socket; port 0 picks a free one. The port bound, or -1.
  int Bind(const std::string& host, int port);
  // Serves on the bound socket until Stop; false when it could not serve.
  bool Run();
  // True once Run is accepting connections; Stop has no effect before.
  bool IsRunning() const;
  // Ends Run from any thread.
  void Stop();

 private:
  void Upload(const httplib::Request& request, httplib::Response& response);
  void Search(const httplib::Request& request, httplib::Response& response);
  void Fetch(const httplib::Request& request, httplib::Response& response);
  void ServeFile(const std::string& name, const char* contentType, httplib::Response& response);

  RecipeStore& store_;
  SharingSettings settings_;
  std::unique_ptr<httplib::Server> http_;
};
