// Frame-delay arithmetic of animated images.
#pragma once

#include <windows.h>

#include <vector>

namespace vantorel {

// Appends one delay in milliseconds per frame from the frame-delay property (hundredths of a
// second, `value_count` values). Frames the property does not cover get 0.
inline void AppendFrameDelays(const UINT* values, size_t value_count, UINT frame_count,
                              std::vector<UINT>& delays) {
  for (UINT frame = 0; frame < frame_count; ++frame) {
    delays.push_back(frame < value_count ? values[frame] * 10 : 0);
  }
}

inline UINT NextFrameIndex(UINT index, size_t frame_count) {
  const UINT next = index + 1;
  return next >= frame_count ? 0 : next;
}

}  // namespace vantorel
