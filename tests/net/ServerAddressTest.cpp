#include "net/ServerAddress.h"

#include <gtest/gtest.h>

namespace {

// A host with or without a port: its parts, its own text and the address of a page on it.
TEST(ServerAddress, HostWithOrWithoutPortTextAndUrl) {
  const struct {
    const WChar* text;
    const WChar* host;
    int port;
    const WChar* url;
  } cases[] = {
      {TXT("recipes.example"), TXT("recipes.example"), 80, TXT("http://recipes.example/mirepan/")},
      {TXT("127.0.0.1:8080"), TXT("127.0.0.1"), 8080, TXT("http://127.0.0.1:8080/mirepan/")},
      {TXT("[::1]:65535"), TXT("[::1]"), 65535, TXT("http://[::1]:65535/mirepan/")},
      {TXT("https://recipes.example"), TXT("recipes.example"), 443, TXT("https://recipes.example/mirepan/")},
      {TXT("https://127.0.0.1:8443"), TXT("127.0.0.1"), 8443, TXT("https://127.0.0.1:8443/mirepan/")},
      {TXT("https://[::1]:80"), TXT("[::1]"), 80, TXT("https://[::1]:80/mirepan/")}};
  for (const auto& c : cases) {
    ServerAddress address;
    EXPECT_TRUE(address.Parse(c.text)) << ToUtf8(c.text);
    EXPECT_EQ(std::tuple(address.host, address.port, address.Text(), address.Url(TXT("/mirepan/"))),
              std::tuple(WString(c.host), c.port, WString(c.text), WString(c.url)));
  }
}

// "http://" is the default and drops out of the text; the scheme is read in any case.
TEST(ServerAddress, TheSchemeMayBeWritten) {
  const struct {
    const WChar* text;
    const WChar* shown;
    int port;
    bool secure;
  } cases[] = {{TXT("http://recipes.example"), TXT("recipes.example"), 80, false},
               {TXT("HTTP://127.0.0.1:8080"), TXT("127.0.0.1:8080"), 8080, false},
               {TXT("HTTPS://recipes.example:443"), TXT("https://recipes.example"), 443, true}};
  for (const auto& c : cases) {
    ServerAddress address;
    EXPECT_TRUE(address.Parse(c.text)) << ToUtf8(c.text);
    EXPECT_EQ(std::tuple(address.Text(), address.port, address.secure),
              std::tuple(WString(c.shown), c.port, c.secure));
  }
}

TEST(ServerAddress, ABadTextLeavesTheAddressAsItWas) {
  ServerAddress address;
  ASSERT_TRUE(address.Parse(TXT("127.0.0.1:8080")));
  for (const WChar* bad : {TXT(""), TXT(":80"), TXT("host:"), TXT("host:0"), TXT("host:65536"),
                           TXT("host:8o"), TXT("host:123456"), TXT("::1"), TXT("[::1"), TXT("[::1]8080"),
                           TXT("https://"), TXT("ftp://host"), TXT("https://host:0")}) {
    EXPECT_FALSE(address.Parse(bad)) << ToUtf8(bad);
    EXPECT_EQ(address.Text(), TXT("127.0.0.1:8080"));
  }
}

}  // namespace
