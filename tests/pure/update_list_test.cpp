// The update list's text rules, without network or keys.
#include "upfetch/update_list.h"

#include <gtest/gtest.h>

#include "upfetch/update_items.h"

using namespace upfetch;

namespace {

const char kListAddress[] = "https://up.example/update/Pellavorne/update-list.txt?version=1.1.64";
const char kHash[] = "00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF";

std::string Entry(const std::string& version, const std::string& extra = "") {
  return R"({"version": ")" + version + R"(", "url": "setup.exe", "size": 10, "sha256": ")" +
         kHash + "\"" + extra + "}";
}

std::string List(const std::string& entries, const std::string& brand = "Pellavorne") {
  return R"({"format": 1, "brand": ")" + brand + R"(", "updates": [)" + entries + "]}";
}

std::vector<std::string> Versions(const std::vector<ListEntry>& entries) {
  std::vector<std::string> versions;
  for (const auto& entry : entries) versions.push_back(entry.version_text);
  return versions;
}

TEST(Version, ParsesOnlyDottedNumbers) {
  struct Case {
    const char* text;
    bool valid;
  } cases[] = {{"1.1.64", true},   {"2", true},        {"1.2.3.4.5.6.7.8", true},
               {"", false},        {"1..2", false},    {".1", false},
               {"1.", false},      {"1.2a", false},    {"v1.2", false},
               {" 1.2", false},    {"-1.2", false},    {"1.2.3.4.5.6.7.8.9", false},
               {"1234567890", false}, {"999999999", true}};
  for (const auto& c : cases) {
    Version version;
    EXPECT_EQ(ParseVersion(c.text, &version), c.valid) << c.text;
  }
}

TEST(Version, ComparesPartsAsNumbers) {
  struct Case {
    const char* left;
    const char* right;
    int order;
  } cases[] = {{"1.10.0", "1.9.9", 1}, {"2.0", "2.0.0", 0},    {"1.1.64", "1.1.65", -1},
               {"10", "9.99", 1},      {"1.0.0.1", "1.0", 1},  {"0.9", "1", -1}};
  for (const auto& c : cases) {
    Version left, right;
    ASSERT_TRUE(ParseVersion(c.left, &left));
    ASSERT_TRUE(ParseVersion(c.right, &right));
    const int order = CompareVersions(left, right);
    EXPECT_EQ((order > 0) - (order < 0), c.order) << c.left << " vs " << c.right;
  }
}

TEST(SignedList, SplitsTheSignatureLineFromTheExactBody) {
  const std::string signature(88, 'A');  // 64 zero bytes in base64 take 88 characters
  const std::string good = "UFSIG1 ES256 " + signature.substr(0, 86) + "==\n{\"x\":1}\r\n";
  SignedList list;
  ASSERT_TRUE(SplitSignedList(good, &list));
  EXPECT_EQ(list.body, "{\"x\":1}\r\n");
  EXPECT_EQ(list.signature.size(), kSignatureBytes);

  std::string crlf = good;
  crlf.insert(crlf.find('\n'), "\r");
  ASSERT_TRUE(SplitSignedList(crlf, &list));
  EXPECT_EQ(list.body, "{\"x\":1}\r\n");

  const std::string refused[] = {
      "{\"x\":1}",                                                   // unsigned
      "UFSIG1 RS256 " + signature.substr(0, 86) + "==\n{}",         // another scheme
      "UFSIG1 ES256 " + signature.substr(0, 84) + "==\n{}",         // 63 bytes
      "UFSIG1 ES256 " + signature.substr(0, 85) + "*==\n{}",        // not base64
      "UFSIG1 ES256 " + signature.substr(0, 86) + "==\n",           // nothing signed
      " UFSIG1 ES256 " + signature.substr(0, 86) + "==\n{}",
  };
  for (const auto& text : refused) EXPECT_FALSE(SplitSignedList(text, &list)) << text;
}

