// Longest prefix that fits, by binary search over prefix lengths.
#pragma once

namespace vantorel {

// `fits(n)` must be monotone: once a prefix of n characters is too wide, longer ones are too.
template <typename Fits>
int LongestFittingPrefix(int length, Fits fits) {
  int lo = 0;
  int hi = length;
  int best = 0;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    if (fits(mid)) {
      best = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return best;
}

}  // namespace vantorel
