#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/log_sink.h"
#include "platform/unique_fd.h"

namespace devices {

// One serial port: opened once with fixed line settings, then short writes and non-blocking
// reads that the 50 ms clock pass polls. It knows nothing of the bytes' meaning.
//
// The port is a terminal device opened non-blocking, without becoming the controlling
// terminal, in raw mode with 8 data bits and no flow control of any kind. It is held
// exclusively: TIOCEXCL keeps other processes out, and a flock on the device keeps out other
// holders that TIOCEXCL lets through (root, or this process). Nothing here raises or throws: a
// port that is not open makes every transfer a no-op, and failures go to its log as error lines
// "C_Com <operation> Failed <code> <text>".
class C_Com {
 public:
  // How long one write may wait for the line to take its bytes.
  static constexpr int32_t kWriteTimeoutMs = 5000;

  // Failures are written to `log`.
  explicit C_Com(platform::LogSink& log) : log_(log) {}
  // A port whose writes give up after `writeTimeoutMs` (tests of a line that never drains).
  C_Com(platform::LogSink& log, int32_t writeTimeoutMs)
      : log_(log), writeTimeoutMs_(writeTimeoutMs) {}
  ~C_Com();
  C_Com(const C_Com&) = delete;
  C_Com& operator=(const C_Com&) = delete;

  // Bytes one read asks for.
  int32_t DataSize() const { return dataSize_; }
  void SetDataSize(int32_t value) { dataSize_ = value; }
  // "Com<n>" or a device path (see ComDevicePath).
  const std::string& ComPort() const { return comPort_; }
  void SetComPort(const std::string& value) { comPort_ = value; }
  // Line speed in bit/s; any positive rate (the kernel refuses what the device cannot do).
  int32_t BaudRate() const { return baudRate_; }
  void SetBaudRate(int32_t value) { baudRate_ = value; }
  // The settings' parity code: 0 none, 1 odd, 2 even, 3 mark, 4 space.
  int32_t ParityBit() const { return parityBit_; }
  void SetParityBit(int32_t value) { parityBit_ = value; }
  // The settings' stop-bit code: 0 one, 1 one and a half, 2 two. With 8 data bits the line
  // cannot do one and a half: that code, and codes outside 0..2, are logged and one stop bit
  // is used.
  int32_t StopBit() const { return stopBit_; }
  void SetStopBit(int32_t value) { stopBit_ = value; }

  // 1 opened, 0 failed (the port stays closed). An open port is closed first.
  int32_t OpenComm();
  // Closes the port; later transfers do nothing until OpenComm succeeds again.
  void CloseComm();
  bool IsOpen() const { return fd_.valid(); }

  // Writes the text's bytes (the texts sent are plain ASCII); nothing for an empty text.
  void SendText(const std::string& Mes);
  // Writes the first pLen bytes of sBytes (no more than it holds).
  void SendDataB(std::span<const uint8_t> sBytes, int32_t pLen);
  // Up to DataSize bytes as they came, "" when none are waiting.
  std::string RecvData();
  // Reads up to DataSize bytes (and no more than rBytes can take after element 0) into
  // element 1 on, stores the count in element 0 when it is below 256 and returns it. A port
  // that is not open leaves rBytes as it is and returns 0; so does an empty rBytes.
  int32_t RecvDataB(std::span<uint8_t> rBytes);

 private:
  int32_t ReadInto(uint8_t* buffer, int32_t capacity);
  // Writes everything or gives up after writeTimeoutMs_; returns the bytes written.
  int64_t WriteAll(const uint8_t* data, size_t length);
  bool ApplyLineSettings(int fd);
  void LogFailure(const std::string& operation, int err, const std::string& port) const;

  platform::LogSink& log_;
  platform::UniqueFd fd_;
  int32_t dataSize_ = 0;
  std::string comPort_;
  int32_t baudRate_ = 0;
  int32_t parityBit_ = 0;
  int32_t stopBit_ = 0;
  int32_t writeTimeoutMs_ = kWriteTimeoutMs;
  // A failing line is logged once, not on every poll, until a read works again.
  bool readFailureLogged_ = false;
};

}  // namespace devices
