// The pacing of a recording: frame slots at a fixed period from the start, and which slots
// a late capture has missed. Pure arithmetic over microseconds, so it is tested without
// threads or clocks.
#pragma once

#include <cstdint>

struct FrameSlot {
  int64_t index;     // the slot to capture now
  int64_t missed;    // slots that passed since the previous capture without a frame
  int64_t wait_us;   // how long to wait before the slot is due (0: capture at once)
};

class FrameClock {
 public:
  explicit FrameClock(int frames_per_second);

  int64_t period_us() const { return period_us_; }
  // Slot `index` starts at index * period / fps-exact (no drift from rounding).
  int64_t SlotStart(int64_t index) const;
  // Given the time since the recording started, the next slot after `last_index` to take.
  // A slot is missed when the following one has already begun.
  FrameSlot Next(int64_t last_index, int64_t elapsed_us) const;

 private:
  int frames_per_second_;
  int64_t period_us_;
};
