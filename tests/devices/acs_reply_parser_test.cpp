#include "devices/acs_reply_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace devices {
namespace {

// A contact report of the box: 16 states separated by commas.
std::string Contacts(const std::string& states) {
  std::string text = "S0P,A,";
  for (size_t i = 0; i < states.size(); ++i) text += (i ? "," : "") + std::string(1, states[i]);
  return text;
}

// A channel report: eight states and the rest of the box's record.
std::string Channels(const std::string& states) {
  std::string text = "S0L1,";
  for (const char s : states) text += std::string(1, s) + ",";
  return text + "S0L2,0,0,0,0,0,0,0,0";
}

AcsReplyParser::Result Take(AcsReplyParser& p, const std::string& text) {
  return p.Take(
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST(AcsReplyParserTest, ContactReports) {
  struct Step {
    std::string text;
    int32_t contact;
  };
  const struct {
    const char* what;
    std::vector<Step> steps;
    std::string states;  // afterwards, as 16 digits
  } cases[] = {
      {"the third rises", {{Contacts("0010000000000000"), 3}}, "0010000000000000"},
      {"two rise: the lower now, the higher with the next report",
       {{Contacts("0100100000000000"), 2},
        {Contacts("0100100000000000"), 5},
        {Contacts("0100100000000000"), 0}},
       "0100100000000000"},
      {"a fall is kept and reports nothing",
       {{Contacts("1000000000000000"), 1}, {Contacts("0000000000000000"), 0}},
       "0000000000000000"},
      {"split over two polls",
       {{"S0P,A,0,0,0,1,0,0", 0}, {",0,0,0,0,0,0,0,0,0,0", 4}},
       "0001000000000000"},
      {"line ends dropped",
       {{"\r\nS0P,A,0,1,0,0,0,0,0,0,0,\r\n0,0,0,0,0,0,0", 2}},
       "0100000000000000"},
      {"more digits than inputs", {{"S0P,A," + std::string(40, '1'), 1}}, "1000000000000000"},
  };
  for (const auto& c : cases) {
    AcsReplyParser p;
    for (const Step& s : c.steps) EXPECT_EQ(Take(p, s.text).contact, s.contact) << c.what;
    std::string states;
    for (const int32_t s : p.ContactStates()) states += static_cast<char>('0' + s);
    EXPECT_EQ(states, c.states) << c.what;
  }
}

TEST(AcsReplyParserTest, TextAroundReports) {
  AcsReplyParser p;
  const AcsReplyParser::Result r = Take(p, "xy" + Contacts("0010000000000000") + "tail");
  EXPECT_EQ(r.received, "xy" + Contacts("0010000000000000") + "tail");
  EXPECT_EQ(r.afterContacts, "tail");
  EXPECT_EQ(p.Text(), "tail");

  AcsReplyParser noise;
  Take(noise, std::string(100, 'a'));
  Take(noise, std::string(50, 'b'));
  EXPECT_EQ(noise.Text(), std::string(70, 'a') + std::string(50, 'b'));
}

TEST(AcsReplyParserTest, ChannelReports) {
  const struct {
    std::string text;
    int32_t channel;
  } cases[] = {
      {Channels("00100000"), 3}, {Channels("10000000"), 1},
      {Channels("00000001"), 8}, {Channels("01100000"), 0},  // two live channels: none taken
      {Channels("00000000"), 0}, {"S0L1,0,0,1", 0},          // not whole yet
  };
  for (const auto& c : cases) {
    AcsReplyParser p;
    const AcsReplyParser::Result r = Take(p, c.text);
    EXPECT_EQ(r.channel, c.channel) << c.text;
    if (c.text.size() >= 40) {
      EXPECT_EQ(r.beforeChannel, c.text);
      EXPECT_EQ(p.Text(), c.text.substr(40));  // consumed either way
    }
  }
}

}  // namespace
}  // namespace devices
