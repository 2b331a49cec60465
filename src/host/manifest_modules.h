// What ApplicationManifest.json says about each module, read without the platform, and the
// placement arithmetic and creation JSON made from it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "ter_user_defaults.h"

struct ManifestModule {
  std::string name;          // "windows:name"; empty when missing
  bool under_view = false;   // "windows:parentHwnd" is "${topViewHwnd}"
  bool has_rect = false;     // "windows:parameters" / "windows:rect" is there
  std::array<std::string, 4> rect;    // its "rect" elements as text ("" when missing)
  std::array<std::string, 4> offset;  // its "offset" elements as text
  bool has_extra = false;    // "windows:parameters" / "windows:extra" is there
  std::string extra_json;    // that value as compact JSON text
  bool has_window_name = false;  // "window:hwnd" is there
  std::string window_name;
};

// The module entries in manifest order. False when there is no manifest or its
// "windows::version" is not the integer 1; `problem` then says which (empty for no manifest).
bool ReadManifestModules(ITerUserDefaults* manifest, std::vector<ManifestModule>* modules,
                         std::string* problem);

// Placement arithmetic: each number trunc(atoi(text) × scale); the third and fourth "rect"
// texts may instead be "${topViewWidth}" / "${topViewHeight}" (taken as they are).
// Result: [r0 + o0, r1 + o1, o2 + r2, o3 + r3]. Every number and sum is clamped to
// ±kPlacementLimit, so a module's right − left cannot overflow either.
constexpr int kPlacementLimit = 1000000;
std::array<int, 4> ModuleWindowRect(const std::array<std::string, 4>& rect,
                                    const std::array<std::string, 4>& offset, float scale,
                                    int view_width, int view_height);
// {"rect":[…],"extra":…} with whichever members are given, compact; "{}" with none. An
// `extra_json` that does not parse is left out.
std::string ModuleCreationJson(const std::array<int, 4>* rect, const std::string* extra_json);
