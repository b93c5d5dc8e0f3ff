#include "devices/serial_line_speed.h"

#include <asm/termbits.h>
#include <errno.h>
#include <sys/ioctl.h>

namespace devices {

int SetLineSpeed(int fd, int32_t baud) {
  if (baud <= 0) return EINVAL;
  struct termios2 tio {};
  if (::ioctl(fd, TCGETS2, &tio) != 0) return errno;
  tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  tio.c_ospeed = static_cast<speed_t>(baud);
  tio.c_ispeed = static_cast<speed_t>(baud);
  return ::ioctl(fd, TCSETS2, &tio) == 0 ? 0 : errno;
}

int32_t ReadLineSpeed(int fd) {
  struct termios2 tio {};
  if (::ioctl(fd, TCGETS2, &tio) != 0) return -1;
  return static_cast<int32_t>(tio.c_ospeed);
}

}  // namespace devices
