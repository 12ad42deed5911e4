#pragma once
// Who may upload, and how often: the server's --allow-upload ranges, --max-uploads-per-minute and
// --max-uploads-per-hour. Searches and downloads are never limited here.
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
  // At most `count` uploads of one client within any `window`; 0 for any number.
  struct Rate {
    size_t count;
    Clock::duration window;
  };

  // `allowed` empty lets every address upload; an upload must keep within each of the `rates`.
  UploadLimits(std::vector<AddressRange> allowed, std::vector<Rate> rates);

  // Decides on one upload by the client at `address` at `now`, and counts it when admitted. For
  // TooMany, `retryAfter` is the time until enough of the client's uploads have aged out.
  Verdict Admit(const std::string& address, Clock::time_point now, Clock::duration& retryAfter);

 private:
  bool Allowed(const std::optional<IpAddress>& address) const;
  // Drops the clients whose uploads are all older than the longest window, so that the counts stay small.
  void ForgetIdleClients(Clock::time_point now);

  const std::vector<AddressRange> allowed_;
  std::vector<Rate> rates_;  // those that limit
  Clock::duration longest_{};
  std::mutex mutex_;
  std::map<std::string, std::deque<Clock::time_point>>
      recent_;  // each client's uploads of the longest window
  Clock::time_point nextCleanup_{};
};
