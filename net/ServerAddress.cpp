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

namespace {

constexpr WStringView kHttp = TXT("http://"), kHttps = TXT("https://");

// Drops `prefix` from `text` when it starts with it, in any case.
bool DropPrefix(WStringView& text, WStringView prefix) {
  if (text.size() < prefix.size() || !EqualsNoCase(text.substr(0, prefix.size()), prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

}  // namespace

bool ServerAddress::Parse(WStringView text) {
  const bool https = DropPrefix(text, kHttps);
  if (!https) DropPrefix(text, kHttp);
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
  uint16_t parsedPort = https ? 443 : 80;
  if (hostEnd == 0 ||
      (hostEnd < text.size() && (text[hostEnd] != ':' || !ParsePort(text.substr(hostEnd + 1), parsedPort)))) {
    return false;
  }
  host.assign(text.substr(0, hostEnd));
  port = parsedPort;
  secure = https;
  return true;
}

WString ServerAddress::Text() const {
  WString text = secure ? WString(kHttps) + host : host;
  if (port != (secure ? 443 : 80)) text += TXT(":") + FromAscii(std::to_string(port));
  return text;
}

WString ServerAddress::Url(WStringView path) const {
  WString url = secure ? Text() : WString(kHttp) + Text();
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
