// Cost of one send on the open bus next to the least any name-routed call could cost:
// an ordered-map look-up by a string_view key plus an indirect call per receiver.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "host/command_bus.h"

namespace {
std::atomic<long long> g_allocations{0};
}  // namespace

// The counting replacement pairs malloc with free; GCC cannot see that across the pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
  ++g_allocations;
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }

namespace {

volatile int64_t g_sink = 0;
void Receive(TERObserveData1* record) { g_sink = g_sink + record->value + 1; }

using Handler = void (*)(TERObserveData1*);

const char* const kNames[] = {
    "LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET",    "LIBPLATFORM_COMMAND_OPEN_ABOUT",
    "LIBPLATFORM_COMMAND_FIND_URL",              "LIBPLATFORM_COMMAND_FIND_IMAGE",
    "LIBPLATFORM_COMMAND_CHECK_FOR_UPDATE",      "LIBPLATFORM_COMMAND_OPEN_SETTING",
    "LIBPLATFORM_COMMAND_GET_PRODUCT_ALIAS",     "LIBPLATFORM_COMMAND_NOTIFY_PROGRESS",
    "LIBPLATFORM_COMMAND_START_PROGRESS",        "LIBPLATFORM_COMMAND_GET_TEMP_DIR",
    "LIBPLATFORM_COMMAND_GET_PRODUCT_VERSION",   "LIBPLATFORM_COMMAND_GET_MODULE_HWND",
    "LIBPLATFORM_COMMAND_GET_FONT",              "LIBPLATFORM_COMMAND_GET_DPI_SCALE_PERCENT",
    "LIBRECORDER_COMMAND_START_SCREEN_RECORDER", "LIBWINDOW_COMMAND_SIZE_CHANGE",
};
constexpr const char* kSent = "LIBPLATFORM_COMMAND_GET_MODULE_HWND";

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

template <typename Body>
double BestNanosPerCall(Body body, int calls) {
  double best = 1e30;
  for (int round = 0; round < 7; ++round) {
    LARGE_INTEGER start, stop;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i) body();
    ::QueryPerformanceCounter(&stop);
    best = std::min(best, Seconds(start, stop) * 1e9 / calls);
  }
  return best;
}

void Measure(int receivers) {
  TERModuleId host = reinterpret_cast<TERModuleId>(0x1000);
  CommandBus bus(host);
  std::vector<ModuleChannel> channels(receivers);
  for (const char* name : kNames) {
    for (int i = 0; i < receivers; ++i) {
      channels[i] = ModuleChannel{nullptr, &Receive, reinterpret_cast<TERModuleId>(0x2000 + i), 0};
      bus.Register(name, &channels[i]);
    }
  }
  bus.Open();

  std::map<std::string, std::vector<Handler>, std::less<>> baseline;
  for (const char* name : kNames) baseline[name] = std::vector<Handler>(receivers, &Receive);

  constexpr int kCalls = 2000000;
  TERObserveData1 record = {};
  record.name = kSent;
  record.sender = host;

  const long long allocations_before = g_allocations.load();
  const double bus_ns = BestNanosPerCall([&] { bus.Deliver(&record); }, kCalls);
  const long long allocations = g_allocations.load() - allocations_before;

  const double baseline_ns = BestNanosPerCall(
      [&] {
        auto found = baseline.find(std::string_view(record.name));
        if (found == baseline.end()) return;
        for (Handler handler : found->second) handler(&record);
      },
      kCalls);

  std::printf("receivers=%d  bus=%.1f ns/send  baseline=%.1f ns  ratio=%.2f  "
              "allocations/send=%.4f\n",
              receivers, bus_ns, baseline_ns, bus_ns / baseline_ns,
              double(allocations) / (7.0 * kCalls));
}

}  // namespace

int main() {
  std::printf("command bus: send cost against a map look-up plus indirect calls (best of 7)\n");
  Measure(1);
  Measure(3);
  return 0;
}
