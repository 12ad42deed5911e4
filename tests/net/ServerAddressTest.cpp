#include "net/ServerAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(ServerAddress, HostWithOrWithoutPort) {
  ServerAddress address;
  EXPECT_TRUE(address.Parse(TXT("recipes.example")));
  EXPECT_EQ(address.host, TXT("recipes.example"));
  EXPECT_EQ(address.port, 80);
  EXPECT_TRUE(address.Parse(TXT("127.0.0.1:8080")));
  EXPECT_EQ(address.host, TXT("127.0.0.1"));
  EXPECT_EQ(address.port, 8080);
  EXPECT_TRUE(address.Parse(TXT("[::1]:65535")));
  EXPECT_EQ(address.host, TXT("[::1]"));
  EXPECT_EQ(address.port, 65535);
}

TEST(ServerAddress, ABadTextLeavesTheAddressAsItWas) {
  ServerAddress address;
  ASSERT_TRUE(address.Parse(TXT("127.0.0.1:8080")));
  for (const WChar* bad : {TXT(""), TXT(":80"), TXT("host:"), TXT("host:0"), TXT("host:65536"),
                           TXT("host:8o"), TXT("host:123456"), TXT("::1"), TXT("[::1"), TXT("[::1]8080")}) {
    EXPECT_FALSE(address.Parse(bad)) << ToUtf8(bad);
    EXPECT_EQ(address.Text(), TXT("127.0.0.1:8080"));
  }
}

TEST(ServerAddress, TextAndUrl) {
  ServerAddress address;
  ASSERT_TRUE(address.Parse(TXT("localhost")));
  EXPECT_EQ(address.Text(), TXT("localhost"));
  EXPECT_EQ(address.Url(TXT("/mirepan/")), TXT("http://localhost/mirepan/"));
  ASSERT_TRUE(address.Parse(TXT("localhost:8000")));
  EXPECT_EQ(address.Url(TXT("/mirepan/popup.xml")), TXT("http://localhost:8000/mirepan/popup.xml"));
}

}  // namespace
