#include "audio/gst_graph.h"

#include <gst/audio/audio-format.h>
#include <gst/base/gstbaseparse.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>

namespace audio {

namespace {

constexpr const char* kDecodeBinFactory = "decodebin";

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// Caps of a pad: what it carries now, else what it could carry. Caller unrefs; may be null.
GstCaps* PadCaps(GstPad* pad) {
  GstCaps* caps = gst_pad_get_current_caps(pad);
  if (caps == nullptr) caps = gst_pad_query_caps(pad, nullptr);
  return caps;
}

// True when every form the pad can take is plain audio samples (ANY or unknown is not).
bool PadGivesRawAudio(GstPad* pad) {
  GstCaps* caps = PadCaps(pad);
  if (caps == nullptr) return false;
  bool raw = !gst_caps_is_any(caps) && !gst_caps_is_empty(caps);
  for (guint i = 0; raw && i < gst_caps_get_size(caps); ++i) {
    raw = gst_structure_has_name(gst_caps_get_structure(caps, i), "audio/x-raw");
  }
  gst_caps_unref(caps);
  return raw;
}

// The pad's name says audio, or its caps do.
bool IsAudioPad(GstPad* pad) {
  gchar* name = gst_pad_get_name(pad);
  bool audio = name != nullptr && IsAudioPinId(name) == 1;
  g_free(name);
  if (audio) return true;
  GstCaps* caps = PadCaps(pad);
  if (caps != nullptr) {
    if (!gst_caps_is_any(caps) && gst_caps_get_size(caps) > 0) {
      audio = StartsWith(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
    }
    gst_caps_unref(caps);
  }
  return audio;
}

bool HasSometimesSourceTemplate(GstElement* element) {
  for (const GList* t = gst_element_class_get_pad_template_list(GST_ELEMENT_GET_CLASS(element));
       t != nullptr; t = t->next) {
    auto* templ = static_cast<GstPadTemplate*>(t->data);
    if (GST_PAD_TEMPLATE_DIRECTION(templ) == GST_PAD_SRC &&
        GST_PAD_TEMPLATE_PRESENCE(templ) == GST_PAD_SOMETIMES) {
      return true;
    }
  }
  return false;
}

// The pads of an element (src only or all), each with a reference the caller drops.
std::vector<GstPad*> ElementPads(GstElement* element, bool sourcesOnly) {
  std::vector<GstPad*> pads;
  GstIterator* it =
      sourcesOnly ? gst_element_iterate_src_pads(element) : gst_element_iterate_pads(element);
  GValue item = G_VALUE_INIT;
  bool done = false;
  while (!done) {
    switch (gst_iterator_next(it, &item)) {
      case GST_ITERATOR_OK:
        pads.push_back(GST_PAD(g_value_dup_object(&item)));
        g_value_reset(&item);
        break;
      case GST_ITERATOR_RESYNC:
        for (GstPad* p : pads) gst_object_unref(p);
        pads.clear();
        gst_iterator_resync(it);
        break;
      default:
        done = true;
        break;
    }
  }
  g_value_unset(&item);
  gst_iterator_free(it);
  return pads;
}

void UnrefPads(std::vector<GstPad*>& pads) {
  for (GstPad* p : pads) gst_object_unref(p);
  pads.clear();
}

}  // namespace

bool EnsureGstInit() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] {
    GError* error = nullptr;
    ok = gst_init_check(nullptr, nullptr, &error) != FALSE;
    if (error != nullptr) g_error_free(error);
  });
  return ok;
}

