#include "platform/ascii_text.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(AsciiTextTest, TrimsKeepInnerBlanksAndNonAsciiBytes) {
  const struct {
    const char* text;
    const char* blanks;      // TrimBlanks
    const char* whiteSpace;  // TrimWhiteSpace
    const char* folded;      // TrimmedLowerAscii
  } cases[] = {
      {"", "", "", ""},
      {"   ", "", "", ""},
      {" \t\r\n\v\f", "\t\r\n\v\f", "", ""},
      {"  Air 1  ", "Air 1", "Air 1", "air 1"},
      {"\tDSound\r\n", "\tDSound\r\n", "DSound", "dsound"},
      {" \t x \t ", "\t x \t", "x", "x"},
      // CP932 "ア" is 0x83 0x41: its trail byte is 'A', which trimming leaves alone.
      {" \x83\x41 ", "\x83\x41", "\x83\x41", "\x83\x61"},
      // UTF-8 "Ä" and a no-break space (0xC2 0xA0) are not ASCII: kept, never folded.
      {"\xC3\x84 \xC2\xA0", "\xC3\x84 \xC2\xA0", "\xC3\x84 \xC2\xA0", "\xC3\x84 \xC2\xA0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
    EXPECT_EQ(TrimBlanks(c.text), c.blanks);
    EXPECT_EQ(TrimWhiteSpace(c.text), c.whiteSpace);
    EXPECT_EQ(TrimmedLowerAscii(c.text), c.folded);
  }
}

TEST(AsciiTextTest, CaseChangesTouchAsciiLettersOnly) {
  const struct {
    std::string text, lower, upper;
  } cases[] = {
      {"", "", ""},
      {"Conf.INI", "conf.ini", "CONF.INI"},
      {"@[`{ 09_", "@[`{ 09_", "@[`{ 09_"},  // the neighbours of the letter ranges
      {"\xC3\x84\xC3\xA4 Zz", "\xC3\x84\xC3\xA4 zz", "\xC3\x84\xC3\xA4 ZZ"},
      {std::string("A\0b", 3), std::string("a\0b", 3), std::string("A\0B", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(LowerAscii(c.text), c.lower);
    EXPECT_EQ(UpperAscii(c.text), c.upper);
    EXPECT_TRUE(EqualsIgnoringAsciiCase(c.lower, c.upper));
  }
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x84", "\xC3\xA4"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("ab", "abc"));
}

}  // namespace
}  // namespace platform
