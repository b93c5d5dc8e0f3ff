#include "platform/window_registry_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/file_lock.h"

namespace platform {

namespace {

constexpr size_t kMaxPlainStemBytes = 48;
constexpr int kFolderLockWaitMs = 2000;
constexpr char kFolderLockName[] = "registry.lock";

std::mutex& OverrideMutex() {
  static std::mutex m;
  return m;
}

std::string& OverrideFolder() {
  static std::string folder;
  return folder;
}

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

std::string ErrnoText(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

bool IsPlainStemByte(unsigned char c, bool first) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  if (c == '-' || c == '_') return true;
  return c == '.' && !first;
}

// One folder level: created with 0700 when missing; must then be a real folder (not a link).
bool MakeFolder(const std::string& path, std::string* error) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    SetError(error, ErrnoText("cannot create", path));
    return false;
  }
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    SetError(error, ErrnoText("cannot examine", path));
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    SetError(error, "not a folder: " + path);
    return false;
  }
  return true;
}

}  // namespace

std::string WindowRegistryFolder() {
  {
    std::lock_guard<std::mutex> lock(OverrideMutex());
    if (!OverrideFolder().empty()) return OverrideFolder();
  }
  const char* env = std::getenv(kWindowRegistryDirEnv);
  if (env && *env) return env;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime == '/') {
    return std::string(runtime) + "/" + kWindowRegistryCompany + "/windows";
  }
  return "/tmp/" + std::string(kWindowRegistryCompany) + "-" + std::to_string(geteuid()) +
         "/windows";
}

void SetWindowRegistryFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(OverrideMutex());
  OverrideFolder() = folder;
}

bool EnsureWindowRegistryFolder(const std::string& folder, std::string* error) {
  if (folder.empty() || folder[0] != '/') {
    SetError(error, "window registry folder is not an absolute path: " + folder);
    return false;
  }
  // Create the missing levels from the top; only the last one must be ours and closed to others
  // (the parents may be shared folders such as /tmp).
  for (size_t pos = folder.find('/', 1); pos != std::string::npos;
       pos = folder.find('/', pos + 1)) {
    const std::string part = folder.substr(0, pos);
    struct stat st {};
    if (stat(part.c_str(), &st) == 0) continue;
    if (!MakeFolder(part, error)) return false;
  }
  if (!MakeFolder(folder, error)) return false;
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0) {
    SetError(error, ErrnoText("cannot examine", folder));
    return false;
  }
  if (st.st_uid != geteuid()) {
    SetError(error, "window registry folder belongs to another user: " + folder);
    return false;
  }
  if ((st.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0) {
    SetError(error, ErrnoText("cannot close", folder));
    return false;
  }
  return true;
}

std::string CaptionFileStem(std::string_view caption) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string stem;
  stem.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    const auto c = static_cast<unsigned char>(caption[i]);
    if (IsPlainStemByte(c, i == 0)) {
      stem.push_back(static_cast<char>(c));
    } else {
      stem.push_back('%');
      stem.push_back(kHex[c >> 4]);
      stem.push_back(kHex[c & 0x0F]);
    }
    if (stem.size() > kMaxPlainStemBytes) break;
  }
  if (stem.size() <= kMaxPlainStemBytes && !stem.empty()) return stem;
  const QByteArray digest =
      QCryptographicHash::hash(QByteArray(caption.data(), static_cast<qsizetype>(caption.size())),
                               QCryptographicHash::Sha256)
          .toHex();
  return "#" + digest.left(40).toStdString();
}

RegistryFolderLock::RegistryFolderLock(const std::string& folder, Mode mode)
    : exclusive_(mode == Mode::kExclusive) {
  const std::string path = folder + "/" + kFolderLockName;
  fd_.reset(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd_.valid()) return;
  // Holds are a few system calls long, so the wait is bounded for a holder that is stopped.
  locked_ = LockFileWithin(fd_.get(), exclusive_ ? FileLockKind::kExclusive : FileLockKind::kShared,
                           kFolderLockWaitMs);
}

int64_t RegistryFolderLock::NextSequence() {
  if (!locked_ || !exclusive_) return 0;
  char buf[32] = {};
  const ssize_t n = pread(fd_.get(), buf, sizeof(buf) - 1, 0);
  int64_t last = 0;
  for (ssize_t i = 0; i < n && buf[i] >= '0' && buf[i] <= '9'; ++i) {
    if (last > (INT64_MAX - 9) / 10) {
      last = 0;  // a garbled counter starts over rather than overflowing
      break;
    }
    last = last * 10 + (buf[i] - '0');
  }
  const int64_t next = last + 1;
  const std::string text = std::to_string(next) + "\n";
  if (pwrite(fd_.get(), text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) return 0;
  if (ftruncate(fd_.get(), static_cast<off_t>(text.size())) != 0) return 0;
  return next;
}

}  // namespace platform
