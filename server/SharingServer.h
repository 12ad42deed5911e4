#pragma once
// The HTTP face of recipe sharing, below "/mirepan/":
//   POST uploadrecipe.php          body "recipe=" and the form-encoded document; "    OK" on success
//   GET  findrecipe.php            ?startdate=MM-DD-YYYY&category=...&foodname=...; lines "id,name"
//   GET  downloadrecipe.php?id=N   the stored document, UTF-16LE; an empty 404 for an unknown id
//   GET  Mirepan.ver, Mirepansetup.exe, popup.xml   from the files folder; an empty 404 when absent.
//        The version file gets a SHA256 element with the installer's hash added when the installer is there.
// A path with a control character is a 400; every other path is an empty 404. A refused upload gets "ERROR: "
// and the reason, which the program reports as a failed upload.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "server/AddressRange.h"
#include "server/HttpService.h"
#include "server/InstallerDigest.h"
#include "server/RecipeStore.h"
#include "server/UploadLimits.h"

struct SharingSettings {
  std::string filesFolder = "files";            // holds the version file, the installer and popup.xml
  size_t maxUploadBytes = 1 << 20;              // largest upload body accepted
  size_t maxResults = 1000;                     // most rows of one search reply
  unsigned idleSeconds = 15;                    // a connection without traffic for this long is closed
  unsigned requestSeconds = 30;                 // a request not in whole by then is dropped
  unsigned connectionsPerClient = 32;           // connections one address may hold open; 0 for any number
  std::vector<AddressRange> uploadRanges;       // the clients that may upload; empty for all
  size_t maxUploadsPerMinute = 60;              // uploads one client may make in any minute; 0 for any number
  size_t maxUploadsPerHour = 0;                 // uploads one client may make in any hour; 0 for any number
  std::vector<AddressRange> trustedProxies;     // reverse proxies that name the client in X-Forwarded-For
  std::string tlsCertificate, tlsKey;           // PEM texts: HTTPS when set
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

  // Binds the listening socket; port 0 picks a free one. The port bound, or -1.
  int Bind(const std::string& host, int port) { return http_.Bind(host, port); }
  // Serves on the bound socket until Stop; false when it could not serve.
  bool Run() { return http_.Run(); }
  // True once Run is accepting connections.
  bool IsRunning() const { return http_.IsRunning(); }
  // Ends Run from any thread, also one that has not started yet.
  void Stop() { http_.Stop(); }

 private:
  HttpReply Answer(const HttpRequest& request);
  std::string ClientOf(const HttpRequest& request) const;
  HttpReply Route(const HttpRequest& request, const std::string& client);
  HttpReply Upload(const HttpRequest& request, const std::string& client);
  HttpReply Search(const HttpRequest& request);
  HttpReply Fetch(const HttpRequest& request);
  HttpReply ServeFile(const std::string& name, const char* contentType);
  HttpReply WithDigest(HttpReply reply);

  RecipeStore& store_;
  const SharingSettings settings_;
  UploadLimits uploadLimits_;
  InstallerDigest installerDigest_;
  HttpService http_;
};
