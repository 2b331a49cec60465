#include "dialogs/progress_state.h"

#include <cmath>
#include <cstdio>

void ProgressState::SetDescription(std::wstring text) {
  auto fresh = std::make_shared<const std::wstring>(std::move(text));
  {
    std::lock_guard<std::mutex> lock(description_lock_);
    description_.swap(fresh);
  }
  description_changed_.store(true);
}

void ProgressState::DropDescription() {
  std::shared_ptr<const std::wstring> old;
  std::lock_guard<std::mutex> lock(description_lock_);
  description_.swap(old);
}

std::shared_ptr<const std::wstring> ProgressState::Description() const {
  std::lock_guard<std::mutex> lock(description_lock_);
  if (description_) return description_;
  static const auto empty = std::make_shared<const std::wstring>();
  return empty;
}

void ProgressState::Reset() {
  done_.store(0);
  total_.store(0);
  failed_.store(0);
  description_changed_.store(false);
  DropDescription();
}

std::wstring ProgressCountText(int32_t done, int32_t total, bool show_counts) {
  wchar_t text[64] = {};
  if (show_counts) {
    std::swprintf(text, 64, L"%d / %d", done, total);
  } else if (total != 0) {
    const float percent = static_cast<float>(done) * 100.0f / static_cast<float>(total);
    std::swprintf(text, 64, L"%.2f%%", static_cast<double>(percent));
  }
  return text;
}

int ProgressFillWidth(int inner_width, int32_t done, int32_t total) {
  if (total == 0 || inner_width <= 0) return 0;
  const float width = std::floor(static_cast<float>(inner_width) * static_cast<float>(done) /
                                 static_cast<float>(total));
  // A module that reports more done than in all, or a negative count, must not paint
  // outside the bar.
  if (!(width > 0.0f)) return 0;
  return width >= static_cast<float>(inner_width) ? inner_width : static_cast<int>(width);
}

std::wstring ProgressFailureLine(const std::wstring& prefix, int32_t count,
                                 const std::wstring& item) {
  return prefix + std::to_wstring(count) + L"." + item + L"\r\n";
}

std::wstring ProgressFinishText(const std::wstring& failed_word, const std::wstring& finish_word,
                                int32_t failed, const std::wstring& description) {
  if (failed == 0) return finish_word;
  std::wstring text = failed_word + L"(" + std::to_wstring(failed) + L")";
  if (!description.empty()) text += L" " + description;
  return text;
}
