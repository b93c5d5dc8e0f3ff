#include "audio/gst/gst_graph.h"

#include <gst/base/gstbaseparse.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "audio/gst/gst_file_range_source.h"
#include "audio/gst/gst_pending_link.h"
#include "audio/gst/gst_renderer.h"

namespace audio {

bool EnsureGstInit() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] {
    GError* error = nullptr;
    ok = gst_init_check(nullptr, nullptr, &error) != FALSE;
    GstPtr<GError> reason(error);  // not kept: the result says it all
    // Our own source goes into the registry beside GStreamer's, so chains name it alike.
    if (ok) RegisterFileRangeSource();
  });
  return ok;
}

namespace {

GstPadProbeReturn OnRendererData(GstPad*, GstPadProbeInfo*, gpointer data) {
  (*static_cast<std::shared_ptr<std::atomic<bool>>*>(data))->store(true);
  return GST_PAD_PROBE_OK;
}

}  // namespace

GstGraph::GstGraph() : samples_arrived_(std::make_shared<std::atomic<bool>>(false)) {
  if (!EnsureGstInit()) return;
  pipeline_ = GstSink(gst_pipeline_new(nullptr));
  if (pipeline_ == nullptr) return;
  bus_.reset(gst_element_get_bus(pipeline_.get()));
}

GstGraph::~GstGraph() { DisconnectAll(); }

bool GstGraph::AddFilter(const std::string& name, GstElement* element) {
  GstPtr<GstElement> held = GstSink(element);
  if (held == nullptr || pipeline_ == nullptr) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (FindFilterLocked(name) != nullptr || !gst_bin_add(GST_BIN(pipeline_.get()), element)) {
    return false;
  }
  filters_.push_back(Filter{name, element, false});
  return true;
}

bool GstGraph::AddRenderer(const std::string& name, GstElement* sink) {
  RendererBin renderer;
  if (!MakeRendererBin(sink, &renderer)) return false;
  GstElement* bin = renderer.bin.get();
  if (!AddFilter(name, bin)) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Filter& f : filters_) {
      if (f.element == bin) f.renderer = true;
    }
  }
  volume_element_ = renderer.volume;
  panorama_element_ = renderer.panorama;
  // The probe keeps the flag alive for as long as the pad may call it.
  GstPtr<GstPad> input(gst_element_get_static_pad(bin, "sink"));
  if (input != nullptr) {
    gst_pad_add_probe(
        input.get(),
        static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
        &OnRendererData, new std::shared_ptr<std::atomic<bool>>(samples_arrived_),
        [](gpointer flag) { delete static_cast<std::shared_ptr<std::atomic<bool>>*>(flag); });
  }
  ApplyVolume();
  ApplyBalance();
  return true;
}

bool GstGraph::HasFilter(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return FindFilterLocked(name) != nullptr;
}

std::vector<std::string> GstGraph::FilterNames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> names;
  for (const Filter& f : filters_) names.push_back(f.name);
  return names;
}

bool GstGraph::SetSourceFile(const std::string& name, const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Filter* f = FindFilterLocked(name);
  if (f == nullptr ||
      g_object_class_find_property(G_OBJECT_GET_CLASS(f->element), "location") == nullptr) {
    return false;
  }
  g_object_set(f->element, "location", path.c_str(), nullptr);
  return true;
}

const GstGraph::Filter* GstGraph::FindFilterLocked(const std::string& name) const {
  for (const Filter& f : filters_) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

void GstGraph::DisconnectAll() {
  if (pipeline_ == nullptr) return;
  // Streaming threads end here, so no pad callback runs past this point.
  gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
  std::vector<Filter> filters;
  std::vector<std::unique_ptr<PendingLink>> links;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    filters.swap(filters_);
    links.swap(links_);
  }
  // While the filters the handlers sit on are still alive.
  for (auto& link : links) {
    if (link->added_id != 0) g_signal_handler_disconnect(link->up_element, link->added_id);
    if (link->no_more_id != 0) g_signal_handler_disconnect(link->up_element, link->no_more_id);
  }
  links.clear();
  // Taking a filter out of the bin unlinks all its pins.
  for (Filter& f : filters) gst_bin_remove(GST_BIN(pipeline_.get()), f.element);
  volume_element_ = nullptr;
  panorama_element_ = nullptr;
  stopped_ = true;
  prerolled_at_ = -1;
  last_position_ = 0.0;
  DropPendingEvents();
}

void GstGraph::Remember(GstMessage* message) {
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
    GError* err = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &err, &debug);
    GstPtr<GError> ownedErr(err);
    GstPtr<gchar> ownedDebug(debug);
    pending_completion_ = 2;
    pending_error_.filter = FilterNameOf(GST_MESSAGE_SRC(message));
    pending_error_.text = err != nullptr && err->message != nullptr ? err->message : "";
  } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS && pending_completion_ == 0) {
    pending_completion_ = 1;
  }
}

