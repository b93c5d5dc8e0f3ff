#include "devices/serial_clock_adjust.h"

#include <algorithm>
#include <chrono>

#include "devices/time_sync_daemons.h"
#include "foundation/calendar.h"
#include "foundation/date_stamp.h"
#include "foundation/settings_store.h"

namespace devices {

namespace {

constexpr uint8_t kEndByte = 0xE5;
// Bytes of the time code's framing, not part of the time.
constexpr uint8_t kFramingBytes[] = {0, 2, 3};
constexpr size_t kRecordChars = 6;
constexpr size_t kMaxTextChars = 26;
constexpr size_t kKeptTextChars = 18;
constexpr int64_t kMinutesPerDay = 1440;
constexpr int64_t kMsPerDay = 86400000;

// `value` brought into [low, low + period) by whole periods.
int64_t Wrap(int64_t value, int64_t period, int64_t low) {
  return ((value - low) % period + period) % period + low;
}

bool Digits(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The record as a log can show it: printable ASCII as it is, anything else as '?'.
std::string Printable(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    if (c < 0x20 || c > 0x7E) c = '?';
  }
  return shown;
}

// Seconds with six decimals ("0.000000" of the log), from whole milliseconds.
std::string SecondsText(int64_t ms) {
  if (ms < 0) ms = 0;
  return std::to_string(ms / 1000) + "." + foundation::PadNumber(ms % 1000, 3) + "000";
}

}  // namespace

TimeAdjustSettings LoadTimeAdjustSettings(
    const std::function<int32_t(const std::string&, int32_t)>& readInt) {
  const auto read = [&](const std::string& key, int32_t defaultValue) {
    return readInt ? readInt(key, defaultValue) : foundation::LoadSettingInt(key, defaultValue);
  };
  TimeAdjustSettings s;
  s.AHour = read("AHour", 0);
  s.AMinute = read("AMinute", 0);
  s.ASecond = read("ASecond", 0);
  s.AdjustMode = read("AdjustMode", 1);
  return s;
}

int64_t ClockAdjustTarget(const platform::WallTime& now, const TimeAdjustSettings& s) {
  if (s.AHour < 0 || s.AHour > 23 || s.AMinute < 0 || s.AMinute > 59 || s.ASecond < 0 ||
      s.ASecond > 59) {
    return -1;
  }
  int64_t d = 0;  // minutes from the clock's minute to the target's
  switch (s.AdjustMode) {
    case 0: {
      const int32_t ahead = s.ASecond - now.second;
      d = ahead >= 31 ? -1 : (ahead < -29 ? 1 : 0);
      break;
    }
    case 1:
      d = Wrap(s.AMinute - now.minute, 60, -29);
      break;
    case 2:
      d = Wrap(s.AHour - now.hour, 24, -11) * 60 - now.minute + s.AMinute;
      break;
    default:
      break;
  }
  int64_t t = int64_t{now.hour} * 60 + now.minute + d;
  int64_t day = 0;
  if (t >= kMinutesPerDay) day = 1;
  if (t < 0) day = -1;
  t -= day * kMinutesPerDay;
  platform::WallTime midnight = now;
  midnight.hour = midnight.minute = midnight.second = midnight.millisecond = 0;
  return platform::WallTimeToLocalMs(midnight) + day * kMsPerDay + t * 60000 +
         int64_t{s.ASecond} * 1000;
}

SerialClockAdjust::SerialClockAdjust(platform::LogSink& log, platform::Clock& clock,
                                     platform::ClockSetter& setter)
    : log_(log),
      clock_(clock),
      setter_(setter),
      daemonProbe_([] { return RunningTimeSyncDaemons(); }) {}

void SerialClockAdjust::ParseSerialTime(C_Com& port) {
  std::vector<uint8_t> buffer(static_cast<size_t>(std::max(port.DataSize(), 0)) + 1);
  const int32_t n = port.RecvDataB(buffer);
  if (n > 0) TakeTimeCode(std::span<const uint8_t>(buffer).subspan(1, static_cast<size_t>(n)));
}

void SerialClockAdjust::TakeTimeCode(std::span<const uint8_t> bytes) {
  for (const uint8_t b : bytes) {
    if (std::find(std::begin(kFramingBytes), std::end(kFramingBytes), b) !=
        std::end(kFramingBytes)) {
      continue;
    }
    if (b == kEndByte) {
      // The moment the record ended is the moment the code names.
      if (text_.size() >= kRecordChars) TakeRecord(clock_.Now(), clock_.MonotonicMs());
      continue;
    }
    text_.push_back(static_cast<char>(b));
    if (text_.size() > kMaxTextChars) text_ = text_.substr(text_.size() - kKeptTextChars);
  }
}

void SerialClockAdjust::TakeRecord(const platform::WallTime& receivedAt, int64_t receivedMono) {
  const std::string code = text_.substr(text_.size() - kRecordChars);
  text_.clear();
  if (!Digits(code)) {
    log_.Write("ParseSerialTime Code=" + Printable(code) + " not digits",
               platform::LogSeverity::kError);
    return;
  }
  const TimeAdjustSettings& s = settings_;
  const bool second = code.substr(4, 2) == foundation::PadNumber(s.ASecond, 2);
  const bool minute = code.substr(2, 2) == foundation::PadNumber(s.AMinute, 2);
  const bool hour = code.substr(0, 2) == foundation::PadNumber(s.AHour, 2);
  const bool due = second && ((s.AdjustMode == 0) || (s.AdjustMode == 1 && minute) ||
                              (s.AdjustMode == 2 && minute && hour));
  log_.Write("ParseSerialTime Code=" + code + " Adjust=" + (due ? "1" : "0"),
             platform::LogSeverity::kInfo);
  if (due) AdjustAt(receivedAt, receivedMono);
}

void SerialClockAdjust::AdjustClockFromSerial() { AdjustAt(clock_.Now(), clock_.MonotonicMs()); }

void SerialClockAdjust::AdjustAt(const platform::WallTime& now, int64_t nowMono) {
  const int64_t target = ClockAdjustTarget(now, settings_);
  if (target < 0) {
    log_.Write("時刻修正エラー AHour=" + std::to_string(settings_.AHour) +
                   " AMinute=" + std::to_string(settings_.AMinute) +
                   " ASecond=" + std::to_string(settings_.ASecond),
               platform::LogSeverity::kError);
    return;
  }
  const std::vector<std::string> daemons =
      daemonProbe_ ? daemonProbe_() : std::vector<std::string>{};
  if (!daemons.empty()) {
    std::string names;
    for (const std::string& d : daemons) names += (names.empty() ? "" : ", ") + d;
    log_.Write("AdjustClockFromSerial: a time-sync daemon is running (" + names +
                   ") and may move the clock again",
               platform::LogSeverity::kError);
  }
  const int64_t correctionMs = target - platform::WallTimeToLocalMs(now);
  const platform::ClockSetResult result = setter_.Correct(std::chrono::milliseconds(correctionMs));
  const int64_t elapsedMs = clock_.MonotonicMs() - nowMono;
  if (result.status != platform::ClockSetStatus::kApplied &&
      result.status != platform::ClockSetStatus::kDryRun) {
    log_.Write("時刻修正エラー " + result.message, platform::LogSeverity::kError);
    return;
  }
  log_.Write("AdjustClockFromSerial " + result.message, platform::LogSeverity::kInfo);
  log_.Write("時刻修正終了 " + SecondsText(elapsedMs) + " " + foundation::FormatDateStampAt(now) +
                 "--" + foundation::FormatDateStampAt(clock_.Now()),
             platform::LogSeverity::kInfo);
}

}  // namespace devices
