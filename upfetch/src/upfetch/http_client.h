// HTTP(S) GET over WinHTTP, synchronous, for the worker threads of the update flow.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace upfetch {

enum class FetchResult {
  kOk,           // status 200 and the whole body (as far as the server announced it)
  kBadAddress,   // not an http(s) address WinHTTP accepts
  kNetwork,      // no connection, time-out, or the connection ended before the body did
  kHttpStatus,   // any status but 200
  kStopped,      // a callback asked to stop
};

struct FetchHandlers {
  // After the headers of a 200 answer; `content_length` is -1 when the server sent none.
  // False stops the transfer.
  std::function<bool(int64_t content_length)> on_start;
  // Every block of the body as it arrives; false stops the transfer.
  std::function<bool(const uint8_t* data, size_t size)> on_data;
};

FetchResult HttpGet(const std::string& address, const FetchHandlers& handlers);

// The library's result for a transfer: UF_OK, or the failure it stands for (a stop that a
// caller asked for counts as a network failure unless the caller knows better).
int UpfetchResult(FetchResult result);

}  // namespace upfetch
