#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ter_user_defaults.h"
#include "test_support.h"

namespace {

using Names = std::vector<std::string>;

const char kSettings[] = R"({
  "zeta": "first member",
  "name": "Gr\u00fc\u00df \u65e5\u672c",
  "count": 42,
  "big": 9007199254740993,
  "ratio": 1.5,
  "flag": true,
  "accent": [255, 128, 0],
  "text_color": [1, "2", 3],
  "short_color": [5, 6],
  "long_color": [5, 6, 7, 8],
  "window": {"width": 800, "height": 600, "title": "Main"},
  "recent": ["a.mp4", {"c": 1}],
  "alpha": "last member"
})";

Names MemberNames(ITerUserDefaults* defaults, const TerJsonValue* object) {
  Names names;
  for (const TerJsonValue* member = defaults->FirstMember(object);
       member != defaults->MemberEnd(object); member = defaults->NextMember(member)) {
    names.push_back(defaults->MemberName(member));
  }
  return names;
}

class UserDefaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(path_, kSettings);
    ASSERT_TRUE(InitUserDefaults("test", path_.c_str()));
    defaults_ = GetUserDefaults("test");
    ASSERT_NE(defaults_, nullptr);
  }

  ITerUserDefaults* Reload(const char* name) {
    return InitUserDefaults(name, path_.c_str()) ? GetUserDefaults(name) : nullptr;
  }

  TempFolder temp_{L"defaults"};
  const std::wstring path_ = temp_.path() + L"settings.json";
  ITerUserDefaults* defaults_ = nullptr;
};

