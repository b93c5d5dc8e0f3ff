// The copy queue: the sound files the schedules name, copied one per pass from server 1 into
// the local store, and the list of used files on the server.
#include <algorithm>
#include <map>

#include "companion/companion_engine.h"
#include "companion/companion_files.h"
#include "companion/schedule_files.h"
#include "foundation/file_handles.h"
#include "foundation/files.h"
#include "foundation/folders.h"
#include "platform/ascii_text.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace companion {

namespace {

constexpr int32_t kCopyChunkBytes = 524288;
constexpr int32_t kCopyPauseMs = 50;
constexpr int32_t kComparePauseMs = 100;
// The local upkeep runs at the first queued file and again after this much has been handled.
constexpr int64_t kUpkeepEveryBytes = int64_t{3} << 30;

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The form in which sound paths compare: ASCII lower case, '/' as the only separator.
std::string PathKey(const std::string& path) {
  std::string key = platform::LowerAscii(path);
  for (char& c : key)
    if (c == '\\') c = '/';
  return key;
}

// The path without the extension of its name (the snapshot names files without one).
std::string WithoutExtension(const std::string& key) {
  const size_t slash = key.rfind('/');
  const size_t dot = key.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return key;
  return key.substr(0, dot);
}

// The names in each folder of the local store that on-air rows point into, each folder read
// once per used list (keyed by PathKey of the folder).
using StoredNames = std::map<std::string, std::vector<std::string>>;

// The used-list lines for an on-air row: the snapshot names a sound without its extension, so
// the row stands for every stored file of that name, whatever its extension (the files the
// upkeep spares for it). A ".tip" is a companion, not a sound, and a ".scm" is a command item;
// a row whose file is no longer stored, or that points out of the store, names nothing.
std::vector<std::string> StoredFilesOf(const std::string& localPath, const std::string& sound,
                                       StoredNames& stored) {
  if (!IsContainedRelativePath(sound)) return {};
  const size_t separator = sound.find_last_of("\\/");
  const std::string folder = separator == std::string::npos ? "" : sound.substr(0, separator + 1);
  const std::string name = PathKey(sound.substr(folder.size()));
  if (name.empty()) return {};
  auto [names, fresh] = stored.try_emplace(PathKey(folder));
  if (fresh) {
    // In name order, as the folder is listed.
    if (const auto entries = platform::ListDirectory(platform::ToNativePath(localPath + folder))) {
      for (const platform::DirEntry& e : *entries)
        if (!e.isDirectory) names->second.push_back(e.name);
    }
  }
  std::vector<std::string> files;
  for (const std::string& entry : names->second) {
    const std::string lower = platform::LowerAscii(entry);
    if (EndsWith(lower, ".tip") || EndsWith(lower, ".scm")) continue;
    if (lower == name || WithoutExtension(lower) == name)
      files.push_back(platform::LowerAscii(folder + entry));
  }
  return files;
}

}  // namespace

int32_t CompanionEngine::IsFileScheduled(const std::string& path, SoundList which) const {
  std::string p = PathKey(path);
  if (p.size() > 4 && EndsWith(p, ".tip")) p.resize(p.size() - 4);
  const std::string bare = WithoutExtension(p);
  // One list when `which` names one, else both.
  const bool one = which == kScheduleList || which == kOnAirList;
  for (const SoundList l : {kScheduleList, kOnAirList}) {
    if (one && which != l) continue;
    const lists::ListModel& list = lvs_[l];
    for (int32_t r = 0; r < list.ItemCount(); ++r) {
      if (listRebuilding_[l] > 0) return 1;
      const std::string sound = PathKey(ConstScheduleRow(list, r).Sound());
      if (sound == p || (l == kOnAirList && sound == bare)) return 1;
    }
  }
  return 0;
}

