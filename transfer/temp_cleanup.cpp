// DelAllTempfile: removal of the temporary files interrupted transfers left behind.
#include "foundation/date_stamp.h"
#include "foundation/file_times.h"
#include "platform/native_path.h"
#include "transfer/file_hand.h"
#include "transfer/native_join.h"
#include "transfer/temp_names.h"

namespace transfer {
namespace {

// Pause per entry of a slow clean-up, which leaves the disk to the on-air program.
constexpr int64_t kSlowPauseMs = 150;

}  // namespace

int32_t FileHand::DelAllTempfile(const std::string& pFolder, int32_t pSlow, int32_t pSaiki) {
  return Run([&] { return DoDelAllTempfile(platform::ToNativePath(pFolder), pSlow, pSaiki); });
}

int32_t FileHand::DoDelAllTempfile(const std::string& folder, int32_t pSlow, int32_t pSaiki) {
  if (!IsFolder(folder)) return 0;
  if (pSaiki == 0) ClearState(true);
  // A transfer still running writes its file now; only a day-old one is surely abandoned.
  const std::string cutoff = foundation::FormatDateStamp(0, -1);
  std::vector<platform::DirEntry> entries;
  ListForWalk(folder, entries);
  const WalkEnd end = Walk(entries, [&](const platform::DirEntry& entry) {
    if (pSlow != 0) Pause(kSlowPauseMs);
    const std::string path = JoinNative(folder, entry.name);
    if (entry.isDirectory && !entry.isSymlink) {
      // The sub-folder's walk keeps this walk's state: a cancel or a walk-limit code stays.
      DoDelAllTempfile(path, pSlow, 1);
      return;
    }
    if (!IsTempFileName(entry.name)) return;
    platform::FileInfo info;
    if (fs_.Stat(path, true, info) != 0 || info.isDirectory) return;
    const std::string written = foundation::FileTimeToText(info.writeSec, info.writeNsec);
    if (!written.empty() && written < cutoff) fs_.DeleteFile(path);
  });
  return end == WalkEnd::kCanceled ? 0 : 1;
}

}  // namespace transfer
