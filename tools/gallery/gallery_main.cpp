// control_gallery [--page NAME] [--ready FILE]
// Shows every gallery page (or one) at scale 1.0 and 1.5 side by side. With --ready it writes
// "width height" of the window to FILE once painted and closes when FILE is deleted, so a
// script can take the screenshot in between (scripts/gallery).
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gallery.h"
#include "winlayer/window.h"

namespace {

constexpr float kScales[] = {1.0f, 1.5f};
constexpr int kGap = 12;
constexpr int kTitle = 26;
constexpr UINT_PTR kReadyTimer = 1;

class GalleryPanel : public CWindowImpl<GalleryPanel, CWindow, CNullTraits> {
 public:
  DECLARE_WND_CLASS_EX(L"VantorelGalleryPanel", 0, COLOR_WINDOW)
  BEGIN_MSG_MAP(GalleryPanel)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnStaticColor)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

 private:
  LRESULT OnStaticColor(UINT, WPARAM dc, LPARAM, BOOL&) {
    ::SetBkColor(reinterpret_cast<HDC>(dc), RGB(255, 255, 255));
    ::SetTextColor(reinterpret_cast<HDC>(dc), RGB(110, 110, 110));
    return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
  }
};

struct Fonts {
  explicit Fonts(float scale)
      : font(L"Arial", 13 * scale, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel),
        bold(L"Arial", 15 * scale, Gdiplus::FontStyleBold, Gdiplus::UnitPixel),
        hfont(::CreateFontW(-static_cast<int>(13 * scale), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                            DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Arial")) {}
  ~Fonts() { ::DeleteObject(hfont); }
  Gdiplus::Font font;
  Gdiplus::Font bold;
  HFONT hfont;
};

class GalleryWindow : public CWindowImpl<GalleryWindow, CWindow, CNullTraits> {
 public:
  DECLARE_WND_CLASS_EX(L"VantorelGallery", 0, COLOR_BTNFACE)

  GalleryWindow(std::string page, std::wstring ready) : page_(std::move(page)), ready_(std::move(ready)) {}

  bool Build() {
    RECT none = {0, 0, 100, 100};
    if (!Create(nullptr, none, L"Vantorel control gallery", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN)) {
      return false;
    }
    for (float scale : kScales) fonts_.push_back(std::make_unique<Fonts>(scale));
    int y = kGap;
    int width = 0;
    for (const GalleryPage& page : GalleryPages()) {
      if (!page_.empty() && page_ != page.name) continue;
      titles_.push_back({y, std::wstring(page.name, page.name + strlen(page.name))});
      y += kTitle;
      int x = kGap;
      int row = 0;
      for (size_t s = 0; s < 2; ++s) {
        auto panel = std::make_unique<GalleryPanel>();
        RECT frame = {x, y, x + 10, y + 10};
        panel->Create(m_hWnd, frame, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
        GalleryPageContext context{*panel, kScales[s], &fonts_[s]->font, &fonts_[s]->bold,
                                   fonts_[s]->hfont, &art_, &kept_};
        page.build(context);
        const SIZE used = Extent(*panel, context.Scale(10));
        ::SetWindowPos(*panel, nullptr, 0, 0, used.cx, used.cy, SWP_NOMOVE | SWP_NOZORDER);
        x += used.cx + kGap;
        row = std::max<int>(row, used.cy);
        panels_.push_back(std::move(panel));
      }
      width = std::max(width, x);
      y += row + kGap;
    }
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width + 2, y + 2, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(m_hWnd, SW_SHOWNA);
    ::UpdateWindow(m_hWnd);
    if (!ready_.empty()) SetTimer(kReadyTimer, 200);
    return true;
  }

  BEGIN_MSG_MAP(GalleryWindow)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 private:
  // The children's extent plus a margin.
  static SIZE Extent(HWND panel, int margin) {
    SIZE size = {0, 0};
    for (HWND child = ::GetWindow(panel, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      RECT rect = {};
      ::GetWindowRect(child, &rect);
      ::MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&rect), 2);
      // A combo box's rectangle includes its list's height: count the field only.
      COMBOBOXINFO info = {};
      info.cbSize = sizeof(info);
      if (::GetComboBoxInfo(child, &info)) rect.bottom = rect.top + info.rcItem.bottom + 4;
      size.cx = std::max<LONG>(size.cx, rect.right);
      size.cy = std::max<LONG>(size.cy, rect.bottom);
    }
    return {size.cx + margin, size.cy + margin};
  }

  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::FillRect(dc, &paint.rcPaint, ::GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ previous = ::SelectObject(dc, fonts_[0]->hfont);
    ::SetBkMode(dc, TRANSPARENT);
    for (const auto& title : titles_) {
      std::wstring text = title.second + L"   (left: scale 1.0, right: scale 1.5)";
      ::TextOutW(dc, kGap, title.first + 5, text.c_str(), static_cast<int>(text.size()));
    }
    ::SelectObject(dc, previous);
    ::EndPaint(m_hWnd, &paint);
    return 0;
  }

  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
    if (!written_) {
      RECT rect = {};
      GetWindowRect(&rect);
      FILE* file = _wfopen(ready_.c_str(), L"w");
      if (file) {
        std::fprintf(file, "%ld %ld\n", rect.right - rect.left, rect.bottom - rect.top);
        std::fclose(file);
      }
      written_ = true;
    } else if (::GetFileAttributesW(ready_.c_str()) == INVALID_FILE_ATTRIBUTES) {
      DestroyWindow();
    }
    return 0;
  }

  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    ::PostQuitMessage(0);
    return 0;
  }

  std::string page_;
  std::wstring ready_;
  bool written_ = false;
  GalleryArt art_;
  std::vector<std::unique_ptr<Fonts>> fonts_;
  std::vector<std::unique_ptr<GalleryPanel>> panels_;
  std::vector<std::shared_ptr<void>> kept_;
  std::vector<std::pair<int, std::wstring>> titles_;
};

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) out += static_cast<char>(*text);
  return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
  ::InitCommonControlsEx(&controls);
  AppModule().Init(instance);

  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::string page;
  std::wstring ready;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::wstring(argv[i]) == L"--page") page = Narrow(argv[i + 1]);
    if (std::wstring(argv[i]) == L"--ready") ready = argv[i + 1];
  }
  ::LocalFree(argv);

  int status = 1;
  {
    GalleryWindow window(page, ready);
    if (window.Build()) {
      MSG msg;
      while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      status = 0;
    }
  }
  AppModule().Term();
  Gdiplus::GdiplusShutdown(token);
  return status;
}
