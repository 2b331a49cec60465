// The JSON text a module opens a link alert with: read or refused, with sizes a dialog can
// take, and the link's shown text taken apart without inventing any.
#include <string>

#include "dialogs/link_alert_payload.h"
#include "fuzz_support.h"
#include "view/internal/markup_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LinkAlertPayload payload;
  if (!ParseLinkAlertPayload(reinterpret_cast<const char*>(data), size, &payload)) return 0;
  FUZZ_CHECK(payload.width >= 0 && payload.width <= 0x7FFF);
  FUZZ_CHECK(payload.height >= 0 && payload.height <= 0x7FFF);
  FUZZ_CHECK(payload.title.size() + payload.sub_title.size() + payload.link.size() <= size);
  // The message's links as the dialog shows them; one UTF-16 unit per byte is enough here.
  std::wstring link;
  for (char c : payload.link) link.push_back(static_cast<unsigned char>(c));
  FUZZ_CHECK(vantorel::LinkShownText(link).size() <= link.size());
  return 0;
}
