#include "platform/end_deadline.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>

namespace platform {

bool EndProcessWithin(int32_t ms, int status, const std::string& note) {
  static std::atomic<bool> armed{false};
  if (armed.exchange(true)) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  try {
    // Detached: a normal end of the process ends this thread with it.
    std::thread([deadline, status, text = note + (note.empty() ? "" : "\n")] {
      while (std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_until(deadline);
      if (!text.empty()) (void)::write(STDERR_FILENO, text.data(), text.size());
      ::_exit(status);
    }).detach();
  } catch (const std::system_error&) {
    armed.store(false);
    return false;
  }
  return true;
}

}  // namespace platform
