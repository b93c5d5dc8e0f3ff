#include "foundation/setting_value.h"

#include <charconv>
#include <cmath>

#include "foundation/conversions.h"
#include "platform/ascii_text.h"

namespace foundation {

namespace {

template <typename T>
std::string ShortestText(T number) {
  // A negative zero would read back as zero anyway; "-0" only confuses people.
  if (number == 0) return "0";
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, number);
  if (result.ec != std::errc()) return "0";
  return std::string(buf, result.ptr);
}

// "&H" hex as a 32-bit pattern: up to 8 hex digits.
std::optional<double> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) return std::nullopt;
  return static_cast<double>(static_cast<int32_t>(value));
}

}  // namespace

std::string SettingValue::Text() const {
  switch (kind_) {
    case Kind::kEmpty:
      return "";
    case Kind::kText:
      return text_;
    case Kind::kInteger:
      return std::to_string(integer_);
    case Kind::kSingle:
      return ShortestText(static_cast<float>(real_));
    case Kind::kReal:
      return ShortestText(real_);
  }
  return "";
}

std::optional<double> ParseSettingNumber(std::string_view text) {
  text = platform::TrimWhiteSpace(text);
  if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h'))
    return ParseHex(text.substr(2));
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  // from_chars would take a second sign, "inf" and "nan"; a stored number starts with a digit
  // or the decimal point.
  if (text.empty() || !((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<int32_t> ParseSettingInt(std::string_view text) {
  const std::optional<double> number = ParseSettingNumber(text);
  if (!number) return std::nullopt;
  return NearestInt32(*number);
}

}  // namespace foundation