TEST_F(UserDefaultsTest, TypedReadsFallBackOnMissingKeysAndWrongTypes) {
  EXPECT_EQ(Str(defaults_->GetString("name", nullptr)),
            "Gr\xC3\xBC\xC3\x9F \xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(defaults_->GetString("count", nullptr), nullptr);
  EXPECT_EQ(defaults_->GetInt("big", nullptr, 0), 9007199254740993LL);
  EXPECT_EQ(defaults_->GetInt("ratio", nullptr, -1), -1);
  EXPECT_EQ(defaults_->GetInt("missing", nullptr, 99), 99);
  EXPECT_FALSE(defaults_->HasKey("width", nullptr)) << "only direct members";

  const TerColor fallback{1, 1, 1};
  EXPECT_EQ(defaults_->GetColor("accent", nullptr, fallback).green, 128);
  EXPECT_EQ(defaults_->GetColor("text_color", nullptr, fallback).green, 1);
  for (const char* key : {"short_color", "long_color"}) {
    const TerColor color = defaults_->GetColor(key, nullptr, fallback);
    EXPECT_EQ(color.red + color.green + color.blue, 3) << key << ": only three components count";
  }

  EXPECT_EQ(Str(defaults_->ValueText(defaults_->GetChild("ratio", nullptr))), "1.5");
  EXPECT_EQ(Str(defaults_->ValueText(defaults_->GetChild("flag", nullptr))), "<null>");
  EXPECT_EQ(Str(defaults_->ValueJson(defaults_->GetChild("recent", nullptr))),
            R"(["a.mp4",{"c":1}])");
}

TEST_F(UserDefaultsTest, MembersAndArraysInDocumentOrder) {
  EXPECT_EQ(MemberNames(defaults_, defaults_->GetRoot()),
            (Names{"zeta", "name", "count", "big", "ratio", "flag", "accent", "text_color",
                   "short_color", "long_color", "window", "recent", "alpha"}));
  const TerJsonValue* window = defaults_->GetChild("window", nullptr);
  EXPECT_EQ(MemberNames(defaults_, window), (Names{"width", "height", "title"}));
  EXPECT_EQ(defaults_->GetInt("height", window, 0), 600);

  const TerJsonValue* recent = defaults_->GetChild("recent", nullptr);
  ASSERT_EQ(defaults_->ArraySize(recent), 2u);
  EXPECT_EQ(defaults_->GetInt("c", defaults_->ArrayElement(recent, 1), 0), 1);
  EXPECT_EQ(defaults_->ArrayElement(recent, 2), nullptr);
  EXPECT_TRUE(MemberNames(defaults_, recent).empty()) << "not an object";
}

TEST_F(UserDefaultsTest, SetSaveAndReloadRoundTrip) {
  defaults_->SetString("zeta", "changed in place");
  defaults_->SetString("added", "\xE6\x97\xA5\xE6\x9C\xAC \"quoted\"\n");
  defaults_->SetInt("huge", INT64_MIN);
  defaults_->SetString("bad", "\xC3\x28");  // not UTF-8: refused, or the file would not load
  EXPECT_FALSE(defaults_->HasKey("bad", nullptr));
  ASSERT_TRUE(defaults_->Save());
  EXPECT_EQ(Entries(temp_.path()), std::vector<std::wstring>{L"settings.json"});

  ITerUserDefaults* reloaded = Reload("test");
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(Str(reloaded->GetString("added", nullptr)), "\xE6\x97\xA5\xE6\x9C\xAC \"quoted\"\n");
  EXPECT_EQ(reloaded->GetInt("huge", nullptr, 0), INT64_MIN);
  EXPECT_EQ(reloaded->GetColor("accent", nullptr, TerColor{}).green, 128);
  const Names names = MemberNames(reloaded, reloaded->GetRoot());
  EXPECT_EQ(names.front(), "zeta") << "a replaced value keeps its place";
  EXPECT_EQ(Names(names.end() - 3, names.end()), (Names{"alpha", "added", "huge"}));
  EXPECT_EQ(Str(reloaded->GetString("zeta", nullptr)), "changed in place");
  // Whoever still holds the replaced document can go on using it.
  EXPECT_EQ(defaults_->GetInt("count", nullptr, 0), 42);
}

// The keys exist beforehand, so the setters replace values in place under the readers.
TEST_F(UserDefaultsTest, SafeFromManyThreads) {
  for (int t = 0; t < 4; ++t) defaults_->SetInt(("thread" + std::to_string(t)).c_str(), -1);
  std::atomic<int> bad{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      const std::string key = "thread" + std::to_string(t);
      for (int i = 0; i < 200; ++i) {
        defaults_->SetInt(key.c_str(), i);
        if (Str(defaults_->ValueJson(defaults_->GetRoot())).find("\"count\":42") ==
            std::string::npos) {
          ++bad;
        }
        if (i % 50 == 0 && !defaults_->Save()) ++bad;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(bad, 0);
  ASSERT_TRUE(defaults_->Save());
  EXPECT_EQ(Reload("threads")->GetInt("thread3", nullptr, 0), 199);
  EXPECT_EQ(Entries(temp_.path()), std::vector<std::wstring>{L"settings.json"});
}

// Holding the file open without delete sharing makes the final replace fail, as a crash
// just before it would: the previous file must stay whole and loadable.
TEST_F(UserDefaultsTest, FailedSaveKeepsThePreviousFile) {
  defaults_->SetInt("count", 9);
  HANDLE holder = ::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(defaults_->Save());
  ::CloseHandle(holder);
  EXPECT_EQ(ReadWholeFile(path_), kSettings);
  EXPECT_EQ(Entries(temp_.path()), std::vector<std::wstring>{L"settings.json"}) << "no leftovers";

  ASSERT_TRUE(defaults_->Save());
  EXPECT_EQ(Reload("check")->GetInt("count", nullptr, 0), 9);
}

std::string StandardProblem() {
  char* problem = StandardUserDefaultsProblem();
  return problem ? Str(problem) : std::string();
}

bool StandardIsEmpty() {
  ITerUserDefaults* standard = StandardUserDefaults();
  return standard && standard->FirstMember(standard->GetRoot()) ==
                         standard->MemberEnd(standard->GetRoot());
}

std::string Nested(int depth, const std::string& open, const std::string& close);

// The standard user defaults are saved over their file at exit: whatever the user's file
// holds must survive a start that could not use it.
TEST(StandardUserDefaults, AMissingFileStartsEmptyAndIsMadeBySave) {
  TempFolder temp(L"standard");
  const std::wstring path = temp.path() + L"standard.json";
  EXPECT_FALSE(InitStandardUserDefaults(path.c_str()));
  EXPECT_TRUE(StandardIsEmpty());
  EXPECT_EQ(StandardProblem(), "") << "a first start is nothing to report";
  StandardUserDefaults()->SetInt("launches", 1);
  ASSERT_TRUE(StandardUserDefaults()->Save());
  EXPECT_TRUE(InitStandardUserDefaults(path.c_str()));
  EXPECT_EQ(StandardUserDefaults()->GetInt("launches", nullptr, 0), 1);

  InitStandardUserDefaults((temp.path() + L"gone\\standard.json").c_str());
  EXPECT_FALSE(StandardUserDefaults()->Save()) << "the folder is missing";
  EXPECT_EQ(Entries(temp.path()), std::vector<std::wstring>{L"standard.json"});
}

TEST(StandardUserDefaults, AFileThatDoesNotParseIsMovedAsideBeforeDefaultsAreUsed) {
  TempFolder temp(L"standard");
  const std::wstring path = temp.path() + L"Preferences.json";
  const std::wstring aside = path + L".damaged";
  struct Case {
    std::string bytes;
    const char* problem;  // in the report, before its offset
  };
  // clang-format off
  const Case damaged[] = {
      {"{\"module:a\": {\"x\": 1}, \"truncated\": ", "(offset 36)"},
      {"{\"name\": \"Zo\xEB\"}", "Invalid encoding in string. (offset 12)"},
      {std::string("\xFF\xFE{\0}\0", 6), "(offset 0)"},
      {"{\"a\":" + Nested(kTerMaxJsonDepth, "[", "]") + "}", "deeper than 256 levels"},
      {"[1, 2]", "not an object"},
  };
  // clang-format on
  for (const Case& one : damaged) {
    WriteText(path, one.bytes);
    EXPECT_FALSE(InitStandardUserDefaults(path.c_str()));
    EXPECT_TRUE(StandardIsEmpty());
    const std::string problem = StandardProblem();
    EXPECT_NE(problem.find(one.problem), std::string::npos) << problem;
    EXPECT_NE(problem.find("moved aside"), std::string::npos) << problem;
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadWholeFile(aside), one.bytes) << "the latest damaged file is kept";

    StandardUserDefaults()->SetInt("launches", 1);
    ASSERT_TRUE(StandardUserDefaults()->Save());
    EXPECT_EQ(ReadWholeFile(aside), one.bytes) << "a save leaves it alone";
    ASSERT_TRUE(InitStandardUserDefaults(path.c_str()));
    EXPECT_EQ(StandardProblem(), "");
  }
}

TEST(StandardUserDefaults, AFileThatCannotBeReadIsNeverSavedOver) {
  TempFolder temp(L"standard");
  const std::wstring path = temp.path() + L"Preferences.json";
  const std::string users = "{\"module:a\": {\"kept\": true}}";
  WriteText(path, users);
  HANDLE lock = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(InitStandardUserDefaults(path.c_str()));
  ::CloseHandle(lock);
  EXPECT_TRUE(StandardIsEmpty());
  EXPECT_NE(StandardProblem().find("cannot be read"), std::string::npos) << StandardProblem();
  StandardUserDefaults()->SetInt("launches", 1);
  EXPECT_FALSE(StandardUserDefaults()->Save());
  EXPECT_EQ(ReadWholeFile(path), users);
  EXPECT_EQ(Entries(temp.path()), std::vector<std::wstring>{L"Preferences.json"});

  // Read next time, it is saved as before, keys nobody here knows included.
  ASSERT_TRUE(InitStandardUserDefaults(path.c_str()));
  StandardUserDefaults()->SetInt("launches", 2);
  ASSERT_TRUE(StandardUserDefaults()->Save());
  ASSERT_TRUE(InitUserDefaults("saved", path.c_str()));
  ITerUserDefaults* saved = GetUserDefaults("saved");
  EXPECT_EQ(saved->GetInt("launches", nullptr, 0), 2);
  EXPECT_EQ(Str(saved->ValueJson(saved->GetChild("module:a", nullptr))), R"({"kept":true})");
}

// A writer killed between making its temporary file and moving it in place leaves the file
// behind; the next save removes those of writers that are gone, and nothing else.
TEST(StandardUserDefaults, SavesRemoveTemporaryFilesThatKilledWritersLeft) {
  TempFolder temp(L"standard");
  const std::wstring path = temp.path() + L"Preferences.json";
  WriteText(path, "{}");
  ASSERT_TRUE(InitStandardUserDefaults(path.c_str()));

  // A process that is still running: its save may be under way.
  wchar_t program[MAX_PATH];
  ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_list_tests";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION running = {};
  ASSERT_TRUE(::CreateProcessW(program, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, &startup, &running));
  const std::wstring live = std::to_wstring(running.dwProcessId);
  const std::wstring own = std::to_wstring(::GetCurrentProcessId());
  const std::vector<std::wstring> stale = {L"Preferences.json.4000000000-0.tmp",
                                           L"Preferences.json." + own + L"-17.tmp"};
  const std::vector<std::wstring> others = {
      L"Preferences.json." + live + L"-0.tmp", L"Preferences.json.tmp",
      L"Preferences.json.12x-0.tmp",           L"Preferences.json.4000000000-.tmp",
      L"Other.json.4000000000-0.tmp",          L"Preferences.json.damaged"};
  for (const auto& name : stale) WriteText(temp.path() + name, std::string(1000, 'x'));
  for (const auto& name : others) WriteText(temp.path() + name, "x");

  ASSERT_TRUE(StandardUserDefaults()->Save());
  ::TerminateProcess(running.hProcess, 0);
  ::CloseHandle(running.hProcess);
  ::CloseHandle(running.hThread);
  std::vector<std::wstring> expected = others;
  expected.push_back(L"Preferences.json");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Entries(temp.path()), expected);
}

std::string Nested(int depth, const std::string& open, const std::string& close) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += open;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

// A document whose deepest value sits `depth` levels down, the root object being level 1.
std::string ObjectOfDepth(int depth) {
  return "{\"a\":" + Nested(depth - 1, "[", "]") + "}";
}

class MalformedUserDefaults : public ::testing::Test {
 protected:
  // Loads `bytes` under a name that held a good document before: it must be gone after.
  bool Loads(const std::string& bytes) {
    WriteText(temp_.path() + L"good.json", "{\"ok\":1}");
    EXPECT_TRUE(InitUserDefaults("malformed", (temp_.path() + L"good.json").c_str()));
    WriteText(input_, bytes);
    const bool loaded = InitUserDefaults("malformed", input_.c_str());
    EXPECT_EQ(loaded, GetUserDefaults("malformed") != nullptr);
    return loaded;
  }

  TempFolder temp_{L"malformed"};
  const std::wstring input_ = temp_.path() + L"input.json";
};

TEST_F(MalformedUserDefaults, BrokenFilesGiveNoUserDefaults) {
  // Empty, blank, truncated, trailing text (also after a zero byte), a root that is no object,
  // and text that is not strict UTF-8: broken, overlong, in a key, an encoded surrogate,
  // escaped lone surrogates, UTF-16.
  // clang-format off
  const std::string refused[] = {
      "", "   \r\n", "{\"a\": [1, 2", "{\"a\": \"unterminated", "{\"a\": 1,}", "{} trailing",
      std::string("{}\0{\"x\":1}", 10), "[1, 2]", "42",
      "{\"a\": \"\xC3\x28\"}", "{\"a\": \"\xC0\xAF\"}", "{\"\xFF\": 1}", "{\"a\": \"\xED\xA0\x80\"}",
      "{\"a\": \"\\uDC00\"}", "{\"a\": \"\\uD83D\"}", std::string("\xFF\xFE{\0}\0", 6)};
  // clang-format on
  for (const std::string& bytes : refused) EXPECT_FALSE(Loads(bytes)) << bytes;
  EXPECT_TRUE(Loads("{\"a\": \"\\uD83D\\uDE00 \xC3\xBC\"}"));
  EXPECT_TRUE(Loads("\xEF\xBB\xBF{\"bom\": true}")) << "a UTF-8 byte order mark is fine";
  EXPECT_TRUE(GetUserDefaults("malformed")->HasKey("bom", nullptr));
}

TEST_F(MalformedUserDefaults, DeepNestingIsRefusedWithoutRecursion) {
  EXPECT_FALSE(Loads(Nested(100000, "[", "]")));
  EXPECT_FALSE(Loads("{\"a\":" + Nested(100000, "{\"b\":", "}")));  // truncated as well
  EXPECT_FALSE(Loads(ObjectOfDepth(kTerMaxJsonDepth + 1)));
  ASSERT_TRUE(Loads(ObjectOfDepth(kTerMaxJsonDepth)));

  // The deepest document allowed also writes and reads back.
  GetUserDefaults("malformed")->SetInt("marker", 1);
  ASSERT_TRUE(GetUserDefaults("malformed")->Save());
  ASSERT_TRUE(InitUserDefaults("deep", input_.c_str()));
  EXPECT_EQ(GetUserDefaults("deep")->GetInt("marker", nullptr, 0), 1);
}

TEST_F(MalformedUserDefaults, MissingFilesAndNullArguments) {
  EXPECT_FALSE(InitUserDefaults("missing", (temp_.path() + L"nowhere.json").c_str()));
  EXPECT_EQ(GetUserDefaults("missing"), nullptr);
  EXPECT_FALSE(InitUserDefaults("folder", temp_.path().c_str()));
  EXPECT_FALSE(InitUserDefaults("null", nullptr));
  EXPECT_FALSE(InitUserDefaults(nullptr, input_.c_str()));
  EXPECT_EQ(GetUserDefaults(nullptr), nullptr);
}

}  // namespace
