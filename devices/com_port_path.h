#pragma once

#include <string>

namespace devices {

// The device a port name from the settings opens. "Com<n>" (any letter case, n 1..99) is
// /dev/ttyS<n-1> unless the environment variable ONDRAKE_COM<n> names another device (a USB
// adapter, or a pseudo-terminal in tests). A name that begins with '/' is taken as the path
// itself. Anything else names no device: "".
std::string ComDevicePath(const std::string& comPort);

// The environment variable that moves "Com<n>" elsewhere, e.g. "ONDRAKE_COM2".
std::string ComPathVariable(int n);

}  // namespace devices