int32_t IsAudioPinId(const std::string& id) {
  std::string folded;
  for (char c : id) {
    if (c == ' ' || c == '\t') continue;
    folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (folded.find("audio") != std::string::npos) return 1;
  return folded.find("stream") != std::string::npos && folded.find('1') != std::string::npos;
}

// One connection asked for by Connect (or made inside an inserted decodebin).
struct GstGraph::PendingLink {
  GstGraph* graph = nullptr;
  std::string up;
  std::string down;
  GstElement* up_element = nullptr;  // owned by the pipeline
  GstPad* down_pad = nullptr;        // own reference
  bool to_renderer = false;
  bool internal = false;  // made by an inserted decoder, not asked for by name
  std::atomic<int32_t> state{0};
  std::mutex mutex;  // pad bookkeeping below, touched from the streaming thread
  int32_t pads_seen = 0;
  GstPad* lone_pad = nullptr;  // first pad that did not look like audio; own reference
  gulong added_id = 0;
  gulong no_more_id = 0;
};

GstGraph::GstGraph() {
  if (!EnsureGstInit()) return;
  pipeline_ = gst_pipeline_new(nullptr);
  if (pipeline_ == nullptr) return;
  gst_object_ref_sink(pipeline_);
  bus_ = gst_element_get_bus(pipeline_);
}

GstGraph::~GstGraph() {
  if (pipeline_ == nullptr) return;
  DisconnectAll();
  if (bus_ != nullptr) gst_object_unref(bus_);
  gst_object_unref(pipeline_);
}

bool GstGraph::AddFilter(const std::string& name, GstElement* element) {
  if (element == nullptr) return false;
  gst_object_ref_sink(element);
  bool ok = false;
  if (pipeline_ != nullptr) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (FindFilterLocked(name) == nullptr && gst_bin_add(GST_BIN(pipeline_), element)) {
      filters_.push_back(Filter{name, element, false});
      ok = true;
    }
  }
  gst_object_unref(element);
  return ok;
}

bool GstGraph::AddRenderer(const std::string& name, GstElement* sink) {
  if (sink == nullptr) return false;
  gst_object_ref_sink(sink);
  GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
  // Float through volume and balance: integer volume works with a coarse fixed-point gain.
  GstElement* toFloat = gst_element_factory_make("capsfilter", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  GstElement* volume = gst_element_factory_make("volume", nullptr);
  GstElement* panorama = gst_element_factory_make("audiopanorama", nullptr);
  GstElement* convertOut = gst_element_factory_make("audioconvert", nullptr);
  GstElement* bin = gst_bin_new(nullptr);
  GstElement* parts[] = {convert, toFloat, resample, volume, panorama, convertOut, sink};
  bool ok = bin != nullptr;
  for (GstElement* e : parts) ok = ok && e != nullptr;
  if (ok) {
    // "simple" lowers one side and leaves the other untouched, as a balance control does.
    g_object_set(panorama, "method", 1, nullptr);
    GstCaps* floatCaps =
        gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, GST_AUDIO_NE(F32), nullptr);
    g_object_set(toFloat, "caps", floatCaps, nullptr);
    gst_caps_unref(floatCaps);
    for (GstElement* e : parts) gst_bin_add(GST_BIN(bin), e);
    ok = gst_element_link_many(convert, toFloat, resample, volume, panorama, convertOut, sink,
                               nullptr);
    GstPad* target = gst_element_get_static_pad(convert, "sink");
    ok = ok && target != nullptr &&
         gst_element_add_pad(bin, gst_ghost_pad_new("sink", target)) != FALSE;
    if (target != nullptr) gst_object_unref(target);
  } else {
    for (GstElement* e : parts) {
      if (e != nullptr && e != sink) gst_object_unref(gst_object_ref_sink(e));
    }
    if (bin != nullptr) gst_object_unref(gst_object_ref_sink(bin));
    bin = nullptr;
  }
  gst_object_unref(sink);
  if (bin == nullptr) return false;
  if (!ok) {
    gst_object_unref(gst_object_ref_sink(bin));
    return false;
  }
  gst_object_ref(bin);
  if (!AddFilter(name, bin)) {
    gst_object_unref(bin);
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Filter& f : filters_) {
      if (f.element == bin) f.renderer = true;
    }
  }
  gst_object_unref(bin);
  volume_element_ = volume;
  panorama_element_ = panorama;
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

