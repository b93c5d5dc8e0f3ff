#include "devices/c_com.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <thread>
#include <vector>

#include "devices/com_port_path.h"
#include "devices/serial_line_speed.h"
#include "tests/devices/pty_pair.h"
#include "tests/support/debug_log_fixture.h"
#include "tests/support/scoped_env.h"

namespace devices {
namespace {

class ComTest : public testsupport::DebugLogTest {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.ok()); }

  // A port on the pair's line at `baud`, `dataSize` bytes per read.
  int32_t Open(C_Com& com, int32_t baud, int32_t dataSize = 256) {
    com.SetComPort(pty_.path());
    com.SetBaudRate(baud);
    com.SetDataSize(dataSize);
    return com.OpenComm();
  }
  // Reads until `count` bytes came or the line stayed quiet for 5 s.
  static std::vector<uint8_t> ReadAll(C_Com& com, size_t count) {
    std::vector<uint8_t> got;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::vector<uint8_t> buffer(static_cast<size_t>(com.DataSize()) + 1);
    while (got.size() < count && std::chrono::steady_clock::now() < give_up) {
      const int32_t n = com.RecvDataB(buffer);
      got.insert(got.end(), buffer.begin() + 1, buffer.begin() + 1 + n);
      if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return got;
  }

  testsupport::PtyPair pty_;
};

TEST(ComPortPathTest, NamesAndOverrides) {
  testsupport::ScopedEnv moved("ONDRAKE_COM3", "/dev/ttyUSB7");
  testsupport::ScopedEnv unset("ONDRAKE_COM1", nullptr);
  const struct {
    const char* name;
    const char* path;
  } cases[] = {
      {"Com1", "/dev/ttyS0"},
      {"COM12", "/dev/ttyS11"},
      {"com99", "/dev/ttyS98"},
      {"Com3", "/dev/ttyUSB7"},
      {"/dev/pts/4", "/dev/pts/4"},
      {"Com0", ""},
      {"Com100", ""},
      {"Com01", ""},
      {"Com", ""},
      {"Com1x", ""},
      {"ttyS0", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ComDevicePath(c.name), c.path) << c.name;
}

// 256 bytes of every value, out and back in, at standard and non-standard rates.
TEST_F(ComTest, RoundTripAtSeveralRates) {
  std::vector<uint8_t> all(256);
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint8_t>(i);
  for (const int32_t baud : {2400, 38400, 14400, 56000, 256000}) {
    C_Com com(log_);
    ASSERT_EQ(Open(com, baud), 1) << baud;
    EXPECT_EQ(ReadLineSpeed(pty_.terminal()), baud);

    com.SendDataB(all, 256);
    EXPECT_EQ(pty_.Receive(256), all) << baud;
    pty_.Send(all);
    EXPECT_EQ(ReadAll(com, 256), all) << baud;
    com.CloseComm();
  }
}

TEST_F(ComTest, LineSettings) {
  // A pseudo-terminal drops PARENB whatever is asked, so parity shows in PARODD and CMSPAR.
  const struct {
    int32_t parity, stop;
    tcflag_t set, clear;
    bool logged;
  } cases[] = {
      {0, 0, CS8, PARODD | CMSPAR | CSTOPB | CRTSCTS, false},
      {1, 2, CS8 | PARODD | CSTOPB, CMSPAR, false},
      {2, 0, CS8, PARODD | CMSPAR, false},
      {3, 0, PARODD | CMSPAR, 0, false},
      {4, 0, CMSPAR, PARODD, false},
      {0, 1, CS8, CSTOPB, true},  // one and a half stop bits: not with 8 data bits
      {7, 0, CS8, PARODD | CMSPAR, true},
  };
  for (const auto& c : cases) {
    C_Com com(log_);
    com.SetParityBit(c.parity);
    com.SetStopBit(c.stop);
    ASSERT_EQ(Open(com, 9600), 1);
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty_.terminal(), &tio), 0);
    EXPECT_EQ(tio.c_cflag & c.set, c.set) << c.parity << " " << c.stop;
    EXPECT_EQ(tio.c_cflag & c.clear, 0u) << c.parity << " " << c.stop;
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(Logged("C_Com", platform::LogSeverity::kError), c.logged)
        << c.parity << " " << c.stop;
    std::remove(foundation::DebugLogFilePath(platform::LogSeverity::kError).c_str());
  }
}

