#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/file_handles.h"

namespace audio {

// One marker of a wave file, in the order of its "cue " chunk.
struct CuePoint {
  // 1 when a "file" sub-chunk was attached to this cue point.
  int32_t HasFile = 0;
  int32_t SampleOffset = 0;
  // From the cue point's "plst" entry; 0 when there is none.
  int32_t Length = 0;
  int32_t Repeats = 0;
  // The key by which "plst", "labl" and "file" entries find the cue point.
  int32_t CueID = 0;
  // Media type of the attached "file" sub-chunk.
  int32_t MediaType = 0;
  // "labl" text (CP932 on disk, UTF-8 here); empty when there is none.
  std::string Label;
  // "file" data read as text up to its first CR; empty when there is none.
  std::string FileText;
};

// Most cue points and play-list entries a chunk may declare, and most bytes of a label or file
// text that are read.
constexpr int32_t kMaxCuePoints = 100;
constexpr int32_t kMaxCueTextBytes = 512;

// Reads the markers of a wave file: the cue points of its "cue " chunk, the lengths and repeat
// counts of its "plst" chunk and the "labl" and "file" texts of its first "adtl" list. Returns
// the cue count 1..100 with `cues` holding that many elements; 0 when there are no markers
// (a file under 50 bytes, no "cue " chunk, a count outside 1..100, a cue entry that cannot be
// read), and then the caller ignores `cues`. Only chunk headers, entries and at most 512 bytes
// per text are read; every failure is quiet. `handle` 0 opens (and closes) the path here; a
// caller's handle is left open.
int32_t ReadWaveCueChunks(const std::string& path, foundation::FileHandleId handle,
                          std::vector<CuePoint>& cues);

}  // namespace audio
