// A sound decoded whole at load, in the mixer's rate and stereo, kept as
// 16-bit frames (half the memory of float; the mixer converts as it mixes).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio_bytes.h"

namespace kw {

struct TSampleData {
  std::vector<int16_t> Frames;  // interleaved left, right at 44100 Hz
  int SourceRate = 0;           // the file's own rate, reported as the channel frequency
  int64_t FrameCount() const { return int64_t(Frames.size() / 2); }
};

// Longest sample kept: ten minutes. Longer sounds are cut there (a sample is
// for short sounds; long ones belong in a stream).
inline constexpr int64_t kMaxSampleFrames = int64_t(44100) * 600;

// Decodes every frame of `bytes`; none when the input does not decode to at
// least one frame. A decoding error part-way keeps what decoded before it.
std::unique_ptr<TSampleData> DecodeSample(std::unique_ptr<TAudioBytes> bytes);

}  // namespace kw
