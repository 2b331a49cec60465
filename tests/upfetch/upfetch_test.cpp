// libUpfetch as the shell uses it: the test build of the real DLL (it trusts the test key)
// against a real HTTP server on 127.0.0.1, saving into a private temporary folder.
#include "upfetch/upfetch.h"

#include <gtest/gtest.h>
#include <winsock2.h>  // the test server needs it before windows.h

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "http_test_server.h"
#include "test_files.h"
#include "update_lists.h"

namespace {

std::string Installer(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 9)) & 0xFF);
  return bytes;
}

std::wstring Today() {
  wchar_t text[16];
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  std::swprintf(text, 16, L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

std::vector<std::string> Notes(const UFUpdateData* item) {
  std::vector<std::string> lines;
  for (const UFNote* note = item->notes; note; note = note->next) lines.push_back(note->text);
  return lines;
}

class UpfetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.listening());
    // The library saves under %TMP%\Pellavorne\<date>\; this test's own folder stands in.
    ::SetEnvironmentVariableW(L"TMP", temp_.path().c_str());
    ::SetEnvironmentVariableW(L"TEMP", temp_.path().c_str());
    download_folder_ = temp_.path() + L"Pellavorne\\" + Today() + L"\\";
  }
  void TearDown() override { UFFreeUFUpdateData(list_); }

  UFCheckParameters Parameters(const char* version = "1.1.64") {
    root_ = server_.Root();
    return {root_.c_str(), "Pellavorne", "Pellavorne Screen Recorder", version, 1, 0};
  }

  void ServeList(const std::string& document) {
    server_.Serve(kTestListPath, {200, document});
  }

  int Check(const char* version = "1.1.64") {
    UFFreeUFUpdateData(list_);
    list_ = reinterpret_cast<UFUpdateData*>(1);  // must be overwritten on every path
    const UFCheckParameters parameters = Parameters(version);
    return UFCheckForUpdate(&list_, &parameters);
  }

  // Offers one installer whose list entry is made from `listed` while the server sends
  // `served` (with `served_response` deciding how).
  void OfferInstaller(const std::string& listed, TestHttpServer::Response served_response) {
    ServeList(SignList(UpdateListBody({{"2.0.0", "files/setup.exe", listed, {"{en}", "new"}}})));
    server_.Serve("/update/Pellavorne/files/setup.exe", served_response);
    ASSERT_EQ(Check(), UF_OK);
  }

  std::vector<std::wstring> DownloadedFiles() { return FilesIn(download_folder_); }

  TestHttpServer server_;
  TempFolder temp_{L"upfetch"};
  std::wstring download_folder_;
  std::string root_;
  UFUpdateData* list_ = nullptr;
};

struct Progress {
  std::vector<std::pair<double, double>> calls;  // total, done
  double cancel_after = -1;                       // stop once this many bytes arrived
  static int32_t Callback(void* context, double total, double done) {
    auto* progress = static_cast<Progress*>(context);
    progress->calls.emplace_back(total, done);
    return progress->cancel_after >= 0 && done > progress->cancel_after ? -2 : 0;
  }
};

TEST_F(UpfetchTest, CheckOffersOnlyNewerVersionsNewestFirst) {
  ServeList(SignList(UpdateListBody({
      {"1.1.64", "same.exe", "a", {}},
      {"1.10.0", "https://cdn.example/setup-1.10.exe", "bb", {"{en}", "one", "{fr}", "un"}},
      {"2.0.0", "files/setup-2.exe", "ccc", {"{en}", "two"}},
      {"1.9.9", "/old.exe", "d", {}},
      {"0.5", "older.exe", "e", {}},
  })));
  ASSERT_EQ(Check(), UF_OK);
  ASSERT_NE(list_, nullptr);
  std::vector<std::string> versions;
  for (UFUpdateData* item = list_; item; item = item->next) versions.push_back(item->version);
  EXPECT_EQ(versions, (std::vector<std::string>{"2.0.0", "1.10.0", "1.9.9"}));
  EXPECT_EQ(std::string(list_->path_remote), server_.Root() + "update/Pellavorne/files/setup-2.exe");
  EXPECT_EQ(std::string(list_->next->path_remote), "https://cdn.example/setup-1.10.exe");
  EXPECT_EQ(std::string(list_->next->next->path_remote), server_.Root() + "old.exe");
  EXPECT_EQ(Notes(list_->next), (std::vector<std::string>{"{en}", "one", "{fr}", "un"}));
  EXPECT_EQ(std::string(list_->local_path), "");
  EXPECT_EQ(std::string(list_->md5), "");

  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], std::string(kTestListPath) +
                             "?product=Pellavorne%20Screen%20Recorder&version=1.1.64&type=1");
}

