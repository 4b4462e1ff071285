// The output used without a sound card, when the device fails to open, and
// in headless runs: it consumes mixed audio at the pace of a clock (the
// frame timer's; a virtual clock in headless runs), so playing state,
// positions and fades move exactly as with a device. It renders on the
// calling (game) thread whenever it is pumped, feeding the streams first,
// so a run on a virtual clock repeats sample for sample.
#pragma once

#include <cstdint>

#include "platform/audio_mixer.h"
#include "platform/clock.h"

namespace kw {

class TAudioRecorder;

class TNullAudioOutput {
 public:
  // Time starts counting at the clock's present reading.
  TNullAudioOutput(TClock& clock, TMixer& mixer);
  // Renders every frame due by the clock's present reading, handing any
  // recording to disk as it goes.
  void Pump(TAudioRecorder* recorder);
  int64_t FramesRendered() const { return rendered_; }

 private:
  TClock& clock_;
  TMixer& mixer_;
  int64_t originNs_;
  int64_t rendered_ = 0;
};

}  // namespace kw
