#include "foundation/text_fields.h"

#include "platform/utf8.h"

namespace foundation {

namespace {

// Bytes of the character that starts at `pos` (pos < text.size()): the length of a well-formed
// UTF-8 sequence, or 1 for a byte that does not start one.
size_t CharLengthAt(const std::string& text, size_t pos) {
  return platform::Utf8CharLength(text, pos);
}

// Appends the quote-aware scan's field to `fields` and starts a new one.
void EndField(std::vector<std::string>& fields, std::string& field) {
  fields.push_back(std::move(field));
  field.clear();
}

int32_t SplitQuoted(std::vector<std::string>& fields, const std::string& line) {
  std::string field;
  bool inQuotes = false;
  const size_t last = line.size() - 1;
  // ASCII '"' and ',' never occur inside a multibyte UTF-8 sequence, so a byte scan keeps every
  // character whole.
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    const bool isLast = i == last;
    bool ends = isLast;
    if (c == '"') {
      if (!inQuotes) {
        if (field.empty()) inQuotes = true;
      } else if (isLast || line[i + 1] == ',') {
        inQuotes = false;
      }
    } else if (c == ',') {
      if (!inQuotes) ends = true;
    } else {
      field.push_back(c);
    }
    if (ends) EndField(fields, field);
  }
  return static_cast<int32_t>(fields.size());
}

int32_t SplitPlain(std::vector<std::string>& fields, const std::string& line,
                   const std::string& separator) {
  size_t start = 0;
  while (true) {
    const size_t at = line.find(separator, start);
    if (at == std::string::npos) {
      fields.push_back(line.substr(start));
      break;
    }
    fields.push_back(line.substr(start, at - start));
    start = at + separator.size();
  }
  return static_cast<int32_t>(fields.size());
}

}  // namespace

size_t CharCount(const std::string& utf8) {
  size_t count = 0;
  for (size_t pos = 0; pos < utf8.size(); pos += CharLengthAt(utf8, pos)) ++count;
  return count;
}

size_t CharOffset(const std::string& utf8, size_t n) {
  size_t pos = 0;
  for (size_t i = 0; i < n && pos < utf8.size(); ++i) pos += CharLengthAt(utf8, pos);
  return pos;
}

std::string CleanTextField(const std::string& text) {
  static const std::string kRightDoubleQuote = "\xE2\x80\x9D";
  static const std::string kFullWidthComma = "\xEF\xBC\x8C";
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const size_t len = CharLengthAt(text, pos);
    const char c = text[pos];
    if (len == 1) {
      switch (c) {
        case '\r':
        case '\n':
        case '\0':
        case '\t':
        case '\b':
          break;
        case '"':
          out += kRightDoubleQuote;
          break;
        case ',':
          out.push_back('.');
          break;
        default:
          out.push_back(c);
      }
    } else if (text.compare(pos, len, kFullWidthComma) == 0) {
      out.push_back('.');
    } else {
      out.append(text, pos, len);
    }
    pos += len;
  }
  return out;
}

int32_t SplitCsvLine(std::vector<std::string>& fields, const std::string& line,
                     const std::string& separator, int32_t quoteMode) {
  fields.clear();
  if (line.empty() || separator.empty()) return 0;
  if (separator == "," && quoteMode == 1) return SplitQuoted(fields, line);
  return SplitPlain(fields, line, separator);
}

std::string TrimNulls(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string FitTextToWidth(const std::string& text, const platform::TextWidthSource& surface,
                           double width, bool fromRight) {
  const size_t count = CharCount(text);
  if (count < 2 || surface.TextWidth(text) <= width) return text;
  // The first (or last) n characters of the text.
  auto part = [&](size_t n) {
    return fromRight ? text.substr(CharOffset(text, count - n))
                     : text.substr(0, CharOffset(text, n));
  };
  for (size_t n = 2; n <= count; ++n) {
    if (surface.TextWidth(part(n)) > width) return part(n - 1);
  }
  return text;
}

}  // namespace foundation
