#include "home_view.h"

#include <cstdlib>
#include <cwchar>
#include <type_traits>
#include <utility>

#include "contracts/ter_user_defaults.h"
#include "home_texts.h"

namespace {

constexpr wchar_t kClassName[] = L"PellavorneHomeView";
constexpr UINT_PTR kStatusTimer = 1;
constexpr UINT kStatusPeriodMs = 250;
constexpr UINT kTitleIdBase = 3001;
constexpr UINT kActionIdBase = 3101;
// Reflected messages reach a control as this base + the original message.
constexpr UINT kReflectBase = WM_USER + 0x1c00;

struct TitleButtonInfo {
  const wchar_t* icon;   // images/<icon>-normal.png and -pressed.png
  const char* tooltip;   // text key
  const char* command;   // sent on click
};
constexpr TitleButtonInfo kTitleButtons[kTitleButtonCount] = {
    {L"settings", "settings", "LIBPLATFORM_COMMAND_OPEN_SETTING"},
    {L"about", "about", "LIBPLATFORM_COMMAND_OPEN_ABOUT"},
    {L"update", "check-for-updates", "LIBPLATFORM_COMMAND_CHECK_FOR_UPDATE"},
    {L"minimize", "minimize", "LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY"},
    {L"maximize", "maximize", "LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET"},
    {L"tray", "hide-to-tray", "LIBPLATFORM_COMMAND_CLOSE_WINDOW"},
    {L"exit", "exit", "LIBPLATFORM_COMMAND_EXIT_APP"},
};

struct ActionInfo {
  const char* text;     // text key
  const char* command;  // sent on click
  bool accent;          // the accent colour, else the plain button colour
};
constexpr ActionInfo kActions[kActionButtonCount] = {
    {"screenshot", "LIBRECORDER_COMMAND_START_SCREEN_CAPTURE", true},
    {"start-recording", "LIBRECORDER_COMMAND_START_SCREEN_RECORDER", true},
    {"stop-recording", "LIBRECORDER_COMMAND_STOP_SCREEN_RECORDER", false},
    {"output-folder", "LIBRECORDER_COMMAND_OPEN_OUTPUT_DIR", false},
};

using Handler = LRESULT (HomeView::*)(WPARAM, LPARAM);
struct MessageEntry {
  UINT message;
  Handler handler;
};
constexpr MessageEntry kMessageMap[] = {
    {WM_CREATE, &HomeView::OnCreate},
    {WM_DESTROY, &HomeView::OnDestroy},
    {WM_SIZE, &HomeView::OnSize},
    {WM_PAINT, &HomeView::OnPaint},
    {WM_ERASEBKGND, &HomeView::OnEraseBackground},
    {WM_TIMER, &HomeView::OnTimer},
    {WM_COMMAND, &HomeView::OnCommand},
    {WM_DRAWITEM, &HomeView::OnDrawItem},
    {WM_LBUTTONDOWN, &HomeView::OnLeftButtonDown},
    {WM_LBUTTONDBLCLK, &HomeView::OnLeftButtonDoubleClick},
};

LRESULT CALLBACK HomeWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<HomeView*>(create->lpCreateParams)->Attach(window);
  }
  auto* view = reinterpret_cast<HomeView*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (view) {
    for (const MessageEntry& entry : kMessageMap) {
      if (entry.message == message) return (view->*entry.handler)(wparam, lparam);
    }
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

COLORREF OptionColour(const char* key, COLORREF fallback) {
  ITerUserDefaults* options = GetUserDefaults("url");  // Option.json, as the host loads it
  if (!options) return fallback;
  const TerColor none = {-1, -1, -1};
  const TerColor colour = options->GetColor(key, nullptr, none);
  if (colour.red < 0) return fallback;
  return RGB(colour.red & 0xFF, colour.green & 0xFF, colour.blue & 0xFF);
}

// Vantorel's buttons take GDI colour references.
DWORD ButtonColour(COLORREF colour) { return static_cast<DWORD>(colour); }

std::wstring ModuleFolder() {
  HMODULE self = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&HomeWindowProc), &self);
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

template <typename T>
T* Borrowed(ModuleLink* link, const char* command, const char* key) {
  TERObserveData1 record = {};
  record.name = command;
  record.text = const_cast<char*>(key);
  link->Send(&record);
  return static_cast<T*>(record.object);
}

