#include "platform/user_registry.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>

#include "tests/support/forked_child.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::UserRegistry;
using testsupport::ForkedChild;
using testsupport::ReadWholeFile;
using testsupport::ScopedEnv;
using testsupport::TempDir;

TEST(UserRegistry, KeyPathsMapToLowerCasedFilesInsideTheFolder) {
  TempDir dir;
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.path().c_str());
    EXPECT_EQ(platform::UserConfigFolder(), dir.path());
    EXPECT_EQ(UserRegistry("Tarnwick").folder(), dir.path() + "/tarnwick");
  }
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/someone/");
    EXPECT_EQ(platform::UserConfigFolder(), "/home/someone/.config");
  }
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/path");  // not absolute: ignored
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(platform::UserConfigFolder(), "/home/someone/.config");
  }

  const UserRegistry reg("Tarnwick", dir.path());
  const std::string base = dir.path() + "/tarnwick/";
  const struct {
    const char* keyPath;
    std::optional<std::string> file;
  } cases[] = {
      {"Software\\tarnwick\\ondrake", base + "software.tarnwick.ondrake.key"},
      {"Software\\Tarnwick\\OndrakeB", base + "software.tarnwick.ondrakeb.key"},
      {"a.b\\c", base + "a%2Eb.c.key"},
      {"../../etc/passwd", base + "%2E%2E%2F%2E%2E%2Fetc%2Fpasswd.key"},
      {"x\\100%", base + "x.100%25.key"},
      {"Software\\..\\x", std::nullopt},
      {"..", std::nullopt},
      {"", std::nullopt},
      {"a\\\\b", std::nullopt},
      {"a\\", std::nullopt},
      {"\\a", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(reg.KeyFilePath(c.keyPath), c.file) << c.keyPath;

  EXPECT_EQ(reg.WriteValue("Software\\..\\..\\x", "v", "1"), EINVAL);
  EXPECT_EQ(reg.ReadValue("..", "v"), std::nullopt);
  EXPECT_EQ(reg.DeleteValue("..", "v"), EINVAL);
}

TEST(UserRegistry, ValuesRoundTripWhole) {
  TempDir dir;
  const UserRegistry reg("Tarnwick", dir.path() + "/not/yet/there");
  const char* key = "Software\\tarnwick\\ondrake";
  EXPECT_EQ(reg.ReadValue(key, "AirID"), std::nullopt);  // no folder, no file
  EXPECT_EQ(reg.DeleteValue(key, "AirID"), 0);

  std::string longValue;
  for (int i = 0; i < 20000; ++i) longValue += "日本語" + std::to_string(i);
  const std::string awkward = std::string("a=b\\c\r\nd\0e=", 11);
  const struct {
    std::string name;
    std::string value;
  } values[] = {
      {"AirID", "A"},  {"Long", longValue}, {"Awkward", awkward}, {"Empty", ""},
      {"", "default"}, {"na=me\\", "x"},    {"Spaces", "  a  "},
  };
  for (const auto& v : values) ASSERT_EQ(reg.WriteValue(key, v.name, v.value), 0) << v.name;
  for (const auto& v : values) EXPECT_EQ(reg.ReadValue(key, v.name), v.value) << v.name;

  // Names ignore ASCII case; the stored spelling stays, one line per name.
  ASSERT_EQ(reg.WriteValue(key, "airid", "B"), 0);
  EXPECT_EQ(reg.ReadValue(key, "AIRID"), "B");
  const std::string file = *reg.KeyFilePath(key);
  const std::string text = ReadWholeFile(file);
  EXPECT_EQ(text.rfind("AirID=B\n", 0), 0u);
  EXPECT_NE(text.find("\nAwkward=a\\=b\\\\c\\r\\nd\\0e\\=\n"), std::string::npos);

  // Other keys are other files.
  EXPECT_EQ(reg.ReadValue("Software\\tarnwick\\common", "AirID"), std::nullopt);

  ASSERT_EQ(reg.DeleteValue(key, "AIRID"), 0);
  EXPECT_EQ(reg.ReadValue(key, "AirID"), std::nullopt);
  EXPECT_EQ(reg.ReadValue(key, "Long"), longValue);
  EXPECT_EQ(reg.DeleteValue(key, "NeverThere"), 0);

  // Hand-edited lines: CR LF endings read, lines without '=' kept, first duplicate wins.
  testsupport::TempDir other;
  const UserRegistry hand("Tarnwick", other.path());
  other.WriteFile("tarnwick/k.key", "junk line\r\nName=first\r\nname=second\r\n");
  EXPECT_EQ(hand.ReadValue("k", "NAME"), "first");
  ASSERT_EQ(hand.WriteValue("k", "New", "v"), 0);
  EXPECT_EQ(ReadWholeFile(other.Sub("tarnwick/k.key")),
            "junk line\r\nName=first\r\nname=second\r\nNew=v\n");
  ASSERT_EQ(hand.DeleteValue("k", "name"), 0);  // every line of the name goes
  EXPECT_EQ(hand.ReadValue("k", "name"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(other.Sub("tarnwick/k.key")), "junk line\r\nNew=v\n");
}

TEST(UserRegistry, TwoProcessesSettingValuesOfOneKeyLoseNone) {
  TempDir dir;
  const UserRegistry reg("Tarnwick", dir.path());
  const char* key = "Software\\tarnwick\\common";
  constexpr int kWrites = 300;
  auto writer = [&](int c) {
    int failures = 0;
    for (int i = 0; i < kWrites; ++i)
      failures += reg.WriteValue(key, "V" + std::to_string(c) + "_" + std::to_string(i),
                                 std::to_string(i)) != 0;
    return failures == 0 ? 0 : 1;
  };
  ForkedChild first([&] { return writer(0); });
  ForkedChild second([&] { return writer(1); });
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(second.Wait(), 0);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < kWrites; ++i)
      ASSERT_EQ(reg.ReadValue(key, "V" + std::to_string(c) + "_" + std::to_string(i)),
                std::to_string(i));
}

}  // namespace
