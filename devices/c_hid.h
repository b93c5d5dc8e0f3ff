#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devices/hid_report_descriptor.h"
#include "devices/hidraw.h"
#include "platform/log_sink.h"

namespace devices {

// One USB HID device, found by vendor and product identifier: the station's own remote unit
// (contact inputs and switch outputs through TarnRead and TarnWrite) or the ShuttlePro v2
// jog/shuttle controller (ShuttlePro2Read). Reports are sized from the device's report
// descriptor and laid out with the report ID in byte 0. Every wait has a time limit, and none
// runs the event loop. Failures are results (0 or -1) and, with LogError set, error lines in
// its log.
class C_HID {
 public:
  // Vendor of the ShuttlePro v2 and its product.
  static constexpr int32_t kShuttleVendorID = 0x0B33;
  static constexpr int32_t kShuttleProductID = 0x0030;
  // The remote unit's vendor until the settings name another (key USBHIDVendorID).
  static constexpr int32_t kDefaultUnitVendorID = 0x1209;

  // Devices are looked for on `system` (the kernel's nodes unless a test brings its own);
  // failures are written to `log`.
  C_HID(platform::LogSink& log, HidrawSystem& system);
  ~C_HID();
  C_HID(const C_HID&) = delete;
  C_HID& operator=(const C_HID&) = delete;

  // Finds and opens a device. pMode 1 the ShuttlePro v2; 64 the remote unit of VendorID with
  // product pOpt (1 when pOpt is below 2). pSyncMode 0 and 1 make each transfer wait for its
  // answer (TimeoutMS at most), 2 spreads the unit's read over calls. With pIDOrder not -1 the
  // pIDOrder-th matching device (from 0) is taken, with pHIDFilename not "" only that node.
  // 1 found and opened, 0 not.
  int32_t HidInit(int32_t pMode, int32_t pOpt = 0, int32_t pSyncMode = 0, int32_t pIDOrder = -1,
                  const std::string& pHIDFilename = "");
  void HidClose();

  int32_t ReadRetrialCount() const { return readRetrialCount_; }
  void SetReadRetrialCount(int32_t value) { readRetrialCount_ = value < 1 ? 1 : value; }
  int32_t TimeoutMS() const { return timeoutMS_; }
  void SetTimeoutMS(int32_t value) { timeoutMS_ = value < 50 ? 50 : value; }
  void SetLogError(int32_t value) { logError_ = value; }
  int32_t VendorID() const { return vendorID_; }
  void SetVendorID(int32_t value) { vendorID_ = value; }
  // Input report length (with the ID byte); 0 when the device has no input report.
  int32_t ReceiveSize() const { return layout_.inputLength; }
  const std::string& HIDFilename() const { return path_; }
  int32_t WhileReadFile() const { return whileReadFile_; }
  int32_t WhileWriteFile() const { return whileWriteFile_; }

  // The unit's input on port pPort (0..7): asks for it with an inquiry report {ID, 255 with
  // pReadStatus else 0, pPort} and reads the answer {ID, port, value}. The value when it is
  // new (below 255) or asked for (pReadStatus or pGetUp), which the port's cache keeps; 0 for
  // nothing new; -1 on failure or an answer for another port. With pReadStatus the cached
  // value is the result until an answer replaces it. In sync mode 2 a read in progress gives
  // that result and goes on at the next call.
  int32_t TarnRead(int32_t pReadStatus = 0, int32_t pGetUp = 0, int32_t pPort = 0);
  // Sends the output report {ID, pPort, pValue}: pPort is the channel to switch on, 100 + the
  // channel to switch off, 101 + port to end an output pulse. 1 sent; 0 with no device, for
  // pPort 0 or 255, or on failure.
  int32_t TarnWrite(uint8_t pPort, uint8_t pValue = 0);
  // The ShuttlePro's next event as a token ("A000" jog forward, "A001" back, "B000".."B007"
  // shuttle forward, "C001".."C007" back, "D001".."D015" buttons), "" when nothing new.
  std::string ShuttlePro2Read();

 private:
  // One report through the device: 1 when the whole report went or came, else 0.
  int32_t Transfer(bool isRead, int32_t waitMs);
  // Drops input reports that arrived while nobody asked (answers after a time-out).
  void DropStaleInput();
  int32_t Decode(int32_t pReadStatus, int32_t pGetUp, int32_t pPort);
  int32_t TarnReadPolled(int32_t result, int32_t pReadStatus, int32_t pGetUp, int32_t pPort);
  int32_t SendInquiry(int32_t pReadStatus, int32_t pPort);
  void ResetProtocol();
  std::string DecodeShuttle();
  void Log(const std::string& text) const;

  platform::LogSink& log_;
  HidrawSystem& system_;
  std::unique_ptr<HidrawDevice> device_;
  std::string path_;
  HidReportLayout layout_;
  int32_t mode_ = 0;
  int32_t syncMode_ = 0;
  std::vector<uint8_t> input_;
  std::vector<uint8_t> output_;
  int32_t whileReadFile_ = 0;
  int32_t whileWriteFile_ = 0;
  int32_t inquirySent_ = 0;
  int32_t readRequested_ = 0;
  int32_t readTries_ = 0;
  int32_t errorLoops_ = 0;
  int32_t timeoutMS_ = 500;
  int32_t readRetrialCount_ = 6;
  int32_t logError_ = 0;
  int32_t vendorID_ = kDefaultUnitVendorID;
  std::array<int32_t, 8> portCache_;
  int32_t lastShuttle_ = -1;
  int32_t lastJog_ = -1;
  std::string lastShuttleToken_;
  std::string lastButtonToken_;
};

}  // namespace devices
