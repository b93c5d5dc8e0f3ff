#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_registry.h"

namespace platform {

// The wire between two windows: one connection per message to the receiving window's socket.
// The sender writes a frame (a fixed header, then the payload bytes), the receiver hands the
// payload to its window and answers with an acknowledgement carrying the handler's result,
// then both close. The sender waits for that answer, so messages from one sender arrive in
// the order sent and a sender knows its message was processed.
//
// Header (24 bytes, little-endian): magic "ODWM", payload length (u32), data type (u64),
// target window handle (i64; 0 = whichever window owns the socket). Acknowledgement (16
// bytes): magic "ODWA", 4 zero bytes, the handler's result (i64).

inline constexpr uint32_t kMessageFrameMagic = 0x4D57444Fu;  // "ODWM" as bytes
inline constexpr uint32_t kMessageAckMagic = 0x4157444Fu;    // "ODWA" as bytes
inline constexpr size_t kMessageHeaderBytes = 24;
inline constexpr size_t kMessageAckBytes = 16;
// Largest payload either side accepts (16 MiB).
inline constexpr size_t kMaxMessageBytes = 16u * 1024u * 1024u;
// How long a send waits for the receiving window by default, in milliseconds.
inline constexpr int kDefaultSendTimeoutMs = 5000;

struct MessageHeader {
  uint32_t length = 0;  // payload bytes
  uint64_t dataType = 0;
  int64_t target = 0;
};

std::string EncodeMessageHeader(const MessageHeader& header);
// False when `bytes` is not a whole header, has the wrong magic, or announces a payload over
// kMaxMessageBytes.
bool DecodeMessageHeader(std::string_view bytes, MessageHeader* header);

std::string EncodeMessageAck(int64_t result);
// False when `bytes` is not a whole acknowledgement with the right magic.
bool DecodeMessageAck(std::string_view bytes, int64_t* result);

struct SendOutcome {
  bool delivered = false;  // true only when the receiver acknowledged
  int64_t reply = 0;       // the receiving handler's result when delivered
  std::string error;       // why not, when not delivered
};

// Sends `payload` with data type `dataType` to the window `target` and waits up to `timeoutMs`
// (monotonic) for its acknowledgement. Fails, without waiting, for a payload over
// kMaxMessageBytes, a socket file that is not a socket of this user, or a peer of another
// user; fails when the receiver drops the message (for instance because its window's handle
// is no longer `target.handle`, after the caption changed hands) or does not answer in time.
// Never raises SIGPIPE. A window must not send to itself from its own event-loop thread: that
// thread cannot receive while it waits, so the send fails at the timeout.
SendOutcome SendWindowMessage(const WindowInfo& target, uint64_t dataType, std::string_view payload,
                              int timeoutMs = kDefaultSendTimeoutMs);

}  // namespace platform
