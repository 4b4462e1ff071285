#include "platform/audio_pipeline.h"

#include <algorithm>
#include <cstring>

#include "platform/audio_format.h"
#include "platform/log.h"

namespace kw {

namespace {
constexpr long kBlockFrames = 2048;
}

TAudioPipeline::TAudioPipeline(std::unique_ptr<TAudioDecoder> decoder, bool loop)
    : decoder_(std::move(decoder)), loop_(loop) {
  raw_.resize(size_t(kBlockFrames) * decoder_->Channels());
  stereo_.resize(size_t(kBlockFrames) * 2);
  if (decoder_->Rate() != kMixRate) {
    soxr_error_t error = nullptr;
    soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    resampler_ = soxr_create(decoder_->Rate(), kMixRate, 2, &error, &io, &quality, nullptr);
    if (error) {
      KwLog("audio: resampler from %d Hz failed: %s", decoder_->Rate(), error);
      resampler_ = nullptr;
      ended_ = failed_ = true;
    }
    // Room for one block's output at the highest ratio we accept.
    converted_.resize(size_t(double(kBlockFrames) * kMixRate / decoder_->Rate() + 256) * 2);
  }
}

TAudioPipeline::~TAudioPipeline() {
  if (resampler_) soxr_delete(resampler_);
}

long TAudioPipeline::DecodeInto(float* target, long maxFrames) {
  const long want = std::min(maxFrames, kBlockFrames);
  const int channels = decoder_->Channels();
  for (int attempt = 0; attempt < 2; ++attempt) {
    // Stereo decodes straight into the target; other layouts go through raw_.
    long n = decoder_->Read(channels == 2 ? target : raw_.data(), want);
    if (n < 0) {
      failed_ = true;
      return 0;
    }
    if (n > 0) {
      framesThisPass_ = true;
      const float* in = raw_.data();
      if (channels == 1) {
        for (long i = 0; i < n; ++i) target[2 * i] = target[2 * i + 1] = in[i];
      } else if (channels > 2) {
        for (long i = 0; i < n; ++i) {
          target[2 * i] = in[i * channels];
          target[2 * i + 1] = in[i * channels + 1];
        }
      }
      return n;
    }
    // End of the data: a looping sound starts over, unless a whole pass gave
    // nothing (which would loop forever without sound).
    if (!loop_ || !framesThisPass_) return 0;
    framesThisPass_ = false;
    if (!decoder_->Rewind()) {
      KwLog("audio: cannot rewind a looping sound");
      failed_ = true;
      return 0;
    }
  }
  return 0;
}

bool TAudioPipeline::DecodeBlock() {
  stereoPos_ = 0;
  stereoFrames_ = size_t(DecodeInto(stereo_.data(), kBlockFrames));
  return stereoFrames_ > 0;
}

long TAudioPipeline::Drain(float* out, long frames) {
  long n = long(std::min<size_t>(size_t(frames), convertedFrames_ - convertedPos_));
  std::memcpy(out, converted_.data() + convertedPos_ * 2, sizeof(float) * size_t(n) * 2);
  convertedPos_ += size_t(n);
  return n;
}

long TAudioPipeline::Read(float* out, long frames) {
  long total = 0;
  while (total < frames && !ended_) {
    if (!resampler_) {
      // At the mix rate the decoder writes into `out` itself.
      long n = DecodeInto(out + total * 2, frames - total);
      if (n == 0) {
        ended_ = true;
        break;
      }
      total += n;
      continue;
    }
    if (convertedPos_ < convertedFrames_) {
      total += Drain(out + total * 2, frames - total);
      continue;
    }
    convertedPos_ = convertedFrames_ = 0;
    const size_t capacity = converted_.size() / 2;
    size_t produced = 0;
    if (!sourceEnded_) {
      if (stereoPos_ == stereoFrames_ && !DecodeBlock()) {
        sourceEnded_ = true;
        continue;
      }
      size_t used = 0;
      soxr_error_t error = soxr_process(resampler_, stereo_.data() + stereoPos_ * 2,
                                        stereoFrames_ - stereoPos_, &used, converted_.data(),
                                        capacity, &produced);
      if (error) {
        KwLog("audio: resampling failed: %s", error);
        ended_ = failed_ = true;
        break;
      }
      stereoPos_ += used;
    } else if (!flushed_) {
      // The source is done: pull out what the resampler still holds.
      soxr_error_t error = soxr_process(resampler_, nullptr, 0, nullptr, converted_.data(), capacity,
                                        &produced);
      if (error || produced == 0) flushed_ = true;
    } else {
      ended_ = true;
    }
    convertedFrames_ = produced;
  }
  return total;
}

bool TAudioPipeline::Rewind() {
  stereoPos_ = stereoFrames_ = 0;
  convertedPos_ = convertedFrames_ = 0;
  sourceEnded_ = flushed_ = ended_ = failed_ = false;
  framesThisPass_ = false;
  if (resampler_) soxr_clear(resampler_);
  if (!decoder_->Rewind()) {
    ended_ = failed_ = true;
    return false;
  }
  return true;
}

}  // namespace kw
