// Test labels: threads (each name look-up runs on a thread of its own)
#include "platform/host_name.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(HostNameTest, ValidatorTable) {
  struct Case {
    std::string host;
    bool valid;
  };
  const std::string label63(63, 'a');
  const std::string name253 = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'b');
  const Case cases[] = {
      {"audio01", true},
      {"ntp.example.jp", true},
      {"1server", true},
      {"192.168.0.10", true},
      {"::1", true},
      {label63, true},
      {name253, true},
      {"", false},
      {std::string(64, 'a'), false},  // label too long
      {name253 + "c", false},         // 254 characters
      {"-audio", false},
      {"audio-", false},
      {"a..b", false},
      {"audio.", false},
      {"au dio", false},
      {"audio;reboot", false},
      {"$(id)", false},
      {"\\\\audio01", false},
      {"audio\n", false},
      {"[::1]", false},  // brackets belong to URLs, not to host names
      {"fe80::1%eth0", false},
      {"10.1.2", false},  // numeric forms the resolver would read as an address
      {"123", false},
      {"256.1.1.1", false},
      {"01.2.3.4", false},
      {std::string("ab\0cd", 5), false},
      {"\xE3\x81\x82", false},  // non-ASCII
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidHostName(c.host), c.valid) << HostForLog(c.host);
  }
}

TEST(HostNameTest, NumericAddressesParseWithoutLookUp) {
  SocketAddress a;
  ASSERT_TRUE(ParseNumericAddress("127.0.0.1", &a));
  EXPECT_EQ(a.family(), AF_INET);
  EXPECT_EQ(a.ToString(), "127.0.0.1");
  SocketAddress b;
  ASSERT_TRUE(ParseNumericAddress("::1", &b));
  EXPECT_EQ(b.family(), AF_INET6);
  EXPECT_EQ(b.ToString(), "::1");
  EXPECT_FALSE(a.SameHost(b));
  SocketAddress c;
  ASSERT_TRUE(ParseNumericAddress("127.0.0.1", &c));
  EXPECT_TRUE(a.SameHost(c));
  EXPECT_FALSE(ParseNumericAddress("localhost", &c));

  // Resolution of a numeric address never consults the resolver, even with no time at all.
  bool asked = false;
  const Resolution r = ResolveHost("127.0.0.1", 0, [&](auto&&...) {
    asked = true;
    return false;
  });
  EXPECT_TRUE(r.ok);
  EXPECT_FALSE(asked);
}

TEST(HostNameTest, ResolverOutcomesArePassedOn) {
  const Resolution found =
      ResolveHost("audio01", 5000, [](const std::string& host, SocketAddress* out, std::string*) {
        return host == "audio01" && ParseNumericAddress("127.0.0.2", out);
      });
  ASSERT_TRUE(found.ok) << found.error;
  EXPECT_EQ(found.address.ToString(), "127.0.0.2");

  const Resolution missing =
      ResolveHost("audio02", 5000, [](const std::string&, SocketAddress*, std::string* error) {
        *error = "cannot resolve audio02: unknown";
        return false;
      });
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.error, "cannot resolve audio02: unknown");

  // Claiming success without an address is a failure, and a throwing resolver is contained.
  EXPECT_FALSE(ResolveHost("audio03", 5000, [](auto&&...) { return true; }).ok);
  EXPECT_FALSE(ResolveHost("audio04", 5000, [](auto&&...) -> bool { throw 1; }).ok);
}

TEST(HostNameTest, HostForLogIsOneSafeLine) {
  EXPECT_EQ(HostForLog("audio01"), "\"audio01\"");
  EXPECT_EQ(HostForLog("a\nb\x7f"), "\"a?b?\"");
  const std::string shown = HostForLog(std::string(1000, 'x'));
  EXPECT_EQ(shown, "\"" + std::string(253, 'x') + "...\"");
}

}  // namespace
}  // namespace platform
