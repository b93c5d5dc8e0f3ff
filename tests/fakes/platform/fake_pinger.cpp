#include "tests/fakes/platform/fake_pinger.h"

namespace platform {

PingResult FakePinger::Ping(const std::string& host, int32_t timeoutMs) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.emplace_back(host, timeoutMs);
  if (script_.empty()) return default_;
  PingResult next = std::move(script_.front());
  script_.pop_front();
  return next;
}

void FakePinger::Script(PingResult result) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_.push_back(std::move(result));
}

void FakePinger::Script(bool success) {
  PingResult r;
  r.success = success;
  if (!success) r.error = "no reply (fake)";
  Script(std::move(r));
}

void FakePinger::SetDefault(PingResult result) {
  std::lock_guard<std::mutex> lock(mutex_);
  default_ = std::move(result);
}

int FakePinger::CallCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(calls_.size());
}

std::vector<std::pair<std::string, int32_t>> FakePinger::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

}  // namespace platform