TEST(UpdateList, ReadsEveryField) {
  std::vector<ListEntry> entries;
  std::string error;
  ASSERT_TRUE(ParseUpdateList(
      List(R"({"version": "2.0.1", "url": "files/setup-2.0.1.exe", "size": 123456789012,
               "sha256": ")" + std::string(kHash) + R"(", "md5": "abc", "notes": ["{en}", "one"],
               "later": {"ignored": true}})"),
      "pellavorne", kListAddress, &entries, &error))
      << error;
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].version_text, "2.0.1");
  EXPECT_EQ(entries[0].address, "https://up.example/update/Pellavorne/files/setup-2.0.1.exe");
  EXPECT_EQ(entries[0].size, 123456789012ull);
  EXPECT_EQ(entries[0].sha256[0], 0x00);
  EXPECT_EQ(entries[0].sha256[31], 0xFF);
  EXPECT_EQ(entries[0].md5, "abc");
  EXPECT_EQ(entries[0].notes, (std::vector<std::string>{"{en}", "one"}));

  ASSERT_TRUE(ParseUpdateList(List(Entry("2", R"(, "notes": ["\ud83d\ude00"])")), "Pellavorne",
                              kListAddress, &entries, &error))
      << error;
  EXPECT_EQ(entries[0].notes, (std::vector<std::string>{"\xF0\x9F\x98\x80"})) << "a pair is text";

  ASSERT_TRUE(ParseUpdateList(List(""), "Pellavorne", kListAddress, &entries, &error));
  EXPECT_TRUE(entries.empty());
}

