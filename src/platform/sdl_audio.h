// The SDL2 audio device: 44100 Hz stereo float, pulled in blocks of 512
// frames (about 12 ms, so 20-40 ms from mix to speaker with SDL's own
// buffering). Declared without SDL types so that the shell can hand it to
// the audio library (KwAudioUseDevice) without SDL headers.
#pragma once

#include <memory>

#include "platform/audio_device.h"

namespace kw {

std::unique_ptr<TAudioDevice> MakeSdlAudioDevice();

}  // namespace kw
