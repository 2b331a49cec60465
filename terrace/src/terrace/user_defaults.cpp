#include "terrace/user_defaults.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "terrace/file_io.h"
#include "terrace/text.h"

namespace terrace {

std::unique_ptr<UserDefaults> UserDefaults::Load(const std::wstring& path, bool* loaded) {
  *loaded = false;
  try {
    std::unique_ptr<UserDefaults> defaults(new UserDefaults(path));
    size_t size = 0;
    uint8_t* bytes = path.empty() ? nullptr : ReadWholeFile(path, 0, &size);
    if (bytes) {
      *loaded = ParseJsonObject(reinterpret_cast<const char*>(bytes), size, &defaults->document_);
      std::free(bytes);
    } else {
      defaults->document_.SetObject();
    }
    return defaults;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::unique_ptr<UserDefaults> UserDefaults::LoadKeepingTheUsersBytes(const std::wstring& path,
                                                                     bool* loaded,
                                                                     std::string* problem) {
  *loaded = false;
  problem->clear();
  try {
    std::unique_ptr<UserDefaults> defaults(new UserDefaults(path));
    defaults->document_.SetObject();
    if (path.empty()) return defaults;
    size_t size = 0;
    unsigned long error = 0;
    uint8_t* bytes = ReadWholeFile(path, 0, &size, &error);
    if (!bytes) {
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        defaults->may_save_ = false;
        *problem = "cannot be read (system error " + std::to_string(error) +
                   "); it is left as it is and not saved over";
      }
      return defaults;
    }
    std::string why;
    *loaded = ParseJsonObject(reinterpret_cast<const char*>(bytes), size, &defaults->document_,
                              &why);
    std::free(bytes);
    if (*loaded) return defaults;
    const std::wstring aside = path + L".damaged";
    if (::MoveFileExW(path.c_str(), aside.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      *problem = why + "; moved aside to " + Narrow(aside);
    } else {
      defaults->may_save_ = false;
      *problem = why + "; it could not be moved aside (system error " +
                 std::to_string(::GetLastError()) + "), so it is left as it is and not saved over";
    }
    return defaults;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

bool UserDefaults::Save() {
  if (!may_save_) return false;
  std::lock_guard<std::mutex> save_guard(save_mutex_);
  try {
    std::string text;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      if (!WriteJson(document_, true, &text)) return false;
    }
    text += '\n';
    return WriteFileAtomically(path_, text.data(), text.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace terrace
