/* The contract between the host and its modules, for module authors (C or C++).
 *
 * A module is a DLL exporting `RegisterModule`. The host calls it once with a zeroed
 * ModuleChannel whose `send` and `id` it has filled; the module stores its receive function
 * in `receive` (and keeps the channel pointer: it lives as long as the process).
 *
 * Sending: zero-fill a TERObserveData1, set `name`, `sender` = channel->id, optionally
 * `target` and the argument words, call channel->send(&record); results come back in the
 * record. Strings and small records a receiver returns are malloc'ed: free() them. Images,
 * fonts and URL texts returned by the host are lent: never free them.
 */
#ifndef OSTREVAN_HOST_MODULE_API_H_
#define OSTREVAN_HOST_MODULE_API_H_

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A module's id is the instance handle of its DLL; the host's is the executable's. */
typedef HINSTANCE TERModuleId;

typedef struct TERObserveData1 {
  uint64_t reserved0;
  uint64_t reserved1;
  uint64_t reserved2;
  const char* name;    /* command name, UTF-8; required */
  char* text;          /* narrow string argument or result */
  wchar_t* wide_text;  /* UTF-16 argument or result */
  int64_t value;       /* integer argument or result; non-zero answers/objects */
  void* object;        /* pointer argument or result */
  uint64_t reserved8;
  void* payload;       /* command-specific data: parsed JSON, narrow text or a small record */
  uint64_t reserved10;
  HWND window;         /* window argument or result */
  TERModuleId sender;  /* the sender's module id; a record with 0 here is not delivered */
  TERModuleId target;  /* the one module wanted; 0 = everyone but the sender */
  uint64_t extra1;
  uint64_t extra2;
} TERObserveData1;

typedef void (*TERSendFunction)(TERObserveData1* record);
typedef void (*TERReceiveFunction)(TERObserveData1* record);

typedef struct ModuleChannel {
  TERSendFunction send;       /* filled by the host */
  TERReceiveFunction receive; /* filled by the module in RegisterModule */
  TERModuleId id;             /* filled by the host */
  uint64_t reserved;
} ModuleChannel;

/* Every module exports this by name; the host ignores the result. */
typedef int (*TERRegisterModuleFunction)(ModuleChannel* channel);

#define TER_MODULE_ENTRY_NAME "RegisterModule"

#ifdef __cplusplus
#define TER_MODULE_EXPORT extern "C" __declspec(dllexport)
#else
#define TER_MODULE_EXPORT __declspec(dllexport)
#endif

#ifdef __cplusplus
#define TER_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define TER_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* The record's layout is shared with modules built separately: it must never move. */
TER_STATIC_ASSERT(sizeof(TERObserveData1) == 128, "TERObserveData1 is 128 bytes");
TER_STATIC_ASSERT(offsetof(TERObserveData1, name) == 3 * 8, "name is word 3");
TER_STATIC_ASSERT(offsetof(TERObserveData1, text) == 4 * 8, "text is word 4");
TER_STATIC_ASSERT(offsetof(TERObserveData1, wide_text) == 5 * 8, "wide_text is word 5");
TER_STATIC_ASSERT(offsetof(TERObserveData1, value) == 6 * 8, "value is word 6");
TER_STATIC_ASSERT(offsetof(TERObserveData1, object) == 7 * 8, "object is word 7");
TER_STATIC_ASSERT(offsetof(TERObserveData1, payload) == 9 * 8, "payload is word 9");
TER_STATIC_ASSERT(offsetof(TERObserveData1, window) == 11 * 8, "window is word 11");
TER_STATIC_ASSERT(offsetof(TERObserveData1, sender) == 12 * 8, "sender is word 12");
TER_STATIC_ASSERT(offsetof(TERObserveData1, target) == 13 * 8, "target is word 13");
TER_STATIC_ASSERT(offsetof(TERObserveData1, extra1) == 14 * 8, "extra1 is word 14");
TER_STATIC_ASSERT(offsetof(TERObserveData1, extra2) == 15 * 8, "extra2 is word 15");
TER_STATIC_ASSERT(sizeof(ModuleChannel) == 32, "ModuleChannel is 32 bytes");
TER_STATIC_ASSERT(offsetof(ModuleChannel, receive) == 8, "receive is word 1");
TER_STATIC_ASSERT(offsetof(ModuleChannel, id) == 16, "id is word 2");

#ifdef __cplusplus
}

#include <functional>
#include <string>

/* Callbacks that dialog commands take in `object`, allocated with new by the sender; the host
 * calls each at most once, on its main thread, and then deletes it.
 * "LIBPLATFORM_COMMAND_OPEN_CONFIRM_MESSAGE" from a thread other than the host's main
 * thread: called with 1 (confirmed) or 0.
 * "LIBPLATFORM_COMMAND_OPEN_LINK_ALERT_MESSAGE": called with the clicked link's address,
 * possibly several times; non-zero closes the dialog as confirmed. */
typedef std::function<void(int)> TERConfirmCallback;
typedef std::function<int(const std::wstring&)> TERLinkHandler;

/* The set-up record of "LIBPLATFORM_COMMAND_START_PROGRESS", read once during the send. */
typedef void (*TERProgressCancelFunction)(void* first, void* second);
struct TERProgressSetup {
  void* logo;                       /* Gdiplus::Bitmap*, not owned; may be null */
  void* cancel_second;              /* second argument of the cancel function */
  void* cancel_first;               /* first argument */
  TERProgressCancelFunction cancel; /* called at most once when the user cancels; may be null */
};
#endif

#endif /* OSTREVAN_HOST_MODULE_API_H_ */
