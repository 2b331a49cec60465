#include "common/win32/plugin_util_win32.h"

#include <glog/logging.h>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "host/command_bus.h"
#include "host/module_table.h"
#include "module_folders.h"

namespace {

using ProbeLogFunction = const char* (*)();
using ProbeSendFunction = int64_t (*)(const char*, TERModuleId);

// Collects ERROR lines written while a test runs.
class ErrorCollector : public google::LogSink {
 public:
  ErrorCollector() { google::AddLogSink(this); }
  ~ErrorCollector() override { google::RemoveLogSink(this); }
  void send(google::LogSeverity severity, const char*, const char*, int, const std::tm*,
            const char* message, size_t length) override {
    if (severity != google::GLOG_ERROR) return;
    std::lock_guard<std::mutex> lock(lock_);
    lines_.emplace_back(message, length);
  }
  std::vector<std::string> lines() {
    std::lock_guard<std::mutex> lock(lock_);
    return lines_;
  }

 private:
  std::mutex lock_;
  std::vector<std::string> lines_;
};

const std::wstring kProbe = L"probe_module.dll";

class PluginLoaderTest : public ::testing::Test {
 protected:
  // A module folder named uniquely for this test, so the process-wide table never collides.
  std::wstring ModuleFolder(const std::wstring& name) {
    const std::wstring folder = root_.path() + name + L"\\";
    MakeFolders(folder);
    return folder;
  }

  TempFolder root_{L"modules"};
};

TEST_F(PluginLoaderTest, UnparsableNewestVersionIsLoggedAndTheOlderOneLoads) {
  const std::wstring folder = ModuleFolder(L"fallback_parse");
  AddVersion(folder, L"1.0.0", Descriptor("probe.dll", "1.0.0"), TestModuleDll(kProbe), L"probe.dll");
  AddVersion(folder, L"2.0.0", "{\"path\": \"probe.dll\",, }", TestModuleDll(kProbe), L"probe.dll");

  ErrorCollector errors;
  const ModuleRecord* record = LoadModule(Narrow(folder));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->version, "1.0.0");
  EXPECT_EQ(ModuleTable::Instance().Find("fallback_parse"), record);

  const auto lines = errors.lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("2.0.0"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("Missing a name for object member"), std::string::npos) << lines[0];
}

TEST_F(PluginLoaderTest, VersionFolderWithoutDescriptorIsNoCandidate) {
  const std::wstring folder = ModuleFolder(L"no_descriptor");
  AddVersion(folder, L"1.0.0", Descriptor("probe.dll", "1.0.0"), TestModuleDll(kProbe), L"probe.dll");
  MakeFolders(folder + L"9.0.0\\x64");
  CopyInto(TestModuleDll(kProbe), folder + L"9.0.0\\x64\\probe.dll");

  const ModuleRecord* record = LoadModule(Narrow(folder));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->version, "1.0.0");
}

TEST_F(PluginLoaderTest, BrokenNewerLibrariesFallBackToTheOldest) {
  const std::wstring folder = ModuleFolder(L"broken_libraries");
  AddVersion(folder, L"1.0.0", Descriptor("probe.dll", "1.0.0"), TestModuleDll(kProbe), L"probe.dll");
  AddVersion(folder, L"4.0.0", Descriptor("missing.dll", "4.0.0"));
  AddVersion(folder, L"3.0.0", Descriptor("no_entry.dll", "3.0.0"),
             TestModuleDll(L"no_entry_module.dll"), L"no_entry.dll");
  AddVersion(folder, L"2.0.0", Descriptor("text.dll", "2.0.0"));
  WriteText(folder + L"2.0.0\\x64\\text.dll", "this is not a library");

  const ModuleRecord* record = LoadModule(Narrow(folder));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->version, "1.0.0");
}

