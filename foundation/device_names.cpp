#include "foundation/device_names.h"

#include <charconv>

#include "foundation/text_fields.h"
#include "platform/ascii_text.h"

namespace foundation {
namespace {

void RemoveAll(std::string& text, const std::string& what) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
    text.erase(at, what.size());
  }
}

// "(2- USB Audio Device)" -> "(USB Audio Device)".
void DropNumberingInParentheses(std::string& name) {
  for (char n = '1'; n <= '4'; ++n) {
    const std::string numbering = std::string(1, n) + "- ";
    if (name.find("(" + numbering) != std::string::npos) RemoveAll(name, numbering);
  }
}

// "1- Line Out" -> "Line Out".
void DropLeadingNumbering(std::string& name) {
  if (CharCount(name) <= 4) return;
  for (char n = '1'; n <= '4'; ++n) {
    const std::string numbering = std::string(1, n) + "- ";
    if (name.compare(0, numbering.size(), numbering) == 0) RemoveAll(name, numbering);
  }
  name = std::string(platform::TrimBlanks(name));
}

// Lower-cased and trimmed, as device names are compared.
std::string Normalised(const std::string& name) {
  return platform::LowerAscii(platform::TrimBlanks(name));
}

// A whole number with an optional sign that fits 32 bits.
bool ParseDeviceNumber(const std::string& text, int32_t& number) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  if (first == last) return false;
  const auto [end, error] = std::from_chars(first, last, number);
  return error == std::errc() && end == last;
}

}  // namespace

int32_t DeviceNameMatches(const std::string& a, const std::string& b) {
  std::string x = platform::LowerAscii(a);
  std::string y = platform::LowerAscii(b);
  DropNumberingInParentheses(x);
  DropNumberingInParentheses(y);
  if (x == y) return 1;
  DropLeadingNumbering(x);
  DropLeadingNumbering(y);
  return x == y ? 1 : 0;
}

int32_t FindDeviceNameInList(const std::vector<std::string>& names, const std::string& wanted) {
  const std::string name = Normalised(wanted);
  if (name.empty()) return -1;
  for (size_t i = 0; i < names.size(); ++i) {
    if (Normalised(names[i]) == name) return static_cast<int32_t>(i);
  }
  for (size_t i = 0; i < names.size(); ++i) {
    if (DeviceNameMatches(Normalised(names[i]), name) == 1) return static_cast<int32_t>(i);
  }
  return -1;
}

std::optional<int32_t> DeviceNumberForName(const std::vector<std::string>& names,
                                           const std::string& wanted) {
  const std::string name = Normalised(wanted);
  if (name.empty()) return 0;
  int32_t number = 0;
  if (ParseDeviceNumber(name, number)) return number;
  if (names.empty()) return 0;
  const int32_t index = FindDeviceNameInList(names, name);
  if (index < 0) return std::nullopt;
  return index;
}

}  // namespace foundation
