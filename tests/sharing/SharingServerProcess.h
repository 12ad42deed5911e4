#pragma once
// The real sharing server of server/ (a native program) on a free loopback port, started from a
// Wine test and stopped when the object goes. Its database and files live in `folder`.
#include <windows.h>

#include <string>

#include "net/ServerAddress.h"
#include "storage/Text.h"

class SharingServerProcess {
 public:
  // `folder` is a Windows path; the server's files folder is its "files".
  explicit SharingServerProcess(const WString& folder);
  ~SharingServerProcess();
  SharingServerProcess(const SharingServerProcess&) = delete;
  SharingServerProcess& operator=(const SharingServerProcess&) = delete;

  // True once the server accepts connections.
  bool Running() const { return running_; }
  ServerAddress Address() const;
  // The server's log, for failure messages.
  std::string Log() const;

 private:
  WString folder_;
  uint16_t port_ = 0;
  bool running_ = false;
};
