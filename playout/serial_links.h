#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "devices/acs_reply_parser.h"
#include "devices/c_com.h"
#include "playout/engine_ports.h"

namespace playout {

// The main window's three serial ports: 0 the time-code input, 1 and 2 the links to a
// switcher or contact box, each speaking its SWType's protocol. Remote1: one binary byte per
// message (n switches channel n on, 100 + n off; any non-zero byte from the box is contact n).
// ACS8.2: ASCII commands, and replies read by one AcsReplyParser per link.
class SerialLinks {
 public:
  static constexpr int32_t kRemote1 = 0;
  static constexpr int32_t kAcs82 = 1;
  // What one poll of a link brought.
  struct Poll {
    int32_t contact = 0;      // Remote1: the byte; ACS8.2: the input 1..16 that rose; 0: none
    int32_t channel = 0;      // ACS8.2: the live channel a channel report names; 0: none
    std::string channelText;  // the reply text that report was read from
  };

  // `trace` receives the trace lines (written only while ErrorCatch is non-zero).
  SerialLinks(platform::LogSink& log, std::function<void(const std::string&)> trace)
      : log_(log), trace_(std::move(trace)) {}

  // Opens the ports from the settings: the time-code port, then links 1 and 2 by their types
  // (a type other than 0 and 1 opens nothing). A link that opens is put in a known state:
  // ACS8.2 is sent "*0SL"; Remote1 is sent 101 .. 108 (channels 1 to 8 off), one byte per
  // write, 50 ms apart.
  void InitSerial(const std::array<int32_t, 3>& swType);
  void CloseAll();

  bool ComOpen(int32_t index) const;
  int32_t SWType(int32_t index) const;
  // The protocol the port speaks from now on; the port is not reopened or set up again.
  void SetSWType(int32_t index, int32_t type);
  // The port, null when it never opened.
  devices::C_Com* Com(int32_t index);

  // Reads link `port` (1 or 2) once, when it is open.
  Poll PollSerialInputs(int32_t port);
  // One byte to every open Remote1 link, link 1 first.
  void SendRemote1(uint8_t value);
  // One command to every open ACS8.2 link, link 1 first; logged even when none is open.
  void ACSSerialOut(const std::string& text);

 private:
  void Trace(const std::string& text) const;

  platform::LogSink& log_;
  std::function<void(const std::string&)> trace_;
  std::array<std::unique_ptr<devices::C_Com>, 3> com_;
  std::array<int32_t, 3> comOpen_{};
  std::array<int32_t, 3> swType_{};
  std::array<devices::AcsReplyParser, 3> replies_;
};

}  // namespace playout
