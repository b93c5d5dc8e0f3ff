// Makes a demo station: demo_station <station folder> <program folder> [--minutes N]
//   [--start-in SECONDS] [--player 0|1] [--sessions 1|2]
// Prints, per session, the play log the playout will write and the time its last item ends.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/demo_station/list_view_measure.h"
#include "tools/demo_station/station_writer.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: demo_station STATION PROGRAM_FOLDER [--minutes N] [--start-in S] "
                 "[--player 0|1] [--sessions 1|2]\n");
    return 2;
  }
  // The column widths are measured in the lists' fonts, which needs no screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  demo_station::StationPlan plan;
  plan.measure = demo_station::ListViewMeasure();
  plan.stationFolder = argv[1];
  plan.programFolder = argv[2];
  plan.now = platform::CurrentClock().Now();
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const int value = std::atoi(argv[i + 1]);
    if (option == "--minutes") {
      plan.minutes = value < 1 ? 1 : value;
    } else if (option == "--start-in") {
      plan.startInSec = value < 5 ? 5 : value;
    } else if (option == "--player") {
      plan.playerType = value == 1 ? 1 : 0;
    } else if (option == "--sessions" && value == 2) {
      plan.sessions.push_back(demo_station::SessionPlan{"B", 2, "B", 660});
    } else {
      std::fprintf(stderr, "demo_station: unknown option %s\n", option.c_str());
      return 2;
    }
  }
  std::vector<demo_station::SessionOutcome> outcome;
  std::string error;
  if (!demo_station::WriteDemoStation(plan, outcome, error)) {
    std::fprintf(stderr, "demo_station: %s\n", error.c_str());
    return 1;
  }
  for (const demo_station::SessionOutcome& s : outcome) {
    std::printf("%s\t%zu\t%s\n", s.playLogPath.c_str(), s.sounds.size(), s.lastItemEnd.c_str());
  }
  return 0;
}
