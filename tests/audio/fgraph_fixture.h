#pragma once

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/c_fgraph.h"
#include "audio/gst/fct_quartz.h"
#include "tools/media_fixtures/gst_media_writer.h"

// Helpers for the graph player tests: audio files made at test time with GStreamer's encoders,
// sinks that capture what the renderer delivers, and a poll loop like the playout's tick.
namespace fgraphtest {

// The first of `factories` GStreamer does not have, "" when all are there.
std::string MissingFactory(const std::vector<std::string>& factories);

// Writes `ms` milliseconds of a 441 Hz sine through a gst-launch encoder fragment into a file.
using media_fixtures::EncodeTone;

// A RIFF WAVE file whose data chunk holds `payload` (MPEG frames) under format tag `tag`.
std::string RiffWrapped(const std::string& payload, uint16_t tag);

// Samples the renderer delivered: interleaved stereo float at 44.1 kHz.
class Capture {
 public:
  // An appsink (sync as asked) feeding this capture. Also records the renderer name and device
  // it was made for.
  GstElement* MakeSink(const std::string& rendererName, const std::string& device, bool sync);
  std::vector<float> Samples() const;
  size_t Frames() const;
  void Clear();
  std::string renderer_name() const;
  std::string device() const;

 private:
  static GstFlowReturn OnSample(GstElement* sink, gpointer data);
  mutable std::mutex mutex_;
  std::vector<float> samples_;
  std::string renderer_name_;
  std::string device_;
};

// Counts the objects it watches that are not finalized yet: one reference kept too many keeps
// an object alive. Must outlive what it watches.
class AliveCount {
 public:
  // Watches `element` (null passes through) and hands it back.
  GstElement* Watch(GstElement* element);
  int32_t alive() const { return alive_.load(); }

 private:
  static void OnFinalized(gpointer data, GObject* gone);
  std::atomic<int32_t> alive_{0};
};

// Seams whose sink feeds `capture` (sync false: as fast as the pipeline runs).
audio::GraphSeams CaptureSeams(std::shared_ptr<Capture> capture, bool sync = false);
// Seams with a fakesink that plays in real time (sync true) or as fast as possible.
audio::GraphSeams FakeSinkSeams(bool sync);

// Polls mode() every 10 ms like the playout's tick until it is no longer 3 (at most maxPolls
// polls); returns every value seen, the last being the one that ended the loop.
std::vector<int32_t> PollUntilStopped(audio::Player& player, int32_t maxPolls = 3000);

// RMS of one channel (0 left, 1 right) of interleaved stereo samples from `fromFrame`.
double ChannelRms(const std::vector<float>& samples, int channel, size_t fromFrame = 0);

}  // namespace fgraphtest
