#include "dialog_fixture.h"

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "host/resource_catalogues.h"
#include "linguo/linguo.h"
#include "shell/language.h"
#include "ter_user_defaults.h"
#include "view/dispatch_queue.h"

namespace {

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == DispatchQueue::kMainQueueMessage) {
    std::function<void()>* closure = DispatchQueue::ClaimClosure(wparam);
    if (closure && *closure) (*closure)();
    delete closure;
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

HWND g_owner = nullptr;

const char* const kPictures[] = {
    "close-normal.png", "close-pressed.png", "alert.png", "application128x128-2.png",
    "dialog\\slide-down-normal.png", "dialog\\slide-down-pressed.png",
    "dialog\\take-back-normal.png", "dialog\\take-back-pressed.png"};

class DialogEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    const std::wstring app = AppFolder();
    ASSERT_TRUE(InitUserDefaults("url", (app + L"Option.json").c_str()));
    ASSERT_TRUE(InitUserDefaults("langSite", (app + L"LangSite.json").c_str()));
    for (const char* key : kPictures) {
      std::wstring path = app + L"Resources\\";
      for (const char* c = key; *c; ++c) path += static_cast<wchar_t>(*c);
      AddImage(key, Gdiplus::Bitmap::FromFile(path.c_str()));
    }
    AddUrl("url:brand", "https://www.pellavorne.example/");
    UseLanguage(3);
    UseScale(1.0f);

    WNDCLASSW main_class = {};
    main_class.lpfnWndProc = &MainProc;
    main_class.hInstance = ::GetModuleHandleW(nullptr);
    main_class.lpszClassName = L"DialogTestMain";
    ::RegisterClassW(&main_class);
    HWND main = ::CreateWindowExW(0, L"DialogTestMain", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, main_class.hInstance, nullptr);
    DispatchQueue::DispatchQueueInit(main);

    WNDCLASSW owner_class = main_class;
    owner_class.lpfnWndProc = &::DefWindowProcW;
    owner_class.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    owner_class.lpszClassName = L"DialogTestOwner";
    ::RegisterClassW(&owner_class);
    g_owner = ::CreateWindowExW(0, L"DialogTestOwner", L"owner", WS_POPUP, 100, 100, 736, 236,
                                nullptr, nullptr, owner_class.hInstance, nullptr);
    ::ShowWindow(g_owner, SW_SHOWNOACTIVATE);
    PumpPending();
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};

const bool g_registered = (::testing::AddGlobalTestEnvironment(new DialogEnvironment), true);

struct DialogSearch {
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == ::GetCurrentProcessId() && std::wstring(name) == L"#32770" &&
      ::IsWindowVisible(window)) {
    reinterpret_cast<DialogSearch*>(context)->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring AppFolder() { return std::wstring(OSTREVAN_APP_DIR_W) + L"\\"; }

void PumpPending() {
  // Bounded, so a flood of posted work cannot keep a deadline from being checked.
  MSG msg;
  for (int i = 0; i < 500 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  while (!done() && ::GetTickCount64() < deadline) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpPending();
  }
  return done();
}

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

HWND TestOwner() { return g_owner; }

void UseScale(float scale) {
  wxLocale* locale = wxGetLocale();
  BuildFontTable(scale, locale && locale->IsDefaultCharsetLanguage() != 0);
}

void UseLanguage(int number) {
  static const wchar_t* const kFolders[] = {
      L"zh_CN", L"zh_TW", L"de_DE", L"en_US", L"fr_FR", L"it_IT", L"es_ES", L"pt_PT",
      L"ja_JP", L"ko_KR", L"ru_RU", L"id_ID", L"hi_IN", L"tr_TR", L"nl_NL"};
  wxLocale* locale = wxCreateLocale(number);
  locale->AddCatalog(number, (std::wstring(kFolders[number]) + L"\\strings.mo").c_str());
  ASSERT_TRUE(locale->Load((AppFolder() + L"I18n").c_str(), 0)) << number;
  SetCurrentLanguageNumber(number);
}

HWND WaitForDialog(DWORD timeout_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  do {
    DialogSearch search = {nullptr};
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    ::Sleep(20);
  } while (::GetTickCount64() < deadline);
  return nullptr;
}

void ClickControl(HWND control) {
  RECT client = ClientRectOf(control);
  const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(control, WM_LBUTTONUP, 0, at);
}

void ClickButton(HWND dialog, int id) { ClickControl(::GetDlgItem(dialog, id)); }

INT_PTR RunModal(const std::function<INT_PTR()>& run, const std::function<void(HWND)>& act) {
  std::thread helper([&act] {
    HWND dialog = WaitForDialog();
    if (!dialog) return;
    act(dialog);
    // A test that failed half-way must not leave the program in a modal loop for ever.
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (::IsWindow(dialog) && ::GetTickCount64() < deadline) ::Sleep(20);
    if (::IsWindow(dialog)) ::PostMessageW(dialog, WM_COMMAND, 5050, 0);
  });
  const INT_PTR result = run();
  helper.join();
  return result;
}

RECT ClientRectOf(HWND window) {
  RECT rect = {};
  ::GetClientRect(window, &rect);
  return rect;
}

RECT RectIn(HWND child, HWND parent) {
  RECT rect = {};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}
