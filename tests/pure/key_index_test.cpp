// The catalogue's key table: every key found with its own text, every near miss refused,
// whatever the keys' lengths and however full the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "linguo/key_index.h"

namespace linguo_test {
namespace {

// Keys of every length around the hash's 8-byte steps, and keys that are prefixes of one
// another or differ only in their last unit.
std::vector<std::wstring> ManyKeys() {
  std::vector<std::wstring> keys;
  for (int i = 0; i < 3000; ++i) {
    std::wstring key = L"key-" + std::to_wstring(i);
    keys.push_back(key.substr(0, 1 + i % key.size()) + std::wstring(i % 11, L'x'));
  }
  for (int length = 1; length <= 40; ++length) keys.push_back(std::wstring(length, L'a'));
  keys.push_back(L"ab\x4E2D\xD83D\xDE00");
  return keys;
}

TEST(KeyIndex, FindsEveryKeyAndNothingElse) {
  std::vector<std::wstring> keys = ManyKeys();
  std::vector<std::wstring> texts;
  for (std::size_t i = 0; i < keys.size(); ++i) texts.push_back(L"text " + std::to_wstring(i));

  linguo::KeyIndex index(keys.size());
  std::vector<const wchar_t*> expected(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    // Repeats in the list keep the first text, as the catalogue promises.
    if (!index.Insert(keys[i], texts[i].c_str())) {
      expected[i] = index.Find(keys[i]);
      ASSERT_NE(expected[i], nullptr) << "a refused key must already be there";
    } else {
      expected[i] = texts[i].c_str();
    }
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(index.Find(keys[i]), expected[i]) << i;
    EXPECT_EQ(index.Find(keys[i].c_str()), expected[i]) << "read to its NUL: " << i;
    // Neighbours that share all but the end: one unit more, one less, the last one changed.
    const std::wstring longer = keys[i] + L"a", shorter = keys[i].substr(0, keys[i].size() - 1);
    std::wstring changed = keys[i];
    changed.back() = wchar_t(changed.back() + 1);
    for (const std::wstring& near : {longer, shorter, changed}) {
      const wchar_t* found = index.Find(near);
      EXPECT_EQ(index.Find(near.c_str()), found);
      const auto known = std::find(keys.begin(), keys.end(), near);
      if (known == keys.end()) {
        EXPECT_EQ(found, nullptr) << "found a stranger";
      } else {
        EXPECT_EQ(found, expected[known - keys.begin()]);
      }
    }
  }
  EXPECT_EQ(index.Find(L""), nullptr);
  EXPECT_EQ(index.Find(std::wstring_view(L"\0a", 2)), nullptr);
}

TEST(KeyIndex, RefusesWhatDoesNotFit) {
  linguo::KeyIndex none(0);
  EXPECT_EQ(none.Find(L"ok"), nullptr) << "an empty catalogue answers every key with a miss";

  linguo::KeyIndex two(2);
  EXPECT_TRUE(two.Insert(L"ok", L"Okay"));
  EXPECT_FALSE(two.Insert(L"ok", L"Fine")) << "a repeat keeps the first text";
  EXPECT_STREQ(two.Find(L"ok"), L"Okay");
  std::vector<std::wstring> more;
  for (int i = 0; i < 20; ++i) more.push_back(L"k" + std::to_wstring(i));
  int accepted = 0;
  for (const std::wstring& key : more) accepted += two.Insert(key, L"x") ? 1 : 0;
  // The table never fills: it takes what it was sized for, with room to spare, and refuses
  // the rest, so a miss can never probe forever.
  EXPECT_LT(accepted + 1, 8);
  EXPECT_EQ(two.Find(L"missing"), nullptr);
  EXPECT_EQ(two.size(), std::size_t(accepted + 1));
}

}  // namespace
}  // namespace linguo_test
