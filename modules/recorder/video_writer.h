// Turns captured frames into an H.264 MP4 file. Media Foundation's sink writer where the
// system has an H.264 encoder (Windows); OpenH264 with our MP4 muxer where it has none
// (Wine, Windows N editions).
#pragma once

#include <cstdint>
#include <memory>

#include "output_file.h"
#include "yuv_convert.h"

class VideoWriter {
 public:
  virtual ~VideoWriter() = default;
  virtual const char* name() const = 0;
  // Writes into `file` (which stays the caller's) frames of width x height (even) at `fps`.
  virtual bool Begin(OutputFile* file, int width, int height, int fps) = 0;
  // A frame taken in frame slot `slot` (its time is slot / fps seconds).
  virtual bool AddFrame(const BgrxImage& frame, int64_t slot) = 0;
  // Ends the video at slot `end_slot` (the last frame lasts until then) and closes the data.
  virtual bool Finish(int64_t end_slot) = 0;
};

// Media Foundation first, OpenH264 if Media Foundation cannot begin; null when neither can.
// Call on the thread that will write the frames (COM is initialised there by the caller).
std::unique_ptr<VideoWriter> BeginVideoWriter(OutputFile* file, int width, int height, int fps);

std::unique_ptr<VideoWriter> CreateMediaFoundationWriter();  // null when the system has none
std::unique_ptr<VideoWriter> CreateOpenH264Writer();
