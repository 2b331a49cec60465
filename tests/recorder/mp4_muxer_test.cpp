// The MP4 layout a player needs: boxes in order with true sizes, samples where the index
// says, durations and key frames as written.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "mp4_muxer.h"

namespace {

class MemorySink : public ByteSink {
 public:
  bool Write(const void* data, size_t size) override {
    if (fail_after_ && bytes.size() + size > fail_after_) return false;
    const auto* first = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), first, first + size);
    return true;
  }
  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (offset + size > bytes.size()) return false;
    std::memcpy(&bytes[offset], data, size);
    return true;
  }
  uint64_t Position() const override { return bytes.size(); }
  void FailAfter(size_t bytes_total) { fail_after_ = bytes_total; }

  std::vector<uint8_t> bytes;

 private:
  size_t fail_after_ = 0;
};

uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}
uint64_t U64(const uint8_t* p) { return static_cast<uint64_t>(U32(p)) << 32 | U32(p + 4); }

struct Box {
  std::string type;
  size_t start;   // of the header
  size_t body;    // first byte after the header
  size_t end;
};

// Top-level boxes, or the children of a container box.
std::vector<Box> Boxes(const std::vector<uint8_t>& data, size_t from, size_t to) {
  std::vector<Box> boxes;
  while (from + 8 <= to) {
    uint64_t size = U32(&data[from]);
    size_t header = 8;
    if (size == 1) {
      size = U64(&data[from + 8]);
      header = 16;
    }
    if (size < header || from + size > to) break;
    boxes.push_back({std::string(reinterpret_cast<const char*>(&data[from + 4]), 4), from,
                     from + header, from + static_cast<size_t>(size)});
    from += static_cast<size_t>(size);
  }
  return boxes;
}

// The box at a path such as "moov/trak/mdia/minf/stbl/stsz" (containers only on the way).
Box Find(const std::vector<uint8_t>& data, const std::string& path) {
  Box current = {"", 0, 0, data.size()};
  size_t at = 0;
  while (at <= path.size()) {
    const size_t slash = path.find('/', at);
    const std::string name = path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
    size_t body = current.body;
    if (current.type == "stsd") body += 8;           // full box + entry count
    if (current.type == "avc1") body += 78;          // visual sample entry fields
    bool found = false;
    for (const Box& box : Boxes(data, body, current.end)) {
      if (box.type == name) {
        current = box;
        found = true;
        break;
      }
    }
    if (!found) return {"", 0, 0, 0};
    if (slash == std::string::npos) break;
    at = slash + 1;
  }
  return current;
}

const std::vector<uint8_t> kSps = {0x67, 0x42, 0xC0, 0x1F, 0xDA, 0x01};
const std::vector<uint8_t> kPps = {0x68, 0xCE, 0x3C, 0x80};

std::vector<uint8_t> AnnexB(const std::vector<std::vector<uint8_t>>& units) {
  std::vector<uint8_t> out;
  for (const auto& unit : units) {
    out.insert(out.end(), {0, 0, 0, 1});
    out.insert(out.end(), unit.begin(), unit.end());
  }
  return out;
}

