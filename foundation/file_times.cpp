#include "foundation/file_times.h"

#include <cstdio>
#include <ctime>
#include <limits>

namespace foundation {
namespace {

// Local calendar fields of a file time; false when the conversion fails or the year does not
// fit the four-digit texts (whose order as strings is their order in time).
bool ToLocalFields(int64_t epochSec, std::tm& fields) {
  if (epochSec < std::numeric_limits<time_t>::min() ||
      epochSec > std::numeric_limits<time_t>::max())
    return false;
  const time_t t = static_cast<time_t>(epochSec);
  if (localtime_r(&t, &fields) == nullptr) return false;
  const int year = fields.tm_year + 1900;
  return year >= 1601 && year <= 9999;
}

}  // namespace

std::string FileTimeToText(int64_t epochSec, int64_t nsec) {
  std::tm f{};
  if (!ToLocalFields(epochSec, f)) return "";
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", f.tm_year + 1900, f.tm_mon + 1,
                f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec);
  return text;
}

std::string GetFileTimeText(const std::string& path, int32_t which, int32_t parts, int32_t style,
                            FileHandleId handle) {
  FileHandleId used = handle != 0 ? handle : OpenFileHandle(path, 0);
  if (used == 0) return "";
  auto info = StatFileHandle(used);
  if (handle == 0) CloseFileHandle(used);
  if (!info) return "";

  int64_t sec;
  switch (which) {
    case 0:
      sec = info->birthSec;
      break;
    case 1:
      sec = info->accessSec;
      break;
    case 2:
      sec = info->writeSec;
      break;
    default:
      return "";
  }
  std::tm f{};
  if (!ToLocalFields(sec, f)) return "";
  const int year = f.tm_year + 1900, month = f.tm_mon + 1;

  char buf[96];
  std::string text;
  const bool withDate = (parts & 1) != 0;
  if (withDate) {
    const char* layout = style == 0   ? "%04d%02d%02d"
                         : style == 1 ? "%04d/%02d/%02d"
                                      : "%04d年%02d月%02d日";
    std::snprintf(buf, sizeof buf, layout, year, month, f.tm_mday);
    text += buf;
  }
  if (parts & 2) {
    if (withDate && style != 0) text += ' ';
    const char* layout = style == 0   ? "%02d%02d%02d"
                         : style == 1 ? "%02d:%02d:%02d"
                                      : "%02d時%02d分%02d秒";
    std::snprintf(buf, sizeof buf, layout, f.tm_hour, f.tm_min, f.tm_sec);
    text += buf;
  }
  return text;
}

}  // namespace foundation
