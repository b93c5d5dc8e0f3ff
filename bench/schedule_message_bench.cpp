// Send-to-receipt latency of a 100 kB schedule message through the real window sockets: the
// companion's synchronous send on this thread, the playout window's receiver on a thread of
// its own with its own event loop. Reports the median and 99th percentile of the time from the
// start of the send to the handler seeing the payload, and of the whole acknowledged round.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_channel.h"
#include "platform/message_receiver.h"
#include "platform/window_registry.h"
#include "platform/window_registry_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

void EnsureApp() {
  static int argc = 1;
  static char name[] = "schedule_message_bench";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

// Rows as the companion sends them: eight quoted fields, rows joined by backslash-n, then the
// two closing NULs.
std::string ScheduleText(size_t bytes) {
  const std::string row =
      "\"20240401\",\"05:00:00\",\"TIME\",\"0\",\"music\\\\jingles\",\"station_id_0001.wav\","
      "\"20240401_01.cue\",\"Morning Programme\"";
  std::string text;
  while (text.size() + row.size() + 2 + 2 <= bytes) {
    if (!text.empty()) text += "\\n";
    text += row;
  }
  text.resize(bytes - 2, ' ');
  text.append(2, '\0');
  return text;
}

double Percentile(std::vector<double> samples, double fraction) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const size_t last = samples.size() - 1;
  return samples[static_cast<size_t>(fraction * static_cast<double>(last))];
}

void BM_ScheduleMessageSendToReceipt(benchmark::State& state) {
  EnsureApp();
  char folder[] = "/tmp/schedule_message_bench.XXXXXX";
  if (!mkdtemp(folder)) {
    state.SkipWithError("cannot make a registry folder");
    return;
  }
  platform::SetWindowRegistryFolder(std::string(folder) + "/windows");

  auto window = platform::WindowRegistration::Claim("Ondrake - Tarnwick");
  if (!window) {
    state.SkipWithError("cannot register the window");
    return;
  }
  std::atomic<int64_t> receivedAtNs{0};
  QThread uiThread;
  uiThread.start();
  // Lives in the receiving thread, so the receiver is made and destroyed there.
  auto* anchor = new QObject;
  anchor->moveToThread(&uiThread);
  QObject::connect(&uiThread, &QThread::finished, anchor, &QObject::deleteLater);
  platform::MessageReceiver* receiver = nullptr;
  QMetaObject::invokeMethod(
      anchor,
      [&] {
        receiver = new platform::MessageReceiver(
            *window, [&](uint64_t, const std::string& payload) -> int64_t {
              receivedAtNs.store(NowNs(), std::memory_order_release);
              return static_cast<int64_t>(payload.size());
            });
      },
      Qt::BlockingQueuedConnection);

  const std::string text = ScheduleText(static_cast<size_t>(state.range(0)));
  const auto target = platform::FindWindowByPrefix("Ondrake");
  std::vector<double> receiptUs;
  std::vector<double> roundUs;
  for (auto _ : state) {
    const int64_t start = NowNs();
    const platform::SendOutcome out = platform::SendWindowMessage(*target, 0, text);
    const int64_t end = NowNs();
    if (!out.delivered) {
      state.SkipWithError(out.error.c_str());
      break;
    }
    receiptUs.push_back(static_cast<double>(receivedAtNs.load(std::memory_order_acquire) - start) /
                        1000.0);
    roundUs.push_back(static_cast<double>(end - start) / 1000.0);
    state.SetIterationTime(static_cast<double>(end - start) / 1e9);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  state.counters["receipt_median_us"] = Percentile(receiptUs, 0.50);
  state.counters["receipt_p99_us"] = Percentile(receiptUs, 0.99);
  state.counters["round_median_us"] = Percentile(roundUs, 0.50);
  state.counters["round_p99_us"] = Percentile(roundUs, 0.99);

  QMetaObject::invokeMethod(
      anchor, [&] { delete receiver; }, Qt::BlockingQueuedConnection);
  uiThread.quit();
  uiThread.wait();
  window.reset();
  platform::SetWindowRegistryFolder("");
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

BENCHMARK(BM_ScheduleMessageSendToReceipt)
    ->Arg(100 * 1000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
