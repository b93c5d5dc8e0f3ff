// The on-air monitor (the playout's snapshot) and the play logs carried to the server.

#include "companion/companion_engine.h"
#include "companion/companion_files.h"
#include "companion/schedule_files.h"
#include "foundation/date_stamp.h"
#include "foundation/file_handles.h"
#include "foundation/file_times.h"
#include "foundation/files.h"
#include "foundation/folders.h"
#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace companion {

namespace {

// Sizes in the log lines are the low 32 bits of the byte count, as a signed number.
std::string Size32(const std::string& path) {
  const int64_t size = foundation::GetFileSizeByPath(path);
  return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(size)));
}

}  // namespace

int32_t CompanionEngine::InputSchedMon() {
  Raised busy(busyFlag_);
  const std::string name = "out_" + settings_.AirFileStem() + ".cue";
  const std::string local = settings_.LocalLogFolder + name;
  if (foundation::FileExists(local) == 0) {
    snapshotSettled_ = true;  // nothing on air to protect
    return 0;
  }
  const std::string stamp = foundation::GetFileTimeText(local, 2, 3, 1);
  if (stamp == lastSnapshotStamp_) return 0;
  lastSnapshotStamp_ = stamp;
  // The rows read as gone while the copy runs, as they always have; the merge marks them again.
  lists::ListModel& list = lvs_[kOnAirList];
  MarkAllRows(list, CheckMark::kNotSeen);
  const std::string server = settings_.ServerLogFolder + name;
  ports_.fh0->TranspFile(local, server, 1, 0);
  Raised rebuilding(listRebuilding_[kOnAirList]);
  // The server copy is read, whatever the copy's outcome: a failed copy leaves the last one.
  std::vector<std::string> lines;
  ReadTextLines(server, lines);
  MergeSnapshotRows(lines, list);
  Changed(CompanionList::kOnAir);
  snapshotSettled_ = true;
  return 1;
}

void CompanionEngine::CheckLog() {
  ShowStatus("CheckLog");
  if (serverAlive_ == 0) return;
  const platform::WallTime now = ports_.clock->Now();
  const std::string name = foundation::FormatDateStampAt(now, settings_.HourAdjust, 0, 1, 1) + "_" +
                           settings_.AirFileStem() + ".txt";
  const std::string local = settings_.LocalLogFolder + name;
  const std::string server = settings_.ServerLogFolder + name;
  const int64_t size = foundation::GetFileSizeByPath(local);
  if (size < 1) return;
  const std::string stamp = foundation::GetFileTimeText(local, 2, 3, 1);
  // The stamp counts whole seconds: a line the playout adds within the second of the last
  // transfer shows only in the size, and would otherwise wait for the log's next change.
  const std::string seen = stamp.empty() ? stamp : stamp + " " + std::to_string(size);
  if (seen.empty() || seen == lastLogStamp_) return;
  lastLogStamp_ = seen;
  if (name != lastLogName_) {
    // A new broadcast day (or the first change since start): everything is synchronised, and
    // only then are old local logs purged.
    lastLogName_ = name;
    SyncLogs();
    Log("ローカルログ削除");
    PurgeLocalLogs();
    PurgeDebugLogs();
  } else {
    const std::string before = Size32(server);
    const int32_t r = AppendFileTail(local, server, 0, ports_.pauses);
    Log("ログ追記転送 r=" + std::to_string(r) + " Size=" + before + " - " + Size32(server));
  }
  // A log that did not reach the server whole (the server went away in the middle) is tried
  // again at the next pass, whether or not the playout writes to it meanwhile.
  if (foundation::GetFileSizeByPath(server) < foundation::GetFileSizeByPath(local))
    lastLogStamp_.clear();
}

int32_t CompanionEngine::SyncLogs() {
  if (foundation::FolderExists(settings_.ServerLogFolder) == 0 ||
      foundation::FolderExists(settings_.LocalLogFolder) == 0) {
    return 1;
  }
  const auto entries = platform::ListDirectory(platform::ToNativePath(settings_.LocalLogFolder));
  if (!entries) return 1;
  std::vector<std::string> names;
  for (const platform::DirEntry& e : *entries) {
    if (e.isDirectory || e.name.size() < 5) continue;
    const std::string_view ext = std::string_view(e.name).substr(e.name.size() - 4);
    if (platform::EqualsIgnoringAsciiCase(ext, ".txt")) names.push_back(e.name);
  }
  for (const std::string& f : names) {
    const std::string local = settings_.LocalLogFolder + f;
    const std::string server = settings_.ServerLogFolder + f;
    const int32_t r = AppendFileTail(local, server, 0, ports_.pauses);
    Log("ログ同期 r=" + std::to_string(r) + " " + local + " Size=" + Size32(local) + " " + server +
        " Size=" + Size32(server));
    ports_.pauses->Pump();
  }
  return 1;
}

}  // namespace companion
