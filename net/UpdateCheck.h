#pragma once
// The update check: on a user-chosen schedule at startup and on demand, it compares the program's
// own file version with the version file on the vendor's web server and, when they differ,
// downloads the installer and starts it.
#include <windows.h>

#include <cstdint>

#include "net/ServerAddress.h"
#include "storage/Text.h"

namespace DAVavador {
class ERApp;
}

// Where the update check and the news pop-up fetch their files and keep their state.
struct UpdateSite {
  ServerAddress server;  // the files are below its folder "/mirepan/"
  WString settingsKey;   // registry key below HKEY_CURRENT_USER
  WString localFolder;   // where the downloads go; ends in "\"

  // The program's own: the key below the maker's and the program's names, the per-user
  // application folder.
  static UpdateSite ForProgram(const DAVavador::ERApp& app, const ServerAddress& server);
  // The same with the server of string IDS_SERVER_ADDRESS.
  static UpdateSite ForProgram(const DAVavador::ERApp& app);
  WString FolderUrl() const { return server.Url(TXT("/mirepan/")); }
};

// Runs the schedule test (skipped when `forced`) and, when due, the "Auto-Update" dialog and the
// check. True when an installer was started: the caller then closes the program.
bool CheckForUpdate(const DAVavador::ERApp& app, const UpdateSite& site, bool forced);
// Keeps `interval` (a string number of the check intervals) and today moved by it as the next due
// date.
void StoreSchedule(const UpdateSite& site, uint32_t interval);
// The running program's file version, "a.b.c.d"; empty when it has no version resource.
WString OwnVersion();
