// A decoder turned into the mixer's format: channel counts other than two
// are mapped to stereo (mono to both sides, more than two: the front pair)
// and rates other than 44100 Hz go through libsoxr. A looping pipeline
// rewinds its decoder at the end and keeps the resampler running, so the
// loop point joins without a gap or a click.
#pragma once

#include <memory>
#include <vector>

#include <soxr.h>

#include "platform/audio_decoder.h"

namespace kw {

class TAudioPipeline {
 public:
  // `decoder` must not be null.
  TAudioPipeline(std::unique_ptr<TAudioDecoder> decoder, bool loop);
  ~TAudioPipeline();
  TAudioPipeline(const TAudioPipeline&) = delete;
  TAudioPipeline& operator=(const TAudioPipeline&) = delete;

  // Fills `out` with up to `frames` stereo frames; fewer only when the sound
  // has ended (its end, or a decoding error). Returns the count.
  long Read(float* out, long frames);
  // From the first frame again; false when the decoder cannot seek back.
  bool Rewind();
  bool Ended() const { return ended_; }
  // True when the sound ended on a decoding error rather than its end.
  bool Failed() const { return failed_; }
  int SourceRate() const { return decoder_->Rate(); }

 private:
  // Decodes up to `maxFrames` (at most one block) source frames as stereo
  // into `target`, rewinding a looping sound at its end; 0 when it has ended.
  long DecodeInto(float* target, long maxFrames);
  // Refills stereo_ with the next block, for the resampler; false at the end.
  bool DecodeBlock();
  long Drain(float* out, long frames);

  std::unique_ptr<TAudioDecoder> decoder_;
  bool loop_;
  soxr_t resampler_ = nullptr;
  std::vector<float> raw_;     // decoder output, source channels
  std::vector<float> stereo_;  // source rate, stereo, waiting for the resampler
  size_t stereoPos_ = 0;       // frames of stereo_ already handed on
  size_t stereoFrames_ = 0;
  std::vector<float> converted_;  // resampler output not yet handed out
  size_t convertedPos_ = 0;
  size_t convertedFrames_ = 0;
  bool sourceEnded_ = false;
  bool flushed_ = false;
  bool ended_ = false;
  bool failed_ = false;
  bool framesThisPass_ = false;  // some frame decoded since the last rewind
};

}  // namespace kw
