#include "audio/wave_device_names.h"

#include "foundation/text_fields.h"

namespace audio {
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
  if (foundation::CharCount(name) <= 4) return;
  for (char n = '1'; n <= '4'; ++n) {
    const std::string numbering = std::string(1, n) + "- ";
    if (name.compare(0, numbering.size(), numbering) == 0) RemoveAll(name, numbering);
  }
  name = foundation::TrimBlanks(name);
}

}  // namespace

int32_t DeviceNameMatches(const std::string& a, const std::string& b) {
  std::string x = foundation::LowerAscii(a);
  std::string y = foundation::LowerAscii(b);
  DropNumberingInParentheses(x);
  DropNumberingInParentheses(y);
  if (x == y) return 1;
  DropLeadingNumbering(x);
  DropLeadingNumbering(y);
  return x == y ? 1 : 0;
}

}  // namespace audio