void CompanionEngine::MakeCopyList(SoundList list, CopyListMode mode) {
  for (int32_t r = lvCopy_.ItemCount() - 1; r >= 0; --r) {
    const CopyRow queued(lvCopy_, r);
    const std::string rel = queued.RelPath();
    if (queued.IsTaken() || IsFileScheduled(rel, kBothLists) == 0) {
      lvCopy_.DeleteItem(r);
    } else if (queued.Lv() == kOnAirList && IsFileScheduled(rel, kOnAirList) == 0) {
      queued.SetLv(kScheduleList);
    }
  }
  const lists::ListModel& rows = LVS(list);
  // Rows are read afresh on every round: the pauses let other passes change the lists.
  for (int32_t r = 0; r < rows.ItemCount(); ++r) {
    const ConstScheduleRow row(rows, r);
    if (row.IsTmc()) continue;
    if (mode == kChangedRows && row.Checked() != CheckMark::kNew) continue;
    const std::string sound = row.Sound();
    if (EndsWith(sound, ".scm")) continue;
    if (!IsContainedRelativePath(sound)) {
      Log("CopyRefused " + sound, platform::LogSeverity::kError);
      continue;
    }
    const std::string src = settings_.ServerRoot + sound;
    const std::string dst = settings_.LocalPath + sound;
    bool queued = false;
    for (int32_t q = 0; q < lvCopy_.ItemCount() && !queued; ++q) {
      const ConstCopyRow copy(lvCopy_, q);
      queued = copy.Lv() == list && copy.Source() == src && copy.Target() == dst;
    }
    if (queued) continue;
    ShowStatus("CheckSndFile " + dst);
    ports_.pauses->Wait(kComparePauseMs);
    if (CompareFiles(src, dst) != 0) AddCopyItem(list, sound);
    ShowStatus("CheckTipFile " + dst + ".tip");
    ports_.pauses->Wait(kComparePauseMs);
    if (CompareFiles(src + ".tip", dst + ".tip") != 0) {
      if (foundation::FileExists(src + ".tip") != 0) {
        AddCopyItem(list, sound + ".tip");
      } else {
        foundation::DeleteFileForce(dst + ".tip");
      }
    }
  }
  Changed(CompanionList::kCopy);
}

void CompanionEngine::AddCopyItem(SoundList list, const std::string& relPath) {
  if (!IsContainedRelativePath(relPath)) return;
  const std::string src = settings_.ServerRoot + relPath;
  const std::string dst = settings_.LocalPath + relPath;
  if (dst == copyTarget_ || IsFileScheduled(relPath, kBothLists) == 0) return;
  for (int32_t q = 0; q < lvCopy_.ItemCount(); ++q) {
    const CopyRow queued(lvCopy_, q);
    if (queued.Source() != src || queued.Target() != dst || !queued.IsWaiting()) continue;
    if (queued.Lv() < list) queued.SetLv(kOnAirList);
    return;
  }
  lvCopy_.AddItem(1);
  const CopyRow added(lvCopy_, -2);
  added.SetLv(list);
  added.SetSource(src);
  added.SetTarget(dst);
  added.SetTaken(false);
  added.SetRelPath(relPath);
  Changed(CompanionList::kCopy);
}

void CompanionEngine::CopyQueuedFile(int32_t row) {
  if (row < 0 || row >= lvCopy_.ItemCount()) return;
  const CopyRow queued(lvCopy_, row);
  queued.SetTaken(true);
  Changed(CompanionList::kCopy);
  const std::string src = queued.Source();
  const std::string dst = queued.Target();
  copyTarget_ = dst;
  ShowStatus("Copy " + dst);
  if (CompareFiles(src, dst) != 0) {
    ports_.view->CopyPanelVisible(true);
    ports_.fh1->TranspFile(src, dst, 1, 0, kCopyChunkBytes, kCopyPauseMs);
    Log("ファイルコピー " + dst);
    ports_.view->CopyPanelVisible(false);
  }
  const int64_t size = foundation::GetFileSizeByPath(src);
  if (copiedBytes_ == 0 && !PurgeLocalFolder()) {
    copyTarget_.clear();
    return;  // the upkeep waits; it is tried again at the next queued file
  }
  copiedBytes_ += size;
  if (copiedBytes_ > kUpkeepEveryBytes) copiedBytes_ = 0;
  copyTarget_.clear();
}

void CompanionEngine::WriteUsedList() {
  if (foundation::FolderExists(settings_.ServerRoot) == 0) return;
  std::vector<std::string> paths;
  // Paths that differ only in case name one file: one line each.
  auto add = [&paths](const std::string& lower) {
    if (std::find(paths.begin(), paths.end(), lower) == paths.end()) paths.push_back(lower);
  };
  StoredNames stored;
  for (const SoundList l : {kScheduleList, kOnAirList}) {
    const lists::ListModel& list = lvs_[l];
    for (int32_t r = 0; r < list.ItemCount(); ++r) {
      const std::string sound = ConstScheduleRow(list, r).Sound();
      if (sound.empty() || EndsWith(sound, ".scm")) continue;
      if (l == kScheduleList) {
        add(platform::LowerAscii(sound));
      } else {
        for (const std::string& file : StoredFilesOf(settings_.LocalPath, sound, stored)) add(file);
      }
    }
  }
  if (usedWritten_ && paths.size() == usedPaths_.size() &&
      std::is_permutation(paths.begin(), paths.end(), usedPaths_.begin())) {
    return;
  }
  std::string text;
  for (const std::string& p : paths) text += p + "\r\n";
  const std::string file = settings_.ServerLogFolder + "used_" + settings_.AirFileStem() + ".txt";
  if (!WriteFileReplacing(file, platform::Utf8ToCp932(text))) {
    Log("WriteUsedList Failed " + file, platform::LogSeverity::kError);
    return;
  }
  usedPaths_ = std::move(paths);
  usedWritten_ = true;
}

}  // namespace companion
