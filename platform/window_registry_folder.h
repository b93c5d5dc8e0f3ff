#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/unique_fd.h"

namespace platform {

// The per-user folder in which every top-level window of our programs registers its caption.
// Each registration is a pair of files named after the caption: `<stem>.lock` (held locked by
// the owning process for as long as the window lives; it also records the caption, the window
// handle and the owner's pid) and `<stem>.sock` (the Unix stream socket the window's messages
// arrive on). A folder-wide lock file serialises claims, clean-ups and look-ups, and counts the
// registrations so that handles are never reused while the folder exists.

// Moves the folder, for tests and odd set-ups. Overridden in turn by SetWindowRegistryFolder.
inline constexpr const char kWindowRegistryDirEnv[] = "ONDRAKE_WINDOW_REGISTRY_DIR";

// The maker's name, the folder below the runtime folder.
inline constexpr const char kWindowRegistryCompany[] = "Tarnwick";

// Captions longer than this many bytes cannot be registered.
inline constexpr size_t kMaxCaptionBytes = 1024;

// The folder in use: the one given to SetWindowRegistryFolder, else $ONDRAKE_WINDOW_REGISTRY_DIR,
// else $XDG_RUNTIME_DIR/Tarnwick/windows, else /tmp/Tarnwick-<uid>/windows. Read anew on every
// call, so a test may change it between cases.
std::string WindowRegistryFolder();

// Sets the folder for this process; "" goes back to the environment and the default.
void SetWindowRegistryFolder(const std::string& folder);

// Creates the folder (and missing parents) with mode 0700 and makes sure it is a real folder
// owned by this user that nobody else can enter (a wider mode of our own folder is narrowed).
// False, with the reason in `error` when given, when the folder cannot be used.
bool EnsureWindowRegistryFolder(const std::string& folder, std::string* error = nullptr);

// The file name stem of a caption: its UTF-8 bytes with everything but ASCII letters, digits,
// '-', '_' and a non-leading '.' percent-encoded, so "Ondrake - Tarnwick" becomes
// "Ondrake%20-%20Tarnwick". A stem longer than 48 bytes is replaced by '#' and 40 hex digits of
// the caption's SHA-256, which keeps socket paths inside the 108-byte limit; the caption itself
// is kept in the lock file, so a hash collision is detected rather than mistaken for a match.
std::string CaptionFileStem(std::string_view caption);

// The folder-wide lock, held for the life of the object. Waits a bounded time (about 2 s) for
// another process's short hold to end; when that fails, locked() is false and the caller must
// give up, so a stopped process can never freeze a window that looks for another.
class RegistryFolderLock {
 public:
  enum class Mode { kShared, kExclusive };

  RegistryFolderLock(const std::string& folder, Mode mode);
  RegistryFolderLock(const RegistryFolderLock&) = delete;
  RegistryFolderLock& operator=(const RegistryFolderLock&) = delete;

  bool locked() const { return locked_; }

  // The next registration number (1, 2, ...; kept in the lock file). Only under an exclusive
  // hold; 0 when the number cannot be stored.
  int64_t NextSequence();

 private:
  UniqueFd fd_;  // closing it drops the hold
  bool locked_ = false;
  bool exclusive_ = false;
};

}  // namespace platform
