#include "png_file.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

namespace {

// A COM pointer released on every path.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  T** out() { return &pointer_; }

 private:
  T* pointer_ = nullptr;
};

// Encodes into memory first, so that the file is written, and its failures judged, by
// OutputFile alone.
bool EncodePng(const uint8_t* pixels, int width, int height, int stride,
               std::vector<uint8_t>* png) {
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.out()))))
    return false;
  ComPtr<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.out()))) return false;
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)))
    return false;
  ComPtr<IWICBitmapFrameEncode> frame;
  if (FAILED(encoder->CreateNewFrame(frame.out(), nullptr)) ||
      FAILED(frame->Initialize(nullptr)) || FAILED(frame->SetSize(width, height)))
    return false;
  // The screen has no alpha: 24-bit PNG, converted by WIC from the 32-bit rows.
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format))) return false;
  ComPtr<IWICBitmap> source;
  if (FAILED(factory->CreateBitmapFromMemory(
          width, height, GUID_WICPixelFormat32bppBGR, stride, stride * height,
          const_cast<BYTE*>(pixels), source.out())))
    return false;
  if (format == GUID_WICPixelFormat32bppBGR) {
    if (FAILED(frame->WriteSource(source.get(), nullptr))) return false;
  } else {
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(source.get(), format, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(frame->WriteSource(converter.get(), nullptr)))
      return false;
  }
  if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return false;
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;
  png->resize(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start = {};
  ULONG read = 0;
  return SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) &&
         SUCCEEDED(stream->Read(png->data(), static_cast<ULONG>(png->size()), &read)) &&
         read == png->size();
}

}  // namespace

bool WritePng(const uint8_t* pixels, int width, int height, int stride, OutputFile* file) {
  std::vector<uint8_t> png;
  if (!EncodePng(pixels, width, height, stride, &png)) return false;
  return file->Write(png.data(), png.size());
}
