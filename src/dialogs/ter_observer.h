// The observer pair every dialog carries. Nothing in the shell attaches observers; modules
// and later dialogs may.
#pragma once

#include <cstdint>
#include <vector>

class TERObserver {
 public:
  virtual ~TERObserver() = default;
  virtual void Update(uintptr_t, uintptr_t) {}
};

class TERSubject {
 public:
  virtual ~TERSubject() = default;
  void Attach(TERObserver* observer) { observers_.push_back(observer); }
  // Calls every observer in the order they were attached.
  void Notify(uintptr_t a, uintptr_t b) {
    for (TERObserver* observer : observers_) observer->Update(a, b);
  }

 private:
  std::vector<TERObserver*> observers_;  // not owned
};
