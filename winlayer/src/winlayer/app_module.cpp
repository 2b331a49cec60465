#include "winlayer/app_module.h"
#include "winlayer/process_state.h"

#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace winlayer {

struct ProcessState {
  CAppModule module;
  SRWLOCK entries_lock = SRWLOCK_INIT;
  std::vector<const CObjectMapEntry*> entries;
};

void* NewProcessState() { return new ProcessState; }

}  // namespace winlayer

namespace {

using winlayer::ProcessState;

std::vector<const CObjectMapEntry*> SnapshotEntries(ProcessState& state) {
  AcquireSRWLockShared(&state.entries_lock);
  std::vector<const CObjectMapEntry*> entries = state.entries;
  ReleaseSRWLockShared(&state.entries_lock);
  return entries;
}

// The executable exports the one state of the process (process_state_export.cpp) so that
// every DLL that links this layer finds it; a program without that export keeps its own.
// Never destroyed: DLLs may still reach it while the process winds down.
ProcessState& State() {
  static ProcessState* const state = [] {
    using Getter = void* (*)();
    auto getter = reinterpret_cast<Getter>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(nullptr), winlayer::kProcessStateExport)));
    return static_cast<ProcessState*>(getter ? getter() : winlayer::NewProcessState());
  }();
  return *state;
}

}  // namespace

CAppModule& AppModule() { return State().module; }

CAppModule::CAppModule() { ::InitializeCriticalSection(&m_lock); }

CAppModule::~CAppModule() {
  Term();
  ::DeleteCriticalSection(&m_lock);
}

void CAppModule::AddObjectMapEntry(const CObjectMapEntry* entry) {
  if (!entry) return;
  ProcessState& state = State();
  AcquireSRWLockExclusive(&state.entries_lock);
  state.entries.push_back(entry);
  ReleaseSRWLockExclusive(&state.entries_lock);
}

HRESULT CAppModule::Init(HINSTANCE instance) {
  ::EnterCriticalSection(&m_lock);
  if (m_pMsgLoopMap) {
    ::LeaveCriticalSection(&m_lock);
    return E_UNEXPECTED;
  }
  m_hInst = m_hInstResource = instance;
  m_dwMainThreadID = ::GetCurrentThreadId();
  m_pMsgLoopMap = new std::map<DWORD, CMessageLoop*>;
  ::LeaveCriticalSection(&m_lock);
  // Outside the lock: a hook may well ask this module for something.
  for (const CObjectMapEntry* entry : SnapshotEntries(State())) {
    if (entry->startup) entry->startup();
  }
  return S_OK;
}

void CAppModule::Term() {
  ::EnterCriticalSection(&m_lock);
  const bool initialised = m_pMsgLoopMap != nullptr;
  delete m_pMsgLoopMap;
  m_pMsgLoopMap = nullptr;
  ::LeaveCriticalSection(&m_lock);
  if (!initialised) return;
  const std::vector<const CObjectMapEntry*> entries = SnapshotEntries(State());
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if ((*entry)->shutdown) (*entry)->shutdown();
  }
}

HINSTANCE CAppModule::SetResourceInstance(HINSTANCE instance) {
  HINSTANCE previous = m_hInstResource;
  m_hInstResource = instance;
  return previous;
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop) {
  if (!loop) return FALSE;
  ::EnterCriticalSection(&m_lock);
  const bool added = m_pMsgLoopMap && m_pMsgLoopMap->emplace(::GetCurrentThreadId(), loop).second;
  ::LeaveCriticalSection(&m_lock);
  return added;
}

BOOL CAppModule::RemoveMessageLoop() {
  ::EnterCriticalSection(&m_lock);
  const bool removed = m_pMsgLoopMap && m_pMsgLoopMap->erase(::GetCurrentThreadId()) > 0;
  ::LeaveCriticalSection(&m_lock);
  return removed;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD thread) {
  CMessageLoop* loop = nullptr;
  ::EnterCriticalSection(&m_lock);
  if (m_pMsgLoopMap) {
    auto found = m_pMsgLoopMap->find(thread);
    if (found != m_pMsgLoopMap->end()) loop = found->second;
  }
  ::LeaveCriticalSection(&m_lock);
  return loop;
}

namespace ModuleHelper {

HINSTANCE GetModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

HINSTANCE GetResourceInstance() {
  HINSTANCE instance = AppModule().GetResourceInstance();
  return instance ? instance : GetModuleInstance();
}

}  // namespace ModuleHelper
