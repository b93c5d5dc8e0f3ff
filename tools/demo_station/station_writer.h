#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "tools/demo_station/column_widths.h"

// A demo station for trying the two programs out: a server tree (conf/conf.ini, the schedules
// of today and tomorrow in sched/, command files, log/), the local store, the playout's
// settings files of both programs in the program folder, and short generated tones of distinct
// pitches, so a listener can tell the items apart.
namespace demo_station {

struct SessionPlan {
  std::string letter;  // "" for the first session, "B" for the second
  int32_t air = 1;     // SelectedAir, 1-based
  std::string airId = "A";
  int32_t baseHz = 440;  // the pitch of its first item
};

struct StationPlan {
  std::string stationFolder;  // server/ and local/ are made below it (emptied first)
  // Where the programs are: Ondrake.ini and Ferlune.ini (and OndrakeB.ini, FerluneB.ini) go
  // there.
  std::string programFolder;
  platform::WallTime now;   // the schedules start from this moment
  int32_t startInSec = 30;  // the first item (a TIME item) starts this long after `now`
  int32_t minutes = 2;      // today's schedule plays about this long
  int32_t itemSec = 6;      // each item's length
  int32_t items = 0;        // today's items; 0: as many as fit in `minutes`
  // 0 the waveOut player (WAV items), 1 the graph player (WAV and MP3 items by turns).
  int32_t playerType = 0;
  std::vector<SessionPlan> sessions = {SessionPlan{}};
  // Sizes the lists' columns to the demo's texts; without it the lists keep the programs'
  // default widths.
  ColumnMeasure measure;
};

// What was written, per session.
struct SessionOutcome {
  std::string scheduleName;         // today's schedule file
  std::string playLogPath;          // where the playout writes the play log of the first item's day
  std::vector<std::string> sounds;  // today's items, as the schedule names them (folder\file)
  std::vector<std::string> times;   // and their start times, hh:nn:ss as the playout shows them
  std::string lastItemEnd;          // yyyy/mm/dd hh:nn:ss on the calendar
};

// Writes the station. False (with the reason) when a folder or file cannot be made or a sound
// cannot be encoded.
bool WriteDemoStation(const StationPlan& plan, std::vector<SessionOutcome>& outcome,
                      std::string& error);

}  // namespace demo_station
