#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace devices {

// The replies of an ACS8.2 switcher, gathered across polls: contact reports
// "S0P,A," + 16 digits 0/1 separated by "," (inputs 1..16), and channel reports "S0L1," +
// digits 0/1 separated by "," of which exactly one "1" names the live channel. Carriage
// returns and line feeds are dropped; a report cut between two polls is read once the rest
// has come; text no report takes is kept to its last 120 characters. One parser per link.
class AcsReplyParser {
 public:
  static constexpr size_t kContacts = 16;

  struct Result {
    std::string received;  // the gathered text once this poll's bytes were added
    // The lowest contact (1..16) that rose in a contact report, 0 for none; with the text
    // left after the report.
    int32_t contact = 0;
    std::string afterContacts;
    // The live channel (from 1) a channel report names, 0 when it names none or several;
    // with the gathered text as it stood before the report was taken.
    int32_t channel = 0;
    std::string beforeChannel;
  };

  Result Take(std::span<const uint8_t> bytes);

  // ComRecvText: the text gathered so far. ComRecvAux: the last states reported.
  const std::string& Text() const { return text_; }
  const std::array<int32_t, kContacts>& ContactStates() const { return states_; }

 private:
  void TakeContacts(Result& r);
  void TakeChannel(Result& r);

  std::string text_;
  std::array<int32_t, kContacts> states_{};
};

}  // namespace devices
