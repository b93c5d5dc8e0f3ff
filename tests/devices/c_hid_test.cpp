#include "devices/c_hid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/devices/fake_hidraw.h"
#include "tests/support/debug_log_fixture.h"

namespace devices {
namespace {

using Bytes = std::vector<uint8_t>;

// Two data bytes in and out, unnumbered (the remote unit).
const Bytes kUnitDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95,
                               0x02, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};
// The same with report ID 5.
const Bytes kNumberedUnitDescriptor = {0x85, 0x05, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0x91, 0x02};
// Five data bytes in (the ShuttlePro v2).
const Bytes kShuttleDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
                                  0x75, 0x08, 0x95, 0x05, 0x81, 0x02, 0xC0};

constexpr uint16_t kVendor = C_HID::kDefaultUnitVendorID;

class HidTest : public testsupport::DebugLogTest {
 protected:
  HidTest() { hid_.SetLogError(1); }

  // A unit that answers each inquiry with the next of `answers_` ({port, value}; an empty one
  // and the end of the list: silence).
  FakeHidDevice& AnsweringUnit(const Bytes& descriptor = kUnitDescriptor) {
    FakeHidDevice& unit = system_.Add(kVendor, 1, descriptor);
    unit.onWrite = [this](const Bytes&, FakeHidDevice& device) {
      if (next_ >= answers_.size()) return;
      Bytes reply = answers_[next_++];
      if (reply.empty()) return;
      if (!device.descriptor.empty() && device.descriptor[0] == 0x85)
        reply.insert(reply.begin(), 5);
      device.inputs.push_back(reply);
    };
    return unit;
  }

  FakeHidraw system_;
  C_HID hid_{log_, system_};
  std::vector<Bytes> answers_;
  size_t next_ = 0;
};

TEST_F(HidTest, FindsTheDevice) {
  system_.Add(kVendor, 2, kUnitDescriptor);
  system_.Add(kVendor, 1, kUnitDescriptor).opensReadWrite = false;  // read-only fallback
  system_.Add(kVendor, 1, kUnitDescriptor);
  system_.Add(kVendor, 1, kUnitDescriptor).descriptorReadable = false;
  system_.Add(C_HID::kShuttleVendorID, C_HID::kShuttleProductID, kShuttleDescriptor);

  const struct {
    int32_t mode, opt, order;
    const char* file;
    int32_t result;
    const char* path;
  } cases[] = {
      {64, 1, -1, "", 1, "/dev/hidraw1"},
      {64, 0, -1, "", 1, "/dev/hidraw1"},  // product below 2 means 1
      {64, 2, -1, "", 1, "/dev/hidraw0"},
      {64, 1, 1, "", 1, "/dev/hidraw2"},
      {64, 1, -1, "/dev/hidraw2", 1, "/dev/hidraw2"},
      {64, 1, 2, "", 0, ""},  // the third unit's descriptor cannot be read
      {64, 3, -1, "", 0, ""},
      {1, 0, -1, "", 1, "/dev/hidraw4"},
      {2, 0, -1, "", 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hid_.HidInit(c.mode, c.opt, 1, c.order, c.file), c.result) << c.mode << c.opt;
    EXPECT_EQ(hid_.HIDFilename(), c.path) << c.mode << " " << c.opt << " " << c.order;
  }
  EXPECT_TRUE(
      Logged("HidInit ReportDescriptor Failed /dev/hidraw3", platform::LogSeverity::kError));

  // The unit's vendor is a setting.
  hid_.SetVendorID(0x1234);
  EXPECT_EQ(hid_.HidInit(64, 1, 1), 0);
  system_.Add(0x1234, 1, kUnitDescriptor);
  EXPECT_EQ(hid_.HidInit(64, 1, 1), 1);
  EXPECT_EQ(hid_.ReceiveSize(), 3);
}

TEST_F(HidTest, SettingsClampAndReadBack) {
  const struct {
    int32_t set, timeout, retrial;
  } cases[] = {{10, 50, 10}, {0, 50, 1}, {-3, 50, 1}, {50, 50, 50}, {900, 900, 900}};
  for (const auto& c : cases) {
    hid_.SetTimeoutMS(c.set);
    hid_.SetReadRetrialCount(c.set);
    EXPECT_EQ(hid_.TimeoutMS(), c.timeout);
    EXPECT_EQ(hid_.ReadRetrialCount(), c.retrial);
  }
}

