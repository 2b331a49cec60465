// The home module: fills the main view with the title bar and the recorder's controls. The
// host asks for its window with "HOME_COMMAND_CREATE" and tells it the view's new size.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string_view>

#include "home_view.h"
#include "host/module_api.h"
#include "module_link.h"
#include "rapidjson/document.h"

namespace {

ModuleLink g_link;
HomeView g_view(&g_link);

// `text` holds {"rect":[left,top,right,bottom],...}; `window` the parent. Answers the new
// window in `window`.
void CreateView(TERObserveData1* record) {
  RECT rect = {0, 0, 0, 0};
  rapidjson::Document json;
  if (record->text && !json.Parse(record->text).HasParseError() && json.IsObject() &&
      json.HasMember("rect") && json["rect"].IsArray() && json["rect"].Size() == 4) {
    const auto& numbers = json["rect"];
    LONG* fields[4] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    for (rapidjson::SizeType i = 0; i < 4; ++i)
      if (numbers[i].IsInt()) *fields[i] = numbers[i].GetInt();
  }
  if (rect.right <= rect.left || rect.bottom <= rect.top) ::GetClientRect(record->window, &rect);
  if (HWND window = g_view.Create(record->window, rect)) record->window = window;
}

void SizeChanged(TERObserveData1* record) {
  const int* size = static_cast<const int*>(record->payload);
  if (size) g_view.Resize(size[0], size[1]);
}

using Handler = void (*)(TERObserveData1*);

const std::map<std::string_view, Handler>& Handlers() {
  static const std::map<std::string_view, Handler> table = {
      {"HOME_COMMAND_CREATE", &CreateView},
      {"LIBWINDOW_COMMAND_SIZE_CHANGE", &SizeChanged},
  };
  return table;
}

void Receive(TERObserveData1* record) {
  if (!record || !record->name) return;
  const auto found = Handlers().find(record->name);
  if (found != Handlers().end()) found->second(record);
}

}  // namespace

TER_MODULE_EXPORT int RegisterModule(ModuleChannel* channel) {
  g_link.Attach(channel);
  channel->receive = &Receive;
  return 1;
}