std::wstring Elapsed(int64_t ms) {
  wchar_t text[32];
  const int64_t seconds = ms / 1000;
  std::swprintf(text, 32, L"%02lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace

HomeView::~HomeView() {
  if (window_) ::DestroyWindow(window_);
}

HWND HomeView::Create(HWND parent, const RECT& rect) {
  WNDCLASSW window_class = {};
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = &HomeWindowProc;
  window_class.hInstance = reinterpret_cast<HINSTANCE>(link_->id());
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = kClassName;
  ::RegisterClassW(&window_class);
  return ::CreateWindowExW(0, kClassName, L"home", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                           rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                           parent, nullptr, window_class.hInstance, this);
}

void HomeView::Resize(int width, int height) {
  if (window_) ::MoveWindow(window_, 0, 0, width, height, TRUE);
}

LRESULT HomeView::OnCreate(WPARAM, LPARAM) {
  scale_ = link_->DpiScale();
  title_colour_ = OptionColour("color:title:background", title_colour_);
  body_colour_ = OptionColour("color:setting:general:background", body_colour_);
  TERObserveData1 alias = {};
  alias.name = "LIBPLATFORM_COMMAND_GET_PRODUCT_ALIAS";
  link_->Send(&alias);
  if (alias.text) {
    product_name_ = ToUtf16(alias.text);
    std::free(alias.text);
  }
  CreateButtons();
  FollowLanguage();
  ::SetTimer(window_, kStatusTimer, kStatusPeriodMs, nullptr);
  return 0;
}

LRESULT HomeView::OnDestroy(WPARAM, LPARAM) {
  ::KillTimer(window_, kStatusTimer);
  window_ = nullptr;
  return 0;
}

Gdiplus::Bitmap* HomeView::Icon(const wchar_t* name) {
  const std::wstring path = ModuleFolder() + L"images\\" + name + L".png";
  return Gdiplus::Bitmap::FromFile(path.c_str(), FALSE);
}

void HomeView::CreateButtons() {
  for (int i = 0; i < kTitleButtonCount; ++i) {
    icons_[i][0].reset(Icon((std::wstring(kTitleButtons[i].icon) + L"-normal").c_str()));
    icons_[i][1].reset(Icon((std::wstring(kTitleButtons[i].icon) + L"-pressed").c_str()));
    KvImgButton& button = title_buttons_[i];
    button.SetDpiScale(scale_);
    button.CreateButton(window_, kTitleIdBase + i, true);
    button.SetBkgColor(title_colour_);
    button.Init(icons_[i][0].get(), 0, 0, icons_[i][1].get());
  }
  Gdiplus::Font* font = Borrowed<Gdiplus::Font>(link_, "LIBPLATFORM_COMMAND_GET_GDIPLUS_FONT",
                                                "font:gdiplus:16:bold");
  const COLORREF accent = OptionColour("color:common:button:accent:normal", RGB(59, 130, 246));
  const COLORREF accent_pressed =
      OptionColour("color:common:button:accent:pressed", RGB(37, 99, 235));
  const COLORREF plain = OptionColour("color:common:button:normal", RGB(99, 109, 128));
  const COLORREF plain_pressed = OptionColour("color:common:button:pressed", RGB(71, 80, 97));
  for (int i = 0; i < kActionButtonCount; ++i) {
    KvSwitchButton& button = actions_[i];
    button.SetDpiScale(scale_);
    button.CreateButton(window_, font, kActionIdBase + i);
    button.SetRadio(false).SetRoundRect(true).SetHMargin(HomeScale(18, scale_))
        .SetVMargin(HomeScale(9, scale_)).SetBackgroundColor(ButtonColour(body_colour_))
        .SetColorDisable(RGB(213, 217, 224), RGB(255, 255, 255));
    const COLORREF rest = kActions[i].accent ? accent : plain;
    const COLORREF pressed = kActions[i].accent ? accent_pressed : plain_pressed;
    button.Init(0, 0, L"", ButtonColour(rest), 0xFFFFFF, ButtonColour(pressed), 0xFFFFFF);
  }
}

void HomeView::FollowLanguage() {
  HomeTexts().SetLanguage(LanguageFromSubDirectory(link_->LanguageSubDirectory()));
  ApplyTexts();
}

void HomeView::ApplyTexts() {
  const ModuleTexts& texts = HomeTexts();
  for (int i = 0; i < kTitleButtonCount; ++i)
    title_buttons_[i].SetTooltip(texts.Get(kTitleButtons[i].tooltip).c_str());
  for (int i = 0; i < kActionButtonCount; ++i)
    actions_[i].SetText(texts.Get(kActions[i].text).c_str());
  recorder_state_ = -1;  // the status line is written anew
  RefreshStatus();
  Relayout();
}

void HomeView::Relayout() {
  RECT client = {};
  ::GetClientRect(window_, &client);
  HomeLayoutInput input = {client.right, client.bottom, scale_, {}};
  for (int i = 0; i < kActionButtonCount; ++i) {
    RECT rect = {};
    ::GetWindowRect(actions_[i], &rect);
    input.actions[i] = {rect.right - rect.left, rect.bottom - rect.top};
  }
  layout_ = LayoutHome(input);
  for (int i = 0; i < kTitleButtonCount; ++i) title_buttons_[i].MoveWindow(&layout_.title_buttons[i]);
  for (int i = 0; i < kActionButtonCount; ++i) actions_[i].MoveWindow(&layout_.actions[i]);
  ::InvalidateRect(window_, nullptr, FALSE);
}

LRESULT HomeView::OnSize(WPARAM, LPARAM) {
  Relayout();
  return 0;
}

LRESULT HomeView::OnEraseBackground(WPARAM, LPARAM) { return 1; }

LRESULT HomeView::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  HDC target = ::BeginPaint(window_, &paint);
  RECT client = {};
  ::GetClientRect(window_, &client);
  HDC dc = ::CreateCompatibleDC(target);
  HBITMAP bitmap = ::CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ previous_bitmap = ::SelectObject(dc, bitmap);

  HBRUSH body = ::CreateSolidBrush(body_colour_);
  ::FillRect(dc, &client, body);
  ::DeleteObject(body);
  HBRUSH title = ::CreateSolidBrush(title_colour_);
  ::FillRect(dc, &layout_.title_band, title);
  ::DeleteObject(title);

  ::SetBkMode(dc, TRANSPARENT);
  HFONT name_font = Borrowed<std::remove_pointer_t<HFONT>>(link_, "LIBPLATFORM_COMMAND_GET_FONT",
                                                            "font:17:bold");
  HFONT status_font = Borrowed<std::remove_pointer_t<HFONT>>(
      link_, "LIBPLATFORM_COMMAND_GET_FONT", "font:15:normal");
  HGDIOBJ previous_font = ::SelectObject(dc, name_font ? name_font : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetTextColor(dc, RGB(255, 255, 255));
  RECT name = layout_.product_name;
  ::DrawTextW(dc, product_name_.c_str(), -1, &name,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (status_font) ::SelectObject(dc, status_font);
  ::SetTextColor(dc, recorder_state_ == 1 ? RGB(220, 38, 38) : RGB(88, 99, 122));
  RECT status = layout_.status;
  ::DrawTextW(dc, status_.c_str(), -1, &status,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  ::SelectObject(dc, previous_font);

  ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ::SelectObject(dc, previous_bitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::EndPaint(window_, &paint);
  return 0;
}

void HomeView::RefreshStatus() {
  TERObserveData1 record = {};
  record.name = "LIBRECORDER_COMMAND_GET_STATUS";
  record.value = -1;  // stays -1 when no recorder answers
  link_->Send(&record);
  const int state = static_cast<int>(record.value);
  std::wstring status;
  switch (state) {
    case 1:
      status = FormatText(HomeTexts().Get("recording-%s"), Elapsed(static_cast<int64_t>(record.extra1)));
      break;
    case 2:
      status = HomeTexts().Get("saving");
      break;
    default:
      status = HomeTexts().Get("ready");
      break;
  }
  if (state != recorder_state_) {
    actions_[kStartButton].EnableWindow(state != 1 && state != 2);
    actions_[kStopButton].EnableWindow(state == 1);
  }
  if (state != recorder_state_ || status != status_) {
    recorder_state_ = state;
    status_ = std::move(status);
    ::InvalidateRect(window_, &layout_.status, FALSE);
  }
}

LRESULT HomeView::OnTimer(WPARAM id, LPARAM) {
  if (id == kStatusTimer) RefreshStatus();
  return 0;
}

void HomeView::Run(UINT id) {
  if (id >= kTitleIdBase && id < kTitleIdBase + kTitleButtonCount) {
    link_->SendName(kTitleButtons[id - kTitleIdBase].command);
    // The settings may have changed the language: the texts follow at once.
    if (id - kTitleIdBase == kSettingsButton && window_) FollowLanguage();
  } else if (id >= kActionIdBase && id < kActionIdBase + kActionButtonCount) {
    link_->SendName(kActions[id - kActionIdBase].command);
    RefreshStatus();
  }
}

LRESULT HomeView::OnCommand(WPARAM wparam, LPARAM) {
  if (HIWORD(wparam) == BN_CLICKED) Run(LOWORD(wparam));
  return 0;
}

// Owner-drawn buttons paint themselves when the message comes back to them.
LRESULT HomeView::OnDrawItem(WPARAM wparam, LPARAM lparam) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
  return ::SendMessageW(item->hwndItem, kReflectBase + WM_DRAWITEM, wparam, lparam);
}

// The title bar moves the whole frame, as a caption would.
LRESULT HomeView::OnLeftButtonDown(WPARAM, LPARAM lparam) {
  const POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  if (!::PtInRect(&layout_.title_band, point)) return 0;
  ::ReleaseCapture();
  ::SendMessageW(::GetAncestor(window_, GA_ROOT), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

LRESULT HomeView::OnLeftButtonDoubleClick(WPARAM, LPARAM lparam) {
  const POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  if (::PtInRect(&layout_.title_band, point))
    link_->SendName("LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET");
  return 0;
}
