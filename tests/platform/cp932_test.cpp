#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

TEST(Cp932, RoundTripsJapaneseText) {
  struct Case {
    const char* utf8;
    std::string cp932;
  };
  const Case cases[] = {
      {"ABC 123", "ABC 123"},
      {"\\", "\x5C"},                // backslash stays a backslash
      {"ｱｲｳﾞ", "\xB1\xB2\xB3\xDE"},  // half-width kana are single bytes
      {"ソ", "\x83\x5C"},            // trail byte 0x5C is not a path separator
      {"表示", "\x95\x5C\x8E\xA6"},
      {"～", "\x81\x60"},  // the code page's own wave dash mapping
      {"①", "\x87\x40"},   // vendor extension row
      {"曲名.wav", "\x8B\xC8\x96\xBC.wav"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932) << c.utf8;
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
  }
}

TEST(Cp932, ReplacesWhatCannotBeConverted) {
  // One '?' per character the code page lacks, however many UTF-8 bytes it takes.
  EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp932("한ソ"), "?\x83\x5C");
  // Invalid UTF-8: a stray continuation byte, a cut-off sequence at the end.
  EXPECT_EQ(Utf8ToCp932("a\x80z"), "a?z");
  EXPECT_EQ(Utf8ToCp932("a\xE3\x81"), "a??");
  // Invalid CP932: a lead byte with a byte that cannot follow it keeps the second byte.
  EXPECT_EQ(Cp932ToUtf8("\x81\x20x"), "? x");
  // A lead byte at the very end stands alone.
  EXPECT_EQ(Cp932ToUtf8("ab\x83"), "ab?");
  EXPECT_EQ(Cp932ToUtf8(std::string()), "");
  EXPECT_EQ(Utf8ToCp932(std::string()), "");
}

TEST(Cp932, ALeadByteAndItsTrailByteAreAlwaysOneCharacter) {
  struct Case {
    std::string cp932;
    std::string utf8;
    std::vector<size_t> lengths;  // the walk of Cp932CharLength
  };
  const Case cases[] = {
      // A pair the code page leaves undefined is one '?': its trail byte never stands alone,
      // so 0x5C never turns into a path separator.
      {"\x85\x5C", "?", {2}},
      {"a\xEB\x40z", "a?z", {1, 2, 1}},
      {"\x83\x5C\x85\x5C\\", "ソ?\\", {2, 2, 1}},
      {"\xFC\xFC", "?", {2}},
      // A lead byte before a byte that can be no trail byte is a character of its own.
      {"\x81\x7F", "?\x7F", {1, 1}},
      {"\x81\r\n", "?\r\n", {1, 1, 1}},
      {std::string("\x81\0", 2), std::string("?\0", 2), {1, 1}},
      // Single bytes the code page does not define.
      {"\x80\xA0\xFD", "???", {1, 1, 1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
    std::vector<size_t> lengths;
    for (size_t i = 0; i < c.cp932.size(); i += Cp932CharLength(c.cp932, i))
      lengths.push_back(Cp932CharLength(c.cp932, i));
    EXPECT_EQ(lengths, c.lengths);
  }
  EXPECT_EQ(Cp932CharLength("a", 1), 0u);
}

TEST(Cp932, ConvertsLongTextAcrossBufferEdges) {
  std::string utf8, cp932;
  for (int i = 0; i < 3000; ++i) {
    utf8 += "ソa";
    cp932 +=
        "\x83\x5C"
        "a";
  }
  EXPECT_EQ(Utf8ToCp932(utf8), cp932);
  EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

TEST(Cp932, SafePrefixNeverSplitsADoubleByteCharacter) {
  const std::string text =
      "a\x83\x5C"
      "b\x95\x5C";  // a ソ b 表
  struct Case {
    size_t maxBytes;
    size_t expected;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {5, 4}, {6, 6}, {100, 6}};
  for (const Case& c : cases)
    EXPECT_EQ(Cp932SafePrefixLength(text, c.maxBytes), c.expected) << c.maxBytes;
  // A lead byte before a non-trail byte may end the prefix; one at the very end was cut off.
  EXPECT_EQ(Cp932SafePrefixLength("a\x81 ", 2), 2u);
  EXPECT_EQ(Cp932SafePrefixLength("a\x81", 2), 1u);
  // Half-width kana (0xA1-0xDF) are single bytes, not lead bytes.
  EXPECT_EQ(Cp932SafePrefixLength("\xB1\xB2\xB3", 2), 2u);
  EXPECT_FALSE(IsCp932LeadByte(0x5C));
  EXPECT_FALSE(IsCp932LeadByte(0xB1));
  EXPECT_TRUE(IsCp932LeadByte(0x81));
  EXPECT_TRUE(IsCp932LeadByte(0xFC));
}

}  // namespace
}  // namespace platform
