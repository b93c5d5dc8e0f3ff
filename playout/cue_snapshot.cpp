#include "playout/cue_snapshot.h"

#include "foundation/ms_time.h"
#include "foundation/paths.h"
#include "foundation/text_fields.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "playout/play_list_rows.h"

namespace playout {

namespace {

void AppendRows(const lists::ListModel& list, const foundation::ConfTables& conf,
                std::string& text) {
  for (int32_t r = 0; r < list.ItemCount(); ++r) {
    const ConstPlayRow row(list, r);
    const int32_t trigger = foundation::TriggerIndexFromName(conf, row.Trigger());
    const int32_t type = foundation::TypeIndexFromName(conf, row.Type());
    const int32_t lengthMs = foundation::ParseTimeToMs("00:" + row.Length());
    const std::string name = foundation::SplitPath(row.Title(), false, false, true, true, true);
    text += "\"" + foundation::CleanTextField(row.StartTime()) + "\",\"" + std::to_string(trigger) +
            "\",\"" + std::to_string(type) + "\",\"" + std::to_string(lengthMs) + "\",\"" +
            foundation::CleanTextField(row.Folder()) + "\",\"" + name + "\"\r\n";
  }
}

}  // namespace

std::string CueSnapshotText(const lists::ListModel& onAir, const lists::ListModel& queue,
                            const foundation::ConfTables& conf) {
  std::string text;
  AppendRows(onAir, conf, text);
  AppendRows(queue, conf, text);
  return platform::Utf8ToCp932(text);
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string target = platform::ToNativePath(path);
  const std::string tmp = target + ".tmp";
  platform::DeleteFilePath(tmp);
  platform::FileHandle file;
  if (file.Open(tmp, platform::OpenMode::WriteCreate) != 0) return false;
  const bool written = file.Write(bytes.data(), static_cast<int64_t>(bytes.size())) ==
                       static_cast<int64_t>(bytes.size());
  file.Close();
  if (!written || platform::RenameReplace(tmp, target) != 0) {
    platform::DeleteFilePath(tmp);
    return false;
  }
  return true;
}

}  // namespace playout
