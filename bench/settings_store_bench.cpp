// LoadSettingValue calls per second on a settings file of 200 keys, the way start-up and the
// settings dialog read them: every call resolves the store and reads the file afresh.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/app_globals.h"
#include "foundation/settings_store.h"

namespace {

constexpr int kKeys = 200;

class SettingsFile {
 public:
  SettingsFile() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "settings_bench.XXXXXX").string();
    if (::mkdtemp(tmpl.data())) folder_ = tmpl;
    path_ = folder_ + "/Ondrake.ini";
    std::ofstream out(path_, std::ios::binary);
    out << "[conf]\r\n";
    for (int i = 1; i <= kKeys; ++i)
      out << "Setting_" << i << "=" << (i % 3 == 0 ? "C:\\Tarnwick\\sched\\" : "") << i * 37
          << "\r\n";
  }
  ~SettingsFile() {
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
};

void BM_LoadSettingValue(benchmark::State& state) {
  SettingsFile file;
  foundation::Globals().IniPath = file.path();
  int key = 0;
  for (auto _ : state) {
    const std::string name = "Setting_" + std::to_string(key % kKeys + 1);
    benchmark::DoNotOptimize(foundation::LoadSettingValue(name, 0));
    ++key;
  }
  state.SetItemsProcessed(state.iterations());
  foundation::Globals().IniPath.clear();
}
BENCHMARK(BM_LoadSettingValue);

void BM_LoadSettingInt(benchmark::State& state) {
  SettingsFile file;
  foundation::Globals().IniPath = file.path();
  int key = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        foundation::LoadSettingInt("Setting_" + std::to_string(key % kKeys + 1), 0));
    ++key;
  }
  state.SetItemsProcessed(state.iterations());
  foundation::Globals().IniPath.clear();
}
BENCHMARK(BM_LoadSettingInt);

}  // namespace
