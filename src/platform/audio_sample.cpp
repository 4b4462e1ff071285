#include "platform/audio_sample.h"

#include <algorithm>
#include <cmath>

#include "platform/audio_pipeline.h"
#include "platform/log.h"

namespace kw {

std::unique_ptr<TSampleData> DecodeSample(std::unique_ptr<TAudioBytes> bytes) {
  if (!bytes) return nullptr;
  std::string label = bytes->Label();
  auto decoder = OpenAudioDecoder(std::move(bytes));
  if (!decoder) return nullptr;
  auto data = std::make_unique<TSampleData>();
  data->SourceRate = decoder->Rate();
  TAudioPipeline pipeline(std::move(decoder), false);
  std::vector<float> block(4096 * 2);
  while (data->FrameCount() < kMaxSampleFrames) {
    long want = long(std::min<int64_t>(4096, kMaxSampleFrames - data->FrameCount()));
    long n = pipeline.Read(block.data(), want);
    for (long i = 0; i < n * 2; ++i)
      data->Frames.push_back(int16_t(std::lrint(std::clamp(block[size_t(i)], -1.0f, 1.0f) * 32767.0f)));
    if (n < want) break;
  }
  if (data->FrameCount() >= kMaxSampleFrames)
    KwLog("audio: %s: sound longer than %lld frames cut there", label.c_str(),
          static_cast<long long>(kMaxSampleFrames));
  if (pipeline.Failed()) KwLog("audio: %s: decoding error; keeping the part before it", label.c_str());
  if (data->FrameCount() == 0) {
    KwLog("audio: %s: no sound decoded", label.c_str());
    return nullptr;
  }
  data->Frames.shrink_to_fit();
  return data;
}

}  // namespace kw
