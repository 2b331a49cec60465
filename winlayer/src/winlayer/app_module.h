// The program's module: its instance handles, its start-up/shutdown hooks and the message
// loop of each user-interface thread.
#pragma once

#include <windows.h>

#include <map>

class CMessageLoop;

// Start-up/shutdown hooks of one component; either may be null. Register with
// CAppModule::AddObjectMapEntry (or OSTREVAN_OBJECT_ENTRY) before CAppModule::Init.
struct CObjectMapEntry {
  void (*startup)();
  void (*shutdown)();
};

class CAppModule {
 public:
  CAppModule();
  ~CAppModule();
  CAppModule(const CAppModule&) = delete;
  CAppModule& operator=(const CAppModule&) = delete;

  // Runs the start-up hooks and makes the calling thread the main thread. E_UNEXPECTED when
  // already initialised.
  HRESULT Init(HINSTANCE instance);
  // Drops the loop map and runs the shutdown hooks, newest first. Harmless when not
  // initialised.
  void Term();

  HINSTANCE GetModuleInstance() const { return m_hInst; }
  HINSTANCE GetResourceInstance() const { return m_hInstResource; }
  HINSTANCE SetResourceInstance(HINSTANCE instance);

  // One loop per thread: FALSE when this thread already has one or Init has not run.
  BOOL AddMessageLoop(CMessageLoop* loop);
  BOOL RemoveMessageLoop();
  CMessageLoop* GetMessageLoop(DWORD thread = ::GetCurrentThreadId());

  // Every module initialised after this call runs `entry`; the entry must outlive them.
  static void AddObjectMapEntry(const CObjectMapEntry* entry);

  DWORD m_dwMainThreadID = 0;

 private:
  HINSTANCE m_hInst = nullptr;
  HINSTANCE m_hInstResource = nullptr;
  CRITICAL_SECTION m_lock;
  std::map<DWORD, CMessageLoop*>* m_pMsgLoopMap = nullptr;  // exists between Init and Term
};

// The program's one module. The executable's copy of this library is authoritative: a DLL
// that links the library too reaches the same object, so loops and hooks are shared.
CAppModule& AppModule();

// Registers hooks at static-initialisation time: OSTREVAN_OBJECT_ENTRY(name, startup, shutdown)
#define OSTREVAN_OBJECT_ENTRY(name, startup_fn, shutdown_fn)                    \
  static const CObjectMapEntry name = {startup_fn, shutdown_fn};                \
  static const bool name##_registered = (CAppModule::AddObjectMapEntry(&name), true)

namespace ModuleHelper {
// The module (executable or DLL) containing this copy of the library: window classes are
// registered for it.
HINSTANCE GetModuleInstance();
// The initialised module's resource instance, else GetModuleInstance().
HINSTANCE GetResourceInstance();
}  // namespace ModuleHelper
