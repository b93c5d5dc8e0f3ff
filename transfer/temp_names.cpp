#include "transfer/temp_names.h"

#include <cstdio>
#include <mutex>
#include <random>

namespace transfer {

std::string TempFileName(int32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "~tmp%04d.tmp", static_cast<int>(number % 10000));
  return text;
}

int32_t NextTempNumber() {
  static std::mutex mutex;
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int32_t> draw(0, 9999);
  std::lock_guard<std::mutex> lock(mutex);
  return draw(generator);
}

bool IsTempFileName(std::string_view name) {
  return name.size() == 12 && name.substr(0, 4) == "~tmp" && name.substr(8) == ".tmp";
}

}  // namespace transfer
