// HikakuFile: the byte-wise comparison of two files.
#include <algorithm>
#include <cstring>

#include "platform/native_path.h"
#include "transfer/file_hand.h"

namespace transfer {

int32_t FileHand::HikakuFile(const std::string& sFilename, const std::string& tFilename,
                             int32_t pInt, int32_t pSize) {
  return Run([&] {
    return DoHikakuFile(platform::ToNativePath(sFilename), platform::ToNativePath(tFilename), pInt,
                        pSize);
  });
}

int32_t FileHand::DoHikakuFile(const std::string& source, const std::string& target, int32_t pInt,
                               int32_t pSize) {
  if (variant_.companion && (!IsFile(source) || !IsFile(target))) return 0;
  ClearState(false);
  const int64_t pause = pInt == 0 ? 10 : pInt;
  platform::FileHandle a;
  platform::FileHandle b;
  if (fs_.Open(source, platform::OpenMode::Read, a) != 0 ||
      fs_.Open(target, platform::OpenMode::Read, b) != 0)
    return 0;
  platform::FileInfo infoA;
  platform::FileInfo infoB;
  if (fs_.StatOpen(a, infoA) != 0 || fs_.StatOpen(b, infoB) != 0) return 0;
  const int64_t size = infoA.size;
  if (size <= 0 || infoB.size != size) return 0;

  Show("ファイル比較中…", false);
  const int64_t chunk = Chunk(pSize);
  int64_t rounds = RoundLimit(size, chunk);
  int64_t rest = size;
  int64_t done = 0;
  std::vector<char> bufferA(static_cast<size_t>(std::min(chunk, size)));
  std::vector<char> bufferB(bufferA.size());
  bool same = true;
  for (;;) {
    const int64_t n = rest < chunk ? rest : chunk;
    Rate(Event::kHikakuRate,
         static_cast<float>(static_cast<double>(done) / static_cast<double>(size)));
    int error = 0;
    // A file that ends early has changed under the comparison: no answer can be given.
    if (fs_.Read(a, bufferA.data(), n, error) != n) return 0;
    Pause(pause);
    if (fs_.Read(b, bufferB.data(), n, error) != n) return 0;
    if (std::memcmp(bufferA.data(), bufferB.data(), static_cast<size_t>(n)) != 0) {
      same = false;
      break;
    }
    done += n;
    const RoundEnd next = EndRound(rest, n, rounds);
    if (next == RoundEnd::kStopped) return 0;
    if (next == RoundEnd::kDone) break;
  }
  Rate(Event::kHikakuRate, 1.0F);
  return same ? 1 : 0;
}

}  // namespace transfer