TEST_F(PluginLoaderTest, MalformedDescriptorsAreFailedCandidates) {
  const std::wstring folder = ModuleFolder(L"malformed");
  AddVersion(folder, L"1.0.0", Descriptor("probe.dll", "1.0.0"), TestModuleDll(kProbe), L"probe.dll");
  std::string deep = std::string(100000, '[') + std::string(100000, ']');
  const std::pair<const wchar_t*, std::string> bad[] = {
      {L"9.0.1", deep},
      {L"9.0.2", ""},
      {L"9.0.3", "{\"path\": \"probe\xc3\x28.dll\", \"x64\": \"x64\", \"type\": 1, "
                 "\"version\": \"9\", \"id\": \"i\"}"},
      {L"9.0.4", Descriptor("../../../probe.dll", "9.0.4")},
      {L"9.0.5", "{\"path\": \"probe.dll\", \"x64\": \"x64\", \"type\": \"one\", "
                 "\"version\": \"9\", \"id\": \"i\"}"},
      {L"9.0.6", "{\"path\": \"probe.dll\", \"type\": 1, \"version\": \"9\", \"id\": \"i\"}"},
  };
  for (const auto& version : bad)
    AddVersion(folder, version.first, version.second, TestModuleDll(kProbe), L"probe.dll");

  const ModuleRecord* record = LoadModule(Narrow(folder));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->version, "1.0.0");
}

TEST_F(PluginLoaderTest, NoLoadableVersionEntersNothing) {
  const std::wstring folder = ModuleFolder(L"nothing_loads");
  AddVersion(folder, L"1.0.0", "{");
  EXPECT_EQ(LoadModule(Narrow(folder)), nullptr);
  EXPECT_EQ(ModuleTable::Instance().Find("nothing_loads"), nullptr);
  EXPECT_EQ(LoadModule(Narrow(root_.path() + L"no_such_module\\")), nullptr);
}

TEST_F(PluginLoaderTest, SecondLoadOfTheSameFolderLoadsNothing) {
  const std::wstring folder = ModuleFolder(L"twice");
  AddVersion(folder, L"1.0.0", Descriptor("twice.dll", "1.0.0"), TestModuleDll(kProbe), L"twice.dll");
  const ModuleRecord* first = LoadModule(Narrow(folder));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(LoadModule(Narrow(folder)), nullptr);
  EXPECT_EQ(ModuleTable::Instance().Find("twice"), first);
}

TEST_F(PluginLoaderTest, RecordCarriesTheDescriptorAndRegistersItsNames) {
  const std::wstring folder = ModuleFolder(L"record");
  AddVersion(folder, L"1.2.3",
             Descriptor("record.dll", "1.2.3",
                        "\"width\": 800, \"height\": 600, \"command-create\": \"RECORD_CREATE\", "
                        "\"command-recv\": [\"RECORD_A\", \"RECORD_A\", 42, \"RECORD_B\"], "
                        "\"command-send\": [\"X\"], \"require\": [\"core\"], \"optional\": [\"o\"]"),
             TestModuleDll(kProbe), L"record.dll");
  const ModuleRecord* record = LoadModule(Narrow(folder));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->type, 1u);
  EXPECT_EQ(record->id, "probe");
  EXPECT_EQ(record->width, 800);
  EXPECT_EQ(record->height, 600);
  EXPECT_EQ(record->creation_command, "RECORD_CREATE");
  EXPECT_EQ(record->received, (std::vector<std::string>{"RECORD_A", "RECORD_A", "RECORD_B"}));
  EXPECT_EQ(record->sent, (std::vector<std::string>{"X"}));
  EXPECT_EQ(record->required, (std::vector<std::string>{"core"}));
  EXPECT_EQ(record->optional, (std::vector<std::string>{"o"}));
  EXPECT_EQ(record->library_path, Narrow(folder) + "1.2.3\\x64\\record.dll");
  EXPECT_EQ(CommandBus::Host().ReceiverCount("RECORD_A"), 2u);
  EXPECT_EQ(CommandBus::Host().ReceiverCount("RECORD_B"), 1u);

  // Listed twice: a broadcast reaches it twice, a targeted send once.
  HMODULE library = LoadedLibrary(record->library_path);
  ASSERT_NE(library, nullptr);
  auto log = Export<ProbeLogFunction>(library, "ProbeLog");
  TERObserveData1 broadcast = {};
  broadcast.name = "RECORD_A";
  SendCommand(&broadcast);
  EXPECT_EQ(std::string(log()), "RECORD_A||0000000000000000\nRECORD_A||0000000000000000\n");
  Export<void (*)()>(library, "ProbeClear")();
  TERObserveData1 targeted = {};
  targeted.name = "RECORD_A";
  targeted.target = library;
  SendCommand(&targeted);
  EXPECT_EQ(std::string(log()), "RECORD_A||0000000000000000\n");
}

