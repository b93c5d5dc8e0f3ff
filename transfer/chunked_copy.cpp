// The single-file copies of the engine: MirrorFile and TranspFile.
#include <cerrno>

#include "foundation/app_globals.h"
#include "platform/native_path.h"
#include "transfer/error_codes.h"
#include "transfer/file_hand.h"
#include "transfer/native_join.h"
#include "transfer/scope_exit.h"
#include "transfer/temp_names.h"

namespace transfer {
namespace {

constexpr int kRenameTries = 10;
constexpr int64_t kRenameBackoffStepMs = 10;
// Settles the file server after an old target was deleted, before it is created again.
constexpr int64_t kAfterDeleteMs = 100;

}  // namespace

int32_t FileHand::MirrorFile(const std::string& sFilename, const std::string& tFilename,
                             int32_t pInt, int32_t pSize, int32_t pSaiki) {
  return Run([&] {
    return DoMirrorFile(platform::ToNativePath(sFilename), platform::ToNativePath(tFilename), pInt,
                        pSize, pSaiki);
  });
}

int32_t FileHand::TranspFile(const std::string& sFilename, const std::string& tFilename,
                             int32_t KillTarget, int32_t KillSource, int32_t pSize, int32_t pInt,
                             int32_t pSaiki) {
  return Run([&] {
    return DoTranspFile(platform::ToNativePath(sFilename), platform::ToNativePath(tFilename),
                        KillTarget, KillSource, pSize, pInt, pSaiki, sFilename, tFilename);
  });
}

int32_t FileHand::DoMirrorFile(const std::string& source, const std::string& target, int32_t pInt,
                               int32_t pSize, int32_t pSaiki) {
  if (DispFN() > 0) Show("コピー開始", true);
  if (pSaiki == 0) ClearState(true);
  ScopeExit clearPanel([this] { Show("", false); });
  const int64_t pause = pInt == 0 ? 1 : pInt;
  Pause(pause);

  // Whatever stands at the target (a file, or a link, which is never written through) goes
  // first; a copy of a file onto itself would delete the only copy.
  platform::FileInfo existing;
  if (fs_.Stat(target, true, existing) == 0 && !existing.isDirectory) {
    if (fs_.SameFile(source, target)) {
      SetError(kTargetNotDeleted);
      return 0;
    }
    const int err = fs_.DeleteFile(target);
    if (err != 0 && err != ENOENT) {
      SetError(kTargetNotDeleted);
      return 0;
    }
    Pause(kAfterDeleteMs);
  }
  platform::FileHandle from;
  platform::FileHandle to;
  if (fs_.Open(source, platform::OpenMode::Read, from) != 0) {
    SetError(kSourceMissing);
    return 0;
  }
  if (fs_.Open(target, platform::OpenMode::ReadWriteCreate, to) != 0) {
    SetError(kWriteFailed);
    return 0;
  }
  if (CopyOpenFiles(source, from, to, pause, pSize) == 0) return 0;
  if (fs_.Close(to) != 0) {
    SetError(kWriteFailed);
    return 0;
  }
  return 1;
}

int32_t FileHand::CopyOpenFiles(const std::string& source, platform::FileHandle& from,
                                platform::FileHandle& to, int32_t pInt, int32_t pSize) {
  platform::FileInfo info;
  if (fs_.StatOpen(from, info) != 0 || info.isDirectory) {
    SetError(kSourceMissing);
    return 0;
  }
  const int64_t size = info.size;
  if (size == 0) {
    // Nothing to copy but the time: an empty copy keeps the source's last-write time too.
    if (fs_.SetWriteTime(to, info.writeSec, info.writeNsec) != 0) {
      SetError(kZeroSizeCopyFailed);
      return 0;
    }
    return 1;
  }

  const int64_t chunk = Chunk(pSize);
  int64_t rounds = RoundLimit(size, chunk);
  int64_t rest = size;
  switch (DispFN()) {
    case 0:
      Show("ファイルコピー中…", false);
      break;
    case 1:
      Show("Copying…" + source, true);
      break;
    default:
      Show("Copying…" + NativeNameOf(source), true);
      break;
  }
  std::vector<char> buffer;  // grown to one chunk only when the kernel cannot copy by itself
  for (;;) {
    const int64_t n = rest < chunk ? rest : chunk;
    Rate(Event::kMirrorRate,
         static_cast<float>(static_cast<double>(size - rest) / static_cast<double>(size)));
    const ChunkResult moved = fs_.CopyChunk(from, to, n, buffer);
    if (moved.writeError != 0) {
      SetError(kWriteFailed);
      return 0;
    }
    // A source that ends before its size said is a failed read, never a shorter copy.
    if (moved.readError != 0 || moved.copied != n) {
      SetError(kReadFailed);
      return 0;
    }
    Pause(pInt);
    const RoundEnd next = EndRound(rest, n, rounds);
    if (next == RoundEnd::kStopped) return 0;
    if (next == RoundEnd::kDone) break;
  }
  platform::FileInfo after;
  if (fs_.StatOpen(from, after) != 0) {
    SetError(kReadFailed);
    return 0;
  }
  if (fs_.SetWriteTime(to, after.writeSec, after.writeNsec) != 0) {
    SetError(kWriteFailed);
    return 0;
  }
  Rate(Event::kMirrorRate, 1.0F);
  return 1;
}

int32_t FileHand::DoTranspFile(const std::string& source, const std::string& target,
                               int32_t KillTarget, int32_t KillSource, int32_t pSize, int32_t pInt,
                               int32_t pSaiki, const std::string& shownSource,
                               const std::string& shownTarget) {
  if (pSaiki == 0) ClearState(true);
  if (DispFN() > 0) Show("転送開始", true);
  std::string tempPath;
  int32_t result = 0;
  {
    // The temporary file is deleted on every path that did not rename it into place.
    ScopeExit dropTemp([&] {
      if (!tempPath.empty()) fs_.DeleteFile(tempPath);
    });
    try {
      result = TranspSteps(source, target, KillTarget, KillSource, pSize, pInt, tempPath);
    } catch (...) {
      if (foundation::Globals().ErrorCatch != 0) throw;
      result = 0;
    }
  }
  if (result == 0) {
    log_.Write("TranspFile Failed " + shownSource + " to " + shownTarget + " " + ErrorCodeText() +
                   std::to_string(ErrorCode()),
               platform::LogSeverity::kInfo);
  }
  return result;
}

int32_t FileHand::TranspSteps(const std::string& source, const std::string& target,
                              int32_t KillTarget, int32_t KillSource, int32_t pSize, int32_t pInt,
                              std::string& tempPath) {
  const std::string folder = NativeFolderOf(target);
  if (folder.empty() ||
      (!IsFolder(folder) && (fs_.MakeFolderTree(folder) != 0 || !IsFolder(folder)))) {
    SetError(kTargetFolderFailed);
    return 0;
  }
  // What stands at the target decides before anything is copied, and again right before the
  // rename (someone may have put a file there meanwhile).
  const auto targetBlocks = [&]() -> int32_t {
    platform::FileInfo info;
    if (fs_.Stat(target, true, info) != 0) return kNoError;
    if (KillTarget == 0) return kTargetExists;
    return info.isDirectory ? kTargetNotReplaced : kNoError;
  };
  if (const int32_t blocked = targetBlocks()) {
    SetError(blocked);
    return 0;
  }

  platform::FileHandle temp;
  if (ClaimTempFile(folder, temp, tempPath) == 0) return 0;
  // The copy into the temporary file shows what MirrorFile shows, and clears the panel after.
  if (DispFN() > 0) Show("コピー開始", true);
  ScopeExit clearPanel([this] { Show("", false); });
  platform::FileHandle from;
  if (fs_.Open(source, platform::OpenMode::Read, from) != 0) {
    SetError(kSourceMissing);
    return 0;
  }
  if (CopyOpenFiles(source, from, temp, pInt == 0 ? 1 : pInt, pSize) == 0) return 0;
  from.Close();
  if (fs_.Close(temp) != 0) {
    SetError(kWriteFailed);
    return 0;
  }
  if (const int32_t blocked = targetBlocks()) {
    SetError(blocked);
    return 0;
  }

  // The complete copy replaces the target in one step: readers see the old file or the new.
  int err = 0;
  for (int attempt = 1; attempt <= kRenameTries; ++attempt) {
    err = fs_.Rename(tempPath, target, KillTarget != 0);
    if (err == 0 || (err == EEXIST && KillTarget == 0)) break;
    if (attempt < kRenameTries) Pause(attempt * kRenameBackoffStepMs);
  }
  if (err == EEXIST && KillTarget == 0) {
    SetError(kTargetExists);
    return 0;
  }
  if (err != 0) {
    SetError(kRenameFailed);
    return 0;
  }
  tempPath.clear();  // it is the target now

  // A source that is the target itself (the same path, another spelling of it, or a link to
  // it) holds the only copy now.
  if (KillSource == 1 && !fs_.SameFile(source, target)) {
    const int gone = fs_.DeleteFile(source);
    if (gone != 0 && gone != ENOENT) {
      SetError(kSourceNotDeleted);
      return 0;
    }
  }
  return 1;
}

int32_t FileHand::ClaimTempFile(const std::string& folder, platform::FileHandle& temp,
                                std::string& tempPath) {
  // The open itself claims the name (O_CREAT | O_EXCL): no window between a look and a create.
  for (int tries = 0; tries <= 500; ++tries) {
    const std::string path = JoinNative(folder, TempFileName(NextTempNumber()));
    const int err = fs_.Open(path, platform::OpenMode::CreateNew, temp);
    if (err == 0) {
      tempPath = path;
      return 1;
    }
    if (err != EEXIST) {
      SetError(kWriteFailed);
      return 0;
    }
  }
  SetError(kNoTempName);
  return 0;
}

}  // namespace transfer
