#include "server/UploadLimits.h"

#include <algorithm>

namespace {

// The client an upload is counted for. One IPv6 host commonly has a whole /64 to itself, so all of
// it counts as one client; otherwise the address does.
std::string ClientKey(const std::string& address, const std::optional<IpAddress>& parsed) {
  if (!parsed || !parsed->v6) return address;
  return std::string(parsed->bytes.begin(), parsed->bytes.begin() + 8) + "/64";
}

}  // namespace

UploadLimits::UploadLimits(std::vector<AddressRange> allowed, std::vector<Rate> rates)
    : allowed_(std::move(allowed)) {
  for (const Rate& rate : rates) {
    if (rate.count == 0) continue;
    rates_.push_back(rate);
    longest_ = std::max(longest_, rate.window);
  }
}

UploadLimits::Verdict UploadLimits::Admit(const std::string& address, Clock::time_point now,
                                          Clock::duration& retryAfter) {
  const std::optional<IpAddress> parsed = IpAddress::Parse(address);
  if (!Allowed(parsed)) return Verdict::NotAllowed;
  if (rates_.empty()) return Verdict::Admitted;
  std::lock_guard<std::mutex> lock(mutex_);
  ForgetIdleClients(now);
  std::deque<Clock::time_point>& uploads = recent_[ClientKey(address, parsed)];
  while (!uploads.empty() && uploads.front() <= now - longest_) uploads.pop_front();
  // Admitted uploads keep within every rate, so a full window holds exactly its count: the oldest of
  // them must age out first.
  bool full = false;
  retryAfter = Clock::duration::zero();
  for (const Rate& rate : rates_) {
    const auto inWindow = std::upper_bound(uploads.begin(), uploads.end(), now - rate.window);
    if (static_cast<size_t>(uploads.end() - inWindow) < rate.count) continue;
    full = true;
    retryAfter = std::max(retryAfter, *inWindow + rate.window - now);
  }
  if (full) return Verdict::TooMany;
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
  nextCleanup_ = now + longest_;
  for (auto client = recent_.begin(); client != recent_.end();) {
    const bool idle = client->second.empty() || client->second.back() <= now - longest_;
    client = idle ? recent_.erase(client) : std::next(client);
  }
}
