#include "playout/play_log.h"

#include <cstring>

#include "foundation/text_fields.h"
#include "platform/cp932.h"
#include "platform/line_append.h"
#include "platform/native_path.h"
#include "playout/play_list_rows.h"

namespace playout {

std::string PlayLogLine(const std::string& time, const lists::ListModel& list, int32_t row,
                        const std::string& event) {
  const ConstPlayRow item(list, row);
  std::string line = "\"" + time + "\"";
  for (const std::string& cell : {item.StartTime(), item.Trigger(), item.Type(), item.Length(),
                                  item.Folder(), item.Title(), event}) {
    line += ",\"" + foundation::CleanTextField(cell) + "\"";
  }
  line += "\r\n";
  return platform::Utf8ToCp932(line);
}

std::string AppendToFile(const std::string& path, const std::string& bytes) {
  const platform::LineAppendResult result =
      platform::AppendWholeLine(platform::ToNativePath(path), bytes);
  if (result.openError != 0) return std::strerror(result.openError);
  return result.writeError != 0 ? "write failed" : "";
}

}  // namespace playout
