#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/log_sink.h"
#include "transfer/file_hand.h"

namespace companion {

// The small interfaces through which the companion engine reaches everything outside itself.
// The engine calls them on the user-interface thread, inside a timer pass or a list event.

// Whether the current server answers (an answer cached for a while is reused).
class ServerProbe {
 public:
  virtual ~ServerProbe() = default;
  // 1 when the server answered, else 0 (logging "サーバー迷子").
  virtual int32_t CheckServerAlive() = 0;
};

// The playout's window, found by its caption.
class WindowLink {
 public:
  virtual ~WindowLink() = default;
  // The handle of the window whose whole caption is `caption`; 0 when there is none.
  virtual int64_t FindExact(const std::string& caption) = 0;
  // Sends the payload to the window whose caption is exactly `caption`, else to the first one
  // whose caption begins with it, and waits for the receiver (a few seconds at most). The
  // handle of the window that took the message; 0 when none was found or it did not answer.
  virtual int64_t SendCopyData(const std::string& caption, const std::string& payload) = 0;
};

// Free space of the volume holding a folder.
class DiskSpace {
 public:
  virtual ~DiskSpace() = default;
  // Bytes available to this user; -1 when the folder's volume cannot be measured.
  virtual int64_t FreeBytes(const std::string& folder) = 0;
};

// The pauses long work makes, during which the window's pending work (its events and the other
// timers) runs.
class Pauses {
 public:
  virtual ~Pauses() = default;
  virtual void Wait(int32_t ms) = 0;
  // Lets pending work run once, without waiting.
  virtual void Pump() = 0;
};

// The companion's lists, as the window knows them.
enum class CompanionList { kSchedule, kOnAir, kMessages, kCopy, kServerFiles };

// What the window shows of the engine. Calls only record what to draw, except RequestClose.
class CompanionView {
 public:
  virtual ~CompanionView() = default;
  virtual void ListChanged(CompanionList list) = 0;
  // The copy panel (FH1) shown while a queued file is copied.
  virtual void CopyPanelVisible(bool visible) = 0;
  // Asks the window to close once control is back in its event loop; the window's close then
  // asks the engine (Form_Unload) whether it may.
  virtual void RequestClose() = 0;
};

// Everything the engine is built from. Every pointer must be set and outlive the engine.
// fh0 carries the schedule and snapshot files, fh1 the queued copies and the folder upkeep.
struct CompanionPorts {
  platform::Clock* clock = nullptr;
  platform::LogSink* log = nullptr;
  ServerProbe* server = nullptr;
  WindowLink* windows = nullptr;
  DiskSpace* disk = nullptr;
  Pauses* pauses = nullptr;
  transfer::FileHand* fh0 = nullptr;
  transfer::FileHand* fh1 = nullptr;
  CompanionView* view = nullptr;
};

}  // namespace companion
