#include "app/data_file_problem.h"

#include <windows.h>

#include "app/json_text_problem.h"

namespace {

bool ReadBytes(const std::wstring& path, std::string* bytes, DWORD* error) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = ::GetLastError();
    return false;
  }
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) != FALSE) && read > 0)
    bytes->append(buffer, read);
  if (!ok) *error = ::GetLastError();
  ::CloseHandle(file);
  return ok;
}

}  // namespace

std::string DataFileProblem(const std::wstring& path) {
  std::string bytes;
  DWORD error = 0;
  if (!ReadBytes(path, &bytes, &error))
    return "cannot be read (system error " + std::to_string(error) + ")";
  return JsonTextProblem(bytes);
}
