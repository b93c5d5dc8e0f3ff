#include "platform/window_registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/window_registry_folder.h"

namespace platform {

namespace {

constexpr char kLockSuffix[] = ".lock";
constexpr char kSocketSuffix[] = ".sock";
constexpr char kFolderLockName[] = "registry.lock";
constexpr char kMetadataTag[] = "window";
constexpr char kMetadataEnd[] = "end";
constexpr int kListenBacklog = 64;
// Tag, two numbers, the caption in hex and the end mark, with room to spare.
constexpr size_t kMaxMetadataBytes = 2 * kMaxCaptionBytes + 256;

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

bool EndsWith(const std::string& s, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// The owner's claim is a write lock on byte 0 of its lock file. Open-file-description locks
// are used because, unlike flock, they can be tested without being taken, so a look-up never
// disturbs a process that is claiming at the same moment; like flock, they go away with the
// owner's last descriptor, so a crashed window frees its caption.
struct flock OwnerLockRange() {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 1;
  return fl;
}

bool TakeOwnerLock(int fd) {
  struct flock fl = OwnerLockRange();
  return fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

bool OwnerLockHeld(int fd) {
  struct flock fl = OwnerLockRange();
  if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;
  return fl.l_type != F_UNLCK;
}

std::string HexEncode(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out.push_back(kHex[c >> 4]);
    out.push_back(kHex[c & 0x0F]);
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool HexDecode(const std::string& hex, std::string* out) {
  if (hex.size() % 2 != 0) return false;
  out->clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexDigit(hex[i]);
    const int lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out->push_back(static_cast<char>(hi * 16 + lo));
  }
  return true;
}

bool ParsePositive(const std::string& text, int64_t* value) {
  if (text.empty() || text.size() > 18) return false;
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v <= 0) return false;
  *value = v;
  return true;
}

std::string FormatMetadata(const WindowInfo& info) {
  return std::string(kMetadataTag) + "\n" + std::to_string(info.handle) + "\n" +
         std::to_string(info.pid) + "\n" + HexEncode(info.caption) + "\n" + kMetadataEnd + "\n";
}

// Reads what a lock file records. Anything short, garbled or oversized counts as no window.
bool ReadMetadata(int fd, WindowInfo* info) {
  std::string buf(kMaxMetadataBytes + 1, '\0');
  size_t got = 0;
  while (got < buf.size()) {
    const ssize_t n = pread(fd, buf.data() + got, buf.size() - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  if (got == 0 || got > kMaxMetadataBytes) return false;
  buf.resize(got);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl = buf.find('\n'); nl != std::string::npos; nl = buf.find('\n', start)) {
    lines.push_back(buf.substr(start, nl - start));
    start = nl + 1;
  }
  if (start != buf.size() || lines.size() != 5) return false;
  if (lines[0] != kMetadataTag || lines[4] != kMetadataEnd) return false;
  int64_t handle = 0;
  int64_t pid = 0;
  if (!ParsePositive(lines[1], &handle) || !ParsePositive(lines[2], &pid)) return false;
  std::string caption;
  if (!HexDecode(lines[3], &caption) || caption.empty()) return false;
  info->caption = std::move(caption);
  info->handle = handle;
  info->pid = static_cast<pid_t>(pid);
  return true;
}

// What the lock file of one registered stem shows.
struct EntryLook {
  bool opened = false;               // false: the lock file could not be opened (gone)
  bool held = false;                 // its owner is alive
  std::optional<WindowInfo> window;  // held and its record is whole, endpoint filled in
};

EntryLook LookAtEntry(const std::string& folder, const std::string& stem) {
  EntryLook look;
  const std::string lockPath = folder + "/" + stem + kLockSuffix;
  const UniqueFd fd(open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (!fd.valid()) return look;
  look.opened = true;
  look.held = OwnerLockHeld(fd.get());
  WindowInfo info;
  if (look.held && ReadMetadata(fd.get(), &info)) {
    info.endpoint = folder + "/" + stem + kSocketSuffix;
    look.window = std::move(info);
  }
  return look;
}

// The window registered under `stem`, when its owner is alive and its record is whole.
std::optional<WindowInfo> ReadLiveWindow(const std::string& folder, const std::string& stem) {
  return LookAtEntry(folder, stem).window;
}

// Removes the files of windows whose owners are gone. Only under the folder lock, which keeps
// claims (exclusive holders) out, so an unlocked lock file is truly abandoned.
void RemoveStaleEntry(const std::string& folder, const std::string& stem) {
  unlink((folder + "/" + stem + kSocketSuffix).c_str());
  unlink((folder + "/" + stem + kLockSuffix).c_str());
}

// Every registered stem of the folder; stale entries are removed and left out.
std::vector<WindowInfo> ScanFolder(const std::string& folder) {
  std::vector<WindowInfo> windows;
  std::vector<std::string> lockStems;
  std::vector<std::string> socketStems;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return windows;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == kFolderLockName) continue;
    if (EndsWith(name, kLockSuffix)) {
      lockStems.push_back(name.substr(0, name.size() - std::strlen(kLockSuffix)));
    } else if (EndsWith(name, kSocketSuffix)) {
      socketStems.push_back(name.substr(0, name.size() - std::strlen(kSocketSuffix)));
    }
  }
  closedir(dir);
  for (const std::string& stem : lockStems) {
    EntryLook look = LookAtEntry(folder, stem);
    if (!look.opened) continue;
    if (!look.held) {
      RemoveStaleEntry(folder, stem);
    } else if (look.window) {
      windows.push_back(std::move(*look.window));
    }
  }
  // A socket without its lock file was left by an owner that died while unregistering.
  for (const std::string& stem : socketStems) {
    if (std::find(lockStems.begin(), lockStems.end(), stem) == lockStems.end()) {
      unlink((folder + "/" + stem + kSocketSuffix).c_str());
    }
  }
  std::sort(windows.begin(), windows.end(),
            [](const WindowInfo& a, const WindowInfo& b) { return a.handle < b.handle; });
  return windows;
}

bool FolderExists(const std::string& folder) {
  struct stat st {};
  return lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::unique_ptr<WindowRegistration> WindowRegistration::Claim(const std::string& caption,
                                                              std::string* error, bool* taken) {
  if (taken) *taken = false;
  if (caption.empty() || caption.size() > kMaxCaptionBytes ||
      caption.find('\0') != std::string::npos) {
    SetError(error, "caption is empty, too long or holds a NUL");
    return nullptr;
  }
  const std::string folder = WindowRegistryFolder();
  if (!EnsureWindowRegistryFolder(folder, error)) return nullptr;
  const std::string stem = CaptionFileStem(caption);
  const std::string socketPath = folder + "/" + stem + kSocketSuffix;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof(addr.sun_path)) {
    SetError(error, "window registry folder path is too long for a socket: " + folder);
    return nullptr;
  }
  std::memcpy(addr.sun_path, socketPath.c_str(), socketPath.size() + 1);

  RegistryFolderLock folderLock(folder, RegistryFolderLock::Mode::kExclusive);
  if (!folderLock.locked()) {
    SetError(error, "window registry folder is busy: " + folder);
    return nullptr;
  }
  ScanFolder(folder);  // clears stale entries, this caption's included

  std::unique_ptr<WindowRegistration> reg(new WindowRegistration());
  reg->lockPath_ = folder + "/" + stem + kLockSuffix;
  reg->lockFd_.reset(open(reg->lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!reg->lockFd_.valid()) {
    SetError(error, "cannot open " + reg->lockPath_ + ": " + std::strerror(errno));
    return nullptr;
  }
  if (!TakeOwnerLock(reg->lockFd_.get())) {
    WindowInfo holder;
    const bool same = ReadMetadata(reg->lockFd_.get(), &holder) && holder.caption == caption;
    SetError(error, same ? "a window already bears the caption: " + caption
                         : "the caption's registry name is held by another caption: " + caption);
    if (taken) *taken = true;
    reg->lockFd_.reset();  // not ours: the destructor must not remove the holder's files
    return nullptr;
  }
  // From here the caption is ours; whatever a dead owner left is replaced. A failure removes
  // the half-made entry (without the folder lock, which this call already holds).
  if (ftruncate(reg->lockFd_.get(), 0) != 0) {
    SetError(error, "cannot reset " + reg->lockPath_ + ": " + std::strerror(errno));
    reg->Remove(false);
    return nullptr;
  }
  unlink(socketPath.c_str());
  reg->info_.endpoint = socketPath;
  reg->listenFd_.reset(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  const int listenFd = reg->listenFd_.get();
  if (listenFd < 0 || bind(listenFd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0 ||
      chmod(socketPath.c_str(), 0600) != 0 || listen(listenFd, kListenBacklog) != 0) {
    SetError(error, "cannot open the message socket " + socketPath + ": " + std::strerror(errno));
    reg->Remove(false);
    return nullptr;
  }
  reg->info_.caption = caption;
  reg->info_.pid = getpid();
  reg->info_.handle = folderLock.NextSequence();
  const std::string record = FormatMetadata(reg->info_);
  if (reg->info_.handle <= 0 || pwrite(reg->lockFd_.get(), record.data(), record.size(), 0) !=
                                    static_cast<ssize_t>(record.size())) {
    SetError(error, "cannot record the window in " + reg->lockPath_);
    reg->Remove(false);
    return nullptr;
  }
  return reg;
}

std::unique_ptr<WindowRegistration> WindowRegistration::ClaimFirstFree(
    const std::vector<std::string>& captions, size_t* index, std::string* error) {
  std::string lastError = "no caption to claim";
  for (size_t i = 0; i < captions.size(); ++i) {
    std::string why;
    if (auto reg = Claim(captions[i], &why)) {
      if (index) *index = i;
      return reg;
    }
    lastError = why;
  }
  SetError(error, lastError);
  return nullptr;
}

WindowRegistration::~WindowRegistration() { Remove(true); }

void WindowRegistration::Remove(bool takeFolderLock) {
  if (lockFd_.valid()) {
    // The folder lock keeps look-ups from reading a half-removed entry; the removal goes ahead
    // without it when it cannot be had, as the caption lock still makes it ours to remove.
    std::optional<RegistryFolderLock> folderLock;
    if (takeFolderLock) {
      folderLock.emplace(lockPath_.substr(0, lockPath_.rfind('/')),
                         RegistryFolderLock::Mode::kExclusive);
    }
    if (!info_.endpoint.empty()) unlink(info_.endpoint.c_str());
    unlink(lockPath_.c_str());
    lockFd_.reset();
  }
  listenFd_.reset();
}

std::optional<WindowInfo> FindWindowExact(const std::string& caption) {
  if (caption.empty()) return std::nullopt;
  const std::string folder = WindowRegistryFolder();
  if (!FolderExists(folder)) return std::nullopt;
  RegistryFolderLock folderLock(folder, RegistryFolderLock::Mode::kShared);
  if (!folderLock.locked()) return std::nullopt;
  auto info = ReadLiveWindow(folder, CaptionFileStem(caption));
  if (!info || info->caption != caption) return std::nullopt;
  return info;
}

std::optional<WindowInfo> FindWindowByPrefix(const std::string& prefix) {
  for (WindowInfo& info : EnumerateWindows()) {
    if (info.caption.compare(0, prefix.size(), prefix) == 0) return std::move(info);
  }
  return std::nullopt;
}

std::optional<WindowInfo> FindWindowByHandle(int64_t handle) {
  if (handle <= 0) return std::nullopt;
  for (WindowInfo& info : EnumerateWindows()) {
    if (info.handle == handle) return std::move(info);
  }
  return std::nullopt;
}

std::vector<WindowInfo> EnumerateWindows() {
  const std::string folder = WindowRegistryFolder();
  if (!FolderExists(folder)) return {};
  RegistryFolderLock folderLock(folder, RegistryFolderLock::Mode::kShared);
  if (!folderLock.locked()) return {};
  return ScanFolder(folder);
}

}  // namespace platform
