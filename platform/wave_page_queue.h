#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "platform/wave_out_device.h"

namespace platform {

// The queue of pages of one stream, shared by the backends. Pages are handed out frame by
// frame in write order (Take) and marked done once the backend reports their last frame as
// played (MarkPlayed). Frame counts start at 0 on construction and after Clear.
//
// Not thread-safe: the owning stream holds its lock around every call. A page's address and
// length are taken at Push; its bytes are read only inside Take, so a caller that holds the
// same lock around Clear knows that no page is read afterwards.
class WavePageQueue {
 public:
  explicit WavePageQueue(uint32_t block_align);

  // Appends a page: clears its done flag and sets the in-queue flag. Its frames are
  // buffer_length / block_align (a trailing partial frame is skipped).
  void Push(WaveHeader* header);
  // Copies up to max_frames frames not yet taken into `out`; returns the number copied.
  size_t Take(uint8_t* out, size_t max_frames);
  // Marks done (and out of the queue) every page whose last frame is at or before `played`
  // frames from the start; zero-length pages go as soon as the pages before them.
  void MarkPlayed(uint64_t played);
  // Marks every page done and starts counting frames from 0 again.
  void Clear();

  bool empty() const { return entries_.empty(); }
  // Frames written but not yet taken.
  uint64_t untaken_frames() const { return pushed_frames_ - taken_frames_; }
  uint64_t taken_frames() const { return taken_frames_; }
  uint64_t pushed_frames() const { return pushed_frames_; }

 private:
  struct Entry {
    WaveHeader* header;
    const uint8_t* data;  // header->data at Push: a later change to the header is not followed
    uint64_t frames;
    uint64_t end_frame;  // pushed_frames_ after this page
  };

  static void MarkDone(WaveHeader* header);

  uint32_t block_align_;
  std::deque<Entry> entries_;
  size_t take_index_ = 0;     // entry being taken from
  uint64_t take_offset_ = 0;  // frames of that entry already taken
  uint64_t pushed_frames_ = 0;
  uint64_t taken_frames_ = 0;
};

}  // namespace platform
