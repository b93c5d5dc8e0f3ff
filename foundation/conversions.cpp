#include "foundation/conversions.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/ascii_text.h"
#include "platform/cp932.h"

namespace foundation {

double DbToGain(double dB) {
  if (std::isnan(dB) || dB <= -110.0) return 0.0;
  const double gain = std::pow(10.0, dB / 20.0);
  // An overflowing power is no gain anyone can apply.
  return std::isfinite(gain) ? gain : 0.0;
}

std::optional<int32_t> NearestInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);
  if (rounded < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<int32_t>(rounded);
}

int32_t NearestInt32Saturated(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int32_t>(std::clamp(std::nearbyint(value),
                                         static_cast<double>(std::numeric_limits<int32_t>::min()),
                                         static_cast<double>(std::numeric_limits<int32_t>::max())));
}

int32_t CurToLong(double value) {
  if (std::isnan(value)) return 0;
  const double whole = std::floor(value);
  if (whole < 0.0) return 0;
  if (whole > 4294967295.0) return -1;
  if (whole > 2147483647.0) return static_cast<int32_t>(static_cast<int64_t>(whole) - 4294967296LL);
  return static_cast<int32_t>(whole);
}

int64_t ULongToCur(int32_t word) {
  return word < 0 ? static_cast<int64_t>(word) + 4294967296LL : word;
}

int32_t IsOddNumber(double value) {
  if (!std::isfinite(value)) return 0;
  // fmod is exact, so the last digit of the whole part is right at any magnitude.
  const double lastDigit = std::fabs(std::fmod(std::trunc(value), 10.0));
  return static_cast<int32_t>(lastDigit) % 2;
}

int32_t IsOddNumber(int64_t value) { return value % 2 != 0 ? 1 : 0; }

int32_t ClampByte(int32_t value) { return std::clamp(value, 0, 255); }

int32_t StringToBytes(const std::string& text, std::vector<uint8_t>& bytes) {
  const std::string ansi = platform::Utf8ToCp932(platform::TrimBlanks(text));
  // A double-byte character that does not fit whole is not started: half of it would read
  // back as a different character.
  const size_t written = platform::Cp932SafePrefixLength(ansi, bytes.size());
  std::copy_n(ansi.begin(), written, bytes.begin());
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(written), bytes.end(), uint8_t{0});
  return static_cast<int32_t>(
      std::min<size_t>(ansi.size(), static_cast<size_t>(std::numeric_limits<int32_t>::max())));
}

std::string BytesToString(const std::vector<uint8_t>& bytes, int32_t lastIndex, int32_t termMode,
                          int32_t startIndex) {
  if (startIndex < 0 || lastIndex < 0 || bytes.empty()) return "";
  const size_t start = static_cast<size_t>(startIndex);
  const size_t end = std::min(static_cast<size_t>(lastIndex), bytes.size() - 1);  // inclusive
  if (start > end) return "";

  const int terminator = termMode == -1 ? -1 : termMode == 1 || termMode == 2 ? '\r' : '\0';
  const std::string_view range(reinterpret_cast<const char*>(bytes.data()) + start,
                               end - start + 1);
  // The text ends at the terminator, found on character boundaries (a terminator is never a
  // trail byte, so a stray lead byte before it does not hide it).
  size_t length = 0;
  for (; length < range.size(); length += platform::Cp932CharLength(range, length)) {
    const auto b = static_cast<unsigned char>(range[length]);
    const bool last = length + 1 == range.size();
    // With CR LF only a CR before LF (or one at the end of the range) ends the text; a lone CR
    // inside the range is kept as a character.
    if (b == terminator && (termMode != 2 || last || range[length + 1] == '\n')) break;
    // A lead byte before a NUL stands alone and ends the text, as in a NUL-terminated string.
    if (platform::IsCp932LeadByte(b) && !last && range[length + 1] == '\0') {
      ++length;
      break;
    }
  }
  return platform::Cp932ToUtf8(range.substr(0, length));
}

}  // namespace foundation
