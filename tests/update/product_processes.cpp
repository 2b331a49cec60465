#include "product_processes.h"

#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <cwctype>

#include "test_files.h"

namespace {

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

struct ProductSearch {
  std::wstring folder;
  HWND window;
  DWORD process_id;
};

BOOL CALLBACK MatchProduct(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ProductSearch*>(context);
  wchar_t title[128] = {};
  ::GetWindowTextW(window, title, 128);
  if (!::IsWindowVisible(window) || std::wstring(title) != L"Pellavorne Screen Recorder") {
    return TRUE;
  }
  DWORD id = 0;
  ::GetWindowThreadProcessId(window, &id);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return TRUE;
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  const bool named = ::QueryFullProcessImageNameW(process, 0, path, &size) != FALSE;
  ::CloseHandle(process);
  if (named && Lower(path).rfind(Lower(search->folder), 0) == 0) {
    search->window = window;
    search->process_id = id;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring InstallerPath() { return OSTREVAN_INSTALLER_W; }

long RunProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeout_ms) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    return -1;
  }
  long code = -1;
  if (::WaitForSingleObject(process.hProcess, timeout_ms) == WAIT_OBJECT_0) {
    DWORD exit_code = 0;
    ::GetExitCodeProcess(process.hProcess, &exit_code);
    code = static_cast<long>(exit_code);
  } else {
    ::TerminateProcess(process.hProcess, 99);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return code;
}

HWND FindProductWindow(const std::wstring& folder, DWORD* process_id) {
  ProductSearch search = {folder, nullptr, 0};
  ::EnumWindows(&MatchProduct, reinterpret_cast<LPARAM>(&search));
  if (process_id) *process_id = search.process_id;
  return search.window;
}

long CloseProduct(HWND window, DWORD process_id, DWORD timeout_ms) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION |
                                     PROCESS_TERMINATE, FALSE, process_id);
  if (!process) return -1;
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  long code = -1;
  if (::WaitForSingleObject(process, timeout_ms) == WAIT_OBJECT_0) {
    DWORD exit_code = 0;
    ::GetExitCodeProcess(process, &exit_code);
    code = static_cast<long>(exit_code);
  } else {
    ::TerminateProcess(process, 99);
  }
  ::CloseHandle(process);
  return code;
}

void UseTestUpdateServer(const std::wstring& folder, const std::string& root) {
  ::CopyFileW(OSTREVAN_TEST_DIR_W L"\\libUpfetch.dll", (folder + L"libUpfetch.dll").c_str(),
              FALSE);
  rapidjson::Document options;
  options.Parse(ReadWholeFile(folder + L"Option.json").c_str());
  if (!options.IsObject()) return;
  options["url:root:brand"].SetString(root.c_str(), options.GetAllocator());
  rapidjson::StringBuffer buffer;
  rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
  options.Accept(writer);
  WriteText(folder + L"Option.json", buffer.GetString());
}
