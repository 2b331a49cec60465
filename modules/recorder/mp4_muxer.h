// Writes H.264 access units into an MP4 file (ISO base media, 'avc1' with 'avcC'): the media
// data first, the index ('moov') at the end, as a recorder must since it learns the sample
// table only while writing. The sink is abstract so the box layout is tested in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(const void* data, size_t size) = 0;
  virtual bool WriteAt(uint64_t offset, const void* data, size_t size) = 0;
  virtual uint64_t Position() const = 0;
};

class Mp4Muxer {
 public:
  // `timescale` ticks per second for sample times (e.g. 30000 for 1000 per frame at 30 fps).
  Mp4Muxer(ByteSink* sink, int width, int height, uint32_t timescale);

  bool Begin();  // 'ftyp' and the 'mdat' header
  // One access unit in Annex B form (start-code separated NAL units), presented at `time`
  // ticks; times must grow. Parameter sets are kept for 'avcC' and left out of the sample.
  bool AddAccessUnit(const uint8_t* data, size_t size, uint64_t time);
  // Closes 'mdat' and writes the index; the last sample lasts `last_duration` ticks.
  bool Finish(uint32_t last_duration);

  size_t sample_count() const { return sizes_.size(); }

 private:
  std::vector<uint8_t> BuildMovie(uint32_t last_duration) const;

  ByteSink* sink_;
  int width_;
  int height_;
  uint32_t timescale_;
  uint64_t mdat_start_ = 0;
  std::vector<uint8_t> sps_;
  std::vector<uint8_t> pps_;
  std::vector<uint32_t> sizes_;
  std::vector<uint64_t> offsets_;
  std::vector<uint64_t> times_;
  std::vector<uint32_t> sync_samples_;  // 1-based, as 'stss' counts
  std::vector<uint8_t> scratch_;
};

// Splits Annex B data into NAL units (without their start codes).
struct NalUnit {
  const uint8_t* data;
  size_t size;
};
std::vector<NalUnit> SplitAnnexB(const uint8_t* data, size_t size);
