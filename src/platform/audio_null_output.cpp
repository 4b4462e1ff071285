#include "platform/audio_null_output.h"

#include <algorithm>

#include "platform/audio_format.h"
#include "platform/audio_recorder.h"

namespace kw {

namespace {
constexpr int kBlockFrames = 512;
}

TNullAudioOutput::TNullAudioOutput(TClock& clock, TMixer& mixer)
    : clock_(clock), mixer_(mixer), originNs_(clock.NowNs()) {}

void TNullAudioOutput::Pump(TAudioRecorder* recorder) {
  const int64_t elapsed = clock_.NowNs() - originNs_;
  if (elapsed <= 0) return;
  // Frames due: floor(elapsed * rate / 1e9), split to stay inside 64 bits.
  const int64_t due = (elapsed / 1000000000) * kMixRate + (elapsed % 1000000000) * kMixRate / 1000000000;
  float block[kBlockFrames * 2];
  while (rendered_ < due) {
    int n = int(std::min<int64_t>(kBlockFrames, due - rendered_));
    mixer_.FeedStreams();
    mixer_.Render(block, n);
    rendered_ += n;
    if (recorder) recorder->Drain();
  }
}

}  // namespace kw
