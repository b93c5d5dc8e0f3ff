#include "tests/audio/fgraph_fixture.h"

#include <gst/app/gstappsink.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "audio/gst/gst_graph.h"
#include "audio/gst/gst_ptr.h"
#include "tests/audio/riff_fixture.h"

namespace fgraphtest {

std::string MissingFactory(const std::vector<std::string>& factories) {
  if (!audio::EnsureGstInit()) return "gstreamer";
  for (const std::string& name : factories) {
    if (audio::GstPtr<GstElementFactory>(gst_element_factory_find(name.c_str())) == nullptr) {
      return name;
    }
  }
  return "";
}

std::string RiffWrapped(const std::string& payload, uint16_t tag) {
  // As MPEG in RIFF is written: byte rate of 128 kbit/s, block align 1, no sample width.
  std::string fmt = rifftest::Le16(tag) + rifftest::Le16(2) + rifftest::Le32(44100) +
                    rifftest::Le32(16000) + rifftest::Le16(1) + rifftest::Le16(0) +
                    rifftest::Le16(0);
  return rifftest::Riff(rifftest::Chunk("fmt ", fmt) + rifftest::Chunk("data", payload));
}

GstElement* Capture::MakeSink(const std::string& rendererName, const std::string& device,
                              bool sync) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    renderer_name_ = rendererName;
    device_ = device;
  }
  GstElement* sink = gst_element_factory_make("appsink", nullptr);
  if (sink == nullptr) return nullptr;
  audio::GstPtr<GstCaps> caps(
      gst_caps_from_string("audio/x-raw,format=F32LE,layout=interleaved,channels=2,rate=44100"));
  g_object_set(sink, "caps", caps.get(), "sync", sync ? TRUE : FALSE, "emit-signals", TRUE,
               nullptr);
  g_signal_connect(sink, "new-sample", G_CALLBACK(&Capture::OnSample), this);
  return sink;
}

GstFlowReturn Capture::OnSample(GstElement* sink, gpointer data) {
  auto* self = static_cast<Capture*>(data);
  audio::GstPtr<GstSample> sample(gst_app_sink_pull_sample(GST_APP_SINK(sink)));
  if (sample == nullptr) return GST_FLOW_EOS;
  GstBuffer* buffer = gst_sample_get_buffer(sample.get());
  GstMapInfo map;
  if (buffer != nullptr && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
    const auto* floats = reinterpret_cast<const float*>(map.data);
    std::lock_guard<std::mutex> lock(self->mutex_);
    self->samples_.insert(self->samples_.end(), floats, floats + map.size / sizeof(float));
    gst_buffer_unmap(buffer, &map);
  }
  return GST_FLOW_OK;
}

std::vector<float> Capture::Samples() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return samples_;
}

size_t Capture::Frames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return samples_.size() / 2;
}

void Capture::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  samples_.clear();
}

std::string Capture::renderer_name() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return renderer_name_;
}

std::string Capture::device() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return device_;
}

GstElement* AliveCount::Watch(GstElement* element) {
  if (element == nullptr) return nullptr;
  ++alive_;
  g_object_weak_ref(G_OBJECT(element), &AliveCount::OnFinalized, this);
  return element;
}

void AliveCount::OnFinalized(gpointer data, GObject*) { --static_cast<AliveCount*>(data)->alive_; }

audio::GraphSeams CaptureSeams(std::shared_ptr<Capture> capture, bool sync) {
  audio::GraphSeams seams;
  seams.make_sink = [capture, sync](const std::string& name, const std::string& device) {
    return capture->MakeSink(name, device, sync);
  };
  seams.devices = [] { return std::vector<platform::WaveDeviceEntry>{{"default", "default"}}; };
  return seams;
}

audio::GraphSeams FakeSinkSeams(bool sync) {
  audio::GraphSeams seams;
  seams.make_sink = [sync](const std::string&, const std::string&) {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (sink != nullptr) g_object_set(sink, "sync", sync ? TRUE : FALSE, nullptr);
    return sink;
  };
  seams.devices = [] { return std::vector<platform::WaveDeviceEntry>{{"default", "default"}}; };
  return seams;
}

std::vector<int32_t> PollUntilStopped(audio::Player& player, int32_t maxPolls) {
  std::vector<int32_t> seen;
  for (int32_t i = 0; i < maxPolls; ++i) {
    int32_t m = player.mode();
    seen.push_back(m);
    if (m != 3) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return seen;
}

double ChannelRms(const std::vector<float>& samples, int channel, size_t fromFrame) {
  double sum = 0.0;
  size_t count = 0;
  for (size_t i = fromFrame * 2 + static_cast<size_t>(channel); i < samples.size(); i += 2) {
    sum += static_cast<double>(samples[i]) * samples[i];
    ++count;
  }
  return count == 0 ? 0.0 : std::sqrt(sum / static_cast<double>(count));
}

}  // namespace fgraphtest
