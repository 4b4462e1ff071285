#include "platform/bass.h"

#include <memory>

#include "platform/audio_format.h"
#include "platform/audio_mixer.h"
#include "platform/audio_null_output.h"
#include "platform/audio_recorder.h"
#include "platform/log.h"

namespace kw {

namespace {

// Handle layout: the top nibble tells the kind; sample handles carry the
// sample's index, channel handles (sample playbacks and streams alike) the
// channel's index and, in bits 20-27, its generation, so a handle to a
// playback that was since overridden no longer reaches the new one.
constexpr DWORD kSampleTag = 0x10000000;
constexpr DWORD kChannelTag = 0x40000000;
constexpr DWORD kIndexMask = 0x000FFFFF;
constexpr DWORD kGenerationMask = 0xFF;

struct TAudioSystem {
  TMixer mixer;
  std::unique_ptr<TAudioDevice> device;  // open device, or none
  std::unique_ptr<TRealClock> ownClock;
  std::unique_ptr<TNullAudioOutput> nullOutput;
  std::unique_ptr<TAudioRecorder> recorder;

  void Update() {
    if (nullOutput) nullOutput->Pump(recorder.get());
  }
};

// The process-wide audio library state: the output chosen before
// BASS_Init, and the open library between BASS_Init and BASS_Free.
std::unique_ptr<TAudioDevice> pendingDevice;
TClock* pendingClock = nullptr;
std::unique_ptr<TAudioSystem> audio;

// Every call first brings the null output up to the clock, so that state
// read or changed now sees everything played until now.
TAudioSystem* Current() {
  if (audio) audio->Update();
  return audio.get();
}

DWORD ChannelHandle(const TMixer& mixer, int channel) {
  return kChannelTag | (mixer.ChannelGeneration(channel) & kGenerationMask) << 20 | DWORD(channel + 1);
}

// The channel a handle names, or -1.
int ChannelOf(const TMixer& mixer, DWORD handle) {
  if ((handle & 0xF0000000) != kChannelTag) return -1;
  int channel = int(handle & kIndexMask) - 1;
  if (!mixer.ChannelExists(channel)) return -1;
  if (((handle >> 20) & kGenerationMask) != (mixer.ChannelGeneration(channel) & kGenerationMask)) return -1;
  return channel;
}

std::unique_ptr<TAudioBytes> OpenBytes(BOOL mem, const void* file, DWORD offset, DWORD length) {
  if (!file) return nullptr;
  if (mem) {
    if (length == 0) return nullptr;
    return MakeMemoryAudioBytes(static_cast<const uint8_t*>(file) + offset, length);
  }
  return OpenFileAudioBytes(static_cast<const char*>(file), offset, length);
}

}  // namespace

DWORD BASS_GetVersion() { return BASS_VERSION_WORD; }

BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, const void* classId) {
  (void)flags;
  (void)window;
  (void)classId;
  if (audio) return BASS_FALSE;
  if (freq != 0 && freq != DWORD(kMixRate)) {
    KwLog("audio: output at %u Hz is not offered (44100 only)", freq);
    return BASS_FALSE;
  }
  auto system = std::make_unique<TAudioSystem>();
  if (pendingDevice && device != 0) {
    if (pendingDevice->Open(system->mixer)) {
      KwLog("audio: playing through %s", pendingDevice->Name());
      system->device = std::move(pendingDevice);
      system->mixer.StartFeedThread();
    } else {
      KwLog("audio: %s did not open; running silent", pendingDevice->Name());
    }
  }
  pendingDevice.reset();
  if (!system->device) {
    TClock* clock = pendingClock;
    if (!clock) {
      system->ownClock = std::make_unique<TRealClock>();
      clock = system->ownClock.get();
    }
    system->nullOutput = std::make_unique<TNullAudioOutput>(*clock, system->mixer);
  }
  audio = std::move(system);
  return BASS_TRUE;
}

BOOL BASS_Free() {
  if (!audio) return BASS_FALSE;
  audio->Update();
  if (audio->device) audio->device->Close();
  audio->mixer.StopFeedThread();
  if (audio->recorder) {
    audio->mixer.SetRecorder(nullptr);
    audio->recorder->Close();
  }
  audio.reset();
  pendingClock = nullptr;
  return BASS_TRUE;
}

HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD max, DWORD flags) {
  TAudioSystem* system = Current();
  if (!system || max == 0) return 0;
  auto data = DecodeSample(OpenBytes(mem, file, offset, length));
  if (!data) return 0;
  if (system->mixer.ChannelCount() + int(max) >= int(kIndexMask)) return 0;
  int id = system->mixer.AddSample(std::move(data), int(std::min<DWORD>(max, 64)),
                                   (flags & BASS_SAMPLE_OVER_POS) != 0);
  return kSampleTag | DWORD(id + 1);
}

