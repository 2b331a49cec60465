// Cost of one translation through libLinguo, a hit and a miss, next to a bare hash-map
// look-up of the same key in the same run; heap allocations per call are counted.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "linguo/linguo.h"

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

constexpr int kCalls = 500000;
constexpr int kRounds = 21;
volatile size_t g_sink = 0;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

template <typename Body>
double NanosPerCall(Body body) {
  LARGE_INTEGER start, stop;
  ::QueryPerformanceCounter(&start);
  for (int i = 0; i < kCalls; ++i) body();
  ::QueryPerformanceCounter(&stop);
  return Seconds(start, stop) * 1e9 / kCalls;
}

// The keys the shell translates, plus fillers, so the bare map is about the catalogue's size.
std::vector<std::wstring> BareKeys() {
  std::vector<std::wstring> keys = {L"ok", L"cancel", L"settings", L"language-change-tip-%s",
                                    L"show-window", L"exit", L"tray-tip"};
  for (int i = 0; i < 40; ++i) keys.push_back(L"filler-key-" + std::to_wstring(i));
  return keys;
}

// Rounds alternate between the two, so a busy machine slows both alike; the best of each.
void Measure(const char* what, const wchar_t* key,
             const std::unordered_map<std::wstring_view, const wchar_t*>& bare) {
  // Read anew each call, so neither side gets its length or hash hoisted out of the loop.
  const wchar_t* volatile given = key;
  auto linguo = [&given] {
    g_sink = g_sink + reinterpret_cast<uintptr_t>(wxGetTranslation(given, "Platform"));
  };
  auto bare_lookup = [&given, &bare] {
    const wchar_t* text = given;
    const auto found = bare.find(std::wstring_view(text, std::wcslen(text)));
    g_sink = g_sink + reinterpret_cast<uintptr_t>(found == bare.end() ? text : found->second);
  };
  double linguo_ns = 1e30, bare_ns = 1e30;
  long long allocations = 0;
  for (int round = 0; round < kRounds; ++round) {
    const long long before = g_allocations.load();
    linguo_ns = std::min(linguo_ns, NanosPerCall(linguo));
    allocations += g_allocations.load() - before;
    bare_ns = std::min(bare_ns, NanosPerCall(bare_lookup));
  }
  std::printf("%s: wxGetTranslation=%.1f ns  bare map=%.1f ns  ratio=%.2f  allocations/call=%.4f\n",
              what, linguo_ns, bare_ns, linguo_ns / bare_ns,
              double(allocations) / (double(kRounds) * kCalls));
}

}  // namespace

int main() {
  wxLocale* locale = wxCreateLocale(3);
  if (!locale || !locale->AddCatalog(3, L"en_US\\strings.mo") ||
      !locale->Load((std::wstring(OSTREVAN_APP_DIR_W) + L"\\I18n\\").c_str(), 0)) {
    std::printf("the English catalogue could not be loaded from the application folder\n");
    return 1;
  }
  const wchar_t* hit = L"language-change-tip-%s";
  const wchar_t* miss = L"language-change-tip-missing";
  if (wxGetTranslation(hit, "Platform") == hit) {
    std::printf("the catalogue has no translation of the hit key\n");
    return 1;
  }

  const std::vector<std::wstring> keys = BareKeys();
  std::unordered_map<std::wstring_view, const wchar_t*> bare;
  for (const std::wstring& k : keys) bare.emplace(k, k.c_str());

  std::printf("translation look-up: libLinguo against a bare hash map, same key (best of %d alternating rounds)\n",
              kRounds);
  Measure("hit", hit, bare);
  Measure("miss", miss, bare);
  return 0;
}
