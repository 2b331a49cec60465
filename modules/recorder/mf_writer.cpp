#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <mutex>

#include "video_writer.h"

namespace {

template <typename T>
void Release(T*& pointer) {
  if (pointer) pointer->Release();
  pointer = nullptr;
}

// Media Foundation is started once for the process and never shut down: the module stays
// loaded until the process ends, and another module may use it too.
bool StartMediaFoundation() {
  static std::once_flag once;
  static bool started = false;
  std::call_once(once, [] { started = SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_FULL)); });
  return started;
}

bool SystemHasH264Encoder() {
  MFT_REGISTER_TYPE_INFO output = {MFMediaType_Video, MFVideoFormat_H264};
  IMFActivate** found = nullptr;
  UINT32 count = 0;
  if (FAILED(::MFTEnumEx(MFT_CATEGORY_VIDEO_ENCODER, MFT_ENUM_FLAG_ALL, nullptr, &output,
                         &found, &count)))
    return false;
  for (UINT32 i = 0; i < count; ++i) found[i]->Release();
  ::CoTaskMemFree(found);
  return count > 0;
}

class MediaFoundationWriter : public VideoWriter {
 public:
  ~MediaFoundationWriter() override { Release(writer_); }
  const char* name() const override { return "Media Foundation"; }

  bool Begin(OutputFile* file, int width, int height, int fps) override {
    file_ = file;
    width_ = width;
    height_ = height;
    fps_ = fps;
    file->CloseForOutsideWriter();
    IMFAttributes* attributes = nullptr;
    if (FAILED(::MFCreateAttributes(&attributes, 2))) return false;
    attributes->SetUINT32(MF_READWRITE_ENABLE_HARDWARE_TRANSFORMS, TRUE);
    attributes->SetGUID(MF_TRANSCODE_CONTAINERTYPE, MFTranscodeContainerType_MPEG4);
    HRESULT result = ::MFCreateSinkWriterFromURL(file->temporary_path().c_str(), nullptr,
                                                 attributes, &writer_);
    Release(attributes);
    if (FAILED(result)) return Failed(result);
    IMFMediaType* output = VideoType(MFVideoFormat_H264);
    if (!output) return false;
    output->SetUINT32(MF_MT_AVG_BITRATE,
                      static_cast<UINT32>(static_cast<int64_t>(width) * height * fps / 10));
    result = writer_->AddStream(output, &stream_);
    Release(output);
    if (FAILED(result)) return Failed(result);
    IMFMediaType* input = VideoType(MFVideoFormat_NV12);
    if (!input) return false;
    input->SetUINT32(MF_MT_DEFAULT_STRIDE, static_cast<UINT32>(width));
    result = writer_->SetInputMediaType(stream_, input, nullptr);
    Release(input);
    if (FAILED(result)) return Failed(result);
    return !Failed(writer_->BeginWriting());
  }

  bool AddFrame(const BgrxImage& frame, int64_t slot) override {
    const DWORD size = static_cast<DWORD>(width_ * height_ * 3 / 2);
    IMFMediaBuffer* buffer = nullptr;
    if (FAILED(::MFCreateMemoryBuffer(size, &buffer))) return false;
    BYTE* data = nullptr;
    if (FAILED(buffer->Lock(&data, nullptr, nullptr))) {
      Release(buffer);
      return false;
    }
    BgrxToNv12(frame, data, data + static_cast<size_t>(width_) * height_);
    buffer->Unlock();
    buffer->SetCurrentLength(size);
    IMFSample* sample = nullptr;
    HRESULT result = ::MFCreateSample(&sample);
    if (SUCCEEDED(result)) {
      sample->AddBuffer(buffer);
      // Media Foundation counts in 100-ns units.
      sample->SetSampleTime(slot * 10000000 / fps_);
      sample->SetSampleDuration(10000000 / fps_);
      result = writer_->WriteSample(stream_, sample);
    }
    Release(sample);
    Release(buffer);
    return !Failed(result);
  }

  bool Finish(int64_t) override { return writer_ && !Failed(writer_->Finalize()); }

 private:
  IMFMediaType* VideoType(const GUID& subtype) const {
    IMFMediaType* type = nullptr;
    if (FAILED(::MFCreateMediaType(&type))) return nullptr;
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    type->SetGUID(MF_MT_SUBTYPE, subtype);
    type->SetUINT32(MF_MT_INTERLACE_MODE, MFVideoInterlace_Progressive);
    ::MFSetAttributeSize(type, MF_MT_FRAME_SIZE, width_, height_);
    ::MFSetAttributeRatio(type, MF_MT_FRAME_RATE, fps_, 1);
    ::MFSetAttributeRatio(type, MF_MT_PIXEL_ASPECT_RATIO, 1, 1);
    return type;
  }

  // Write failures reach the user as the file's error (a full disk above all).
  bool Failed(HRESULT result) {
    if (SUCCEEDED(result)) return false;
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) file_->SetError(HRESULT_CODE(result));
    return true;
  }

  OutputFile* file_ = nullptr;
  IMFSinkWriter* writer_ = nullptr;
  DWORD stream_ = 0;
  int width_ = 0;
  int height_ = 0;
  int fps_ = 30;
};

}  // namespace

std::unique_ptr<VideoWriter> CreateMediaFoundationWriter() {
  if (!StartMediaFoundation() || !SystemHasH264Encoder()) return nullptr;
  return std::unique_ptr<VideoWriter>(new MediaFoundationWriter());
}

std::unique_ptr<VideoWriter> BeginVideoWriter(OutputFile* file, int width, int height, int fps) {
  if (auto writer = CreateMediaFoundationWriter()) {
    if (writer->Begin(file, width, height, fps)) return writer;
    writer.reset();
    if (!file->Reopen()) return nullptr;
  }
  auto writer = CreateOpenH264Writer();
  if (writer->Begin(file, width, height, fps)) return writer;
  return nullptr;
}
