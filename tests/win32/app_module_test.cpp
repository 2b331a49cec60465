#include "common/win32/app_module.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "common/win32/message_loop.h"

namespace {

std::vector<std::string>& HookLog() {
  static std::vector<std::string> log;
  return log;
}

void FirstStarts() { HookLog().push_back("start first"); }
void FirstStops() { HookLog().push_back("stop first"); }
void SecondStarts() { HookLog().push_back("start second"); }

const CObjectMapEntry first_entry = {FirstStarts, FirstStops};
const bool first_registered = (CAppModule::AddObjectMapEntry(&first_entry), true);
OSTREVAN_OBJECT_ENTRY(second_entry, SecondStarts, nullptr);

TEST(AppModule, InitRunsStartUpHooksAndTermRunsShutdownHooksNewestFirst) {
  ASSERT_TRUE(first_registered && second_entry_registered);
  HookLog().clear();
  CAppModule module;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  EXPECT_EQ(module.Init(instance), S_OK);
  EXPECT_EQ(module.m_dwMainThreadID, ::GetCurrentThreadId());
  EXPECT_EQ(module.GetModuleInstance(), instance);
  EXPECT_EQ(module.GetResourceInstance(), instance);
  EXPECT_EQ(module.Init(instance), E_UNEXPECTED);
  module.Term();
  module.Term();  // a second Term runs nothing
  EXPECT_EQ(HookLog(), (std::vector<std::string>{"start first", "start second", "stop first"}));
}

TEST(AppModule, OneMessageLoopPerThread) {
  CAppModule module;
  CMessageLoop main_loop, second_main_loop, worker_loop;
  EXPECT_FALSE(module.AddMessageLoop(&main_loop)) << "no map before Init";
  ASSERT_EQ(module.Init(::GetModuleHandleW(nullptr)), S_OK);

  EXPECT_TRUE(module.AddMessageLoop(&main_loop));
  EXPECT_FALSE(module.AddMessageLoop(&second_main_loop));
  EXPECT_EQ(module.GetMessageLoop(), &main_loop);

  HANDLE added = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE checked = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD worker_id = 0;
  bool worker_saw_own = false, worker_removed = false;
  std::thread worker([&] {
    worker_id = ::GetCurrentThreadId();
    module.AddMessageLoop(&worker_loop);
    worker_saw_own = module.GetMessageLoop() == &worker_loop;
    ::SetEvent(added);
    ::WaitForSingleObject(checked, INFINITE);
    worker_removed = module.RemoveMessageLoop() != FALSE;
  });
  ::WaitForSingleObject(added, INFINITE);
  EXPECT_EQ(module.GetMessageLoop(worker_id), &worker_loop);
  EXPECT_EQ(module.GetMessageLoop(), &main_loop);
  ::SetEvent(checked);
  worker.join();
  ::CloseHandle(added);
  ::CloseHandle(checked);
  EXPECT_TRUE(worker_saw_own);
  EXPECT_TRUE(worker_removed);
  EXPECT_EQ(module.GetMessageLoop(worker_id), nullptr);

  EXPECT_TRUE(module.RemoveMessageLoop());
  EXPECT_FALSE(module.RemoveMessageLoop());
  EXPECT_EQ(module.GetMessageLoop(), nullptr);
  EXPECT_TRUE(module.AddMessageLoop(&main_loop));
  module.Term();
  EXPECT_EQ(module.GetMessageLoop(), nullptr);
}

TEST(AppModule, TheProgramHasOneModule) {
  EXPECT_EQ(&AppModule(), &AppModule());
  // This program's copy of the library sits in the executable.
  EXPECT_EQ(ModuleHelper::GetModuleInstance(), ::GetModuleHandleW(nullptr));
  EXPECT_EQ(ModuleHelper::GetResourceInstance(), ::GetModuleHandleW(nullptr));
}

}  // namespace