GstPtr<GstMessage> GstGraph::PopUntil(GstMessageType types, int32_t timeoutMs) {
  if (bus_ == nullptr) return nullptr;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    GstPtr<GstMessage> message(
        gst_bus_timed_pop(bus_.get(), left > 0 ? static_cast<GstClockTime>(left) : 0));
    if (message == nullptr || (GST_MESSAGE_TYPE(message.get()) & types) != 0) return message;
    Remember(message.get());
  }
}

std::string GstGraph::FilterNameOf(GstObject* object) const {
  std::string name;
  for (GstPtr<GstObject> current = GstRef(object); current != nullptr && name.empty();
       current.reset(gst_object_get_parent(current.get()))) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Filter& f : filters_) {
      if (GST_OBJECT(f.element) == current.get()) name = f.name;
    }
  }
  return name;
}

bool GstGraph::WaitAsyncDone(int32_t timeoutMs, GraphError* error) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    GstPtr<GstMessage> message =
        PopUntil(static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR),
                 left > 0 ? static_cast<int32_t>(left) : 0);
    if (message == nullptr) {
      if (error != nullptr) *error = GraphError{"", "no preroll"};
      return false;
    }
    if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
      Remember(message.get());
      if (error != nullptr) *error = pending_error_;
      return false;
    }
    if (GST_MESSAGE_SRC(message.get()) == GST_OBJECT(pipeline_.get())) return true;
  }
}

bool GstGraph::Preroll(int32_t timeoutMs, GraphError* error) {
  if (pipeline_ == nullptr) {
    if (error != nullptr) *error = GraphError{"", "no pipeline"};
    return false;
  }
  DropPendingEvents();
  stopped_ = true;
  samples_arrived_->store(false);
  GstStateChangeReturn ret = gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
  bool ok = ret == GST_STATE_CHANGE_SUCCESS || ret == GST_STATE_CHANGE_NO_PREROLL;
  if (ret == GST_STATE_CHANGE_ASYNC) {
    ok = WaitAsyncDone(timeoutMs, error);
    // A sink prerolls on the end of the stream too: a chain that ends before its first sample
    // (a parser that found nothing it could read) has nothing to play.
    if (ok && !samples_arrived_->load()) {
      ok = false;
      if (error != nullptr) *error = GraphError{"", "no samples"};
    }
  } else if (!ok) {
    if (GstPtr<GstMessage> message = PopUntil(GST_MESSAGE_ERROR, 0)) Remember(message.get());
    if (error != nullptr) {
      *error = pending_completion_ == 2 ? pending_error_ : GraphError{"", "state change refused"};
    }
  }
  if (!ok) {
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    DropPendingEvents();
    return false;
  }
  prerolled_at_ = 0;
  prerolled_rate_ = 1.0;
  last_position_ = 0.0;
  return true;
}

GraphState GstGraph::State(int32_t timeoutMs) {
  if (pipeline_ == nullptr || stopped_) return GraphState::kStopped;
  gst_element_get_state(pipeline_.get(), nullptr, nullptr,
                        static_cast<GstClockTime>(std::max(timeoutMs, 0)) * GST_MSECOND);
  GstState target = TargetState();
  if (target == GST_STATE_PLAYING) return GraphState::kRunning;
  if (target == GST_STATE_PAUSED) return GraphState::kPaused;
  return GraphState::kStopped;
}

void GstGraph::Run() {
  if (pipeline_ == nullptr) return;
  stopped_ = false;
  prerolled_at_ = -1;
  gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
}

void GstGraph::Pause() {
  if (pipeline_ == nullptr || stopped_) return;
  gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
}

void GstGraph::Stop() {
  if (pipeline_ == nullptr) return;
  stopped_ = true;
  prerolled_at_ = -1;
  gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
}

int32_t GstGraph::WaitForCompletion(int32_t timeoutMs, GraphError* error) {
  if (pending_completion_ == 0) {
    GstPtr<GstMessage> message = PopUntil(
        static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR), std::max(timeoutMs, 0));
    if (message != nullptr) Remember(message.get());
  }
  int32_t result = pending_completion_;
  if (result == 2 && error != nullptr) *error = pending_error_;
  pending_completion_ = 0;
  pending_error_ = GraphError{};
  return result;
}

void GstGraph::DropPendingEvents() {
  pending_completion_ = 0;
  pending_error_ = GraphError{};
  if (bus_ == nullptr) return;
  // Each message goes with its holder.
  while (GstPtr<GstMessage> message{gst_bus_pop(bus_.get())}) {
  }
}

GstState GstGraph::TargetState() const {
  GST_OBJECT_LOCK(pipeline_.get());
  GstState target = GST_STATE_TARGET(pipeline_.get());
  GST_OBJECT_UNLOCK(pipeline_.get());
  return target;
}

