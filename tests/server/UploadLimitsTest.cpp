#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/AddressRange.h"
#include "server/UploadLimits.h"

namespace {

using std::chrono::hours;
using std::chrono::minutes;
using Rate = UploadLimits::Rate;

UploadLimits::Clock::time_point At(double minute) {
  return UploadLimits::Clock::time_point(std::chrono::duration_cast<UploadLimits::Clock::duration>(
      std::chrono::duration<double, std::ratio<60>>(minute)));
}

std::vector<AddressRange> Ranges(const std::vector<std::string>& texts) {
  std::vector<AddressRange> ranges;
  for (const std::string& text : texts) {
    const std::optional<AddressRange> range = AddressRange::Parse(text);
    EXPECT_TRUE(range) << text;
    if (range) ranges.push_back(*range);
  }
  return ranges;
}

// The verdicts on uploads of `address` at the given minutes of a fake clock, one letter each:
// A admitted, N not allowed, T too many.
std::string Uploads(UploadLimits& limits, const std::string& address, const std::vector<double>& atMinutes) {
  std::string verdicts;
  for (double minute : atMinutes) {
    UploadLimits::Clock::duration retryAfter{};
    const auto verdict = limits.Admit(address, At(minute), retryAfter);
    using Verdict = UploadLimits::Verdict;
    verdicts += verdict == Verdict::Admitted ? 'A' : verdict == Verdict::NotAllowed ? 'N' : 'T';
  }
  return verdicts;
}

}  // namespace

TEST(AddressRange, MatchesAddressesByPrefixInBothFamiliesAndRefusesMalformedRanges) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // range, inside, outside ("" for none)
      {"172.16.0.0/12", "172.31.255.255", "172.32.0.0"},
      {"192.0.2.7", "192.0.2.7", "192.0.2.8"},
      {"192.0.2.7/29", "192.0.2.0", ""},
      {"0.0.0.0/0", "203.0.113.9", "2001:db8::1"},
      {"::1", "::1", "::2"},
      {"2001:db8:0:1::/63", "2001:db8:0:1:ffff::1", "2001:db8:0:2::1"},
      {"10.0.0.0/8", "::ffff:10.1.2.3", ""},
      {"::ffff:10.0.0.0/104", "10.1.2.3", "11.1.2.3"},
  };
  for (const auto& [text, inside, outside] : cases) {
    const AddressRange range = Ranges({text}).front();
    EXPECT_TRUE(range.Contains(IpAddress::Parse(inside).value())) << text << " " << inside;
    EXPECT_TRUE(!*outside || !range.Contains(IpAddress::Parse(outside).value())) << text << " " << outside;
  }
  // Malformed ranges and prefixes longer than the address are refused.
  for (const char* text : {"", "10.0.0.0/33", "10.0.0.0/", "10.0.0.0/-1", "10.0.0.0/ 8", "::1/129",
                           "::ffff:10.0.0.0/95", "10.0.0.256", "2001:db8::/0x20"}) {
    EXPECT_FALSE(AddressRange::Parse(text)) << text;
  }
}

TEST(UploadLimits, AllowsOnlyTheGivenRangesAndCountsEachClientsUploadsOfTheWindow) {
  UploadLimits ranges(Ranges({"192.168.0.0/16", "2001:db8::/32"}), {});
  for (const auto& [address, verdict] : std::vector<std::pair<const char*, const char*>>{
           {"192.168.4.4", "A"}, {"2001:db8::4", "A"}, {"2001:db9::4", "N"}, {"", "N"}}) {
    EXPECT_EQ(verdict, Uploads(ranges, address, {0})) << address;
  }
  UploadLimits everyone({}, {{0, hours(1)}});
  EXPECT_EQ("AAA", Uploads(everyone, "203.0.113.9", {0, 0, 0}));
  UploadLimits limits({}, {{2, hours(1)}});
  EXPECT_EQ("AATTATA", Uploads(limits, "192.0.2.1", {0, 10, 20, 59, 60, 65, 70}));
  // Other clients have counts of their own; a whole IPv6 /64 is one client.
  EXPECT_EQ("AAT", Uploads(limits, "192.0.2.2", {20, 21, 22}));
  EXPECT_EQ("AA", Uploads(limits, "2001:db8:0:1::1", {0, 1}));
  EXPECT_EQ("T", Uploads(limits, "2001:db8:0:1::2", {2}));
  EXPECT_EQ("A", Uploads(limits, "2001:db8:0:2::1", {2}));
  // A client that was away for more than an hour starts afresh.
  EXPECT_EQ("AAT", Uploads(limits, "192.0.2.2", {300, 301, 302}));
  UploadLimits::Clock::duration retryAfter{};
  EXPECT_EQ(UploadLimits::Verdict::TooMany, limits.Admit("192.0.2.2", At(310), retryAfter));
  EXPECT_EQ(minutes(50), retryAfter);
}

TEST(UploadLimits, AnUploadMustKeepWithinEveryRate) {
  UploadLimits limits({}, {{2, minutes(1)}, {3, hours(1)}});
  // A third upload within a minute, a fourth within the hour, are refused; refusals are not counted.
  EXPECT_EQ("AATATTA", Uploads(limits, "192.0.2.1", {0, 0.1, 0.2, 1.0, 1.1, 2.5, 60.0}));
  // The time until the upload that keeps the rate full has aged out: of the minute, or of the hour.
  UploadLimits::Clock::duration retryAfter{};
  EXPECT_EQ("AA", Uploads(limits, "192.0.2.2", {0, 0.5}));
  EXPECT_EQ(UploadLimits::Verdict::TooMany, limits.Admit("192.0.2.2", At(0.75), retryAfter));
  EXPECT_EQ(std::chrono::seconds(15), retryAfter);
  EXPECT_EQ("A", Uploads(limits, "192.0.2.2", {5}));
  EXPECT_EQ(UploadLimits::Verdict::TooMany, limits.Admit("192.0.2.2", At(10), retryAfter));
  EXPECT_EQ(minutes(50), retryAfter);
}
