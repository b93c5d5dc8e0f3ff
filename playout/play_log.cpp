#include "playout/play_log.h"

#include <cstring>

#include "foundation/text_fields.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
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
  platform::FileHandle file;
  if (const int error = file.Open(platform::ToNativePath(path), platform::OpenMode::WriteCreate);
      error != 0) {
    return std::strerror(error);
  }
  const int64_t size = file.Size();
  if (size < 0 || !file.Seek(size) ||
      file.Write(bytes.data(), static_cast<int64_t>(bytes.size())) !=
          static_cast<int64_t>(bytes.size())) {
    return "write failed";
  }
  return "";
}

}  // namespace playout
