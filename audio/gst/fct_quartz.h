#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/gst/gst_graph.h"
#include "platform/log_sink.h"
#include "platform/wave_device_list.h"

namespace audio {

// The graph builder: builds the pipeline a file plays in from a fixed chain of element
// factories chosen by the file's type word, connects them pin to pin, and falls back to a
// decodebin between the file source and the renderer. Its failures show only as 0 results;
// the reasons go to the graph record's log (ordinary lines).
//
// "Registered filters" are the element factories GStreamer knows plus one renderer per entry
// of the ALSA playback device table (the same table the waveOut player picks its device from),
// named as the table shows it.

// Names the builder asks for.
inline constexpr const char* kFileSourceName = "filesrc";
inline constexpr const char* kWaveParserName = "wavparse";
inline constexpr const char* kAiffParserName = "aiffparse";
inline constexpr const char* kTagDemuxName = "id3demux";  // tags before and after MPEG frames
inline constexpr const char* kMpegSplitterName = "mpegaudioparse";
inline constexpr const char* kMpegProgramSplitterName = "mpegpsdemux";
inline constexpr const char* kMp3DecoderName = "mpg123audiodec";    // Mp3Decoder 1
inline constexpr const char* kMp3GenericDecoderName = "avdec_mp3";  // Mp3Decoder 2; the fallback
inline constexpr const char* kMp4SplitterName = "qtdemux";
inline constexpr const char* kAacParserName = "aacparse";
inline constexpr const char* kAacDecoderName = "faad";              // Mp4Decoder 1
inline constexpr const char* kAacGenericDecoderName = "avdec_aac";  // Mp4Decoder 2, wins over 1
inline constexpr const char* kOggSplitterName = "oggdemux";
inline constexpr const char* kVorbisDecoderName = "vorbisdec";
inline constexpr const char* kAsfSplitterName = "asfdemux";
inline constexpr const char* kWmaDecoderName = "avdec_wmav2";    // HasWmaDmo 1
inline constexpr const char* kWmaV1DecoderName = "avdec_wmav1";  // the other WMA chain
inline constexpr const char* kMidiParserName = "midiparse";
inline constexpr const char* kMidiSynthName = "fluiddec";
// Reads PCM samples from a RIFF file's data chunk (audio/gst/gst_file_range_source.h).
inline constexpr const char* kRawAudioParserName = "rawaudioparse";

// Default renderers in table order: the ALSA default device (what the waveOut player's
// default opens) and the system's preferred sink. EnumAudioFilters mode 0 walks them forwards,
// mode 1 backwards.
inline constexpr const char* kDefaultRendererNames[] = {"default", "autoaudiosink"};
inline constexpr int32_t kNumDefaultRenderers = 2;

// What tests (and machines without sound) replace.
struct GraphSeams {
  // Makes the sink that ends the renderer. `device` is the ALSA PCM of a device-table renderer,
  // "" for a renderer that is an element factory. Unset: alsasink on the device, else the
  // factory named `rendererName`.
  std::function<GstElement*(const std::string& rendererName, const std::string& device)> make_sink;
  // Factory names treated as not registered (lower case).
  std::vector<std::string> hidden_filters;
  // The playback device table; unset: platform::AlsaPlaybackDevices().
  std::function<std::vector<platform::WaveDeviceEntry>()> devices;
  // How long a new chain may take to deliver its first samples before it counts as failed.
  int32_t preroll_timeout_ms = 3000;
};

// The registered filters one graph sees.
class RegFilterCollection {
 public:
  explicit RegFilterCollection(GraphSeams seams);
  // True when a filter of that name (trimmed, compared in lower case) is registered.
  bool Has(const std::string& name) const;
  // The playback device table, read once on first use.
  const std::vector<platform::WaveDeviceEntry>& Devices() const;
  // The device entry a renderer name stands for, or nullptr.
  const platform::WaveDeviceEntry* FindDevice(const std::string& name) const;
  const GraphSeams& seams() const { return seams_; }

 private:
  bool Hidden(const std::string& folded) const;

  GraphSeams seams_;
  mutable bool devices_read_ = false;
  mutable std::vector<platform::WaveDeviceEntry> devices_;
};

// The graph record the player owns and hands to every routine here.
struct FilterGraphRec {
  explicit FilterGraphRec(platform::LogSink& log) : Log(log) {}

  // Where the routines write why a chain failed.
  platform::LogSink& Log;
  std::shared_ptr<RegFilterCollection> RegFilters;
  // The pipeline; it answers for the control, events, position and audio of the graph.
  std::unique_ptr<GstGraph> Graph;
  int32_t HasWmaDmo = 0;
  int32_t Mp3Decoder = 0;
  int32_t Mp4Decoder = 0;
  std::string RendererName;
  // The ALSA PCM of a device-table renderer; "" when RendererName is an element factory.
  std::string RendererDevice;
  std::string FileSourceName;
  std::string WaveParserName;
  GraphSeams Seams;
};

// The filter chain for a type word: the entries before the renderer, first chain or
// alternative. std::nullopt when the type has no such chain (`unknown` set when the type word
// is not known at all). `riff` says the file is a RIFF WAVE file: its first chain reads it with
// the wave parser, its alternative reads the data chunk as the RIFF reader finds it (for a wave
// file and MPEG audio held in a RIFF file). MPEG audio in a file of its own passes the tag
// reader first, so no byte of a tag reaches the decoder.
std::optional<std::vector<std::string>> FilterChainFor(const std::string& type, int32_t alternative,
                                                       const FilterGraphRec& rec, bool riff,
                                                       bool* unknown);

// Makes a new empty graph and a fresh registered-filter collection.
void CreateFilterGraph(FilterGraphRec& rec);
// DisconnectAllPins, then drops the graph and the collection.
void ReleaseFilterGraph(FilterGraphRec& rec);
// Fills RendererName (mode 0: default renderers forwards, 1: backwards; the first registered
// wins, none keeps the old name), FileSourceName, WaveParserName and the decoder facts.
void EnumAudioFilters(int32_t mode, FilterGraphRec& rec);
// Builds the chain for `path`, connects it and prerolls it: 1 when the renderer receives
// samples, else 0 with the reason in the record's log. A RIFF WAVE file without samples (no data
// chunk, or an empty one) fails at once, and the first chain of a PCM wave file fails when the
// wave parser's length is not the RIFF reader's.
int32_t SetupPinsToDecode(const std::string& path, int32_t alternative, FilterGraphRec& rec);
// File source straight to the renderer with a decodebin between: 1 when it prerolls, else 0
// (also, without a log line, for a RIFF WAVE file without samples).
int32_t RenderPinsToDecode(const std::string& path, FilterGraphRec& rec);
// Connects two filters of the graph by name (trimmed, in any case): 1 when made (or waiting for a
// streaming pin), 0 with a "Pin not set " or "ConnectPin err " line.
int32_t ConnectPin(const std::string& upName, const std::string& downName, FilterGraphRec& rec);
// Unlinks every filter and takes them all out of the graph (a source left in unlinked would
// stop the next chain).
void DisconnectAllPins(FilterGraphRec& rec);

}  // namespace audio
