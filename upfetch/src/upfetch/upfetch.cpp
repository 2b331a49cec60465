// The three exported functions and the lists they hand out.
#include "upfetch/upfetch.h"

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "upfetch/cng.h"
#include "upfetch/download.h"
#include "upfetch/http_client.h"
#include "upfetch/update_items.h"
#include "upfetch/update_list.h"
#include "upfetch_public_key.h"  // generated from the key file the build was given

namespace upfetch {
namespace {

// Every item handed out, so a foreign or already released pointer is refused instead of
// read; shared, so a list released during its own download stays alive until the end.
std::mutex registry_lock;
std::map<const UFUpdateData*, std::shared_ptr<List>>& Registry() {
  static auto* registry = new std::map<const UFUpdateData*, std::shared_ptr<List>>();
  return *registry;
}

void Trace(const std::string& text) { ::OutputDebugStringA(("libUpfetch: " + text + "\n").c_str()); }

int Check(UFUpdateData** result, const UFCheckParameters* parameters) {
  *result = nullptr;
  Version running;
  if (!parameters || !parameters->root_address || !parameters->brand ||
      !parameters->product_name || !parameters->product_version ||
      !ParseVersion(parameters->product_version, &running)) {
    return UF_ERROR_ARGUMENT;
  }
  const std::string address =
      ListAddress(parameters->root_address, parameters->brand, parameters->product_name,
                  parameters->product_version, parameters->product_type);
  if (address.empty()) return UF_ERROR_ARGUMENT;

  std::string document;
  bool too_large = false;
  FetchHandlers handlers;
  handlers.on_data = [&](const uint8_t* data, size_t size) {
    if (size > kMaxListBytes - document.size()) {
      too_large = true;
      return false;
    }
    document.append(reinterpret_cast<const char*>(data), size);
    return true;
  };
  const FetchResult fetched = HttpGet(address, handlers);
  if (too_large) return UF_ERROR_FORMAT;
  if (const int failure = UpfetchResult(fetched)) return failure;

  // Nothing of the body is interpreted before its signature holds.
  SignedList signed_list;
  if (!SplitSignedList(document, &signed_list) ||
      !VerifyEcdsaP256(kUpdateListPublicKey, sizeof(kUpdateListPublicKey), signed_list.body,
                       signed_list.signature)) {
    Trace("the update list is not signed by the product's key");
    return UF_ERROR_SIGNATURE;
  }
  std::vector<ListEntry> entries;
  std::string error;
  if (!ParseUpdateList(signed_list.body, parameters->brand, address, &entries, &error)) {
    Trace(error);
    return UF_ERROR_FORMAT;
  }
  entries = NewerEntries(std::move(entries), running);
  if (entries.empty()) return UF_NO_UPDATE;

  std::shared_ptr<List> list = MakeList(parameters->brand, std::move(entries));
  {
    std::lock_guard<std::mutex> lock(registry_lock);
    for (const auto& item : list->items) Registry()[&item->data] = list;
  }
  *result = &list->items.front()->data;
  return UF_OK;
}

int Download(UFUpdateData* first, UFProgressCallback progress, void* context) {
  std::shared_ptr<List> list;
  Item* item = nullptr;
  {
    std::lock_guard<std::mutex> lock(registry_lock);
    auto found = Registry().find(first);
    if (found == Registry().end()) return UF_ERROR_ARGUMENT;
    list = found->second;
    for (const auto& candidate : list->items) {
      if (&candidate->data == first) item = candidate.get();
    }
  }
  DownloadRequest request;
  request.brand = list->brand;
  request.version = item->version;
  request.address = item->address;
  request.size = item->size;
  request.sha256 = item->sha256;
  std::string local_path;
  const int result = DownloadInstaller(request, progress, context, &local_path);
  if (result == UF_OK) {
    item->local_path = std::move(local_path);
    item->data.local_path = &item->local_path[0];
  }
  return result;
}

void Free(UFUpdateData* first) {
  std::lock_guard<std::mutex> lock(registry_lock);
  auto found = Registry().find(first);
  if (found == Registry().end()) return;
  const std::shared_ptr<List> list = found->second;
  for (const auto& item : list->items) Registry().erase(&item->data);
}

}  // namespace
}  // namespace upfetch

// No exception leaves the library: a failed allocation is a failed call.
extern "C" UPFETCH_API int UFCheckForUpdate(UFUpdateData** list,
                                            const UFCheckParameters* parameters) {
  if (!list) return UF_ERROR_ARGUMENT;
  try {
    return upfetch::Check(list, parameters);
  } catch (const std::bad_alloc&) {
    *list = nullptr;
    return UF_ERROR_ARGUMENT;
  }
}

extern "C" UPFETCH_API int UFDownloadUpdate(UFUpdateData* first, UFProgressCallback progress,
                                            void* context) {
  if (!first) return UF_ERROR_ARGUMENT;
  try {
    return upfetch::Download(first, progress, context);
  } catch (const std::bad_alloc&) {
    return UF_ERROR_FILE;
  }
}

extern "C" UPFETCH_API void UFFreeUFUpdateData(UFUpdateData* first) {
  if (!first) return;
  try {
    upfetch::Free(first);
  } catch (const std::bad_alloc&) {
  }
}
