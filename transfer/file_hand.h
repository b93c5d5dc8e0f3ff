#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/log_sink.h"
#include "transfer/file_hand_variant.h"
#include "transfer/transfer_file_system.h"

namespace transfer {

// What an operation shows and raises. Called on the thread that started the operation, in the
// order the operation produced them, while that thread waits for it.
class FileHandObserver {
 public:
  virtual ~FileHandObserver() = default;
  virtual void MirrorProg(float pRate) {}
  virtual void HikakuProg(float pRate) {}
  // The status text; "" clears the panel, bar included.
  virtual void ShowFileHandMessage(const std::string& message, bool leftAligned) {}
  virtual void ShowFileHandRate(float pRate) {}
};

// The file transfer engine: chunked copies with pauses, progress and cancel, safe transfers
// through a temporary file, byte-wise comparison, folder mirroring and temporary-file clean-up,
// each leaving its reason for failing in ErrorCode.
//
// Paths are stored paths ('\' separators and UNC server paths allowed); each operation turns
// them into native paths once, when it starts. Every operation returns 1 on success and 0 on
// failure and never throws (unless the process's error traps are off: ErrorCatch non-zero lets
// an unexpected exception reach the caller).
//
// Threads: the work of each operation runs on a worker thread, so a slow disk or a hung file
// server never blocks the caller's thread. The caller waits inside the call, delivers the
// observer's calls as they come and runs the program's pending work (foundation::RunPendingWork)
// at least every few milliseconds, so the window stays alive and its cancel button works.
// Pending work may start operations of other instances; a second operation of this instance
// started meanwhile is refused (result 0, nothing touched). ProcCancel may be called from any
// thread: the operation stops before its next chunk (a pause in progress ends at once) or at the
// next folder entry, with ErrorCode 1. An instance must outlive its own running operation: the
// pending work run while it waits must not destroy it.
//
// pSaiki 0 marks an outer call, which clears Canceled and ErrorCode first; 1 keeps the caller's
// state. pInt is a pause in milliseconds (0: the default), pSize a chunk in bytes (below 1: the
// default).
class FileHand {
 public:
  // A transfer that fails is written to `log`, from the worker thread. `limits` bound the loops;
  // the defaults are the program's (tests lower them to reach them with small trees and files).
  explicit FileHand(platform::LogSink& log, FileHandVariant variant = PlayoutVariant(),
                    TransferFileSystem& fs = DiskFileSystem(), FileHandLimits limits = {});
  // Cancels (an operation still running in another thread stops at its next test).
  ~FileHand();
  FileHand(const FileHand&) = delete;
  FileHand& operator=(const FileHand&) = delete;

  const FileHandVariant& Variant() const { return variant_; }
  // nullptr: nothing is shown. Set while no operation runs.
  void SetObserver(FileHandObserver* observer) { observer_ = observer; }

  int32_t Canceled() const { return canceled_.load(); }
  void ProcCancel();
  int32_t ErrorCode() const { return errorCode_.load(); }
  std::string ErrorCodeText() const;
  // What the copy message shows: 0 a fixed text, 1 the source path, 2 the source file name.
  int32_t DispFN() const { return dispFN_.load(); }
  void SetDispFN(int32_t pValue) { dispFN_ = pValue; }
  // True while an operation of this instance runs.
  bool Busy() const { return busy_.load(); }

  // Copies a file in chunks straight to the target (an existing one is deleted first) and
  // gives it the source's last-write time. A failure leaves the part written.
  int32_t MirrorFile(const std::string& sFilename, const std::string& tFilename, int32_t pInt,
                     int32_t pSize, int32_t pSaiki);
  // Copies a file to a temporary file beside the target and renames that over the target in
  // one step, so readers see the old file or the complete new one. KillTarget 0 keeps an
  // existing target (code 10); KillSource 1 deletes the source afterwards unless it is the
  // target itself. A failure writes "TranspFile Failed ..." to the log.
  int32_t TranspFile(const std::string& sFilename, const std::string& tFilename, int32_t KillTarget,
                     int32_t KillSource, int32_t pSize = 0, int32_t pInt = 0, int32_t pSaiki = 0);
  // 1 when both files have the same non-zero size and the same bytes. Clears Canceled only.
  int32_t HikakuFile(const std::string& sFilename, const std::string& tFilename, int32_t pInt,
                     int32_t pSize);
  // Deletes the temporary transfer files older than one day in a folder tree; 0 for a missing
  // folder or a cancel. pSlow non-zero pauses 150 ms per entry.
  int32_t DelAllTempfile(const std::string& pFolder, int32_t pSlow = 0, int32_t pSaiki = 0);
  // Makes the target tree follow the source tree: deletes what the source no longer has (unless
  // pNoDel), copies what is new or changed, within the age window. 0 when a folder is missing,
  // a system folder is excluded, or on cancel.
  int32_t MirrorFolder(const std::string& sFolder, const std::string& tFolder, int32_t pNoDel,
                       int32_t pSize = 0, int32_t pInt = 0, int32_t pSaiki = 0,
                       int32_t pNoSysFolder = 0, int32_t pFileCheckDate = 0,
                       int32_t pNoSubFolder = 0, int32_t pFileCheckMinute = 0, int32_t pNoOW = 0);
  // Makes the target's folder structure follow the source's; files are left alone.
  int32_t MirrorOnlyFolder(const std::string& sFolder, const std::string& tFolder,
                           int32_t pSaiki = 0, int32_t pNoSysFolder = 0);

