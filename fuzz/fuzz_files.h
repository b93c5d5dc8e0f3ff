// A folder of its own for each fuzzing process, for the readers that take only a path: made on
// first use under TMPDIR (else in memory, /dev/shm, where a file write's fsync costs nothing;
// else /tmp) and removed when the process ends normally. Any failure to set it up aborts, so it
// cannot pass for a finding of the code under test.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzfiles {

class ScratchFolder {
 public:
  ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp != nullptr && *tmp != '\0'    ? tmp
                       : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                         : "/tmp";
    std::string pattern = base + "/ondrake-fuzz.XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern + "/";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The folder, with a trailing '/'.
inline const std::string& Folder() {
  static const ScratchFolder folder;
  return folder.path();
}

// A sub-folder of it, made when missing, with a trailing '/'.
inline std::string SubFolder(const std::string& name) {
  const std::string path = Folder() + name + "/";
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error) std::abort();
  return path;
}

// Replaces the file's content; readOnly clears its write bits afterwards (the readers take a
// file without its owner write bit as read-only, for root too).
inline void WriteFile(const std::string& path, std::string_view bytes, bool readOnly = false) {
  ::chmod(path.c_str(), 0644);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
  }
  if (::chmod(path.c_str(), readOnly ? 0444 : 0644) != 0) std::abort();
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The input cut at every occurrence of `separator` (at most `maxParts` pieces; the last piece
// keeps the rest).
inline std::vector<std::string_view> Split(std::string_view input, std::string_view separator,
                                           size_t maxParts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < maxParts) {
    const size_t at = input.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + separator.size());
  }
  parts.push_back(input);
  return parts;
}

}  // namespace fuzzfiles
