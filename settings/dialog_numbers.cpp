#include "settings/dialog_numbers.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "foundation/setting_value.h"
#include "platform/ascii_text.h"

namespace settings {

namespace {

// The store's number reader also takes "&H" hex, which a typed number never is.
std::optional<double> DecimalNumber(const std::string& text) {
  const std::string_view trimmed = platform::TrimWhiteSpace(text);
  if (!trimmed.empty() && trimmed.front() == '&') return std::nullopt;
  return foundation::ParseSettingNumber(trimmed);
}

}  // namespace

std::optional<int32_t> DialogNumber(const std::string& text) {
  if (!DecimalNumber(text)) return std::nullopt;
  return foundation::ParseSettingInt(text);
}

std::optional<int32_t> DialogAbsNumber(const std::string& text) {
  const std::optional<int32_t> number = DialogNumber(text);
  if (!number || *number == std::numeric_limits<int32_t>::min()) return std::nullopt;
  return *number < 0 ? -*number : *number;
}

std::optional<std::string> SizeRateText(const std::string& text) {
  const std::optional<double> number = DecimalNumber(text);
  if (!number || std::fabs(*number) > std::numeric_limits<float>::max()) return std::nullopt;
  const float single = static_cast<float>(*number);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", static_cast<double>(single));
  const std::string written = buf;
  // A small negative rate would read "-0.0".
  return written == "-0.0" ? "0.0" : written;
}

}  // namespace settings