// What one TarnRead makes of the unit's answer, in the waiting modes.
TEST_F(HidTest, ReadsTheUnit) {
  const struct {
    Bytes answer;  // {port, value}; none: the unit stays silent
    int32_t readStatus, getUp, port;
    int32_t result;
    const char* logged;
  } cases[] = {
      {{0, 7}, 0, 0, 0, 7, nullptr},
      {{0, 255}, 0, 0, 0, 0, nullptr},  // nothing new
      {{0, 255}, 0, 1, 0, 255, nullptr},
      {{3, 9}, 1, 0, 3, 9, nullptr},
      {{2, 9}, 0, 0, 0, -1, "HID Port Different"},
      {{0}, 0, 0, 0, -1, "HIDIO insufficient 2 pIsRead=1"},
      {{}, 0, 0, 0, -1, "HIDIO GetOverlappedResult TimeOut pIsRead=1"},
  };
  for (const int32_t syncMode : {0, 1}) {
    for (const auto& c : cases) {
      FakeHidraw system;
      C_HID hid(log_, system);
      hid.SetLogError(1);
      FakeHidDevice& unit = system.Add(kVendor, 1, kUnitDescriptor);
      unit.inputs.push_back({0, 33});  // stale: came before the inquiry
      if (!c.answer.empty()) {
        unit.onWrite = [&](const Bytes&, FakeHidDevice& d) { d.inputs.push_back(c.answer); };
      }
      ASSERT_EQ(hid.HidInit(64, 1, syncMode), 1);
      EXPECT_EQ(hid.TarnRead(c.readStatus, c.getUp, c.port), c.result) << syncMode;
      ASSERT_EQ(unit.written.size(), 1u);
      EXPECT_EQ(unit.written[0], (Bytes{0, static_cast<uint8_t>(c.readStatus ? 255 : 0),
                                        static_cast<uint8_t>(c.port)}));
      if (c.logged) {
        EXPECT_TRUE(Logged(c.logged, platform::LogSeverity::kError)) << c.logged;
      }
    }
  }
}

TEST_F(HidTest, CacheAnswersReadStatus) {
  AnsweringUnit();
  answers_ = {{4, 7}, {4, 255}, {}};
  ASSERT_EQ(hid_.HidInit(64, 1, 1), 1);
  EXPECT_EQ(hid_.TarnRead(0, 0, 4), 7);
  EXPECT_EQ(hid_.TarnRead(0, 0, 4), 0);
  // Silence: the status read falls back on the cache, the plain read fails.
  EXPECT_EQ(hid_.TarnRead(1, 0, 4), -1);
  hid_.HidClose();
  EXPECT_EQ(hid_.TarnRead(1, 0, 4), 7);  // no device: the cached value
  EXPECT_EQ(hid_.TarnRead(0, 0, 4), 0);
  EXPECT_EQ(hid_.TarnRead(1, 0, 9), 0);  // no cache for ports past 7
}

// A numbered device: the report ID goes in front of every report out and comes in front of
// every answer.
TEST_F(HidTest, NumberedReports) {
  FakeHidDevice& unit = AnsweringUnit(kNumberedUnitDescriptor);
  answers_ = {{0, 12}};
  ASSERT_EQ(hid_.HidInit(64, 1, 1), 1);
  EXPECT_EQ(hid_.TarnRead(), 12);
  EXPECT_EQ(hid_.TarnWrite(3), 1);
  EXPECT_EQ(unit.written, (std::vector<Bytes>{{5, 0, 0}, {5, 3, 0}}));
}

