#include "playout/serial_links.h"

#include <vector>

#include "devices/fct_serial.h"
#include "foundation/app_globals.h"
#include "foundation/waits.h"
#include "platform/ascii_text.h"

namespace playout {

namespace {

// ACS8.2 replies are read 37 bytes at a time; a read buffer takes 40.
constexpr int32_t kAcsReadSize = 37;
constexpr size_t kReadBuffer = 41;
constexpr int32_t kRemote1SettleMs = 50;
constexpr uint8_t kAllChannelsOff[] = {101, 102, 103, 104, 105, 106, 107, 108};

bool Valid(int32_t index) { return index >= 0 && index < 3; }

}  // namespace

void SerialLinks::Trace(const std::string& text) const {
  if (foundation::Globals().ErrorCatch != 0 && trace_) trace_(text);
}

void SerialLinks::InitSerial(const std::array<int32_t, 3>& swType) {
  swType_ = swType;
  for (int32_t i = 0; i < 3; ++i) {
    const size_t at = static_cast<size_t>(i);
    comOpen_[at] = 0;
    const std::string suffix = "_" + std::to_string(i + 1);
    if (i == 0) {
      comOpen_[at] = devices::OpenComBySettings(log_, com_[at], devices::kComModeTimeCode, suffix);
      continue;
    }
    if (swType_[at] == kRemote1) {
      comOpen_[at] = devices::OpenComBySettings(log_, com_[at], devices::kComModeLink, suffix);
    } else if (swType_[at] == kAcs82) {
      comOpen_[at] = devices::OpenComBySettings(log_, com_[at], devices::kComModeLink, suffix, -1,
                                                -1, kAcsReadSize);
    }
    if (comOpen_[at] == 0) continue;
    if (swType_[at] == kAcs82) {
      com_[at]->SendText("*0SL");
    } else {
      for (const uint8_t off : kAllChannelsOff) {
        com_[at]->SendDataB(std::span<const uint8_t>(&off, 1), 1);
        foundation::WaitMilliseconds(kRemote1SettleMs);
      }
    }
  }
}

void SerialLinks::CloseAll() {
  for (size_t i = 0; i < com_.size(); ++i) {
    if (com_[i]) com_[i]->CloseComm();
    comOpen_[i] = 0;
  }
}

bool SerialLinks::ComOpen(int32_t index) const {
  return Valid(index) && comOpen_[static_cast<size_t>(index)] != 0;
}

int32_t SerialLinks::SWType(int32_t index) const {
  return Valid(index) ? swType_[static_cast<size_t>(index)] : -1;
}

void SerialLinks::SetSWType(int32_t index, int32_t type) {
  if (Valid(index)) swType_[static_cast<size_t>(index)] = type;
}

devices::C_Com* SerialLinks::Com(int32_t index) {
  return Valid(index) ? com_[static_cast<size_t>(index)].get() : nullptr;
}

SerialLinks::Poll SerialLinks::PollSerialInputs(int32_t port) {
  Poll result;
  if (port < 1 || !ComOpen(port)) return result;
  const size_t at = static_cast<size_t>(port);
  std::vector<uint8_t> buffer(kReadBuffer, 0);
  const int32_t n = com_[at]->RecvDataB(buffer);
  if (n <= 0) return result;
  const std::string name = std::to_string(port + 1);
  if (swType_[at] == kRemote1) {
    if (buffer[1] != 0) {
      result.contact = buffer[1];
      Trace("CNT" + name + " Remote1=" + std::to_string(buffer[1]));
    }
    return result;
  }
  const devices::AcsReplyParser::Result r =
      replies_[at].Take(std::span<const uint8_t>(buffer).subspan(1, static_cast<size_t>(n)));
  if (!platform::TrimBlanks(r.received).empty()) Trace("Com" + name + "ACS=" + r.received);
  if (r.contact != 0) {
    const std::string line = "ACSPIP(" + std::to_string(r.contact - 1) + ")=1";
    Trace(line);
    log_.Write(line + " " + r.afterContacts, platform::LogSeverity::kInfo);
    result.contact = r.contact;
  }
  result.channel = r.channel;
  result.channelText = r.beforeChannel;
  return result;
}

void SerialLinks::SendRemote1(uint8_t value) {
  for (int32_t link = 1; link <= 2; ++link) {
    if (ComOpen(link) && swType_[static_cast<size_t>(link)] == kRemote1)
      com_[static_cast<size_t>(link)]->SendDataB(std::span<const uint8_t>(&value, 1), 1);
  }
}

void SerialLinks::ACSSerialOut(const std::string& text) {
  log_.Write("ACSSerialOut " + text, platform::LogSeverity::kInfo);
  for (int32_t link = 1; link <= 2; ++link) {
    if (ComOpen(link) && swType_[static_cast<size_t>(link)] == kAcs82)
      com_[static_cast<size_t>(link)]->SendText(text);
  }
}

}  // namespace playout
