#include <list>
#include <mutex>
#include <new>
#include <string>

#include "ter_dbg_report.h"
#include "terrace/text.h"

namespace terrace {
namespace {

// Only remembers where reports go and whom to tell; nothing is hooked into the process yet.
class DbgReport final : public ITerDbgReport {
 public:
  void Arm(const wchar_t* dump_folder, TerCrashWarningCallback warning,
           TerCrashMarkerCallback marker) override {
    std::lock_guard<std::mutex> guard(mutex_);
    warning_ = warning;
    marker_ = marker;
    current_ = nullptr;
    if (!dump_folder || !*dump_folder) return;
    try {
      std::wstring folder = dump_folder;
      if (!IsSeparator(folder.back())) folder += L'\\';
      // Earlier folders stay alive: a caller may still hold what DumpFolder() gave it.
      folders_.push_back(std::move(folder));
      current_ = folders_.back().c_str();
    } catch (const std::bad_alloc&) {
    }
  }

  const wchar_t* DumpFolder() override {
    std::lock_guard<std::mutex> guard(mutex_);
    return current_;
  }

 private:
  std::mutex mutex_;
  std::list<std::wstring> folders_;
  const wchar_t* current_ = nullptr;
  TerCrashWarningCallback warning_ = nullptr;
  TerCrashMarkerCallback marker_ = nullptr;
};

}  // namespace
}  // namespace terrace

extern "C" TERRACE_API ITerDbgReport* CreateTerDbgReport() {
  // Never destroyed: a crash report may be wanted while the process is shutting down.
  static auto* report = new (std::nothrow) terrace::DbgReport;
  return report;
}
