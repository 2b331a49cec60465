// ApplicationManifest.json: which modules make up the product and where their windows go.
#pragma once

#include <windows.h>

#include <string>

#include "host/manifest_modules.h"
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
