#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "ter_user_defaults.h"
#include "terrace/text.h"
#include "terrace/user_defaults.h"

namespace terrace {
namespace {

// Documents are never deleted once handed out, not even when a name is loaded again: other
// threads may still be inside the old object or hold values that point into it. Reloading
// is rare (start-up, switching profiles), so the leak is small and bounded in practice.
class UserDefaultsRegistry {
 public:
  static UserDefaultsRegistry* Instance() {
    // Never destroyed either, for the same reason.
    static auto* registry = new (std::nothrow) UserDefaultsRegistry;
    return registry;
  }

  bool Init(const char* name, const wchar_t* path) {
    bool loaded = false;
    std::unique_ptr<UserDefaults> defaults = Load(path, &loaded);
    std::lock_guard<std::mutex> guard(mutex_);
    try {
      if (loaded && defaults) {
        named_[name] = defaults.release();
        return true;
      }
      named_.erase(name);
    } catch (const std::bad_alloc&) {
    }
    return false;
  }

  ITerUserDefaults* Get(const char* name) {
    std::lock_guard<std::mutex> guard(mutex_);
    try {
      auto found = named_.find(name);
      return found == named_.end() ? nullptr : found->second;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  bool InitStandard(const wchar_t* path) {
    bool loaded = false;
    std::string problem;
    std::unique_ptr<UserDefaults> defaults;
    try {
      defaults = UserDefaults::LoadKeepingTheUsersBytes(path ? std::wstring(path) : std::wstring(),
                                                        &loaded, &problem);
    } catch (const std::bad_alloc&) {
      problem = "out of memory";
    }
    std::lock_guard<std::mutex> guard(mutex_);
    if (defaults) standard_ = defaults.release();
    standard_problem_.swap(problem);
    return loaded;
  }

  char* StandardProblem() {
    std::lock_guard<std::mutex> guard(mutex_);
    return standard_problem_.empty() ? nullptr : CopyText(standard_problem_);
  }

  ITerUserDefaults* Standard() {
    std::lock_guard<std::mutex> guard(mutex_);
    return standard_;
  }

 private:
  static std::unique_ptr<UserDefaults> Load(const wchar_t* path, bool* loaded) {
    try {
      return UserDefaults::Load(path ? std::wstring(path) : std::wstring(), loaded);
    } catch (const std::bad_alloc&) {
      *loaded = false;
      return nullptr;
    }
  }

  std::mutex mutex_;
  std::map<std::string, UserDefaults*> named_;
  UserDefaults* standard_ = nullptr;
  std::string standard_problem_;
};

}  // namespace
}  // namespace terrace

using terrace::UserDefaultsRegistry;

extern "C" {

TERRACE_API bool InitUserDefaults(const char* name, const wchar_t* path) {
  UserDefaultsRegistry* registry = UserDefaultsRegistry::Instance();
  return name && registry && registry->Init(name, path);
}

TERRACE_API ITerUserDefaults* GetUserDefaults(const char* name) {
  UserDefaultsRegistry* registry = UserDefaultsRegistry::Instance();
  return name && registry ? registry->Get(name) : nullptr;
}

TERRACE_API bool InitStandardUserDefaults(const wchar_t* path) {
  UserDefaultsRegistry* registry = UserDefaultsRegistry::Instance();
  return registry && registry->InitStandard(path);
}

TERRACE_API char* StandardUserDefaultsProblem() {
  UserDefaultsRegistry* registry = UserDefaultsRegistry::Instance();
  return registry ? registry->StandardProblem() : nullptr;
}

TERRACE_API ITerUserDefaults* StandardUserDefaults() {
  UserDefaultsRegistry* registry = UserDefaultsRegistry::Instance();
  return registry ? registry->Standard() : nullptr;
}

}  // extern "C"
