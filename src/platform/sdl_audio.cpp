#include "platform/sdl_audio.h"

#include <SDL.h>

#include "platform/audio_format.h"
#include "platform/log.h"

namespace kw {

namespace {

class TSdlAudioDevice final : public TAudioDevice {
 public:
  ~TSdlAudioDevice() override { Close(); }

  bool Open(TAudioRenderSource& source) override {
    Close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      KwLog("audio: SDL audio unavailable: %s", SDL_GetError());
      return false;
    }
    source_ = &source;
    SDL_AudioSpec want{};
    want.freq = kMixRate;
    want.format = AUDIO_F32SYS;
    want.channels = kMixChannels;
    want.samples = 512;
    want.callback = &TSdlAudioDevice::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
      KwLog("audio: no audio device opened: %s", SDL_GetError());
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      source_ = nullptr;
      return false;
    }
    KwLog("audio: SDL device on driver %s, %d-frame blocks", SDL_GetCurrentAudioDriver(), have.samples);
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  void Close() override {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);  // waits for a running callback
    device_ = 0;
    source_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  const char* Name() const override { return "the SDL audio device"; }

 private:
  static void Callback(void* userdata, Uint8* stream, int bytes) {
    auto* self = static_cast<TSdlAudioDevice*>(userdata);
    self->source_->Render(reinterpret_cast<float*>(stream), bytes / int(sizeof(float) * kMixChannels));
  }

  SDL_AudioDeviceID device_ = 0;
  TAudioRenderSource* source_ = nullptr;
};

}  // namespace

std::unique_ptr<TAudioDevice> MakeSdlAudioDevice() { return std::make_unique<TSdlAudioDevice>(); }

}  // namespace kw