bool GstGraph::Duration(double* seconds) {
  if (pipeline_ == nullptr) return false;
  gint64 duration = -1;
  if (!gst_element_query_duration(pipeline_.get(), GST_FORMAT_TIME, &duration) || duration < 0) {
    duration = EstimatedDuration();
  }
  if (duration < 0) return false;
  *seconds = static_cast<double>(duration) / 1e9;
  return true;
}

namespace {

// The first stream parser in the bin or a bin inside it (own reference), or nullptr.
GstPtr<GstElement> FindParser(GstBin* bin) {
  GstPtr<GstElement> found;
  GstPtr<GstIterator> it(gst_bin_iterate_recurse(bin));
  GValue item = G_VALUE_INIT;
  while (found == nullptr && gst_iterator_next(it.get(), &item) == GST_ITERATOR_OK) {
    auto* element = GST_ELEMENT(g_value_get_object(&item));
    if (G_TYPE_CHECK_INSTANCE_TYPE(element, GST_TYPE_BASE_PARSE)) found = GstRef(element);
    g_value_reset(&item);
  }
  g_value_unset(&item);
  return found;
}

}  // namespace

int64_t GstGraph::EstimatedDuration() {
  // A parser of a stream without a length header (MP3 without an info frame) knows the length
  // only once it has seen many frames; until then it can still turn the file's size into time
  // from the frames it has parsed, as a splitter does from the bit rate.
  GstPtr<GstElement> source;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!filters_.empty()) source = GstRef(filters_.front().element);
  }
  if (source == nullptr) return -1;
  // The parser does the sum, also inside a decodebin; failing one, the element after the source.
  GstPtr<GstElement> next = FindParser(GST_BIN(pipeline_.get()));
  if (next == nullptr) {
    GstPtr<GstPad> out(gst_element_get_static_pad(source.get(), "src"));
    GstPtr<GstPad> peer(out != nullptr ? gst_pad_get_peer(out.get()) : nullptr);
    if (peer != nullptr) next.reset(gst_pad_get_parent_element(peer.get()));
  }
  gint64 result = -1;
  gint64 bytes = -1;
  if (next != nullptr && gst_element_query_duration(source.get(), GST_FORMAT_BYTES, &bytes) &&
      bytes > 0 &&
      !gst_element_query_convert(next.get(), GST_FORMAT_BYTES, bytes, GST_FORMAT_TIME, &result)) {
    result = -1;
  }
  return result;
}

double GstGraph::CurrentPosition() {
  gint64 position = -1;
  if (pipeline_ != nullptr &&
      gst_element_query_position(pipeline_.get(), GST_FORMAT_TIME, &position) && position >= 0) {
    last_position_ = static_cast<double>(position) / 1e9;
  }
  return last_position_;
}

bool GstGraph::SetCurrentPosition(double seconds, int32_t timeoutMs, bool always) {
  if (pipeline_ == nullptr) return false;
  if (!(seconds > 0.0)) seconds = 0.0;
  if (seconds > 9e9) seconds = 9e9;
  auto target = static_cast<int64_t>(std::nearbyint(seconds * 1e9));
  if (!always && prerolled_at_ == target && prerolled_rate_ == rate_) return true;
  bool ok =
      gst_element_seek(pipeline_.get(), rate_, GST_FORMAT_TIME,
                       static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                       GST_SEEK_TYPE_SET, target, GST_SEEK_TYPE_NONE, -1) != FALSE;
  if (!ok) return false;
  last_position_ = seconds;
  if (TargetState() == GST_STATE_PAUSED) {
    // An error during this preroll stays pending: the next completion poll reports it.
    ok = WaitAsyncDone(timeoutMs, nullptr);
    if (ok) {
      prerolled_at_ = target;
      prerolled_rate_ = rate_;
    }
  }
  return ok;
}

void GstGraph::SetRate(double rate) {
  if (!(rate > 0.0)) return;
  rate_ = rate;
  if (pipeline_ == nullptr || stopped_ || TargetState() != GST_STATE_PLAYING) return;
  double here = CurrentPosition();
  gst_element_seek(pipeline_.get(), rate_, GST_FORMAT_TIME,
                   static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                   GST_SEEK_TYPE_SET, static_cast<int64_t>(std::nearbyint(here * 1e9)),
                   GST_SEEK_TYPE_NONE, -1);
}

void GstGraph::SetVolume(int32_t level) {
  volume_ = level;
  ApplyVolume();
}

void GstGraph::SetBalance(int32_t balance) {
  balance_ = balance;
  ApplyBalance();
}

void GstGraph::ApplyVolume() { ApplyVolumeLevel(volume_element_, volume_); }

void GstGraph::ApplyBalance() { ApplyBalanceCut(panorama_element_, balance_); }

}  // namespace audio
