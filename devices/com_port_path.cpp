#include "devices/com_port_path.h"

#include <cstdlib>

#include "platform/ascii_text.h"

namespace devices {

namespace {

// Port numbers the settings dialog and the names allow.
constexpr int kMaxComNumber = 99;

}  // namespace

std::string ComPathVariable(int n) { return "ONDRAKE_COM" + std::to_string(n); }

std::string ComDevicePath(const std::string& comPort) {
  if (!comPort.empty() && comPort[0] == '/') return comPort;
  const std::string name = platform::LowerAscii(comPort);
  if (name.size() < 4 || name.size() > 5 || name.compare(0, 3, "com") != 0) return "";
  int n = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return "";
    n = n * 10 + (name[i] - '0');
  }
  if (n < 1 || n > kMaxComNumber || name[3] == '0') return "";
  if (const char* moved = std::getenv(ComPathVariable(n).c_str()); moved && moved[0] != '\0')
    return moved;
  return "/dev/ttyS" + std::to_string(n - 1);
}

}  // namespace devices
