#include "audio/gst/fct_quartz.h"

#include <gst/audio/audio-format.h>

#include <cmath>

#include "audio/audio_file_type.h"
#include "audio/gst/gst_file_range_source.h"
#include "audio/riff_file.h"
#include "audio/wave_header.h"
#include "foundation/file_handles.h"
#include "platform/ascii_text.h"

namespace audio {

namespace {

// True for a RIFF WAVE file that holds no sample: no data chunk, or one with nothing in it. The
// parsers would play whatever chunk follows the format instead.
bool RiffWithoutData(const std::string& path) {
  RiffFile file(path, 0);
  int64_t offset = 0;
  int64_t bytes = 0;
  return !FindRiffDataChunk(file, &offset, &bytes) || bytes == 0;
}

// True when the file starts as a RIFF WAVE file does. Read through the file handle routines, so
// something other than a file at the path is refused rather than waited on.
bool IsRiffWave(const std::string& path) {
  char head[12] = {};
  foundation::FileHandleId handle = 0;
  int64_t got = 0;
  if (foundation::ReadFileToMemEx(head, sizeof head, 0, handle, path, true, &got) == 0 ||
      got != static_cast<int64_t>(sizeof head))
    return false;
  return std::string(head, 4) == "RIFF" && std::string(head + 8, 4) == "WAVE";
}

// The name a filter is in the graph under: names compare trimmed and in lower case, so a caller
// may spell them either way. A name the graph does not hold comes back as given.
std::string GraphName(const std::string& name, const GstGraph& graph) {
  std::string folded = platform::TrimmedLowerAscii(name);
  for (const std::string& inGraph : graph.FilterNames()) {
    if (platform::TrimmedLowerAscii(inGraph) == folded) return inGraph;
  }
  return name;
}

bool RendererRegistered(const FilterGraphRec& rec) {
  return !rec.RendererDevice.empty() || rec.RegFilters->Has(rec.RendererName);
}

GstElement* MakeSink(const FilterGraphRec& rec) {
  if (rec.Seams.make_sink) return rec.Seams.make_sink(rec.RendererName, rec.RendererDevice);
  if (rec.RendererDevice.empty()) {
    return gst_element_factory_make(rec.RendererName.c_str(), nullptr);
  }
  GstElement* sink = gst_element_factory_make("alsasink", nullptr);
  if (sink != nullptr) g_object_set(sink, "device", rec.RendererDevice.c_str(), nullptr);
  return sink;
}

// The PCM the RIFF reader finds in a wave file, or Valid 0 when it finds none it plays.
WaveInfo RiffPcm(const std::string& path) {
  WaveInfo info = ReadWaveHeader(path);
  if (!IsPcmFormat(info)) info.Valid = 0;
  return info;
}

// Sets up the filters that read a RIFF file the way the RIFF reader does: the range source on
// the data chunk, the raw parser with the reader's sample format. False when the reader finds
// nothing for them; every other filter needs nothing and gives true.
bool ConfigureForRiff(const std::string& name, GstElement* element, const std::string& path) {
  if (name == kFileRangeSourceName) {
    RiffFile file(path, 0);
    int64_t offset = 0;
    int64_t bytes = 0;
    if (!FindRiffDataChunk(file, &offset, &bytes)) return false;
    g_object_set(element, "location", path.c_str(), "offset", static_cast<gint64>(offset), "length",
                 static_cast<gint64>(bytes), nullptr);
  } else if (name == kRawAudioParserName) {
    const WaveInfo info = RiffPcm(path);
    if (info.Valid != 1) return false;
    // The ten layouts the reader accepts: 8-bit samples are unsigned, the others signed.
    const GstAudioFormat format = info.BitsPerSample == 8    ? GST_AUDIO_FORMAT_U8
                                  : info.BitsPerSample == 16 ? GST_AUDIO_FORMAT_S16LE
                                                             : GST_AUDIO_FORMAT_S24LE;
    g_object_set(element, "pcm-format", format, "sample-rate", info.SamplesPerSec, "num-channels",
                 static_cast<gint>(info.Channels), nullptr);
  }
  return true;
}

// Adds one instance of every registered chain entry; the renderer entry gets the renderer.
// Failures are passed over: the connections decide.
void AddChainFilters(const std::vector<std::string>& chain, const std::string& path,
                     FilterGraphRec& rec) {
  for (const std::string& name : chain) {
    if (rec.Graph->HasFilter(name)) continue;
    if (name == rec.RendererName) {
      if (RendererRegistered(rec)) rec.Graph->AddRenderer(name, MakeSink(rec));
      continue;
    }
    if (!rec.RegFilters->Has(name)) continue;
    GstPtr<GstElement> element = GstSink(gst_element_factory_make(name.c_str(), nullptr));
    if (element == nullptr || !ConfigureForRiff(name, element.get(), path)) continue;
    if (rec.Graph->AddFilter(name, element.get()) && name == rec.FileSourceName) {
      rec.Graph->SetSourceFile(name, path);
    }
  }
}

// True unless the wave parser's length for a PCM wave file differs from the RIFF reader's by
// more than a sample: a parser that misreads the header (a byte rate or block align the reader
// does not use) would misplace every position too. The difference is logged.
bool WaveParserAgrees(const std::vector<std::string>& chain, const std::string& path,
                      FilterGraphRec& rec) {
  GstGraph& graph = *rec.Graph;
  const WaveInfo info = RiffPcm(path);
  if (info.Valid != 1) return true;
  double seconds = -1.0;
  const bool known = graph.Duration(&seconds);
  const double ms = known ? seconds * 1000.0 : -1.0;
  if (known && std::fabs(ms - info.LengthMS) <= 1000.0 / info.SamplesPerSec + 0.5) return true;
  rec.Log.Write("SetupPinsToDecode " + chain[0] + "#" + chain[1] + " length " +
                    std::to_string(static_cast<int64_t>(std::nearbyint(ms))) + " RIFF " +
                    std::to_string(info.LengthMS),
                platform::LogSeverity::kInfo);
  return false;
}

// The link (index of its upstream entry) a failed preroll is put down to: a refused link, else
// the link into the filter that reported the error, else the first link still waiting for its
// pin, else the link into the renderer.
size_t FailedLink(const std::vector<std::string>& chain, const GraphError& error,
                  const GstGraph& graph) {
  size_t links = chain.size() - 1;
  for (size_t i = 0; i < links; ++i) {
    if (graph.ConnectionState(chain[i], chain[i + 1]) == -1) return i;
  }
  for (size_t k = 0; k < chain.size(); ++k) {
    if (!error.filter.empty() && chain[k] == error.filter) return k == 0 ? 0 : k - 1;
  }
  for (size_t i = 0; i < links; ++i) {
    if (graph.ConnectionState(chain[i], chain[i + 1]) == 0) return i;
  }
  return links - 1;
}

// Connects the chain's neighbours and prerolls; the log lines start with `who`.
int32_t ConnectChain(const std::vector<std::string>& chain, const std::string& who,
                     FilterGraphRec& rec) {
  for (size_t i = 0; i + 1 < chain.size(); ++i) {
    if (ConnectPin(chain[i], chain[i + 1], rec) == 0) {
      rec.Log.Write(who + chain[i] + "#" + chain[i + 1] + " connect failed",
                    platform::LogSeverity::kInfo);
      return 0;
    }
  }
  GraphError error;
  if (rec.Graph->Preroll(rec.Seams.preroll_timeout_ms, &error)) return 1;
  size_t i = FailedLink(chain, error, *rec.Graph);
  if (rec.Graph->ConnectionState(chain[i], chain[i + 1]) == -1) {
    rec.Log.Write("ConnectPin err " + chain[i] + "#" + chain[i + 1], platform::LogSeverity::kInfo);
  }
  rec.Log.Write(who + chain[i] + "#" + chain[i + 1] + " connect failed",
                platform::LogSeverity::kInfo);
  return 0;
}

}  // namespace

RegFilterCollection::RegFilterCollection(GraphSeams seams) : seams_(std::move(seams)) {
  for (std::string& name : seams_.hidden_filters) name = platform::TrimmedLowerAscii(name);
}

bool RegFilterCollection::Hidden(const std::string& folded) const {
  for (const std::string& name : seams_.hidden_filters) {
    if (name == folded) return true;
  }
  return false;
}

bool RegFilterCollection::Has(const std::string& name) const {
  std::string folded = platform::TrimmedLowerAscii(name);
  if (folded.empty() || Hidden(folded)) return false;
  if (EnsureGstInit() &&
      GstPtr<GstPluginFeature>(gst_registry_find_feature(gst_registry_get(), folded.c_str(),
                                                         GST_TYPE_ELEMENT_FACTORY)) != nullptr) {
    return true;
  }
  return FindDevice(folded) != nullptr;
}

const std::vector<platform::WaveDeviceEntry>& RegFilterCollection::Devices() const {
  if (!devices_read_) {
    devices_ = seams_.devices ? seams_.devices() : platform::AlsaPlaybackDevices();
    devices_read_ = true;
  }
  return devices_;
}

const platform::WaveDeviceEntry* RegFilterCollection::FindDevice(const std::string& name) const {
  std::string folded = platform::TrimmedLowerAscii(name);
  if (folded.empty() || Hidden(folded)) return nullptr;
  for (const platform::WaveDeviceEntry& entry : Devices()) {
    if (platform::TrimmedLowerAscii(entry.name) == folded) return &entry;
  }
  return nullptr;
}

std::optional<std::vector<std::string>> FilterChainFor(const std::string& type, int32_t alternative,
                                                       const FilterGraphRec& rec, bool riff,
                                                       bool* unknown) {
  if (unknown != nullptr) *unknown = false;
  const bool alt = alternative != 0;
  using Chain = std::vector<std::string>;
  auto mpeg = [&](const char* decoder) {
    if (riff && alt) return Chain{kFileRangeSourceName, kMpegSplitterName, decoder};
    return Chain{kFileSourceName, riff ? kWaveParserName : kTagDemuxName, kMpegSplitterName,
                 decoder};
  };
  if (type == "wav") {
    if (!alt) return Chain{kFileSourceName, kWaveParserName};
    if (riff) return Chain{kFileRangeSourceName, kRawAudioParserName};
    return std::nullopt;
  }
  if (type == "aiff" || type == "aif") {
    if (alt) return std::nullopt;
    return Chain{kFileSourceName, kAiffParserName};
  }
  if (type == "mp1" || type == "mp2" || type == "mpa") {
    if (alt && !riff) return std::nullopt;
    return mpeg(kMp3DecoderName);
  }
  if (type == "mpg" || type == "mpeg") {
    if (alt) return std::nullopt;
    return Chain{kFileSourceName, kMpegProgramSplitterName, kMpegSplitterName, kMp3DecoderName};
  }
  if (type == "mp3") {
    return mpeg(!alt && rec.Mp3Decoder == 1 ? kMp3DecoderName : kMp3GenericDecoderName);
  }
  if (type == "mp4" || type == "m4a") {
    if (rec.Mp4Decoder == 1)
      return Chain{kFileSourceName, kMp4SplitterName, kAacParserName, kAacDecoderName};
    if (rec.Mp4Decoder == 2)
      return Chain{kFileSourceName, kMp4SplitterName, kAacParserName, kAacGenericDecoderName};
    return Chain{kFileSourceName};
  }
  if (type == "aac") return Chain{kFileSourceName, kAacParserName, kAacGenericDecoderName};
  if (type == "ogg") return Chain{kFileSourceName, kOggSplitterName, kVorbisDecoderName};
  const bool wmaV2 = (rec.HasWmaDmo == 1) != alt;
  const char* wmaDecoder = wmaV2 ? kWmaDecoderName : kWmaV1DecoderName;
  if (type == "wma" || type == "asf" || type == "wmv") {
    return Chain{kFileSourceName, kAsfSplitterName, wmaDecoder};
  }
  if (type == "wmariff") return Chain{kFileSourceName, kWaveParserName, wmaDecoder};
  // The synthesiser renders into the same renderer as every other chain.
  if (type == "mid" || type == "smf") {
    return Chain{kFileSourceName, kMidiParserName, kMidiSynthName};
  }
  if (unknown != nullptr) *unknown = true;
  return std::nullopt;
}

void CreateFilterGraph(FilterGraphRec& rec) {
  rec.Graph = std::make_unique<GstGraph>();
  rec.RegFilters = std::make_shared<RegFilterCollection>(rec.Seams);
}

void ReleaseFilterGraph(FilterGraphRec& rec) {
  DisconnectAllPins(rec);
  rec.Graph.reset();
  rec.RegFilters.reset();
}

void EnumAudioFilters(int32_t mode, FilterGraphRec& rec) {
  rec.FileSourceName = kFileSourceName;
  rec.WaveParserName = kWaveParserName;
  if (!rec.RegFilters) return;
  const RegFilterCollection& filters = *rec.RegFilters;
  for (int32_t n = 0; n < kNumDefaultRenderers; ++n) {
    const char* name = kDefaultRendererNames[mode == 0 ? n : kNumDefaultRenderers - 1 - n];
    if (const platform::WaveDeviceEntry* device = filters.FindDevice(name)) {
      rec.RendererName = name;
      rec.RendererDevice = device->pcm;
      break;
    }
    if (filters.Has(name)) {
      rec.RendererName = name;
      rec.RendererDevice.clear();
      break;
    }
  }
  rec.HasWmaDmo = filters.Has(kWmaDecoderName) ? 1 : 0;
  rec.Mp3Decoder = filters.Has(kMp3DecoderName) ? 1 : filters.Has(kMp3GenericDecoderName) ? 2 : 0;
  rec.Mp4Decoder = filters.Has(kAacGenericDecoderName) ? 2 : filters.Has(kAacDecoderName) ? 1 : 0;
}

int32_t SetupPinsToDecode(const std::string& path, int32_t alternative, FilterGraphRec& rec) {
  if (!rec.Graph || !rec.Graph->valid() || !rec.RegFilters) return 0;
  bool unknown = false;
  const std::string type = GetAudioFileType(path);
  const bool riff = IsRiffWave(path);
  if (riff && RiffWithoutData(path)) {
    if (alternative == 0) {
      rec.Log.Write("SetupPinsToDecode No Data #" + path, platform::LogSeverity::kInfo);
    }
    return 0;
  }
  std::optional<std::vector<std::string>> chain =
      FilterChainFor(type, alternative, rec, riff, &unknown);
  if (!chain) {
    if (unknown && alternative == 0) {
      rec.Log.Write("SetupPinsToDecode Unknown Filetype #" + path, platform::LogSeverity::kInfo);
    }
    return 0;
  }
  chain->push_back(rec.RendererName);
  AddChainFilters(*chain, path, rec);
  if (ConnectChain(*chain, "SetupPinsToDecode ", rec) == 0) return 0;
  if (type == "wav" && riff && alternative == 0 && !WaveParserAgrees(*chain, path, rec)) {
    return 0;
  }
  return 1;
}

int32_t RenderPinsToDecode(const std::string& path, FilterGraphRec& rec) {
  if (!rec.Graph || !rec.Graph->valid() || !rec.RegFilters) return 0;
  if (IsRiffWave(path) && RiffWithoutData(path)) return 0;
  std::vector<std::string> chain{rec.FileSourceName, rec.RendererName};
  AddChainFilters(chain, path, rec);
  return ConnectChain(chain, "RenderPinsToDecode ", rec);
}

int32_t ConnectPin(const std::string& upName, const std::string& downName, FilterGraphRec& rec) {
  if (!rec.Graph || !rec.Graph->valid()) {
    rec.Log.Write("ConnectPin err " + upName + "#" + downName, platform::LogSeverity::kInfo);
    return 0;
  }
  PinConnectResult result =
      rec.Graph->Connect(GraphName(upName, *rec.Graph), GraphName(downName, *rec.Graph));
  switch (result.outcome) {
    case PinConnect::kConnected:
    case PinConnect::kPending:
      return 1;
    case PinConnect::kNoUpstreamPin:
    case PinConnect::kNoDownstreamPin: {
      int side = result.outcome == PinConnect::kNoUpstreamPin ? 0 : 1;
      rec.Log.Write("Pin not set " + upName + "#" + downName + " l=" + std::to_string(side) +
                        " tFound=" + std::to_string(result.found) +
                        " tNumPin=" + std::to_string(result.num_pins),
                    platform::LogSeverity::kInfo);
      return 0;
    }
    case PinConnect::kRefused:
      break;
  }
  rec.Log.Write("ConnectPin err " + upName + "#" + downName, platform::LogSeverity::kInfo);
  return 0;
}

void DisconnectAllPins(FilterGraphRec& rec) {
  if (rec.Graph) rec.Graph->DisconnectAll();
}

}  // namespace audio
