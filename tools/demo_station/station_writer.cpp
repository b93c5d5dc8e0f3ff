#include "tools/demo_station/station_writer.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "foundation/calendar.h"
#include "foundation/date_stamp.h"
#include "foundation/ms_time.h"
#include "platform/cp932.h"
#include "tools/media_fixtures/gst_media_writer.h"

namespace demo_station {

namespace {

namespace fs = std::filesystem;

constexpr int32_t kHourAdjust = 18000;  // the broadcast day starts at 05:00
// Pitches of a major scale from the session's base note, in hundredths of a semitone step.
constexpr int32_t kScaleCents[] = {0, 200, 400, 500, 700, 900, 1100, 1200};
constexpr int32_t kTones = 8;
// Type names by type number; the schedules use 3 (music) for WAV items and 2 for MP3 items.
const char* const kTypeNames[] = {"ジングル", "ニュース", "ＣＭ", "音楽"};
// The built-in names of the two triggers the schedules use, which conf.ini keeps.
const char* const kTriggerNames[] = {"TIME", "SEQ"};

bool WriteBytes(const fs::path& path, const std::string& bytes, std::string& error) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (out) return true;
  error = "cannot write " + path.string();
  return false;
}

// An INI file in CP932 with CR LF, section [conf].
bool WriteIni(const fs::path& path, const std::vector<std::string>& lines, std::string& error) {
  std::string text = "[conf]\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return WriteBytes(path, platform::Utf8ToCp932(text), error);
}

// A file's last-write time set this many seconds into the past (the companion mirrors only
// command files older than half a minute).
void Backdate(const fs::path& path, int64_t seconds) {
  const time_t when = std::time(nullptr) - seconds;
  const struct timespec times[2] = {{when, 0}, {when, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

int32_t PitchOf(int32_t baseHz, int32_t tone) {
  const double cents = kScaleCents[tone % kTones];
  return static_cast<int32_t>(baseHz * std::pow(2.0, cents / 1200.0) + 0.5);
}

std::string Quoted(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& f : fields) line += (line.empty() ? "\"" : ",\"") + f + "\"";
  return line;
}

// The schedule file of one broadcast day: the title, then the items.
bool WriteSchedule(const fs::path& path, const std::string& title,
                   const std::vector<std::string>& lines, std::string& error) {
  std::string text = "\"" + title + "\"\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return WriteBytes(path, platform::Utf8ToCp932(text), error) && (Backdate(path, 60), true);
}

platform::WallTime Later(const platform::WallTime& t, int64_t seconds) {
  return platform::LocalMsToWallTime(platform::WallTimeToLocalMs(t) + seconds * 1000);
}

bool WriteSession(const StationPlan& plan, const SessionPlan& session, const fs::path& server,
                  const fs::path& local, SessionOutcome& out, DemoTexts& texts,
                  std::string& error) {
  const std::string nn = foundation::PadNumber(session.air, 2);
  const std::string folder = "demo" + session.letter;
  // The sound library: eight tones of a scale, WAV, and the same pitches an octave up as MP3.
  std::error_code ec;
  fs::create_directories(server / folder, ec);
  for (int32_t tone = 0; tone < kTones; ++tone) {
    const int32_t hz = PitchOf(session.baseHz, tone);
    const fs::path wav = server / folder / ("tone_" + std::to_string(hz) + ".wav");
    if (!media_fixtures::EncodeTone("wavenc", wav.string(), plan.itemSec * 1000, hz)) {
      error = "cannot encode " + wav.string();
      return false;
    }
    const fs::path mp3 = server / folder / ("beep_" + std::to_string(hz * 2) + ".mp3");
    if (!media_fixtures::EncodeTone("audioconvert ! lamemp3enc", mp3.string(), plan.itemSec * 1000,
                                    hz * 2, "square")) {
      error = "cannot encode " + mp3.string();
      return false;
    }
    Backdate(wav, 120);
    Backdate(mp3, 120);
  }
  // Today's items: a TIME item, then SEQ items one after the other.
  const int32_t count =
      plan.items > 0 ? plan.items : std::max(1, plan.minutes * 60 / std::max(1, plan.itemSec));
  const platform::WallTime first = Later(plan.now, plan.startInSec);
  const std::string day = foundation::FormatDateStampAt(first, kHourAdjust, 0, 1, 1);
  const std::string clock = foundation::FormatDateStampAt(first, kHourAdjust, 0, 1, 2);
  out.scheduleName = day + clock + "_" + nn + ".cue";
  // The length as the playout's lists show it.
  const std::string length = foundation::FormatMsTime(int64_t{plan.itemSec} * 1000, 4);
  std::vector<std::string> lines;
  DemoSchedule today{out.scheduleName, "デモ番組" + session.letter, {}};
  for (int32_t i = 0; i < count; ++i) {
    const int32_t hz = PitchOf(session.baseHz, i);
    const bool mp3 = plan.playerType == 1 && i % 2 == 1;
    const std::string file =
        mp3 ? "beep_" + std::to_string(hz * 2) + ".mp3" : "tone_" + std::to_string(hz) + ".wav";
    const platform::WallTime at = Later(first, static_cast<int64_t>(i) * plan.itemSec);
    const std::string time = foundation::FormatDateStampAt(at, kHourAdjust, 0, 0, 2);
    const int32_t trigger = i == 0 ? 0 : 1, type = mp3 ? 2 : 3;
    lines.push_back(Quoted({time, std::to_string(trigger), std::to_string(type),
                            std::to_string(plan.itemSec * 1000), folder, file}));
    out.sounds.push_back(folder + "\\" + file);
    out.times.push_back(time);
    today.items.push_back({time, kTriggerNames[trigger], kTypeNames[type], length, folder, file});
  }
  out.lastItemEnd = foundation::FormatDateStampAt(Later(first, int64_t{count} * plan.itemSec));
  if (!WriteSchedule(server / "sched" / out.scheduleName, today.title, lines, error)) {
    return false;
  }
  // Tomorrow's schedule, taken in and sent along, but not reached by the demo.
  const std::string tomorrow = foundation::FormatDateStampAt(first, kHourAdjust, 1, 1, 1);
  DemoSchedule next{tomorrow + "050000_" + nn + ".cue", "明日のデモ番組" + session.letter, {}};
  std::vector<std::string> nextLines;
  for (int32_t i = 0; i < 3; ++i) {
    const std::string time = "05:00:" + foundation::PadNumber(i * plan.itemSec, 2);
    const std::string file = "tone_" + std::to_string(PitchOf(session.baseHz, i)) + ".wav";
    const int32_t trigger = i == 0 ? 0 : 1;
    nextLines.push_back(Quoted(
        {time, std::to_string(trigger), "3", std::to_string(plan.itemSec * 1000), folder, file}));
    next.items.push_back({time, kTriggerNames[trigger], kTypeNames[3], length, folder, file});
  }
  if (!WriteSchedule(server / "sched" / next.fileName, next.title, nextLines, error)) {
    return false;
  }
  texts.schedules = {today, next};
  out.playLogPath = (local / "log" / (day + "_" + nn + session.airId + ".txt")).string();
  return true;
}

}  // namespace

bool WriteDemoStation(const StationPlan& plan, std::vector<SessionOutcome>& outcome,
                      std::string& error) {
  std::error_code ec;
  const fs::path station = fs::absolute(plan.stationFolder, ec);
  fs::remove_all(station, ec);
  const fs::path server = station / "server";
  const fs::path local = station / "local";
  for (const fs::path& f :
       {server / "conf", server / "sched", server / "command", server / "log", local / "log"}) {
    if (!fs::create_directories(f, ec) && ec) {
      error = "cannot make " + f.string();
      return false;
    }
  }
  std::vector<std::string> conf = {"HourAdjust=" + std::to_string(kHourAdjust)};
  for (size_t i = 0; i < std::size(kTypeNames); ++i)
    conf.push_back("TypeName_" + std::to_string(i + 1) + "=" + kTypeNames[i]);
  for (const char* line : {"TypeColor_2=&HC08040", "TypeColor_3=&H0080C0", "TypeColor_4=&H008000",
                           "CommandName=コマンド", "AirName_1=第一放送", "AirName_2=第二放送"}) {
    conf.push_back(line);
  }
  if (!WriteIni(server / "conf" / "conf.ini", conf, error)) return false;
  struct Command {
    const char* name;
    const char* keys;
  } commands[] = {{"cut.scm", "OutFade=0\r\nOutTime=0\r\nInFade=0\r\nInTime=0\r\nInCh=1"},
                  {"fade.scm", "OutFade=1\r\nOutTime=3000\r\nInFade=1\r\nInTime=3000\r\nInCh=2"}};
  for (const Command& c : commands) {
    const fs::path path = server / "command" / c.name;
    if (!WriteIni(path, {c.keys, "FOMS=0", "FIMS=0"}, error)) return false;
    Backdate(path, 120);
  }
  outcome.clear();
  for (const SessionPlan& session : plan.sessions) {
    SessionOutcome out;
    DemoTexts texts{
        server.string() + "/", local.string() + "/", foundation::FormatDateStampAt(plan.now), {}};
    if (!WriteSession(plan, session, server, local, out, texts, error)) return false;
    outcome.push_back(out);
    const fs::path programs = plan.programFolder;
    std::vector<std::string> keys = {"SrvPath_1=" + texts.serverRoot,
                                     "SrvName_1=demo",
                                     "LocalPath=" + texts.localRoot,
                                     "AirID=" + session.airId,
                                     "SelectedAir=" + std::to_string(session.air),
                                     "PrepDay=2",
                                     "ForceOA=1",
                                     "UseMultiSession=1",
                                     "PlayerType=" + std::to_string(plan.playerType)};
    if (plan.measure) {
      for (std::string& key : PlayoutWidthKeys(texts, plan.measure)) keys.push_back(key);
    }
    if (!WriteIni(programs / ("Ondrake" + session.letter + ".ini"), keys, error)) return false;
    // The companion keeps its settings beside it too once it finds its own file there.
    if (plan.measure && !WriteIni(programs / ("Ferlune" + session.letter + ".ini"),
                                  CompanionWidthKeys(texts, plan.measure), error)) {
      return false;
    }
  }
  return true;
}

}  // namespace demo_station