TEST_F(UpfetchTest, EveryFaultOfTheListIsAFailedCheckNeverAnOffer) {
  const std::string body = UpdateListBody({{"2.0.0", "setup.exe", "abc", {}}});
  std::string tampered = SignList(body);
  tampered[tampered.find("2.0.0")] = '3';
  std::string forged = SignList(UpdateListBody({{"2.0.1", "setup.exe", "abc", {}}}));
  forged = forged.substr(0, forged.find('\n') + 1) + body;  // a real signature of other bytes
  struct Case {
    const char* what;
    TestHttpServer::Response response;
    int expected;
  } cases[] = {
      {"older and equal versions only",
       {200, SignList(UpdateListBody({{"1.1.64", "a.exe", "a", {}}, {"1.1.9", "b.exe", "b", {}}}))},
       UF_NO_UPDATE},
      {"unsigned", {200, body}, UF_ERROR_SIGNATURE},
      {"tampered after signing", {200, tampered}, UF_ERROR_SIGNATURE},
      {"signature of other bytes", {200, forged}, UF_ERROR_SIGNATURE},
      {"signed, for another product",
       {200, SignList(UpdateListBody({{"2.0.0", "a.exe", "a", {}}}, "Other"))},
       UF_ERROR_FORMAT},
      {"signed, but not the format", {200, SignList("{\"format\": 1}")}, UF_ERROR_FORMAT},
      {"larger than any list", {200, SignList(std::string(1 << 20, ' ') + "{}")}, UF_ERROR_FORMAT},
      {"server error", {500, "oops"}, UF_ERROR_HTTP},
      {"dropped mid-list", {200, SignList(body), true, 40}, UF_ERROR_NETWORK},
  };
  for (const auto& c : cases) {
    server_.Serve(kTestListPath, c.response);
    EXPECT_EQ(Check(), c.expected) << c.what;
    EXPECT_EQ(list_, nullptr) << c.what;
  }
  server_.Serve(kTestListPath, {404, ""});
  server_.Serve("/elsewhere", {200, SignList(body)});
  EXPECT_EQ(Check(), UF_ERROR_HTTP);

  ServeList(SignList(body));
  EXPECT_EQ(Check("1.1.x"), UF_ERROR_ARGUMENT);
  EXPECT_EQ(list_, nullptr);
  const UFCheckParameters bad_root = {"file:///C:/", "Pellavorne", "P", "1.0", 1, 0};
  EXPECT_EQ(UFCheckForUpdate(&list_, &bad_root), UF_ERROR_ARGUMENT);
  EXPECT_EQ(UFCheckForUpdate(nullptr, &bad_root), UF_ERROR_ARGUMENT);
}

TEST_F(UpfetchTest, NoServerIsANetworkFailure) {
  int port = 0;
  {
    TestHttpServer gone;
    port = gone.port();
  }
  const std::string root = "http://127.0.0.1:" + std::to_string(port) + "/";
  const UFCheckParameters parameters = {root.c_str(), "Pellavorne", "P", "1.1.64", 1, 0};
  EXPECT_EQ(UFCheckForUpdate(&list_, &parameters), UF_ERROR_NETWORK);
  EXPECT_EQ(list_, nullptr);
}

TEST_F(UpfetchTest, ListSignedByThePublishingToolIsAccepted) {
  // Signed at build time by upfetch/tools/update_keys.py with openssl, as a release is.
  const std::string document = ReadWholeFile(OPENSSL_SIGNED_LIST_W);
  ASSERT_FALSE(document.empty());
  ServeList(document);
  ASSERT_EQ(Check(), UF_OK);
  EXPECT_EQ(std::string(list_->version), "9.0.0");
  std::string altered = document;
  altered[altered.size() - 3] ^= 0x20;
  ServeList(altered);
  EXPECT_EQ(Check(), UF_ERROR_SIGNATURE);
}

