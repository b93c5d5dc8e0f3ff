#pragma once

#include <string>

namespace transfer {

// Native paths as the engine builds them from a folder and the names it lists.

// folder + "/" + name, without doubling a trailing '/'.
inline std::string JoinNative(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The folder part of a native path ("/" for a file in the root); "" when it names none.
inline std::string NativeFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The name part of a native path.
inline std::string NativeNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace transfer
