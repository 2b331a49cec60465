#include "host/application_manifest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/early_errors.h"
#include "app/process_state.h"
#include "host/command_bus.h"
#include "host/module_table.h"
#include "module_folders.h"
#include "ter_user_defaults.h"
#include "ter_utility.h"

namespace {

using ProbeLogFunction = const char* (*)();

// The manifest tests run in the modules base folder (the test program's folder), with
// module folders made for them and removed afterwards.
class ManifestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char* base = TerUtilityApp()->ModulesFolder();
    base_ = std::wstring(base, base + std::strlen(base));
    TerUtilityString()->Release(base);
    SetDpiScale(1.0f);
    frame_ = ::CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP, 0, 0, 740, 240, nullptr,
                               nullptr, nullptr, nullptr);
    view_ = ::CreateWindowExW(0, L"STATIC", L"view", WS_CHILD, 2, 2, 736, 236, frame_, nullptr,
                              nullptr, nullptr);
  }
  void TearDown() override {
    ::DestroyWindow(frame_);
    for (const std::wstring& folder : folders_) RemoveTree(base_ + folder);
  }

  void AddProbeModule(const std::wstring& name, const std::string& creation_command) {
    folders_.push_back(name);
    AddVersion(base_ + name + L"\\", L"1.0.0",
               Descriptor(Narrow(name) + ".dll", "1.0.0",
                          "\"command-create\": \"" + creation_command + "\", " +
                              "\"command-recv\": [\"" + creation_command + "\"]"),
               TestModuleDll(L"probe_module.dll"), name + L".dll");
  }

  bool UseManifest(const std::string& json) {
    const std::wstring path = manifest_folder_.path() + L"ApplicationManifest.json";
    WriteText(path, json);
    return InitUserDefaults("ApplicationManifest", path.c_str());
  }

  std::string ProbeLog(const std::string& key) {
    const ModuleRecord* record = ModuleTable::Instance().Find(key);
    if (!record) return "<not loaded>";
    return Export<ProbeLogFunction>(LoadedLibrary(record->library_path), "ProbeLog")();
  }

  static std::string Hex(HWND window) {
    char text[32];
    std::snprintf(text, sizeof(text), "%p", static_cast<void*>(window));
    return text;
  }

  std::wstring base_;
  std::vector<std::wstring> folders_;
  TempFolder manifest_folder_{L"manifest"};
  HWND frame_ = nullptr;
  HWND view_ = nullptr;
};

TEST_F(ManifestTest, UnusableManifestsLoadAndRegisterNothing) {
  AddProbeModule(L"unusable_probe", "UNUSABLE_CREATE");
  const std::string entry = R"({"windows:name": "unusable_probe"})";
  const std::string manifests[] = {
      "",  // missing file: nothing under the name
      R"({"manifest": {"windows::version": 2, "application": {"modules": [)" + entry + "]}}}",
      R"({"manifest": {"windows::version": "1", "application": {"modules": [)" + entry + "]}}}",
      R"({"manifest": {"application": {"modules": [)" + entry + "]}}}",
  };
  for (const std::string& manifest : manifests) {
    if (manifest.empty()) {
      EXPECT_FALSE(InitUserDefaults("ApplicationManifest", L"Z:\\no\\such\\manifest.json"));
    } else {
      ASSERT_TRUE(UseManifest(manifest));
    }
    const size_t registered = CommandBus::Host().ReceiverCount("LIBPLATFORM_COMMAND_FIND_URL");
    EXPECT_FALSE(LoadModulesAndRegisterPlatformCommands([](TERObserveData1*) {}));
    EXPECT_FALSE(CreateModuleWindows(frame_, view_));
    EXPECT_EQ(CommandBus::Host().ReceiverCount("LIBPLATFORM_COMMAND_FIND_URL"), registered);
    EXPECT_EQ(ModuleTable::Instance().Find("unusable_probe"), nullptr);
  }
}

