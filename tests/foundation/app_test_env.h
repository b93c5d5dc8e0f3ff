#pragma once

#include <cstdlib>
#include <string>

#include "foundation/app_globals.h"
#include "foundation/window_placement.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

// A fresh program state for one test: the process-wide values back at their start, the program
// folder and the user registry in temporary folders of their own. Everything is put back when
// the object goes.
class AppTestEnv {
 public:
  AppTestEnv() {
    foundation::ResetGlobalsForTest();
    foundation::SetProgramFolderForTest(dir_.Sub("bin"));
    dir_.WriteFile("bin/.keep", "");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    hadConfig_ = old != nullptr;
    if (old) oldConfig_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.Sub("config").c_str(), 1);
  }
  ~AppTestEnv() {
    foundation::ResetGlobalsForTest();
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
  // The user registry's base folder.
  std::string configFolder() const { return dir_.Sub("config"); }

 private:
  TempDir dir_;
  bool hadConfig_ = false;
  std::string oldConfig_;
};

}  // namespace testsupport
