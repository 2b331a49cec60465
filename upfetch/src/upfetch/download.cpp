#include "upfetch/download.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>

#include "upfetch/cng.h"
#include "upfetch/http_client.h"
#include "upfetch/text.h"

namespace upfetch {

namespace {

std::wstring UniquePartName(const std::wstring& final_path) {
  static std::atomic<unsigned> counter{0};
  wchar_t suffix[64];
  std::swprintf(suffix, 64, L".%lu-%llu-%u.part", ::GetCurrentProcessId(),
                static_cast<unsigned long long>(::GetTickCount64()), ++counter);
  return final_path + suffix;
}

// The partial file: exclusive while it is written, deleted unless Keep() renamed it.
class PartFile {
 public:
  explicit PartFile(std::wstring path) : path_(std::move(path)) {
    handle_ = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~PartFile() {
    Close();
    if (!kept_) ::DeleteFileW(path_.c_str());
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }

  bool Write(const uint8_t* data, size_t size) {
    while (size > 0) {
      DWORD written = 0;
      const DWORD piece = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
      if (!::WriteFile(handle_, data, piece, &written, nullptr) || written == 0) return false;
      data += written;
      size -= written;
    }
    return true;
  }

  bool Keep(const std::wstring& final_path) {
    if (!::FlushFileBuffers(handle_)) return false;
    Close();
    kept_ = ::MoveFileExW(path_.c_str(), final_path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    return kept_;
  }

 private:
  void Close() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

  std::wstring path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool kept_ = false;
};

}  // namespace

std::wstring ProductTemporaryFolder(const std::string& brand) {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return std::wstring();
  SYSTEMTIME today = {};
  ::GetLocalTime(&today);
  wchar_t date[16];
  std::swprintf(date, 16, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
  const std::wstring folder = std::wstring(temp) + Widen(brand) + L"\\" + date + L"\\";
  ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return folder;
}

int DownloadInstaller(const DownloadRequest& request, UFProgressCallback progress, void* context,
                      std::string* local_path) {
  const std::wstring folder = ProductTemporaryFolder(request.brand);
  if (folder.empty()) return UF_ERROR_FILE;
  const std::wstring final_path =
      folder + Widen(InstallerFileName(request.brand, request.version));
  PartFile part(UniquePartName(final_path));
  if (!part.is_open()) return UF_ERROR_FILE;

  Sha256 hash;
  uint64_t received = 0;
  bool stopped = false;
  bool too_long = false;
  bool write_failed = false;
  const double total = static_cast<double>(request.size);
  auto report = [&]() {
    if (progress && progress(context, total, static_cast<double>(received)) != 0) stopped = true;
    return !stopped;
  };
  FetchHandlers handlers;
  handlers.on_start = [&](int64_t content_length) {
    if (content_length >= 0 && static_cast<uint64_t>(content_length) != request.size) {
      too_long = true;  // announced wrong: not the installer the list describes
      return false;
    }
    return report();
  };
  handlers.on_data = [&](const uint8_t* data, size_t size) {
    if (size > request.size - received) {
      too_long = true;
      return false;
    }
    if (!part.Write(data, size) || !hash.Add(data, size)) {
      write_failed = true;
      return false;
    }
    received += size;
    return report();
  };
  const FetchResult fetched = HttpGet(request.address, handlers);
  if (stopped) return UF_STOPPED;
  if (too_long) return UF_ERROR_INTEGRITY;
  if (write_failed) return UF_ERROR_FILE;
  if (const int failure = UpfetchResult(fetched)) return failure;
  // A body that ends early without a Content-Length counts as a dropped connection.
  if (received != request.size) return UF_ERROR_NETWORK;
  Sha256Digest digest;
  if (!hash.Finish(&digest)) return UF_ERROR_FILE;
  if (digest != request.sha256) return UF_ERROR_INTEGRITY;
  if (!part.Keep(final_path)) return UF_ERROR_FILE;
  *local_path = Narrow(final_path);
  return UF_OK;
}

}  // namespace upfetch
