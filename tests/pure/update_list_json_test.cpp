// What the list dialog shows of an update list: the notes of the user's language and the
// text layout of versions and notes.
#include "update/update_list_json.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A list shaped as libUpfetch hands it out.
class ItemChain {
 public:
  void Add(const char* version, std::vector<std::string> notes) {
    items_.push_back(std::make_unique<Item>());
    Item& item = *items_.back();
    item.texts = std::move(notes);
    item.notes.resize(item.texts.size());
    for (size_t i = 0; i < item.notes.size(); ++i) {
      item.notes[i] = {&item.texts[i][0], i + 1 < item.notes.size() ? &item.notes[i + 1] : nullptr};
    }
    item.data.version = const_cast<char*>(version);
    item.data.notes = item.notes.empty() ? nullptr : &item.notes[0];
    if (items_.size() > 1) items_[items_.size() - 2]->data.next = &item.data;
  }
  const UFUpdateData* first() const { return items_.empty() ? nullptr : &items_[0]->data; }

 private:
  struct Item {
    UFUpdateData data = {};
    std::vector<std::string> texts;
    std::vector<UFNote> notes;
  };
  std::vector<std::unique_ptr<Item>> items_;
};

TEST(UpdateNotes, EachLanguageGetsItsOwnSection) {
  const std::vector<std::string> lines = {"before", "{en}", "one", "two", "{fr}", "three"};
  struct Case {
    const char* language;
    std::vector<std::string> notes;
  } cases[] = {{"en", {"one", "two"}}, {"fr", {"three"}}, {"EN", {"one", "two"}},
               {"de", {}},             {"", {}}};
  for (const auto& c : cases) EXPECT_EQ(NotesForLanguage(lines, c.language), c.notes) << c.language;
  // A section ends at any line starting with "{", even one that is not a marker.
  EXPECT_EQ(NotesForLanguage({"{en}", "a", "{not a marker", "b"}, "en"),
            (std::vector<std::string>{"a"}));
  // Only the first marker opens the section.
  EXPECT_EQ(NotesForLanguage({"{en}", "a", "{fr}", "b", "{en}", "c"}, "en"),
            (std::vector<std::string>{"a"}));
}

TEST(UpdateNotes, DialogTextSeparatesElementsByOneEmptyLine) {
  ItemChain chain;
  chain.Add("2.0", {"{en}", "one", "two", "{fr}", "un"});
  chain.Add("1.9", {"{fr}", "x", "{en}", "three"});
  chain.Add(nullptr, {});
  const std::string json = UpdateListJson(chain.first(), "en");
  EXPECT_EQ(json,
            R"([{"version":"2.0","md5":"","path_remote":"","descriptions":["one","two"]},)"
            R"({"version":"1.9","md5":"","path_remote":"","descriptions":["three"]},)"
            R"({"version":"","md5":"","path_remote":"","descriptions":[]}])");

  UpdateListText text;
  ASSERT_TRUE(FormatUpdateList(json.c_str(), json.size(), "Version", &text));
  EXPECT_EQ(text.text,
            "Version: 2.0\r\none\r\ntwo\r\n"
            "\r\n"
            "Version: 1.9\r\nthree\r\n"
            "\r\n"
            "Version: \r\n");
  EXPECT_EQ(text.first_version, "2.0");

  const std::string single = R"([{"version":"2.0","descriptions":["\u00e9t\u00e9"]}])";
  ASSERT_TRUE(FormatUpdateList(single.c_str(), single.size(), "Version", &text));
  EXPECT_EQ(text.text, "Version: 2.0\r\n\u00e9t\u00e9\r\n");
}

TEST(UpdateNotes, TextThatIsNotAListShowsNothing) {
  UpdateListText text;
  for (const std::string bad : {"", "{", "{\"version\": \"2\"}", "\"2.0\""}) {
    EXPECT_FALSE(FormatUpdateList(bad.c_str(), bad.size(), "Version", &text)) << bad;
  }
  EXPECT_TRUE(FormatUpdateList("[]", 2, "Version", &text));
  EXPECT_EQ(text.text, "");
}

}  // namespace
