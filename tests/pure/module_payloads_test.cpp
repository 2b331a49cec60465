// Texts that come from outside and only name what they hold: a module's link-alert JSON and
// the explanation of a data file the user-defaults service refused.
#include <gtest/gtest.h>

#include <string>

#include "app/json_text_problem.h"
#include "dialogs/link_alert_payload.h"

namespace {

TEST(LinkAlertPayload, MembersReadLenientlySizesClamped) {
  LinkAlertPayload payload;
  const std::string full = R"({"title": "T", "sub_title": "S", "width": 320, "height": 90,
                               "link": "See <a href=\"https://x.example/\">this</a>"})";
  ASSERT_TRUE(ParseLinkAlertPayload(full.data(), full.size(), &payload));
  EXPECT_EQ(payload.title, "T");
  EXPECT_EQ(payload.sub_title, "S");
  EXPECT_EQ(payload.link, "See <a href=\"https://x.example/\">this</a>");
  EXPECT_EQ(payload.width, 320);
  EXPECT_EQ(payload.height, 90);

  const std::string odd = R"({"title": 5, "link": ["x"], "width": -4, "height": 1e300})";
  ASSERT_TRUE(ParseLinkAlertPayload(odd.data(), odd.size(), &payload));
  EXPECT_EQ(payload.title, "");
  EXPECT_EQ(payload.link, "");
  EXPECT_EQ(payload.width, 0);
  EXPECT_EQ(payload.height, 0) << "a number that is no integer reads as 0";

  const std::string huge = R"({"width": 18446744073709551615, "height": 99999999999})";
  ASSERT_TRUE(ParseLinkAlertPayload(huge.data(), huge.size(), &payload));
  EXPECT_EQ(payload.width, 0) << "read as the signed number it wraps to";
  EXPECT_EQ(payload.height, 0x7FFF);
}

TEST(LinkAlertPayload, NoObjectNoDialog) {
  LinkAlertPayload payload;
  for (const std::string bad : {"", "[]", "\"text\"", "{\"title\": \"T\"", "{\"a\": \"\xC3\"}"})
    EXPECT_FALSE(ParseLinkAlertPayload(bad.data(), bad.size(), &payload)) << bad;
  EXPECT_FALSE(ParseLinkAlertPayload(nullptr, 0, &payload));
}

TEST(JsonTextProblem, SaysWhatIsWrongAndWhere) {
  const struct {
    std::string bytes;
    std::string problem;
  } cases[] = {
      {"", "The document is empty. (offset 0)"},
      {"{\"a\": }", "Invalid value. (offset 6)"},
      {"[1]", "is not a JSON object"},
      {"\xEF\xBB\xBF[1]", "is not a JSON object"},
      {std::string("{}\0{", 4), "holds a zero byte (offset 2)"},
      {std::string(300, '[') + std::string(300, ']'),
       "nesting deeper than 256 levels (offset 256)"},
      {"{}", "was refused by the user-defaults service"},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonTextProblem(c.bytes), c.problem) << c.bytes;
}

}  // namespace
