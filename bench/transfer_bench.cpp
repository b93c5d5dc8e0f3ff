// The transfer engine against the system's own tools, one run each, side by side:
//  - TranspFile of a 1 GiB file (default pacing: 1 ms after every 8 MiB chunk, and unpaced)
//    against cp of the same file;
//  - MirrorFolder over 10,000 unchanged files against rsync -a --dry-run of the same trees
//    (skipped when rsync is not installed).
// Every copy starts with the source in the page cache and no dirty pages left by the one
// before. The files live in a temporary folder that is removed at the end.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "foundation/debug_log.h"
#include "platform/process_launcher.h"
#include "transfer/file_hand.h"

namespace {

constexpr int64_t kFileBytes = int64_t{1} << 30;
constexpr int kTreeFiles = 10000;

// The benchmark's folder with its fixtures, made on first use and removed at exit.
class Fixtures {
 public:
  static Fixtures& Get() {
    static Fixtures fixtures;
    return fixtures;
  }
  ~Fixtures() {
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
  }

  // A 1 GiB file of random bytes, read once so every copy starts from the page cache.
  const std::string& BigFile() {
    if (bigFile_.empty()) {
      bigFile_ = folder_ + "/big.wav";
      std::ofstream out(bigFile_, std::ios::binary);
      std::mt19937_64 random(42);
      std::vector<uint64_t> block((8u << 20) / sizeof(uint64_t));
      for (int64_t written = 0; written < kFileBytes; written += 8 << 20) {
        for (uint64_t& word : block) word = random();
        out.write(reinterpret_cast<const char*>(block.data()), 8 << 20);
      }
      out.close();
      // The first copy of a freshly written file is slow whoever makes it (the file system
      // settles its new extents); one untimed copy takes that out of the comparison.
      ::sync();
      platform::RunAndWait("cp", {bigFile_, bigFile_ + ".primer"}, -1);
      Settle(bigFile_ + ".primer");
    }
    Warm(bigFile_);
    return bigFile_;
  }

  // Two trees of kTreeFiles files in 100 folders, the target an unchanged mirror of the source.
  const std::string& Source() {
    if (source_.empty()) MakeTrees();
    return source_;
  }
  const std::string& Target() {
    if (target_.empty()) MakeTrees();
    return target_;
  }
  std::string Sub(const std::string& name) const { return folder_ + "/" + name; }

  // Removes a copy and writes back every dirty page, so the next copy does not pay for this.
  static void Settle(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    ::sync();
  }

 private:
  Fixtures() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "transfer_bench.XXXXXX").string();
    if (::mkdtemp(tmpl.data())) folder_ = tmpl;
  }

  static void Warm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(8 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
    }
  }

  void MakeTrees() {
    source_ = folder_ + "/src";
    target_ = folder_ + "/dst";
    for (int i = 0; i < kTreeFiles; ++i) {
      const std::string rel = "/d" + std::to_string(i % 100) + "/f" + std::to_string(i) + ".wav";
      std::filesystem::create_directories(std::filesystem::path(source_ + rel).parent_path());
      std::ofstream(source_ + rel, std::ios::binary) << std::string(100 + i % 900, 'x');
      // Last written an hour ago: old enough for every mirror rule.
      struct timespec times[2]{};
      times[0].tv_nsec = UTIME_OMIT;
      times[1].tv_sec = ::time(nullptr) - 3600;
      ::utimensat(AT_FDCWD, (source_ + rel).c_str(), times, 0);
    }
    std::filesystem::create_directories(target_);
    foundation::DebugLog log;
    transfer::FileHand hand(log);
    hand.MirrorFolder(source_, target_, 0);
  }

  std::string folder_;
  std::string bigFile_;
  std::string source_;
  std::string target_;
};

void TranspFile(benchmark::State& state, int32_t pInt) {
  Fixtures& fixtures = Fixtures::Get();
  const std::string& source = fixtures.BigFile();
  const std::string target = fixtures.Sub("transp.wav");
  Fixtures::Settle(target);
  foundation::DebugLog log;
  transfer::FileHand hand(log);
  for (auto _ : state) {
    if (hand.TranspFile(source, target, 1, 0, 0, pInt) != 1)
      state.SkipWithError(("TranspFile failed: " + hand.ErrorCodeText()).c_str());
  }
  state.SetBytesProcessed(state.iterations() * kFileBytes);
  Fixtures::Settle(target);
}

void BM_TranspFile_1GiB_DefaultPacing(benchmark::State& state) { TranspFile(state, 0); }
void BM_TranspFile_1GiB_Unpaced(benchmark::State& state) { TranspFile(state, -1); }

void BM_cp_1GiB(benchmark::State& state) {
  Fixtures& fixtures = Fixtures::Get();
  const std::string& source = fixtures.BigFile();
  const std::string target = fixtures.Sub("cp.wav");
  Fixtures::Settle(target);
  for (auto _ : state) {
    if (platform::RunAndWait("cp", {source, target}, -1) != 0) state.SkipWithError("cp failed");
  }
  state.SetBytesProcessed(state.iterations() * kFileBytes);
  Fixtures::Settle(target);
}

void BM_MirrorFolder_10000Unchanged(benchmark::State& state) {
  Fixtures& fixtures = Fixtures::Get();
  const std::string& source = fixtures.Source();
  const std::string& target = fixtures.Target();
  foundation::DebugLog log;
  transfer::FileHand hand(log);
  for (auto _ : state) {
    if (hand.MirrorFolder(source, target, 0) != 1) state.SkipWithError("MirrorFolder failed");
  }
  state.SetItemsProcessed(state.iterations() * kTreeFiles);
}

void BM_rsync_DryRun_10000Unchanged(benchmark::State& state) {
  if (platform::RunAndWait("rsync", {"--version"}, -1) != 0) {
    state.SkipWithError("rsync is not installed");
    for (auto _ : state) {
    }
    return;
  }
  Fixtures& fixtures = Fixtures::Get();
  const std::string source = fixtures.Source() + "/";
  const std::string& target = fixtures.Target();
  for (auto _ : state) {
    if (platform::RunAndWait("rsync", {"-a", "--dry-run", source, target}, -1) != 0)
      state.SkipWithError("rsync failed");
  }
  state.SetItemsProcessed(state.iterations() * kTreeFiles);
}

BENCHMARK(BM_cp_1GiB)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TranspFile_1GiB_DefaultPacing)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TranspFile_1GiB_Unpaced)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirrorFolder_10000Unchanged)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_rsync_DryRun_10000Unchanged)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
