// The connecting half of the graph: links asked for by name, links made later from the
// streaming thread when a demuxer's pad appears, and the decodebin put in front of the renderer
// for coded data.
#include <memory>
#include <utility>

#include "audio/gst/gst_graph.h"
#include "audio/gst/gst_pads.h"
#include "audio/gst/gst_pending_link.h"

namespace audio {

namespace {

constexpr const char* kDecodeBinFactory = "decodebin";

}  // namespace

GstGraph::PendingLink* GstGraph::NewLink(const std::string& up, const std::string& down,
                                         GstElement* upElement, GstPtr<GstPad> downPad,
                                         bool toRenderer) {
  auto link = std::make_unique<PendingLink>();
  link->graph = this;
  link->up = up;
  link->down = down;
  link->up_element = upElement;
  link->down_pad = std::move(downPad);
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
    if (link->lone_pad == nullptr) link->lone_pad = GstRef(pad);
    return;
  }
  link->state = link->graph->LinkPad(pad, link) ? 1 : -1;
}

void GstGraph::OnNoMorePads(GstElement*, gpointer data) {
  auto* link = static_cast<PendingLink*>(data);
  std::lock_guard<std::mutex> lock(link->mutex);
  // A single output pin is taken whatever it is called.
  if (link->state.load() == 0 && link->pads_seen == 1 && link->lone_pad != nullptr) {
    link->state = link->graph->LinkPad(link->lone_pad.get(), link) ? 1 : -1;
  }
}

bool GstGraph::LinkPad(GstPad* pad, PendingLink* link) {
  if (!link->to_renderer || PadGivesRawAudio(pad)) {
    return gst_pad_link(pad, link->down_pad.get()) == GST_PAD_LINK_OK;
  }
  // Coded data in front of the renderer: let a decodebin find parser and decoder.
  GstPtr<GstElement> decoder = GstSink(gst_element_factory_make(kDecodeBinFactory, nullptr));
  if (decoder == nullptr) return false;
  std::string name = kDecodeBinFactory;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (decodebin_count_ > 0) name += std::to_string(decodebin_count_);
    ++decodebin_count_;
  }
  if (!AddFilter(name, decoder.get())) return false;
  GstPtr<GstPad> sink(gst_element_get_static_pad(decoder.get(), "sink"));
  if (sink == nullptr || gst_pad_link(pad, sink.get()) != GST_PAD_LINK_OK) return false;
  PendingLink* inner = NewLink(name, link->down, decoder.get(), GstRef(link->down_pad.get()), true);
  inner->internal = true;
  WatchPads(inner);
  gst_element_sync_state_with_parent(decoder.get());
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
  std::vector<GstPtr<GstPad>> outputs = ElementPads(upElement, true);
  GstPad* upPad = outputs.empty() ? nullptr : outputs.front().get();
  if (outputs.size() > 1) {
    for (const GstPtr<GstPad>& p : outputs) {
      if (IsAudioPad(p.get())) {
        upPad = p.get();
        break;
      }
    }
  }
  bool pending = outputs.empty() && HasSometimesSourceTemplate(upElement);
  if (upPad == nullptr && !pending) {
    result.outcome = PinConnect::kNoUpstreamPin;
    result.found = 1;
    result.num_pins = static_cast<int32_t>(outputs.size());
    return result;
  }
  if (downElement == nullptr) {
    result.outcome = PinConnect::kNoDownstreamPin;
    return result;
  }
  std::vector<GstPtr<GstPad>> pins = ElementPads(downElement, false);
  GstPtr<GstPad> downPad;
  for (const GstPtr<GstPad>& p : pins) {
    if (GST_PAD_DIRECTION(p.get()) == GST_PAD_SINK) {
      downPad = GstRef(p.get());
      break;
    }
  }
  if (downPad == nullptr) {
    result.outcome = PinConnect::kNoDownstreamPin;
    result.found = 1;
    result.num_pins = static_cast<int32_t>(pins.size());
    return result;
  }
  PendingLink* link = NewLink(up, down, upElement, std::move(downPad), toRenderer);
  if (pending) {
    WatchPads(link);
    result.outcome = PinConnect::kPending;
  } else {
    bool ok = LinkPad(upPad, link);
    link->state = ok ? 1 : -1;
    result.outcome = ok ? PinConnect::kConnected : PinConnect::kRefused;
  }
  return result;
}

int32_t GstGraph::ConnectionState(const std::string& up, const std::string& down) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = links_.rbegin(); it != links_.rend(); ++it) {
    if (!(*it)->internal && (*it)->up == up && (*it)->down == down) return (*it)->state.load();
  }
  return -2;
}

}  // namespace audio
