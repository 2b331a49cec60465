#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ter_utility.h"

namespace {

TEST(TerLock, ExcludesOtherThreadsAndNests) {
  static int table = 0;
  long counter = 0;  // deliberately not atomic: the lock must protect it
  auto work = [&] {
    for (int i = 0; i < 20000; ++i) {
      TerLock()->Lock(&table);
      TerLock()->Lock(&table);  // recursive on the same thread
      ++counter;
      TerLock()->Unlock(&table);
      TerLock()->Unlock(&table);
    }
  };
  std::thread first(work);
  std::thread second(work);
  first.join();
  second.join();
  EXPECT_EQ(counter, 40000);
}

TEST(TerLock, HeldUntilTheOwnersLastUnlockWhateverOthersUnlock) {
  static int key = 0;
  static int other_key = 0;
  std::atomic<bool> took_other{false}, entered{false};
  TerLock()->Lock(&key);
  TerLock()->Lock(&key);
  std::thread other([&] {
    TerLock()->Lock(&other_key);  // a different key is free
    took_other = true;
    TerLock()->Unlock(&other_key);
    TerLock()->Unlock(&other_key);  // one too many
    TerLock()->Unlock(&key);        // not the owner: ignored
    TerLock()->Lock(&key);
    entered = true;
    TerLock()->Unlock(&key);
  });
  TerLock()->Unlock(&key);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(took_other);
  EXPECT_FALSE(entered) << "still held once";
  TerLock()->Unlock(&key);
  other.join();
  EXPECT_TRUE(entered);
  TerLock()->Unlock(reinterpret_cast<const void*>(0x1234));  // never locked
}

}  // namespace