// One holder at a time, root included; the port is free again once closed.
TEST_F(ComTest, Exclusive) {
  C_Com first(log_), second(log_);
  ASSERT_EQ(Open(first, 38400), 1);
  EXPECT_EQ(Open(second, 38400), 0);
  EXPECT_FALSE(second.IsOpen());
  EXPECT_TRUE(Logged("C_Com OpenComm flock Failed", platform::LogSeverity::kError));
  first.CloseComm();
  EXPECT_EQ(Open(second, 38400), 1);
}

TEST_F(ComTest, ReadsAtMostDataSize) {
  C_Com com(log_);
  ASSERT_EQ(Open(com, 38400, 37), 1);
  std::vector<uint8_t> buffer(41, 0xEE);
  EXPECT_EQ(com.RecvDataB(buffer), 0);  // nothing waiting: at once, count 0
  EXPECT_EQ(buffer[0], 0);

  pty_.Send(std::string(100, 'x'));
  ASSERT_TRUE(pty_.WaitDelivered(100));
  for (const int32_t expected : {37, 37, 26, 0}) {
    buffer.assign(41, 0xEE);
    EXPECT_EQ(com.RecvDataB(buffer), expected);
    EXPECT_EQ(buffer[0], expected);
    EXPECT_EQ(buffer[38], 0xEE);  // never past DataSize
  }
  // A buffer smaller than DataSize bounds the read.
  pty_.Send("abcdef");
  ASSERT_TRUE(pty_.WaitDelivered(6));
  std::vector<uint8_t> small(4);
  EXPECT_EQ(com.RecvDataB(small), 3);
  EXPECT_EQ(com.RecvData(), "def");
}

TEST_F(ComTest, PortThatDoesNotOpen) {
  const std::string file = dir_.WriteFile("plain", "not a terminal");
  for (const std::string& name : {std::string("Com0"), std::string("/nonexistent/tty"), file}) {
    C_Com com(log_);
    com.SetComPort(name);
    com.SetDataSize(8);
    EXPECT_EQ(com.OpenComm(), 0) << name;
    EXPECT_FALSE(com.IsOpen());
    std::vector<uint8_t> buffer(9, 7);
    EXPECT_EQ(com.RecvDataB(buffer), 0);
    EXPECT_EQ(buffer[0], 7);  // the count keeps its previous value
    com.SendText("*0SL");     // nothing to write to, nothing happens
    EXPECT_TRUE(Logged("C_Com OpenComm", platform::LogSeverity::kError)) << name;
  }
}

TEST_F(ComTest, WritesTextsAndNothingForEmpty) {
  C_Com com(log_);
  ASSERT_EQ(Open(com, 38400), 1);
  com.SendText("");
  com.SendText("*0SL");
  const std::vector<uint8_t> bytes = {101, 102, 103};
  com.SendDataB(bytes, 2);
  com.SendDataB(bytes, 99);  // no further than the bytes given
  EXPECT_EQ(pty_.ReceiveText(9), std::string("*0SL") + "\x65\x66\x65\x66\x67");
}

// A line that never takes the bytes: the write gives up and logs, it does not hang.
TEST_F(ComTest, WriteGivesUpOnAStuckLine) {
  C_Com com(log_, 50);
  ASSERT_EQ(Open(com, 38400), 1);
  com.SendText(std::string(1 << 20, 'z'));
  EXPECT_TRUE(Logged("C_Com WriteFile Failed", platform::LogSeverity::kError));
}

}  // namespace
}  // namespace devices
