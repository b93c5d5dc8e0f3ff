#include "foundation/debug_log.h"

#include <cerrno>
#include <cstring>

#include "foundation/app_globals.h"
#include "foundation/date_stamp.h"
#include "foundation/file_handles.h"
#include "foundation/files.h"
#include "foundation/folders.h"
#include "foundation/paths.h"
#include "foundation/settings_store.h"
#include "foundation/text_fields.h"
#include "platform/ascii_text.h"
#include "platform/cp932.h"
#include "platform/line_append.h"
#include "platform/native_path.h"

namespace foundation {

namespace {

// A log that is not daily is retired once it has grown past this many bytes (decimal, as the
// log always counted).
constexpr int64_t kMaxLogBytes = 1024000;
// Numbered names tried when another process takes the same one at the same moment.
constexpr int kRetireTries = 10;

// Set while this thread is inside WriteLog: a hook that logs from within the write is dropped.
thread_local bool t_writing = false;

class WritingGuard {
 public:
  WritingGuard() { t_writing = true; }
  ~WritingGuard() { t_writing = false; }
  WritingGuard(const WritingGuard&) = delete;
  WritingGuard& operator=(const WritingGuard&) = delete;
};

// The log folder; "" when neither the setting nor the program folder names one.
std::string LogFolder() {
  const AppGlobals& app = Globals();
  if (!app.DebugLogPath.empty()) return app.DebugLogPath;
  const std::string programFolder = GetAppFolder();
  return programFolder.empty() ? "" : programFolder + "log";
}

// The file for `severity` on the date of `stamp` ("yyyy/mm/dd hh:nn:ss"), in `folder`.
std::string LogFilePath(const std::string& folder, platform::LogSeverity severity,
                        const std::string& stamp) {
  const AppGlobals& app = Globals();
  const std::string ext = severity == platform::LogSeverity::kInfo ? ".log" : ".err";
  const std::string& logName = app.SettingsName.empty() ? app.ProgramTitle : app.SettingsName;
  std::string date;
  if (app.DailyLog != 0 && stamp.size() >= 10)
    date = stamp.substr(0, 4) + stamp.substr(5, 2) + stamp.substr(8, 2);
  std::string path = SetTrailingSeparator(folder);
  if (app.IsCompanion) return path + logName + date + ext;
  if (!date.empty()) path += date + " - ";
  return path + GetComputerNameText() + " - " + logName + ext;
}

// Moves an oversized log out of the way. Never waits and never runs pending work, so nothing
// can log from inside; a failure leaves the file where it is and the line goes into it.
void RetireOversizedLog(const std::string& path) {
  if (GetFileSizeByPath(path) <= kMaxLogBytes) return;
  const AppGlobals& app = Globals();
  if (app.ErrorCatch == 0 || app.IsCompanion) {
    DeleteFileForce(path);
    return;
  }
  for (int attempt = 0; attempt < kRetireTries; ++attempt) {
    if (RenameFile(path, MakeNumberedFileName(path, true, true, 3, true))) return;
    if (!FileExists(path)) return;  // another process retired it first
  }
}

}  // namespace

std::string DebugLogFilePath(platform::LogSeverity severity) {
  try {
    const std::string folder = LogFolder();
    if (folder.empty()) return "";
    return LogFilePath(folder, severity, FormatDateStamp());
  } catch (const std::exception&) {
    return "";
  }
}

void WriteLog(const std::string& text, platform::LogSeverity severity, int32_t force) {
  if (t_writing) return;
  const WritingGuard guard;
  const int savedErrno = errno;  // callers log a failure and then ask GetWin32ErrorText(0)
  try {
    const AppGlobals& app = Globals();
    if (force == 0 && app.LogError == 0) return;
    const std::string folder = LogFolder();
    if (folder.empty()) return;
    // Another process may make the folder between the two calls; that is no failure.
    if (!FolderExists(folder) && !MakeFolder(folder) && !FolderExists(folder)) return;
    // One clock reading gives both the line's stamp and the daily file's date.
    const std::string stamp = FormatDateStamp();
    const std::string path = LogFilePath(folder, severity, stamp);
    if (app.DailyLog == 0) RetireOversizedLog(path);
    // Whole or not at all, under the lock every writer of the log takes: a line from another
    // process lands before or after it, never inside, and a full disk leaves no torn line. A
    // FIFO, socket or device at the log's path is refused by the open instead of holding us.
    (void)platform::AppendWholeLine(platform::ToNativePath(path),
                                    platform::Utf8ToCp932(stamp + " " + text + "\r\n"));
  } catch (const std::exception&) {
  }
  errno = savedErrno;
}

std::string GetWin32ErrorText(int32_t code) {
  if (code == 0) code = errno;
  if (code <= 0 || ::strerrorname_np(code) == nullptr) return "";
  char buf[1024] = {};
  const char* message = ::strerror_r(code, buf, sizeof buf);
  if (message == nullptr) return "";
  return std::string(platform::TrimBlanks(TrimNulls(message)));
}

}  // namespace foundation
