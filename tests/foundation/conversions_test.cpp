#include "foundation/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace foundation {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(NumberConversionsTest, GainsUnsignedLongsOddsAndBytes) {
  EXPECT_EQ(DbToGain(-110), 0.0);
  EXPECT_DOUBLE_EQ(DbToGain(-20), 0.1);
  EXPECT_GT(DbToGain(-109.9), 0.0);
  EXPECT_EQ(DbToGain(std::nan("")), 0.0);
  EXPECT_EQ(DbToGain(1e6), 0.0);

  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, int32_t> longs[] = {
      {4294967295.0, -1}, {4294967296.0, -1}, {2147483648.0, INT32_MIN},
      {-0.5, 0},          {3.99, 3},          {4294967295.5, -1},
      {std::nan(""), 0},  {inf, -1},          {-inf, 0},
  };
  for (const auto& [value, expected] : longs) EXPECT_EQ(CurToLong(value), expected) << value;
  for (int64_t v : {0LL, 2147483648LL, 4294967295LL}) {
    EXPECT_EQ(ULongToCur(CurToLong(static_cast<double>(v))), v);
  }

  EXPECT_EQ(IsOddNumber(int64_t{-7}), 1);
  EXPECT_EQ(IsOddNumber(std::numeric_limits<int64_t>::min()), 0);
  EXPECT_EQ(IsOddNumber(-3.9), 1);
  EXPECT_EQ(IsOddNumber(4.5), 0);
  EXPECT_EQ(IsOddNumber(4294967295.0), 1);
  EXPECT_EQ(IsOddNumber(std::nan("")), 0);
  EXPECT_EQ(IsOddNumber(inf), 0);

  EXPECT_EQ(ClampByte(INT32_MIN), 0);
  EXPECT_EQ(ClampByte(256), 255);
}

TEST(NumberConversionsTest, NearestInt32HalvesToEvenAndKeepsTo32Bits) {
  const double nan = std::nan("");
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    std::optional<int32_t> checked;
    int32_t saturated;
  } cases[] = {
      {0.5, 0, 0},
      {1.5, 2, 2},
      {2.5, 2, 2},
      {-2.5, -2, -2},
      {-0.4, 0, 0},
      {2147483647.4, INT32_MAX, INT32_MAX},
      {2147483647.5, std::nullopt, INT32_MAX},  // rounds to 2^31
      {-2147483648.5, INT32_MIN, INT32_MIN},    // rounds to the even -2^31
      {-2147483649.0, std::nullopt, INT32_MIN},
      {1e300, std::nullopt, INT32_MAX},
      {inf, std::nullopt, INT32_MAX},
      {-inf, std::nullopt, INT32_MIN},
      {nan, std::nullopt, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NearestInt32(c.value), c.checked) << c.value;
    EXPECT_EQ(NearestInt32Saturated(c.value), c.saturated) << c.value;
  }
}

TEST(StringToBytesTest, WritesWhatFitsAndCountsAll) {
  Bytes bytes(16, 0xAA);
  EXPECT_EQ(StringToBytes("  ABCDEFGHIJKLMNOPQRST  ", bytes), 20);
  EXPECT_EQ(bytes, ToBytes("ABCDEFGHIJKLMNOP"));

  bytes.assign(8, 0xAA);
  EXPECT_EQ(StringToBytes("曲ｱ", bytes), 3);  // 0x8B 0xC8, half-width kana 0xB1
  EXPECT_EQ(bytes, (Bytes{0x8B, 0xC8, 0xB1, 0, 0, 0, 0, 0}));

  // A double-byte character that would straddle the end is left out whole.
  bytes.assign(4, 0xAA);
  EXPECT_EQ(StringToBytes("abc曲", bytes), 5);
  EXPECT_EQ(bytes, (Bytes{'a', 'b', 'c', 0}));

  Bytes none;
  EXPECT_EQ(StringToBytes("abc", none), 3);
  EXPECT_TRUE(none.empty());
}

TEST(BytesToStringTest, StopsAtTerminatorRangeOrEnd) {
  struct Case {
    Bytes bytes;
    int32_t lastIndex, termMode, startIndex;
    std::string expected;
  };
  const Bytes nul = ToBytes(std::string("abc\0def", 7));
  const Bytes crlf = ToBytes("ab\rc\r\nd");
  const Case cases[] = {
      {nul, 6, 0, 0, "abc"},
      {nul, 6, 0, 4, "def"},
      {nul, 6, -1, 0, std::string("abc\0def", 7)},
      {crlf, 6, 1, 0, "ab"},
      // A CR without LF is kept; CR LF ends the text, and so does a CR that is the last byte.
      {crlf, 6, 2, 0, "ab\rc"},
      {crlf, 2, 2, 0, "ab"},
      {ToBytes("abcdef"), 2, 0, 1, "bc"},
      // Double-byte characters, half-width kana and a 0x5C trail byte.
      {Bytes{0x83, 0x5C, 0xB1, 0x8B, 0xC8, 0}, 5, 0, 0, "ソｱ曲"},
      // A lead byte at lastIndex, at the array's end, or before a 0 stands alone and ends it.
      {Bytes{'a', 0x8B, 0xC8}, 1, 0, 0, "a?"},
      {Bytes{'a', 0x8B}, 5, 0, 0, "a?"},
      {Bytes{'a', 0x8B, 0, 'b'}, 3, -1, 0, "a?"},
      // An undefined pair is one '?' (its 0x5C never shows); a lead byte before a byte that is
      // no trail byte stands alone, so the terminator after it still ends the text.
      {Bytes{0x85, 0x5C, 'x'}, 2, -1, 0, "?x"},
      {Bytes{'a', 0x8B, '\r', 'b'}, 3, 1, 0, "a?"},
      // Indexes outside the array read nothing past it.
      {ToBytes("abc"), 100, 0, 0, "abc"},
      {ToBytes("abc"), 2, 0, 3, ""},
      {ToBytes("abc"), 2, 0, -1, ""},
      {ToBytes("abc"), -1, 0, 0, ""},
      {Bytes{}, 0, 0, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BytesToString(c.bytes, c.lastIndex, c.termMode, c.startIndex), c.expected)
        << c.lastIndex << " " << c.termMode << " " << c.startIndex;
  }
}

TEST(BytesToStringTest, SurvivesGarbageAndRoundTrips) {
  // Every byte value, in pairs that include invalid trail bytes: decodes without reading past
  // the range (the sanitizer build checks the reads).
  Bytes garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<uint8_t>((i * 73 + 11) % 256));
  EXPECT_FALSE(BytesToString(garbage, 4095, -1, 0).empty());

  const std::string original = "放送 ｱｲｳ \\ test";
  Bytes bytes(64);
  const int32_t n = StringToBytes(original, bytes);
  EXPECT_EQ(BytesToString(bytes, n - 1, -1, 0), original);
  EXPECT_EQ(BytesToString(bytes, 63, 0, 0), original);
}

}  // namespace
}  // namespace foundation
