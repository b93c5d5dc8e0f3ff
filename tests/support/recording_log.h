#pragma once

#include <string>
#include <vector>

#include "platform/log_sink.h"

namespace testsupport {

// A log that keeps every line written to it, in order, for tests that look at what a part
// wrote. Written and read on one thread.
struct RecordingLog final : platform::LogSink {
  struct Line {
    platform::LogSeverity severity;
    std::string text;
  };
  void Write(const std::string& text, platform::LogSeverity severity) override {
    lines.push_back({severity, text});
  }
  // Lines containing `part`.
  int Count(const std::string& part) const {
    int n = 0;
    for (const Line& line : lines) n += line.text.find(part) != std::string::npos ? 1 : 0;
    return n;
  }
  bool Has(const std::string& part) const { return Count(part) > 0; }
  // The texts one after the other, each ended by "\n".
  std::string All() const {
    std::string all;
    for (const Line& line : lines) all += line.text + "\n";
    return all;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Line& line : lines) texts.push_back(line.text);
    return texts;
  }

  std::vector<Line> lines;
};

}  // namespace testsupport
