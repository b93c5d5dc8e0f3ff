#include "audio/gst/gst_renderer.h"

#include <gst/audio/audio-format.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace audio {

bool MakeRendererBin(GstElement* sink, RendererBin* out) {
  GstPtr<GstElement> heldSink = GstSink(sink);
  auto make = [](const char* factory) {
    return GstSink(gst_element_factory_make(factory, nullptr));
  };
  GstPtr<GstElement> convert = make("audioconvert");
  // Float through volume and balance: integer volume works with a coarse fixed-point gain.
  GstPtr<GstElement> toFloat = make("capsfilter");
  GstPtr<GstElement> resample = make("audioresample");
  GstPtr<GstElement> volume = make("volume");
  GstPtr<GstElement> panorama = make("audiopanorama");
  GstPtr<GstElement> convertOut = make("audioconvert");
  GstPtr<GstElement> bin = GstSink(gst_bin_new(nullptr));
  GstElement* parts[] = {convert.get(),  toFloat.get(),    resample.get(), volume.get(),
                         panorama.get(), convertOut.get(), heldSink.get()};
  if (bin == nullptr) return false;
  for (GstElement* e : parts) {
    // The bin takes its own reference; ours go when this returns.
    if (e == nullptr || !gst_bin_add(GST_BIN(bin.get()), e)) return false;
  }
  // "simple" lowers one side and leaves the other untouched, as a balance control does.
  g_object_set(panorama.get(), "method", 1, nullptr);
  GstPtr<GstCaps> floatCaps(
      gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, GST_AUDIO_NE(F32), nullptr));
  g_object_set(toFloat.get(), "caps", floatCaps.get(), nullptr);
  if (!gst_element_link_many(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6],
                             nullptr)) {
    return false;
  }
  GstPtr<GstPad> target(gst_element_get_static_pad(convert.get(), "sink"));
  GstPtr<GstPad> ghost =
      GstSink(target != nullptr ? gst_ghost_pad_new("sink", target.get()) : nullptr);
  if (ghost == nullptr || !gst_element_add_pad(bin.get(), ghost.get())) return false;
  *out = RendererBin{std::move(bin), volume.get(), panorama.get()};
  return true;
}

void ApplyVolumeLevel(GstElement* volume, int32_t level) {
  if (volume == nullptr) return;
  double db100 = std::clamp(static_cast<double>(level), -10000.0, 0.0);
  g_object_set(volume, "volume", std::pow(10.0, db100 / 2000.0), nullptr);
}

void ApplyBalanceCut(GstElement* panorama, int32_t balance) {
  if (panorama == nullptr) return;
  double cut = std::min(std::fabs(static_cast<double>(balance)), 10000.0);
  double pan = 1.0 - std::pow(10.0, -cut / 2000.0);
  if (balance < 0) pan = -pan;
  g_object_set(panorama, "panorama", static_cast<gfloat>(pan), nullptr);
}

}  // namespace audio
