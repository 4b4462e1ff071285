// Sounds and music over the audio library on the null output, with files
// in a temporary game folder and time moved by hand: one process tick is a
// thirtieth of a second of audio.
#include "media/sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "media/kw_store.h"
#include "platform/bass.h"
#include "support/audio_fixtures.h"
#include "support/audio_rig.h"
#include "support/pack_writer.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

test::TToneSpec Tone(double seconds) {
  test::TToneSpec t;
  t.Seconds = seconds;
  t.Frequency = 441;
  return t;
}

// Half a second of silence, then half a second of tone: where a music plays
// from shows in the mix.
std::string SilenceThenTone() {
  std::string wav = test::SineWav(Tone(1));
  for (size_t i = 44; i < 44 + 22050 * 4; ++i) wav[i] = 0;
  return wav;
}

struct TSoundRig {
  test::TAudioRig audio;
  test::TCurrentFolder current{audio.Folder().Path()};
  int timerRestarts = 0;
  TSoundSystem sound{nullptr, [this] { ++timerRestarts; }};

  void AddSound(const std::string& name, const std::string& bytes) { audio.WriteFile("sounds/" + name, bytes); }
  void Tick(int count = 1) {
    for (int i = 0; i < count; ++i) {
      sound.MusicFadeTick();
      audio.AdvanceMs(1000.0 / 30);
    }
  }
  const TSound& Music(const std::string& name) {
    for (const TSound& s : sound.MusicTable())
      if (s.Name == name) return s;
    static TSound none;
    ADD_FAILURE() << "no music entry " << name;
    return none;
  }
  static int Volume(DWORD handle) {
    DWORD freq = 0, volume = 0;
    int pan = 0;
    EXPECT_EQ(BASS_ChannelGetAttributes(handle, &freq, &volume, &pan), BASS_TRUE);
    return int(volume);
  }
  static bool Playing(DWORD handle) { return BASS_ChannelIsActive(handle) == BASS_ACTIVE_PLAYING; }
};

TEST(SoundNames, AlternativeNameEndsInOgg) {
  const std::pair<const char*, const char*> cases[] = {
      {"THEME.MP3", "THEME.OGG"}, {"CLICK.WAV", "CLICK.OGG"}, {"A.B", "OGG"},
      {"ABC", "OGG"},             {"AB", "OGG"},              {"", "OGG"},
  };
  for (auto [name, alt] : cases) EXPECT_EQ(TSoundSystem::AlternativeName(name), alt) << name;
}

// The channel volume is VOLSND × percent div 100, in whole numbers, and the
// file is found whatever the case of its name.
TEST(Sound, PlaysAtTheSoundVolumeScaledByThePercent) {
  TSoundRig rig;
  rig.AddSound("click.mp3", test::SineWav(Tone(0.5)));  // told by content, not by name
  struct TCase {
    int soundVolume, percent, channelVolume;
  } cases[] = {{50, 60, 30}, {100, 100, 100}, {100, 60, 60}, {33, 50, 16}, {0, 100, 0}, {99, 99, 98}};
  for (const TCase& c : cases) {
    rig.sound.SetSoundVolume(c.soundVolume);
    HCHANNEL channel = rig.sound.PlaySound("Click.MP3", c.percent);
    ASSERT_NE(channel, 0u);
    EXPECT_EQ(TSoundRig::Volume(channel), c.channelVolume) << c.soundVolume << " x " << c.percent;
    EXPECT_TRUE(TSoundRig::Playing(channel));
  }
  // One entry, loaded once, with one timer restart for that load.
  ASSERT_EQ(rig.sound.SampleTable().size(), 1u);
  EXPECT_EQ(rig.sound.SampleTable()[0].Name, "CLICK.MP3");
  EXPECT_EQ(rig.timerRestarts, 1);
}

TEST(Sound, AFourthPlaybackTakesOverTheFirst) {
  TSoundRig rig;
  rig.AddSound("click.wav", test::SineWav(Tone(1)));
  std::vector<HCHANNEL> channels;
  for (int i = 0; i < 4; ++i) {
    channels.push_back(rig.sound.PlaySound("click.wav", 100));
    rig.audio.AdvanceMs(50);
  }
  EXPECT_FALSE(TSoundRig::Playing(channels[0]));
  for (int i = 1; i < 4; ++i) EXPECT_TRUE(TSoundRig::Playing(channels[size_t(i)])) << i;
}

