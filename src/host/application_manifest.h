// ApplicationManifest.json: which modules make up the product and where their windows go.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "host/module_api.h"

// Loads every listed module in order, enters the host as "Product" and registers
// `platform_handler` for every platform command. False (and nothing loaded or registered)
// when there is no manifest or its "windows::version" is not the integer 1.
bool LoadModulesAndRegisterPlatformCommands(TERReceiveFunction platform_handler);

// Sends each loaded module its creation command with its placement, under the main view
// when "windows:parentHwnd" is "${topViewHwnd}", else under the frame.
bool CreateModuleWindows(HWND frame, HWND view);

// The window a module left under a "window:hwnd" name; null when the name is unknown.
bool FindModuleWindow(const std::string& name, HWND* window);

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
