#include "devices/serial_clock_adjust.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "devices/time_sync_daemons.h"
#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "platform/cp932.h"
#include "tests/fakes/platform/fake_clock_setter.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/support/app_test_env.h"
#include "tests/support/scoped_env.h"

namespace devices {
namespace {

using platform::WallTime;

WallTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  return WallTime{y, mo, d, h, mi, s, ms};
}

// The clock adjustment's target over minute, hour, day, month and year edges.
TEST(ClockAdjustTargetTest, NearestConfiguredMoment) {
  const struct {
    int32_t mode, hour, minute, second;
    WallTime now, target;
  } cases[] = {
      {1, 0, 0, 0, At(2024, 5, 1, 9, 59, 58, 250), At(2024, 5, 1, 10, 0, 0)},
      {1, 0, 0, 0, At(2024, 5, 1, 10, 0, 40), At(2024, 5, 1, 10, 0, 0)},
      {1, 0, 0, 0, At(2024, 5, 1, 23, 59, 58), At(2024, 5, 2, 0, 0, 0)},
      {1, 0, 59, 30, At(2025, 1, 1, 0, 0, 20), At(2024, 12, 31, 23, 59, 30)},
      {1, 0, 30, 0, At(2024, 5, 1, 10, 59, 0), At(2024, 5, 1, 10, 30, 0)},
      {1, 0, 30, 0, At(2024, 5, 1, 11, 1, 0), At(2024, 5, 1, 11, 30, 0)},
      {2, 0, 0, 0, At(2024, 5, 1, 23, 59, 50), At(2024, 5, 2, 0, 0, 0)},
      {2, 0, 0, 0, At(2024, 5, 2, 0, 0, 5), At(2024, 5, 2, 0, 0, 0)},
      {2, 0, 0, 0, At(2024, 2, 29, 23, 59, 59), At(2024, 3, 1, 0, 0, 0)},
      {2, 5, 30, 0, At(2024, 5, 1, 5, 29, 59), At(2024, 5, 1, 5, 30, 0)},
      {2, 23, 0, 0, At(2024, 1, 1, 0, 0, 3), At(2023, 12, 31, 23, 0, 0)},
      {0, 0, 0, 0, At(2024, 5, 1, 23, 59, 58), At(2024, 5, 2, 0, 0, 0)},
      {0, 0, 0, 0, At(2024, 5, 1, 10, 5, 20), At(2024, 5, 1, 10, 5, 0)},
      {0, 0, 0, 45, At(2024, 5, 1, 0, 0, 5), At(2024, 4, 30, 23, 59, 45)},
  };
  for (const auto& c : cases) {
    const TimeAdjustSettings s{c.hour, c.minute, c.second, c.mode};
    EXPECT_EQ(ClockAdjustTarget(c.now, s), platform::WallTimeToLocalMs(c.target))
        << c.mode << " " << c.now.hour << ":" << c.now.minute << ":" << c.now.second;
  }
  for (const TimeAdjustSettings bad :
       {TimeAdjustSettings{24, 0, 0, 2}, TimeAdjustSettings{0, 60, 0, 1},
        TimeAdjustSettings{0, 0, -1, 0}}) {
    EXPECT_EQ(ClockAdjustTarget(At(2024, 5, 1, 1, 2, 3), bad), -1);
  }
}

class SerialClockAdjustTest : public ::testing::Test {
 protected:
  SerialClockAdjustTest() {
    foundation::Globals().LogError = 1;
    foundation::Globals().DebugLogPath = env_.dir().Sub("log");
    adjust_.SetDaemonProbe([this] { return daemons_; });
    adjust_.SetSettings(kOnTheHour);
  }
  static constexpr TimeAdjustSettings kOnTheHour{0, 0, 0, 1};
  // An adjuster of its own on `setter`, with no daemon probe.
  std::unique_ptr<SerialClockAdjust> Fresh(platform::ClockSetter& setter) {
    auto adjust = std::make_unique<SerialClockAdjust>(log_, clock_, setter);
    adjust->SetDaemonProbe({});
    adjust->SetSettings(kOnTheHour);
    return adjust;
  }
  static bool Logged(const std::string& text,
                     platform::LogSeverity severity = platform::LogSeverity::kInfo) {
    return testsupport::ReadWholeFile(foundation::DebugLogFilePath(severity))
               .find(platform::Utf8ToCp932(text)) != std::string::npos;
  }
  // Corrections asked for, in whole milliseconds.
  std::vector<int64_t> Corrections() const {
    std::vector<int64_t> ms;
    for (const auto c : setter_.Corrections())
      ms.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(c).count());
    return ms;
  }

