#pragma once

#include <utility>

namespace transfer {

// Runs `onExit` when the scope ends, however it ends: the clean-up every operation owes (the
// panel cleared, a temporary file removed) on success, failure, cancel or exception alike.
template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F onExit) : onExit_(std::move(onExit)) {}
  ~ScopeExit() { onExit_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F onExit_;
};

}  // namespace transfer
