// Feeds arbitrary bytes to the MPEG frame walk: from memory with a small and the full read bound,
// and as a file (also wrapped in a RIFF data chunk), through an anonymous in-memory file reached
// through /proc/self/fd.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/mpeg_audio_scan.h"

namespace {

int InputFile() {
  static const int fd = memfd_create("mpeg_audio_scan_fuzz", 0);
  if (fd < 0) std::abort();
  return fd;
}

void WriteAll(int fd, const std::string& bytes) {
  if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0) std::abort();
  const char* data = bytes.data();
  size_t size = bytes.size();
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n <= 0) std::abort();
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void Check(const audio::MpegAudioInfo& info, int64_t size) {
  if (!info.found) return;
  if (info.firstFrame < 0 || info.firstFrame >= size || info.audioEnd > size || info.samples < 0 ||
      info.LengthMs() < 0 || info.sampleRate < 8000 || info.sampleRate > 48000) {
    std::abort();
  }
}

std::string Le32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto total = static_cast<int64_t>(size);
  const audio::ByteReader read = [&](int64_t offset, uint8_t* dst, int64_t count) {
    // The walk must never ask for a byte outside what it was given.
    if (offset < 0 || count < 0 || offset > total - count) std::abort();
    if (count > 0) std::memcpy(dst, data + offset, static_cast<size_t>(count));
    return true;
  };
  if (size >= 4) {
    audio::MpegFrameHeader h;
    if (audio::ParseMpegFrameHeader(data, &h) && (h.frameBytes <= 0 || h.samplesPerFrame <= 0)) {
      std::abort();
    }
  }
  Check(audio::ScanMpegAudio(read, 0, total), total);
  Check(audio::ScanMpegAudio(read, 0, total, 4096), total);

  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const int fd = InputFile();
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  WriteAll(fd, bytes);
  Check(audio::ScanMpegAudioFile(path), total);
  const std::string riff = "RIFF" + Le32(static_cast<uint32_t>(size + 12)) + "WAVEdata" +
                           Le32(static_cast<uint32_t>(size)) + bytes;
  WriteAll(fd, riff);
  Check(audio::ScanMpegAudioFile(path), static_cast<int64_t>(riff.size()));
  return 0;
}
