#include "app/system_info.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

namespace {

TEST(SystemInfo, LineHasTheMembersInOrderWithoutBlanks) {
  const std::string line = FormatSystemInfoLine(
      {"Pellavorne Screen Recorder", "1.1.64", "10.0 Build 19045 Service Pack 0.0",
       4294967296LL, 8589934592LL});
  EXPECT_EQ(line,
            "{\"Product\":\"Pellavorne Screen Recorder\",\"Version\":\"1.1.64\","
            "\"System\":\"10.0 Build 19045 Service Pack 0.0\",\"FreeMemSize\":4294967296,"
            "\"TotalMemSize\":8589934592}");
}

TEST(SystemInfo, VersionTextSpellsEveryField) {
  EXPECT_EQ(FormatSystemVersion(10, 0, 19045, 0, 0), L"10.0 Build 19045 Service Pack 0.0");
  EXPECT_EQ(FormatSystemVersion(6, 1, 7601, 1, 0), L"6.1 Build 7601 Service Pack 1.0");
}

TEST(SystemInfo, LiveLineDescribesThisMachine) {
  const std::string line = SystemInfoLine();
  rapidjson::Document document;
  document.Parse(line.c_str());
  ASSERT_FALSE(document.HasParseError());
  ASSERT_TRUE(document.IsObject());
  auto member = document.MemberBegin();
  EXPECT_STREQ((member++)->name.GetString(), "Product");
  EXPECT_STREQ((member++)->name.GetString(), "Version");
  EXPECT_STREQ((member++)->name.GetString(), "System");
  EXPECT_STREQ((member++)->name.GetString(), "FreeMemSize");
  EXPECT_STREQ((member++)->name.GetString(), "TotalMemSize");
  EXPECT_EQ(member, document.MemberEnd());
  EXPECT_STREQ(document["Product"].GetString(), "Pellavorne Screen Recorder");
  EXPECT_NE(std::string(document["System"].GetString()).find(" Build "), std::string::npos);
  EXPECT_TRUE(document["TotalMemSize"].IsInt64());
  EXPECT_GT(document["TotalMemSize"].GetInt64(), 0);
  EXPECT_EQ(line.find(": "), std::string::npos);
  EXPECT_EQ(line.find('\n'), std::string::npos);
}

}  // namespace
