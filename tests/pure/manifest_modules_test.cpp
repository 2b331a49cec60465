// What the host reads from ApplicationManifest.json, and the placement and creation JSON it
// sends each module.
#include "host/manifest_modules.h"

#include <gtest/gtest.h>

#include "defaults_from_text.h"

namespace {

TEST(ModuleWindowPlacement, NumbersAreScaledAndTruncatedBeforeAdding) {
  EXPECT_EQ(ModuleWindowRect({"10", "20", "100", "50"}, {"2", "2", "-4", "-4"}, 1.5f, 700, 200),
            (std::array<int, 4>{18, 33, 144, 69}));
  EXPECT_EQ(ModuleWindowRect({"10", "20", "100", "50"}, {"2", "2", "-4", "-4"}, 1.0f, 700, 200),
            (std::array<int, 4>{12, 22, 96, 46}));
}

TEST(ModuleWindowPlacement, PlaceholdersOnlyCountInTheSizeElements) {
  const std::array<std::string, 4> zero = {"0", "0", "0", "0"};
  EXPECT_EQ(ModuleWindowRect({"0", "0", "${topViewWidth}", "${topViewHeight}"}, zero, 1.5f, 736,
                             236),
            (std::array<int, 4>{0, 0, 736, 236}));
  EXPECT_EQ(ModuleWindowRect({"${topViewWidth}", "${topViewHeight}", "${topViewHeight}",
                              "${topViewWidth}"},
                             zero, 1.0f, 736, 236),
            (std::array<int, 4>{0, 0, 236, 736}));
  EXPECT_EQ(ModuleWindowRect({"abc", "12px", "", "-7"}, {"x", "", "+3", "-2"}, 1.0f, 1, 1),
            (std::array<int, 4>{0, 12, 3, -9}));
}

TEST(ModuleWindowPlacement, HugeNumbersAreClampedNotWrapped) {
  constexpr int kMax = kPlacementLimit;
  EXPECT_EQ(ModuleWindowRect({"2147483647", "-2147483648", "99999999999999999999", "4294967296"},
                             {"2147483647", "-5", "1", "0"}, 1.5f, 1, 1),
            (std::array<int, 4>{kMax, -kMax, kMax, kMax}));
  EXPECT_EQ(ModuleWindowRect({"999999", "-999999", "${topViewWidth}", "1000000"},
                             {"999999", "-999999", "-2000000", "5"}, 1.0f, 736, 236),
            (std::array<int, 4>{kMax, -kMax, 736 - kMax, kMax}));
  EXPECT_EQ(ModuleWindowRect({" +12", "\t-7", "3", "4"}, {"0", "0", "0", "0"}, 1.0f, 1, 1),
            (std::array<int, 4>{12, -7, 3, 4}))
      << "blanks and signs read as before";
}

TEST(ModuleCreationJson, CompactWithOnlyWhatIsGiven) {
  const std::array<int, 4> rect = {0, 0, 736, 236};
  const std::string extra = R"({"tab": "home", "list": [1, 2.5, null, "x"]})";
  EXPECT_EQ(ModuleCreationJson(nullptr, nullptr), "{}");
  EXPECT_EQ(ModuleCreationJson(&rect, nullptr), "{\"rect\":[0,0,736,236]}");
  EXPECT_EQ(ModuleCreationJson(&rect, &extra),
            "{\"rect\":[0,0,736,236],\"extra\":{\"tab\":\"home\",\"list\":[1,2.5,null,\"x\"]}}");
  const std::string number = "7";
  EXPECT_EQ(ModuleCreationJson(nullptr, &number), "{\"extra\":7}");
  const std::string broken = "{\"a\":";
  EXPECT_EQ(ModuleCreationJson(nullptr, &broken), "{}");
}

TEST(ManifestModules, EntriesAreReadInOrderWithWhatEachGives) {
  const auto manifest = DefaultsFromText(R"({"manifest": {"windows::version": 1, "application":
    {"modules": [
      {"windows:name": "Recorder", "windows:parentHwnd": "${topViewHwnd}", "window:hwnd": "rec",
       "windows:parameters": {"windows:rect": {"rect": ["0", 0, "${topViewWidth}"],
                                               "offset": ["1", "2", "3", "4", "5"]},
                              "windows:extra": {"tab": [1, "x"]}}},
      {"windows:parentHwnd": "main", "window:hwnd": 7, "windows:parameters": {"windows:extra": null}},
      "not an object",
      {"windows:name": "Plain", "windows:parameters": {"windows:rect": 5}}]}}})");
  std::vector<ManifestModule> modules;
  std::string problem;
  ASSERT_TRUE(ReadManifestModules(manifest.get(), &modules, &problem));
  ASSERT_EQ(modules.size(), 4u);

  EXPECT_EQ(modules[0].name, "Recorder");
  EXPECT_TRUE(modules[0].under_view);
  EXPECT_TRUE(modules[0].has_rect);
  EXPECT_EQ(modules[0].rect, (std::array<std::string, 4>{"0", "0", "${topViewWidth}", ""}))
      << "numbers read as their text, missing elements as empty text";
  EXPECT_EQ(modules[0].offset, (std::array<std::string, 4>{"1", "2", "3", "4"}));
  EXPECT_TRUE(modules[0].has_extra);
  EXPECT_EQ(modules[0].extra_json, R"({"tab":[1,"x"]})");
  EXPECT_TRUE(modules[0].has_window_name);
  EXPECT_EQ(modules[0].window_name, "rec");

  EXPECT_EQ(modules[1].name, "") << "an entry without a name is kept for the caller to skip";
  EXPECT_FALSE(modules[1].under_view);
  EXPECT_TRUE(modules[1].has_extra);
  EXPECT_EQ(modules[1].extra_json, "null");
  EXPECT_TRUE(modules[1].has_window_name);
  EXPECT_EQ(modules[1].window_name, "") << "a name that is not text records under \"\"";

  EXPECT_EQ(modules[2].name, "");
  EXPECT_FALSE(modules[2].has_rect || modules[2].has_extra || modules[2].has_window_name);

  EXPECT_TRUE(modules[3].has_rect) << "a placement of the wrong type still places, at 0";
  EXPECT_EQ(modules[3].rect, (std::array<std::string, 4>{}));
}

