#include "transfer/file_hand.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <exception>
#include <thread>
#include <utility>

#include "foundation/app_globals.h"
#include "foundation/files.h"
#include "foundation/waits.h"
#include "transfer/error_codes.h"

namespace transfer {

namespace {

// How long the waiting caller may go without running the program's pending work.
constexpr std::chrono::milliseconds kPumpInterval{10};

}  // namespace

// The running operation's queue of what the caller is to show, and whether the work is done.
struct FileHand::Job {
  std::mutex mutex;
  std::condition_variable wake;
  std::vector<Event> events;
  bool done = false;
};

FileHand::FileHand(platform::LogSink& log, FileHandVariant variant, TransferFileSystem& fs,
                   FileHandLimits limits)
    : log_(log), variant_(std::move(variant)), fs_(fs), limits_(limits) {}

FileHand::~FileHand() { ProcCancel(); }

void FileHand::ProcCancel() {
  {
    std::lock_guard<std::mutex> lock(cancelMutex_);
    canceled_ = 1;
  }
  cancelWake_.notify_all();
}

std::string FileHand::ErrorCodeText() const { return transfer::ErrorCodeText(ErrorCode()); }

int32_t FileHand::Run(const std::function<int32_t()>& work) {
  // Pending work run while we wait may come back here; this instance's state is the running
  // operation's until it ends.
  if (busy_.exchange(true)) return 0;
  Job job;
  job_ = &job;
  int32_t result = 0;
  std::exception_ptr failure;
  const auto body = [&] {
    try {
      result = work();
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(job.mutex);
    job.done = true;
    job.wake.notify_all();
  };

  std::thread worker;
  try {
    worker = std::thread(body);
  } catch (...) {
    body();  // no thread to be had: the work runs here, without the window's pending work
  }
  std::vector<Event> batch;
  for (;;) {
    bool done;
    {
      std::unique_lock<std::mutex> lock(job.mutex);
      job.wake.wait_for(lock, kPumpInterval, [&] { return job.done || !job.events.empty(); });
      batch.swap(job.events);
      done = job.done;
    }
    Deliver(batch);
    batch.clear();
    if (done) break;
    foundation::RunPendingWork();
  }
  if (worker.joinable()) worker.join();
  job_ = nullptr;
  busy_ = false;
  if (failure && foundation::Globals().ErrorCatch != 0) std::rethrow_exception(failure);
  return failure ? 0 : result;
}

void FileHand::Deliver(const std::vector<Event>& events) {
  FileHandObserver* observer = observer_.load();
  if (observer == nullptr) return;
  for (const Event& event : events) {
    try {
      switch (event.kind) {
        case Event::kMessage:
          observer->ShowFileHandMessage(event.text, event.leftAligned);
          break;
        case Event::kMirrorRate:
          observer->MirrorProg(event.rate);
          observer->ShowFileHandRate(event.rate);
          break;
        case Event::kHikakuRate:
          observer->HikakuProg(event.rate);
          observer->ShowFileHandRate(event.rate);
          break;
      }
    } catch (...) {
      // What the owner's handlers throw is theirs; the operation goes on.
    }
  }
}

void FileHand::Post(Event event) {
  if (observer_.load() == nullptr || job_ == nullptr) return;
  std::lock_guard<std::mutex> lock(job_->mutex);
  job_->events.push_back(std::move(event));
  job_->wake.notify_all();
}

void FileHand::Show(const std::string& message, bool leftAligned) {
  Post(Event{Event::kMessage, message, leftAligned, 0});
}

void FileHand::Rate(Event::Kind kind, float rate) { Post(Event{kind, std::string(), false, rate}); }

void FileHand::Pause(int64_t ms) {
  if (ms <= 0) return;
  std::unique_lock<std::mutex> lock(cancelMutex_);
  cancelWake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return IsCanceled(); });
}

void FileHand::ClearState(bool clearErrorCode) {
  {
    std::lock_guard<std::mutex> lock(cancelMutex_);
    canceled_ = 0;
  }
  if (clearErrorCode) errorCode_ = kNoError;
}

int64_t FileHand::Chunk(int32_t pSize) const {
  return pSize < 1 ? variant_.defaultChunk : static_cast<int64_t>(pSize);
}

int64_t FileHand::RoundLimit(int64_t size, int64_t chunk) const {
  const double rounds = std::nearbyint(static_cast<double>(size) / static_cast<double>(chunk) +
                                       static_cast<double>(limits_.extraRounds));
  if (!(rounds < 9.0e18)) return INT64_MAX;
  return static_cast<int64_t>(rounds);
}

FileHand::RoundEnd FileHand::EndRound(int64_t& rest, int64_t n, int64_t& rounds) {
  rest -= n;
  if (rest <= 0) return RoundEnd::kDone;
  if (IsCanceled()) {
    SetError(kCanceled);
    return RoundEnd::kStopped;
  }
  // Never reached while every round moves a whole chunk. Stopping here leaves bytes uncopied
  // or uncompared: no copy and no proof of equality, so it is a failure.
  if (--rounds <= 0) {
    SetError(kLoopLimit);
    return RoundEnd::kStopped;
  }
  return RoundEnd::kNext;
}

int FileHand::ListForWalk(const std::string& folder, std::vector<platform::DirEntry>& entries) {
  entries.clear();
  const int err = fs_.List(folder, entries);
  if (err != 0) entries.clear();
  return err;
}

FileHand::WalkEnd FileHand::Walk(const std::vector<platform::DirEntry>& entries,
                                 const std::function<void(const platform::DirEntry&)>& each) {
  // "." and ".." count as the walk's first two entries.
  int64_t handled = 2;
  for (const platform::DirEntry& entry : entries) {
    if (++handled > limits_.walkEntries) {
      SetError(kWalkLimit);
      return WalkEnd::kLimit;
    }
    if (IsCanceled()) {
      SetError(kCanceled);
      return WalkEnd::kCanceled;
    }
    // A listed name goes back to the file system only as a native name: a '\' in it would be
    // read as a separator by the stored-path routines. Names no Windows server can hold (that,
    // and the reserved device names) are left alone, neither copied nor deleted.
    if (entry.name.empty() || entry.name.find('\\') != std::string::npos ||
        foundation::IsReservedDeviceName(entry.name))
      continue;
    each(entry);
    // A cancel seen inside the entry (a copy, a sub-folder's walk) ends this walk too.
    if (IsCanceled()) {
      SetError(kCanceled);
      return WalkEnd::kCanceled;
    }
  }
  return WalkEnd::kDone;
}

bool FileHand::IsFolder(const std::string& path) {
  platform::FileInfo info;
  return fs_.Stat(path, false, info) == 0 && info.isDirectory;
}

bool FileHand::IsFile(const std::string& path) {
  platform::FileInfo info;
  return fs_.Stat(path, false, info) == 0 && !info.isDirectory;
}

bool FileHand::IsSurelyMissing(const std::string& path) {
  platform::FileInfo info;
  return fs_.Stat(path, true, info) == ENOENT;
}

bool FileHand::IsRealFolderPath(const std::string& path) {
  platform::FileInfo info;
  return fs_.Stat(path, true, info) == 0 && info.isDirectory && !info.isSymlink;
}

}  // namespace transfer
