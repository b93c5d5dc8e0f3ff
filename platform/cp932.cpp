#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>

#include "platform/utf8.h"

namespace platform {

namespace {

// One converter per direction and thread; iconv_open is costly and iconv_t is not shareable.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in`; at each input position iconv refuses, `skip(in)` says how many input bytes
  // to drop and a '?' is written in their place.
  template <typename Skip>
  std::string Run(std::string_view in, Skip skip) {
    std::string out;
    if (!ok()) return out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[1024];
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ (no mapping / invalid input) or EINVAL (incomplete sequence at the end).
      size_t n = skip(std::string_view(src, srcLeft));
      if (n == 0 || n > srcLeft) n = 1;
      src += n;
      srcLeft -= n;
      out.push_back('?');
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsCp932TrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

size_t Cp932CharLength(std::string_view cp932, size_t i) {
  if (i >= cp932.size()) return 0;
  if (i + 1 < cp932.size() && IsCp932LeadByte(static_cast<unsigned char>(cp932[i])) &&
      IsCp932TrailByte(static_cast<unsigned char>(cp932[i + 1])))
    return 2;
  return 1;
}

std::string Utf8ToCp932(std::string_view utf8) {
  thread_local Converter conv("CP932", "UTF-8");
  // One '?' for each character the code page lacks, however many bytes it takes.
  return conv.Run(utf8, [](std::string_view rest) { return Utf8CharLength(rest, 0); });
}

std::string Cp932ToUtf8(std::string_view cp932) {
  thread_local Converter conv("UTF-8", "CP932");
  // iconv stops at the first byte of a character it cannot decode; the whole character goes.
  return conv.Run(cp932, [](std::string_view rest) { return Cp932CharLength(rest, 0); });
}

size_t Cp932SafePrefixLength(std::string_view cp932, size_t maxBytes) {
  size_t i = 0;
  const size_t limit = maxBytes < cp932.size() ? maxBytes : cp932.size();
  while (i < limit) {
    const bool cutLead =
        i + 1 == cp932.size() && IsCp932LeadByte(static_cast<unsigned char>(cp932[i]));
    const size_t step = cutLead ? 2 : Cp932CharLength(cp932, i);
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

}  // namespace platform
