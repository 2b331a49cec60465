// What every shipped module needs of the bus: sending a command as itself, the platform
// services it asks for most, and text conversions. Only the module ABI and RapidJSON are
// used, as any module author would.
#pragma once

#include <string>

#include "host/module_api.h"

class ModuleLink {
 public:
  void Attach(ModuleChannel* channel) { channel_ = channel; }
  ModuleChannel* channel() const { return channel_; }
  TERModuleId id() const { return channel_ ? channel_->id : nullptr; }

  // Fills `sender` and sends; false when the module is not registered yet.
  bool Send(TERObserveData1* record) const;
  // A command with no arguments and no answer.
  void SendName(const char* name) const;

  std::wstring DocumentsProductFolder() const;  // ends with "\"; empty when nobody answers
  float DpiScale() const;                       // 1.0 when nobody answers
  // The current language as the host's placeholder substitution names it ("de/", "" for
  // English); modules map it to their own catalogue.
  std::string LanguageSubDirectory() const;
  // Alert dialog (queued to the main thread by the host; safe from any thread).
  void Alert(const std::wstring& message, int width = 420) const;
  // Sheet tip; with a folder, a click on its text opens that folder. Main thread only.
  void SheetTip(const std::wstring& message, const std::wstring& folder = L"") const;

 private:
  ModuleChannel* channel_ = nullptr;
};

std::string ToUtf8(const std::wstring& text);
std::wstring ToUtf16(const std::string& text);
// Replaces the first "%s" of `format` with `argument`.
std::wstring FormatText(const std::wstring& format, const std::wstring& argument);
