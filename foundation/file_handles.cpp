#include "foundation/file_handles.h"

#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/file_system.h"
#include "platform/native_path.h"

namespace foundation {
namespace {

using SharedFile = std::shared_ptr<platform::FileHandle>;

// The process-wide table of open files. Ids count up from 1 and are never handed out twice, so
// a handle that was closed can never reach a file opened later. Callers get a shared pointer to
// the open file, so a close on another thread never pulls the file from under a running read.
class HandleTable {
 public:
  FileHandleId Add(platform::FileHandle file) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (next_ == std::numeric_limits<FileHandleId>::max()) return 0;  // ids used up
    const FileHandleId id = next_++;
    files_.emplace(id, std::make_shared<platform::FileHandle>(std::move(file)));
    return id;
  }

  SharedFile Find(FileHandleId id) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = files_.find(id);
    return it == files_.end() ? nullptr : it->second;
  }

  void Remove(FileHandleId id) {
    SharedFile file;  // closed outside the lock, once the last user lets go
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = files_.find(id);
    if (it == files_.end()) return;
    file = std::move(it->second);
    files_.erase(it);
  }

 private:
  std::mutex mutex_;
  std::unordered_map<FileHandleId, SharedFile> files_;
  FileHandleId next_ = 1;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

FileHandleId OpenFileHandle(const std::string& path, int32_t mode, int32_t flags) {
  platform::OpenMode openMode;
  switch (mode) {
    case 0:
      openMode = platform::OpenMode::Read;
      break;
    case 1:
      openMode = platform::OpenMode::WriteCreate;
      break;
    case 2:
      openMode = platform::OpenMode::ReadWriteCreate;
      break;
    default:
      return 0;
  }
  if (path.empty()) return 0;
  // Only a regular file opens (platform::OpenRegularFile): a folder, or a FIFO or device where
  // a sound file or schedule should be, neither hangs the open nor yields a handle.
  platform::FileHandle file;
  if (file.Open(platform::ToNativePath(path), openMode) != 0 || !file.IsOpen()) return 0;
  return Table().Add(std::move(file));
}

void CloseFileHandle(FileHandleId& handle) {
  if (handle != 0) Table().Remove(handle);
  handle = 0;
}

FileHandleId ReadFileToMemEx(void* dst, int64_t byteCount, int64_t offset, FileHandleId& handle,
                             const std::string& path, bool closeAfter, int64_t* bytesRead) {
  if (bytesRead) *bytesRead = 0;
  if (handle == 0) {
    handle = OpenFileHandle(path, 0);
    if (handle == 0) return 0;
    // Opening for a series of reads: hand the new handle over without reading.
    if (byteCount == 0 && !closeAfter) return handle;
  }

  SharedFile file = Table().Find(handle);
  bool ok =
      file != nullptr && byteCount >= 0 && (dst != nullptr || byteCount == 0) && file->Seek(offset);
  int64_t got = 0;
  if (ok && byteCount > 0) {
    got = file->Read(dst, byteCount);
    ok = got >= 0;
  }
  file.reset();
  if (!ok) {
    // The handle is closed on failure, also one the caller passed in; zeroing the caller's
    // variable keeps it from using or closing a handle that is gone.
    CloseFileHandle(handle);
    return 0;
  }
  // Meeting the end of the file counts as success; what lies past it reads as zeros.
  if (got < byteCount) {
    std::memset(static_cast<char*>(dst) + got, 0, static_cast<size_t>(byteCount - got));
  }
  if (bytesRead) *bytesRead = got;
  if (closeAfter) {
    CloseFileHandle(handle);
    return 1;
  }
  return handle;
}

int32_t SeekFileAt(FileHandleId handle, int64_t offset) {
  SharedFile file = Table().Find(handle);
  if (!file || offset < 0) return -1;
  return file->Seek(offset) ? 0 : -1;
}

int64_t GetFileSizeOfHandle(FileHandleId handle) {
  SharedFile file = Table().Find(handle);
  if (!file) return -1;
  const int64_t size = file->Size();
  return size < 0 ? -1 : size;
}

int64_t GetFileSizeByPath(const std::string& path) {
  FileHandleId handle = OpenFileHandle(path, 0);
  if (handle == 0) return 0;
  const int64_t size = GetFileSizeOfHandle(handle);
  CloseFileHandle(handle);
  return size < 0 ? 0 : size;
}

int64_t WriteFileHandle(FileHandleId handle, const void* src, int64_t count) {
  SharedFile file = Table().Find(handle);
  if (!file || count < 0 || (src == nullptr && count > 0)) return -1;
  if (count == 0) return 0;
  return file->Write(src, count);
}

std::optional<platform::FileInfo> StatFileHandle(FileHandleId handle) {
  SharedFile file = Table().Find(handle);
  if (!file || !file->IsOpen()) return std::nullopt;
  // The descriptor's entry under /proc names the open file itself (even one renamed or deleted
  // since it was opened), so the platform's stat reads that file's times.
  return platform::StatPath("/proc/self/fd/" + std::to_string(file->fd()));
}

}  // namespace foundation
