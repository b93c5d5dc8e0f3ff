#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "audio/player.h"
#include "platform/log_sink.h"

namespace audio {

// The graph and its GStreamer objects (audio/gst/fct_quartz.h) stay out of this header: the
// player is made in audio/gst/, the one part of the program that sees GStreamer.
struct FilterGraphRec;
struct GraphSeams;

// Plays one file at a time, of any type the graph builder has a chain for (or that a decodebin
// can open), through a GStreamer pipeline. Same member surface as C_WaveOut (see Player);
// property reads carry the property's name, writes are Set<Name>.
//
// Every member runs on the caller's (UI) thread and waits at most: 10 ms for a state, 5 ms for
// the end of the file, and a bounded preroll when a file is loaded or a play starts. Nothing
// throws. The only log line of its own is the one for a pipeline error while playing (the
// error counts as the end of the file); the graph builder logs why a file cannot be loaded.
// Both go to the log it is made with.
class C_FGraph final : public Player {
 public:
  explicit C_FGraph(platform::LogSink& log);
  // `seams` replaces the sink, the device table or the registered filters (tests).
  C_FGraph(platform::LogSink& log, GraphSeams seams);
  ~C_FGraph() override;
  C_FGraph(const C_FGraph&) = delete;
  C_FGraph& operator=(const C_FGraph&) = delete;

  // ---- set-up (before Init) ---------------------------------------------------------------
  // 0 the ALSA default device first among the default renderers, 1 the system's preferred sink
  // first; also decides whether a PlaySpeed write reaches a loaded graph at once (1).
  void SetDevMode(int32_t value) { DevMode = value; }
  // A device of the playback device table, by the name the waveOut player's setting uses
  // (equal ignoring case and blanks, else the same name without numbering, or a device
  // number); one that is not there keeps the default renderer.
  void SetDevName(const std::string& value) { DevName = value; }
  // The lowest level; must be negative (0 or above is refused and the old value kept, since
  // the attenuation curve divides by it).
  void SetVolMinLevel(int32_t value) override;
  int32_t VolMinLevel() const { return VolMinLevel_; }

  // Makes an empty graph, picks the renderer and forgets the loaded file. FromMS 0, PlaySpeed 1;
  // ToMS, Attenuation and PanValue keep their values.
  void Init() override;

  // ---- per item ---------------------------------------------------------------------------
  std::string FileName() const override { return FileName_; }
  // Loads the file: first chain, then the alternative, then the decodebin fallback. Success
  // sets Length, ToMS = Length, FromMS 0; Length is the decoded duration, counted by our own
  // readers for PCM wave files and MPEG audio (see ReaderLengthMs), else the graph's duration.
  // The same name again (and the file unchanged on disk: same size and modification time)
  // keeps the graph and only resets FromMS 0, ToMS = Length. A missing file, or one no chain
  // delivers a sample of, leaves the player empty (FileName "", Length 0).
  void SetFileName(const std::string& name) override;
  int32_t FromMS() const override { return FromMS_; }
  void SetFromMS(int32_t ms) override { FromMS_ = ms; }
  int32_t ToMS() const override { return ToMS_; }
  void SetToMS(int32_t ms) override { ToMS_ = ms; }
  int32_t Length() const override { return Length_; }
  // Balance -10000 (left only) .. 10000 (right only): hundredths of a dB taken off the other
  // side. Reads back what the graph holds, else the stored value.
  int32_t PanValue() override;
  void SetPanValue(int32_t value) override;
  // Written v sets the level (v/10)^2 / (VolMinLevel/100), rounded and kept within
  // VolMinLevel..0 (with VolMinLevel -10000 that is -v^2/10000: -5000 gives -2500). Reads back
  // the level, not v.
  int32_t Attenuation() override;
  void SetAttenuation(int32_t value) override;
  // Playback rate; 0 or less becomes 0.1.
  float PlaySpeed() const { return PlaySpeed_; }
  void SetPlaySpeed(float value);

  // Prerolls, moves to FromMS, then runs: nothing of the previous position is heard. False
  // when no file is loaded.
  bool Play() override;
  // Paused -> running, running -> paused, stopped -> nothing.
  void Pause() override;
  // Stops the graph; the argument is not used here.
  void StopIO(int32_t pNoMute = 0) override;
  // 0 while not playing. pMode 0 elapsed ms, 1 ms to the end of the file, 2 ms to ToMS. Every
  // call also watches the end point: past a ToMS that is above 0 and not Length, the play stops.
  int32_t Position(int32_t pMode = 0) override;
  // 3 playing, 2 paused, 1 stopped, and 0 once in the poll that sees the end of the file (or
  // a pipeline error), which also stops the play.
  int32_t mode() override;
  void CloseWave() override;

  // The renderer the last Init picked (lower case when it came from DevName).
  const std::string& RendererName() const;

 private:
  void Unload();
  bool SameFileOnDisk(const std::string& name) const;
  void LoadFile(const std::string& name);
  // CreateFilterGraph with the stored level and balance already on the new graph.
  void NewGraph();

  std::unique_ptr<FilterGraphRec> graph_;
  int32_t DevMode = 0;
  std::string DevName;
  int32_t VolMinLevel_ = -10000;
  std::string FileName_;
  int32_t FromMS_ = 0;
  int32_t ToMS_ = 0;
  int32_t Length_ = 0;
  int32_t Attenuation_ = 0;
  int32_t PanValue_ = 0;
  float PlaySpeed_ = 0.0f;
  int32_t IsPlaying = 0;
  int32_t IsLoaded = 0;
  // Size and modification time of the loaded file, to tell a rewritten file from the same one.
  int64_t file_size_ = -1;
  int64_t file_mtime_ns_ = -1;
};

}  // namespace audio
