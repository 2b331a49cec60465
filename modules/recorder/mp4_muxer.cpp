#include "mp4_muxer.h"

#include <cstring>

namespace {

enum NalType : uint8_t { kNalIdr = 5, kNalSps = 7, kNalPps = 8, kNalDelimiter = 9 };

// Big-endian box building with sizes patched when a box closes.
class BoxBuilder {
 public:
  std::vector<uint8_t>& bytes() { return bytes_; }
  void U8(uint8_t value) { bytes_.push_back(value); }
  void U16(uint16_t value) { Big(value, 2); }
  void U32(uint32_t value) { Big(value, 4); }
  void U64(uint64_t value) { Big(value, 8); }
  void Zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void Bytes(const void* data, size_t size) {
    const auto* first = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), first, first + size);
  }
  void Open(const char type[5]) {
    open_.push_back(bytes_.size());
    U32(0);
    Bytes(type, 4);
  }
  void OpenFull(const char type[5], uint8_t version, uint32_t flags) {
    Open(type);
    U32(static_cast<uint32_t>(version) << 24 | flags);
  }
  void Close() {
    const size_t start = open_.back();
    open_.pop_back();
    const uint32_t size = static_cast<uint32_t>(bytes_.size() - start);
    for (int i = 0; i < 4; ++i) bytes_[start + i] = static_cast<uint8_t>(size >> (24 - 8 * i));
  }
  // The unity transformation matrix of 'mvhd' and 'tkhd'.
  void Matrix() {
    const uint32_t matrix[9] = {0x00010000, 0, 0, 0, 0x00010000, 0, 0, 0, 0x40000000};
    for (uint32_t value : matrix) U32(value);
  }

 private:
  void Big(uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  std::vector<uint8_t> bytes_;
  std::vector<size_t> open_;
};

}  // namespace

std::vector<NalUnit> SplitAnnexB(const uint8_t* data, size_t size) {
  std::vector<NalUnit> units;
  size_t i = 0;
  size_t start = SIZE_MAX;
  while (i + 3 <= size) {
    if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
      if (start != SIZE_MAX) {
        size_t end = i;
        while (end > start && data[end - 1] == 0) --end;  // a 4-byte start code's zero
        units.push_back({data + start, end - start});
      }
      i += 3;
      start = i;
    } else {
      ++i;
    }
  }
  if (start != SIZE_MAX && start < size) units.push_back({data + start, size - start});
  return units;
}

Mp4Muxer::Mp4Muxer(ByteSink* sink, int width, int height, uint32_t timescale)
    : sink_(sink), width_(width), height_(height), timescale_(timescale) {}

bool Mp4Muxer::Begin() {
  BoxBuilder header;
  header.Open("ftyp");
  header.Bytes("isom", 4);
  header.U32(0x200);
  header.Bytes("isomiso2avc1mp41", 16);
  header.Close();
  mdat_start_ = sink_->Position() + header.bytes().size();
  // A 64-bit 'mdat' header (size 1, then the real size), patched by Finish.
  header.U32(1);
  header.Bytes("mdat", 4);
  header.U64(0);
  return sink_->Write(header.bytes().data(), header.bytes().size());
}

