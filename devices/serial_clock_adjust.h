#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "devices/c_com.h"
#include "platform/clock.h"
#include "platform/clock_setter.h"
#include "platform/log_sink.h"

namespace devices {

// When the clock is set from the serial time code: at second ASecond of every minute
// (AdjustMode 0), at AMinute:ASecond of every hour (1) or at AHour:AMinute:ASecond of every
// day (2).
struct TimeAdjustSettings {
  int32_t AHour = 0;
  int32_t AMinute = 0;
  int32_t ASecond = 0;
  int32_t AdjustMode = 1;
};

// Reads AHour, AMinute, ASecond (default 0) and AdjustMode (default 1) through `readInt` (key,
// default), the settings store's when not given.
TimeAdjustSettings LoadTimeAdjustSettings(
    const std::function<int32_t(const std::string&, int32_t)>& readInt = {});

// Where the clock goes when a time code arrives at the clock reading `now`: the configured
// moment nearest to it (within half a minute, an hour or a day by the mode), with its whole
// date, in milliseconds of the local calendar (platform::WallTimeToLocalMs). Settings outside
// their ranges (hour 0..23, minute and second 0..59) give nothing: -1.
int64_t ClockAdjustTarget(const platform::WallTime& now, const TimeAdjustSettings& settings);

// The time-code input: ASCII digits hhmmss followed by the end byte 0xE5, at 2400 bit/s, with
// framing bytes 0, 2 and 3 in between. The received code is taken to be exactly the configured
// moment, so a code of that moment sets the clock to it.
class SerialClockAdjust {
 public:
  // Reads the clock from `clock`, moves it through `setter` and writes what it did to `log`.
  SerialClockAdjust(platform::LogSink& log, platform::Clock& clock, platform::ClockSetter& setter);

  void SetSettings(const TimeAdjustSettings& settings) { settings_ = settings; }
  const TimeAdjustSettings& Settings() const { return settings_; }
  // Lists the running time-sync daemons (RunningTimeSyncDaemons unless a test brings its own).
  void SetDaemonProbe(std::function<std::vector<std::string>()> probe) {
    daemonProbe_ = std::move(probe);
  }

  // Reads what the time-code port holds (its DataSize bytes at most) and takes it in.
  void ParseSerialTime(C_Com& port);
  // Takes in received bytes: every record (six or more characters before an end byte) is
  // logged; one whose last six characters are digits naming the configured moment sets the
  // clock. A shorter record waits to be joined by the next; the text gathered is kept to its
  // last 18 characters once it passes 26.
  void TakeTimeCode(std::span<const uint8_t> bytes);
  // Sets the clock to the configured moment nearest to now, in one step, and logs it.
  void AdjustClockFromSerial();

  // The time-code text gathered so far.
  const std::string& Text() const { return text_; }

 private:
  void TakeRecord(const platform::WallTime& receivedAt, int64_t receivedMono);
  void AdjustAt(const platform::WallTime& now, int64_t nowMono);

  platform::LogSink& log_;
  platform::Clock& clock_;
  platform::ClockSetter& setter_;
  TimeAdjustSettings settings_;
  std::function<std::vector<std::string>()> daemonProbe_;
  std::string text_;
};

}  // namespace devices