TEST(Mp4Muxer, WritesAnIndexThatPointsAtEverySampleWithItsDurationAndKeyFrames) {
  MemorySink sink;
  Mp4Muxer muxer(&sink, 640, 480, 30000);
  ASSERT_TRUE(muxer.Begin());
  const auto idr = AnnexB({kSps, kPps, {0x65, 0x88, 0x84, 0x00}});
  const auto p1 = AnnexB({{0x41, 0x9A, 0x02}});
  const auto p2 = AnnexB({{0x09, 0xF0}, {0x41, 0x9A, 0x03, 0x04}});  // delimiter dropped
  ASSERT_TRUE(muxer.AddAccessUnit(idr.data(), idr.size(), 0));
  ASSERT_TRUE(muxer.AddAccessUnit(p1.data(), p1.size(), 1000));
  ASSERT_FALSE(muxer.AddAccessUnit(p2.data(), p2.size(), 1000));  // time must grow
  ASSERT_TRUE(muxer.AddAccessUnit(p2.data(), p2.size(), 3000));   // one frame slot skipped
  ASSERT_TRUE(muxer.Finish(1000));
  const std::vector<uint8_t>& data = sink.bytes;

  const std::vector<Box> top = Boxes(data, 0, data.size());
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(top[0].type, "ftyp");
  EXPECT_EQ(top[1].type, "mdat");
  EXPECT_EQ(top[2].type, "moov");
  EXPECT_EQ(top[2].end, data.size());

  const Box stsz = Find(data, "moov/trak/mdia/minf/stbl/stsz");
  ASSERT_EQ(U32(&data[stsz.body + 8]), 3u);
  const Box stco = Find(data, "moov/trak/mdia/minf/stbl/stco");
  ASSERT_EQ(U32(&data[stco.body + 4]), 3u);
  // Each sample is length-prefixed NAL units inside 'mdat', parameter sets left out.
  const uint8_t expected_first[] = {0x65, 0x88, 0x84, 0x00};
  const uint32_t first_offset = U32(&data[stco.body + 8]);
  EXPECT_GE(first_offset, top[1].body);
  EXPECT_EQ(U32(&data[first_offset]), 4u);
  EXPECT_EQ(std::memcmp(&data[first_offset + 4], expected_first, 4), 0);
  EXPECT_EQ(U32(&data[stsz.body + 12]), 8u);
  const uint32_t third_offset = U32(&data[stco.body + 16]);
  EXPECT_EQ(U32(&data[stsz.body + 20]), 8u);
  EXPECT_EQ(data[third_offset + 4], 0x41);
  EXPECT_LE(third_offset + 8, top[1].end);

  // Durations: 1000, then 2000 (the skipped slot), then the last 1000.
  const Box stts = Find(data, "moov/trak/mdia/minf/stbl/stts");
  ASSERT_EQ(U32(&data[stts.body + 4]), 3u);
  EXPECT_EQ(U32(&data[stts.body + 12]), 1000u);
  EXPECT_EQ(U32(&data[stts.body + 20]), 2000u);
  EXPECT_EQ(U32(&data[stts.body + 28]), 1000u);
  const Box mdhd = Find(data, "moov/trak/mdia/mdhd");
  EXPECT_EQ(U32(&data[mdhd.body + 12]), 30000u);  // timescale
  EXPECT_EQ(U32(&data[mdhd.body + 16]), 4000u);   // duration
  const Box mvhd = Find(data, "moov/mvhd");
  EXPECT_EQ(U32(&data[mvhd.body + 16]), 133u);  // ms

  const Box stss = Find(data, "moov/trak/mdia/minf/stbl/stss");
  ASSERT_EQ(U32(&data[stss.body + 4]), 1u);
  EXPECT_EQ(U32(&data[stss.body + 8]), 1u);

  const Box avcc = Find(data, "moov/trak/mdia/minf/stbl/stsd/avc1/avcC");
  ASSERT_NE(avcc.end, 0u);
  EXPECT_EQ(data[avcc.body + 1], 0x42);  // profile from the SPS
  EXPECT_EQ(data[avcc.body + 3], 0x1F);  // level
  EXPECT_EQ(data[avcc.body + 5], 0xE1);
  EXPECT_EQ(data[avcc.body + 7], kSps.size());
  const Box tkhd = Find(data, "moov/trak/tkhd");
  EXPECT_EQ(U32(&data[tkhd.body + 76]), 640u << 16);
  EXPECT_EQ(U32(&data[tkhd.body + 80]), 480u << 16);
}

TEST(Mp4Muxer, RefusesAStartWithoutAKeyFrameAndReportsAFailingSink) {
  MemorySink sink;
  Mp4Muxer muxer(&sink, 64, 64, 30000);
  ASSERT_TRUE(muxer.Begin());
  const auto p = AnnexB({{0x41, 0x01}});
  EXPECT_FALSE(muxer.AddAccessUnit(p.data(), p.size(), 0));
  EXPECT_FALSE(muxer.Finish(1000));  // no sample: no playable file

  MemorySink full;
  full.FailAfter(60);
  Mp4Muxer starved(&full, 64, 64, 30000);
  ASSERT_TRUE(starved.Begin());
  const auto idr = AnnexB({kSps, kPps, std::vector<uint8_t>(100, 0x65)});
  EXPECT_FALSE(starved.AddAccessUnit(idr.data(), idr.size(), 0));
}

TEST(Mp4Muxer, SplitsAnnexBWithThreeAndFourByteStartCodes) {
  const std::vector<uint8_t> data = {0, 0, 0, 1, 0x67, 0x42, 0, 0, 1, 0x68, 0xCE, 0, 0, 0, 1, 0x65};
  const std::vector<NalUnit> units = SplitAnnexB(data.data(), data.size());
  ASSERT_EQ(units.size(), 3u);
  EXPECT_EQ(units[0].size, 2u);
  EXPECT_EQ(units[1].size, 2u);
  EXPECT_EQ(units[2].size, 1u);
  EXPECT_EQ(units[2].data[0], 0x65);
}

}  // namespace
