// Entry of the host: acquires every process-wide service in order, runs the shell and
// releases everything again in reverse order.
#include <winsock2.h>  // before windows.h, which would pull in the old socket header
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>
#include <objbase.h>
#include <shellapi.h>

#include <glog/logging.h>

#include <memory>
#include <string>

#include "app/crash_report.h"
#include "app/data_file_problem.h"
#include "app/early_errors.h"
#include "app/log_pruning.h"
#include "app/process_state.h"
#include "app/product_identity.h"
#include "app/run.h"
#include "app/single_instance.h"
#include "app/startup_layout.h"
#include "app/system_info.h"
#include "app/terrace_text.h"
#include "winlayer/app_module.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "ter_dbg_report.h"
#include "ter_task.h"
#include "ter_user_defaults.h"
#include "ter_utility.h"

namespace {

struct LocalFreer {
  void operator()(LPWSTR* arguments) const { ::LocalFree(arguments); }
};
using ArgumentArray = std::unique_ptr<LPWSTR[], LocalFreer>;

// Preferences.json lives in settings + brand + "\" + display name.
std::wstring PreferencesFolder() {
  TerText settings(TerUtilitySys()->SettingsFolder());
  return Utf8ToWide(settings.get()) + BrandWordWide() + L"\\" + ProductDisplayNameWide();
}

void LoadApplicationManifest() {
  TerText folder(TerUtilityApp()->ApplicationFolder());
  const std::wstring path = Utf8ToWide(folder.get()) + L"ApplicationManifest.json";
  if (!InitUserDefaults("ApplicationManifest", path.c_str()))
    LogError("ApplicationManifest.json could not be used: " + WideToUtf8(path) + ": " +
             DataFileProblem(path) + "; no module is loaded");
}

void LoadPreferences(const std::wstring& path) {
  if (InitStandardUserDefaults(path.c_str())) return;
  TerText problem(StandardUserDefaultsProblem());
  if (!problem.empty()) {
    LogError("Preferences.json could not be used: " + WideToUtf8(path) + ": " + problem.str() +
             "; starting with empty preferences");
  }
}

// The data files every later step needs, in this order. Arguments are accepted, not used.
void LoadPreferencesAndData(int, LPWSTR*) {
  const std::wstring preferences_folder = PreferencesFolder();
  TerUtilityFile()->MakeFolder(WideToUtf8(preferences_folder).c_str());
  LoadPreferences(preferences_folder + L"\\Preferences.json");
  LoadApplicationManifest();
  LoadLanguageSites();
  if (!ActivateLanguage(StartupLanguageNumber())) ActivateLanguage(kEnglishLanguage);
  LoadOptions(&ReplaceLanguagePlaceholders);
}

std::string MakeLogFolder() {
  TerText base(TerUtilitySys()->LogFolder());
  char date[260] = {};
  TerUtilitySys()->FormatDate("%Y%m%d", date, sizeof(date));
  const std::string brand_folder = base.str() + BrandWord() + "\\";
  std::string folder = brand_folder + date;
  TerUtilityFile()->MakeFolder(folder.c_str());
  SYSTEMTIME today = {};
  ::GetLocalTime(&today);
  PruneLogFolders(Utf8ToWide(brand_folder), today, kLogDaysKept);
  return folder;
}

void StartLogging(const std::string& log_folder) {
  TerText executable(TerUtilityApp()->ExecutablePath());
  char* base_name = nullptr;
  TerUtilityFile()->SplitPath(executable.get(), nullptr, &base_name, nullptr);
  TerText program(base_name);
  // glog keeps the pointer it is given for the whole run.
  static std::string program_name;
  program_name = program.str();
  google::InitGoogleLogging(program_name.c_str());
  FLAGS_max_log_size = 20;
  FLAGS_log_dir = log_folder;
  // Every line reaches the file at once, so a crash report packs the log up to the crash.
  FLAGS_logbuflevel = -1;
  LOG(INFO) << "SysInfoStr: " << SystemInfoLine();
  WriteEarlyErrors();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show_command) {
  if (!IsFirstInstance()) {
    SignalFirstInstance();
    return 0;
  }
  StartActivationListener();

  SYSTEM_INFO system = {};
  ::GetSystemInfo(&system);
  TerTaskPool()->SetThreadCount(WorkerThreadCount(system.dwNumberOfProcessors));

  int argument_count = 0;
  ArgumentArray arguments;
  if (command_line && *command_line)
    arguments.reset(::CommandLineToArgvW(command_line, &argument_count));
  LoadPreferencesAndData(argument_count, arguments.get());

  const std::string log_folder = MakeLogFolder();
  const std::wstring log_folder_wide = Utf8ToWide(log_folder);
  StartLogging(log_folder);

  WSADATA sockets = {};
  const bool sockets_started = ::WSAStartup(MAKEWORD(2, 2), &sockets) == 0;
  ::CoInitialize(nullptr);
  Gdiplus::GdiplusStartupInput gdiplus_input;
  ULONG_PTR gdiplus_token = 0;
  Gdiplus::GdiplusStartup(&gdiplus_token, &gdiplus_input, nullptr);
  // Makes sure the window subsystem is up before any class is registered.
  ::DefWindowProcW(nullptr, 0, 0, 0);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  AppModule().Init(instance);
  PreloadImages();

  const std::wstring dump_folder = log_folder_wide + L"\\";
  CreateTerDbgReport()->Arm(dump_folder.c_str(), &CrashWarningCallback, &CrashMarkerWriter);

  const int exit_code = Run(command_line, show_command);

  if (ITerUserDefaults* preferences = StandardUserDefaults()) preferences->Save();
  AppModule().Term();
  Gdiplus::GdiplusShutdown(gdiplus_token);
  LOG(INFO) << "Shut down in order, exit code " << exit_code;
  ShutDownLoggingOnce();
  StopActivationListener();
  ::CoUninitialize();
  if (sockets_started) ::WSACleanup();
  MarkTeardownFinished();
  CreateTerDbgReport()->Arm(nullptr, nullptr, nullptr);  // a crash from here on reports nothing
  return exit_code;
}
