#include "media/sound.h"

#include <cmath>

#include "media/kw_store.h"
#include "platform/bass.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/log.h"

namespace kw {

TSoundSystem::TSoundSystem(TKwStore* store, std::function<void()> restartTimer)
    : store_(store), restartTimer_(std::move(restartTimer)) {}

TSoundSystem::~TSoundSystem() = default;

std::string TSoundSystem::AlternativeName(std::string_view upperName) {
  std::string alt(upperName.substr(0, upperName.size() < 3 ? 0 : upperName.size() - 3));
  return alt + "OGG";
}

uint32_t TSoundSystem::CreateFromFile(TKind kind, const std::string& path) {
  if (kind == TKind::Sample)
    return BASS_SampleLoad(BASS_FALSE, path.c_str(), 0, 0, kMaxPlaybacks, BASS_SAMPLE_OVER_POS);
  return BASS_StreamCreateFile(BASS_FALSE, path.c_str(), 0, 0, BASS_SAMPLE_LOOP);
}

uint32_t TSoundSystem::CreateFromPack(TKind kind, const std::string& name) {
  if (!store_) return 0;
  auto bytes = std::make_unique<std::vector<uint8_t>>();
  try {
    if (!store_->ReadEntry("sounds\\" + name, *bytes)) return 0;
  } catch (const EKwStoreError& error) {
    KwLog("sound %s: pack entry unreadable: %s", name.c_str(), error.what());
    return 0;
  }
  if (bytes->empty()) {
    KwLog("sound %s: empty pack entry", name.c_str());
    return 0;
  }
  const DWORD size = DWORD(bytes->size());
  if (kind == TKind::Sample)  // the library decodes a copy; the bytes go at once
    return BASS_SampleLoad(BASS_TRUE, bytes->data(), 0, size, kMaxPlaybacks, BASS_SAMPLE_OVER_POS);
  uint32_t handle = BASS_StreamCreateFile(BASS_TRUE, bytes->data(), 0, size, BASS_SAMPLE_LOOP);
  if (handle) streamBuffers_.push_back(std::move(bytes));
  return handle;
}

uint32_t TSoundSystem::Load(TKind kind, const std::string& name) {
  std::vector<TSound>& table = kind == TKind::Sample ? sampleTable_ : musicTable_;
  for (const TSound& sound : table)
    if (sound.Name == name) return sound.Handle;
  uint32_t handle = 0;
  auto file = ResolveGamePath("sounds\\" + name);
  std::error_code ec;
  if (file && fs::is_regular_file(*file, ec)) {
    handle = CreateFromFile(kind, file->string());
    if (!handle) KwLog("sound %s: %s does not decode", name.c_str(), file->string().c_str());
  } else {
    handle = CreateFromPack(kind, name);
  }
  TSound entry;
  entry.Name = name;
  entry.Handle = handle;
  table.push_back(entry);
  if (kind == TKind::Sample && restartTimer_) restartTimer_();
  return handle;
}

uint32_t TSoundSystem::LoadSample(const std::string& name) { return Load(TKind::Sample, name); }

uint32_t TSoundSystem::LoadMusic(const std::string& name) { return Load(TKind::Music, name); }

uint32_t TSoundSystem::PlaySound(std::string_view fileName, int volumePercent) {
  const std::string name = AsciiUpperCase(fileName);
  const std::string alt = AlternativeName(name);
  uint32_t handle = 0;
  for (const TSound& sound : sampleTable_) {
    if (sound.Name == name || sound.Name == alt) {
      handle = sound.Handle;
      break;
    }
  }
  if (!handle) handle = LoadSample(name);
  if (!handle) handle = LoadSample(alt);
  if (!handle) return 0;
  HCHANNEL channel = BASS_SampleGetChannel(handle, BASS_FALSE);
  if (!channel) return 0;
  DWORD freq = 0, volume = 0;
  int pan = 0;
  BASS_ChannelGetAttributes(channel, &freq, &volume, &pan);
  BASS_ChannelSetAttributes(channel, int(freq), soundVolume_ * volumePercent / 100, pan);
  return BASS_ChannelPlay(channel, BASS_FALSE) ? channel : 0;
}

TSound* TSoundSystem::FindMusic(const std::string& name) {
  for (TSound& sound : musicTable_)
    if (sound.Name == name) return &sound;
  return nullptr;
}

void TSoundSystem::PlayMusic(std::string_view fileName, int volumePercent) {
  const std::string name = AsciiUpperCase(fileName);
  const std::string alt = AlternativeName(name);
  TSound* music = FindMusic(name);
  if (!music || !music->Handle) {
    LoadMusic(name);
    music = FindMusic(name);
  }
  if (!music->Handle) {
    LoadMusic(alt);
    music = FindMusic(alt);
  }
  if (!music || !music->Handle) return;
  music->LevelTarget = volumePercent / 100.0;
  music->LevelStep = (music->LevelTarget - music->Level) / kFadeInTicks;
  if (BASS_ChannelIsActive(music->Handle) == BASS_ACTIVE_PLAYING) return;
  music->Level = 0;
  music->LevelStep = music->LevelTarget / kFadeInTicks;
  DWORD freq = 0, volume = 0;
  int pan = 0;
  BASS_ChannelGetAttributes(music->Handle, &freq, &volume, &pan);
  BASS_ChannelSetAttributes(music->Handle, int(freq), 0, pan);
  BASS_ChannelPlay(music->Handle, BASS_TRUE);
}

void TSoundSystem::FadeOutAllMusic() {
  for (TSound& music : musicTable_) {
    music.LevelTarget = 0;
    music.LevelStep = -music.Level / kFadeOutTicks;
    // A music that plays at level 0 (started and faded out within the same
    // tick) would otherwise keep playing silently for ever, since a step of
    // 0 never reaches its target: it is already silent, so it stops now.
    if (music.Handle && music.Level <= 0 && BASS_ChannelIsActive(music.Handle) == BASS_ACTIVE_PLAYING) {
      music.Level = 0;
      music.LevelStep = 0;
      BASS_ChannelStop(music.Handle);
    }
  }
}

void TSoundSystem::ApplyMusicVolume(const TSound& music) {
  DWORD freq = 0, volume = 0;
  int pan = 0;
  BASS_ChannelGetAttributes(music.Handle, &freq, &volume, &pan);
  // nearbyint rounds to nearest with ties to even in the default mode.
  BASS_ChannelSetAttributes(music.Handle, int(freq), int(std::nearbyint(musicVolume_ * music.Level)), pan);
}

void TSoundSystem::MusicFadeTick() {
  for (TSound& music : musicTable_) {
    if (!music.Handle || BASS_ChannelIsActive(music.Handle) != BASS_ACTIVE_PLAYING) continue;
    music.Level += music.LevelStep;
    if (music.LevelStep > 0 && music.Level >= music.LevelTarget) {
      music.LevelStep = 0;
      music.Level = music.LevelTarget;
    } else if (music.LevelStep < 0 && music.Level <= music.LevelTarget) {
      music.LevelStep = 0;
      music.Level = music.LevelTarget;
      if (music.Level == 0) BASS_ChannelStop(music.Handle);
    }
    ApplyMusicVolume(music);
  }
}

void TSoundSystem::SetMusicVolume(int volume) {
  musicVolume_ = volume;
  for (const TSound& music : musicTable_) {
    if (music.Handle && BASS_ChannelIsActive(music.Handle) == BASS_ACTIVE_PLAYING) {
      ApplyMusicVolume(music);
      break;
    }
  }
}

}  // namespace kw
