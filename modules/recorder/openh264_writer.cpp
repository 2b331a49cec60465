#include <wels/codec_api.h>

#include <vector>

#include "mp4_muxer.h"
#include "video_writer.h"

namespace {

class OpenH264Writer : public VideoWriter {
 public:
  ~OpenH264Writer() override {
    if (encoder_) {
      encoder_->Uninitialize();
      WelsDestroySVCEncoder(encoder_);
    }
  }
  const char* name() const override { return "OpenH264"; }

  bool Begin(OutputFile* file, int width, int height, int fps) override {
    width_ = width;
    height_ = height;
    fps_ = fps;
    if (WelsCreateSVCEncoder(&encoder_) != 0 || !encoder_) return false;
    int quiet = WELS_LOG_QUIET;  // the library would otherwise write to the console
    encoder_->SetOption(ENCODER_OPTION_TRACE_LEVEL, &quiet);
    SEncParamExt params;
    encoder_->GetDefaultParams(&params);
    params.iUsageType = SCREEN_CONTENT_REAL_TIME;
    params.iPicWidth = width;
    params.iPicHeight = height;
    params.fMaxFrameRate = static_cast<float>(fps);
    // About 0.1 bit per pixel: sharp text on screen content without a huge file.
    params.iTargetBitrate = static_cast<int>(static_cast<int64_t>(width) * height * fps / 10);
    // Quality mode: every slot's frame is kept (the encoder never skips one on its own);
    // the bitrate is a guide, not a cap.
    params.iRCMode = RC_QUALITY_MODE;
    params.bEnableFrameSkip = false;
    params.uiIntraPeriod = static_cast<unsigned>(fps * 2);  // a key frame every 2 s for seeking
    params.iMultipleThreadIdc = 1;
    params.iComplexityMode = LOW_COMPLEXITY;  // real time first: a dropped frame costs more
    params.iSpatialLayerNum = 1;
    params.iTemporalLayerNum = 1;
    params.eSpsPpsIdStrategy = CONSTANT_ID;
    params.bPrefixNalAddingCtrl = false;
    params.sSpatialLayers[0].iVideoWidth = width;
    params.sSpatialLayers[0].iVideoHeight = height;
    params.sSpatialLayers[0].fFrameRate = static_cast<float>(fps);
    params.sSpatialLayers[0].iSpatialBitrate = params.iTargetBitrate;
    params.sSpatialLayers[0].iMaxSpatialBitrate = params.iTargetBitrate * 2;
    params.sSpatialLayers[0].sSliceArgument.uiSliceMode = SM_SINGLE_SLICE;
    if (encoder_->InitializeExt(&params) != 0) return false;
    int format = videoFormatI420;
    encoder_->SetOption(ENCODER_OPTION_DATAFORMAT, &format);
    picture_.resize(static_cast<size_t>(width) * height * 3 / 2);
    muxer_.reset(new Mp4Muxer(file, width, height, kTicksPerSlot * static_cast<uint32_t>(fps)));
    return muxer_->Begin();
  }

  bool AddFrame(const BgrxImage& frame, int64_t slot) override {
    uint8_t* y = picture_.data();
    uint8_t* u = y + static_cast<size_t>(width_) * height_;
    uint8_t* v = u + static_cast<size_t>(width_) * height_ / 4;
    BgrxToI420(frame, y, u, v);
    SSourcePicture source = {};
    source.iColorFormat = videoFormatI420;
    source.iPicWidth = width_;
    source.iPicHeight = height_;
    source.iStride[0] = width_;
    source.iStride[1] = source.iStride[2] = width_ / 2;
    source.pData[0] = y;
    source.pData[1] = u;
    source.pData[2] = v;
    source.uiTimeStamp = slot * 1000 / fps_;
    SFrameBSInfo info = {};
    if (encoder_->EncodeFrame(&source, &info) != cmResultSuccess) return false;
    if (info.eFrameType == videoFrameTypeSkip) return true;  // the previous frame lasts on
    unit_.clear();
    for (int layer = 0; layer < info.iLayerNum; ++layer) {
      const SLayerBSInfo& bits = info.sLayerInfo[layer];
      size_t size = 0;
      for (int nal = 0; nal < bits.iNalCount; ++nal) size += bits.pNalLengthInByte[nal];
      unit_.insert(unit_.end(), bits.pBsBuf, bits.pBsBuf + size);
    }
    if (unit_.empty()) return true;
    last_slot_ = slot;
    return muxer_->AddAccessUnit(unit_.data(), unit_.size(),
                                 static_cast<uint64_t>(slot) * kTicksPerSlot);
  }

  bool Finish(int64_t end_slot) override {
    if (!muxer_ || last_slot_ < 0) return false;
    const int64_t slots = end_slot > last_slot_ ? end_slot - last_slot_ : 1;
    return muxer_->Finish(static_cast<uint32_t>(slots * kTicksPerSlot));
  }

 private:
  static constexpr uint32_t kTicksPerSlot = 1000;

  ISVCEncoder* encoder_ = nullptr;
  std::unique_ptr<Mp4Muxer> muxer_;
  int width_ = 0;
  int height_ = 0;
  int fps_ = 30;
  int64_t last_slot_ = -1;
  std::vector<uint8_t> picture_;
  std::vector<uint8_t> unit_;
};

}  // namespace

std::unique_ptr<VideoWriter> CreateOpenH264Writer() {
  return std::unique_ptr<VideoWriter>(new OpenH264Writer());
}
