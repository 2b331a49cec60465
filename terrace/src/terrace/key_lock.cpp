#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <new>
#include <unordered_map>

#include "ter_utility.h"

namespace terrace {
namespace {

// Owner and depth are tracked by hand so that an Unlock from a thread that does not hold
// the lock (or one too many) is ignored instead of corrupting the lock.
struct KeyedLock {
  std::mutex mutex;
  std::condition_variable released;
  DWORD owner = 0;
  unsigned depth = 0;
};

class LockTable final : public ITerLock {
 public:
  void Lock(const void* key) override {
    KeyedLock* lock = Find(key, true);
    if (!lock) return;
    const DWORD self = ::GetCurrentThreadId();
    std::unique_lock<std::mutex> guard(lock->mutex);
    lock->released.wait(guard, [&] { return lock->depth == 0 || lock->owner == self; });
    lock->owner = self;
    ++lock->depth;
  }

  void Unlock(const void* key) override {
    KeyedLock* lock = Find(key, false);
    if (!lock) return;
    std::lock_guard<std::mutex> guard(lock->mutex);
    if (lock->depth == 0 || lock->owner != ::GetCurrentThreadId()) return;
    if (--lock->depth == 0) {
      lock->owner = 0;
      lock->released.notify_one();
    }
  }

 private:
  // Entries are never removed: a key's lock must stay the same object for as long as
  // anybody might still wait on it.
  KeyedLock* Find(const void* key, bool create) {
    std::lock_guard<std::mutex> guard(table_mutex_);
    auto found = table_.find(key);
    if (found != table_.end()) return found->second;
    if (!create) return nullptr;
    try {
      auto* lock = new KeyedLock;
      try {
        table_.emplace(key, lock);
      } catch (const std::bad_alloc&) {
        delete lock;
        return nullptr;
      }
      return lock;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  std::mutex table_mutex_;
  std::unordered_map<const void*, KeyedLock*> table_;
};

}  // namespace
}  // namespace terrace

extern "C" TERRACE_API ITerLock* TerLock() {
  // Never destroyed: worker threads may still take locks while the process shuts down.
  static auto* instance = new (std::nothrow) terrace::LockTable;
  return instance;
}
