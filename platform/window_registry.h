#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

namespace platform {

// The per-user registry of top-level windows by caption, which is how our programs find each
// other: the playout takes the first session whose caption no window bears, the companion
// watches the playout's caption, and messages go to the window a caption names. The folder and
// its files are described in window_registry_folder.h.

// One live registered window.
struct WindowInfo {
  std::string caption;   // UTF-8, exactly as registered
  int64_t handle = 0;    // > 0; registration number, never reused while the folder exists
  pid_t pid = 0;         // the owning process
  std::string endpoint;  // path of the window's message socket
};

// A claimed caption, held until the object is destroyed (or the process ends, even by a crash:
// the claim is a lock the system drops with the process).
class WindowRegistration {
 public:
  // Claims `caption` for this process in the current registry folder and opens its message
  // socket (listening, non-blocking). The claim is atomic: of several processes claiming the
  // same caption at once exactly one succeeds. A caption whose owner died is taken over and its
  // stale files replaced. Returns null when the caption is empty, too long or holds a NUL, when
  // a live window already bears it (`taken` set to true when given), or when the folder cannot
  // be used; `error` (when given) says why.
  static std::unique_ptr<WindowRegistration> Claim(const std::string& caption,
                                                   std::string* error = nullptr,
                                                   bool* taken = nullptr);

  // Claims the first caption of `captions` that no live window bears, trying them in order;
  // `index` (when given) receives its position. Null when every one is taken or unusable.
  // Two processes racing through the same list never end with the same caption.
  static std::unique_ptr<WindowRegistration> ClaimFirstFree(
      const std::vector<std::string>& captions, size_t* index = nullptr,
      std::string* error = nullptr);

  // Removes the registration: the caption becomes free and the socket file disappears.
  ~WindowRegistration();
  WindowRegistration(const WindowRegistration&) = delete;
  WindowRegistration& operator=(const WindowRegistration&) = delete;

  const std::string& caption() const { return info_.caption; }
  int64_t handle() const { return info_.handle; }
  const std::string& endpoint() const { return info_.endpoint; }
  const WindowInfo& info() const { return info_; }
  // The listening socket (non-blocking, close-on-exec); owned by this object.
  int listenFd() const { return listenFd_.get(); }

 private:
  WindowRegistration() = default;
  // Removes the files and closes the descriptors; `takeFolderLock` false when the caller
  // already holds the folder lock.
  void Remove(bool takeFolderLock);

  WindowInfo info_;
  std::string lockPath_;
  UniqueFd lockFd_;
  UniqueFd listenFd_;
};

// The live window whose caption is exactly `caption` (byte for byte), if any.
std::optional<WindowInfo> FindWindowExact(const std::string& caption);

// The oldest live window whose caption begins with `prefix` (case-sensitive, byte for byte), if
// any. An empty prefix matches every window.
std::optional<WindowInfo> FindWindowByPrefix(const std::string& prefix);

// The live window with this handle, if any.
std::optional<WindowInfo> FindWindowByHandle(int64_t handle);

// Every live top-level window, oldest registration first. Files left by windows whose owner
// died are removed on the way.
std::vector<WindowInfo> EnumerateWindows();

}  // namespace platform