GstGraph::PendingLink* GstGraph::NewLink(const std::string& up, const std::string& down,
                                         GstElement* upElement, GstPad* downPad, bool toRenderer) {
  auto link = std::make_unique<PendingLink>();
  link->graph = this;
  link->up = up;
  link->down = down;
  link->up_element = upElement;
  link->down_pad = downPad;
  link->to_renderer = toRenderer;
  PendingLink* raw = link.get();
  std::lock_guard<std::mutex> lock(mutex_);
  links_.push_back(std::move(link));
  return raw;
}

void GstGraph::WatchPads(PendingLink* link) {
  link->added_id =
      g_signal_connect(link->up_element, "pad-added", G_CALLBACK(&GstGraph::OnPadAdded), link);
  link->no_more_id =
      g_signal_connect(link->up_element, "no-more-pads", G_CALLBACK(&GstGraph::OnNoMorePads), link);
}

void GstGraph::OnPadAdded(GstElement*, GstPad* pad, gpointer data) {
  auto* link = static_cast<PendingLink*>(data);
  if (GST_PAD_DIRECTION(pad) != GST_PAD_SRC) return;
  std::lock_guard<std::mutex> lock(link->mutex);
  if (link->state.load() != 0) return;
  ++link->pads_seen;
  if (!IsAudioPad(pad)) {
    if (link->lone_pad == nullptr) link->lone_pad = GST_PAD(gst_object_ref(pad));
    return;
  }
  link->state = link->graph->LinkPad(pad, link) ? 1 : -1;
}

void GstGraph::OnNoMorePads(GstElement*, gpointer data) {
  auto* link = static_cast<PendingLink*>(data);
  std::lock_guard<std::mutex> lock(link->mutex);
  // A single output pin is taken whatever it is called.
  if (link->state.load() == 0 && link->pads_seen == 1 && link->lone_pad != nullptr) {
    link->state = link->graph->LinkPad(link->lone_pad, link) ? 1 : -1;
  }
}

bool GstGraph::LinkPad(GstPad* pad, PendingLink* link) {
  if (!link->to_renderer || PadGivesRawAudio(pad)) {
    return gst_pad_link(pad, link->down_pad) == GST_PAD_LINK_OK;
  }
  // Coded data in front of the renderer: let a decodebin find parser and decoder.
  GstElement* decoder = gst_element_factory_make(kDecodeBinFactory, nullptr);
  if (decoder == nullptr) return false;
  std::string name = kDecodeBinFactory;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (decodebin_count_ > 0) name += std::to_string(decodebin_count_);
    ++decodebin_count_;
  }
  if (!AddFilter(name, decoder)) return false;
  GstPad* sink = gst_element_get_static_pad(decoder, "sink");
  bool ok = sink != nullptr && gst_pad_link(pad, sink) == GST_PAD_LINK_OK;
  if (sink != nullptr) gst_object_unref(sink);
  if (!ok) return false;
  PendingLink* inner =
      NewLink(name, link->down, decoder, GST_PAD(gst_object_ref(link->down_pad)), true);
  inner->internal = true;
  WatchPads(inner);
  gst_element_sync_state_with_parent(decoder);
  return true;
}

