#include "companion/companion_files.h"

#include <algorithm>
#include <functional>

#include "companion/companion_ports.h"
#include "foundation/date_stamp.h"
#include "foundation/file_handles.h"
#include "foundation/file_times.h"
#include "foundation/files.h"
#include "platform/ascii_case.h"
#include "platform/ascii_text.h"
#include "platform/atomic_file_update.h"
#include "platform/cp932.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace companion {

namespace {

std::optional<platform::FileInfo> StatFile(const std::string& path) {
  auto info = platform::StatPath(platform::ToNativePath(path));
  if (!info || !info->isRegular) return std::nullopt;
  return info;
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() &&
         platform::EqualsIgnoringAsciiCase(text.substr(text.size() - tail.size()), tail);
}

// Counts what stays in `native` once its empty sub-folders are gone.
int64_t RemoveEmptyBelow(const std::string& native, const std::vector<std::string>& keep) {
  auto entries = platform::ListDirectory(native);
  if (!entries) return 1;  // unreadable: counts as holding something
  int64_t count = 0;
  for (const platform::DirEntry& e : *entries) {
    const bool kept = std::any_of(keep.begin(), keep.end(), [&](const std::string& k) {
      return platform::EqualsIgnoringAsciiCase(k, e.name);
    });
    if (!e.isDirectory || e.isSymlink || kept) {
      ++count;
      continue;
    }
    const std::string sub = native + "/" + e.name;
    if (RemoveEmptyBelow(sub, {}) == 0 && platform::RemoveDirectory(sub) == 0) continue;
    ++count;
  }
  return count;
}

void ListBelow(const std::string& native, const std::string& relative, const std::string& skip,
               std::vector<std::string>& out) {
  auto entries = platform::ListDirectory(native);
  if (!entries) return;
  for (const platform::DirEntry& e : *entries) {
    const std::string rel = relative.empty() ? e.name : relative + "/" + e.name;
    if (e.isDirectory && !e.isSymlink) {
      ListBelow(native + "/" + e.name, rel, skip, out);
    } else if (!e.isDirectory && (skip.empty() || !EndsWithIgnoringCase(e.name, skip))) {
      out.push_back(rel);
    }
  }
}

}  // namespace

int32_t CompareFiles(const std::string& a, const std::string& b, bool sizesOnly) {
  const auto infoA = StatFile(a);
  const auto infoB = StatFile(b);
  if (!infoA || !infoB) return -1;
  if (!sizesOnly) {
    const std::string stampA = foundation::FileTimeToText(infoA->writeSec);
    const std::string stampB = foundation::FileTimeToText(infoB->writeSec);
    const int64_t diff = foundation::DiffDateStamps(stampA, stampB);
    if (diff > 2 || diff < -2) return 1;
  }
  return infoA->size != infoB->size ? 1 : 0;
}

int32_t AppendFileTail(const std::string& source, const std::string& target, int32_t pauseMs,
                       Pauses* pauses) {
  if (source.empty() || target.empty()) return 0;
  const auto from = StatFile(source);
  if (!from || from->size < 1) return 0;
  const auto to = StatFile(target);
  int64_t offset = to ? to->size : 0;
  if (from->size <= offset) return 0;
  platform::FileHandle in;
  platform::FileHandle out;
  if (in.Open(platform::ToNativePath(source), platform::OpenMode::Read) != 0) return 0;
  if (out.Open(platform::ToNativePath(target), platform::OpenMode::AppendCreate) != 0) return 0;
  std::string buffer;
  int64_t end = -1;  // measured under the lock at the first step
  while (end < 0 || offset < end) {
    if (end >= 0 && pauseMs > 0 && pauses != nullptr) pauses->Wait(pauseMs);
    // Under the writers' lock no append is half done: a line that failed has been taken back.
    if (!platform::LockFileWithin(in.fd(), platform::FileLockKind::kShared)) return 0;
    end = end < 0 ? in.Size() : std::min(end, in.Size());
    int64_t got = -1;
    if (end > offset && in.Seek(offset)) {
      const int64_t step = std::min(kAppendStepBytes, end - offset);
      buffer.resize(static_cast<size_t>(step));
      got = in.Read(buffer.data(), step);
    }
    platform::UnlockFile(in.fd());
    if (got <= 0) return 0;  // failed, or the source shrank meanwhile
    if (out.Write(buffer.data(), got) != got) return 0;
    offset += got;
  }
  return out.CloseChecked() == 0 ? 1 : 0;
}

int32_t RemoveEmptyFolders(const std::string& folder, bool removeSelf,
                           const std::vector<std::string>& keep) {
  std::string native = platform::ToNativePath(folder);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  const auto info = platform::StatPath(native, true);
  if (!info || !info->isDirectory) return 0;
  const int64_t left = RemoveEmptyBelow(native, keep);
  if (left == 0 && removeSelf && platform::RemoveDirectory(native) == 0) return 1;
  return 0;
}

std::vector<std::string> ListFilesBelow(const std::string& folder, const std::string& skipExt) {
  std::string native = platform::ToNativePath(folder);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  std::vector<std::string> out;
  ListBelow(native, "", skipExt.empty() ? "" : "." + skipExt, out);
  return out;
}

std::string FirstField(std::string_view line, size_t* rest) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  std::string field;
  if (i < line.size() && line[i] == '"') {
    const size_t close = line.find('"', i + 1);
    field = std::string(line.substr(
        i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1));
    i = close == std::string_view::npos ? line.size() : close + 1;
    const size_t comma = line.find(',', i);
    if (rest) *rest = comma == std::string_view::npos ? line.size() : comma + 1;
    return field;
  }
  const size_t comma = line.find(',', i);
  field = std::string(platform::TrimBlanks(
      line.substr(i, comma == std::string_view::npos ? std::string_view::npos : comma - i)));
  if (rest) *rest = comma == std::string_view::npos ? line.size() : comma + 1;
  return field;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  const auto bytes = platform::ReadFileBounded(platform::ToNativePath(path), kMaxTextFileBytes);
  if (!bytes) return false;
  const std::string text = platform::Cp932ToUtf8(*bytes);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.push_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return true;
}

std::string ReadTextFile(const std::string& path) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines) || lines.empty()) return "";
  return FirstField(lines[0]);
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::string tmp = path + ".tmp";
  const std::string nativeTmp = platform::ToNativePath(tmp);
  platform::DeleteFilePath(nativeTmp);
  platform::FileHandle file;
  if (file.Open(nativeTmp, platform::OpenMode::CreateNew) != 0) return false;
  const bool written = file.Write(bytes.data(), static_cast<int64_t>(bytes.size())) ==
                       static_cast<int64_t>(bytes.size());
  if (file.CloseChecked() != 0 || !written || foundation::RenameFileRetry(tmp, path, true) == 0) {
    platform::DeleteFilePath(nativeTmp);
    return false;
  }
  return true;
}

}  // namespace companion
