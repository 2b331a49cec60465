// The platform commands that run the about and settings dialogs and drive the sheet tip.
#pragma once

#include <string>

#include "host/module_api.h"

void OpenAboutCommand(TERObserveData1* record);
void OpenSettingCommand(TERObserveData1* record);
void ShowSheetTipCommand(TERObserveData1* record);

// The notice after a language change, within the 512 characters its buffer holds.
std::wstring LanguageChangeTip(const std::wstring& format, const std::wstring& product_name);
// Makes `language` current, saves it and tells the user it applies at the next start.
void ApplyLanguageChange(int language);