PinConnectResult GstGraph::Connect(const std::string& up, const std::string& down) {
  PinConnectResult result;
  GstElement* upElement = nullptr;
  GstElement* downElement = nullptr;
  bool toRenderer = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (const Filter* f = FindFilterLocked(up)) upElement = f->element;
    const Filter* d = down == up ? nullptr : FindFilterLocked(down);
    if (d != nullptr) {
      downElement = d->element;
      toRenderer = d->renderer;
    }
  }
  if (upElement == nullptr) {
    result.outcome = PinConnect::kNoUpstreamPin;
    return result;
  }
  std::vector<GstPad*> outputs = ElementPads(upElement, true);
  GstPad* upPad = outputs.empty() ? nullptr : outputs.front();
  if (outputs.size() > 1) {
    for (GstPad* p : outputs) {
      if (IsAudioPad(p)) {
        upPad = p;
        break;
      }
    }
  }
  bool pending = outputs.empty() && HasSometimesSourceTemplate(upElement);
  if (upPad == nullptr && !pending) {
    result.outcome = PinConnect::kNoUpstreamPin;
    result.found = 1;
    result.num_pins = static_cast<int32_t>(outputs.size());
    UnrefPads(outputs);
    return result;
  }
  if (downElement == nullptr) {
    result.outcome = PinConnect::kNoDownstreamPin;
    UnrefPads(outputs);
    return result;
  }
  std::vector<GstPad*> pins = ElementPads(downElement, false);
  GstPad* downPad = nullptr;
  for (GstPad* p : pins) {
    if (GST_PAD_DIRECTION(p) == GST_PAD_SINK) {
      downPad = GST_PAD(gst_object_ref(p));
      break;
    }
  }
  if (downPad == nullptr) {
    result.outcome = PinConnect::kNoDownstreamPin;
    result.found = 1;
    result.num_pins = static_cast<int32_t>(pins.size());
    UnrefPads(pins);
    UnrefPads(outputs);
    return result;
  }
  UnrefPads(pins);
  PendingLink* link = NewLink(up, down, upElement, downPad, toRenderer);
  if (pending) {
    WatchPads(link);
    result.outcome = PinConnect::kPending;
  } else {
    bool ok = LinkPad(upPad, link);
    link->state = ok ? 1 : -1;
    result.outcome = ok ? PinConnect::kConnected : PinConnect::kRefused;
  }
  UnrefPads(outputs);
  return result;
}

int32_t GstGraph::ConnectionState(const std::string& up, const std::string& down) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = links_.rbegin(); it != links_.rend(); ++it) {
    if (!(*it)->internal && (*it)->up == up && (*it)->down == down) return (*it)->state.load();
  }
  return -2;
}

void GstGraph::DisconnectAll() {
  if (pipeline_ == nullptr) return;
  // Streaming threads end here, so no pad callback runs past this point.
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  std::vector<Filter> filters;
  std::vector<std::unique_ptr<PendingLink>> links;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    filters.swap(filters_);
    links.swap(links_);
  }
  for (auto& link : links) {
    if (link->added_id != 0) g_signal_handler_disconnect(link->up_element, link->added_id);
    if (link->no_more_id != 0) g_signal_handler_disconnect(link->up_element, link->no_more_id);
    if (link->down_pad != nullptr) gst_object_unref(link->down_pad);
    if (link->lone_pad != nullptr) gst_object_unref(link->lone_pad);
  }
  // Taking a filter out of the bin unlinks all its pins.
  for (Filter& f : filters) gst_bin_remove(GST_BIN(pipeline_), f.element);
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
    pending_completion_ = 2;
    pending_error_.filter = FilterNameOf(GST_MESSAGE_SRC(message));
    pending_error_.text = err != nullptr && err->message != nullptr ? err->message : "";
    if (err != nullptr) g_error_free(err);
    g_free(debug);
  } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS && pending_completion_ == 0) {
    pending_completion_ = 1;
  }
}

GstMessage* GstGraph::PopUntil(GstMessageType types, int32_t timeoutMs) {
  if (bus_ == nullptr) return nullptr;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    GstMessage* message = gst_bus_timed_pop(bus_, left > 0 ? static_cast<GstClockTime>(left) : 0);
    if (message == nullptr) return nullptr;
    if ((GST_MESSAGE_TYPE(message) & types) != 0) return message;
    Remember(message);
    gst_message_unref(message);
  }
}

