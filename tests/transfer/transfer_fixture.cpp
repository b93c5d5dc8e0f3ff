#include "tests/transfer/transfer_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

namespace transfertest {

void FaultyFileSystem::Fail(Call call, const std::string& path, int err, int64_t afterBytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.push_back(Fault{call, path, err, afterBytes});
}

void FaultyFileSystem::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.clear();
  counts_.clear();
}

int FaultyFileSystem::Count(Call call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = counts_.find(call);
  return it == counts_.end() ? 0 : it->second;
}

int FaultyFileSystem::Check(Call call, const std::string& path, int64_t reach) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++counts_[call];
  for (const Fault& fault : faults_) {
    if (fault.call != call) continue;
    const bool folder = !fault.path.empty() && fault.path.back() == '/';
    const bool matches = fault.path.empty() || fault.path == path ||
                         (folder && path.compare(0, fault.path.size(), fault.path) == 0);
    if (matches && reach > fault.afterBytes) return fault.err;
  }
  return 0;
}

std::string FaultyFileSystem::PathOf(const platform::FileHandle& file) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = openPaths_.find(file.fd());
  return it == openPaths_.end() ? std::string() : it->second;
}

int64_t FaultyFileSystem::Moved(int fd, int64_t more) {
  std::lock_guard<std::mutex> lock(mutex_);
  return moved_[fd] += more;
}

int FaultyFileSystem::Open(const std::string& path, platform::OpenMode mode,
                           platform::FileHandle& file) {
  const Call call = mode == platform::OpenMode::Read ? Call::kOpenRead : Call::kOpenWrite;
  if (const int err = Check(call, path)) return err;
  const int err = Disk::Open(path, mode, file);
  if (err == 0) {
    std::lock_guard<std::mutex> lock(mutex_);
    openPaths_[file.fd()] = path;
    moved_[file.fd()] = 0;
  }
  return err;
}

transfer::ChunkResult FaultyFileSystem::CopyChunk(platform::FileHandle& from,
                                                  platform::FileHandle& to, int64_t count,
                                                  std::vector<char>& buffer) {
  transfer::ChunkResult result;
  if ((result.readError = Check(Call::kCopyRead, PathOf(from), Moved(from.fd()) + count)))
    return result;
  if ((result.writeError = Check(Call::kCopyWrite, PathOf(to), Moved(to.fd()) + count)))
    return result;
  result = Disk::CopyChunk(from, to, count, buffer);
  Moved(from.fd(), result.copied);
  Moved(to.fd(), result.copied);
  return result;
}

int64_t FaultyFileSystem::Read(platform::FileHandle& file, char* dst, int64_t count, int& error) {
  if ((error = Check(Call::kRead, PathOf(file), Moved(file.fd()) + count))) return -1;
  const int64_t got = Disk::Read(file, dst, count, error);
  if (got > 0) Moved(file.fd(), got);
  return got;
}

int FaultyFileSystem::Close(platform::FileHandle& file) {
  if (const int err = Check(Call::kClose, PathOf(file))) {
    file.Close();
    return err;
  }
  return Disk::Close(file);
}

void Recorder::Add(const Item& item) {
  items.push_back(item);
  if (then) then(item);
}

std::vector<float> Recorder::Rates(char kind) const {
  std::vector<float> rates;
  for (const Item& item : items)
    if (item.kind == kind) rates.push_back(item.rate);
  return rates;
}

std::vector<std::string> Recorder::Messages() const {
  std::vector<std::string> texts;
  for (const Item& item : items)
    if (item.kind == 'T') texts.push_back(item.text);
  return texts;
}

void Recorder::CancelAtProgress(transfer::FileHand& hand) {
  then = [&hand](const Item& item) {
    if (item.kind == 'M' || item.kind == 'H') hand.ProcCancel();
  };
}

void SetWriteTime(const std::string& path, int64_t sec, bool noFollow) {
  struct timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = sec;
  ::utimensat(AT_FDCWD, path.c_str(), times, noFollow ? AT_SYMLINK_NOFOLLOW : 0);
}

void SetAge(const std::string& path, int64_t secondsAgo, bool noFollow) {
  SetWriteTime(path, std::time(nullptr) - secondsAgo, noFollow);
}

int64_t WriteTimeOf(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return -1;
  return st.st_mtim.tv_sec;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string Pattern(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

}  // namespace transfertest
