#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "transfer/file_hand.h"
#include "transfer/transfer_file_system.h"

namespace transfertest {

// The calls of the transfer file system a fault can be put on.
enum class Call {
  kOpenRead,   // opening a source
  kOpenWrite,  // opening or claiming a target
  kCopyRead,   // the reading side of a chunk copy
  kCopyWrite,  // the writing side of a chunk copy
  kRead,       // a read of the comparison
  kSetTime,
  kClose,
  kStat,
  kList,
  kDelete,
  kRename,  // matched on the new name
};

// The real disk with chosen calls failing as a disk or a file server can fail on demand: an
// I/O error mid-file, a full disk, a file that vanished, a refused rename, a listing cut short.
class FaultyFileSystem : public transfer::PlatformTransferFileSystem {
  using Disk = transfer::PlatformTransferFileSystem;

 public:
  // From now on `call` on `path` fails with `err`. `path` "" means any path; one ending in '/'
  // means anything in that folder. Chunk copies fail once the file has moved `afterBytes`.
  void Fail(Call call, const std::string& path, int err, int64_t afterBytes = 0);
  // Forgets every fault and count.
  void Reset();
  // How often `call` was made (failed or not).
  int Count(Call call) const;

  int Open(const std::string& path, platform::OpenMode mode, platform::FileHandle& file) override;
  transfer::ChunkResult CopyChunk(platform::FileHandle& from, platform::FileHandle& to,
                                  int64_t count, std::vector<char>& buffer) override;
  int64_t Read(platform::FileHandle& file, char* dst, int64_t count, int& error) override;
  int Close(platform::FileHandle& file) override;
  int SetWriteTime(platform::FileHandle& file, int64_t sec, int64_t nsec) override {
    return Guard(Call::kSetTime, PathOf(file), [&] { return Disk::SetWriteTime(file, sec, nsec); });
  }
  int Stat(const std::string& path, bool noFollow, platform::FileInfo& info) override {
    return Guard(Call::kStat, path, [&] { return Disk::Stat(path, noFollow, info); });
  }
  int List(const std::string& path, std::vector<platform::DirEntry>& entries) override {
    return Guard(Call::kList, path, [&] { return Disk::List(path, entries); });
  }
  int DeleteFile(const std::string& path) override {
    return Guard(Call::kDelete, path, [&] { return Disk::DeleteFile(path); });
  }
  int Rename(const std::string& from, const std::string& to, bool replace) override {
    return Guard(Call::kRename, to, [&] { return Disk::Rename(from, to, replace); });
  }

 private:
  struct Fault {
    Call call;
    std::string path;
    int err;
    int64_t afterBytes;
  };
  // The error for a call (0: go ahead), counting the call; `reach` is how far into the file a
  // chunk call would get.
  int Check(Call call, const std::string& path, int64_t reach = INT64_MAX);
  template <typename Real>
  int Guard(Call call, const std::string& path, Real real) {
    const int err = Check(call, path);
    return err != 0 ? err : real();
  }
  std::string PathOf(const platform::FileHandle& file);
  // Bytes moved through a descriptor so far, after adding `more`.
  int64_t Moved(int fd, int64_t more = 0);

  mutable std::mutex mutex_;
  std::vector<Fault> faults_;
  std::map<Call, int> counts_;
  std::map<int, std::string> openPaths_;  // descriptor -> path it was opened by
  std::map<int, int64_t> moved_;          // descriptor -> bytes moved through it
};

// Everything an engine showed and raised, in order; `then` sees each item once recorded.
struct Recorder : transfer::FileHandObserver {
  struct Item {
    char kind;  // 'M' MirrorProg, 'H' HikakuProg, 'T' message, 'R' rate
    float rate;
    std::string text;
  };
  void MirrorProg(float pRate) override { Add({'M', pRate, ""}); }
  void HikakuProg(float pRate) override { Add({'H', pRate, ""}); }
  void ShowFileHandMessage(const std::string& message, bool) override { Add({'T', 0, message}); }
  void ShowFileHandRate(float pRate) override { Add({'R', pRate, ""}); }
  void Add(const Item& item);
  // The rates of one kind of event, in order.
  std::vector<float> Rates(char kind) const;
  std::vector<std::string> Messages() const;
  // From now on the first progress event of either kind cancels `hand`.
  void CancelAtProgress(transfer::FileHand& hand);

  std::vector<Item> items;
  std::function<void(const Item&)> then;
};

// Sets a file's last-write time, seconds since the epoch (a link itself when noFollow).
void SetWriteTime(const std::string& path, int64_t sec, bool noFollow = false);
// Moves a file's last-write time to `secondsAgo` before now (a link itself when noFollow).
void SetAge(const std::string& path, int64_t secondsAgo, bool noFollow = false);
// The file's last-write time, seconds since the epoch (-1 when missing).
int64_t WriteTimeOf(const std::string& path);
bool Exists(const std::string& path);
// Bytes 0, 1, 2, ... 250, 0, 1, ... of the given length.
std::string Pattern(size_t length);

}  // namespace transfertest
