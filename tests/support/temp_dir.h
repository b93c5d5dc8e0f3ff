#pragma once

#include <string>

namespace testsupport {

// A fresh folder under $TMPDIR, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder path, without a trailing '/'.
  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string Sub(const std::string& name) const;
  // Writes bytes to path()/name, creating missing folders; returns the full path.
  std::string WriteFile(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// Whole contents of a file, or "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace testsupport