std::string GstGraph::FilterNameOf(GstObject* object) const {
  if (object == nullptr) return "";
  GstObject* current = GST_OBJECT(gst_object_ref(object));
  std::string name;
  while (current != nullptr && name.empty()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (const Filter& f : filters_) {
        if (GST_OBJECT(f.element) == current) name = f.name;
      }
    }
    GstObject* parent = gst_object_get_parent(current);
    gst_object_unref(current);
    current = parent;
  }
  if (current != nullptr) gst_object_unref(current);
  return name;
}

bool GstGraph::WaitAsyncDone(int32_t timeoutMs, GraphError* error) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    GstMessage* message =
        PopUntil(static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR),
                 left > 0 ? static_cast<int32_t>(left) : 0);
    if (message == nullptr) {
      if (error != nullptr) *error = GraphError{"", "no preroll"};
      return false;
    }
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
      Remember(message);
      gst_message_unref(message);
      if (error != nullptr) *error = pending_error_;
      return false;
    }
    bool ours = GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_);
    gst_message_unref(message);
    if (ours) return true;
  }
}

bool GstGraph::Preroll(int32_t timeoutMs, GraphError* error) {
  if (pipeline_ == nullptr) {
    if (error != nullptr) *error = GraphError{"", "no pipeline"};
    return false;
  }
  DropPendingEvents();
  stopped_ = true;
  GstStateChangeReturn ret = gst_element_set_state(pipeline_, GST_STATE_PAUSED);
  bool ok = ret == GST_STATE_CHANGE_SUCCESS || ret == GST_STATE_CHANGE_NO_PREROLL;
  if (ret == GST_STATE_CHANGE_ASYNC) {
    ok = WaitAsyncDone(timeoutMs, error);
  } else if (!ok) {
    GstMessage* message = PopUntil(GST_MESSAGE_ERROR, 0);
    if (message != nullptr) {
      Remember(message);
      gst_message_unref(message);
    }
    if (error != nullptr) {
      *error = pending_completion_ == 2 ? pending_error_ : GraphError{"", "state change refused"};
    }
  }
  if (!ok) {
    gst_element_set_state(pipeline_, GST_STATE_NULL);
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
  gst_element_get_state(pipeline_, nullptr, nullptr,
                        static_cast<GstClockTime>(std::max(timeoutMs, 0)) * GST_MSECOND);
  GST_OBJECT_LOCK(pipeline_);
  GstState target = GST_STATE_TARGET(pipeline_);
  GST_OBJECT_UNLOCK(pipeline_);
  if (target == GST_STATE_PLAYING) return GraphState::kRunning;
  if (target == GST_STATE_PAUSED) return GraphState::kPaused;
  return GraphState::kStopped;
}

void GstGraph::Run() {
  if (pipeline_ == nullptr) return;
  stopped_ = false;
  prerolled_at_ = -1;
  gst_element_set_state(pipeline_, GST_STATE_PLAYING);
}

void GstGraph::Pause() {
  if (pipeline_ == nullptr || stopped_) return;
  gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

void GstGraph::Stop() {
  if (pipeline_ == nullptr) return;
  stopped_ = true;
  prerolled_at_ = -1;
  gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

int32_t GstGraph::WaitForCompletion(int32_t timeoutMs, GraphError* error) {
  if (pending_completion_ == 0) {
    GstMessage* message = PopUntil(static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR),
                                   std::max(timeoutMs, 0));
    if (message != nullptr) {
      Remember(message);
      gst_message_unref(message);
    }
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
  while (GstMessage* message = gst_bus_pop(bus_)) gst_message_unref(message);
}

bool GstGraph::Duration(double* seconds) {
  if (pipeline_ == nullptr) return false;
  gint64 duration = -1;
  if (!gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) || duration < 0) {
    duration = EstimatedDuration();
  }
  if (duration < 0) return false;
  *seconds = static_cast<double>(duration) / 1e9;
  return true;
}

namespace {

// The first stream parser in the bin or a bin inside it (own reference), or nullptr.
GstElement* FindParser(GstBin* bin) {
  GstElement* found = nullptr;
  GstIterator* it = gst_bin_iterate_recurse(bin);
  GValue item = G_VALUE_INIT;
  while (found == nullptr && gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
    auto* element = GST_ELEMENT(g_value_get_object(&item));
    if (G_TYPE_CHECK_INSTANCE_TYPE(element, GST_TYPE_BASE_PARSE)) {
      found = GST_ELEMENT(gst_object_ref(element));
    }
    g_value_reset(&item);
  }
  g_value_unset(&item);
  gst_iterator_free(it);
  return found;
}

}  // namespace

int64_t GstGraph::EstimatedDuration() {
  // A parser of a stream without a length header (MP3 without an info frame) knows the length
  // only once it has seen many frames; until then it can still turn the file's size into time
  // from the frames it has parsed, as a splitter does from the bit rate.
  GstElement* source = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!filters_.empty()) source = GST_ELEMENT(gst_object_ref(filters_.front().element));
  }
  if (source == nullptr) return -1;
  gint64 result = -1;
  gint64 bytes = -1;
  GstPad* out = gst_element_get_static_pad(source, "src");
  GstPad* peer = out != nullptr ? gst_pad_get_peer(out) : nullptr;
  // The parser does the sum, also inside a decodebin; failing one, the element after the source.
  GstElement* next = FindParser(GST_BIN(pipeline_));
  if (next == nullptr && peer != nullptr) next = gst_pad_get_parent_element(peer);
  if (next != nullptr && gst_element_query_duration(source, GST_FORMAT_BYTES, &bytes) &&
      bytes > 0 &&
      !gst_element_query_convert(next, GST_FORMAT_BYTES, bytes, GST_FORMAT_TIME, &result)) {
    result = -1;
  }
  if (next != nullptr) gst_object_unref(next);
  if (peer != nullptr) gst_object_unref(peer);
  if (out != nullptr) gst_object_unref(out);
  gst_object_unref(source);
  return result;
}

