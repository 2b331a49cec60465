#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ter_user_defaults.h"
#include "test_support.h"

using terrace_test::ReadRaw;
using terrace_test::TempFolder;
using terrace_test::WriteRaw;

namespace {

std::string Nested(int depth, const std::string& open, const std::string& close) {
  std::string text;
  text.reserve(depth * (open.size() + close.size()));
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
    WriteRaw(temp_.Wide(L"good.json"), "{\"ok\":1}");
    EXPECT_TRUE(InitUserDefaults("malformed", temp_.Wide(L"good.json").c_str()));
    WriteRaw(temp_.Wide(L"input.json"), bytes);
    const bool loaded = InitUserDefaults("malformed", temp_.Wide(L"input.json").c_str());
    EXPECT_EQ(loaded, GetUserDefaults("malformed") != nullptr);
    return loaded;
  }

  TempFolder temp_;
};

TEST_F(MalformedUserDefaults, BrokenFilesGiveNoUserDefaults) {
  EXPECT_FALSE(Loads(""));
  EXPECT_FALSE(Loads("   \r\n"));
  EXPECT_FALSE(Loads("{\"a\": [1, 2"));
  EXPECT_FALSE(Loads("{\"a\": \"unterminated"));
  EXPECT_FALSE(Loads("{\"a\": 1,}"));
  EXPECT_FALSE(Loads("{} trailing"));
  EXPECT_FALSE(Loads(std::string("{}\0{\"x\":1}", 10)));
  EXPECT_FALSE(Loads("{\"a\": 1e999}"));
  EXPECT_FALSE(Loads("{\"a\": NaN}"));
}

TEST_F(MalformedUserDefaults, RootMustBeAnObject) {
  EXPECT_FALSE(Loads("[1, 2, 3]"));
  EXPECT_FALSE(Loads("\"text\""));
  EXPECT_FALSE(Loads("42"));
  EXPECT_FALSE(Loads("null"));
  EXPECT_TRUE(Loads("{}"));
}

TEST_F(MalformedUserDefaults, TextMustBeUtf8) {
  EXPECT_FALSE(Loads("{\"a\": \"\xC3\x28\"}"));      // broken sequence
  EXPECT_FALSE(Loads("{\"a\": \"\xC0\xAF\"}"));      // overlong
  EXPECT_FALSE(Loads("{\"\xFF\": 1}"));              // in a key
  EXPECT_FALSE(Loads("{\"a\": \"\xED\xA0\x80\"}"));  // an encoded surrogate
  EXPECT_FALSE(Loads("{\"a\": \"\\uDC00\"}"));       // an escaped lone surrogate
  EXPECT_FALSE(Loads("{\"a\": \"\\uD83D\"}"));
  EXPECT_FALSE(Loads("\xFF\xFE{\0}\0"));  // UTF-16
  EXPECT_TRUE(Loads("{\"a\": \"\\uD83D\\uDE00 \xC3\xBC\"}"));
  EXPECT_TRUE(Loads("\xEF\xBB\xBF{\"bom\": true}")) << "a UTF-8 byte order mark is fine";
  EXPECT_TRUE(GetUserDefaults("malformed")->HasKey("bom", nullptr));
}

TEST_F(MalformedUserDefaults, DeepNestingIsRefusedWithoutRecursion) {
  EXPECT_FALSE(Loads(Nested(100000, "[", "]")));
  EXPECT_FALSE(Loads("{\"a\":" + Nested(100000, "[", "]") + "}"));
  EXPECT_FALSE(Loads("{\"a\":" + Nested(100000, "{\"b\":", "}")));  // truncated as well
  EXPECT_FALSE(Loads(ObjectOfDepth(kTerMaxJsonDepth + 1)));
  EXPECT_TRUE(Loads(ObjectOfDepth(kTerMaxJsonDepth)));

  // The deepest document allowed also writes and reads back.
  ITerUserDefaults* deep = GetUserDefaults("malformed");
  deep->SetInt("marker", 1);
  ASSERT_TRUE(deep->Save());
  ASSERT_TRUE(InitUserDefaults("deep", temp_.Wide(L"input.json").c_str()));
  EXPECT_EQ(GetUserDefaults("deep")->GetInt("marker", nullptr, 0), 1);
}

TEST_F(MalformedUserDefaults, MissingFilesAndNullArguments) {
  EXPECT_FALSE(InitUserDefaults("missing", temp_.Wide(L"nowhere.json").c_str()));
  EXPECT_EQ(GetUserDefaults("missing"), nullptr);
  EXPECT_FALSE(InitUserDefaults("folder", temp_.path().c_str()));
  EXPECT_FALSE(InitUserDefaults("null", nullptr));
  EXPECT_FALSE(InitUserDefaults(nullptr, temp_.Wide(L"nowhere.json").c_str()));
  EXPECT_EQ(GetUserDefaults(nullptr), nullptr);
  EXPECT_EQ(GetUserDefaults("never loaded"), nullptr);
}

TEST_F(MalformedUserDefaults, StandardDefaultsStartEmptyFromABrokenFile) {
  WriteRaw(temp_.Wide(L"standard.json"), "{\"truncated\": ");
  EXPECT_FALSE(InitStandardUserDefaults(temp_.Wide(L"standard.json").c_str()));
  ITerUserDefaults* standard = StandardUserDefaults();
  ASSERT_NE(standard, nullptr);
  EXPECT_FALSE(standard->HasKey("truncated", nullptr));
  EXPECT_EQ(standard->FirstMember(standard->GetRoot()), standard->MemberEnd(standard->GetRoot()));
  EXPECT_EQ(ReadRaw(temp_.Wide(L"standard.json")), "{\"truncated\": ") << "not touched yet";
}

// Holding the file open without delete sharing makes the final replace fail, as a crash
// just before it would: the previous file must stay whole and loadable.
TEST_F(MalformedUserDefaults, FailedSaveKeepsThePreviousFile) {
  const std::wstring path = temp_.Wide(L"settings.json");
  const std::string original = "{\"volume\": 3}";
  WriteRaw(path, original);
  ASSERT_TRUE(InitUserDefaults("atomic", path.c_str()));
  ITerUserDefaults* defaults = GetUserDefaults("atomic");
  defaults->SetInt("volume", 9);

  HANDLE holder = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(defaults->Save());
  ::CloseHandle(holder);
  EXPECT_EQ(ReadRaw(path), original);
  EXPECT_EQ(temp_.Entries(), std::vector<std::wstring>{L"settings.json"}) << "no leftovers";
  ASSERT_TRUE(InitUserDefaults("atomic-check", path.c_str()));
  EXPECT_EQ(GetUserDefaults("atomic-check")->GetInt("volume", nullptr, 0), 3);

  ASSERT_TRUE(defaults->Save());
  ASSERT_TRUE(InitUserDefaults("atomic-check", path.c_str()));
  EXPECT_EQ(GetUserDefaults("atomic-check")->GetInt("volume", nullptr, 0), 9);
}

TEST_F(MalformedUserDefaults, SaveIntoAMissingFolderFailsAndCreatesNothing) {
  InitStandardUserDefaults(temp_.Wide(L"gone\\standard.json").c_str());
  ASSERT_NE(StandardUserDefaults(), nullptr);
  EXPECT_FALSE(StandardUserDefaults()->Save());
  EXPECT_TRUE(temp_.Entries().empty());
}

}  // namespace