TEST(UpdateList, OneBrokenEntryRejectsTheList) {
  const std::string refused[] = {
      "not json",
      "[]",
      R"({"format": 2, "brand": "Pellavorne", "updates": []})",
      R"({"brand": "Pellavorne", "updates": []})",
      R"({"format": 1, "updates": []})",
      R"({"format": 1, "brand": "Pellavorne", "updates": {}})",
      List("[]"),
      List(Entry("1.0.0"), "Other"),
      List(Entry("2.0") + "," + Entry("2.0 beta")),
      List(R"({"url": "a.exe", "size": 1, "sha256": ")" + std::string(kHash) + "\"}"),
      List(R"({"version": "2", "url": "file:///C:/a.exe", "size": 1, "sha256": ")" +
           std::string(kHash) + "\"}"),
      List(R"({"version": "2", "size": 1, "sha256": ")" + std::string(kHash) + "\"}"),
      List(R"({"version": "2", "url": "a.exe", "size": 0, "sha256": ")" + std::string(kHash) + "\"}"),
      List(R"({"version": "2", "url": "a.exe", "size": -5, "sha256": ")" + std::string(kHash) + "\"}"),
      List(R"({"version": "2", "url": "a.exe", "size": "10", "sha256": ")" + std::string(kHash) + "\"}"),
      List(R"({"version": "2", "url": "a.exe", "size": 10, "sha256": "abcd"})"),
      List(Entry("2", R"(, "md5": 5)")),
      List(Entry("2", R"(, "notes": "one")")),
      List(Entry("2", R"(, "notes": ["one", 2])")),
      List(Entry("2", ", \"notes\": [\"\xC3\x28\"]")),  // invalid UTF-8
      // A lone surrogate: the list dialog's strict reader would refuse the whole text.
      List(Entry("2", R"(, "notes": ["a\udddd"])")),
      List(Entry("2", R"(, "md5": "x\udc00")")),
  };
  for (const auto& text : refused) {
    std::vector<ListEntry> entries;
    std::string error;
    EXPECT_FALSE(ParseUpdateList(text, "Pellavorne", kListAddress, &entries, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(UpdateList, OnlyNewerVersionsCountNewestFirst) {
  std::vector<ListEntry> entries;
  std::string error;
  ASSERT_TRUE(ParseUpdateList(List(Entry("1.9.9") + "," + Entry("1.1.64") + "," + Entry("1.10.0") +
                                   "," + Entry("0.9") + "," + Entry("2.0") + "," +
                                   Entry("1.1.64.1")),
                              "Pellavorne", kListAddress, &entries, &error))
      << error;
  Version running;
  ASSERT_TRUE(ParseVersion("1.1.64", &running));
  EXPECT_EQ(Versions(NewerEntries(entries, running)),
            (std::vector<std::string>{"2.0", "1.10.0", "1.9.9", "1.1.64.1"}));
  ASSERT_TRUE(ParseVersion("2.0.0", &running));
  EXPECT_TRUE(NewerEntries(entries, running).empty());
}

// What a caller walks: one item per entry in order, every text there (empty at least) and
// the notes as a chain of their own.
TEST(UpdateList, HandedOutChainMirrorsTheEntries) {
  std::vector<ListEntry> entries;
  std::string error;
  ASSERT_TRUE(ParseUpdateList(List(Entry("2.0", R"(, "md5": "m", "notes": ["{en}", "a"])") + "," +
                                   Entry("1.9")),
                              "Pellavorne", kListAddress, &entries, &error))
      << error;
  const std::shared_ptr<upfetch::List> list = MakeList("Pellavorne", entries);
  const UFUpdateData* item = &list->items.front()->data;
  EXPECT_STREQ(item->version, "2.0");
  EXPECT_STREQ(item->path_remote, "https://up.example/update/Pellavorne/setup.exe");
  EXPECT_STREQ(item->md5, "m");
  EXPECT_STREQ(item->local_path, "");
  ASSERT_NE(item->notes, nullptr);
  EXPECT_STREQ(item->notes->text, "{en}");
  ASSERT_NE(item->notes->next, nullptr);
  EXPECT_STREQ(item->notes->next->text, "a");
  EXPECT_EQ(item->notes->next->next, nullptr);
  item = item->next;
  ASSERT_NE(item, nullptr);
  EXPECT_STREQ(item->version, "1.9");
  EXPECT_STREQ(item->md5, "");
  EXPECT_EQ(item->notes, nullptr);
  EXPECT_EQ(item->next, nullptr);
  EXPECT_TRUE(MakeList("Pellavorne", {})->items.empty());
}

TEST(Addresses, ListAddressCarriesTheProductInItsQuery) {
  EXPECT_EQ(ListAddress("http://127.0.0.1:8080", "Pellavorne", "Pellavorne Screen Recorder",
                        "1.1.64", 1),
            "http://127.0.0.1:8080/update/Pellavorne/update-list.txt"
            "?product=Pellavorne%20Screen%20Recorder&version=1.1.64&type=1");
  EXPECT_EQ(ListAddress("https://a.example/base/", "P&Q", "x", "1", 0),
            "https://a.example/base/update/P%26Q/update-list.txt?product=x&version=1&type=0");
  for (const char* root : {"", "ftp://a.example/", "http://", "https://a.example/?x=1",
                           "http://a b/", "file:///C:/"}) {
    EXPECT_EQ(ListAddress(root, "Pellavorne", "x", "1", 0), "") << root;
  }
}

TEST(Addresses, InstallerAddressesResolveAgainstTheList) {
  struct Case {
    const char* reference;
    const char* address;
  } cases[] = {
      {"setup.exe", "https://up.example/update/Pellavorne/setup.exe"},
      {"../all/setup.exe", "https://up.example/update/Pellavorne/../all/setup.exe"},
      {"/files/setup.exe", "https://up.example/files/setup.exe"},
      {"HTTP://cdn.example/s.exe", "HTTP://cdn.example/s.exe"},
      {"https://cdn.example:8443/s.exe?sig=1", "https://cdn.example:8443/s.exe?sig=1"},
      {"//cdn.example/s.exe", ""},
      {"file:///C:/s.exe", ""},
      {"javascript:alert(1)", ""},
      {"https:///s.exe", ""},
      {"set up.exe", ""},
      {"setup\\x.exe", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolveAddress(kListAddress, c.reference), c.address) << c.reference;
  }
  EXPECT_EQ(ResolveAddress("http://h:81", "s.exe"), "http://h:81/s.exe");
  EXPECT_EQ(InstallerFileName("Pel/la:vorne", "2.0"), "Pel_la_vorne-2.0-setup.exe");
}

TEST(Encodings, Base64AndHex) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(DecodeBase64("TWFu", &bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Man");
  ASSERT_TRUE(DecodeBase64("TWE=", &bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Ma");
  ASSERT_TRUE(DecodeBase64("TQ==", &bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "M");
  for (const char* bad : {"TQ=", "T===", "TQ==TQ==", "TW=u", "TW u", "TWFu\n"}) {
    EXPECT_FALSE(DecodeBase64(bad, &bytes)) << bad;
  }
  uint8_t two[2];
  EXPECT_TRUE(DecodeHex("aB09", two, 2));
  EXPECT_EQ(two[0], 0xAB);
  EXPECT_FALSE(DecodeHex("aB0", two, 2));
  EXPECT_FALSE(DecodeHex("aB0g", two, 2));
}

}  // namespace
