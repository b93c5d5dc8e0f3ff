#include "foundation/sub_class_receiver.h"

#include <limits>

#include "foundation/error_traps.h"
#include "foundation/sub_class.h"

namespace foundation {

int32_t SubClassWindowHandle(const platform::WindowRegistration& registration) {
  const int64_t handle = registration.handle();
  if (handle <= 0 || handle > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<int32_t>(handle);
}

std::unique_ptr<platform::MessageReceiver> CreateSubClassReceiver(
    const platform::WindowRegistration& registration, QObject* parent) {
  const int32_t hWnd = SubClassWindowHandle(registration);
  if (hWnd == 0) return nullptr;
  auto receiver = std::make_unique<platform::MessageReceiver>(
      registration,
      [hWnd](uint64_t /*dataType*/, const std::string& payload) -> int64_t {
        int64_t answer = 0;
        RunTrapped("SubClassWndProc", [&] { answer = ReceiveCopyData(hWnd, payload); });
        return answer;
      },
      parent);
  if (!receiver->listening()) return nullptr;
  return receiver;
}

}  // namespace foundation
