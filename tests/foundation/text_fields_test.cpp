#include "foundation/text_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace foundation {
namespace {

using Fields = std::vector<std::string>;

TEST(TextFieldsTest, CleanFieldIsOneSafeLineAndNulsCutIt) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\r\nb\tc,d\"e\"",
       "abc.d\xE2\x80\x9D"
       "e\xE2\x80\x9D"},
      {std::string("x\0y\bz", 5), "xyz"},
      {"曲，名", "曲.名"},
      // Bytes that are not UTF-8 pass through untouched.
      {"\xFF,\xE3\x81", "\xFF.\xE3\x81"},
  };
  for (const auto& [in, expected] : cases) EXPECT_EQ(CleanTextField(in), expected) << in;
  EXPECT_EQ(TrimNulls(std::string("name.wav\0\0junk", 15)), "name.wav");
  EXPECT_EQ(TrimNulls(std::string("\0a", 2)), "");
}

TEST(SplitCsvLineTest, QuoteAwareAndPlainSplits) {
  struct Case {
    std::string line, separator;
    int32_t quoteMode;
    Fields expected;
  };
  const Case cases[] = {
      {"a,\"b\",c", ",", 1, {"a", "b", "c"}},
      {"a,", ",", 1, {"a"}},
      {"a,,b", ",", 1, {"a", "", "b"}},
      {"\"x,y\"", ",", 1, {"xy"}},
      {"\"a\"b\",c", ",", 1, {"ab", "c"}},
      {"\"unterminated,x", ",", 1, {"unterminatedx"}},
      {",", ",", 1, {""}},
      {"\"曲,名\",ＡＢ", ",", 1, {"曲名", "ＡＢ"}},
      {"a,\"", ",", 1, {"a", ""}},
      {"", ",", 1, {}},
      // Without quote handling empty fields stay, a trailing one included.
      {"a,\"b\",", ",", 0, {"a", "\"b\"", ""}},
      {"1::2::", "::", 0, {"1", "2", ""}},
      {"a,b", "", 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Fields fields = {"stale"};
    EXPECT_EQ(SplitCsvLine(fields, c.line, c.separator, c.quoteMode),
              static_cast<int32_t>(c.expected.size()));
    EXPECT_EQ(fields, c.expected);
  }
}

TEST(CharCountTest, CountsCodePointsAndToleratesBadBytes) {
  EXPECT_EQ(CharCount("aé曲🎵"), 4u);
  // A truncated sequence and stray continuation bytes count one per byte.
  EXPECT_EQ(CharCount("\xE6\x9B"), 2u);
  EXPECT_EQ(CharCount("\x80\x80x"), 3u);
  EXPECT_EQ(CharOffset("a曲b", 2), 4u);
  EXPECT_EQ(CharOffset("a曲b", 99), 5u);
}

// Every character one unit wide, whatever its byte length.
class CharWidth : public platform::TextWidthSource {
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
      {"abcdef", 6, false, "abcdef"},
      {"abcdef", 3, true, "def"},
      {"abcdef", 0, false, "a"},
      {"曲", -5, true, "曲"},
      {"", 0, false, ""},
      {"放送曲目録", 2, false, "放送"},
      {"放送曲目録", 3, true, "曲目録"},
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
