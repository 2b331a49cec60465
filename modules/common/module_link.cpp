#include "module_link.h"

#include <windows.h>

#include <cstdlib>

#include "rapidjson/document.h"

bool ModuleLink::Send(TERObserveData1* record) const {
  if (!channel_ || !channel_->send) return false;
  record->sender = channel_->id;
  channel_->send(record);
  return true;
}

void ModuleLink::SendName(const char* name) const {
  TERObserveData1 record = {};
  record.name = name;
  Send(&record);
}

std::wstring ModuleLink::DocumentsProductFolder() const {
  TERObserveData1 record = {};
  record.name = "LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR";
  Send(&record);
  std::wstring folder;
  if (record.wide_text) {
    folder = record.wide_text;
    std::free(record.wide_text);
  }
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

float ModuleLink::DpiScale() const {
  TERObserveData1 record = {};
  record.name = "LIBPLATFORM_COMMAND_GET_DPI_SCALE_PERCENT";
  Send(&record);
  float scale = 1.0f;
  if (record.object) {
    scale = *static_cast<float*>(record.object);
    std::free(record.object);
  }
  return scale > 0.0f ? scale : 1.0f;
}

std::string ModuleLink::LanguageSubDirectory() const {
  static char placeholder[] = "$(kLocalSubDir)";
  TERObserveData1 record = {};
  record.name = "LIBPLATFORM_COMMAND_REPLACE_I18N_SUB_DIR";
  record.text = placeholder;
  Send(&record);
  std::string answer;
  if (record.payload) {
    answer = static_cast<const char*>(record.payload);
    std::free(record.payload);
  }
  return answer;
}

void ModuleLink::Alert(const std::wstring& message, int width) const {
  std::wstring text = message;
  TERObserveData1 record = {};
  record.name = "LIBPLATFORM_COMMAND_OPEN_ALERT_MESSAGE";
  record.wide_text = &text[0];
  record.value = width;
  Send(&record);
}

void ModuleLink::SheetTip(const std::wstring& message, const std::wstring& folder) const {
  rapidjson::Document json(rapidjson::kObjectType);
  auto& allocator = json.GetAllocator();
  json.AddMember("show", 1, allocator);
  json.AddMember("message", rapidjson::Value(ToUtf8(message).c_str(), allocator), allocator);
  json.AddMember("open_folder", rapidjson::Value(ToUtf8(folder).c_str(), allocator), allocator);
  TERObserveData1 record = {};
  record.name = "LIBPLATFORM_COMMAND_SHOW_SHEET_TIP";
  record.payload = static_cast<rapidjson::Value*>(&json);
  Send(&record);
}

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size,
                        nullptr, nullptr);
  return result;
}

std::wstring ToUtf16(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(size, L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size);
  return result;
}

std::wstring FormatText(const std::wstring& format, const std::wstring& argument) {
  const size_t at = format.find(L"%s");
  if (at == std::wstring::npos) return format;
  return format.substr(0, at) + argument + format.substr(at + 2);
}
