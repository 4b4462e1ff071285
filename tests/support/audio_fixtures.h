// Sound files made by the tests themselves: a sine tone as PCM WAV, as Ogg
// Vorbis (libvorbisenc) and as MP3 (libmp3lame), and readers of the WAV
// files the player writes. The encoders are test-only dependencies; without
// them the OGG and MP3 makers return empty strings (tests then skip).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kw::test {

struct TToneSpec {
  int Rate = 44100;
  int Channels = 2;
  double Seconds = 0.5;
  double Frequency = 440.0;
  double Amplitude = 0.5;  // of full scale
  int Bits = 16;           // WAV only: 8, 16, 24 or 32 (32: float)
};

// The tone's value at frame `i` (every channel carries the same tone).
double ToneValue(const TToneSpec& tone, int64_t i);

std::string SineWav(const TToneSpec& tone);
std::string SineOgg(const TToneSpec& tone);
std::string SineMp3(const TToneSpec& tone);
bool HaveAudioEncoders();

// A 16-bit PCM WAV read back: interleaved samples; false if not one.
struct TWavContents {
  int Rate = 0;
  int Channels = 0;
  std::vector<int16_t> Samples;
  size_t Frames() const { return Channels ? Samples.size() / size_t(Channels) : 0; }
};
bool ReadWav16(const std::string& bytes, TWavContents& out);

// Amplitude of the `frequency` component of a run of samples (one channel
// of an interleaved buffer), by correlation with a sine and a cosine; a pure
// tone of amplitude A gives about A.
double ToneAmplitude(const std::vector<float>& interleaved, int channels, int channel, int rate,
                     double frequency, size_t first, size_t count);
// Root-mean-square level of one channel of a run.
double RmsLevel(const std::vector<float>& interleaved, int channels, int channel, size_t first,
                size_t count);

}  // namespace kw::test
