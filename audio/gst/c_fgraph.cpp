#include "audio/c_fgraph.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

#include "audio/gst/fct_quartz.h"
#include "audio/reader_length.h"
#include "foundation/conversions.h"
#include "foundation/device_names.h"
#include "foundation/files.h"
#include "platform/ascii_text.h"

namespace audio {

namespace {

constexpr int32_t kStateWaitMs = 10;
constexpr int32_t kCompletionWaitMs = 5;
constexpr int32_t kSilentLevel = -10000;

bool FileStamp(const std::string& path, int64_t* size, int64_t* mtimeNs) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  *size = static_cast<int64_t>(st.st_size);
  *mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

}  // namespace

C_FGraph::C_FGraph(platform::LogSink& log) : C_FGraph(log, GraphSeams{}) {}

C_FGraph::C_FGraph(platform::LogSink& log, GraphSeams seams)
    : graph_(std::make_unique<FilterGraphRec>(log)) {
  graph_->Seams = std::move(seams);
}

C_FGraph::~C_FGraph() { ReleaseFilterGraph(*graph_); }

const std::string& C_FGraph::RendererName() const { return graph_->RendererName; }

void C_FGraph::SetVolMinLevel(int32_t value) {
  // The attenuation curve divides by it, and a level above full makes no sense.
  if (value < 0) VolMinLevel_ = value;
}

void C_FGraph::Init() {
  if (graph_->Graph) {
    StopIO();
    ReleaseFilterGraph(*graph_);
  }
  CreateFilterGraph(*graph_);
  PlaySpeed_ = 1.0f;
  FromMS_ = 0;
  Unload();
  EnumAudioFilters(DevMode, *graph_);
  if (platform::TrimWhiteSpace(DevName).empty() || !graph_->RegFilters) return;
  const std::vector<platform::WaveDeviceEntry>& devices = graph_->RegFilters->Devices();
  std::vector<std::string> names;
  for (const platform::WaveDeviceEntry& entry : devices) names.push_back(entry.name);
  int32_t index = foundation::DeviceNumberForName(names, DevName).value_or(-1);
  if (index >= 0 && static_cast<size_t>(index) < devices.size()) {
    graph_->RendererName = platform::TrimmedLowerAscii(devices[static_cast<size_t>(index)].name);
    graph_->RendererDevice = devices[static_cast<size_t>(index)].pcm;
  }
}

void C_FGraph::Unload() {
  FileName_.clear();
  IsLoaded = 0;
  IsPlaying = 0;
  Length_ = 0;
  file_size_ = -1;
  file_mtime_ns_ = -1;
}

bool C_FGraph::SameFileOnDisk(const std::string& name) const {
  int64_t size = 0;
  int64_t mtime = 0;
  return FileStamp(name, &size, &mtime) && size == file_size_ && mtime == file_mtime_ns_;
}

void C_FGraph::SetFileName(const std::string& name) {
  FromMS_ = 0;
  ToMS_ = 0;
  if (name == FileName_ && (IsLoaded == 0 || SameFileOnDisk(name))) {
    // A repeat of the loaded file plays its whole length, as after a fresh load.
    ToMS_ = Length_;
    return;
  }
  FileName_ = name;
  if (graph_->Graph) {
    if (IsLoaded == 1) graph_->Graph->Stop();
    ReleaseFilterGraph(*graph_);
  }
  if (foundation::FileExists(name) == 0) {
    Unload();
    return;
  }
  LoadFile(name);
}

void C_FGraph::NewGraph() {
  CreateFilterGraph(*graph_);
  // Level and balance are in place before the first sample passes the renderer.
  graph_->Graph->SetVolume(Attenuation_ > VolMinLevel_ ? Attenuation_ : kSilentLevel);
  graph_->Graph->SetBalance(PanValue_);
}

void C_FGraph::LoadFile(const std::string& name) {
  NewGraph();
  int32_t built = SetupPinsToDecode(name, 0, *graph_);
  if (built == 0) {
    DisconnectAllPins(*graph_);
    built = SetupPinsToDecode(name, 1, *graph_);
  }
  if (built == 0) {
    ReleaseFilterGraph(*graph_);
    NewGraph();
    built = RenderPinsToDecode(name, *graph_);
  }
  if (built == 0) {
    // The graph stays, empty, so the set-up members keep working; the name is tried afresh
    // on the next write.
    DisconnectAllPins(*graph_);
    Unload();
    return;
  }
  GstGraph& graph = *graph_->Graph;
  // The count-down, the fade and the command timing run on Length: where GStreamer can only
  // estimate it (MPEG audio without a frame count, tags counted as audio), our readers count it.
  double seconds = 0.0;
  if (std::optional<int32_t> counted = ReaderLengthMs(name)) {
    Length_ = *counted;
  } else {
    Length_ = graph.Duration(&seconds) ? foundation::NearestInt32Saturated(seconds * 1000.0) : 0;
  }
  ToMS_ = Length_;
  graph.SetVolume(Attenuation_ > VolMinLevel_ ? Attenuation_ : kSilentLevel);
  graph.SetBalance(PanValue_);
  graph.SetRate(PlaySpeed_);
  graph.SetCurrentPosition(0.0, graph_->Seams.preroll_timeout_ms);
  IsLoaded = 1;
  if (!FileStamp(name, &file_size_, &file_mtime_ns_)) {
    file_size_ = -1;
    file_mtime_ns_ = -1;
  }
}

int32_t C_FGraph::PanValue() {
  if (IsLoaded == 1 && graph_->Graph) PanValue_ = graph_->Graph->Balance();
  return PanValue_;
}

void C_FGraph::SetPanValue(int32_t value) {
  PanValue_ = value;
  if (graph_->Graph) graph_->Graph->SetBalance(value);
}

int32_t C_FGraph::Attenuation() {
  if (IsLoaded == 1 && graph_->Graph) Attenuation_ = graph_->Graph->Volume();
  return Attenuation_;
}

void C_FGraph::SetAttenuation(int32_t value) {
  double tenths = std::fabs(static_cast<double>(value)) / 10.0;
  int32_t level = foundation::NearestInt32Saturated(tenths * tenths / (VolMinLevel_ / 100.0));
  Attenuation_ = std::clamp(level, VolMinLevel_, 0);
  if (graph_->Graph) graph_->Graph->SetVolume(Attenuation_);
}

void C_FGraph::SetPlaySpeed(float value) {
  PlaySpeed_ = value > 0.0f ? value : 0.1f;
  if (DevMode == 1 && graph_->Graph) graph_->Graph->SetRate(PlaySpeed_);
}

bool C_FGraph::Play() {
  if (IsLoaded != 1 || !graph_->Graph) return false;
  StopIO();
  GstGraph& graph = *graph_->Graph;
  graph.DropPendingEvents();
  // Move while paused, so the first sample heard is the one at FromMS.
  graph.SetCurrentPosition(FromMS_ / 1000.0, graph_->Seams.preroll_timeout_ms, true);
  graph.Run();
  IsPlaying = 1;
  return true;
}

void C_FGraph::Pause() {
  if (IsLoaded != 1 || !graph_->Graph) return;
  GraphState state = graph_->Graph->State(kStateWaitMs);
  if (state == GraphState::kPaused) {
    graph_->Graph->Run();
  } else if (state == GraphState::kRunning) {
    graph_->Graph->Pause();
  }
}

void C_FGraph::StopIO(int32_t) {
  if (IsPlaying == 1 && IsLoaded == 1 && graph_->Graph) graph_->Graph->Stop();
  IsPlaying = 0;
}

int32_t C_FGraph::Position(int32_t pMode) {
  if (IsPlaying != 1 || IsLoaded != 1 || !graph_->Graph) return 0;
  double c = graph_->Graph->CurrentPosition() * 1000.0;
  double result = 0.0;
  if (pMode == 0) {
    result = c;
  } else if (pMode == 1) {
    result = Length_ - c;
  } else if (pMode == 2) {
    result = ToMS_ - c;
  }
  if (ToMS_ > 0 && ToMS_ != Length_ && c > ToMS_) StopIO();
  return foundation::NearestInt32Saturated(result);
}

int32_t C_FGraph::mode() {
  GraphState state = graph_->Graph ? graph_->Graph->State(kStateWaitMs) : GraphState::kStopped;
  if (state == GraphState::kPaused) return kModePaused;
  if (state != GraphState::kRunning) return kModeStopped;
  GraphError error;
  int32_t completion = graph_->Graph->WaitForCompletion(kCompletionWaitMs, &error);
  if (completion == 0) return kModePlaying;
  if (completion == 2) {
    graph_->Log.Write("C_FGraph stream error " + FileName_ + "#" + error.filter + " " + error.text,
                      platform::LogSeverity::kInfo);
  }
  // Stopped whatever IsPlaying says, so the next poll reads 1, not a running graph at its end.
  graph_->Graph->Stop();
  IsPlaying = 0;
  return kModeEnded;
}

void C_FGraph::CloseWave() {
  StopIO();
  ReleaseFilterGraph(*graph_);
  Unload();
}

}  // namespace audio
