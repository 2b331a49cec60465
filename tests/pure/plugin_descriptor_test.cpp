#include "host/plugin_descriptor.h"

#include "common/contained_path.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Dotted numbers, enough for ordering tests without the service library.
int CompareDotted(const char* left, const char* right) {
  while (*left || *right) {
    const long a = std::strtol(left, const_cast<char**>(&left), 10);
    const long b = std::strtol(right, const_cast<char**>(&right), 10);
    if (a != b) return a < b ? -1 : 1;
    if (*left == '.') ++left;
    if (*right == '.') ++right;
  }
  return 0;
}

TEST(VersionCandidates, FirstIsHighestRestInArrivalRule) {
  EXPECT_EQ(OrderVersionCandidates({"1.0.0", "3.0.0", "2.0.0"}, &CompareDotted),
            (std::vector<std::string>{"3.0.0", "1.0.0", "2.0.0"}));
  EXPECT_EQ(OrderVersionCandidates({"2.0.0", "1.0.0", "10.0.0"}, &CompareDotted),
            (std::vector<std::string>{"10.0.0", "2.0.0", "1.0.0"}));
  EXPECT_EQ(OrderVersionCandidates({"1.0", "1.0.0"}, &CompareDotted),
            (std::vector<std::string>{"1.0.0", "1.0"}));
  EXPECT_TRUE(OrderVersionCandidates({}, &CompareDotted).empty());
}

TEST(PluginDescriptor, ReadsEveryMember) {
  PluginDescriptor descriptor;
  std::string error;
  ASSERT_TRUE(ParsePluginDescriptor(
      R"({"path": "sub/rec.dll", "x64": "x64", "win32": "x86", "type": 7, "version": "2.1",
          "id": "recorder", "width": 800, "height": 600, "command-create": "REC_CREATE",
          "command-recv": ["A", 5, "A", null, "B"], "command-send": ["S"],
          "require": ["core"], "optional": ["extra", 1]})",
      true, &descriptor, &error))
      << error;
  EXPECT_EQ(descriptor.path, "sub/rec.dll");
  EXPECT_EQ(descriptor.platform_dir, "x64");
  EXPECT_EQ(descriptor.type, 7u);
  EXPECT_EQ(descriptor.version, "2.1");
  EXPECT_EQ(descriptor.id, "recorder");
  EXPECT_EQ(descriptor.width, 800);
  EXPECT_EQ(descriptor.height, 600);
  EXPECT_EQ(descriptor.creation_command, "REC_CREATE");
  EXPECT_EQ(descriptor.received, (std::vector<std::string>{"A", "A", "B"}));
  EXPECT_EQ(descriptor.sent, (std::vector<std::string>{"S"}));
  EXPECT_EQ(descriptor.required, (std::vector<std::string>{"core"}));
  EXPECT_EQ(descriptor.optional, (std::vector<std::string>{"extra"}));

  ASSERT_TRUE(ParsePluginDescriptor(
      R"({"path": "r.dll", "x64": "a", "win32": "b", "type": 1, "version": "1", "id": "i"})",
      false, &descriptor, &error));
  EXPECT_EQ(descriptor.platform_dir, "b");
  EXPECT_EQ(descriptor.width, 0);
  EXPECT_TRUE(descriptor.creation_command.empty());
}

// Numbers of any size or sign are read without undefined conversions (found by fuzzing: a
// "type" of -1 converted a negative double to an unsigned integer).
TEST(PluginDescriptor, NumbersOutOfRangeAreHeldOrWrappedNotUndefined) {
  const struct {
    const char* numbers;
    uint32_t type;
    int32_t width, height;
  } cases[] = {
      {R"("type": -1, "width": -5, "height": 2.9)", 4294967295u, -5, 2},
      {R"("type": 4294967296, "width": 3000000000, "height": -3000000000)", 0u, INT32_MAX,
       INT32_MIN},
      {R"("type": 1e300, "width": 1e300, "height": -1e300)", 4294967295u, INT32_MAX, INT32_MIN},
      {R"("type": 18446744073709551615, "width": 7.5, "height": -0.5)", 4294967295u, 7, 0},
  };
  for (const auto& c : cases) {
    PluginDescriptor descriptor;
    std::string error;
    ASSERT_TRUE(ParsePluginDescriptor(
        std::string(R"({"path": "r.dll", "x64": "a", "version": "1", "id": "i", )") + c.numbers +
            "}",
        true, &descriptor, &error))
        << error;
    EXPECT_EQ(descriptor.type, c.type) << c.numbers;
    EXPECT_EQ(descriptor.width, c.width) << c.numbers;
    EXPECT_EQ(descriptor.height, c.height) << c.numbers;
  }
}

