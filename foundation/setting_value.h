#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace foundation {

// A value handed to the settings store: empty, a text or a number. The store keeps only texts,
// so everything that goes in is turned into its text form first: a text as it is, an integer
// in decimal without decimals, any other number in its shortest form that reads back exactly,
// always with '.' as the decimal point whatever the locale (settings files move between
// machines). Empty gives "".
class SettingValue {
 public:
  SettingValue() = default;
  SettingValue(std::string text) : kind_(Kind::kText), text_(std::move(text)) {}
  SettingValue(const char* text) : kind_(Kind::kText), text_(text ? text : "") {}
  SettingValue(std::string_view text) : kind_(Kind::kText), text_(text) {}
  template <std::integral T>
  requires(!std::same_as<T, bool>) SettingValue(T number)
      : kind_(Kind::kInteger), integer_(static_cast<int64_t>(number)) {}
  // Single-precision values (window positions) print as the float they are, not as the
  // double they widen to.
  SettingValue(float number) : kind_(Kind::kSingle), real_(number) {}
  SettingValue(double number) : kind_(Kind::kReal), real_(number) {}
  // A flag has no agreed text form here; callers store 1 or 0.
  SettingValue(bool) = delete;

  bool IsEmpty() const { return kind_ == Kind::kEmpty; }
  bool IsText() const { return kind_ == Kind::kText; }
  bool IsNumber() const { return kind_ != Kind::kEmpty && kind_ != Kind::kText; }

  // The text form described above.
  std::string Text() const;

 private:
  enum class Kind { kEmpty, kText, kInteger, kSingle, kReal };
  Kind kind_ = Kind::kEmpty;
  std::string text_;
  int64_t integer_ = 0;
  double real_ = 0;
};

// A number in '.'-decimal form (the form the store writes): surrounding blanks ignored, an
// optional sign, digits with an optional fraction and exponent, or "&H" followed by hex digits
// (a 32-bit pattern, so "&HFFFFFFFF" is -1). nullopt for anything else, including an empty text,
// trailing junk, infinities and NaN. Never depends on the locale.
std::optional<double> ParseSettingNumber(std::string_view text);

// The number as a 32-bit integer, rounded to the nearest whole number (halves to even);
// nullopt when it does not parse or lies outside the 32-bit range.
std::optional<int32_t> ParseSettingInt(std::string_view text);

}  // namespace foundation
