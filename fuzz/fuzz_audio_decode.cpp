// The audio decoders' entry points on arbitrary bytes: format detection,
// the WAV, Ogg Vorbis and MP3 readers, whole-sample decoding and a looping
// stream read through the resampler. None may crash, hang or hand out
// samples out of range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/audio_bytes.h"
#include "platform/audio_decoder.h"
#include "platform/audio_pipeline.h"
#include "platform/audio_sample.h"

namespace {

// Decoders clamp to full scale; the resampler may overshoot it a little on
// hard edges (the mixer clamps the final sum).
void Check(const float* samples, size_t count, float limit) {
  for (size_t i = 0; i < count; ++i)
    if (!(samples[i] >= -limit && samples[i] <= limit)) std::abort();
}

// Decodes up to a bounded amount with each reader directly.
void DrainDecoder(std::unique_ptr<kw::TAudioDecoder> decoder) {
  if (!decoder) return;
  if (decoder->Channels() < 1 || decoder->Channels() > kw::kMaxDecoderChannels) std::abort();
  std::vector<float> block(size_t(1024) * size_t(decoder->Channels()));
  long total = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 256; ++i) {
      long n = decoder->Read(block.data(), 1024);
      if (n <= 0) break;
      if (n > 1024) std::abort();
      Check(block.data(), size_t(n) * size_t(decoder->Channels()), 1.0f);
      total += n;
    }
    if (!decoder->Rewind()) break;
  }
  (void)total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DrainDecoder(kw::OpenWavDecoder(kw::MakeMemoryAudioBytes(data, size)));
  DrainDecoder(kw::OpenOggDecoder(kw::MakeMemoryAudioBytes(data, size)));
  DrainDecoder(kw::OpenMp3Decoder(kw::MakeMemoryAudioBytes(data, size)));
  if (auto sample = kw::DecodeSample(kw::MakeMemoryAudioBytes(data, size)))
    if (sample->FrameCount() <= 0 || sample->FrameCount() > kw::kMaxSampleFrames) std::abort();
  // A looping stream: reads must end or go on giving frames, never spin.
  if (auto decoder = kw::OpenAudioDecoder(kw::MakeMemoryAudioBytes(data, size))) {
    kw::TAudioPipeline pipeline(std::move(decoder), true);
    std::vector<float> block(4096 * 2);
    for (int i = 0; i < 64 && !pipeline.Ended(); ++i) {
      long n = pipeline.Read(block.data(), 4096);
      Check(block.data(), size_t(n) * 2, 4.0f);
    }
  }
  return 0;
}
