#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/player.h"
#include "foundation/command_files.h"
#include "foundation/server_config.h"
#include "foundation/station_settings.h"
#include "platform/clock.h"
#include "platform/log_sink.h"

namespace playout {

// The small interfaces through which the playout engine reaches everything outside itself. The
// engine calls them on the user-interface thread, inside a pass or an operator command; none of
// them may wait for a person or run an event loop.

// Members only the waveOut player has, which the engine drives when it holds one.
class WaveOutMembers {
 public:
  virtual ~WaveOutMembers() = default;
  virtual void SetFromSample(int32_t value) = 0;
  virtual void SetToSample(int32_t value) = 0;
  // The feed of the output pages; called once per pass while playing.
  virtual int32_t ProgressionPlay() = 0;
};

// The one player and, for the waveOut player, its own members (null for the graph player).
struct PlayerSlot {
  std::unique_ptr<audio::Player> player;
  std::unique_ptr<WaveOutMembers> waveOut;
};

// The PlayerType setting's players.
enum PlayerKind : int32_t { kPlayerWaveOut = 0, kPlayerGraph = 1 };

// Makes the player of a PlayerKind, set up and initialised.
class PlayerFactory {
 public:
  virtual ~PlayerFactory() = default;
  virtual PlayerSlot Create(int32_t playerType, const std::string& waveDeviceName) = 0;
};

// Whether the current server answers. Answers at once: never waits for the network.
class ServerProbe {
 public:
  virtual ~ServerProbe() = default;
  // 1 when the server answered (logging "サーバー迷子" when it does not), else 0.
  virtual int32_t CheckServerAlive() = 0;
};

// The schedule message the companion sent last: its text, once (the next call gives "").
class ScheduleInbox {
 public:
  virtual ~ScheduleInbox() = default;
  virtual std::string Take() = 0;
};

// Contact groups polled by the pass, in this order.
inline constexpr int32_t kContactMidi = 0;
inline constexpr int32_t kContactSerial1 = 1;
inline constexpr int32_t kContactSerial2 = 2;
inline constexpr int32_t kContactHid = 3;
inline constexpr int32_t kContactGroups = 4;

// One fader of the MIDI desk (levels 0 .. FaderLevel).
struct MidiFaderState {
  int32_t Level = 0;
  int32_t FadeIn = 0;
  int32_t FadeOut = 0;
  int32_t InStep = 0;
  int32_t OutStep = 0;
};

// What the switcher, the HID outputs and the MIDI desk share with the main window. The engine
// owns it; the equipment changes it only inside the calls the engine makes (a switch, a poll).
struct SwitcherState {
  int32_t CurSWCh = 0;  // live channel, 0 = none
  int32_t NextSWCh = 0;
  int32_t NextSWFade = 0;
  int32_t SWClicked = 0;
  std::array<MidiFaderState, 8> MidiFader{};
  std::array<int32_t, 8> HidPulse{};  // ms left of each HID output pulse
};

// The contact inputs: MIDI fader buttons, serial links 1 and 2, the HID unit.
class ContactSources {
 public:
  virtual ~ContactSources() = default;
  // Whether the group's device is open (the pass polls only open groups).
  virtual bool IsOpen(int32_t group) const = 0;
  // The contact that fired since the last poll, 0 for none. Devices report what they received,
  // so anything else may come back (a 16-input box, a stray byte, -1 for a read error). What
  // came in besides moves the engine's switch state: the desk's fader levels, the channel a
  // switcher reports live.
  virtual int32_t Poll(int32_t group, SwitcherState& state) = 0;
};

// The external equipment the pass drives: the audio switcher, the HID outputs, the MIDI fader
// desk and the serial time code.
class DeviceLink {
 public:
  virtual ~DeviceLink() = default;
  virtual bool TimeCodeOpen() const = 0;
  virtual bool HidOK() const = 0;
  virtual bool MidiPortsOpen() const = 0;
  virtual int32_t MidiMode() const = 0;
  // The level of a channel that is on, and the upper limit of every level.
  virtual int32_t FaderLevel() const = 0;
  // Keeps the time received on the time-code port.
  virtual void ParseSerialTime() = 0;
  // Sets the PC clock from the last time code.
  virtual void AdjustClockFromSerial() = 0;
  // Channel pIsOff != 0: the live channel goes off; else pNextCh goes live (cut with pFadeOn 0,
  // faded with 1). Keeps state.CurSWCh, the fader marks and the HID pulses.
  virtual void SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                             SwitcherState& state) = 0;
  // Sends one fader level (already limited to 0 .. FaderLevel).
  virtual void SendMidiFader(int32_t channel, int32_t level) = 0;
  // Ends the output pulse of HID port `port` (0..7).
  virtual void EndHidPulse(int32_t port) = 0;
};

// The PC clock's correction from the time server; returns at once.
class TimeSync {
 public:
  virtual ~TimeSync() = default;
  virtual void Start() = 0;
};

// A message for the operator. Shown without waiting: the caller carries on at once.
class MessageNotices {
 public:
  virtual ~MessageNotices() = default;
  virtual void Post(const std::string& title, const std::string& text) = 0;
};

// The text cells of the clock panel that the engine writes.
enum ClockPanelCell : int32_t { kClockTime = 1, kClockDate = 2, kClockProgramme = 3 };
// The count-down bar's colour types.
enum CountDownColor : int32_t {
  kCountDownIdle = 0,
  kCountDownPlaying = 1,
  kCountDownWarning = 2,
};

// What the window shows of the engine. Every call only records what to draw.
class ViewNotifications {
 public:
  virtual ~ViewNotifications() = default;
  // A ClockPanelCell of the clock panel.
  virtual void ClockCell(int32_t cell, const std::string& text) = 0;
  // The count-down bar: a CountDownColor, and the seconds and text to draw.
  virtual void CountDown(int32_t colorType, int32_t seconds, const std::string& text) = 0;
  virtual void OnAirBox(int32_t onAir) = 0;
  // The rows of a PlayList changed.
  virtual void ListChanged(int32_t list) = 0;
  // The on-air list's colours (playing or not).
  virtual void OnAirStyle(int32_t foreColor, int32_t backColor) = 0;
  // The whole trace text, newest line first.
  virtual void Trace(const std::string& text) = 0;
  // The load panel's message line.
  virtual void LoadPanelText(const std::string& text) = 0;
  // Caption clicks blocked (1) while an item plays, allowed again (0) after.
  virtual void BlockCaptionClick(int32_t flag) = 0;
};

// The command files' records, and their reload from the local command folder.
class CommandSchedules {
 public:
  virtual ~CommandSchedules() = default;
  virtual const std::vector<foundation::ScheduleEntry>& List() const = 0;
  virtual void ReloadLocal() = 0;
};

// Everything the engine is built from. Every pointer must be set and outlive the engine.
struct PlayoutPorts {
  platform::Clock* clock = nullptr;
  platform::LogSink* log = nullptr;
  const foundation::ConfTables* conf = nullptr;
  const foundation::StationSettings* station = nullptr;
  CommandSchedules* commands = nullptr;
  PlayerFactory* players = nullptr;
  ServerProbe* server = nullptr;
  ScheduleInbox* inbox = nullptr;
  ContactSources* contacts = nullptr;
  DeviceLink* devices = nullptr;
  TimeSync* timeSync = nullptr;
  MessageNotices* notices = nullptr;
  ViewNotifications* view = nullptr;
};

}  // namespace playout
