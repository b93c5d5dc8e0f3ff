// MirrorFolder and MirrorOnlyFolder: a target folder tree kept in step with a source tree.
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <unordered_map>

#include "foundation/date_stamp.h"
#include "foundation/file_times.h"
#include "platform/native_path.h"
#include "transfer/error_codes.h"
#include "transfer/file_hand.h"
#include "transfer/native_join.h"
#include "transfer/scope_exit.h"
#include "transfer/system_folders.h"

namespace transfer {
namespace {

// The playout's default minimum age of a file to copy or delete: one still being written on
// the server is left for the next pass.
constexpr int64_t kDefaultMinAgeSec = 20;
// The companion copies only files more than 29 seconds old.
constexpr int64_t kCompanionCopyMinAgeSec = 30;
// Two last-write times this close count as equal (file systems keep them at 2 s steps).
constexpr int32_t kTimeToleranceSec = 2;

bool IsRealFolder(const platform::DirEntry& entry) { return entry.isDirectory && !entry.isSymlink; }

// What a folder's listing says a name is.
struct NameKind {
  bool mayBeFolder;  // a folder, or a link that may lead to one
  bool realFolder;   // a folder itself, which the copy pass mirrors
};
using NameKinds = std::unordered_map<std::string, NameKind>;

NameKinds KindsOf(const std::vector<platform::DirEntry>& entries) {
  NameKinds kinds;
  kinds.reserve(entries.size());
  for (const platform::DirEntry& entry : entries)
    kinds.emplace(entry.name, NameKind{entry.isDirectory || entry.isSymlink, IsRealFolder(entry)});
  return kinds;
}

// Whether an age lies in the window: at least minAge and, with pFileCheckDate days, at most
// that many days.
bool AgeInWindow(int64_t age, int64_t minAge, int32_t pFileCheckDate) {
  const int64_t maxAge = pFileCheckDate > 0 ? int64_t{pFileCheckDate} * 86400 : 0;
  return age >= minAge && (maxAge == 0 || age <= maxAge);
}

// Age in whole seconds of a last-write time, on the stamps of the local clock.
int64_t AgeOf(const std::string& writtenText) {
  return foundation::DiffDateStamps(writtenText, foundation::FormatDateStamp());
}

}  // namespace

int32_t FileHand::MirrorFolder(const std::string& sFolder, const std::string& tFolder,
                               int32_t pNoDel, int32_t pSize, int32_t pInt, int32_t pSaiki,
                               int32_t pNoSysFolder, int32_t pFileCheckDate, int32_t pNoSubFolder,
                               int32_t pFileCheckMinute, int32_t pNoOW) {
  MirrorArgs args{pNoDel,           pSize, pInt, pNoSysFolder, pFileCheckDate, pNoSubFolder,
                  pFileCheckMinute, pNoOW};
  if (variant_.companion) {
    args.pFileCheckMinute = 0;
    args.pNoOW = 0;
  }
  return Run([&] {
    return DoMirrorFolder(platform::ToNativePath(sFolder), platform::ToNativePath(tFolder), args,
                          pSaiki);
  });
}

int32_t FileHand::MirrorOnlyFolder(const std::string& sFolder, const std::string& tFolder,
                                   int32_t pSaiki, int32_t pNoSysFolder) {
  return Run([&] {
    return DoMirrorOnlyFolder(platform::ToNativePath(sFolder), platform::ToNativePath(tFolder),
                              pSaiki, pNoSysFolder);
  });
}

int32_t FileHand::DoMirrorFolder(const std::string& source, const std::string& target,
                                 const MirrorArgs& args, int32_t pSaiki) {
  if (pSaiki == 0) ClearState(true);
  ScopeExit clearPanel([this] {
    if (DispFN() > 0) Show("", false);
  });
  if (args.pNoSysFolder != 0 && IsInSystemFolder(source)) return 0;
  if (!IsFolder(source) || !IsFolder(target)) return 0;
  WalkEnd end = WalkEnd::kDone;
  if (args.pNoDel == 0) {
    DeletePass(source, target, args, end);
    if (end == WalkEnd::kCanceled) return 0;
  }
  CopyPass(source, target, args, end);
  return end == WalkEnd::kCanceled ? 0 : 1;
}

bool FileHand::SourceLacksFolder(const std::string& source, const std::string& name) {
  if (!IsFolder(source)) return false;
  // The source must surely have no folder of that name: a name it cannot look up now is kept.
  platform::FileInfo info;
  const int err = fs_.Stat(JoinNative(source, name), false, info);
  return err == 0 ? !info.isDirectory : err == ENOENT;
}

void FileHand::DeletePass(const std::string& source, const std::string& target,
                          const MirrorArgs& args, WalkEnd& end) {
  // Only a complete listing of the source tells what it no longer has: a server that fails
  // to list (an I/O error, a time-out, a share gone) deletes nothing here.
  std::vector<platform::DirEntry> sourceEntries;
  if (ListForWalk(source, sourceEntries) != 0) return;
  const NameKinds sourceKinds = KindsOf(sourceEntries);
  const int64_t minAge = variant_.companion           ? std::numeric_limits<int64_t>::min()
                         : args.pFileCheckMinute >= 1 ? int64_t{args.pFileCheckMinute} * 60
                                                      : kDefaultMinAgeSec;
  std::vector<platform::DirEntry> targetEntries;
  ListForWalk(target, targetEntries);
  end = Walk(targetEntries, [&](const platform::DirEntry& entry) {
    if (DispFN() > 0) Show("Check Del " + entry.name, true);
    const auto listed = sourceKinds.find(entry.name);
    const std::string sourcePath = JoinNative(source, entry.name);
    const std::string targetPath = JoinNative(target, entry.name);
    if (IsRealFolder(entry)) {
      if (args.pNoSubFolder != 0) return;
      if (listed != sourceKinds.end() && listed->second.mayBeFolder) return;
      if (SourceLacksFolder(source, entry.name)) fs_.PurgeFolder(targetPath);
      return;
    }
    // Files and links (to anything: a link is deleted itself, never followed). A file whose
    // name the source now has as a folder is a file the source lacks: it makes way for the
    // folder, but only by the same rule, so a file still being written is not lost. A link
    // there may be where someone put that folder on purpose: it stays.
    const bool lacked = listed == sourceKinds.end();
    if (!lacked && (entry.isSymlink || !listed->second.realFolder)) return;
    if (!IsFolder(source)) return;
    if (lacked ? !IsSurelyMissing(sourcePath) : !IsRealFolderPath(sourcePath)) return;
    platform::FileInfo info;
    if (fs_.Stat(targetPath, true, info) != 0) return;
    const int64_t age = AgeOf(foundation::FileTimeToText(info.writeSec, info.writeNsec));
    if (AgeInWindow(age, minAge, args.pFileCheckDate)) fs_.DeleteFile(targetPath);
  });
}

void FileHand::CopyPass(const std::string& source, const std::string& target,
                        const MirrorArgs& args, WalkEnd& end) {
  std::vector<platform::DirEntry> entries;
  ListForWalk(source, entries);
  const int64_t minAge = variant_.companion           ? kCompanionCopyMinAgeSec
                         : args.pFileCheckMinute >= 1 ? int64_t{args.pFileCheckMinute} * 60
                                                      : kDefaultMinAgeSec;
  end = Walk(entries, [&](const platform::DirEntry& entry) {
    if (DispFN() > 0) Show("Check " + entry.name, true);
    const std::string sourcePath = JoinNative(source, entry.name);
    const std::string targetPath = JoinNative(target, entry.name);
    if (IsRealFolder(entry)) {
      if (args.pNoSubFolder != 0) return;
      if (args.pNoSysFolder != 0 && IsSystemFolderName(entry.name)) return;
      // A link in the target where the folder belongs is never followed out of the tree.
      platform::FileInfo there;
      const int err = fs_.Stat(targetPath, true, there);
      if (err == 0 && there.isSymlink) return;
      // A target inside its own source is listed there: it is not mirrored into itself.
      if (fs_.SameFile(sourcePath, target)) return;
      if (err != 0) fs_.MakeFolder(targetPath);
      // No folder to mirror into: a file kept under its name (too young or too old to delete,
      // or nothing deleted) stays whole, or the folder could not be made. A later run tries
      // again; meanwhile the code says the folder is missing rather than all went well.
      if (!IsRealFolderPath(targetPath)) {
        SetError(kTargetFolderFailed);
        return;
      }
      MirrorArgs sub = args;
      sub.pNoSubFolder = 0;
      DoMirrorFolder(sourcePath, targetPath, sub, 1);
      return;
    }
    // A file, or a link to one (copied as the file it leads to); links to folders are skipped.
    platform::FileInfo from;
    if (fs_.Stat(sourcePath, false, from) != 0 || from.isDirectory) return;
    const std::string fromText = foundation::FileTimeToText(from.writeSec, from.writeNsec);
    if (!AgeInWindow(AgeOf(fromText), minAge, args.pFileCheckDate)) return;
    platform::FileInfo to;
    bool copy = fs_.Stat(targetPath, true, to) != 0 || to.isDirectory;
    if (!copy && args.pNoOW == 0) {
      const std::string toText = foundation::FileTimeToText(to.writeSec, to.writeNsec);
      copy = toText.empty() || to.size != from.size ||
             (toText != fromText &&
              std::abs(foundation::DiffDateStamps(fromText, toText)) > kTimeToleranceSec);
    }
    if (copy)
      DoTranspFile(sourcePath, targetPath, 1, 0, args.pSize, args.pInt, 1, sourcePath, targetPath);
  });
}

int32_t FileHand::DoMirrorOnlyFolder(const std::string& source, const std::string& target,
                                     int32_t pSaiki, int32_t pNoSysFolder) {
  if (pSaiki == 0) ClearState(false);
  if (!IsFolder(source) || !IsFolder(target)) return 0;
  if (pNoSysFolder != 0 && IsInSystemFolder(source)) return 0;

  std::vector<platform::DirEntry> sourceEntries;
  const int listed = ListForWalk(source, sourceEntries);
  const WalkEnd made = Walk(sourceEntries, [&](const platform::DirEntry& entry) {
    if (!IsRealFolder(entry)) return;
    if (pNoSysFolder != 0 && IsSystemFolderName(entry.name)) return;
    // A folder the target already has (or anything else of that name) is not entered.
    const std::string targetPath = JoinNative(target, entry.name);
    platform::FileInfo there;
    if (fs_.Stat(targetPath, true, there) == 0) return;
    if (fs_.MakeFolder(targetPath) != 0) return;
    DoMirrorOnlyFolder(JoinNative(source, entry.name), targetPath, 1, pNoSysFolder);
  });
  if (made == WalkEnd::kCanceled) return 0;
  // As in MirrorFolder: nothing is deleted on an incomplete listing of the source.
  if (listed != 0) return 1;

  const NameKinds sourceKinds = KindsOf(sourceEntries);
  std::vector<platform::DirEntry> targetEntries;
  ListForWalk(target, targetEntries);
  const WalkEnd purged = Walk(targetEntries, [&](const platform::DirEntry& entry) {
    if (!IsRealFolder(entry)) return;
    const auto known = sourceKinds.find(entry.name);
    if (known != sourceKinds.end() && known->second.mayBeFolder) return;
    if (SourceLacksFolder(source, entry.name)) fs_.PurgeFolder(JoinNative(target, entry.name));
  });
  return purged == WalkEnd::kCanceled ? 0 : 1;
}

}  // namespace transfer
