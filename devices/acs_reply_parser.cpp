#include "devices/acs_reply_parser.h"

namespace devices {

namespace {

constexpr char kContactHeader[] = "S0P,A,";
constexpr char kChannelHeader[] = "S0L1,";
// Characters from a header's first one to a report's last, as the box sends them.
constexpr size_t kContactRecord = 37;  // "S0P,A," + 16 digits with their commas
constexpr size_t kChannelRecord = 40;  // "S0L1," + the channel digits and what follows
// The channel digits looked at: nine counted, eight walked for the number.
constexpr size_t kChannelCountEnd = 23;
constexpr size_t kChannelWalkEnd = 20;
constexpr size_t kKeptChars = 120;

}  // namespace

AcsReplyParser::Result AcsReplyParser::Take(std::span<const uint8_t> bytes) {
  Result r;
  for (const uint8_t b : bytes) {
    if (b != 13 && b != 10) text_.push_back(static_cast<char>(b));
  }
  r.received = text_;
  TakeContacts(r);
  TakeChannel(r);
  if (text_.size() > kKeptChars) text_ = text_.substr(text_.size() - kKeptChars);
  return r;
}

void AcsReplyParser::TakeContacts(Result& r) {
  const size_t p = text_.find(kContactHeader);
  if (p == std::string::npos || text_.size() < p + kContactRecord) return;
  // From the header's last comma to the sixteenth digit; a box that sends more digits than
  // there are inputs has the rest ignored.
  std::array<int32_t, kContacts> reported{};
  size_t count = 0;
  for (size_t i = p + 5; i < p + kContactRecord && count < kContacts; ++i) {
    if (text_[i] == '0' || text_[i] == '1') reported[count++] = text_[i] - '0';
  }
  text_ = text_.substr(p + kContactRecord);
  r.afterContacts = text_;
  for (size_t k = 0; k < kContacts; ++k) {
    if (reported[k] == states_[k]) continue;
    states_[k] = reported[k];
    // The lowest rising input is the one reported; the ones above it keep their old state
    // and rise with the next report that still shows them.
    if (reported[k] == 1) {
      r.contact = static_cast<int32_t>(k) + 1;
      return;
    }
  }
}

void AcsReplyParser::TakeChannel(Result& r) {
  const size_t p = text_.find(kChannelHeader);
  if (p == std::string::npos || text_.size() < p + kChannelRecord) return;
  int32_t ones = 0;
  for (size_t i = p + 5; i < p + kChannelCountEnd && text_[i] != 'S'; ++i) {
    if (text_[i] == '1') ++ones;
  }
  if (ones == 1) {
    int32_t number = 0;
    for (size_t i = p + 5; i < p + kChannelWalkEnd && text_[i] != 'S'; ++i) {
      if (text_[i] != '0' && text_[i] != '1') continue;
      ++number;
      if (text_[i] == '1') {
        r.channel = number;
        break;
      }
    }
  }
  r.beforeChannel = text_;
  text_ = text_.substr(p + kChannelRecord);
}

}  // namespace devices
