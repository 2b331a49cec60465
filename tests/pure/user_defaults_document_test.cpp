// A user-defaults document made from text: what loads, how values read, and that what is
// written back loads again as the same document.
#include "terrace/user_defaults.h"

#include <gtest/gtest.h>

#include <string>

#include "common/defaults_text.h"

namespace {

std::unique_ptr<terrace::UserDefaults> Load(const std::string& text, bool* loaded) {
  return terrace::UserDefaults::FromText(L"test.json", text.data(), text.size(), loaded);
}

std::string Compact(ITerUserDefaults* defaults) {
  return TakeDefaultsText(defaults->ValueJson(defaults->GetRoot()));
}

TEST(UserDefaultsDocument, OnlyOneSoundObjectLoads) {
  const std::string deepest = std::string(255, '[') + std::string(255, ']');
  const struct {
    std::string text;
    bool loads;
    const char* compact;
  } cases[] = {
      {R"({"a": [1, -2, 2.5, "x", null, true]})", true, R"({"a":[1,-2,2.5,"x",null,true]})"},
      {"\xEF\xBB\xBF{}", true, "{}"},
      {"{\"k\": " + deepest + "}", true, nullptr},
      {"{\"k\": [" + deepest + "]}", false, "{}"},  // one level too deep
      {"[1]", false, "{}"},
      {"", false, "{}"},
      {"{\"a\": 1", false, "{}"},
      {std::string("{}\0junk", 7), false, "{}"},
      {"{\"a\": \"\xC0\xAF\"}", false, "{}"},  // overlong encoding
      {"{\"a\": \"\xED\xA0\x80\"}", false, "{}"},  // encoded surrogate
      {"{\"a\": 1e400}", false, "{}"},
      {"{\"a\": 1.8e308}", false, "{}"},  // the reader made it infinite, never to be saved
      {"{\"a\": -1.7976931348623158e308}", true, "{\"a\":-1.7976931348623157e308}"},
      // Read to the nearest double: a quicker reading was a unit off in the last place, and
      // the number then changed at every save.
      {R"({"g":34567892.2345123456780})", true, R"({"g":34567892.234512347})"},
      {R"({"z":[0e244,-0.000e300,0.0e-400,1e-400,4.9e-324]})", true,
       R"({"z":[0.0,-0.0,0.0,0.0,5e-324]})"},
      {R"({"a":[54623153e308,1]})", false, "{}"},  // too big, however written
      // Long and tiny: zero (the reader's own exact conversion reads past its tables here).
      {"{\"a\":30496.517558552391e-341}", true, "{\"a\":0.0}"},
  };
  for (const auto& c : cases) {
    bool loaded = true;
    auto defaults = Load(c.text, &loaded);
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(loaded, c.loads) << c.text;
    const std::string compact = Compact(defaults.get());
    if (c.compact) {
      EXPECT_EQ(compact, c.compact) << c.text;
    }
    bool again = false;
    EXPECT_EQ(Compact(Load(compact, &again).get()), compact) << c.text;
    EXPECT_TRUE(again) << c.text;
  }
}

TEST(UserDefaultsDocument, ValuesReadAsTheirTypeOrTheFallback) {
  bool loaded = false;
  auto d = Load(R"({"s": "text", "i": 42, "big": 9007199254740993, "f": 2.0, "h": 0.1,
                    "c": [255, 256, -1], "c2": [1, 2], "o": {"s": "inner"}, "n": null})",
                &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(TakeDefaultsText(d->GetString("s", nullptr)), "text");
  EXPECT_EQ(d->GetString("i", nullptr), nullptr);
  EXPECT_EQ(d->GetInt("i", nullptr, -1), 42);
  EXPECT_EQ(d->GetInt("big", nullptr, -1), 9007199254740993);
  EXPECT_EQ(d->GetInt("f", nullptr, -1), -1) << "a double is no integer";
  EXPECT_FALSE(d->IsInt("s", nullptr));
  const TerColor color = d->GetColor("c", nullptr, TerColor{1, 2, 3});
  EXPECT_EQ(color.red, 255);
  EXPECT_EQ(color.green, 256);
  EXPECT_EQ(color.blue, -1);
  EXPECT_EQ(d->GetColor("c2", nullptr, TerColor{1, 2, 3}).blue, 3);
  const TerJsonValue* inner = d->GetChild("o", nullptr);
  EXPECT_EQ(TakeDefaultsText(d->GetString("s", inner)), "inner");
  EXPECT_EQ(d->GetChild("s", d->GetChild("s", nullptr)), nullptr) << "a text has no members";
  EXPECT_EQ(TakeDefaultsText(d->ValueText(d->GetChild("f", nullptr))), "2");
  EXPECT_EQ(TakeDefaultsText(d->ValueText(d->GetChild("h", nullptr))), "0.1");
  EXPECT_EQ(d->ValueText(d->GetChild("n", nullptr)), nullptr);
  EXPECT_EQ(d->ArraySize(inner), 0u);
  EXPECT_EQ(d->ArrayElement(d->GetChild("c", nullptr), 3), nullptr);
  EXPECT_EQ(d->FirstMember(d->GetChild("c", nullptr)), d->MemberEnd(d->GetChild("c", nullptr)));
}

TEST(UserDefaultsDocument, SettersRefuseTextThatWouldSpoilTheFile) {
  bool loaded = false;
  auto d = Load("{}", &loaded);
  d->SetString("name", "caf\xC3\xA9");
  d->SetString("bad", "\xFF");
  d->SetString("\xC3", "value");
  d->SetInt("count", -7);
  d->SetInt("name", 3);  // replaces the text
  EXPECT_EQ(Compact(d.get()), R"({"name":3,"count":-7})");
}

}  // namespace
