// Feeds arbitrary bytes to the wave header and cue readers as a file. The readers take a path,
// so each input is written to one anonymous in-memory file reached through /proc/self/fd.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/audio_file_type.h"
#include "audio/riff_file.h"
#include "audio/wave_cue_chunks.h"
#include "audio/wave_header.h"
#include "foundation/file_handles.h"

namespace {

int InputFile() {
  static const int fd = memfd_create("wave_reader_fuzz", 0);
  if (fd < 0) std::abort();
  return fd;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0) return false;
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int fd = InputFile();
  if (!WriteAll(fd, data, size)) std::abort();
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  // Opened by the readers themselves.
  const audio::WaveInfo info = audio::ReadWaveHeader(path, 0);
  if (info.Valid == 1) {
    if (info.BlockAlign <= 0 || info.DataBytes < 0 ||
        info.DataOffset + info.DataBytes > info.FileSize || info.Frames < 0 || info.LengthMS < 0 ||
        info.SampleKind < 0 || info.SampleKind > 9) {
      std::abort();
    }
  }
  std::vector<audio::CuePoint> cues;
  const int32_t count = audio::ReadWaveCueChunks(path, 0, cues);
  if (count < 0 || count > audio::kMaxCuePoints || (count > 0 && cues.size() != size_t(count))) {
    std::abort();
  }
  for (const audio::CuePoint& cue : cues) {
    if (cue.Label.size() > 4 * audio::kMaxCueTextBytes) std::abort();  // UTF-8 of 512 bytes
  }
  audio::FindRiffChunk(path, 0, audio::FourCC("LIST"), 1);

  // Through a caller's handle, which must stay open.
  foundation::FileHandleId handle = foundation::OpenFileHandle(path, 0);
  if (handle == 0) std::abort();
  audio::ReadWaveHeader("", handle);
  audio::ReadWaveCueChunks("", handle, cues);
  if (foundation::GetFileSizeOfHandle(handle) != static_cast<int64_t>(size)) std::abort();
  foundation::CloseFileHandle(handle);
  return 0;
}
