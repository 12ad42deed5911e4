#include "server/UploadLimits.h"

#include <algorithm>

namespace {

constexpr std::chrono::hours kHour(1);

// The client an upload is counted for. One IPv6 host commonly has a whole /64 to itself, so all of
// it counts as one client; otherwise the address does.
std::string ClientKey(const std::string& address, const std::optional<IpAddress>& parsed) {
  if (!parsed || !parsed->v6) return address;
  return std::string(parsed->bytes.begin(), parsed->bytes.begin() + 8) + "/64";
}

}  // namespace

UploadLimits::UploadLimits(std::vector<AddressRange> allowed, size_t perHour)
    : allowed_(std::move(allowed)), perHour_(perHour) {}

UploadLimits::Verdict UploadLimits::Admit(const std::string& address, Clock::time_point now,
                                          Clock::duration& retryAfter) {
  const std::optional<IpAddress> parsed = IpAddress::Parse(address);
  if (!Allowed(parsed)) return Verdict::NotAllowed;
  if (perHour_ == 0) return Verdict::Admitted;
  std::lock_guard<std::mutex> lock(mutex_);
  ForgetIdleClients(now);
  std::deque<Clock::time_point>& uploads = recent_[ClientKey(address, parsed)];
  while (!uploads.empty() && uploads.front() <= now - kHour) uploads.pop_front();
  if (uploads.size() >= perHour_) {
    retryAfter = uploads.front() + kHour - now;
    return Verdict::TooMany;
  }
  uploads.push_back(now);
  return Verdict::Admitted;
}

bool UploadLimits::Allowed(const std::optional<IpAddress>& address) const {
  if (allowed_.empty()) return true;
  return address && std::any_of(allowed_.begin(), allowed_.end(),
                                [&](const AddressRange& range) { return range.Contains(*address); });
}

void UploadLimits::ForgetIdleClients(Clock::time_point now) {
  if (now < nextCleanup_) return;
  nextCleanup_ = now + kHour;
  for (auto client = recent_.begin(); client != recent_.end();) {
    const bool idle = client->second.empty() || client->second.back() <= now - kHour;
    client = idle ? recent_.erase(client) : std::next(client);
  }
}
