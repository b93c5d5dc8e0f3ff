#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace transfer {

// The outcome of moving one chunk: how many bytes went, and which side failed.
struct ChunkResult {
  int64_t copied = 0;  // fewer than asked (without an error) means the source ended early
  int readError = 0;   // errno of a failed read of the source, else 0
  int writeError = 0;  // errno of a failed write of the target, else 0
};

// Everything the transfer engine does to files and folders, on native paths (stored paths are
// converted once, where an operation starts). Results are 0 or an errno value unless stated.
// The real one works on the disk through the platform layer; tests put a wrapper in between
// that fails chosen calls the way a disk or a file server can (I/O errors mid-file, a full disk,
// a file that vanishes, a refused rename). Calls may come from any one thread at a time per
// engine, and from several engines at once.
class TransferFileSystem {
 public:
  virtual ~TransferFileSystem() = default;

  // Opens a file (only a regular file is kept); CreateNew claims a name nobody holds.
  virtual int Open(const std::string& path, platform::OpenMode mode,
                   platform::FileHandle& file) = 0;
  // Size and times of an open file.
  virtual int StatOpen(const platform::FileHandle& file, platform::FileInfo& info) = 0;
  // Moves the next `count` bytes of `from` to `to`. `buffer` is scratch space the call may
  // grow to at most `count` bytes, for files the kernel cannot copy by itself.
  virtual ChunkResult CopyChunk(platform::FileHandle& from, platform::FileHandle& to, int64_t count,
                                std::vector<char>& buffer) = 0;
  // Reads up to `count` bytes at the current position: the count read (short only at the
  // end), or -1 with `error` set.
  virtual int64_t Read(platform::FileHandle& file, char* dst, int64_t count, int& error) = 0;
  virtual int SetWriteTime(platform::FileHandle& file, int64_t sec, int64_t nsec) = 0;
  // Closes a file written to, reporting a write error that surfaces only now.
  virtual int Close(platform::FileHandle& file) = 0;

  // Information on a path, the final link followed unless noFollow.
  virtual int Stat(const std::string& path, bool noFollow, platform::FileInfo& info) = 0;
  // Every entry of a folder in byte order of the names (a walk stopped at a limit or a cancel
  // then stops at the same entry every run), or the error that kept the listing from being
  // complete.
  virtual int List(const std::string& path, std::vector<platform::DirEntry>& entries) = 0;
  virtual int DeleteFile(const std::string& path) = 0;
  // Renames a file; with replace an existing target is replaced in one step, without it an
  // existing target gives EEXIST.
  virtual int Rename(const std::string& from, const std::string& to, bool replace) = 0;
  // Makes one folder; the real one never makes a server root or a folder above one.
  virtual int MakeFolder(const std::string& path) = 0;
  // Makes the folder and every missing folder above it (the same limit).
  virtual int MakeFolderTree(const std::string& path) = 0;
  // Deletes a folder with everything in it, following no links.
  virtual int PurgeFolder(const std::string& path) = 0;
  // Whether both paths name one file (one inode), whatever their spelling.
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;
};

// The disk, through the platform layer.
class PlatformTransferFileSystem : public TransferFileSystem {
 public:
  int Open(const std::string& path, platform::OpenMode mode, platform::FileHandle& file) override;
  int StatOpen(const platform::FileHandle& file, platform::FileInfo& info) override;
  ChunkResult CopyChunk(platform::FileHandle& from, platform::FileHandle& to, int64_t count,
                        std::vector<char>& buffer) override;
  int64_t Read(platform::FileHandle& file, char* dst, int64_t count, int& error) override;
  int SetWriteTime(platform::FileHandle& file, int64_t sec, int64_t nsec) override;
  int Close(platform::FileHandle& file) override;
  int Stat(const std::string& path, bool noFollow, platform::FileInfo& info) override;
  int List(const std::string& path, std::vector<platform::DirEntry>& entries) override;
  int DeleteFile(const std::string& path) override;
  int Rename(const std::string& from, const std::string& to, bool replace) override;
  int MakeFolder(const std::string& path) override;
  int MakeFolderTree(const std::string& path) override;
  int PurgeFolder(const std::string& path) override;
  bool SameFile(const std::string& a, const std::string& b) override;
};

// The process's one real file system (stateless, shared by every engine).
TransferFileSystem& DiskFileSystem();

}  // namespace transfer
