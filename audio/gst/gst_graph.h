#pragma once

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/gst/gst_ptr.h"

namespace audio {

// Starts GStreamer once for the process (later calls only report the first result). False
// when it could not start; every graph is then empty and every load fails.
bool EnsureGstInit();

// A graph's play state as its control reports it.
enum class GraphState : int32_t { kStopped = 0, kPaused = 1, kRunning = 2 };

// How one pin-to-pin connection went.
enum class PinConnect : int32_t {
  kConnected,        // linked now
  kPending,          // the upstream pin appears once data flows; linked then (see Preroll)
  kNoUpstreamPin,    // upstream filter missing or without an output pin
  kNoDownstreamPin,  // downstream filter missing or without an input pin
  kRefused,          // both pins there, the link was refused
};

struct PinConnectResult {
  PinConnect outcome = PinConnect::kRefused;
  // For the missing side: whether its filter is in the graph, and the pins counted on it
  // (output pins upstream, all pins downstream).
  int32_t found = 0;
  int32_t num_pins = 0;
};

// What the pipeline reported when it failed: the filter (by its graph name, "" when the
// message came from elsewhere) and the message text.
struct GraphError {
  std::string filter;
  std::string text;
};

// One filter graph over a GStreamer pipeline. Filters are elements known by the names they were
// added under; pins are pads. The graph stands for the control, event, position and audio
// interfaces of the graph manager at once:
//   - Stop keeps the pipeline prerolled (paused) and only reports "stopped", so a later Play
//     starts without rebuilding the demuxers' pads;
//   - completion and errors are read from the bus on the caller's thread; no GLib main loop;
//   - volume and balance act on the renderer's volume and panorama elements.
// Links to pads a demuxer creates while streaming are made from GStreamer's streaming thread;
// everything else happens on the caller's thread.
class GstGraph {
 public:
  GstGraph();
  ~GstGraph();
  GstGraph(const GstGraph&) = delete;
  GstGraph& operator=(const GstGraph&) = delete;

  // False when no pipeline could be made.
  bool valid() const { return pipeline_ != nullptr; }

  // ---- filters ----------------------------------------------------------------------------
  // Adds `element` under `name`. A floating reference is taken over in every case (a refused
  // element is gone after the call); a reference the caller holds stays the caller's. False for
  // a null element, a name already in the graph or a refused add.
  bool AddFilter(const std::string& name, GstElement* element);
  // Adds the renderer: `sink` behind format conversion, the volume and the balance elements.
  bool AddRenderer(const std::string& name, GstElement* sink);
  bool HasFilter(const std::string& name) const;
  // Names of the filters in the graph, in the order they were added (inserted decoders too).
  std::vector<std::string> FilterNames() const;
  // Sets the file a source filter reads; false when there is no such filter.
  bool SetSourceFile(const std::string& name, const std::string& path);

  // Connects the first output pin of `up` (of several, the first audio one) to the first input
  // pin of `down`. When `down` is the renderer and the output is not plain audio samples, a
  // decodebin is put in between, as an intelligent connect would. Output pins that appear only
  // with data are connected when they appear (kPending).
  PinConnectResult Connect(const std::string& up, const std::string& down);
  // State of the connection made by Connect(up, down): 1 linked, 0 still waiting for its pin,
  // -1 refused, -2 never asked for.
  int32_t ConnectionState(const std::string& up, const std::string& down) const;
  // Stops the pipeline, unlinks every output pin and takes every filter out of the graph.
  void DisconnectAll();

  // ---- control ----------------------------------------------------------------------------
  // Pauses the pipeline and waits up to timeoutMs for the first samples to reach the renderer.
  // False on an error message, a refused state change, the time running out or a stream that
  // ended before any sample reached the renderer; the pipeline is then shut down (state NULL)
  // and `error` says why.
  bool Preroll(int32_t timeoutMs, GraphError* error);
  // The state the pipeline is in or on its way to, asking it for at most timeoutMs.
  GraphState State(int32_t timeoutMs);
  void Run();
  void Pause();
  void Stop();
  // Waits up to timeoutMs for the end of the stream: 1 end reached, 2 an error (in `error`),
  // 0 neither. An end or error seen by an earlier wait is reported first, once.
  int32_t WaitForCompletion(int32_t timeoutMs, GraphError* error);
  // Forgets ends and errors seen so far and drops every message waiting on the bus.
  void DropPendingEvents();

