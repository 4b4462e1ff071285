// The engine's sounds and music. Short sounds are samples that may overlap
// (three playbacks each); music is looping streams whose level fades over
// process ticks. Both are named by file name, found as loose files under
// "sounds" or as the pack entry "sounds\" + name, and remembered for the
// whole run in tables in the order of first request, failures included
// (a name that failed is not tried again).
//
// TSoundSystem holds this process-wide state (the two tables, the buffers
// that memory streams play from, the sound and music volumes). The shell
// owns the one instance and hands it by reference to the root and the
// built-in functions; nothing keeps a second copy. It runs on the game
// thread and needs the audio library open (BASS_Init); without it every
// load gives handle 0 and nothing sounds.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

class TKwStore;

// One entry per distinct file name ever asked for.
struct TSound {
  std::string Name;      // upper case, as asked for
  uint32_t Handle = 0;   // sample or stream handle; 0 when loading failed
  // Music only: the level as a fraction of the music volume, its change per
  // process tick, and where the fade is heading.
  double Level = 0;
  double LevelStep = 0;
  double LevelTarget = 0;
};

class TSoundSystem {
 public:
  static constexpr int kMaxPlaybacks = 3;
  static constexpr int kFadeInTicks = 60;
  static constexpr int kFadeOutTicks = 30;

  // `store` is the game's resource pack (null: none); `restartTimer` is run
  // after every sample load so the time spent loading does not count as
  // game time (the frame timer's Reset).
  explicit TSoundSystem(TKwStore* store = nullptr, std::function<void()> restartTimer = {});
  ~TSoundSystem();
  TSoundSystem(const TSoundSystem&) = delete;
  TSoundSystem& operator=(const TSoundSystem&) = delete;

  void SetStore(TKwStore* store) { store_ = store; }
  void SetRestartTimer(std::function<void()> restartTimer) { restartTimer_ = std::move(restartTimer); }

  // The handle for an upper-case file name, loading it on first request:
  // the loose file "sounds\" + name under the current folder, else the
  // pack entry, else 0; the result is remembered either way.
  uint32_t LoadSample(const std::string& name);
  uint32_t LoadMusic(const std::string& name);

  // Plays a sound at `volumePercent` of the sound volume; the name or its
  // alternative (…"OGG"). Returns the playback channel, 0 when nothing plays.
  uint32_t PlaySound(std::string_view fileName, int volumePercent);
  // Starts a music (from its beginning, fading in over 60 ticks) or, when
  // it plays already, turns its fade toward the new level without a restart.
  void PlayMusic(std::string_view fileName, int volumePercent);
  // Every music fades to silence over 30 ticks, then stops.
  void FadeOutAllMusic();
  // One process tick of the music fades.
  void MusicFadeTick();

  // The sound volume (VOLSND, 100 at start) scales later sounds only.
  int SoundVolume() const { return soundVolume_; }
  void SetSoundVolume(int volume) { soundVolume_ = volume; }
  // The music volume (VOLMUZ, 50 at start); setting it gives the first
  // playing music its new volume at once.
  int MusicVolume() const { return musicVolume_; }
  void SetMusicVolume(int volume);

  const std::vector<TSound>& SampleTable() const { return sampleTable_; }
  const std::vector<TSound>& MusicTable() const { return musicTable_; }

  // The name without its last three characters, then "OGG" (THEME.MP3 ->
  // THEME.OGG; a name shorter than three characters gives "OGG").
  static std::string AlternativeName(std::string_view upperName);

 private:
  enum class TKind { Sample, Music };
  uint32_t Load(TKind kind, const std::string& name);
  uint32_t CreateFromFile(TKind kind, const std::string& path);
  uint32_t CreateFromPack(TKind kind, const std::string& name);
  TSound* FindMusic(const std::string& name);
  // round(VOLMUZ × Level), ties to even, keeping frequency and pan.
  void ApplyMusicVolume(const TSound& music);

  TKwStore* store_;
  std::function<void()> restartTimer_;
  std::vector<TSound> sampleTable_;
  std::vector<TSound> musicTable_;
  // Pack bytes of memory streams: a stream reads them while it plays, and
  // streams live for the whole run, so these do too.
  std::vector<std::unique_ptr<std::vector<uint8_t>>> streamBuffers_;
  int soundVolume_ = 100;
  int musicVolume_ = 50;
};

}  // namespace kw
