// Start-up cost of the module host: loading 20 trivial modules (three versions each on
// disk, descriptors read, the best chosen, RegisterModule called, commands registered)
// next to LoadLibraryW of 20 such DLLs directly. A DLL loads once per process, so every
// round uses fresh copies; the median of the rounds is reported.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/win32/plugin_util_win32.h"

namespace {

constexpr int kModules = 20;
constexpr int kRounds = 5;

std::wstring g_root;

double Now() {
  LARGE_INTEGER counter, frequency;
  ::QueryPerformanceCounter(&counter);
  ::QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

void WriteText(const std::wstring& path, const std::string& text) {
  if (FILE* file = ::_wfopen(path.c_str(), L"wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Module folder with versions 1.0.0, 2.0.0 and 3.0.0, each a copy of the probe module.
std::wstring MakeModule(int round, int index) {
  const std::wstring name = L"bench_" + std::to_wstring(round) + L"_" + std::to_wstring(index);
  const std::wstring folder = g_root + name + L"\\";
  const std::wstring probe = std::wstring(OSTREVAN_TEST_MODULE_DIR_W) + L"\\probe_module.dll";
  for (const wchar_t* version : {L"1.0.0", L"2.0.0", L"3.0.0"}) {
    const std::wstring version_folder = folder + version + L"\\";
    ::SHCreateDirectoryExW(nullptr, (version_folder + L"x64").c_str(), nullptr);
    ::CopyFileW(probe.c_str(), (version_folder + L"x64\\" + name + L".dll").c_str(), FALSE);
    WriteText(version_folder + L"plugin.load",
              "{\"path\": \"" + Narrow(name) + ".dll\", \"x64\": \"x64\", \"win32\": \"x86\", "
              "\"type\": 1, \"version\": \"" + Narrow(version) + "\", \"id\": \"bench\", "
              "\"command-recv\": [\"BENCH_A\", \"BENCH_B\", \"BENCH_C\"]}");
  }
  return folder;
}

std::wstring MakePlainCopy(int round, int index) {
  const std::wstring path = g_root + L"plain_" + std::to_wstring(round) + L"_" +
                            std::to_wstring(index) + L".dll";
  ::CopyFileW((std::wstring(OSTREVAN_TEST_MODULE_DIR_W) + L"\\probe_module.dll").c_str(),
              path.c_str(), FALSE);
  return path;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  g_root = std::wstring(temp) + L"ostrevan-host-bench-" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
  ::SHCreateDirectoryExW(nullptr, g_root.c_str(), nullptr);

  std::vector<double> host_times, direct_times;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<std::wstring> modules, plain;
    for (int i = 0; i < kModules; ++i) {
      modules.push_back(MakeModule(round, i));
      plain.push_back(MakePlainCopy(round, i));
    }
    double start = Now();
    int loaded = 0;
    for (const std::wstring& folder : modules) loaded += LoadModule(Narrow(folder)) != nullptr;
    host_times.push_back(Now() - start);

    start = Now();
    int direct = 0;
    for (const std::wstring& path : plain) direct += ::LoadLibraryW(path.c_str()) != nullptr;
    direct_times.push_back(Now() - start);
    if (loaded != kModules || direct != kModules) {
      std::printf("round %d: only %d modules and %d libraries loaded\n", round, loaded, direct);
      return 1;
    }
  }

  const double host = Median(host_times) * 1e3;
  const double direct = Median(direct_times) * 1e3;
  std::printf("module host: %d modules x 3 versions, median of %d rounds\n", kModules, kRounds);
  std::printf("LoadModule=%.2f ms  LoadLibraryW=%.2f ms  ratio=%.2f\n", host, direct, host / direct);

  std::wstring from = g_root.substr(0, g_root.size() - 1) + L'\0';
  SHFILEOPSTRUCTW remove = {};
  remove.wFunc = FO_DELETE;
  remove.pFrom = from.c_str();
  remove.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&remove);
  return 0;
}
