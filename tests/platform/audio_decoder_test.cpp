#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/audio_decoder.h"
#include "platform/audio_pipeline.h"
#include "platform/audio_sample.h"
#include "support/audio_fixtures.h"
#include "support/temp_folder.h"

namespace kw {
namespace {

using test::TToneSpec;

enum class TFormat { Wav, Ogg, Mp3 };

struct TDecodeCase {
  const char* name;
  TFormat format;
  TToneSpec tone;
  double lengthTolerance;  // frames of slack in the decoded length, at 44100 Hz
  double amplitudeTolerance;  // MP3 round trips come back about 5 % quieter
};

std::string Encode(TFormat format, const TToneSpec& tone) {
  switch (format) {
    case TFormat::Wav: return test::SineWav(tone);
    case TFormat::Ogg: return test::SineOgg(tone);
    case TFormat::Mp3: return test::SineMp3(tone);
  }
  return {};
}

std::vector<float> ToFloat(const TSampleData& data) {
  std::vector<float> out;
  for (int16_t s : data.Frames) out.push_back(s / 32768.0f);
  return out;
}

class AudioDecode : public testing::TestWithParam<TDecodeCase> {};

// Every format, rate and channel count comes out as 44100 Hz stereo holding
// the same tone, over the same time, whether read from memory or a file.
TEST_P(AudioDecode, GivesTheToneAtTheMixRateFromMemoryAndFile) {
  const TDecodeCase& c = GetParam();
  if (c.format != TFormat::Wav && !test::HaveAudioEncoders()) GTEST_SKIP() << "no encoders";
  std::string bytes = Encode(c.format, c.tone);
  ASSERT_FALSE(bytes.empty());
  test::TTempFolder folder;
  std::string path = folder.Write("tone.bin", bytes).string();
  for (bool fromFile : {false, true}) {
    SCOPED_TRACE(fromFile ? "file" : "memory");
    auto input = fromFile ? OpenFileAudioBytes(path) : MakeMemoryAudioBytes(bytes.data(), bytes.size());
    auto sample = DecodeSample(std::move(input));
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->SourceRate, c.tone.Rate);
    const double expectedFrames = c.tone.Seconds * 44100;
    EXPECT_NEAR(double(sample->FrameCount()), expectedFrames, c.lengthTolerance);
    std::vector<float> pcm = ToFloat(*sample);
    // Measure in the middle, away from any encoder's fade at the edges.
    size_t first = size_t(expectedFrames * 0.25), count = size_t(expectedFrames * 0.5);
    for (int channel = 0; channel < 2; ++channel) {
      EXPECT_NEAR(test::ToneAmplitude(pcm, 2, channel, 44100, c.tone.Frequency, first, count),
                  c.tone.Amplitude, c.amplitudeTolerance)
          << "channel " << channel;
      // Nothing else: the tone carries (almost) all the energy.
      EXPECT_NEAR(test::RmsLevel(pcm, 2, channel, first, count), c.tone.Amplitude / std::sqrt(2.0),
                  c.amplitudeTolerance);
    }
  }
}

TToneSpec Tone(int rate, int channels, int bits = 16) {
  TToneSpec t;
  t.Rate = rate;
  t.Channels = channels;
  t.Bits = bits;
  return t;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, AudioDecode,
    testing::Values(TDecodeCase{"wav16_stereo", TFormat::Wav, Tone(44100, 2), 0, 0.002},
                    TDecodeCase{"wav8_mono", TFormat::Wav, Tone(44100, 1, 8), 0, 0.01},
                    TDecodeCase{"wav24_stereo", TFormat::Wav, Tone(44100, 2, 24), 0, 0.002},
                    TDecodeCase{"wavfloat_mono", TFormat::Wav, Tone(44100, 1, 32), 0, 0.002},
                    TDecodeCase{"wav16_22050_mono", TFormat::Wav, Tone(22050, 1), 2, 0.005},
                    TDecodeCase{"wav16_48000_stereo", TFormat::Wav, Tone(48000, 2), 2, 0.005},
                    TDecodeCase{"ogg_stereo", TFormat::Ogg, Tone(44100, 2), 2, 0.02},
                    TDecodeCase{"ogg_32000_mono", TFormat::Ogg, Tone(32000, 1), 4, 0.02},
                    TDecodeCase{"mp3_stereo", TFormat::Mp3, Tone(44100, 2), 2, 0.04},
                    TDecodeCase{"mp3_22050_mono", TFormat::Mp3, Tone(22050, 1), 4, 0.04}),
    [](const testing::TestParamInfo<TDecodeCase>& info) { return std::string(info.param.name); });

// Damaged files of every format: nothing decodes from the empty or cut-off
// start, and damage further in never crashes or hangs; what decodes stays in
// range.
TEST(AudioDecode, BrokenInputGivesNothingOrBoundedSound) {
  TToneSpec tone;
  tone.Seconds = 0.3;
  std::vector<std::pair<std::string, std::string>> files = {{"wav", test::SineWav(tone)}};
  if (test::HaveAudioEncoders()) {
    files.emplace_back("ogg", test::SineOgg(tone));
    files.emplace_back("mp3", test::SineMp3(tone));
  }
  std::mt19937 random(7);
  // The good files seed the decoders' fuzz target.
  std::filesystem::path corpus = std::filesystem::path(KW_BINARY_DIR) / "fuzz/corpus/audio_decode";
  std::error_code ec;
  std::filesystem::create_directories(corpus, ec);
  for (auto& [name, good] : files)
    std::ofstream(corpus / ("tone." + name), std::ios::binary).write(good.data(), std::streamsize(good.size()));
  for (auto& [name, good] : files) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(DecodeSample(MakeMemoryAudioBytes(good.data(), 0)));
    // A cut inside the header leaves nothing to play.
    for (size_t cut : {size_t(1), size_t(4), size_t(12), size_t(30)})
      EXPECT_FALSE(DecodeSample(MakeMemoryAudioBytes(good.data(), cut))) << "cut at " << cut;
    std::vector<std::string> damaged;
    damaged.push_back(good.substr(0, good.size() / 2));  // cut half-way
    std::string scrambled = good;
    for (size_t i = scrambled.size() / 3; i < scrambled.size() * 2 / 3; ++i) scrambled[i] = char(random());
    damaged.push_back(scrambled);
    std::string flipped = good;
    for (int i = 0; i < 200; ++i) flipped[random() % flipped.size()] ^= char(1 << (random() % 8));
    damaged.push_back(flipped);
    for (const std::string& bytes : damaged) {
      auto sample = DecodeSample(MakeMemoryAudioBytes(bytes.data(), bytes.size()));
      if (!sample) continue;
      EXPECT_LE(sample->FrameCount(), int64_t(tone.Seconds * 44100 * 2));
    }
  }
  // Bytes of no format at all.
  std::string noise(20000, '\0');
  for (char& c : noise) c = char(random());
  auto sample = DecodeSample(MakeMemoryAudioBytes(noise.data(), noise.size()));
  if (sample) {
    EXPECT_LE(sample->FrameCount(), 44100);
  }
}

