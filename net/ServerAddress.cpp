#include "net/ServerAddress.h"

#include <algorithm>
#include <string>

#ifdef _WIN32
#include "resource.h"
#include "toolkit/ERApp.h"
#endif

namespace {

bool ParsePort(WStringView text, uint16_t& port) {
  if (text.empty() || text.size() > 5) return false;
  uint32_t value = 0;
  for (WChar c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + uint32_t(c - '0');
  }
  if (value == 0 || value > 65535) return false;
  port = uint16_t(value);
  return true;
}

}  // namespace

bool ServerAddress::Parse(WStringView text) {
  size_t hostEnd = text.size();
  if (!text.empty() && text.front() == '[') {
    size_t bracket = text.find(']');
    if (bracket == WStringView::npos) return false;
    hostEnd = bracket + 1;
  } else if (text.find(':') != text.rfind(':')) {
    return false;  // a v6 address needs its brackets
  } else {
    hostEnd = std::min(text.find(':'), text.size());
  }
  uint16_t parsedPort = 80;
  if (hostEnd == 0 ||
      (hostEnd < text.size() && (text[hostEnd] != ':' || !ParsePort(text.substr(hostEnd + 1), parsedPort)))) {
    return false;
  }
  host.assign(text.substr(0, hostEnd));
  port = parsedPort;
  return true;
}

WString ServerAddress::Text() const {
  return port == 80 ? host : host + TXT(":") + FromAscii(std::to_string(port));
}

WString ServerAddress::Url(WStringView path) const {
  WString url = TXT("http://") + Text();
  url += path;
  return url;
}

#ifdef _WIN32
ServerAddress ProgramServer(const DAVavador::ERApp& app, const WString& configured) {
  ServerAddress server;
  if (configured.empty() || !server.Parse(configured)) server.Parse(app.String(IDS_SERVER_ADDRESS));
  return server;
}
#endif
