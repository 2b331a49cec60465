#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ter_user_defaults.h"
#include "ter_utility.h"
#include "test_support.h"

using terrace_test::ReadRaw;
using terrace_test::Str;
using terrace_test::TempFolder;
using terrace_test::Text;
using terrace_test::WriteRaw;

namespace {

const char kSettings[] = R"({
  "zeta": "last letter first",
  "name": "Gr\u00fc\u00dfe \u65e5\u672c",
  "count": 42,
  "negative": -7,
  "big": 9007199254740993,
  "ratio": 1.5,
  "whole": 3.0,
  "flag": true,
  "nothing": null,
  "accent": [255, 128, 0],
  "short_color": [1, 2],
  "text_color": [1, "2", 3],
  "window": {"width": 800, "height": 600, "title": "Main"},
  "recent": ["a.mp4", "b.mp4", {"c": 1}],
  "alpha": "really last"
})";

std::vector<std::string> MemberNames(ITerUserDefaults* defaults, const TerJsonValue* object) {
  std::vector<std::string> names;
  for (const TerJsonValue* member = defaults->FirstMember(object);
       member != defaults->MemberEnd(object); member = defaults->NextMember(member)) {
    names.push_back(defaults->MemberName(member));
  }
  return names;
}

class UserDefaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteRaw(temp_.Wide(L"settings.json"), kSettings);
    ASSERT_TRUE(InitUserDefaults("test", temp_.Wide(L"settings.json").c_str()));
    defaults_ = GetUserDefaults("test");
    ASSERT_NE(defaults_, nullptr);
  }

  TempFolder temp_;
  ITerUserDefaults* defaults_ = nullptr;
};

