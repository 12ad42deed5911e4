#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/AddressRange.h"
#include "server/UploadLimits.h"

namespace {

using Clock = UploadLimits::Clock;
using std::chrono::minutes;

std::vector<AddressRange> Ranges(const std::vector<std::string>& texts) {
  std::vector<AddressRange> ranges;
  for (const std::string& text : texts) {
    const std::optional<AddressRange> range = AddressRange::Parse(text);
    EXPECT_TRUE(range) << text;
    if (range) ranges.push_back(*range);
  }
  return ranges;
}

bool InRange(const std::string& range, const std::string& address) {
  const std::optional<IpAddress> parsed = IpAddress::Parse(address);
  EXPECT_TRUE(parsed) << address;
  return parsed && Ranges({range}).front().Contains(*parsed);
}

// Admits uploads of `address` at the given minutes of a fake clock; the verdicts in order.
std::vector<UploadLimits::Verdict> Uploads(UploadLimits& limits, const std::string& address,
                                           const std::vector<int>& atMinutes) {
  std::vector<UploadLimits::Verdict> verdicts;
  for (int minute : atMinutes) {
    Clock::duration retryAfter{};
    verdicts.push_back(limits.Admit(address, Clock::time_point(minutes(minute)), retryAfter));
  }
  return verdicts;
}

constexpr auto kAdmitted = UploadLimits::Verdict::Admitted;
constexpr auto kTooMany = UploadLimits::Verdict::TooMany;
constexpr auto kNotAllowed = UploadLimits::Verdict::NotAllowed;

}  // namespace

TEST(AddressRange, MatchesAddressesByPrefixInBothFamilies) {
  const struct {
    const char* range;
    const char* address;
    bool inside;
  } cases[] = {
      {"192.168.1.0/24", "192.168.1.77", true},
      {"192.168.1.0/24", "192.168.2.1", false},
      {"10.0.0.0/8", "10.255.0.1", true},
      {"10.0.0.0/8", "11.0.0.1", false},
      {"172.16.0.0/12", "172.31.255.255", true},
      {"172.16.0.0/12", "172.32.0.0", false},
      {"192.0.2.7", "192.0.2.7", true},
      {"192.0.2.7", "192.0.2.8", false},
      {"192.0.2.7/29", "192.0.2.0", true},
      {"0.0.0.0/0", "203.0.113.9", true},
      {"0.0.0.0/0", "2001:db8::1", false},
      {"2001:db8::/32", "2001:db8:1::5", true},
      {"2001:db8::/32", "2001:db9::5", false},
      {"2001:db8:0:1::/63", "2001:db8:0:1:ffff::1", true},
      {"2001:db8:0:1::/63", "2001:db8:0:2::1", false},
      {"::1", "::1", true},
      {"::/0", "2001:db8::1", true},
      {"::/0", "192.0.2.7", false},
      {"10.0.0.0/8", "::ffff:10.1.2.3", true},
      {"::ffff:10.0.0.0/104", "10.1.2.3", true},
      {"::ffff:10.0.0.0/104", "11.1.2.3", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.inside, InRange(c.range, c.address)) << c.range << " " << c.address;
}

TEST(AddressRange, RefusesMalformedRanges) {
  for (const char* text : {"", "abc", "10.0.0/8", "10.0.0.0/33", "10.0.0.0/", "10.0.0.0/-1", "10.0.0.0/8/8",
                           "10.0.0.0/ 8", "::1/129", "::ffff:10.0.0.0/95", "10.0.0.256", "2001:db8::/0x20"}) {
    EXPECT_FALSE(AddressRange::Parse(text)) << text;
  }
}

TEST(UploadLimits, AllowsOnlyAddressesOfTheGivenRanges) {
  UploadLimits limits(Ranges({"192.168.0.0/16", "2001:db8::/32"}), 0);
  EXPECT_EQ(std::vector<UploadLimits::Verdict>{kAdmitted}, Uploads(limits, "192.168.4.4", {0}));
  EXPECT_EQ(std::vector<UploadLimits::Verdict>{kAdmitted}, Uploads(limits, "2001:db8::4", {0}));
  EXPECT_EQ(std::vector<UploadLimits::Verdict>{kNotAllowed}, Uploads(limits, "10.0.0.1", {0}));
  EXPECT_EQ(std::vector<UploadLimits::Verdict>{kNotAllowed}, Uploads(limits, "2001:db9::4", {0}));
  EXPECT_EQ(std::vector<UploadLimits::Verdict>{kNotAllowed}, Uploads(limits, "", {0}));
  UploadLimits everyone({}, 0);
  EXPECT_EQ(std::vector<UploadLimits::Verdict>(3, kAdmitted), Uploads(everyone, "203.0.113.9", {0, 0, 0}));
}

TEST(UploadLimits, CountsEachClientsUploadsOfTheLastHour) {
  UploadLimits limits({}, 2);
  EXPECT_EQ((std::vector<UploadLimits::Verdict>{kAdmitted, kAdmitted, kTooMany, kTooMany, kAdmitted, kTooMany,
                                                kAdmitted}),
            Uploads(limits, "192.0.2.1", {0, 10, 20, 59, 60, 65, 70}));
  // Other clients have counts of their own; a whole IPv6 /64 is one client.
  EXPECT_EQ((std::vector<UploadLimits::Verdict>{kAdmitted, kAdmitted, kTooMany}),
            Uploads(limits, "192.0.2.2", {20, 21, 22}));
  EXPECT_EQ((std::vector<UploadLimits::Verdict>{kAdmitted, kAdmitted}),
            Uploads(limits, "2001:db8:0:1::1", {0, 1}));
  EXPECT_EQ((std::vector<UploadLimits::Verdict>{kTooMany}), Uploads(limits, "2001:db8:0:1::2", {2}));
  EXPECT_EQ((std::vector<UploadLimits::Verdict>{kAdmitted}), Uploads(limits, "2001:db8:0:2::1", {2}));
  // A client that was away for more than an hour starts afresh.
  EXPECT_EQ((std::vector<UploadLimits::Verdict>{kAdmitted, kAdmitted, kTooMany}),
            Uploads(limits, "192.0.2.2", {300, 301, 302}));

  Clock::duration retryAfter{};
  EXPECT_EQ(kTooMany, limits.Admit("192.0.2.2", Clock::time_point(minutes(310)), retryAfter));
  EXPECT_EQ(minutes(50), retryAfter);
}
