#pragma once

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "audio/gst/gst_graph.h"
#include "audio/gst/gst_ptr.h"

namespace audio {

// One connection asked for by Connect (or made inside an inserted decodebin). The connecting
// code fills it; DisconnectAll takes the signal handlers back before the link goes.
struct GstGraph::PendingLink {
  GstGraph* graph = nullptr;
  std::string up;
  std::string down;
  GstElement* up_element = nullptr;  // owned by the pipeline
  GstPtr<GstPad> down_pad;
  bool to_renderer = false;
  bool internal = false;  // made by an inserted decoder, not asked for by name
  std::atomic<int32_t> state{0};
  std::mutex mutex;  // pad bookkeeping below, touched from the streaming thread
  int32_t pads_seen = 0;
  GstPtr<GstPad> lone_pad;  // first pad that did not look like audio
  gulong added_id = 0;
  gulong no_more_id = 0;
};

}  // namespace audio