TEST(PluginDescriptor, RefusesIncompleteOrUnsafeDescriptors) {
  const char* refused[] = {
      "",
      "   ",
      "[1, 2]",
      R"({"path": "r.dll", "x64": "x64", "type": 1, "version": "1")",
      R"({"x64": "x64", "type": 1, "version": "1", "id": "i"})",
      R"({"path": "r.dll", "type": 1, "version": "1", "id": "i"})",
      R"({"path": "r.dll", "x64": "x64", "type": 1, "id": "i"})",
      R"({"path": "r.dll", "x64": "x64", "type": 1, "version": "1"})",
      R"({"path": "r.dll", "x64": "x64", "type": "1", "version": "1", "id": "i"})",
      R"({"path": "r.dll", "x64": "x64", "version": "1", "id": "i"})",
      R"({"path": 5, "x64": "x64", "type": 1, "version": "1", "id": "i"})",
      R"({"path": "C:\\evil.dll", "x64": "x64", "type": 1, "version": "1", "id": "i"})",
      R"({"path": "\\\\server\\share\\evil.dll", "x64": "x64", "type": 1, "version": "1", "id": "i"})",
      R"({"path": "/evil.dll", "x64": "x64", "type": 1, "version": "1", "id": "i"})",
      R"({"path": "../../evil.dll", "x64": "x64", "type": 1, "version": "1", "id": "i"})",
      R"({"path": "sub/../../evil.dll", "x64": "x64", "type": 1, "version": "1", "id": "i"})",
      R"({"path": "r.dll", "x64": "..", "type": 1, "version": "1", "id": "i"})",
      "{\"path\": \"r\xff.dll\", \"x64\": \"x64\", \"type\": 1, \"version\": \"1\", \"id\": \"i\"}",
  };
  for (const char* text : refused) {
    PluginDescriptor descriptor;
    std::string error;
    EXPECT_FALSE(ParsePluginDescriptor(text, true, &descriptor, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(PluginDescriptor, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  std::string deep = "{\"path\": ";
  deep += std::string(200000, '[');
  deep += std::string(200000, ']');
  deep += "}";
  PluginDescriptor descriptor;
  std::string error;
  EXPECT_FALSE(ParsePluginDescriptor(deep, true, &descriptor, &error));
  EXPECT_NE(error.find("nesting"), std::string::npos) << error;
}

TEST(PluginDescriptor, SyntaxErrorCarriesTheParserMessage) {
  PluginDescriptor descriptor;
  std::string error;
  EXPECT_FALSE(ParsePluginDescriptor("{\"path\": \"a.dll\",, }", true, &descriptor, &error));
  EXPECT_NE(error.find("offset"), std::string::npos) << error;
  EXPECT_NE(error.find("name"), std::string::npos) << error;  // "Missing a name for object member."
}

// Module names, picture keys and documents sub-folders pass the same check as "path".
TEST(ContainedPath, OnlyNamesThatStayInTheirFolderPass) {
  const struct {
    const char* path;
    bool contained;
  } cases[] = {
      {"a.dll", true},         {"sub/a.dll", true},     {"sub\\deeper\\a.dll", true},
      {"..a.dll", true},       {"a..b", true},          {"dialog\\x.png", true},
      {"console.png", true},   {"COM0", true},          {"nul1.png", true},
      {"", false},             {"C:a.dll", false},      {"a.png:stream", false},
      {"..\\a.dll", false},    {"sub\\..", false},      {"..", false},
      {"sub/../../x", false},  {"\\\\server\\x", false}, {"/x", false},
      {"\\x", false},          {"... ", false},         {". .\\x", false},
      {"x\\...\\y", false},    {"NUL", false},          {"con.png", false},
      {"dialog\\Aux .txt", false}, {"COM7.png", false}, {"lpt1", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsContainedRelativePath(std::string(c.path)), c.contained) << c.path;
    const std::string narrow = c.path;
    EXPECT_EQ(IsContainedRelativePath(std::wstring(narrow.begin(), narrow.end())), c.contained)
        << c.path;
  }
}

}  // namespace
