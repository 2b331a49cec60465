#include "frame_clock.h"

FrameClock::FrameClock(int frames_per_second)
    : frames_per_second_(frames_per_second > 0 ? frames_per_second : 1),
      period_us_(1000000 / frames_per_second_) {}

int64_t FrameClock::SlotStart(int64_t index) const {
  return index * 1000000 / frames_per_second_;
}

FrameSlot FrameClock::Next(int64_t last_index, int64_t elapsed_us) const {
  FrameSlot slot = {last_index + 1, 0, 0};
  const int64_t start = SlotStart(slot.index);
  if (elapsed_us < start) {
    slot.wait_us = start - elapsed_us;
    return slot;
  }
  // The newest slot that has begun is the one to take; those before it are lost.
  const int64_t current = elapsed_us * frames_per_second_ / 1000000;
  if (current > slot.index) {
    slot.missed = current - slot.index;
    slot.index = current;
  }
  return slot;
}