TEST(ManifestModules, OnlyFormatVersionOneIsUsable) {
  const struct {
    const char* json;
    bool usable;
    const char* problem;
  } cases[] = {
      {R"({"manifest": {"windows::version": 1}})", true, ""},
      {R"({"manifest": {"windows::version": 1, "application": {"modules": {}}}})", true, ""},
      {R"({"manifest": {"windows::version": "1"}})", false,
       "\"windows::version\" is not the integer 1"},
      {R"({"manifest": {"windows::version": 1.0}})", false,
       "\"windows::version\" is not the integer 1"},
      {R"({"manifest": {"windows::version": 2}})", false,
       "\"windows::version\" is not the integer 1"},
      {R"({"manifest": []})", false, "\"windows::version\" is not the integer 1"},
      {R"({})", false, "no \"manifest\" object"},
  };
  for (const auto& c : cases) {
    const auto manifest = DefaultsFromText(c.json);
    std::vector<ManifestModule> modules;
    std::string problem;
    EXPECT_EQ(ReadManifestModules(manifest.get(), &modules, &problem), c.usable) << c.json;
    EXPECT_EQ(problem, c.problem) << c.json;
    EXPECT_TRUE(modules.empty()) << c.json;
  }
  std::vector<ManifestModule> modules;
  std::string problem;
  EXPECT_FALSE(ReadManifestModules(nullptr, &modules, &problem));
  EXPECT_EQ(problem, "") << "a missing file was reported when it was loaded";
}

}  // namespace