TEST_F(ManifestTest, ModulesLoadInOrderAndWindowsGetTheirPlacement) {
  AddProbeModule(L"placed_first", "PROBE_CREATE");
  AddProbeModule(L"placed_second", "SECOND_CREATE");
  ASSERT_TRUE(UseManifest(R"({"manifest": {"windows::version": 1, "application": {"modules": [
      {"windows:name": "placed_first", "windows:parentHwnd": "${topViewHwnd}",
       "windows:parameters": {"windows:rect": {"rect": ["0", "0", "${topViewWidth}", "${topViewHeight}"],
                                               "offset": ["0", "0", "0", "0"]},
                              "windows:extra": {"page": "home", "n": [1, 2]}},
       "window:hwnd": "first"},
      {"windows:name": "placed_second", "windows:parentHwnd": "main", "window:hwnd": "second"},
      {"windows:name": "never_loaded", "window:hwnd": "ghost"},
      {"windows:parentHwnd": "${topViewHwnd}"}
  ]}}})"));

  const size_t registered = CommandBus::Host().ReceiverCount("LIBPLATFORM_COMMAND_EXIT_APP");
  EXPECT_TRUE(LoadModulesAndRegisterPlatformCommands([](TERObserveData1*) {}));
  EXPECT_EQ(CommandBus::Host().ReceiverCount("LIBPLATFORM_COMMAND_EXIT_APP"), registered + 1);
  EXPECT_EQ(CommandBus::Host().ReceiverCount("LIBCOMM_COMMAND_DOWNLOAD_UPDATE_CANCEL"),
            registered + 1);
  ASSERT_NE(ModuleTable::Instance().Find("placed_first"), nullptr);
  ASSERT_NE(ModuleTable::Instance().Find("placed_second"), nullptr);
  const ModuleRecord* host = ModuleTable::Instance().Find("Product");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->type, 2u);
  EXPECT_EQ(host->id, "Product");

  // The first module makes a child of the view and leaves it in `window`.
  auto create_child = Export<void (*)(int)>(
      LoadedLibrary(ModuleTable::Instance().Find("placed_first")->library_path),
      "ProbeCreateChild");
  create_child(1);
  EXPECT_TRUE(CreateModuleWindows(frame_, view_));
  create_child(0);

  EXPECT_EQ(ProbeLog("placed_first"),
            "PROBE_CREATE|{\"rect\":[0,0,736,236],\"extra\":{\"page\":\"home\",\"n\":[1,2]}}|" +
                Hex(view_) + "\n");
  EXPECT_EQ(ProbeLog("placed_second"), "SECOND_CREATE|{}|" + Hex(frame_) + "\n");

  HWND first = nullptr;
  ASSERT_TRUE(FindModuleWindow("first", &first));
  EXPECT_EQ(::GetParent(first), view_);
  HWND second = nullptr;
  ASSERT_TRUE(FindModuleWindow("second", &second));
  EXPECT_EQ(second, frame_);  // the module left the parent in `window`
  HWND ghost = nullptr;
  EXPECT_FALSE(FindModuleWindow("ghost", &ghost));
}

// The folder name comes from the manifest and is joined to the modules folder; like a
// descriptor's "path", it may not climb out of it.
TEST_F(ManifestTest, ModuleNamesThatLeaveTheModulesFolderAreNotLoaded) {
  TempFolder outside(L"outside");  // a sibling of the modules folder, both in the temp folder
  const std::wstring parent = base_.substr(0, base_.rfind(L'\\', base_.size() - 2) + 1);
  ASSERT_EQ(outside.path().compare(0, parent.size(), parent), 0) << "not siblings";
  std::string outside_name = Narrow(outside.path().substr(parent.size()));
  outside_name.back() = '/';
  AddVersion(outside.path() + L"escaped_probe\\", L"1.0.0",
             Descriptor("escaped.dll", "1.0.0", R"("command-recv": ["ESCAPED_CREATE"])"),
             TestModuleDll(L"probe_module.dll"), L"escaped.dll");
  const std::string climbing = "../" + outside_name + "escaped_probe";
  for (const std::string& name : {climbing, std::string("placed_nowhere\\\\..\\\\..\\\\x")}) {
    ASSERT_TRUE(UseManifest(R"({"manifest": {"windows::version": 1, "application": {"modules": [
        {"windows:name": ")" + name + R"("}]}}})"));
    EXPECT_TRUE(LoadModulesAndRegisterPlatformCommands([](TERObserveData1*) {}));
  }
  EXPECT_EQ(ModuleTable::Instance().Find("escaped_probe"), nullptr);
  EXPECT_EQ(CommandBus::Host().ReceiverCount("ESCAPED_CREATE"), 0u);
  bool logged = false;
  for (const std::string& error : KeptErrors())
    logged |= error.find("escaped_probe\" is not a folder inside the modules folder") !=
              std::string::npos;
  EXPECT_TRUE(logged);
}

TEST_F(ManifestTest, ScaledPlacementReachesTheModule) {
  AddProbeModule(L"scaled_probe", "SCALED_CREATE");
  ASSERT_TRUE(UseManifest(R"({"manifest": {"windows::version": 1, "application": {"modules": [
      {"windows:name": "scaled_probe",
       "windows:parameters": {"windows:rect": {"rect": ["10", "20", "100", "50"],
                                               "offset": ["2", "2", "-4", "-4"]}}}]}}})"));
  LoadModulesAndRegisterPlatformCommands([](TERObserveData1*) {});
  SetDpiScale(1.5f);
  EXPECT_TRUE(CreateModuleWindows(frame_, view_));
  SetDpiScale(1.0f);
  EXPECT_EQ(ProbeLog("scaled_probe"),
            "SCALED_CREATE|{\"rect\":[18,33,144,69]}|" + Hex(frame_) + "\n");
}

}  // namespace