// Sync mode 2: the inquiry goes once, the answer is looked for on each call, and after
// ReadRetrialCount calls without one the read fails and starts over.
TEST_F(HidTest, PolledReadAcrossCalls) {
  FakeHidDevice& unit = system_.Add(kVendor, 1, kUnitDescriptor);
  ASSERT_EQ(hid_.HidInit(64, 1, 2), 1);
  hid_.SetReadRetrialCount(3);
  for (int call = 0; call < 3; ++call) EXPECT_EQ(hid_.TarnRead(), 0);
  EXPECT_EQ(unit.written.size(), 1u);
  EXPECT_EQ(hid_.TarnRead(), -1);
  EXPECT_TRUE(
      Logged("HID ReadTried Over c_ErrorLoop=1 ReadTried=4", platform::LogSeverity::kError));

  EXPECT_EQ(hid_.TarnRead(), 0);  // a new inquiry
  EXPECT_EQ(unit.written.size(), 2u);
  unit.inputs.push_back({0, 6});
  EXPECT_EQ(hid_.TarnRead(), 6);
  EXPECT_EQ(unit.written.size(), 2u);

  unit.writeResult = -5;
  EXPECT_EQ(hid_.TarnRead(1, 0, 0), 6);  // the inquiry fails: the cached value, unchanged
  EXPECT_TRUE(Logged("HID InquiryRequst err", platform::LogSeverity::kError));
}

TEST_F(HidTest, WritesOutputs) {
  FakeHidDevice& unit = system_.Add(kVendor, 1, kUnitDescriptor);
  ASSERT_EQ(hid_.HidInit(64, 1, 1), 1);
  const struct {
    uint8_t port, value;
    int32_t result;
  } cases[] = {{3, 0, 1}, {103, 0, 1}, {0, 1, 0}, {255, 1, 0}, {2, 200, 1}};
  std::vector<Bytes> expected;
  for (const auto& c : cases) {
    EXPECT_EQ(hid_.TarnWrite(c.port, c.value), c.result);
    if (c.result == 1) expected.push_back({0, c.port, c.value});
  }
  EXPECT_EQ(unit.written, expected);
  unit.writeResult = -19;
  EXPECT_EQ(hid_.TarnWrite(4), 0);
  hid_.HidClose();
  EXPECT_EQ(hid_.TarnWrite(4), 0);
}

TEST_F(HidTest, ShuttleTokens) {
  FakeHidDevice& shuttle =
      system_.Add(C_HID::kShuttleVendorID, C_HID::kShuttleProductID, kShuttleDescriptor);
  ASSERT_EQ(hid_.HidInit(1, 0, 1), 1);
  // Reports as the node delivers them: shuttle, jog, 0, buttons 1, buttons 2.
  const struct {
    Bytes report;
    const char* token;
  } steps[] = {
      {{0, 10, 0, 0, 0}, ""},  // the first report only sets where things stand
      {{0, 11, 0, 0, 0}, "A000"}, {{0, 9, 0, 0, 0}, "A001"},   {{0, 255, 0, 0, 0}, "A001"},
      {{0, 0, 0, 0, 0}, "A000"},  // over the top, forwards
      {{0, 0, 0, 0, 0}, ""},      {{250, 0, 0, 0, 0}, "C006"}, {{250, 0, 0, 0, 0}, ""},
      {{3, 0, 0, 0, 0}, "B003"},  {{0, 0, 0, 0, 0}, "B000"},   {{0, 0, 0, 4, 0}, "D003"},
      {{0, 0, 0, 4, 0}, ""},                                  // held
      {{0, 0, 0, 0, 0}, ""},                                  // released
      {{0, 0, 0, 4, 0}, "D003"},  {{0, 0, 0, 1, 2}, "D012"},  // byte 5 wins
      {{0, 0, 0, 0, 32}, "D010"}, {{0, 0, 0, 3, 0}, ""},      // two buttons at once name none
      {{0, 0, 0, 0}, ""},                                     // short report
  };
  for (const auto& s : steps) {
    shuttle.inputs.push_back(s.report);
    EXPECT_EQ(hid_.ShuttlePro2Read(), s.token) << int(s.report[0]) << " " << int(s.report[1]);
  }
  EXPECT_TRUE(Logged("HIDIO insufficient 5 pIsRead=1", platform::LogSeverity::kError));
  EXPECT_EQ(hid_.ShuttlePro2Read(), "");  // nothing waiting

  // The jog needs a report before it counts again after a new start.
  ASSERT_EQ(hid_.HidInit(1, 0, 1), 1);
  shuttle.inputs.push_back({0, 200, 0, 0, 0});
  EXPECT_EQ(hid_.ShuttlePro2Read(), "");
}

}  // namespace
}  // namespace devices