double GstGraph::CurrentPosition() {
  gint64 position = -1;
  if (pipeline_ != nullptr && gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) &&
      position >= 0) {
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
      gst_element_seek(pipeline_, rate_, GST_FORMAT_TIME,
                       static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                       GST_SEEK_TYPE_SET, target, GST_SEEK_TYPE_NONE, -1) != FALSE;
  if (!ok) return false;
  last_position_ = seconds;
  GST_OBJECT_LOCK(pipeline_);
  GstState state = GST_STATE_TARGET(pipeline_);
  GST_OBJECT_UNLOCK(pipeline_);
  if (state == GST_STATE_PAUSED) {
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
  if (pipeline_ == nullptr || stopped_) return;
  GST_OBJECT_LOCK(pipeline_);
  GstState state = GST_STATE_TARGET(pipeline_);
  GST_OBJECT_UNLOCK(pipeline_);
  if (state != GST_STATE_PLAYING) return;
  double here = CurrentPosition();
  gst_element_seek(pipeline_, rate_, GST_FORMAT_TIME,
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

void GstGraph::ApplyVolume() {
  if (volume_element_ == nullptr) return;
  double level = std::clamp(static_cast<double>(volume_), -10000.0, 0.0);
  g_object_set(volume_element_, "volume", std::pow(10.0, level / 2000.0), nullptr);
}

void GstGraph::ApplyBalance() {
  if (panorama_element_ == nullptr) return;
  double cut = std::min(std::fabs(static_cast<double>(balance_)), 10000.0);
  double pan = 1.0 - std::pow(10.0, -cut / 2000.0);
  if (balance_ < 0) pan = -pan;
  g_object_set(panorama_element_, "panorama", static_cast<gfloat>(pan), nullptr);
}

}  // namespace audio
