#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace lists {

// One cell or auxiliary value of a list row: empty, a whole number, a real number or a text (the
// windows store texts and whole numbers). Values are copied in and out; nothing refers into a
// row.
class ListValue {
 public:
  ListValue() = default;
  ListValue(std::string text) : value_(std::move(text)) {}
  ListValue(const char* text) : value_(std::string(text != nullptr ? text : "")) {}
  ListValue(std::string_view text) : value_(std::string(text)) {}
  template <std::integral T>
  requires(!std::same_as<T, bool>) ListValue(T number) : value_(static_cast<int64_t>(number)) {}
  ListValue(double number) : value_(number) {}
  // A flag has no agreed cell form; callers store 1 or 0.
  ListValue(bool) = delete;

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  bool IsText() const { return std::holds_alternative<std::string>(value_); }
  bool IsNumber() const { return !IsEmpty() && !IsText(); }

  // The text shown in a cell: a text as it is, a whole number in decimal, a real number in its
  // shortest form that reads back exactly ('.' as the decimal point), empty as "".
  std::string Text() const;
  // The value as a number: numbers as they are, a text that reads as a number (blanks around
  // it allowed, "&H" hex too); nothing for empty and for any other text.
  std::optional<double> Number() const;

  bool operator==(const ListValue& other) const = default;

 private:
  std::variant<std::monostate, int64_t, double, std::string> value_;
};

}  // namespace lists