// A missing sound is tried under both names once, remembered, and never
// loaded again, even once the file appears.
TEST(Sound, MissingSoundIsRememberedAndNotRetried) {
  TSoundRig rig;
  EXPECT_EQ(rig.sound.PlaySound("gone.mp3", 100), 0u);
  ASSERT_EQ(rig.sound.SampleTable().size(), 2u);
  EXPECT_EQ(rig.sound.SampleTable()[0].Name, "GONE.MP3");
  EXPECT_EQ(rig.sound.SampleTable()[1].Name, "GONE.OGG");
  EXPECT_EQ(rig.sound.SampleTable()[0].Handle, 0u);
  EXPECT_EQ(rig.timerRestarts, 2);  // each load attempt, failed or not
  rig.AddSound("gone.mp3", test::SineWav(Tone(0.1)));
  EXPECT_EQ(rig.sound.PlaySound("GONE.MP3", 100), 0u);
  EXPECT_EQ(rig.sound.SampleTable().size(), 2u);
  EXPECT_EQ(rig.timerRestarts, 2);
}

TEST(Sound, FallsBackToTheOggName) {
  TSoundRig rig;
  rig.AddSound("door.ogg", test::SineWav(Tone(0.2)));
  rig.AddSound("OGG", test::SineWav(Tone(0.2)));
  EXPECT_NE(rig.sound.PlaySound("door.mp3", 100), 0u);
  // A name shorter than three characters has the alternative "OGG".
  EXPECT_NE(rig.sound.PlaySound("ab", 100), 0u);
  ASSERT_EQ(rig.sound.SampleTable().size(), 4u);
  EXPECT_EQ(rig.sound.SampleTable()[3].Name, "OGG");
  // Later requests of either name find the loaded entry at once.
  EXPECT_NE(rig.sound.PlaySound("door.ogg", 100), 0u);
  EXPECT_NE(rig.sound.PlaySound("DOOR.MP3", 100), 0u);
  EXPECT_EQ(rig.sound.SampleTable().size(), 4u);
}

TEST(Sound, BrokenFilesStaySilent) {
  TSoundRig rig;
  rig.AddSound("empty.mp3", "");
  rig.AddSound("junk.ogg", std::string(5000, 'x'));
  rig.AddSound("cut.wav", test::SineWav(Tone(0.2)).substr(0, 30));
  rig.AddSound("music/", "");  // a folder where a file was expected
  for (const char* name : {"empty.mp3", "junk.ogg", "cut.wav", "music"}) {
    EXPECT_EQ(rig.sound.PlaySound(name, 100), 0u) << name;
    rig.sound.PlayMusic(name, 100);
  }
  for (const TSound& s : rig.sound.MusicTable()) EXPECT_EQ(s.Handle, 0u) << s.Name;
  rig.Tick(5);
}

// PlayMusic starts from level 0 and glides to its target over 60 ticks; the
// channel volume each tick is round(VOLMUZ × Level), ties to even.
TEST(Music, FadesInOverSixtyTicks) {
  TSoundRig rig;
  rig.AddSound("theme.mp3", test::SineWav(Tone(1)));
  rig.sound.PlayMusic("Theme.mp3", 100);
  const TSound& music = rig.Music("THEME.MP3");
  ASSERT_NE(music.Handle, 0u);
  EXPECT_TRUE(TSoundRig::Playing(music.Handle));
  EXPECT_EQ(TSoundRig::Volume(music.Handle), 0);
  EXPECT_DOUBLE_EQ(music.LevelStep, 1.0 / 60);
  EXPECT_EQ(rig.timerRestarts, 0);  // only sample loads restart the timer
  for (int tick = 1; tick <= 60; ++tick) {
    rig.Tick();
    EXPECT_NEAR(music.Level, std::min(1.0, tick / 60.0), 1e-9) << tick;
    EXPECT_EQ(TSoundRig::Volume(music.Handle), int(std::nearbyint(50 * music.Level))) << tick;
  }
  EXPECT_EQ(music.Level, 1.0);
  EXPECT_EQ(music.LevelStep, 0.0);
  EXPECT_EQ(TSoundRig::Volume(music.Handle), 50);
}