  testsupport::AppTestEnv env_;
  platform::SimulatedClock clock_{At(2024, 5, 1, 9, 59, 58, 250)};
  platform::FakeClockSetter setter_;
  std::vector<std::string> daemons_;
  foundation::DebugLog log_;
  SerialClockAdjust adjust_{log_, clock_, setter_};
};

TEST_F(SerialClockAdjustTest, RecordsAndTheirTurn) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<int64_t> corrections;
    std::string text;  // left gathered
  } cases[] = {
      {"a short record joins the next",
       std::string("10\xE5"
                   "0000\xE5"),
       {1750},
       ""},
      {"seconds not ours", "100001\xE5", {}, ""},
      {"minute not ours in mode 1", "101000\xE5", {}, ""},
      {"only the last six count", "99999999100000\xE5", {1750}, ""},
      {"not digits", "1a0000\xE5", {}, ""},
      {"no end byte yet", "100000", {}, "100000"},
      {"noise is cut to 18", std::string(27, 'x'), {}, std::string(18, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto adjust = Fresh(setter_);
    const size_t before = setter_.Corrections().size();
    adjust->TakeTimeCode(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()));
    const std::vector<int64_t> made = Corrections();
    EXPECT_EQ(std::vector<int64_t>(made.begin() + static_cast<long>(before), made.end()),
              c.corrections);
    EXPECT_EQ(adjust->Text(), c.text);
  }
  EXPECT_TRUE(Logged("ParseSerialTime Code=100000 Adjust=1"));
  EXPECT_TRUE(Logged("時刻修正終了 0.000000 2024/05/01 09:59:58--2024/05/01 09:59:58"));
  EXPECT_TRUE(Logged("ParseSerialTime Code=100001 Adjust=0"));
  EXPECT_TRUE(Logged("ParseSerialTime Code=1a0000 not digits", platform::LogSeverity::kError));
}

TEST_F(SerialClockAdjustTest, DaemonsAndRefusals) {
  daemons_ = {"chronyd"};
  adjust_.AdjustClockFromSerial();
  EXPECT_TRUE(Logged("a time-sync daemon is running (chronyd)", platform::LogSeverity::kError));
  EXPECT_EQ(Corrections(), std::vector<int64_t>{1750});

  setter_.SetStatus(platform::ClockSetStatus::kFailed);
  adjust_.AdjustClockFromSerial();
  EXPECT_TRUE(
      Logged("時刻修正エラー fake clock correction by +1.750 s", platform::LogSeverity::kError));

  adjust_.SetSettings(TimeAdjustSettings{0, 75, 0, 1});
  adjust_.AdjustClockFromSerial();
  EXPECT_TRUE(Logged("時刻修正エラー AHour=0 AMinute=75 ASecond=0", platform::LogSeverity::kError));
  EXPECT_EQ(Corrections().size(), 2u);
}

// The system's setter under a dry run reports and leaves the machine's clock alone.
TEST_F(SerialClockAdjustTest, DryRunOfTheSystemSetter) {
  testsupport::ScopedEnv dry(platform::kClockDryRunVariable, "1");
  platform::SystemClockSetter system;
  Fresh(system)->AdjustClockFromSerial();
  EXPECT_TRUE(Logged("clock not set (dry run"));
  EXPECT_TRUE(Logged("時刻修正終了 "));
}

TEST(TimeSyncDaemonsTest, FindsThemByProcessName) {
  testsupport::TempDir proc;
  proc.WriteFile("1/comm", "systemd\n");
  proc.WriteFile("412/comm", "chronyd\n");
  proc.WriteFile("413/comm", "chronyd\n");
  proc.WriteFile("977/comm", "systemd-timesyn\n");
  proc.WriteFile("self/comm", "ntpd\n");
  proc.WriteFile("5000/comm", std::string(4000, 'n'));
  EXPECT_EQ(RunningTimeSyncDaemons(proc.path()),
            (std::vector<std::string>{"chronyd", "systemd-timesyn"}));
  EXPECT_TRUE(RunningTimeSyncDaemons(proc.Sub("missing")).empty());
}

}  // namespace
}  // namespace devices
