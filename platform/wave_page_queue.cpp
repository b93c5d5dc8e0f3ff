#include "platform/wave_page_queue.h"

#include <algorithm>
#include <cstring>

namespace platform {

WavePageQueue::WavePageQueue(uint32_t block_align) : block_align_(block_align) {}

void WavePageQueue::Push(WaveHeader* header) {
  header->flags.fetch_and(~kWaveHeaderDone);
  header->flags.fetch_or(kWaveHeaderInQueue);
  const uint64_t frames =
      (block_align_ == 0 || header->data == nullptr) ? 0 : header->buffer_length / block_align_;
  pushed_frames_ += frames;
  entries_.push_back(Entry{header, header->data, frames, pushed_frames_});
}

size_t WavePageQueue::Take(uint8_t* out, size_t max_frames) {
  size_t copied = 0;
  while (copied < max_frames && take_index_ < entries_.size()) {
    const Entry& e = entries_[take_index_];
    const uint64_t left = e.frames - take_offset_;
    if (left == 0) {
      ++take_index_;
      take_offset_ = 0;
      continue;
    }
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, max_frames - copied));
    std::memcpy(out + copied * block_align_, e.data + take_offset_ * block_align_,
                n * block_align_);
    copied += n;
    take_offset_ += n;
  }
  taken_frames_ += copied;
  return copied;
}

void WavePageQueue::MarkPlayed(uint64_t played) {
  while (!entries_.empty() && entries_.front().end_frame <= played &&
         (take_index_ > 0 || take_offset_ >= entries_.front().frames)) {
    MarkDone(entries_.front().header);
    entries_.pop_front();
    if (take_index_ > 0) {
      --take_index_;
    } else {
      take_offset_ = 0;
    }
  }
}

void WavePageQueue::Clear() {
  for (const Entry& e : entries_) MarkDone(e.header);
  entries_.clear();
  take_index_ = 0;
  take_offset_ = 0;
  pushed_frames_ = 0;
  taken_frames_ = 0;
}

void WavePageQueue::MarkDone(WaveHeader* header) {
  // In-queue goes first so that a caller who sees the done flag may unprepare at once.
  header->flags.fetch_and(~kWaveHeaderInQueue);
  header->flags.fetch_or(kWaveHeaderDone, std::memory_order_release);
}

}  // namespace platform
