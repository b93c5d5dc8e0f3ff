#include "tools/media_fixtures/gst_media_writer.h"

#include <gst/gst.h>

#include <algorithm>

#include "audio/gst/gst_graph.h"
#include "audio/gst/gst_ptr.h"

namespace media_fixtures {

namespace {

// Runs a gst-launch line to its end; `bound` only ends a pipeline that hangs (encoding runs
// far faster than real time).
bool RunToEnd(const std::string& launch, GstClockTime bound) {
  if (!audio::EnsureGstInit()) return false;
  GError* error = nullptr;
  // A pipeline that came with an error lacks an element: it is dropped.
  audio::GstPtr<GstElement> pipeline = audio::GstSink(gst_parse_launch(launch.c_str(), &error));
  audio::GstPtr<GError> parseError(error);
  if (parseError != nullptr || pipeline == nullptr) return false;
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  audio::GstPtr<GstBus> bus(gst_element_get_bus(pipeline.get()));
  audio::GstPtr<GstMessage> message(gst_bus_timed_pop_filtered(
      bus.get(), bound, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
  const bool ok = message != nullptr && GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_EOS;
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return ok;
}

}  // namespace

bool EncodeTone(const std::string& encode, const std::string& path, int32_t ms, int32_t hz,
                const std::string& wave) {
  const int32_t length = std::max<int32_t>(ms, 0);
  // 441 frames per buffer: one buffer is 10 ms.
  const std::string launch =
      "audiotestsrc wave=" + wave + " freq=" + std::to_string(hz) +
      " volume=0.5 samplesperbuffer=441 num-buffers=" + std::to_string(length / 10) +
      " ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! " + encode + " ! filesink location=\"" +
      path + "\"";
  return RunToEnd(launch, 60 * GST_SECOND + static_cast<GstClockTime>(length) * GST_MSECOND);
}

bool EncodeWave(const std::string& wavePath, const std::string& encode, const std::string& path) {
  const std::string launch = "filesrc location=\"" + wavePath + "\" ! wavparse ! " + encode +
                             " ! filesink location=\"" + path + "\"";
  return RunToEnd(launch, 120 * GST_SECOND);
}

}  // namespace media_fixtures
