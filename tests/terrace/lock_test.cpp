#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ter_utility.h"

namespace {

using std::chrono::milliseconds;

TEST(TerLock, GuardsAKeyAcrossThreadsAndNests) {
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

TEST(TerLock, OtherThreadWaitsUntilTheLastUnlock) {
  static int key = 0;
  std::atomic<bool> entered{false};
  TerLock()->Lock(&key);
  TerLock()->Lock(&key);
  std::thread other([&] {
    TerLock()->Lock(&key);
    entered = true;
    TerLock()->Unlock(&key);
  });
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_FALSE(entered);
  TerLock()->Unlock(&key);
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_FALSE(entered) << "still held once";
  TerLock()->Unlock(&key);
  other.join();
  EXPECT_TRUE(entered);
}

TEST(TerLock, KeysAreIndependentAndStrayUnlocksAreIgnored) {
  static int held = 0;
  static int other_key = 0;
  TerLock()->Lock(&held);
  std::atomic<bool> got_other{false};
  std::atomic<bool> got_held{false};
  std::thread other([&] {
    TerLock()->Lock(&other_key);
    got_other = true;
    TerLock()->Unlock(&other_key);
    TerLock()->Unlock(&held);       // not the owner: must not release it
    TerLock()->Unlock(&other_key);  // one too many
    TerLock()->Lock(&held);
    got_held = true;
    TerLock()->Unlock(&held);
  });
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_TRUE(got_other);
  EXPECT_FALSE(got_held);
  TerLock()->Unlock(&held);
  other.join();
  EXPECT_TRUE(got_held);
  TerLock()->Unlock(reinterpret_cast<const void*>(0x1234));  // never locked
}

}  // namespace
