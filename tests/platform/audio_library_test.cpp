// The audio library's call surface on the null output and a virtual clock:
// playback state, positions and volumes as the engine relies on them, and
// what the mixer actually produced, read back from a recording.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/bass.h"
#include "support/audio_fixtures.h"
#include "support/audio_rig.h"

namespace kw {
namespace {

using test::TAudioRig;
using test::TToneSpec;

TToneSpec Tone(double seconds, double frequency = 441, double amplitude = 0.5) {
  TToneSpec t;
  t.Seconds = seconds;
  t.Frequency = frequency;
  t.Amplitude = amplitude;
  return t;
}

HSAMPLE LoadSampleFromMemory(const std::string& bytes, DWORD flags = BASS_SAMPLE_OVER_POS) {
  return BASS_SampleLoad(BASS_TRUE, bytes.data(), 0, DWORD(bytes.size()), 3, flags);
}

// Frames from `ms` for `lengthMs` of a recording.
double ToneAt(const std::vector<float>& mix, double ms, double lengthMs, double frequency = 441) {
  return test::ToneAmplitude(mix, 2, 0, 44100, frequency, size_t(ms * 44.1), size_t(lengthMs * 44.1));
}
double RmsAt(const std::vector<float>& mix, double ms, double lengthMs, int channel = 0) {
  return test::RmsLevel(mix, 2, channel, size_t(ms * 44.1), size_t(lengthMs * 44.1));
}

TEST(AudioLibrary, VersionAndLifecycle) {
  EXPECT_EQ(BASS_GetVersion(), 0x00020002u);
  // Nothing works before the output is open, and nothing breaks either.
  const std::string wav = test::SineWav(Tone(0.1));
  EXPECT_EQ(LoadSampleFromMemory(wav), 0u);
  EXPECT_EQ(BASS_ChannelIsActive(0x40000001), 0u);
  EXPECT_EQ(BASS_Pause(), BASS_FALSE);
  {
    TAudioRig rig;
    EXPECT_FALSE(KwAudioHasDevice());
    EXPECT_EQ(BASS_Init(-1, 44100, 0, nullptr, nullptr), BASS_FALSE);  // already open
    EXPECT_NE(LoadSampleFromMemory(wav), 0u);
    EXPECT_EQ(BASS_ChannelPlay(0, BASS_FALSE), BASS_FALSE);
    EXPECT_EQ(BASS_ChannelIsActive(0x12345678), 0u);
    EXPECT_EQ(BASS_SampleGetChannel(0x10000099, BASS_FALSE), 0u);
  }
  EXPECT_EQ(BASS_Free(), BASS_FALSE);
}

TEST(AudioLibrary, SamplePlaysForItsLengthThenStops) {
  TAudioRig rig;
  HSAMPLE sample = LoadSampleFromMemory(test::SineWav(Tone(0.5)));
  ASSERT_NE(sample, 0u);
  HCHANNEL channel = BASS_SampleGetChannel(sample, BASS_FALSE);
  ASSERT_NE(channel, 0u);
  EXPECT_EQ(BASS_ChannelIsActive(channel), 0u);  // got, not yet started
  ASSERT_EQ(BASS_ChannelPlay(channel, BASS_FALSE), BASS_TRUE);
  rig.AdvanceMs(490);
  EXPECT_EQ(BASS_ChannelIsActive(channel), BASS_ACTIVE_PLAYING);
  rig.AdvanceMs(20);
  EXPECT_EQ(BASS_ChannelIsActive(channel), BASS_ACTIVE_STOPPED);
}

// Three playbacks of a sample at once; a fourth takes the channel that has
// played longest, and the handle to that playback no longer reaches it.
TEST(AudioLibrary, FourthPlaybackOverridesTheLongestPlaying) {
  TAudioRig rig;
  HSAMPLE sample = LoadSampleFromMemory(test::SineWav(Tone(2)));
  HCHANNEL first = BASS_SampleGetChannel(sample, BASS_FALSE);
  BASS_ChannelPlay(first, BASS_FALSE);
  rig.AdvanceMs(100);
  HCHANNEL second = BASS_SampleGetChannel(sample, BASS_FALSE);
  BASS_ChannelPlay(second, BASS_FALSE);
  rig.AdvanceMs(100);
  HCHANNEL third = BASS_SampleGetChannel(sample, BASS_FALSE);
  BASS_ChannelPlay(third, BASS_FALSE);
  rig.AdvanceMs(100);
  EXPECT_EQ(BASS_SampleGetChannel(sample, BASS_TRUE), 0u);  // only a free one: none
  HCHANNEL fourth = BASS_SampleGetChannel(sample, BASS_FALSE);
  ASSERT_NE(fourth, 0u);
  EXPECT_NE(fourth, first);
  EXPECT_EQ(BASS_ChannelPlay(fourth, BASS_FALSE), BASS_TRUE);
  EXPECT_EQ(BASS_ChannelIsActive(first), 0u);
  EXPECT_EQ(BASS_ChannelSetAttributes(first, -1, 10, 0), BASS_FALSE);  // gone for good
  EXPECT_EQ(BASS_ChannelIsActive(second), 1u);
  EXPECT_EQ(BASS_ChannelIsActive(third), 1u);
  EXPECT_EQ(BASS_ChannelIsActive(fourth), 1u);
  // The next override takes the second: it has now played longest.
  HCHANNEL fifth = BASS_SampleGetChannel(sample, BASS_FALSE);
  BASS_ChannelPlay(fifth, BASS_FALSE);
  EXPECT_EQ(BASS_ChannelIsActive(second), 0u);
  EXPECT_EQ(BASS_ChannelIsActive(third), 1u);
  // The fourth plays to its own end, 2 s after it started.
  rig.AdvanceMs(1990);
  EXPECT_EQ(BASS_ChannelIsActive(fourth), 1u);
  rig.AdvanceMs(20);
  EXPECT_EQ(BASS_ChannelIsActive(fourth), 0u);

  // Without the override flag the fourth playback is refused.
  HSAMPLE strict = LoadSampleFromMemory(test::SineWav(Tone(1)), 0);
  for (int i = 0; i < 3; ++i) BASS_ChannelPlay(BASS_SampleGetChannel(strict, BASS_FALSE), BASS_FALSE);
  EXPECT_EQ(BASS_SampleGetChannel(strict, BASS_FALSE), 0u);
}

// A sample loaded from memory keeps its own copy: the caller's bytes can go.
TEST(AudioLibrary, SampleFromMemoryKeepsItsOwnCopy) {
  TAudioRig rig;
  rig.Record();
  HSAMPLE sample;
  {
    std::string bytes = test::SineWav(Tone(0.3));
    sample = LoadSampleFromMemory(bytes);
    bytes.assign(bytes.size(), '\0');
  }
  BASS_ChannelPlay(BASS_SampleGetChannel(sample, BASS_FALSE), BASS_FALSE);
  rig.AdvanceMs(300);
  auto mix = rig.FinishRecording();
  EXPECT_NEAR(ToneAt(mix, 50, 200), 0.5, 0.01);
}

TEST(AudioLibrary, StreamsLoopFromFileAndMemoryUntilStopped) {
  TAudioRig rig;
  const std::string wav = test::SineWav(Tone(0.25));
  std::string path = rig.WriteFile("loop.wav", wav);
  HSTREAM fromFile = BASS_StreamCreateFile(BASS_FALSE, path.c_str(), 0, 0, BASS_SAMPLE_LOOP);
  HSTREAM fromMemory = BASS_StreamCreateFile(BASS_TRUE, wav.data(), 0, DWORD(wav.size()), BASS_SAMPLE_LOOP);
  HSTREAM once = BASS_StreamCreateFile(BASS_TRUE, wav.data(), 0, DWORD(wav.size()), 0);
  ASSERT_NE(fromFile, 0u);
  ASSERT_NE(fromMemory, 0u);
  ASSERT_NE(once, 0u);
  for (HSTREAM s : {fromFile, fromMemory, once}) EXPECT_EQ(BASS_ChannelPlay(s, BASS_TRUE), BASS_TRUE);
  rig.AdvanceMs(2000);
  EXPECT_EQ(BASS_ChannelIsActive(fromFile), 1u);
  EXPECT_EQ(BASS_ChannelIsActive(fromMemory), 1u);
  EXPECT_EQ(BASS_ChannelIsActive(once), 0u);  // played once, ended
  EXPECT_EQ(BASS_ChannelStop(fromFile), BASS_TRUE);
  EXPECT_EQ(BASS_ChannelIsActive(fromFile), 0u);
  // Stopped streams stay valid and start again.
  rig.AdvanceMs(500);
  EXPECT_EQ(BASS_ChannelPlay(fromFile, BASS_TRUE), BASS_TRUE);
  EXPECT_EQ(BASS_ChannelPlay(once, BASS_TRUE), BASS_TRUE);
  rig.AdvanceMs(100);
  EXPECT_EQ(BASS_ChannelIsActive(fromFile), 1u);
  EXPECT_EQ(BASS_ChannelIsActive(once), 1u);
}

// A looped stream in the mix is one unbroken tone across its loop points;
// a restart begins at the start, a play without restart goes on from where
// the stream stopped.
TEST(AudioLibrary, RecordedStreamLoopsSeamlesslyAndRestartsAtItsStart) {
  TAudioRig rig;
  rig.Record();
  // Half a second of silence, then half a second of tone: where it plays
  // from shows in the mix.
  std::string wav = test::SineWav(Tone(1));
  for (size_t i = 44; i < 44 + 22050 * 4; ++i) wav[i] = 0;
  HSTREAM stream = BASS_StreamCreateFile(BASS_TRUE, wav.data(), 0, DWORD(wav.size()), BASS_SAMPLE_LOOP);
  BASS_ChannelPlay(stream, BASS_TRUE);
  rig.AdvanceMs(2500);   // 0-2500: silence/tone twice, then silence
  BASS_ChannelStop(stream);
  rig.AdvanceMs(200);    // 2500-2700: stopped
  BASS_ChannelPlay(stream, BASS_FALSE);
  rig.AdvanceMs(300);    // 2700-3000: goes on from 0.5 s into the file: the tone
  BASS_ChannelPlay(stream, BASS_TRUE);
  rig.AdvanceMs(300);    // 3000-3300: from the start: silence
  auto mix = rig.FinishRecording();
  ASSERT_EQ(mix.size(), size_t(44100 * 3.3) * 2);
  for (double ms : {0.0, 1000.0, 2000.0}) EXPECT_LT(RmsAt(mix, ms + 20, 460), 0.001) << ms;
  for (double ms : {500.0, 1500.0}) EXPECT_NEAR(ToneAt(mix, ms + 5, 490), 0.5, 0.01) << ms;
  // Every sample of the tone halves follows the sine, the second pass
  // (after the loop point at 1000 ms) included.
  double worst = 0;
  for (size_t i = 22050; i < 44100 * 2; ++i) {
    if (i % 44100 < 22050) continue;
    worst = std::max(worst, std::abs(mix[2 * i] - test::ToneValue(Tone(1), int64_t(i % 44100))));
  }
  EXPECT_LT(worst, 3.0 / 32768);
  EXPECT_LT(RmsAt(mix, 2510, 180), 0.001);   // stopped
  EXPECT_NEAR(ToneAt(mix, 2705, 290), 0.5, 0.01);  // resumed where it stopped
  EXPECT_LT(RmsAt(mix, 3010, 280), 0.001);   // restarted: the silent half again
}

// Pausing holds every channel where it is; starting again goes on from
// there, with the state unchanged meanwhile.
TEST(AudioLibrary, PauseAndStartHoldAndResumeEveryChannel) {
  TAudioRig rig;
  HSAMPLE sample = LoadSampleFromMemory(test::SineWav(Tone(1)));
  HCHANNEL channel = BASS_SampleGetChannel(sample, BASS_FALSE);
  BASS_ChannelPlay(channel, BASS_FALSE);
  const std::string wav = test::SineWav(Tone(1));
  HSTREAM stream = BASS_StreamCreateFile(BASS_TRUE, wav.data(), 0, DWORD(wav.size()), 0);
  BASS_ChannelPlay(stream, BASS_TRUE);
  rig.AdvanceMs(500);
  EXPECT_EQ(BASS_Pause(), BASS_TRUE);
  rig.AdvanceMs(5000);
  EXPECT_EQ(BASS_ChannelIsActive(channel), 1u);
  EXPECT_EQ(BASS_ChannelIsActive(stream), 1u);
  EXPECT_EQ(BASS_Start(), BASS_TRUE);
  rig.AdvanceMs(490);
  EXPECT_EQ(BASS_ChannelIsActive(channel), 1u);
  EXPECT_EQ(BASS_ChannelIsActive(stream), 1u);
  rig.AdvanceMs(20);
  EXPECT_EQ(BASS_ChannelIsActive(channel), 0u);
  EXPECT_EQ(BASS_ChannelIsActive(stream), 0u);
}

// Attribute reads hand back what the engine hands back in turn; a volume
// or pan change is heard at once.
TEST(AudioLibrary, VolumeAndPanChangeAtOnce) {
  TAudioRig rig;
  rig.Record();
  TToneSpec lowRate = Tone(2);
  lowRate.Rate = 22050;
  HSAMPLE sample = LoadSampleFromMemory(test::SineWav(lowRate));
  HCHANNEL channel = BASS_SampleGetChannel(sample, BASS_FALSE);
  DWORD freq = 0, volume = 0;
  int pan = 7;
  ASSERT_EQ(BASS_ChannelGetAttributes(channel, &freq, &volume, &pan), BASS_TRUE);
  EXPECT_EQ(freq, 22050u);  // the file's own rate
  EXPECT_EQ(volume, 100u);
  EXPECT_EQ(pan, 0);
  BASS_ChannelPlay(channel, BASS_FALSE);
  rig.AdvanceMs(200);
  ASSERT_EQ(BASS_ChannelSetAttributes(channel, int(freq), 50, pan), BASS_TRUE);
  rig.AdvanceMs(200);
  ASSERT_EQ(BASS_ChannelSetAttributes(channel, -1, -1, -100), BASS_TRUE);  // hard left
  rig.AdvanceMs(200);
  EXPECT_EQ(BASS_ChannelSetAttributes(channel, 11025, 50, 0), BASS_FALSE);  // another rate: refused
  EXPECT_EQ(BASS_ChannelSetAttributes(channel, 0, 250, -300), BASS_TRUE);   // clamped
  ASSERT_EQ(BASS_ChannelGetAttributes(channel, &freq, &volume, &pan), BASS_TRUE);
  EXPECT_EQ(freq, 22050u);
  EXPECT_EQ(volume, 100u);
  EXPECT_EQ(pan, -100);
  auto mix = rig.FinishRecording();
  EXPECT_NEAR(ToneAt(mix, 20, 170), 0.5, 0.01);
  EXPECT_NEAR(ToneAt(mix, 205, 190), 0.25, 0.01);  // within 5 ms of the change
  EXPECT_NEAR(RmsAt(mix, 405, 190, 0), 0.25 / std::sqrt(2.0), 0.01);
  EXPECT_LT(RmsAt(mix, 405, 190, 1), 0.001);
}

// Many sounds at once add up, and the sum is clipped rather than wrapped.
TEST(AudioLibrary, LoudMixClipsAtFullScale) {
  TAudioRig rig;
  rig.Record();
  const std::string wav = test::SineWav(Tone(0.5, 441, 0.9));
  for (int i = 0; i < 4; ++i) {
    HSAMPLE s = LoadSampleFromMemory(wav);
    BASS_ChannelPlay(BASS_SampleGetChannel(s, BASS_FALSE), BASS_FALSE);
  }
  rig.AdvanceMs(400);
  auto mix = rig.FinishRecording();
  for (size_t i = 0; i < 441; ++i) {
    double expected = std::clamp(4 * test::ToneValue(Tone(0.5, 441, 0.9), int64_t(i)), -1.0, 1.0);
    ASSERT_NEAR(mix[2 * i], expected, 0.002) << i;
  }
}

// The recording holds exactly the time that passed, at the mix format.
TEST(AudioLibrary, RecordingHoldsTheMixedSignal) {
  TAudioRig rig;
  rig.AdvanceMs(100);  // before the recording: not in it
  rig.Record();
  TToneSpec tone = Tone(0.6, 1000, 0.4);
  HSAMPLE sample = LoadSampleFromMemory(test::SineWav(tone));
  BASS_ChannelPlay(BASS_SampleGetChannel(sample, BASS_FALSE), BASS_FALSE);
  rig.AdvanceMs(1000);
  BASS_Pause();
  rig.AdvanceMs(1000);  // paused time is left out
  BASS_Start();
  auto mix = rig.FinishRecording();
  ASSERT_EQ(mix.size(), size_t(44100) * 2);
  for (size_t i = 0; i < size_t(44100 * 0.6); i += 37) {
    ASSERT_NEAR(mix[2 * i], test::ToneValue(tone, int64_t(i)), 2.0 / 32768) << i;
    ASSERT_EQ(mix[2 * i], mix[2 * i + 1]);
  }
  EXPECT_LT(RmsAt(mix, 610, 380), 1e-6);
}

TEST(AudioLibrary, BrokenFilesGiveNoHandle) {
  TAudioRig rig;
  std::string missing = (rig.Folder() / "missing.mp3").string();
  std::string empty = rig.WriteFile("empty.ogg", "");
  std::string junk = rig.WriteFile("junk.wav", "RIFF\x10\0\0\0WAVEfmt ");
  for (const std::string& path : {missing, empty, junk}) {
    EXPECT_EQ(BASS_SampleLoad(BASS_FALSE, path.c_str(), 0, 0, 3, BASS_SAMPLE_OVER_POS), 0u) << path;
    EXPECT_EQ(BASS_StreamCreateFile(BASS_FALSE, path.c_str(), 0, 0, BASS_SAMPLE_LOOP), 0u) << path;
  }
  EXPECT_EQ(BASS_SampleLoad(BASS_TRUE, "", 0, 0, 3, 0), 0u);
  EXPECT_EQ(BASS_StreamCreateFile(BASS_TRUE, nullptr, 0, 10, 0), 0u);
}

// A stream whose file goes bad while it plays ends, even when it loops.
TEST(AudioLibrary, DecodingErrorMidStreamEndsIt) {
  TAudioRig rig;
  std::string path = rig.WriteFile("music.wav", test::SineWav(Tone(3)));
  HSTREAM stream = BASS_StreamCreateFile(BASS_FALSE, path.c_str(), 0, 0, BASS_SAMPLE_LOOP);
  ASSERT_NE(stream, 0u);
  BASS_ChannelPlay(stream, BASS_TRUE);
  rig.AdvanceMs(100);
  std::filesystem::resize_file(path, 0);
  rig.AdvanceMs(1000);
  EXPECT_EQ(BASS_ChannelIsActive(stream), 0u);
}

}  // namespace
}  // namespace kw
