// libUpfetch: finds a newer version of the product in a signed update list and downloads its
// installer. The list format, the signature and the key handling are described in
// upfetch/UPDATE_LIST.md.
//
// A plain C interface: callers built with another compiler or runtime can use it. Every
// pointer the library hands out belongs to it and is given back with UFFreeUFUpdateData.
#pragma once

#include <stdint.h>

#if !defined(_WIN32)
#define UPFETCH_API  // the list's types, built natively for tests and fuzzing
#elif defined(UPFETCH_BUILDING)
#define UPFETCH_API __declspec(dllexport)
#else
#define UPFETCH_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Results. UFCheckForUpdate answers UF_OK, UF_NO_UPDATE or a failure; UFDownloadUpdate
// answers UF_OK, UF_STOPPED or a failure.
enum {
  UF_OK = 0,
  UF_STOPPED = 1,           // the progress callback asked to stop; nothing is left on disk
  UF_ERROR_ARGUMENT = 2,    // null or foreign pointers, unusable parameters
  UF_ERROR_NETWORK = 3,     // no connection, time-out, connection dropped
  UF_ERROR_HTTP = 4,        // the server answered with a status other than 200
  UF_NO_UPDATE = 5,         // the list holds no version newer than the running one
  UF_ERROR_SIGNATURE = 6,   // unsigned, badly signed or altered list
  UF_ERROR_FORMAT = 7,      // a correctly signed list that breaks the format
  UF_ERROR_INTEGRITY = 8,   // the installer's size or SHA-256 differs from the list
  UF_ERROR_FILE = 9,        // the installer could not be written or renamed
};

typedef struct UFNote {
  char* text;  // one line of release notes, UTF-8
  struct UFNote* next;
} UFNote;

// One available version. The list is ordered newest first; the first item is the one
// UFDownloadUpdate fetches.
typedef struct UFUpdateData {
  char* version;      // "2.0.1"
  char* path_remote;  // absolute http(s) address of the installer
  char* local_path;   // where the installer was saved; empty until a download succeeds
  char* md5;          // the list's "md5" text, passed through unchecked (may be empty)
  UFNote* notes;      // every note line of the list, language markers included
  struct UFUpdateData* next;
} UFUpdateData;

typedef struct UFCheckParameters {
  const char* root_address;     // base address of the update service, "https://host/"
  const char* brand;            // "Pellavorne"
  const char* product_name;     // "Pellavorne Screen Recorder"
  const char* product_version;  // the running version, "1.1.64"
  int32_t product_type;
  int32_t reserved;
} UFCheckParameters;

// Called on the downloading thread after every block received, with byte counts. Any
// non-zero result stops the download (the shell uses -2).
typedef int32_t (*UFProgressCallback)(void* context, double total, double done);

// Fetches and verifies the update list. On UF_OK *list holds the versions newer than
// product_version, newest first; otherwise *list is null.
UPFETCH_API int UFCheckForUpdate(UFUpdateData** list, const UFCheckParameters* parameters);

// Downloads the first item's installer into the product's temporary folder
// (%TEMP%\<brand>\<yyyymmdd>\). The file appears under its final name only once its size
// and SHA-256 match the list; on any other outcome no file is left behind.
UPFETCH_API int UFDownloadUpdate(UFUpdateData* first, UFProgressCallback progress,
                                 void* context);

// Releases a whole list from UFCheckForUpdate. Null and pointers the library never handed
// out (or already released) are ignored.
UPFETCH_API void UFFreeUFUpdateData(UFUpdateData* first);

#ifdef __cplusplus
}
#endif
