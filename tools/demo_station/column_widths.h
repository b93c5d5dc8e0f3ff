#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The column widths the demo station gives the lists of both programs, so that a newcomer reads
// the demo's own texts on the first start instead of the narrow columns a station has before it
// has set its own.
namespace demo_station {

// The fonts of a list: the program's user-interface face, which its header takes at 9 points,
// and the rows' size and weight.
struct ListFont {
  std::string face;
  float points = 9;
  bool bold = false;
};

// What one column of a list shows: its header caption and the texts of its cells.
struct ColumnTexts {
  std::string caption;
  std::vector<std::string> cells;
};

// The twips a column needs to show its caption and each of its cells whole, in a list whose rows
// are drawn in `font`.
using ColumnMeasure = std::function<int32_t(const ListFont& font, const ColumnTexts& texts)>;

// One item of a demo schedule, as the playout's lists show it.
struct DemoItem {
  std::string time;     // hh:nn:ss on the broadcast-day clock
  std::string trigger;  // trigger name
  std::string type;     // type name
  std::string length;   // mm:ss
  std::string folder;
  std::string file;  // with its extension
};

struct DemoSchedule {
  std::string fileName;  // yyyymmddhhnnss_NN.cue
  std::string title;
  std::vector<DemoItem> items;
};

// What one session puts in front of the two programs.
struct DemoTexts {
  std::string serverRoot;  // SrvPath_1, with its trailing '/'
  std::string localRoot;   // LocalPath, likewise
  std::string fileTime;    // yyyy/mm/dd hh:nn:ss, as the companion shows a schedule file's time
  std::vector<DemoSchedule> schedules;
};

// "TabWidth_..." lines for the playout's on-air list and queue (one set of widths, so their
// columns line up) and its load list.
std::vector<std::string> PlayoutWidthKeys(const DemoTexts& texts, const ColumnMeasure& measure);
// The same for the companion's schedule lists, status messages, copy queue and server files.
std::vector<std::string> CompanionWidthKeys(const DemoTexts& texts, const ColumnMeasure& measure);

}  // namespace demo_station
