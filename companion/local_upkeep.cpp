// Upkeep of the local store and of the log folders: unused sound files deleted when space runs
// short, old local play logs once the server holds them, old debug logs.
#include <algorithm>

#include "companion/companion_engine.h"
#include "companion/companion_files.h"
#include "foundation/date_stamp.h"
#include "foundation/file_times.h"
#include "foundation/files.h"
#include "foundation/folders.h"
#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace companion {

namespace {

// The work folders below LocalPath, whose own files the upkeep never deletes.
const std::vector<std::string>& WorkFolders() {
  static const std::vector<std::string> names = {"conf", "command", "sched", "log"};
  return names;
}

constexpr int64_t kEnoughFreeBytes = int64_t{12} << 30;
// A store holding more files than this loses every unused one, whatever the free space.
constexpr size_t kMaxStoreFiles = 1440;
constexpr int32_t kLocalLogDays = 4;
constexpr int32_t kDebugLogDays = 90;

bool InWorkFolder(const std::string& rel) {
  const size_t slash = rel.find('/');
  if (slash == std::string::npos || rel.find('/', slash + 1) != std::string::npos) return false;
  const std::string_view folder = std::string_view(rel).substr(0, slash);
  return std::any_of(WorkFolders().begin(), WorkFolders().end(), [&](const std::string& w) {
    return platform::EqualsIgnoringAsciiCase(w, folder);
  });
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() &&
         platform::EqualsIgnoringAsciiCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

void CompanionEngine::TidyLocalStore() {
  if (foundation::FolderExists(settings_.LocalPath) == 0) return;
  RemoveEmptyFolders(settings_.LocalPath, false, WorkFolders());
  ports_.fh1->DelAllTempfile(settings_.LocalPath);
  for (const std::string* folder : {&settings_.LocalConfFolder, &settings_.LocalSchedFolder,
                                    &settings_.LocalLogFolder, &settings_.LocalCommandFolder}) {
    if (!folder->empty() && foundation::FolderExists(*folder) == 0 &&
        foundation::MakeFolder(*folder) == 0) {
      Log("MakeFolder Failed " + *folder, platform::LogSeverity::kError);
    }
  }
}

bool CompanionEngine::PurgeLocalFolder() {
  // What is on air is known only once the snapshot has been read (or is known to be missing).
  if (!snapshotSettled_) return false;
  const std::vector<std::string> files = ListFilesBelow(settings_.LocalPath, "tip");
  bool enough = false;
  for (const std::string& rel : files) {
    if (InWorkFolder(rel)) continue;
    if (!enough) {
      const int64_t free = ports_.disk->FreeBytes(settings_.LocalPath);
      // A volume that cannot be measured is not emptied on a guess.
      enough = free < 0 || free > kEnoughFreeBytes;
    }
    if (!enough || files.size() > kMaxStoreFiles) KillLocalFile(rel);
    ports_.pauses->Pump();
  }
  return true;
}

void CompanionEngine::KillLocalFile(const std::string& relPath) {
  if (EndsWithIgnoringCase(relPath, ".tip") || IsFileScheduled(relPath, kBothLists) != 0) return;
  const std::string path = settings_.LocalPath + relPath;
  foundation::DeleteFileForce(path);
  foundation::DeleteFileForce(path + ".tip");
  ShowStatus("Kill " + path);
  Log("ファイル削除 " + path);
}

void CompanionEngine::PurgeLocalLogs() {
  const auto entries = platform::ListDirectory(platform::ToNativePath(settings_.LocalLogFolder));
  if (!entries || settings_.ServerLogFolder.empty()) return;
  const std::string cutoff = foundation::FormatDateStampAt(ports_.clock->Now(), 0, -kLocalLogDays);
  for (const platform::DirEntry& e : *entries) {
    if (e.isDirectory || e.isSymlink) continue;
    const std::string local = settings_.LocalLogFolder + e.name;
    const std::string stamp = foundation::GetFileTimeText(local, 2, 3, 1);
    if (stamp.empty() || stamp >= cutoff) continue;
    // Only a log the server holds whole may go.
    const auto localInfo = platform::StatPath(platform::ToNativePath(local));
    const auto serverInfo =
        platform::StatPath(platform::ToNativePath(settings_.ServerLogFolder + e.name));
    if (!localInfo || !serverInfo || !serverInfo->isRegular || serverInfo->size < localInfo->size)
      continue;
    foundation::DeleteFileForce(local);
  }
}

void CompanionEngine::PurgeDebugLogs() {
  // Only the log files themselves: the folder may be the program's own.
  if (settings_.DebugLogPath.empty()) return;
  for (const char* ext : {".log", ".err"})
    foundation::PurgeFolderTree(settings_.DebugLogPath, true, kDebugLogDays, ext, false);
}

}  // namespace companion