TEST_F(PluginLoaderTest, SubFolderLibraryFindsItsOwnDependencyNotAPlantedOne) {
  const std::wstring folder = ModuleFolder(L"dependent");
  AddVersion(folder, L"1.0.0", Descriptor("sub/dep_user.dll", "1.0.0"));
  MakeFolders(folder + L"1.0.0\\x64\\sub");
  CopyInto(TestModuleDll(L"dep_user_module.dll"), folder + L"1.0.0\\x64\\sub\\dep_user.dll");
  CopyInto(TestModuleDll(L"dep_real\\probe_dep.dll"), folder + L"1.0.0\\x64\\sub\\probe_dep.dll");

  // An impostor in the current directory must not be picked up.
  TempFolder planted(L"planted");
  CopyInto(TestModuleDll(L"dep_impostor\\probe_dep.dll"), planted.path() + L"probe_dep.dll");
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ::SetCurrentDirectoryW(planted.path().c_str());
  const ModuleRecord* record = LoadModule(Narrow(folder));
  ::SetCurrentDirectoryW(previous);

  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->library_path, Narrow(folder) + "1.0.0\\x64\\sub\\dep_user.dll");
  HMODULE library = LoadedLibrary(record->library_path);
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(Export<int (*)()>(library, "DependencyValue")(), 1);
}

TEST_F(PluginLoaderTest, ModulesTalkThroughTheBus) {
  const std::wstring a_folder = ModuleFolder(L"talk_a");
  const std::wstring b_folder = ModuleFolder(L"talk_b");
  const std::string receives = "\"command-recv\": [\"PROBE_PING\"]";
  AddVersion(a_folder, L"1.0.0", Descriptor("talk_a.dll", "1.0.0", receives), TestModuleDll(kProbe),
             L"talk_a.dll");
  AddVersion(b_folder, L"1.0.0", Descriptor("talk_b.dll", "1.0.0", receives), TestModuleDll(kProbe),
             L"talk_b.dll");
  const ModuleRecord* a = LoadModule(Narrow(a_folder));
  const ModuleRecord* b = LoadModule(Narrow(b_folder));
  ASSERT_TRUE(a && b);
  HMODULE a_library = LoadedLibrary(a->library_path);
  HMODULE b_library = LoadedLibrary(b->library_path);
  ASSERT_NE(a_library, b_library);

  static int host_heard = 0;
  host_heard = 0;
  RegisterCommandHandler("PROBE_PING", [](TERObserveData1* record) {
    ++host_heard;
    ++record->value;
  });

  // A's broadcast reaches B and the host, not A.
  EXPECT_EQ(Export<ProbeSendFunction>(a_library, "ProbeSend")("PROBE_PING", nullptr), 2);
  EXPECT_EQ(std::string(Export<ProbeLogFunction>(a_library, "ProbeLog")()), "");
  EXPECT_EQ(std::string(Export<ProbeLogFunction>(b_library, "ProbeLog")()),
            "PROBE_PING||0000000000000000\n");
  EXPECT_EQ(host_heard, 1);

  // A send targeted at B reaches B alone.
  Export<void (*)()>(b_library, "ProbeClear")();
  EXPECT_EQ(Export<ProbeSendFunction>(a_library, "ProbeSend")("PROBE_PING", b_library), 1);
  EXPECT_EQ(host_heard, 1);
  EXPECT_EQ(std::string(Export<ProbeLogFunction>(b_library, "ProbeLog")()),
            "PROBE_PING||0000000000000000\n");
}

TEST_F(PluginLoaderTest, SendsFromRegisterModuleReachOnlyEarlierModules) {
  const std::string receives = "\"command-recv\": [\"PROBE_PING\"]";
  const std::wstring early = ModuleFolder(L"early");
  const std::wstring sender = ModuleFolder(L"sender");
  AddVersion(early, L"1.0.0", Descriptor("early.dll", "1.0.0", receives), TestModuleDll(kProbe),
             L"early.dll");
  AddVersion(sender, L"1.0.0", Descriptor("sender.dll", "1.0.0", receives),
             TestModuleDll(L"probe_sender.dll"), L"sender.dll");
  const int before = static_cast<int>(CommandBus::Host().ReceiverCount("PROBE_PING"));
  ASSERT_NE(LoadModule(Narrow(early)), nullptr);
  const ModuleRecord* record = LoadModule(Narrow(sender));
  ASSERT_NE(record, nullptr);
  // Every earlier receiver answered once; the sender itself was not registered yet.
  const std::string log =
      Export<ProbeLogFunction>(LoadedLibrary(record->library_path), "ProbeLog")();
  EXPECT_EQ(log, "register-ping-answers:" + std::to_string(before + 1) + "\n");
}

}  // namespace
