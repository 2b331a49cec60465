// The controls' window classes go with the library: a second copy of Vantorel, loaded by the
// real loader, registers its list class on first use and leaves none behind once unloaded.
#include <gtest/gtest.h>

#include <string>

#include "test_files.h"
#include "test_support.h"

namespace {

// The facade's members as the copy exports them (GCC's names; `this` comes first).
constexpr char kConstructor[] = "_ZN10KvListViewC1Ev";
constexpr char kDestructor[] = "_ZN10KvListViewD1Ev";
constexpr char kCreate[] = "_ZN10KvListView14CreateListViewEP6HWND__RK7tagRECTjbbb";
constexpr char kHandle[] = "_ZNK10KvListViewcvP6HWND__Ev";

using Constructor = void (*)(void*);
using Create = int (*)(void*, HWND, const RECT*, UINT, bool, bool, bool);
using Handle = HWND (*)(const void*);

std::wstring LoadedVantorelPath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(::GetModuleHandleW(L"Vantorel.dll"), path, MAX_PATH);
  return path;
}

TEST(ControlClasses, AreUnregisteredWhenTheLibraryUnloads) {
  TempFolder folder(L"vantorel_unload");
  const std::wstring copy = folder.path() + L"VantorelCopy.dll";
  ASSERT_TRUE(::CopyFileW(LoadedVantorelPath().c_str(), copy.c_str(), FALSE));
  HMODULE library = ::LoadLibraryW(copy.c_str());
  ASSERT_NE(library, nullptr);
  auto find = [library](const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(library, name));
  };
  auto construct = reinterpret_cast<Constructor>(find(kConstructor));
  auto destruct = reinterpret_cast<Constructor>(find(kDestructor));
  auto create = reinterpret_cast<Create>(find(kCreate));
  auto handle = reinterpret_cast<Handle>(find(kHandle));
  ASSERT_TRUE(construct && destruct && create && handle);

  HWND parent = CreatePlainWindow(RECT{0, 0, 200, 200});
  alignas(16) unsigned char facade[64] = {};
  construct(facade);
  const RECT rect = {0, 0, 100, 100};
  ASSERT_EQ(create(facade, parent, &rect, 5, false, true, false), 0);
  wchar_t name[64] = {};
  ::GetClassNameW(handle(facade), name, 64);
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  EXPECT_TRUE(::GetClassInfoExW(library, name, &info)) << "registered for the copy";
  ::DestroyWindow(parent);
  destruct(facade);

  ASSERT_TRUE(::FreeLibrary(library));
  ASSERT_EQ(::GetModuleHandleW(copy.c_str()), nullptr) << "really unloaded";
  EXPECT_FALSE(::GetClassInfoExW(library, name, &info)) << std::wstring(name) << " left behind";
}

}  // namespace
