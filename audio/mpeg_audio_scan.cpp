#include "audio/mpeg_audio_scan.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "audio/riff_file.h"

namespace audio {

namespace {

// Kbit/s by bit-rate index 1-14: MPEG-1 layers I, II, III, then MPEG-2/2.5 layer I, II and III.
constexpr int16_t kBitrates[5][14] = {
    {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr int32_t kRates[3] = {44100, 48000, 32000};  // MPEG-1; halved for 2, quartered for 2.5

// The walk reads ahead this much at a time.
constexpr int64_t kBlockBytes = 64 * 1024;
// Frames that must follow a candidate first frame before it counts as the start of the audio.
constexpr int kRunFrames = 3;
// The smallest frame any version and layer makes; a header's frame count beyond what the bytes
// can hold is not believed.
constexpr int64_t kMinFrameBytes = 24;

uint32_t Be32(const uint8_t* b) {
  return (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
         (static_cast<uint32_t>(b[2]) << 8) | b[3];
}

// A read-ahead window over [begin, end) of the file.
class Window {
 public:
  Window(const ByteReader& read, int64_t begin, int64_t end)
      : read_(read), begin_(begin), end_(end), buffer_(kBlockBytes) {}

  // `count` (at most one block) bytes at `offset`, or nullptr when they do not lie inside
  // [begin, end) or cannot be read. Valid until the next call.
  const uint8_t* At(int64_t offset, int64_t count) {
    if (count < 0 || count > kBlockBytes || offset < begin_ || offset > end_ - count) {
      return nullptr;
    }
    if (offset < base_ || offset + count > base_ + filled_) {
      const int64_t n = std::min(kBlockBytes, end_ - offset);
      filled_ = 0;
      if (!read_(offset, buffer_.data(), n)) return nullptr;
      base_ = offset;
      filled_ = n;
    }
    return buffer_.data() + (offset - base_);
  }

  bool Header(int64_t offset, MpegFrameHeader* h) {
    const uint8_t* b = At(offset, 4);
    return b != nullptr && ParseMpegFrameHeader(b, h);
  }

 private:
  const ByteReader& read_;
  int64_t begin_;
  int64_t end_;
  std::vector<uint8_t> buffer_;
  int64_t base_ = 0;
  int64_t filled_ = 0;
};

bool SameStream(const MpegFrameHeader& a, const MpegFrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// Bytes of the ID3v2 tag at `offset` (header, body and footer), 0 when there is none.
int64_t Id3v2Bytes(Window& w, int64_t offset) {
  const uint8_t* b = w.At(offset, 10);
  if (b == nullptr || std::memcmp(b, "ID3", 3) != 0 || b[3] < 2 || b[3] > 4 || b[4] == 0xFF ||
      ((b[6] | b[7] | b[8] | b[9]) & 0x80) != 0) {
    return 0;
  }
  const int64_t body = (int64_t{b[6]} << 21) | (int64_t{b[7]} << 14) | (int64_t{b[8]} << 7) | b[9];
  const bool footer = b[3] == 4 && (b[5] & 0x10) != 0;
  return 10 + body + (footer ? 10 : 0);
}

// Where the frames end: before an ID3v1 tag, an APEv2 tag and a Lyrics3 tag, in whatever order
// editors stacked them at the end.
int64_t AudioEnd(Window& w, int64_t begin, int64_t end) {
  for (bool cut = true; cut;) {
    cut = false;
    const uint8_t* b = end - begin >= 128 ? w.At(end - 128, 3) : nullptr;
    if (b != nullptr && std::memcmp(b, "TAG", 3) == 0) {
      end -= 128;
      cut = true;
    }
    b = end - begin >= 32 ? w.At(end - 32, 32) : nullptr;
    if (b != nullptr && std::memcmp(b, "APETAGEX", 8) == 0) {
      const int64_t size = LoadLe32(b + 12);
      const int64_t total = size + ((LoadLe32(b + 20) & 0x80000000u) != 0 ? 32 : 0);
      if (size >= 32 && total <= end - begin) {
        end -= total;
        cut = true;
      }
    }
    b = end - begin >= 15 ? w.At(end - 15, 15) : nullptr;
    if (b != nullptr && std::memcmp(b + 6, "LYRICS200", 9) == 0 &&
        std::all_of(b, b + 6, [](uint8_t c) { return c >= '0' && c <= '9'; })) {
      int64_t size = 0;
      for (int i = 0; i < 6; ++i) size = size * 10 + (b[i] - '0');
      if (size + 15 <= end - begin) {
        end -= size + 15;
        cut = true;
      }
    }
  }
  return end;
}

// True when a frame starts at `offset` and the frames after it follow on (or the audio ends
// right behind them): one lone header-like pattern in junk or a picture is not a stream.
bool StartsRun(Window& w, int64_t offset, int64_t end, MpegFrameHeader* first) {
  if (!w.Header(offset, first)) return false;
  int64_t next = offset + first->frameBytes;
  for (int i = 1; i < kRunFrames; ++i) {
    if (next == end) return true;
    MpegFrameHeader h;
    if (!w.Header(next, &h) || !SameStream(*first, h)) return false;
    next += h.frameBytes;
  }
  return true;
}

// The first run of frames from `from` before `limit`, or -1.
int64_t FindRun(Window& w, int64_t from, int64_t end, int64_t limit, MpegFrameHeader* first) {
  for (int64_t p = from; p < limit && p + 4 <= end; ++p) {
    const uint8_t* b = w.At(p, 1);
    if (b == nullptr) return -1;
    if (*b == 0xFF && StartsRun(w, p, end, first)) return p;
  }
  return -1;
}

// The frame count an info header in the first frame gives (Xing/Info or VBRI), with the samples
// a LAME tag says the encoder added; -1 when the frame holds no info header, 0 when it holds one
// without a count. The frame with the header carries no audio.
int64_t HeaderFrames(Window& w, int64_t offset, const MpegFrameHeader& h, int64_t* padding) {
  *padding = 0;
  if (h.layer != 3) return -1;
  const int64_t side = h.version == 1 ? (h.mono ? 17 : 32) : (h.mono ? 9 : 17);
  const uint8_t* b = w.At(offset, h.frameBytes);
  if (b == nullptr) return -1;
  const int64_t xing = 4 + side;
  if (xing + 8 <= h.frameBytes &&
      (std::memcmp(b + xing, "Xing", 4) == 0 || std::memcmp(b + xing, "Info", 4) == 0)) {
    const uint32_t flags = Be32(b + xing + 4);
    int64_t at = xing + 8;
    int64_t frames = 0;
    if ((flags & 1) != 0 && at + 4 <= h.frameBytes) frames = Be32(b + at);
    at += ((flags & 1) != 0 ? 4 : 0) + ((flags & 2) != 0 ? 4 : 0) + ((flags & 4) != 0 ? 100 : 0) +
          ((flags & 8) != 0 ? 4 : 0);
    if (at + 24 <= h.frameBytes &&
        (std::memcmp(b + at, "LAME", 4) == 0 || std::memcmp(b + at, "Lav", 3) == 0)) {
      const int64_t delay = (int64_t{b[at + 21]} << 4) | (b[at + 22] >> 4);
      *padding = delay + (((b[at + 22] & 0x0F) << 8) | b[at + 23]);
    }
    return frames;
  }
  if (36 + 18 <= h.frameBytes && std::memcmp(b + 36, "VBRI", 4) == 0) return Be32(b + 36 + 14);
  return -1;
}

}  // namespace

bool ParseMpegFrameHeader(const uint8_t* b, MpegFrameHeader* out) {
  if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
  const int versionBits = (b[1] >> 3) & 3;
  const int layerBits = (b[1] >> 1) & 3;
  const int bitrateIndex = b[2] >> 4;
  const int rateIndex = (b[2] >> 2) & 3;
  if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
      rateIndex == 3 || (b[3] & 3) == 2) {
    return false;
  }
  MpegFrameHeader h;
  h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
  h.layer = 4 - layerBits;
  const int table = h.version == 1 ? h.layer - 1 : (h.layer == 1 ? 3 : 4);
  h.bitrateKbps = kBitrates[table][bitrateIndex - 1];
  h.sampleRate = kRates[rateIndex] / (h.version == 1 ? 1 : h.version == 2 ? 2 : 4);
  const int padding = (b[2] >> 1) & 1;
  const int64_t bitsPerSecond = int64_t{h.bitrateKbps} * 1000;
  if (h.layer == 1) {
    h.samplesPerFrame = 384;
    h.frameBytes = static_cast<int32_t>((12 * bitsPerSecond / h.sampleRate + padding) * 4);
  } else {
    const bool half = h.layer == 3 && h.version != 1;
    h.samplesPerFrame = half ? 576 : 1152;
    h.frameBytes = static_cast<int32_t>((half ? 72 : 144) * bitsPerSecond / h.sampleRate + padding);
  }
  h.mono = (b[3] >> 6) == 3;
  *out = h;
  return true;
}

int32_t MpegAudioInfo::LengthMs() const {
  if (sampleRate <= 0) return 0;
  const double ms = std::nearbyint(static_cast<double>(samples) * 1000.0 / sampleRate);
  return static_cast<int32_t>(std::clamp(ms, 0.0, double{std::numeric_limits<int32_t>::max()}));
}

MpegAudioInfo ScanMpegAudio(const ByteReader& read, int64_t begin, int64_t end,
                            int64_t maxScanBytes) {
  MpegAudioInfo info;
  if (begin < 0 || end <= begin) return info;
  Window w(read, begin, end);
  int64_t start = begin;
  for (int64_t tag = Id3v2Bytes(w, start); tag > 0 && start < end; tag = Id3v2Bytes(w, start)) {
    start += tag;
  }
  const int64_t audioEnd = AudioEnd(w, start, end);
  const int64_t limit = start + std::max<int64_t>(maxScanBytes, 0);
  MpegFrameHeader first;
  const int64_t firstFrame = FindRun(w, start, audioEnd, limit, &first);
  if (firstFrame < 0) return info;
  info.found = true;
  info.sampleRate = first.sampleRate;
  info.firstFrame = firstFrame;
  info.audioEnd = audioEnd;

  int64_t padding = 0;
  const int64_t headerFrames = HeaderFrames(w, firstFrame, first, &padding);
  if (headerFrames > 0 && headerFrames <= (audioEnd - firstFrame) / kMinFrameBytes) {
    info.fromHeader = true;
    info.samples = std::max<int64_t>(0, headerFrames * first.samplesPerFrame - padding);
    return info;
  }
  // The walk: whole frames of the first frame's stream; junk in between is stepped over.
  int64_t at = firstFrame + (headerFrames >= 0 ? first.frameBytes : 0);
  const int64_t walkFrom = at;
  int64_t frames = 0;
  while (at + 4 <= audioEnd) {
    if (at - walkFrom >= maxScanBytes && frames > 0) {
      const double perFrame = static_cast<double>(at - walkFrom) / static_cast<double>(frames);
      info.samples += static_cast<int64_t>(
          std::nearbyint(static_cast<double>(audioEnd - at) / perFrame) * first.samplesPerFrame);
      info.estimated = true;
      break;
    }
    MpegFrameHeader h;
    if (w.Header(at, &h) && SameStream(first, h)) {
      if (h.frameBytes > audioEnd - at) break;  // a cut last frame is not decoded
      ++frames;
      info.samples += h.samplesPerFrame;
      at += h.frameBytes;
      continue;
    }
    MpegFrameHeader next;
    at = FindRun(w, at + 1, audioEnd, walkFrom + maxScanBytes, &next);
    if (at < 0 || !SameStream(first, next)) break;
  }
  return info;
}

MpegAudioInfo ScanMpegAudioFile(const std::string& path, int64_t maxScanBytes) {
  RiffFile file(path, 0);
  if (!file.IsOpen()) return {};
  int64_t begin = 0;
  int64_t end = file.Size();
  int64_t bytes = 0;
  // MPEG audio held in a RIFF file is its data chunk; a RIFF file without one holds none.
  char head[4] = {};
  if (file.ReadAt(0, head, sizeof head) && std::memcmp(head, "RIFF", 4) == 0) {
    if (!FindRiffDataChunk(file, &begin, &bytes)) return {};
    end = begin + bytes;
  }
  const ByteReader read = [&file](int64_t offset, uint8_t* dst, int64_t count) {
    return file.ReadAt(offset, dst, count);
  };
  return ScanMpegAudio(read, begin, end, maxScanBytes);
}

}  // namespace audio