  // ---- position ---------------------------------------------------------------------------
  // The stream's duration in seconds (estimated from the file size while a parser has no
  // exact one); false when the pipeline does not know it.
  bool Duration(double* seconds);
  // The current stream position in seconds (the last known one when the query fails).
  double CurrentPosition();
  // Seeks to `seconds` at the current rate and, when paused, waits up to timeoutMs for the
  // new preroll. Without `always`, a pipeline already prerolled at that point is left alone;
  // with it the samples already on their way are flushed, so a volume or balance set since
  // then applies from the first sample.
  bool SetCurrentPosition(double seconds, int32_t timeoutMs, bool always = false);
  // Sets the rate; a running pipeline gets it at once from where it is, a stopped or paused
  // one with its next position change.
  void SetRate(double rate);
  double Rate() const { return rate_; }

  // ---- audio ------------------------------------------------------------------------------
  // Volume in hundredths of a dB (0 full, -10000 silent); reads back the level last set.
  void SetVolume(int32_t level);
  int32_t Volume() const { return volume_; }
  // Balance in hundredths of a dB cut from the other side: above 0 lowers the left channel,
  // below 0 the right; reads back the value last set.
  void SetBalance(int32_t balance);
  int32_t Balance() const { return balance_; }

 private:
  struct Filter {
    std::string name;
    GstElement* element = nullptr;  // owned by the pipeline
    bool renderer = false;
  };
  struct PendingLink;

  const Filter* FindFilterLocked(const std::string& name) const;
  // Links `pad` to the link's downstream pin, inserting a decodebin in front of the renderer
  // when the pad gives coded data. Streaming thread or caller; returns the link outcome.
  bool LinkPad(GstPad* pad, PendingLink* link);
  PendingLink* NewLink(const std::string& up, const std::string& down, GstElement* upElement,
                       GstPtr<GstPad> downPad, bool toRenderer);
  void WatchPads(PendingLink* link);
  static void OnPadAdded(GstElement* element, GstPad* pad, gpointer data);
  static void OnNoMorePads(GstElement* element, gpointer data);
  // Pops bus messages for up to timeoutMs until one of `types`; ends and errors met on the way
  // are kept for WaitForCompletion. Null when none came.
  GstPtr<GstMessage> PopUntil(GstMessageType types, int32_t timeoutMs);
  void Remember(GstMessage* message);
  bool WaitAsyncDone(int32_t timeoutMs, GraphError* error);
  // The state the pipeline is on its way to (or in); needs a pipeline.
  GstState TargetState() const;
  std::string FilterNameOf(GstObject* object) const;
  // The length the element after the source makes of the source's size in bytes; -1 unknown.
  int64_t EstimatedDuration();
  void ApplyVolume();
  void ApplyBalance();

  GstPtr<GstElement> pipeline_;
  GstPtr<GstBus> bus_;
  mutable std::mutex mutex_;  // filters_ and links_; streaming threads add to both
  std::vector<Filter> filters_;
  std::vector<std::unique_ptr<PendingLink>> links_;
  GstElement* volume_element_ = nullptr;
  GstElement* panorama_element_ = nullptr;
  bool stopped_ = true;
  // Position (ns) the paused pipeline is prerolled at after a load or seek; -1 once it ran.
  int64_t prerolled_at_ = -1;
  double prerolled_rate_ = 1.0;
  double rate_ = 1.0;
  double last_position_ = 0.0;
  int32_t volume_ = 0;
  int32_t balance_ = 0;
  // 0 none, 1 end of stream, 2 error; kept until WaitForCompletion reports it.
  int32_t pending_completion_ = 0;
  GraphError pending_error_;
  int32_t decodebin_count_ = 0;
  // Set from the streaming thread when a buffer enters the renderer; shared with its probe.
  std::shared_ptr<std::atomic<bool>> samples_arrived_;
};

}  // namespace audio
