#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/icmp_echo.h"

namespace platform {

// A pinger for tests: answers with scripted results in order, then with a fixed default
// (failure unless changed), and records every call.
class FakePinger final : public Pinger {
 public:
  PingResult Ping(const std::string& host, int32_t timeoutMs) override;

  // Queues the answer for one future call.
  void Script(PingResult result);
  // Queues a plain success or failure.
  void Script(bool success);
  // The answer once the script is used up.
  void SetDefault(PingResult result);

  int CallCount() const;
  // Every call's host and time-out, oldest first.
  std::vector<std::pair<std::string, int32_t>> Calls() const;

 private:
  mutable std::mutex mutex_;
  std::deque<PingResult> script_;
  PingResult default_{false, 0, 0, "no reply (fake)"};
  std::vector<std::pair<std::string, int32_t>> calls_;
};

}  // namespace platform
