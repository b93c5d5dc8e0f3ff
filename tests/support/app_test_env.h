#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "foundation/app_globals.h"
#include "foundation/paths.h"
#include "foundation/window_placement.h"
#include "tests/support/app_globals_reset.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

// A fresh program state for one test: the process-wide values back at their start, the program
// folder and the user registry in temporary folders of their own. Everything is put back when
// the object goes.
class AppTestEnv {
 public:
  AppTestEnv() {
    testsupport::ResetAppGlobals();
    foundation::Globals().ProgramFolderOverride = foundation::SetTrailingSeparator(dir_.Sub("bin"));
    dir_.WriteFile("bin/.keep", "");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    hadConfig_ = old != nullptr;
    if (old) oldConfig_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.Sub("config").c_str(), 1);
  }
  ~AppTestEnv() {
    testsupport::ResetAppGlobals();
    foundation::SetMonitorProvider({});
    if (hadConfig_) {
      ::setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
  }
  AppTestEnv(const AppTestEnv&) = delete;
  AppTestEnv& operator=(const AppTestEnv&) = delete;

  const TempDir& dir() const { return dir_; }
  // The program folder, with a trailing '/'.
  std::string programFolder() const { return dir_.Sub("bin") + "/"; }

 private:
  TempDir dir_;
  bool hadConfig_ = false;
  std::string oldConfig_;
};

// A window whose placement is plain numbers, in twips.
struct FakeForm : foundation::PlacementForm {
  FakeForm() = default;
  FakeForm(double l, double t, double w = 0, double h = 0) : left(l), top(t), width(w), height(h) {}
  double Left() const override { return left; }
  double Top() const override { return top; }
  double Width() const override { return width; }
  double Height() const override { return height; }
  int16_t WindowState() const override { return state; }
  void SetLeft(double v) override { left = v; }
  void SetTop(double v) override { top = v; }
  void SetWidth(double v) override { width = v; }
  void SetHeight(double v) override { height = v; }
  void SetWindowState(int16_t v) override { state = v; }

  double left = 0, top = 0, width = 0, height = 0;
  int16_t state = kNormal;
};

// True when something (a dangling link included) is at the path.
inline bool PathExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

inline bool IsFolder(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace testsupport
