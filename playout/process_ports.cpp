#include "playout/process_ports.h"

#include "foundation/sub_class.h"
#include "foundation/time_server_sync.h"

namespace playout {

std::string CopyDataInbox::Take() { return foundation::GetCopyDataText(hWnd_); }

void ServerTimeSync::Start() {
  // The returned future does not wait when dropped; the outcome goes to the debug log.
  (void)foundation::SyncClockWithTimeServer();
}

const std::vector<foundation::ScheduleEntry>& ProcessCommandSchedules::List() const {
  return foundation::ScheduleList();
}

void ProcessCommandSchedules::ReloadLocal() { foundation::LoadScheduleList(1); }

ProcessPorts::ProcessPorts(int32_t hWnd, platform::LogSink& log, ViewNotifications& view,
                           MessageNotices& notices)
    : players_(log),
      server_(foundation::Station(), platform::CurrentClock(), log),
      inbox_(hWnd),
      deviceSystems_(log),
      devices_(deviceSystems_.Systems()) {
  ports_.clock = &platform::CurrentClock();
  ports_.log = &log;
  ports_.conf = &foundation::Conf();
  ports_.station = &foundation::Station();
  ports_.commands = &commands_;
  ports_.players = &players_;
  ports_.server = &server_;
  ports_.inbox = &inbox_;
  ports_.contacts = &devices_;
  ports_.devices = &devices_;
  ports_.timeSync = &timeSync_;
  ports_.notices = &notices;
  ports_.view = &view;
}

}  // namespace playout
