#include "devices/c_hid.h"

#include <algorithm>
#include <span>

#include "platform/steady_deadline.h"

namespace devices {

namespace {

// Modes of HidInit.
constexpr int32_t kModeShuttle = 1;
constexpr int32_t kModeUnit = 64;
// The unit's reports hold the ID, the port and the value.
constexpr int32_t kUnitReportLength = 3;
// The ShuttlePro's input report: ID, shuttle, jog, (unused), two button bytes.
constexpr int32_t kShuttleReportLength = 6;
// How long TarnWrite waits for an answer still on its way before it gives up.
constexpr int32_t kWriteWaitMs = 2000;
// The kernel keeps at most this many unread reports per node.
constexpr int kMaxQueuedReports = 64;

// Tokens of the ShuttlePro's buttons by the value of byte 4 (one bit each), then byte 5.
constexpr uint8_t kByte4Buttons[] = {1, 2, 4, 8, 16, 32, 64, 128};
constexpr uint8_t kByte5Buttons[] = {1, 32, 64, 2, 4, 8, 16};

std::string Numbered(char letter, int32_t n) {
  std::string digits = std::to_string(n);
  return letter + std::string(3 - std::min<size_t>(digits.size(), 3), '0') + digits;
}

std::string ButtonToken(uint8_t byte4, uint8_t byte5) {
  for (size_t i = 0; i < std::size(kByte5Buttons); ++i) {
    if (byte5 == kByte5Buttons[i]) return Numbered('D', static_cast<int32_t>(9 + i));
  }
  for (size_t i = 0; i < std::size(kByte4Buttons); ++i) {
    if (byte4 == kByte4Buttons[i]) return Numbered('D', static_cast<int32_t>(1 + i));
  }
  return "";
}

std::string ShuttleToken(int32_t x) {
  if (x >= 0 && x <= 7) return Numbered('B', x);
  if (x >= 249 && x <= 255) return Numbered('C', 256 - x);
  return "";
}

// Clears a flag when the transfer that set it ends, whichever way it ends.
class FlagScope {
 public:
  explicit FlagScope(int32_t& flag) : flag_(flag) { flag_ = 1; }
  ~FlagScope() { flag_ = 0; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  int32_t& flag_;
};

}  // namespace

C_HID::C_HID(platform::LogSink& log, HidrawSystem& system) : log_(log), system_(system) {
  portCache_.fill(255);
}

C_HID::~C_HID() { HidClose(); }

void C_HID::Log(const std::string& text) const {
  if (logError_ != 0) log_.Write(text, platform::LogSeverity::kError);
}

int32_t C_HID::HidInit(int32_t pMode, int32_t pOpt, int32_t pSyncMode, int32_t pIDOrder,
                       const std::string& pHIDFilename) {
  HidClose();
  int32_t vendor = -1, product = -1;
  if (pMode == kModeShuttle) {
    vendor = kShuttleVendorID;
    product = kShuttleProductID;
  } else if (pMode == kModeUnit) {
    vendor = vendorID_;
    product = pOpt >= 2 ? pOpt : 1;
  } else {
    return 0;
  }
  int32_t order = 0;
  for (const HidrawInfo& info : system_.Enumerate()) {
    if (info.vendor != vendor || info.product != product) continue;
    std::unique_ptr<HidrawDevice> device = system_.Open(info.path, true);
    if (!device) device = system_.Open(info.path, false);
    if (!device) continue;
    if ((pIDOrder != -1 && pIDOrder != order) ||
        (!pHIDFilename.empty() && pHIDFilename != info.path)) {
      ++order;
      continue;
    }
    const std::optional<std::vector<uint8_t>> descriptor = device->ReportDescriptor();
    const std::optional<HidReportLayout> layout =
        descriptor ? ParseReportDescriptor(*descriptor) : std::nullopt;
    if (!layout) {
      Log("HidInit ReportDescriptor Failed " + info.path);
      continue;
    }
    device_ = std::move(device);
    path_ = info.path;
    layout_ = *layout;
    mode_ = pMode;
    syncMode_ = pSyncMode;
    input_.assign(static_cast<size_t>(layout_.inputLength), 0);
    output_.assign(pMode == kModeUnit ? static_cast<size_t>(layout_.outputLength) : 0, 0);
    lastShuttle_ = -1;
    lastJog_ = -1;
    lastShuttleToken_.clear();
    lastButtonToken_.clear();
    return 1;
  }
  return 0;
}

void C_HID::HidClose() {
  whileReadFile_ = 0;
  whileWriteFile_ = 0;
  ResetProtocol();
  errorLoops_ = 0;
  device_.reset();
  path_.clear();
  layout_ = HidReportLayout{};
  input_.clear();
  output_.clear();
}

void C_HID::ResetProtocol() {
  inquirySent_ = 0;
  readRequested_ = 0;
  readTries_ = 0;
}

int32_t C_HID::Transfer(bool isRead, int32_t waitMs) {
  if (!isRead) {
    const int32_t n = device_->Write(output_);
    if (n == static_cast<int32_t>(output_.size())) return 1;
    Log("HIDIO insufficient " + std::to_string(n) + " pIsRead=0");
    return -1;
  }
  if (waitMs > 0) {
    const int64_t start = platform::SteadyNowMs();
    const int32_t ready = device_->Wait(waitMs);
    if (ready == 0) {
      Log("HIDIO GetOverlappedResult TimeOut pIsRead=1 pOl=1 tTakes=" +
          std::to_string(platform::SteadyNowMs() - start) +
          " c_TimeoutMS=" + std::to_string(timeoutMS_));
      return 0;
    }
    if (ready < 0) {
      Log("HIDIO insufficient " + std::to_string(ready) + " pIsRead=1");
      return -1;
    }
  }
  // A device without numbered reports delivers them without the ID byte.
  const size_t skip = layout_.numbered ? 0 : 1;
  if (input_.size() <= skip) return -1;
  int32_t n = device_->Read(std::span<uint8_t>(input_).subspan(skip));
  if (n == 0) return 0;
  if (n > 0) {
    if (skip == 1) input_[0] = 0;
    n += static_cast<int32_t>(skip);
  }
  if (n < static_cast<int32_t>(input_.size())) {
    Log("HIDIO insufficient " + std::to_string(n) + " pIsRead=1");
    return -1;
  }
  return 1;
}

void C_HID::DropStaleInput() {
  std::vector<uint8_t> scratch(input_.size() + 1);
  for (int i = 0; i < kMaxQueuedReports && device_->Read(scratch) > 0; ++i) {
  }
}

int32_t C_HID::SendInquiry(int32_t pReadStatus, int32_t pPort) {
  std::fill(output_.begin(), output_.end(), 0);
  output_[0] = layout_.outputId;
  output_[1] = pReadStatus != 0 ? 255 : 0;
  output_[2] = static_cast<uint8_t>(pPort);
  std::fill_n(input_.begin(), kUnitReportLength, 0);
  return Transfer(false, 0);
}

int32_t C_HID::TarnRead(int32_t pReadStatus, int32_t pGetUp, int32_t pPort) {
  const bool cachedPort = pPort >= 0 && pPort < static_cast<int32_t>(portCache_.size());
  const int32_t result =
      pReadStatus != 0 && cachedPort ? portCache_[static_cast<size_t>(pPort)] : 0;
  if (whileWriteFile_ == 1 || !device_) return result;
  if (layout_.inputLength < kUnitReportLength || layout_.outputLength < kUnitReportLength ||
      mode_ != kModeUnit) {
    Log("HID TarnRead report too short In=" + std::to_string(layout_.inputLength) +
        " Out=" + std::to_string(layout_.outputLength));
    return -1;
  }
  FlagScope reading(whileReadFile_);
  if (syncMode_ == 2) return TarnReadPolled(result, pReadStatus, pGetUp, pPort);

  DropStaleInput();
  if (SendInquiry(pReadStatus, pPort) != 1) {
    Log("HID InquiryRequst err");
    return -1;
  }
  if (Transfer(true, timeoutMS_) != 1) {
    Log("HID ReadRequest err1");
    return -1;
  }
  return Decode(pReadStatus, pGetUp, pPort);
}

int32_t C_HID::TarnReadPolled(int32_t result, int32_t pReadStatus, int32_t pGetUp, int32_t pPort) {
  if (inquirySent_ == 0) {
    DropStaleInput();
    if (SendInquiry(pReadStatus, pPort) != 1) {
      Log("HID InquiryRequst err");
      return result;
    }
    inquirySent_ = 1;
    readRequested_ = 1;
  }
  const int32_t got = Transfer(true, 0);
  if (got < 0) {
    Log("HID ReadRequest err2");
    ResetProtocol();
    return -1;
  }
  if (got == 0) {
    // The answer has a number of calls to arrive in, then the inquiry starts over.
    if (++readTries_ > readRetrialCount_) {
      ++errorLoops_;
      Log("HID ReadTried Over c_ErrorLoop=" + std::to_string(errorLoops_) +
          " ReadTried=" + std::to_string(readTries_));
      ResetProtocol();
      return -1;
    }
    return result;
  }
  ResetProtocol();
  errorLoops_ = 0;
  return Decode(pReadStatus, pGetUp, pPort);
}

int32_t C_HID::Decode(int32_t pReadStatus, int32_t pGetUp, int32_t pPort) {
  if (input_[1] != pPort) {
    Log("HID Port Different");
    return -1;
  }
  const int32_t value = input_[2];
  if (value == 255 && pReadStatus == 0 && pGetUp == 0) return 0;
  if (pPort >= 0 && pPort < static_cast<int32_t>(portCache_.size()))
    portCache_[static_cast<size_t>(pPort)] = value;
  return value;
}

int32_t C_HID::TarnWrite(uint8_t pPort, uint8_t pValue) {
  if (!device_ || pPort == 0 || pPort == 255) return 0;
  if (layout_.outputLength < kUnitReportLength || mode_ != kModeUnit) return 0;
  FlagScope writing(whileWriteFile_);
  // An answer on its way is let in first, so that it is not taken for the reply to this report.
  if (syncMode_ == 2 && readRequested_ == 1 && device_->Wait(kWriteWaitMs) <= 0) {
    Log("TarnWrite wait for ReadRequested Err");
    return 0;
  }
  std::fill(output_.begin(), output_.end(), 0);
  output_[0] = layout_.outputId;
  output_[1] = pPort;
  output_[2] = pValue;
  return Transfer(false, 0) == 1 ? 1 : 0;
}

std::string C_HID::ShuttlePro2Read() {
  if (!device_ || mode_ != kModeShuttle || syncMode_ <= 0 ||
      layout_.inputLength < kShuttleReportLength) {
    return "";
  }
  if (Transfer(true, 0) != 1) return "";
  return DecodeShuttle();
}

std::string C_HID::DecodeShuttle() {
  const int32_t shuttle = input_[1];
  const int32_t jog = input_[2];
  const uint8_t byte4 = input_[4];
  const uint8_t byte5 = input_[5];
  std::string token;
  if (lastShuttle_ != -1 && shuttle != lastShuttle_) {
    const std::string t = ShuttleToken(shuttle);
    if (!t.empty() && t != lastShuttleToken_) token = t;
    if (!t.empty()) lastShuttleToken_ = t;
  } else if (byte4 != 0 || byte5 != 0) {
    const std::string t = ButtonToken(byte4, byte5);
    if (!t.empty() && t != lastButtonToken_) token = t;
    lastButtonToken_ = t;
  } else {
    lastButtonToken_.clear();
    // The first report only sets where the jog wheel stands.
    if (lastJog_ != -1 && jog != lastJog_) {
      const bool forward =
          (jog > lastJog_ && jog - lastJog_ < 241) || (jog < lastJog_ && lastJog_ - jog > 240);
      token = forward ? "A000" : "A001";
    }
  }
  lastShuttle_ = shuttle;
  lastJog_ = jog;
  return token;
}

}  // namespace devices
