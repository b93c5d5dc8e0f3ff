#include "tools/media_fixtures/gst_media_writer.h"

#include <gst/gst.h>

#include <algorithm>

#include "audio/gst_graph.h"

namespace media_fixtures {

bool EncodeTone(const std::string& encode, const std::string& path, int32_t ms) {
  if (!audio::EnsureGstInit()) return false;
  const int32_t length = std::max<int32_t>(ms, 0);
  // 441 frames per buffer: one buffer is 10 ms.
  const std::string launch =
      "audiotestsrc wave=sine freq=441 volume=0.5 samplesperbuffer=441 num-buffers=" +
      std::to_string(length / 10) + " ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! " +
      encode + " ! filesink location=\"" + path + "\"";
  GError* error = nullptr;
  GstElement* pipeline = gst_parse_launch(launch.c_str(), &error);
  if (error != nullptr || pipeline == nullptr) {
    if (error != nullptr) g_error_free(error);
    if (pipeline != nullptr) gst_object_unref(pipeline);
    return false;
  }
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  // Encoding runs far faster than real time; the bound only ends a pipeline that hangs.
  const GstClockTime bound = 60 * GST_SECOND + static_cast<GstClockTime>(length) * GST_MSECOND;
  GstMessage* message = gst_bus_timed_pop_filtered(
      bus, bound, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool ok = message != nullptr && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
  if (message != nullptr) gst_message_unref(message);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return ok;
}

}  // namespace media_fixtures
