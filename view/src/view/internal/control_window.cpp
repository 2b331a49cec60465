#include "view/internal/control_window.h"

#include <string>
#include <vector>

namespace vantorel {

namespace {

// Destroyed with the library's other statics, on FreeLibrary (and at process exit, when
// windows may remain and unregistering fails harmlessly).
class ClassRegistry {
 public:
  ~ClassRegistry() {
    for (CWndClassInfo* info : classes_) {
      if (info->m_atom == 0) continue;
      ::UnregisterClassW(MAKEINTATOM(info->m_atom), ModuleHelper::GetModuleInstance());
      info->m_atom = 0;
    }
  }
  void Remember(CWndClassInfo* info) {
    AcquireSRWLockExclusive(&lock_);
    bool known = false;
    for (CWndClassInfo* c : classes_) known = known || c == info;
    if (!known) classes_.push_back(info);
    ReleaseSRWLockExclusive(&lock_);
  }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  std::vector<CWndClassInfo*> classes_;
};

ClassRegistry& Registry() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

ATOM RegisterControlClass(CWndClassInfo& info, WNDPROC* super_proc) {
  ClassRegistry& registry = Registry();  // made before the class, so it is destroyed after
  const ATOM atom = info.Register(super_proc);
  if (atom != 0) registry.Remember(&info);
  return atom;
}

void LogLine(const char* where, const char* what) {
  std::string line = "Vantorel: ";
  line += where;
  line += ": ";
  line += what;
  line += "\n";
  ::OutputDebugStringA(line.c_str());
}

}  // namespace vantorel
