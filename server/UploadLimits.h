#pragma once
// Who may upload, and how often: the server's --allow-upload ranges and --max-uploads-per-hour.
// Searches and downloads are never limited here.
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "server/AddressRange.h"

class UploadLimits {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Verdict { Admitted, NotAllowed, TooMany };

  // `allowed` empty lets every address upload; `perHour` 0 sets no hourly limit.
  UploadLimits(std::vector<AddressRange> allowed, size_t perHour);

  // Decides on one upload by the client at `address` at `now`, and counts it when admitted. For
  // TooMany, `retryAfter` is the time until the client's oldest upload of the hour has aged out.
  Verdict Admit(const std::string& address, Clock::time_point now, Clock::duration& retryAfter);

 private:
  bool Allowed(const std::optional<IpAddress>& address) const;
  // Drops the clients whose uploads are all older than an hour, so that the counts stay small.
  void ForgetIdleClients(Clock::time_point now);

  const std::vector<AddressRange> allowed_;
  const size_t perHour_;
  std::mutex mutex_;
  std::map<std::string, std::deque<Clock::time_point>> recent_;  // each client's uploads of the last hour
  Clock::time_point nextCleanup_{};
};
