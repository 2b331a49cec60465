# The platform-free core: parsers, document accessors and layout arithmetic that build for
# Windows and, natively on Linux, under the sanitizers and the fuzzers (native/).
# A new platform-free file is one line here.
set(OSTREVAN_PURE_SOURCES
  terrace/src/terrace/json_document.cpp
  terrace/src/terrace/string_rules.cpp
  terrace/src/terrace/text.cpp
  terrace/src/terrace/user_defaults_values.cpp
  linguo/src/linguo/key_index.cpp
  linguo/src/linguo/mo_catalogue.cpp
  src/app/design_scale.cpp
  src/app/json_text_problem.cpp
  src/dialogs/link_alert_payload.cpp
  src/host/manifest_modules.cpp
  src/host/plugin_descriptor.cpp
  src/shell/language_site.cpp
  src/update/update_list_json.cpp
  upfetch/src/upfetch/update_items.cpp
  upfetch/src/upfetch/update_list.cpp
  upfetch/src/upfetch/version.cpp
  view/src/view/internal/check_list_text.cpp
  view/src/view/internal/markup_text.cpp
)
set(OSTREVAN_PURE_INCLUDES
  src src/contracts terrace/src linguo/src view/src upfetch/src tests/support)
list(TRANSFORM OSTREVAN_PURE_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/../")
list(TRANSFORM OSTREVAN_PURE_INCLUDES PREPEND "${CMAKE_CURRENT_LIST_DIR}/../")
