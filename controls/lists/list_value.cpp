#include "controls/lists/list_value.h"

#include "foundation/setting_value.h"

namespace lists {

std::string ListValue::Text() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  if (const auto* whole = std::get_if<int64_t>(&value_)) return std::to_string(*whole);
  if (const auto* real = std::get_if<double>(&value_))
    return foundation::SettingValue(*real).Text();
  return std::string();
}

std::optional<double> ListValue::Number() const {
  if (const auto* whole = std::get_if<int64_t>(&value_)) return static_cast<double>(*whole);
  if (const auto* real = std::get_if<double>(&value_)) return *real;
  if (const auto* text = std::get_if<std::string>(&value_)) {
    return foundation::ParseSettingNumber(*text);
  }
  return std::nullopt;
}

}  // namespace lists
