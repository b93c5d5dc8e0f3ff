#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devices/c_com.h"

namespace devices {

// Opening a serial port from the settings, and the port and speed lists of the settings
// dialog.

// Port modes of OpenComBySettings: 0 a switcher link (speed from the settings, 1-byte reads),
// 1 the time-code input (2400 bit/s, 18-byte reads).
inline constexpr int32_t kComModeLink = 0;
inline constexpr int32_t kComModeTimeCode = 1;

// Replaces `port` by a new port opened with "ComNo" + suffix (unless pPortNo is not -1), the
// speed and read size of the mode (or of "ComBaud" + suffix for a link) unless given, and the
// parity and stop-bit codes. 1 opened; 0 when the port number is 0 (not used: nothing opened,
// nothing shown) or the port would not open, which a critical message box reports as
// "Com<n>が開けません" ("Can not open Com<n>" with English texts). The old port is closed in
// every case. The new port writes its failures to `log`.
int32_t OpenComBySettings(platform::LogSink& log, std::unique_ptr<C_Com>& port, int32_t mode,
                          const std::string& suffix, int32_t pPortNo = -1, int32_t pBaudRate = -1,
                          int32_t pDataSize = -1, int32_t pParityBit = 0, int32_t pStopBit = 0);

// The speeds the settings offer, in bit/s, as texts.
std::vector<std::string> BaudRateList();
// "NA" (entry 0, not used), then "Com1" .. "Com6".
std::vector<std::string> ComPortList();

}  // namespace devices