TEST_F(UpfetchTest, DownloadKeepsOnlyTheVerifiedInstaller) {
  const std::string installer = Installer(300 * 1024 + 17, 1);
  OfferInstaller(installer, {200, installer});
  Progress progress;
  ASSERT_EQ(UFDownloadUpdate(list_, &Progress::Callback, &progress), UF_OK);

  const std::wstring expected = download_folder_ + L"Pellavorne-2.0.0-setup.exe";
  EXPECT_EQ(DownloadedFiles(), (std::vector<std::wstring>{L"Pellavorne-2.0.0-setup.exe"}));
  EXPECT_TRUE(ReadWholeFile(expected) == installer);
  wchar_t wide[MAX_PATH];
  ::MultiByteToWideChar(CP_UTF8, 0, list_->local_path, -1, wide, MAX_PATH);
  EXPECT_EQ(std::wstring(wide), expected);

  ASSERT_GE(progress.calls.size(), 3u);
  EXPECT_EQ(progress.calls.front().second, 0.0);
  for (size_t i = 1; i < progress.calls.size(); ++i) {
    EXPECT_EQ(progress.calls[i].first, static_cast<double>(installer.size()));
    EXPECT_GT(progress.calls[i].second, progress.calls[i - 1].second);
  }
  EXPECT_EQ(progress.calls.back().second, static_cast<double>(installer.size()));

  // A second download of the same version replaces the first file.
  ASSERT_EQ(UFDownloadUpdate(list_, nullptr, nullptr), UF_OK);
  EXPECT_EQ(DownloadedFiles().size(), 1u);
}

TEST_F(UpfetchTest, EveryFaultOfTheDownloadLeavesNoFile) {
  const std::string installer = Installer(200 * 1024, 2);
  std::string altered = installer;
  altered[150000] ^= 1;
  struct Case {
    const char* what;
    TestHttpServer::Response response;
    int expected;
  } cases[] = {
      {"same size, other bytes", {200, altered}, UF_ERROR_INTEGRITY},
      {"dropped mid-way", {200, installer, true, 100000}, UF_ERROR_NETWORK},
      {"dropped, no length announced", {200, installer, false, 100000}, UF_ERROR_NETWORK},
      {"longer than listed", {200, installer + "x"}, UF_ERROR_INTEGRITY},
      {"longer, no length announced", {200, installer + "tail", false}, UF_ERROR_INTEGRITY},
      {"shorter, cleanly closed", {200, installer.substr(0, 1000), false}, UF_ERROR_NETWORK},
      {"not found", {404, ""}, UF_ERROR_HTTP},
  };
  for (const auto& c : cases) {
    OfferInstaller(installer, c.response);
    Progress progress;
    EXPECT_EQ(UFDownloadUpdate(list_, &Progress::Callback, &progress), c.expected) << c.what;
    EXPECT_TRUE(DownloadedFiles().empty()) << c.what;
    EXPECT_EQ(std::string(list_->local_path), "") << c.what;
  }
}

TEST_F(UpfetchTest, StoppingFromTheCallbackEndsAtOnceAndLeavesNoFile) {
  const std::string installer = Installer(400 * 1024, 3);
  OfferInstaller(installer, {200, installer});
  Progress progress;
  progress.cancel_after = 0;  // stop at the first block
  EXPECT_EQ(UFDownloadUpdate(list_, &Progress::Callback, &progress), UF_STOPPED);
  ASSERT_FALSE(progress.calls.empty());
  EXPECT_GT(progress.calls.back().second, 0.0);
  EXPECT_LT(progress.calls.back().second, static_cast<double>(installer.size()));
  EXPECT_TRUE(DownloadedFiles().empty());

  // The next attempt starts afresh and completes.
  progress = Progress();
  EXPECT_EQ(UFDownloadUpdate(list_, &Progress::Callback, &progress), UF_OK);
  EXPECT_EQ(DownloadedFiles().size(), 1u);
}

TEST_F(UpfetchTest, ForeignAndReleasedListsAreRefused) {
  ServeList(SignList(UpdateListBody({{"2.0.0", "setup.exe", "abc", {}}})));
  server_.Serve("/update/Pellavorne/setup.exe", {200, "abc"});
  ASSERT_EQ(Check(), UF_OK);
  UFUpdateData foreign = *list_;
  EXPECT_EQ(UFDownloadUpdate(&foreign, nullptr, nullptr), UF_ERROR_ARGUMENT);
  EXPECT_EQ(UFDownloadUpdate(nullptr, nullptr, nullptr), UF_ERROR_ARGUMENT);
  UFUpdateData* released = list_;
  UFFreeUFUpdateData(released);
  list_ = nullptr;
  EXPECT_EQ(UFDownloadUpdate(released, nullptr, nullptr), UF_ERROR_ARGUMENT);
  UFFreeUFUpdateData(released);  // a second release is ignored
  UFFreeUFUpdateData(&foreign);
  UFFreeUFUpdateData(nullptr);
  EXPECT_TRUE(DownloadedFiles().empty());
}

}  // namespace