TEST(AudioDecode, WavHeaderFieldsAreChecked) {
  TToneSpec tone;
  tone.Seconds = 0.05;
  const std::string good = test::SineWav(tone);
  struct TPatch {
    const char* what;
    size_t at;
    std::string bytes;
  };
  const TPatch patches[] = {
      {"no channels", 22, std::string("\0\0", 2)},
      {"many channels", 22, std::string("\x40\0", 2)},
      {"rate 0", 24, std::string("\0\0\0\0", 4)},
      {"bits 12", 34, std::string("\x0c\0", 2)},
      {"block align wrong", 32, std::string("\x03\0", 2)},
      {"compressed format", 20, std::string("\x02\0", 2)},
      {"fmt chunk huge", 16, std::string("\xff\xff\xff\x7f", 4)},
      {"data renamed", 36, "junk"},
  };
  for (const TPatch& p : patches) {
    std::string bad = good;
    bad.replace(p.at, p.bytes.size(), p.bytes);
    EXPECT_FALSE(OpenWavDecoder(MakeMemoryAudioBytes(bad.data(), bad.size()))) << p.what;
  }
  // A data size beyond the file plays what is there.
  std::string longer = good;
  longer.replace(40, 4, std::string("\xff\xff\xff\x0f", 4));
  auto sample = DecodeSample(MakeMemoryAudioBytes(longer.data(), longer.size()));
  ASSERT_TRUE(sample);
  EXPECT_EQ(sample->FrameCount(), int64_t(tone.Seconds * 44100));
}

// A looping pipeline joins the end to the start with nothing lost or added:
// a tone of whole periods comes out as one unbroken sine.
TEST(AudioPipeline, LoopJoinsWithoutAGap) {
  TToneSpec tone;
  tone.Frequency = 441;  // 100 frames a period: one second is 441 whole periods
  tone.Seconds = 1;
  const std::string wav = test::SineWav(tone);
  TAudioPipeline pipeline(OpenAudioDecoder(MakeMemoryAudioBytes(wav.data(), wav.size())), true);
  std::vector<float> out(size_t(44100 * 2.5) * 2);
  long n = pipeline.Read(out.data(), long(out.size() / 2));
  ASSERT_EQ(n, long(out.size() / 2));
  double worst = 0;
  for (long i = 0; i < n; ++i) worst = std::max(worst, std::abs(out[size_t(2 * i)] - test::ToneValue(tone, i)));
  EXPECT_LT(worst, 2.0 / 32768);
}

// The same across a resampler: no dip in level at the loop points.
TEST(AudioPipeline, ResampledLoopKeepsItsLevel) {
  TToneSpec tone;
  tone.Rate = 22050;
  tone.Frequency = 441;  // whole periods in one second
  tone.Seconds = 1;
  const std::string wav = test::SineWav(tone);
  TAudioPipeline pipeline(OpenAudioDecoder(MakeMemoryAudioBytes(wav.data(), wav.size())), true);
  std::vector<float> out(44100 * 3 * 2);
  ASSERT_EQ(pipeline.Read(out.data(), 44100 * 3), 44100 * 3);
  // Windows of one period (100 output frames) across two loop points,
  // skipping the resampler's settling at the very start.
  for (size_t w = 2; w < 441 * 3; ++w)
    ASSERT_NEAR(test::RmsLevel(out, 2, 0, w * 100, 100), 0.5 / std::sqrt(2.0), 0.01) << "window " << w;
}

// An error in the data ends the sound, even a looping one, rather than
// leaving it spinning.
TEST(AudioPipeline, ReadErrorEndsALoopingSound) {
  test::TTempFolder folder;
  TToneSpec tone;
  auto path = folder.Write("tone.wav", test::SineWav(tone));
  TAudioPipeline pipeline(OpenAudioDecoder(OpenFileAudioBytes(path.string())), true);
  std::vector<float> out(1000 * 2);
  ASSERT_EQ(pipeline.Read(out.data(), 1000), 1000);
  std::filesystem::resize_file(path, 0);  // the file shrinks under the player
  std::vector<float> rest(44100 * 4 * 2);
  long n = pipeline.Read(rest.data(), 44100 * 4);
  EXPECT_LT(n, 44100);
  EXPECT_TRUE(pipeline.Ended());
  EXPECT_TRUE(pipeline.Failed());
}

}  // namespace
}  // namespace kw
