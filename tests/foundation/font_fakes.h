#pragma once

#include <vector>

#include "foundation/app_globals.h"
#include "foundation/font_table.h"
#include "tests/support/app_globals_reset.h"

namespace testsupport {

// Hands out handles 100, 101, ... and remembers every request; fails on demand.
struct FakeFontFactory : foundation::FontFactory {
  int32_t CreateFont(const foundation::FontRequest& request) override {
    requests.push_back(request);
    if (failNext > 0) {
      --failNext;
      return 0;
    }
    return next++;
  }
  void DeleteFont(int32_t handle) override { deleted.push_back(handle); }

  int32_t next = 100;
  int failNext = 0;
  std::vector<foundation::FontRequest> requests;
  std::vector<int32_t> deleted;
};

struct FakeFontWindow : foundation::FontWindow {
  void SetWindowFont(int32_t handle) override { fonts.push_back(handle); }
  std::vector<int32_t> fonts;
};

// Fresh program values and an empty font table made through `factory`; all put back after.
struct FontTableScope {
  FontTableScope() {
    testsupport::ResetAppGlobals();
    foundation::ResetFontTableForTest();
    foundation::SetFontFactory(&factory);
  }
  ~FontTableScope() {
    foundation::ResetFontTableForTest();
    foundation::SetFontFactory(nullptr);
    testsupport::ResetAppGlobals();
  }
  FontTableScope(const FontTableScope&) = delete;
  FontTableScope& operator=(const FontTableScope&) = delete;

  FakeFontFactory factory;
};

}  // namespace testsupport
