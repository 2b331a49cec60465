#include "test_support.h"

#include <gtest/gtest.h>
#include <objidl.h>

#include <cstring>

namespace {

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};

const bool g_registered = (::testing::AddGlobalTestEnvironment(new GdiplusEnvironment), true);

}  // namespace

void PumpPending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
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

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

Canvas::Canvas(int width, int height)
    : bitmap(width, height, PixelFormat32bppARGB), graphics(&bitmap) {
  graphics.Clear(Gdiplus::Color(0xFFFFFFFF));
}

Gdiplus::ARGB Canvas::At(int x, int y) {
  graphics.Flush(Gdiplus::FlushIntentionSync);
  Gdiplus::Color color;
  bitmap.GetPixel(x, y, &color);
  return color.GetValue();
}

const Gdiplus::ARGB kGifFrameColors[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

std::vector<uint8_t> MakeAnimatedGif(const std::vector<uint16_t>& delays) {
  // clang-format off
  std::vector<uint8_t> gif = {
      'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0,           // 1 x 1
      0xF1, 0, 0,                                         // global table of 4 colours:
      0xFF, 0, 0,  0, 0xFF, 0,  0, 0, 0xFF,  0xFF, 0xFF, 0xFF,
      0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
      3, 1, 0, 0, 0};                                     // loop forever
  for (size_t frame = 0; frame < delays.size(); ++frame) {
    const uint8_t index = static_cast<uint8_t>(frame % 4);
    const uint8_t part[] = {
        0x21, 0xF9, 4, 0, static_cast<uint8_t>(delays[frame] & 0xFF),
        static_cast<uint8_t>(delays[frame] >> 8), 0, 0,   // graphic control: the delay
        0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,                  // image at (0, 0), 1 x 1
        2, 2,                                             // LZW code size 2, 2 bytes of data:
        static_cast<uint8_t>(0x44 | (index << 3)), 0x01,  // clear, index, end (3 bits each)
        0};
    gif.insert(gif.end(), std::begin(part), std::end(part));
  }
  // clang-format on
  gif.push_back(0x3B);
  return gif;
}

std::unique_ptr<Gdiplus::Bitmap> BitmapFromBytes(const std::vector<uint8_t>& bytes) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
  ::GlobalUnlock(memory);
  IStream* stream = nullptr;
  ::CreateStreamOnHGlobal(memory, TRUE, &stream);
  std::unique_ptr<Gdiplus::Bitmap> bitmap(new Gdiplus::Bitmap(stream));
  stream->Release();
  return bitmap;
}

HWND CreatePlainWindow(const RECT& rect, DWORD style, WNDPROC proc) {
  static const wchar_t kClass[] = L"VantorelTestPlainWindow";
  static const ATOM atom = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    return ::RegisterClassExW(&wc);
  }();
  (void)atom;
  HWND window = ::CreateWindowExW(0, kClass, L"", style & ~WS_VISIBLE, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  if (window && proc) {
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  }
  // Shown without activation: Wine hands activated windows to the (absent) window manager and
  // then waits two seconds for it whenever they are hidden.
  if (window && (style & WS_VISIBLE)) ::ShowWindow(window, SW_SHOWNA);
  return window;
}