// A playing music asked for again glides from where it is to the new level
// without starting over.
TEST(Music, RetargetingAPlayingMusicDoesNotRestartIt) {
  TSoundRig rig;
  rig.AddSound("theme.wav", SilenceThenTone());
  rig.sound.SetMusicVolume(100);
  rig.sound.PlayMusic("theme.wav", 50);
  rig.Tick(75);  // 2.5 s: level 0.5, and 0.5 s into the file
  const TSound& music = rig.Music("THEME.WAV");
  EXPECT_EQ(music.Level, 0.5);
  rig.audio.Record();
  rig.sound.PlayMusic("theme.wav", 100);
  EXPECT_DOUBLE_EQ(music.LevelStep, 0.5 / 60);
  rig.Tick(60);
  EXPECT_NEAR(music.Level, 1.0, 1e-12);
  rig.Tick();
  EXPECT_EQ(music.Level, 1.0);
  EXPECT_EQ(TSoundRig::Volume(music.Handle), 100);
  auto mix = rig.audio.FinishRecording();
  // Right after the call the tone half plays on: no restart into silence.
  EXPECT_GT(test::RmsLevel(mix, 2, 0, 100, 4000), 0.15);
}

// Stopping the music and asking for it again within the fade-out turns the
// fade back up; it never stops or restarts.
TEST(Music, FadeOutThenPlayWithinThirtyTicksTurnsBack) {
  TSoundRig rig;
  rig.AddSound("theme.wav", test::SineWav(Tone(1)));
  rig.sound.PlayMusic("theme.wav", 100);
  rig.Tick(61);
  const TSound& music = rig.Music("THEME.WAV");
  rig.sound.FadeOutAllMusic();
  EXPECT_DOUBLE_EQ(music.LevelStep, -1.0 / 30);
  rig.Tick(10);
  EXPECT_NEAR(music.Level, 20.0 / 30, 1e-9);
  rig.sound.PlayMusic("theme.wav", 100);
  EXPECT_NEAR(music.LevelStep, (1 - 20.0 / 30) / 60, 1e-12);
  for (int tick = 0; tick < 61; ++tick) {
    ASSERT_TRUE(TSoundRig::Playing(music.Handle)) << tick;
    rig.Tick();
  }
  EXPECT_EQ(music.Level, 1.0);
}

// A completed fade-out stops the stream, which a later PlayMusic starts
// again from its beginning.
TEST(Music, FadeOutStopsAfterThirtyTicksAndCanStartAgain) {
  TSoundRig rig;
  rig.AddSound("theme.wav", SilenceThenTone());
  rig.sound.PlayMusic("theme.wav", 100);
  rig.Tick(75);  // 0.5 s into the file: the tone half
  const TSound& music = rig.Music("THEME.WAV");
  rig.sound.FadeOutAllMusic();
  rig.Tick(29);
  EXPECT_TRUE(TSoundRig::Playing(music.Handle));
  // Thirty steps of -1/30 leave a rounding residue above 0 in doubles; the
  // step after that crosses 0 and stops the stream.
  rig.Tick(2);
  EXPECT_FALSE(TSoundRig::Playing(music.Handle));
  EXPECT_EQ(music.Level, 0.0);
  EXPECT_EQ(TSoundRig::Volume(music.Handle), 0);
  rig.Tick(3);  // stopped music is left alone
  EXPECT_EQ(music.Level, 0.0);
  rig.audio.Record();
  rig.sound.PlayMusic("theme.wav", 100);
  EXPECT_TRUE(TSoundRig::Playing(music.Handle));
  rig.Tick(14);  // under half a second: the silent start again
  auto mix = rig.audio.FinishRecording();
  EXPECT_LT(test::RmsLevel(mix, 2, 0, 0, 44100 * 14 / 30), 0.001);
}

// Started and faded out before a tick has passed, a music is already
// silent: it stops at once instead of playing on unheard.
TEST(Music, FadeOutAtLevelZeroStopsAtOnce) {
  TSoundRig rig;
  rig.AddSound("theme.wav", test::SineWav(Tone(1)));
  rig.sound.PlayMusic("theme.wav", 100);
  rig.sound.FadeOutAllMusic();
  EXPECT_FALSE(TSoundRig::Playing(rig.Music("THEME.WAV").Handle));
  rig.Tick(100);
  EXPECT_FALSE(TSoundRig::Playing(rig.Music("THEME.WAV").Handle));
}

