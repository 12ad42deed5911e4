#pragma once
// Where the vendor's web server is: a host and a port, over HTTP or HTTPS. The program takes its default from
// the string table and lets the options file override it; tests point it at a loopback server.
#include <cstdint>

#include "storage/Text.h"

namespace DAVavador {
class ERApp;
}

struct ServerAddress {
  WString host;
  uint16_t port = 80;
  bool secure = false;  // HTTPS

  // "host", "host:port" or "[v6 address]:port", each also after "http://" or "https://" (HTTPS,
  // port 443 unless given). False, leaving the address as it was, for an empty host or a port that
  // is not a number from 1 to 65535.
  bool Parse(WStringView text);
  // The same forms back; the port is left out when it is the scheme's own, and so is "http://".
  WString Text() const;
  // The scheme and the address, then `path` (which starts with "/"), e.g. Url(TXT("/mirepan/")).
  WString Url(WStringView path) const;
};

// The program's server: `configured` (the options file's SERVER) when it is a valid address,
// otherwise the address of string IDS_SERVER_ADDRESS.
ServerAddress ProgramServer(const DAVavador::ERApp& app, const WString& configured);
