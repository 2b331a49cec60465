// User defaults: named JSON documents loaded from files, shared by the host and its modules.
// A file that is missing, empty, truncated, not UTF-8, nested deeper than
// kTerMaxJsonDepth levels or otherwise malformed gives no user defaults; nothing crashes.
// Values are borrowed pointers into the document; a setter may move the members of the
// object it changes, so read values again after setting under the same parent.
// Every operation is safe from any thread (one lock per document). Texts handed out as
// `char*` are malloc'ed copies: give them back with TerUtilityString()->Release or free().
#pragma once

#include <stdint.h>

#include "terrace_export.h"

struct TerJsonValue;  // opaque: a value inside a user-defaults document

enum { kTerMaxJsonDepth = 256 };

// Components as stored; users take the low byte of each.
struct TerColor {
  int32_t red;
  int32_t green;
  int32_t blue;
};

class ITerUserDefaults {
 public:
  // A null parent means the root object. Missing keys and wrong types answer the fallback.
  virtual bool HasKey(const char* key, const TerJsonValue* parent) = 0;
  virtual char* GetString(const char* key, const TerJsonValue* parent) = 0;  // copy or null
  virtual int64_t GetInt(const char* key, const TerJsonValue* parent, int64_t fallback) = 0;
  virtual bool IsInt(const char* key, const TerJsonValue* parent) = 0;
  // An array of three integers [red, green, blue]; anything else answers `fallback`.
  virtual TerColor GetColor(const char* key, const TerJsonValue* parent, TerColor fallback) = 0;
  virtual const TerJsonValue* GetChild(const char* key, const TerJsonValue* parent) = 0;
  virtual const TerJsonValue* GetRoot() = 0;
  virtual uint32_t ArraySize(const TerJsonValue* array) = 0;  // 0 for a non-array
  virtual const TerJsonValue* ArrayElement(const TerJsonValue* array, uint32_t index) = 0;
  // Members of an object in document order: for (m = First; m != End; m = Next(m)).
  virtual const TerJsonValue* FirstMember(const TerJsonValue* object) = 0;
  virtual const TerJsonValue* MemberEnd(const TerJsonValue* object) = 0;
  virtual const TerJsonValue* NextMember(const TerJsonValue* member) = 0;
  virtual const char* MemberName(const TerJsonValue* member) = 0;  // borrowed
  virtual const TerJsonValue* MemberValue(const TerJsonValue* member) = 0;
  // A string value's text, a number's decimal text, or null for other types (copy).
  virtual char* ValueText(const TerJsonValue* value) = 0;
  virtual char* ValueJson(const TerJsonValue* value) = 0;  // compact JSON text (copy)
  virtual void SetString(const char* key, const char* value) = 0;  // on the root object
  virtual void SetInt(const char* key, int64_t value) = 0;         // on the root object
  virtual bool Save() = 0;  // writes the whole document to its file, atomically

 protected:
  ~ITerUserDefaults() = default;
};

extern "C" {
// Loads `path` under `name` (replacing an earlier document of that name). False, and no
// user defaults under that name, when the file is missing or malformed.
TERRACE_API bool InitUserDefaults(const char* name, const wchar_t* path);
TERRACE_API ITerUserDefaults* GetUserDefaults(const char* name);  // null when none
// The standard user defaults always exist after this call (empty when the file is missing
// or malformed) so they can be saved; the result says whether the file was read. The user's
// bytes are never lost: a malformed file is moved aside to "<path>.damaged" (the latest one
// kept) first, and a file that cannot be read at all is never saved over (Save fails).
TERRACE_API bool InitStandardUserDefaults(const wchar_t* path);
// What went wrong with the file at the last InitStandardUserDefaults, with the parser's
// message and offset, and what was done about it; null when it loaded or was missing.
// Release with TerUtilityString()->Release.
TERRACE_API char* StandardUserDefaultsProblem();
TERRACE_API ITerUserDefaults* StandardUserDefaults();  // null before InitStandardUserDefaults
}