TEST(Music, MissingMp3PlaysTheOgg) {
  TSoundRig rig;
  if (!test::HaveAudioEncoders()) GTEST_SKIP() << "no encoders";
  rig.AddSound("theme.ogg", test::SineOgg(Tone(1)));
  rig.sound.PlayMusic("theme.mp3", 100);
  ASSERT_EQ(rig.sound.MusicTable().size(), 2u);
  EXPECT_EQ(rig.Music("THEME.MP3").Handle, 0u);
  EXPECT_TRUE(TSoundRig::Playing(rig.Music("THEME.OGG").Handle));
  rig.Tick(30);
  EXPECT_NEAR(rig.Music("THEME.OGG").Level, 0.5, 1e-12);
  EXPECT_EQ(rig.Music("THEME.MP3").Level, 0.0);
}

// Setting VOLMUZ re-volumes the first playing music at once; the others
// follow at their next tick. The product is rounded half to even.
TEST(Music, MusicVolumeAppliesAtOnceWithTiesToEven) {
  TSoundRig rig;
  rig.AddSound("a.wav", test::SineWav(Tone(1)));
  rig.AddSound("b.wav", test::SineWav(Tone(1)));
  rig.sound.PlayMusic("a.wav", 25);
  rig.sound.PlayMusic("b.wav", 100);
  rig.Tick(62);
  const TSound& a = rig.Music("A.WAV");
  const TSound& b = rig.Music("B.WAV");
  ASSERT_EQ(a.Level, 0.25);
  const std::pair<int, int> cases[] = {{10, 2}, {30, 8}, {50, 12}, {70, 18}, {0, 0}, {100, 25}};
  for (auto [volume, expected] : cases) {
    rig.sound.SetMusicVolume(volume);
    EXPECT_EQ(rig.sound.MusicVolume(), volume);
    EXPECT_EQ(TSoundRig::Volume(a.Handle), expected) << volume;
  }
  EXPECT_EQ(TSoundRig::Volume(b.Handle), 50);  // not the first playing: unchanged until a tick
  rig.Tick();
  EXPECT_EQ(TSoundRig::Volume(b.Handle), 100);
  // A music that is not playing is skipped for the first that is.
  rig.sound.FadeOutAllMusic();
  rig.Tick(30);
  rig.sound.PlayMusic("b.wav", 100);
  rig.Tick(61);
  rig.sound.SetMusicVolume(40);
  EXPECT_EQ(TSoundRig::Volume(b.Handle), 40);
}

TEST(Music, SoundVolumeOnlyAffectsLaterSounds) {
  TSoundRig rig;
  rig.AddSound("click.wav", test::SineWav(Tone(1)));
  HCHANNEL first = rig.sound.PlaySound("click.wav", 100);
  rig.sound.SetSoundVolume(20);
  EXPECT_EQ(TSoundRig::Volume(first), 100);
  EXPECT_EQ(TSoundRig::Volume(rig.sound.PlaySound("click.wav", 100)), 20);
}

// Sounds not found as loose files come from the pack's "sounds\" entries;
// a loose file, even a broken one, is used first.
TEST(SoundPack, PackEntriesPlayWhenNoLooseFileExists) {
  TSoundRig rig;
  const std::string tone = test::SineWav(Tone(1));
  rig.audio.WriteFile("game.kst", test::BuildPack({{"SOUNDS\\CLICK.WAV", tone},
                                                  {"SOUNDS\\THEME.WAV", tone},
                                                  {"SOUNDS\\BROKEN.WAV", "RIFF"},
                                                  {"SOUNDS\\LOOSE.WAV", tone}}));
  rig.AddSound("loose.wav", "not a sound");
  TKwStore store;
  store.Open("game.kst");
  ASSERT_TRUE(store.ReadDirectory());
  rig.sound.SetStore(&store);
  EXPECT_NE(rig.sound.PlaySound("click.wav", 100), 0u);
  EXPECT_EQ(rig.sound.PlaySound("broken.wav", 100), 0u);
  EXPECT_EQ(rig.sound.PlaySound("loose.wav", 100), 0u);
  rig.sound.PlayMusic("theme.wav", 100);
  rig.Tick(90);  // the stream reads the pack bytes while it loops
  EXPECT_TRUE(TSoundRig::Playing(rig.Music("THEME.WAV").Handle));
  EXPECT_EQ(rig.Music("THEME.WAV").Level, 1.0);
}

}  // namespace
}  // namespace kw
