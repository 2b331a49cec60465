// The numbers behind a progress dialog. Modules report from any thread; the dialog's timer
// samples them on the main thread. Counts are atomics; the description is swapped whole
// under a lock so a reader never sees half a text.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class ProgressState {
 public:
  void SetDone(int32_t done) { done_.exchange(done); }
  void SetTotal(int32_t total) { total_.exchange(total); }
  // Returns the failure count after the addition.
  int32_t AddFailures(int32_t count) { return failed_.fetch_add(count) + count; }
  int32_t done() const { return done_.load(); }
  int32_t total() const { return total_.load(); }
  int32_t failed() const { return failed_.load(); }

  void SetDescription(std::wstring text);
  void DropDescription();
  // The current text (empty when none); a copy the caller may keep.
  std::shared_ptr<const std::wstring> Description() const;
  // True once after each SetDescription; the timer uses it to repaint.
  bool TakeDescriptionChanged() { return description_changed_.exchange(false); }

  // Everything back to an empty run.
  void Reset();

 private:
  std::atomic<int32_t> done_{0};
  std::atomic<int32_t> total_{0};
  std::atomic<int32_t> failed_{0};
  std::atomic<bool> description_changed_{false};
  mutable std::mutex description_lock_;
  std::shared_ptr<const std::wstring> description_;
};

// "37 / 200" with counts, "18.50%" otherwise, "" when the total is 0 without counts.
std::wstring ProgressCountText(int32_t done, int32_t total, bool show_counts);
// Filled width of a bar `inner_width` wide; 0 without a total, never past the bar.
int ProgressFillWidth(int inner_width, int32_t done, int32_t total);
// One line of the failure box: prefix, count, ".", item, CR LF.
std::wstring ProgressFailureLine(const std::wstring& prefix, int32_t count,
                                 const std::wstring& item);
// The text shown once the work is over: "failed(n)" and the description, or "finish".
std::wstring ProgressFinishText(const std::wstring& failed_word, const std::wstring& finish_word,
                                int32_t failed, const std::wstring& description);
