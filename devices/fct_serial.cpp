#include "devices/fct_serial.h"

#include "foundation/app_globals.h"
#include "foundation/lang_mode.h"
#include "foundation/settings_store.h"
#include "foundation/user_dialogs.h"

namespace devices {

namespace {

constexpr int32_t kTimeCodeBaud = 2400;
constexpr int32_t kTimeCodeReadSize = 18;
constexpr int32_t kDefaultLinkBaud = 38400;
constexpr int32_t kCriticalBox = 16;
constexpr int kListedPorts = 6;

}  // namespace

int32_t OpenComBySettings(platform::LogSink& log, std::unique_ptr<C_Com>& port, int32_t mode,
                          const std::string& suffix, int32_t pPortNo, int32_t pBaudRate,
                          int32_t pDataSize, int32_t pParityBit, int32_t pStopBit) {
  if (port) port->CloseComm();
  const int32_t number = pPortNo != -1 ? pPortNo : foundation::LoadSettingInt("ComNo" + suffix, 0);
  if (number == 0) return 0;
  int32_t baud = pBaudRate;
  if (baud == -1) {
    baud = mode == kComModeTimeCode
               ? kTimeCodeBaud
               : foundation::LoadSettingInt("ComBaud" + suffix, kDefaultLinkBaud);
  }
  const int32_t dataSize =
      pDataSize != -1 ? pDataSize : (mode == kComModeTimeCode ? kTimeCodeReadSize : 1);

  port = std::make_unique<C_Com>(log);
  port->SetParityBit(pParityBit);
  port->SetBaudRate(baud);
  port->SetDataSize(dataSize);
  port->SetStopBit(pStopBit);
  port->SetComPort("Com" + std::to_string(number));
  if (port->OpenComm() == 1) return 1;
  const std::string name = "Com" + std::to_string(number);
  foundation::MsgBoxCentered(
      foundation::PickByLangMode(name + "が開けません", "Can not open " + name), kCriticalBox,
      foundation::Globals().ProgramTitle, nullptr);
  return 0;
}

std::vector<std::string> BaudRateList() {
  return {"110",   "300",   "600",   "1200",  "2400",   "9600",  "14400",
          "19200", "28800", "38400", "56000", "128000", "256000"};
}

std::vector<std::string> ComPortList() {
  std::vector<std::string> list = {"NA"};
  for (int n = 1; n <= kListedPorts; ++n) list.push_back("Com" + std::to_string(n));
  return list;
}

}  // namespace devices