bool Mp4Muxer::AddAccessUnit(const uint8_t* data, size_t size, uint64_t time) {
  if (!times_.empty() && time <= times_.back()) return false;
  scratch_.clear();
  bool idr = false;
  for (const NalUnit& unit : SplitAnnexB(data, size)) {
    if (unit.size == 0) continue;
    const uint8_t type = unit.data[0] & 0x1F;
    if (type == kNalSps) {
      if (sps_.empty()) sps_.assign(unit.data, unit.data + unit.size);
      continue;
    }
    if (type == kNalPps) {
      if (pps_.empty()) pps_.assign(unit.data, unit.data + unit.size);
      continue;
    }
    if (type == kNalDelimiter) continue;
    if (type == kNalIdr) idr = true;
    const uint32_t length = static_cast<uint32_t>(unit.size);
    const uint8_t prefix[4] = {static_cast<uint8_t>(length >> 24), static_cast<uint8_t>(length >> 16),
                               static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
    scratch_.insert(scratch_.end(), prefix, prefix + 4);
    scratch_.insert(scratch_.end(), unit.data, unit.data + unit.size);
  }
  if (scratch_.empty()) return true;  // parameter sets alone make no sample
  // Players start at the first sample: it must be decodable on its own.
  if (sizes_.empty() && (!idr || sps_.empty() || pps_.empty())) return false;
  offsets_.push_back(sink_->Position());
  if (!sink_->Write(scratch_.data(), scratch_.size())) return false;
  sizes_.push_back(static_cast<uint32_t>(scratch_.size()));
  times_.push_back(time);
  if (idr) sync_samples_.push_back(static_cast<uint32_t>(sizes_.size()));
  return true;
}

bool Mp4Muxer::Finish(uint32_t last_duration) {
  const uint64_t end = sink_->Position();
  uint8_t size[8];
  const uint64_t mdat_size = end - mdat_start_;
  for (int i = 0; i < 8; ++i) size[i] = static_cast<uint8_t>(mdat_size >> (56 - 8 * i));
  if (!sink_->WriteAt(mdat_start_ + 8, size, 8)) return false;
  if (sizes_.empty()) return false;
  const std::vector<uint8_t> movie = BuildMovie(last_duration);
  return sink_->Write(movie.data(), movie.size());
}

std::vector<uint8_t> Mp4Muxer::BuildMovie(uint32_t last_duration) const {
  // Sample times are stored relative to the first sample, which starts the track.
  const uint64_t first = times_.front();
  const uint64_t duration = times_.back() - first + last_duration;
  const uint32_t movie_timescale = 1000;
  const uint64_t movie_duration = duration * movie_timescale / timescale_;
  const bool wide_offsets = offsets_.back() > UINT32_MAX;

  BoxBuilder b;
  b.Open("moov");
  b.OpenFull("mvhd", 0, 0);
  b.U32(0);  // creation time
  b.U32(0);  // modification time
  b.U32(movie_timescale);
  b.U32(static_cast<uint32_t>(movie_duration));
  b.U32(0x00010000);  // rate 1.0
  b.U16(0x0100);      // volume 1.0
  b.Zeros(10);
  b.Matrix();
  b.Zeros(24);  // pre-defined
  b.U32(2);     // next track id
  b.Close();

  b.Open("trak");
  b.OpenFull("tkhd", 0, 3);  // enabled, in movie
  b.U32(0);
  b.U32(0);
  b.U32(1);  // track id
  b.U32(0);
  b.U32(static_cast<uint32_t>(movie_duration));
  b.Zeros(8);
  b.U16(0);  // layer
  b.U16(0);  // alternate group
  b.U16(0);  // volume: video has none
  b.U16(0);
  b.Matrix();
  b.U32(static_cast<uint32_t>(width_) << 16);
  b.U32(static_cast<uint32_t>(height_) << 16);
  b.Close();

  b.Open("mdia");
  b.OpenFull("mdhd", 0, 0);
  b.U32(0);
  b.U32(0);
  b.U32(timescale_);
  b.U32(static_cast<uint32_t>(duration));
  b.U16(0x55C4);  // language "und"
  b.U16(0);
  b.Close();
  b.OpenFull("hdlr", 0, 0);
  b.U32(0);
  b.Bytes("vide", 4);
  b.Zeros(12);
  b.Bytes("VideoHandler", 13);
  b.Close();

  b.Open("minf");
  b.OpenFull("vmhd", 0, 1);
  b.Zeros(8);
  b.Close();
  b.Open("dinf");
  b.OpenFull("dref", 0, 0);
  b.U32(1);
  b.OpenFull("url ", 0, 1);  // media in this file
  b.Close();
  b.Close();
  b.Close();

  b.Open("stbl");
  b.OpenFull("stsd", 0, 0);
  b.U32(1);
  b.Open("avc1");
  b.Zeros(6);
  b.U16(1);  // data reference index
  b.Zeros(16);
  b.U16(static_cast<uint16_t>(width_));
  b.U16(static_cast<uint16_t>(height_));
  b.U32(0x00480000);  // 72 dpi
  b.U32(0x00480000);
  b.U32(0);
  b.U16(1);  // frames per sample
  b.Zeros(32);  // compressor name
  b.U16(0x18);  // depth
  b.U16(0xFFFF);
  b.Open("avcC");
  b.U8(1);
  b.U8(sps_[1]);  // profile
  b.U8(sps_[2]);  // compatibility
  b.U8(sps_[3]);  // level
  b.U8(0xFF);     // 4-byte NAL lengths
  b.U8(0xE1);     // one SPS
  b.U16(static_cast<uint16_t>(sps_.size()));
  b.Bytes(sps_.data(), sps_.size());
  b.U8(1);  // one PPS
  b.U16(static_cast<uint16_t>(pps_.size()));
  b.Bytes(pps_.data(), pps_.size());
  b.Close();
  b.Close();
  b.Close();

  // Sample durations, run-length coded.
  std::vector<std::pair<uint32_t, uint32_t>> runs;
  for (size_t i = 0; i < times_.size(); ++i) {
    const uint32_t delta = i + 1 < times_.size()
                               ? static_cast<uint32_t>(times_[i + 1] - times_[i])
                               : last_duration;
    if (!runs.empty() && runs.back().second == delta)
      ++runs.back().first;
    else
      runs.push_back({1, delta});
  }
  b.OpenFull("stts", 0, 0);
  b.U32(static_cast<uint32_t>(runs.size()));
  for (const auto& run : runs) {
    b.U32(run.first);
    b.U32(run.second);
  }
  b.Close();
  b.OpenFull("stss", 0, 0);
  b.U32(static_cast<uint32_t>(sync_samples_.size()));
  for (uint32_t sample : sync_samples_) b.U32(sample);
  b.Close();
  b.OpenFull("stsc", 0, 0);  // one sample per chunk
  b.U32(1);
  b.U32(1);
  b.U32(1);
  b.U32(1);
  b.Close();
  b.OpenFull("stsz", 0, 0);
  b.U32(0);
  b.U32(static_cast<uint32_t>(sizes_.size()));
  for (uint32_t size : sizes_) b.U32(size);
  b.Close();
  b.OpenFull(wide_offsets ? "co64" : "stco", 0, 0);
  b.U32(static_cast<uint32_t>(offsets_.size()));
  for (uint64_t offset : offsets_) {
    if (wide_offsets)
      b.U64(offset);
    else
      b.U32(static_cast<uint32_t>(offset));
  }
  b.Close();
  b.Close();  // stbl
  b.Close();  // minf
  b.Close();  // mdia
  b.Close();  // trak
  b.Close();  // moov
  return std::move(b.bytes());
}
