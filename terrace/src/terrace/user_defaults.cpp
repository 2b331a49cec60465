#include "terrace/user_defaults.h"

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

bool UserDefaults::Save() {
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
