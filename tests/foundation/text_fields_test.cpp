#include "foundation/text_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace foundation {
namespace {

using Fields = std::vector<std::string>;

TEST(CleanTextFieldTest, MakesOneSafeLine) {
  struct Case {
    std::string in, expected;
  };
  const Case cases[] = {
      {"a\r\nb\tc,d\"e\"",
       "abc.d\xE2\x80\x9D"
       "e\xE2\x80\x9D"},
      {std::string("x\0y\bz", 5), "xyz"},
      {"曲，名", "曲.名"},
      {"", ""},
      // Bytes that are not UTF-8 pass through untouched.
      {"\xFF,\xE3\x81", "\xFF.\xE3\x81"},
  };
  for (const Case& c : cases) EXPECT_EQ(CleanTextField(c.in), c.expected) << c.in;
}

TEST(SplitCsvLineTest, QuoteAwareScan) {
  struct Case {
    std::string line;
    Fields expected;
  };
  const Case cases[] = {
      {"a,\"b\",c", {"a", "b", "c"}},
      {"a,", {"a"}},
      {"a,,b", {"a", "", "b"}},
      {"\"x,y\"", {"xy"}},
      {"ab\"c\"d,e", {"abcd", "e"}},
      {"\"a\"b\",c", {"ab", "c"}},
      {"\"unterminated,x", {"unterminatedx"}},
      {",", {""}},
      {"\"\",b", {"", "b"}},
      {"\"曲,名\",ＡＢ", {"曲名", "ＡＢ"}},
      {"a,\"", {"a", ""}},
  };
  for (const Case& c : cases) {
    Fields fields = {"stale"};
    EXPECT_EQ(SplitCsvLine(fields, c.line, ",", 1), static_cast<int32_t>(c.expected.size()))
        << c.line;
    EXPECT_EQ(fields, c.expected) << c.line;
  }
}

TEST(SplitCsvLineTest, PlainSplitKeepsEmptyFields) {
  struct Case {
    std::string line, separator;
    int32_t quoteMode;
    Fields expected;
  };
  const Case cases[] = {
      {"a,\"b\",", ",", 0, {"a", "\"b\"", ""}},
      {"a\tb\t\tc", "\t", 1, {"a", "b", "", "c"}},
      {"1::2::", "::", 0, {"1", "2", ""}},
      {"abc", ";", 0, {"abc"}},
  };
  for (const Case& c : cases) {
    Fields fields;
    EXPECT_EQ(SplitCsvLine(fields, c.line, c.separator, c.quoteMode),
              static_cast<int32_t>(c.expected.size()));
    EXPECT_EQ(fields, c.expected) << c.line;
  }
  Fields fields = {"stale"};
  EXPECT_EQ(SplitCsvLine(fields, "", ",", 1), 0);
  EXPECT_TRUE(fields.empty());
  fields = {"stale"};
  EXPECT_EQ(SplitCsvLine(fields, "a,b", "", 0), 0);
  EXPECT_TRUE(fields.empty());
}

TEST(TrimNullsTest, CutsAtFirstNul) {
  EXPECT_EQ(TrimNulls(std::string("name.wav\0\0junk", 15)), "name.wav");
  EXPECT_EQ(TrimNulls(std::string("\0a", 2)), "");
  EXPECT_EQ(TrimNulls("plain"), "plain");
}

TEST(CharCountTest, CountsCodePointsAndToleratesBadBytes) {
  EXPECT_EQ(CharCount(""), 0u);
  EXPECT_EQ(CharCount("aé曲🎵"), 4u);
  // A truncated sequence and stray continuation bytes count one per byte.
  EXPECT_EQ(CharCount("\xE6\x9B"), 2u);
  EXPECT_EQ(CharCount("\x80\x80x"), 3u);
  const std::string s = "a曲b";
  EXPECT_EQ(CharOffset(s, 0), 0u);
  EXPECT_EQ(CharOffset(s, 1), 1u);
  EXPECT_EQ(CharOffset(s, 2), 4u);
  EXPECT_EQ(CharOffset(s, 3), 5u);
  EXPECT_EQ(CharOffset(s, 99), 5u);
}

// Every character one unit wide, whatever its byte length.
class CharWidth : public TextWidthSource {
 public:
  double TextWidth(const std::string& utf8) const override {
    return static_cast<double>(CharCount(utf8));
  }
};

TEST(FitTextToWidthTest, KeepsLongestFittingHeadOrTail) {
  struct Case {
    std::string text;
    double width;
    bool fromRight;
    std::string expected;
  };
  const Case cases[] = {
      {"abcdef", 10, false, "abcdef"},  {"abcdef", 6, false, "abcdef"},
      {"abcdef", 3, false, "abc"},      {"abcdef", 3, true, "def"},
      {"abcdef", 0, false, "a"},        {"abcdef", 0, true, "f"},
      {"曲", -5, true, "曲"},           {"", 0, false, ""},
      {"放送曲目録", 2, false, "放送"}, {"放送曲目録", 3, true, "曲目録"},
      {"a曲b", 1.5, true, "b"},
  };
  for (const Case& c : cases) {
    CharWidth surface;
    EXPECT_EQ(FitTextToWidth(c.text, surface, c.width, c.fromRight), c.expected)
        << c.text << " " << c.width;
  }
}

}  // namespace
}  // namespace foundation
