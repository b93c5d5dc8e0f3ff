#pragma once

#include <QObject>
#include <cstdint>
#include <memory>

#include "platform/message_receiver.h"
#include "platform/window_registry.h"

namespace foundation {

// Connects a registered window to the schedule-message table of sub_class.h.

// The handle the table knows the window by: its registration's number, or 0 (a window that
// cannot be hooked) when that number does not fit in 32 bits.
int32_t SubClassWindowHandle(const platform::WindowRegistration& registration);

// Receives the messages sent to the window and hands each to ReceiveCopyData under the window's
// handle, on the thread that calls this (the user-interface thread) from its event loop. Create
// it with the window's registration and keep it as long as the window lives; the table decides
// what is kept: messages that arrive while the window is not hooked are answered with 0 and
// dropped. A receipt that throws is written to the error log and answered with 0. Null when the
// window has no usable handle or its socket cannot be listened on.
std::unique_ptr<platform::MessageReceiver> CreateSubClassReceiver(
    const platform::WindowRegistration& registration, QObject* parent = nullptr);

}  // namespace foundation