TEST_F(UserDefaultsTest, ReadsScalarsByTypeWithFallbacks) {
  EXPECT_EQ(Str(Text(defaults_->GetString("name", nullptr))),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(defaults_->GetString("count", nullptr), nullptr) << "not a string";
  EXPECT_EQ(defaults_->GetString("missing", nullptr), nullptr);
  EXPECT_EQ(defaults_->GetString(nullptr, nullptr), nullptr);

  EXPECT_EQ(defaults_->GetInt("count", nullptr, -1), 42);
  EXPECT_EQ(defaults_->GetInt("negative", nullptr, 0), -7);
  EXPECT_EQ(defaults_->GetInt("big", nullptr, 0), 9007199254740993LL);
  EXPECT_EQ(defaults_->GetInt("ratio", nullptr, -1), -1);
  EXPECT_EQ(defaults_->GetInt("name", nullptr, -1), -1);
  EXPECT_EQ(defaults_->GetInt("missing", nullptr, 99), 99);
  EXPECT_TRUE(defaults_->IsInt("count", nullptr));
  EXPECT_FALSE(defaults_->IsInt("ratio", nullptr));
  EXPECT_FALSE(defaults_->IsInt("missing", nullptr));

  EXPECT_TRUE(defaults_->HasKey("nothing", nullptr));
  EXPECT_FALSE(defaults_->HasKey("width", nullptr)) << "only direct members";
}

TEST_F(UserDefaultsTest, ColoursAreThreeIntegers) {
  const TerColor fallback{1, 1, 1};
  const TerColor accent = defaults_->GetColor("accent", nullptr, fallback);
  EXPECT_EQ(accent.red, 255);
  EXPECT_EQ(accent.green, 128);
  EXPECT_EQ(accent.blue, 0);
  for (const char* key : {"short_color", "text_color", "count", "missing"}) {
    const TerColor color = defaults_->GetColor(key, nullptr, fallback);
    EXPECT_EQ(color.red + color.green + color.blue, 3) << key;
  }
}

TEST_F(UserDefaultsTest, ChildrenArraysAndMembersInDocumentOrder) {
  EXPECT_EQ(MemberNames(defaults_, defaults_->GetRoot()),
            (std::vector<std::string>{"zeta", "name", "count", "negative", "big", "ratio", "whole",
                                      "flag", "nothing", "accent", "short_color", "text_color",
                                      "window", "recent", "alpha"}));
  const TerJsonValue* window = defaults_->GetChild("window", nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(MemberNames(defaults_, window), (std::vector<std::string>{"width", "height", "title"}));
  EXPECT_EQ(defaults_->GetInt("height", window, 0), 600);
  EXPECT_EQ(Str(Text(defaults_->GetString("title", window))), "Main");

  const TerJsonValue* recent = defaults_->GetChild("recent", nullptr);
  ASSERT_EQ(defaults_->ArraySize(recent), 3u);
  EXPECT_EQ(Str(Text(defaults_->ValueText(defaults_->ArrayElement(recent, 1)))), "b.mp4");
  const TerJsonValue* nested = defaults_->ArrayElement(recent, 2);
  EXPECT_EQ(defaults_->GetInt("c", nested, 0), 1);
  EXPECT_EQ(defaults_->ArrayElement(recent, 3), nullptr);
  EXPECT_EQ(defaults_->ArraySize(window), 0u);
  EXPECT_EQ(defaults_->ArraySize(nullptr), 0u);

  // Not an object: no members, and the loop ends at once.
  EXPECT_TRUE(MemberNames(defaults_, recent).empty());
  EXPECT_EQ(defaults_->GetChild("missing", nullptr), nullptr);
}

TEST_F(UserDefaultsTest, ValueTextAndJson) {
  auto text = [&](const char* key) {
    return Str(Text(defaults_->ValueText(defaults_->GetChild(key, nullptr))));
  };
  EXPECT_EQ(text("zeta"), "last letter first");
  EXPECT_EQ(text("count"), "42");
  EXPECT_EQ(text("negative"), "-7");
  EXPECT_EQ(text("big"), "9007199254740993");
  EXPECT_EQ(text("ratio"), "1.5");
  EXPECT_EQ(text("whole"), "3");
  EXPECT_EQ(text("flag"), "<null>");
  EXPECT_EQ(text("nothing"), "<null>");
  EXPECT_EQ(text("window"), "<null>");
  EXPECT_EQ(defaults_->ValueText(nullptr), nullptr);

  EXPECT_EQ(Str(Text(defaults_->ValueJson(defaults_->GetChild("window", nullptr)))),
            R"({"width":800,"height":600,"title":"Main"})");
  EXPECT_EQ(Str(Text(defaults_->ValueJson(defaults_->GetChild("recent", nullptr)))),
            R"(["a.mp4","b.mp4",{"c":1}])");
  EXPECT_EQ(Str(Text(defaults_->ValueJson(defaults_->GetChild("flag", nullptr)))), "true");
}

TEST_F(UserDefaultsTest, SetSaveAndReloadRoundTrip) {
  defaults_->SetString("zeta", "changed in place");
  defaults_->SetString("added", "\xE6\x97\xA5\xE6\x9C\xAC \"quoted\"\n");
  defaults_->SetInt("count", 43);
  defaults_->SetInt("huge", INT64_MIN);
  defaults_->SetString("bad", "\xC3\x28");  // not UTF-8: refused
  EXPECT_FALSE(defaults_->HasKey("bad", nullptr));
  ASSERT_TRUE(defaults_->Save());
  EXPECT_EQ(temp_.Entries(), std::vector<std::wstring>{L"settings.json"});

  ITerUserDefaults* old = defaults_;
  ASSERT_TRUE(InitUserDefaults("test", temp_.Wide(L"settings.json").c_str()));
  ITerUserDefaults* reloaded = GetUserDefaults("test");
  ASSERT_NE(reloaded, nullptr);
  EXPECT_NE(reloaded, old);
  EXPECT_EQ(Str(Text(reloaded->GetString("zeta", nullptr))), "changed in place");
  EXPECT_EQ(Str(Text(reloaded->GetString("added", nullptr))),
            "\xE6\x97\xA5\xE6\x9C\xAC \"quoted\"\n");
  EXPECT_EQ(reloaded->GetInt("count", nullptr, 0), 43);
  EXPECT_EQ(reloaded->GetInt("huge", nullptr, 0), INT64_MIN);
  EXPECT_EQ(reloaded->GetColor("accent", nullptr, TerColor{}).green, 128);
  std::vector<std::string> names = MemberNames(reloaded, reloaded->GetRoot());
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names.front(), "zeta") << "a replaced value keeps its place";
  EXPECT_EQ(names[names.size() - 2], "added");
  EXPECT_EQ(names.back(), "huge");

  // The replaced document stays usable for whoever still holds it.
  EXPECT_EQ(old->GetInt("count", nullptr, 0), 43);
}

// The keys exist beforehand, so setters replace values in place and never move the root's
// members under a reader (which the contract leaves to the caller).
TEST_F(UserDefaultsTest, SafeFromManyThreads) {
  for (int t = 0; t < 4; ++t) defaults_->SetInt(("thread" + std::to_string(t)).c_str(), -1);
  defaults_->SetString("shared", "thread0");
  const TerJsonValue* window = defaults_->GetChild("window", nullptr);
  const size_t member_count = MemberNames(defaults_, defaults_->GetRoot()).size();
  std::vector<std::thread> threads;
  std::atomic<int> bad_reads{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      const std::string key = "thread" + std::to_string(t);
      for (int i = 0; i < 300; ++i) {
        defaults_->SetInt(key.c_str(), i);
        defaults_->SetString("shared", key.c_str());
        const std::string shared = Str(Text(defaults_->GetString("shared", nullptr)));
        if (shared.compare(0, 6, "thread") != 0) ++bad_reads;
        if (MemberNames(defaults_, defaults_->GetRoot()).size() != member_count) ++bad_reads;
        if (Str(Text(defaults_->ValueJson(window))).find("800") == std::string::npos) ++bad_reads;
        if (i % 100 == 0 && !defaults_->Save()) ++bad_reads;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(bad_reads, 0);
  for (int t = 0; t < 4; ++t) {
    EXPECT_EQ(defaults_->GetInt(("thread" + std::to_string(t)).c_str(), nullptr, 0), 299);
  }
  ASSERT_TRUE(defaults_->Save());
  ASSERT_TRUE(InitUserDefaults("threads", temp_.Wide(L"settings.json").c_str()));
  EXPECT_EQ(GetUserDefaults("threads")->GetInt("thread3", nullptr, 0), 299);
  EXPECT_EQ(temp_.Entries(), std::vector<std::wstring>{L"settings.json"});
}

TEST(StandardUserDefaults, ExistEvenWithoutAFileAndCanBeSaved) {
  TempFolder temp;
  const std::wstring path = temp.Wide(L"standard.json");
  EXPECT_FALSE(InitStandardUserDefaults(path.c_str()));
  ITerUserDefaults* standard = StandardUserDefaults();
  ASSERT_NE(standard, nullptr);
  EXPECT_EQ(standard->FirstMember(standard->GetRoot()), standard->MemberEnd(standard->GetRoot()));
  standard->SetInt("launches", 1);
  ASSERT_TRUE(standard->Save());
  EXPECT_EQ(ReadRaw(path).back(), '\n');

  EXPECT_TRUE(InitStandardUserDefaults(path.c_str()));
  EXPECT_EQ(StandardUserDefaults()->GetInt("launches", nullptr, 0), 1);
}

}  // namespace