 private:
  struct Job;
  struct Event {
    enum Kind { kMessage, kMirrorRate, kHikakuRate } kind;
    std::string text;
    bool leftAligned = false;
    float rate = 0;
  };
  struct MirrorArgs {
    int32_t pNoDel, pSize, pInt, pNoSysFolder, pFileCheckDate, pNoSubFolder, pFileCheckMinute,
        pNoOW;
  };
  enum class WalkEnd { kDone, kLimit, kCanceled };

  // Caller side: runs `work` on a worker thread and waits as the class comment says.
  int32_t Run(const std::function<int32_t()>& work);
  void Deliver(const std::vector<Event>& events);

  // Worker side.
  void Post(Event event);
  void Show(const std::string& message, bool leftAligned);
  void Rate(Event::Kind kind, float rate);
  // Waits ms milliseconds, ending early on a cancel.
  void Pause(int64_t ms);
  bool IsCanceled() const { return canceled_.load() != 0; }
  void ClearState(bool clearErrorCode);
  void SetError(int32_t code) { errorCode_ = code; }
  int64_t RoundLimit(int64_t size, int64_t chunk) const;
  enum class RoundEnd { kNext, kDone, kStopped };
  // Ends one round of a chunk loop that handled n of the rest bytes: done when nothing is
  // left, stopped (code 1 or 13) on a cancel or at the round limit.
  RoundEnd EndRound(int64_t& rest, int64_t n, int64_t& rounds);
  int64_t Chunk(int32_t pSize) const;

  int32_t DoMirrorFile(const std::string& source, const std::string& target, int32_t pInt,
                       int32_t pSize, int32_t pSaiki);
  int32_t DoTranspFile(const std::string& source, const std::string& target, int32_t KillTarget,
                       int32_t KillSource, int32_t pSize, int32_t pInt, int32_t pSaiki,
                       const std::string& shownSource, const std::string& shownTarget);
  int32_t TranspSteps(const std::string& source, const std::string& target, int32_t KillTarget,
                      int32_t KillSource, int32_t pSize, int32_t pInt, std::string& tempPath);
  int32_t ClaimTempFile(const std::string& folder, platform::FileHandle& temp,
                        std::string& tempPath);
  // Copies the open source into the open target in chunks and sets the target's last-write
  // time: the steps MirrorFile and TranspFile share once both files are open.
  int32_t CopyOpenFiles(const std::string& source, platform::FileHandle& from,
                        platform::FileHandle& to, int32_t pInt, int32_t pSize);
  int32_t DoHikakuFile(const std::string& source, const std::string& target, int32_t pInt,
                       int32_t pSize);
  int32_t DoDelAllTempfile(const std::string& folder, int32_t pSlow, int32_t pSaiki);
  int32_t DoMirrorFolder(const std::string& source, const std::string& target,
                         const MirrorArgs& args, int32_t pSaiki);
  void DeletePass(const std::string& source, const std::string& target, const MirrorArgs& args,
                  WalkEnd& end);
  void CopyPass(const std::string& source, const std::string& target, const MirrorArgs& args,
                WalkEnd& end);
  int32_t DoMirrorOnlyFolder(const std::string& source, const std::string& target, int32_t pSaiki,
                             int32_t pNoSysFolder);

  // Lists a folder for a walk (in name order, as listings come); the error when the listing is
  // incomplete, with no entries.
  int ListForWalk(const std::string& folder, std::vector<platform::DirEntry>& entries);
  // Visits the entries in order, testing Canceled before and after each; stops with code 1 on
  // a cancel and with code 14 past the walk limit. Names no Windows server can hold ('\' in them,
  // reserved device names) are passed over.
  WalkEnd Walk(const std::vector<platform::DirEntry>& entries,
               const std::function<void(const platform::DirEntry&)>& each);
  bool IsFolder(const std::string& path);
  bool IsFile(const std::string& path);
  // Whether a listed name is gone from a folder for certain (ENOENT), not just unreadable.
  bool IsSurelyMissing(const std::string& path);
  // Whether a path is a folder itself, not a link to one.
  bool IsRealFolderPath(const std::string& path);
  // Whether the source folder still exists and surely has no folder of that name.
  bool SourceLacksFolder(const std::string& source, const std::string& name);

  platform::LogSink& log_;
  FileHandVariant variant_;
  TransferFileSystem& fs_;
  const FileHandLimits limits_;
  std::atomic<FileHandObserver*> observer_{nullptr};
  std::atomic<int32_t> canceled_{0};
  std::atomic<int32_t> errorCode_{0};
  std::atomic<int32_t> dispFN_{0};
  std::atomic<bool> busy_{false};
  std::mutex cancelMutex_;
  std::condition_variable cancelWake_;
  Job* job_ = nullptr;  // the running operation's event queue
};

}  // namespace transfer
