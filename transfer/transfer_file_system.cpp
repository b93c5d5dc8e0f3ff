#include "transfer/transfer_file_system.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "foundation/folders.h"
#include "foundation/server_root.h"
#include "platform/open_file_ops.h"

namespace transfer {
namespace {

// Errors that can only come from the writing side of a kernel copy.
bool IsWriteSideError(int err) { return err == ENOSPC || err == EDQUOT || err == EFBIG; }

// Moves up to `count` bytes through user memory; reports which side failed.
ChunkResult CopyThroughBuffer(platform::FileHandle& from, platform::FileHandle& to, int64_t count,
                              std::vector<char>& buffer) {
  ChunkResult result;
  if (static_cast<int64_t>(buffer.size()) < count) buffer.resize(static_cast<size_t>(count));
  const int64_t got = from.Read(buffer.data(), count);
  if (got < 0) {
    result.readError = errno != 0 ? errno : EIO;
    return result;
  }
  if (got > 0 && to.Write(buffer.data(), got) != got) {
    result.writeError = errno != 0 ? errno : EIO;
    return result;
  }
  result.copied = got;
  return result;
}

}  // namespace

int PlatformTransferFileSystem::Open(const std::string& path, platform::OpenMode mode,
                                     platform::FileHandle& file) {
  return file.Open(path, mode);
}

int PlatformTransferFileSystem::StatOpen(const platform::FileHandle& file,
                                         platform::FileInfo& info) {
  auto stat = platform::StatOpenFile(file);
  if (!stat) return errno != 0 ? errno : EIO;
  info = *stat;
  return 0;
}

ChunkResult PlatformTransferFileSystem::CopyChunk(platform::FileHandle& from,
                                                  platform::FileHandle& to, int64_t count,
                                                  std::vector<char>& buffer) {
  ChunkResult result;
  while (result.copied < count) {
    const int64_t rest = count - result.copied;
    const int64_t n = platform::CopyFileRange(from, to, rest);
    if (n > 0) {
      result.copied += n;
      continue;
    }
    if (n == 0) break;  // the source ended
    const int err = errno;
    if (IsWriteSideError(err)) {
      result.writeError = err;
      break;
    }
    // The kernel cannot copy these two files, or failed without saying on which side: the
    // plain read and write copy the rest and tell a read error from a write error.
    const ChunkResult restResult = CopyThroughBuffer(from, to, rest, buffer);
    result.copied += restResult.copied;
    result.readError = restResult.readError;
    result.writeError = restResult.writeError;
    break;
  }
  return result;
}

int64_t PlatformTransferFileSystem::Read(platform::FileHandle& file, char* dst, int64_t count,
                                         int& error) {
  const int64_t got = file.Read(dst, count);
  error = got < 0 ? (errno != 0 ? errno : EIO) : 0;
  return got;
}

int PlatformTransferFileSystem::SetWriteTime(platform::FileHandle& file, int64_t sec,
                                             int64_t nsec) {
  return platform::SetOpenFileWriteTime(file, sec, nsec);
}

int PlatformTransferFileSystem::Close(platform::FileHandle& file) { return file.CloseChecked(); }

int PlatformTransferFileSystem::Stat(const std::string& path, bool noFollow,
                                     platform::FileInfo& info) {
  errno = 0;
  auto stat = platform::StatPath(path, noFollow);
  if (!stat) return errno != 0 ? errno : EIO;
  info = *stat;
  return 0;
}

int PlatformTransferFileSystem::List(const std::string& path,
                                     std::vector<platform::DirEntry>& entries) {
  errno = 0;
  auto listing = platform::ListDirectory(path);
  if (!listing) return errno != 0 ? errno : EIO;
  entries = std::move(*listing);
  return 0;
}

int PlatformTransferFileSystem::DeleteFile(const std::string& path) {
  return platform::DeleteFilePath(path);
}

int PlatformTransferFileSystem::Rename(const std::string& from, const std::string& to,
                                       bool replace) {
  return replace ? platform::RenameReplace(from, to) : platform::RenameNoReplace(from, to);
}

int PlatformTransferFileSystem::MakeFolder(const std::string& path) {
  if (foundation::IsAtOrAboveServerRoot(path)) return EACCES;
  return platform::MakeDirectory(path);
}

int PlatformTransferFileSystem::MakeFolderTree(const std::string& path) {
  return foundation::MakeFolderTree(path) != 0 ? 0 : EIO;
}

int PlatformTransferFileSystem::PurgeFolder(const std::string& path) {
  // A folder swapped for a link since it was listed is not followed out of the tree.
  auto info = platform::StatPath(path, true);
  if (!info) return errno != 0 ? errno : EIO;
  if (info->isSymlink || !info->isDirectory) return ENOTDIR;
  return foundation::PurgeFolderTree(path, false, 0, "", false) != 0 ? 0 : EIO;
}

bool PlatformTransferFileSystem::SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  const bool same = std::filesystem::equivalent(a, b, ec);
  return !ec && same;
}

TransferFileSystem& DiskFileSystem() {
  static PlatformTransferFileSystem disk;
  return disk;
}

}  // namespace transfer
