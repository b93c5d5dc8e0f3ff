#pragma once

#include <string>

namespace platform {

// Anything that measures the drawn width of a text (a drawing surface), in its own units.
class TextWidthSource {
 public:
  virtual ~TextWidthSource() = default;
  virtual double TextWidth(const std::string& utf8) const = 0;
};

}  // namespace platform
