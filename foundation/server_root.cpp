#include "foundation/server_root.h"

#include <mutex>
#include <optional>
#include <vector>

#include "foundation/server_reachability.h"
#include "foundation/station_settings.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace foundation {

namespace {

struct RootRecord {
  std::string root;
  bool present = true;     // as last found; a root not looked at before counts as there
  bool onNetwork = false;  // it was found on a network mount
};

struct RootState {
  std::mutex mutex;
  std::vector<RootRecord> records;
};

RootState& State() {
  static RootState* state = new RootState();  // outlives static destructors
  return *state;
}

bool IsUnc(const std::string& path) { return !platform::UncHost(path).empty(); }

bool IsFolder(const std::string& native) {
  const auto info = platform::StatPath(native);
  return info && info->isDirectory;
}

// Whether the root is there now, and whether it lies on a network mount.
bool PresentNow(const std::string& root, const std::vector<platform::MountEntry>& mounts,
                bool& onNetwork) {
  if (IsUnc(root)) {
    // Unmounted, "//host/share" would name a folder under the local root: never the share.
    onNetwork = true;
    return platform::ResolveUncPath(root, mounts).has_value() &&
           IsFolder(platform::ToNativePath(root, mounts));
  }
  const std::string native = platform::ToNativePath(root, mounts);
  onNetwork = !platform::NetworkSourceHost(platform::LexicalAbsolutePath(native), mounts).empty();
  return IsFolder(native);
}

// The absolute text a path compares by; "" when it cannot be made.
std::string ComparableForm(const std::string& path,
                           const std::vector<platform::MountEntry>& mounts) {
  if (IsUnc(path)) {
    if (const std::optional<std::string> resolved = platform::ResolveUncPath(path, mounts))
      return platform::LexicalAbsolutePath(*resolved);
  }
  return platform::LexicalAbsolutePath(path);
}

// Whether `folder` is `root` or a folder above it (both in comparable form).
bool AtOrAbove(const std::string& folder, const std::string& root) {
  if (folder == "/") return true;
  if (root.size() < folder.size()) return false;
  if (root.size() > folder.size() && root[folder.size()] != '/') return false;
  return platform::FileNamesEqualIgnoringCase(std::string_view(root).substr(0, folder.size()),
                                              folder);
}

}  // namespace

int32_t CheckServerRoot(const std::string& root, const RootLog& log) {
  if (root.empty()) return 0;
  bool onNetwork = false;
  bool present = PresentNow(root, CurrentMountTable(), onNetwork);
  std::string line;
  {
    RootState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    RootRecord* record = nullptr;
    for (RootRecord& r : state.records)
      if (r.root == root) record = &r;
    if (record == nullptr) {
      state.records.push_back(RootRecord{root});
      record = &state.records.back();
    }
    if (present && !onNetwork && record->onNetwork) present = false;  // the share went away
    if (present && onNetwork) record->onNetwork = true;
    if (present != record->present)
      line = (present ? "サーバーフォルダ発見 " : "サーバーフォルダなし ") + root;
    record->present = present;
  }
  if (!line.empty() && log) log(line);
  return present ? 1 : 0;
}

bool IsAtOrAboveServerRoot(const std::string& path) {
  if (path.empty()) return false;
  std::vector<std::string> roots;
  bool needMounts = IsUnc(path);
  for (const std::string& root : Station().SrvPath) {
    if (root.empty()) continue;
    roots.push_back(root);
    needMounts = needMounts || IsUnc(root);
  }
  if (roots.empty()) return false;
  const std::vector<platform::MountEntry> mounts =
      needMounts ? CurrentMountTable() : std::vector<platform::MountEntry>{};
  const std::string folder = ComparableForm(path, mounts);
  if (folder.empty()) return false;
  for (const std::string& root : roots) {
    const std::string r = ComparableForm(root, mounts);
    if (!r.empty() && AtOrAbove(folder, r)) return true;
  }
  return false;
}

void ForgetServerRoots() {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().records.clear();
}

}  // namespace foundation