HCHANNEL BASS_SampleGetChannel(HSAMPLE sample, BOOL onlyNew) {
  TAudioSystem* system = Current();
  if (!system || (sample & 0xF0000000) != kSampleTag) return 0;
  int id = int(sample & 0x0FFFFFFF) - 1;
  if (id < 0 || id >= system->mixer.SampleCount()) return 0;
  int channel = system->mixer.GetSampleChannel(id, onlyNew != 0);
  return channel < 0 ? 0 : ChannelHandle(system->mixer, channel);
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags) {
  TAudioSystem* system = Current();
  if (!system) return 0;
  auto decoder = OpenAudioDecoder(OpenBytes(mem, file, offset, length));
  if (!decoder) return 0;
  auto pipeline = std::make_unique<TAudioPipeline>(std::move(decoder), (flags & BASS_SAMPLE_LOOP) != 0);
  // A stream that yields no first frame is refused now rather than at play.
  float probe[256 * 2];
  if (pipeline->Read(probe, 256) == 0 || !pipeline->Rewind()) {
    KwLog("audio: stream yields no sound");
    return 0;
  }
  if (system->mixer.ChannelCount() >= int(kIndexMask)) return 0;
  int channel = system->mixer.AddStream(std::move(pipeline));
  return ChannelHandle(system->mixer, channel);
}

DWORD BASS_ChannelIsActive(DWORD handle) {
  TAudioSystem* system = Current();
  if (!system) return BASS_ACTIVE_STOPPED;
  int channel = ChannelOf(system->mixer, handle);
  if (channel < 0) return BASS_ACTIVE_STOPPED;
  return system->mixer.IsPlaying(channel) ? BASS_ACTIVE_PLAYING : BASS_ACTIVE_STOPPED;
}

BOOL BASS_ChannelGetAttributes(DWORD handle, DWORD* freq, DWORD* volume, int* pan) {
  TAudioSystem* system = Current();
  if (!system) return BASS_FALSE;
  int channel = ChannelOf(system->mixer, handle);
  if (channel < 0) return BASS_FALSE;
  if (freq) *freq = DWORD(system->mixer.Frequency(channel));
  if (volume) *volume = DWORD(system->mixer.Volume(channel));
  if (pan) *pan = system->mixer.Pan(channel);
  return BASS_TRUE;
}

BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan) {
  TAudioSystem* system = Current();
  if (!system) return BASS_FALSE;
  int channel = ChannelOf(system->mixer, handle);
  if (channel < 0) return BASS_FALSE;
  TMixer& mixer = system->mixer;
  if (freq != 0 && freq != -1 && freq != mixer.Frequency(channel)) {
    KwLog("audio: playback at %d Hz instead of %d is not offered", freq, mixer.Frequency(channel));
    return BASS_FALSE;
  }
  mixer.SetVolumePan(channel, volume == -1 ? mixer.Volume(channel) : volume,
                     pan == -101 ? mixer.Pan(channel) : pan);
  return BASS_TRUE;
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart) {
  TAudioSystem* system = Current();
  if (!system) return BASS_FALSE;
  int channel = ChannelOf(system->mixer, handle);
  if (channel < 0) return BASS_FALSE;
  return system->mixer.Play(channel, restart != 0) ? BASS_TRUE : BASS_FALSE;
}

BOOL BASS_ChannelStop(DWORD handle) {
  TAudioSystem* system = Current();
  if (!system) return BASS_FALSE;
  int channel = ChannelOf(system->mixer, handle);
  if (channel < 0) return BASS_FALSE;
  system->mixer.Stop(channel);
  return BASS_TRUE;
}

BOOL BASS_Pause() {
  TAudioSystem* system = Current();
  if (!system) return BASS_FALSE;
  system->mixer.SetPaused(true);
  return BASS_TRUE;
}

BOOL BASS_Start() {
  TAudioSystem* system = Current();
  if (!system) return BASS_FALSE;
  system->mixer.SetPaused(false);
  return BASS_TRUE;
}

void KwAudioUseDevice(std::unique_ptr<TAudioDevice> device) { pendingDevice = std::move(device); }

void KwAudioSetClock(TClock* clock) { pendingClock = clock; }

bool KwAudioRecordTo(const std::string& path) {
  TAudioSystem* system = Current();
  if (!system) return false;
  auto recorder = std::make_unique<TAudioRecorder>();
  if (!recorder->Open(path)) return false;
  system->mixer.SetRecorder(recorder.get());
  if (system->recorder) system->recorder->Close();
  system->recorder = std::move(recorder);
  return true;
}

void KwAudioUpdate() { Current(); }

bool KwAudioHasDevice() { return audio && audio->device; }

}  // namespace kw
