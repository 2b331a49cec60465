// User defaults made from text in memory, as the loaders make them from files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "terrace/user_defaults.h"

inline std::unique_ptr<terrace::UserDefaults> DefaultsFromText(const std::string& json) {
  bool loaded = false;
  auto defaults = terrace::UserDefaults::FromText(L"test.json", json.data(), json.size(), &loaded);
  EXPECT_TRUE(loaded) << json;
  return defaults;
}
