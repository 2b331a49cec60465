// The product as the update tests meet it: installed by its real installer, started by it,
// and pointed at a local update server.
#pragma once

#include <windows.h>

#include <string>

#include "app_runner.h"

template <typename Condition>
bool Eventually(Condition condition, DWORD timeout_ms = 20000) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > timeout_ms) return false;
    ::Sleep(25);
  }
  return true;
}

std::wstring InstallerPath();  // the installer the build made from the application folder

// Runs a program to its end; its exit code, or -1 when it did not end in time.
long RunProgram(const std::wstring& program, const std::wstring& arguments,
                DWORD timeout_ms = 120000);

// The visible main window of a product started from `folder` (ending with "\"), with its
// process id; null when there is none.
HWND FindProductWindow(const std::wstring& folder, DWORD* process_id = nullptr);
// Asks that product to close and waits for its process to end; its exit code or -1.
long CloseProduct(HWND window, DWORD process_id, DWORD timeout_ms = 30000);

// Makes the copy in `folder` trust the test key and ask the server at `root` for updates.
void UseTestUpdateServer(const std::wstring& folder, const std::string& root);
