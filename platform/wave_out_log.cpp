#include "platform/wave_out_log.h"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {

std::mutex g_mutex;
WaveOutLogSink g_sink;  // guarded by g_mutex

}  // namespace

void SetWaveOutLogSink(WaveOutLogSink sink) {
  std::lock_guard lock(g_mutex);
  g_sink = std::move(sink);
}

void WriteWaveOutLog(const std::string& line) {
  WaveOutLogSink sink;
  {
    std::lock_guard lock(g_mutex);
    sink = g_sink;
  }
  if (sink) {
    sink(line);
    return;
  }
  // One call per line, so lines of several streams never interleave mid-line.
  std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace platform
