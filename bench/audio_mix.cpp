// Mixing cost: 32 channels playing at once (16 samples, 16 looping
// streams, half of those at 22050 Hz so they go through the resampler), for
// one second of audio per iteration, including the stream decoding that
// playing them needs. The figure is CPU time per second of audio.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio_bytes.h"
#include "platform/audio_decoder.h"
#include "platform/audio_mixer.h"
#include "platform/audio_pipeline.h"
#include "platform/audio_sample.h"

namespace {

void Put(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s.push_back(char(uint8_t(v >> (8 * i))));
}

// A 16-bit stereo sine as a WAV file.
std::string SineWav(int rate, double seconds, double frequency) {
  const int frames = int(rate * seconds);
  std::string data;
  for (int i = 0; i < frames; ++i) {
    int v = int(std::lrint(12000 * std::sin(2 * M_PI * frequency * i / rate)));
    Put(data, uint32_t(v), 2);
    Put(data, uint32_t(v), 2);
  }
  std::string s = "RIFF";
  Put(s, uint32_t(36 + data.size()), 4);
  s += "WAVEfmt ";
  Put(s, 16, 4);
  Put(s, 1, 2);
  Put(s, 2, 2);
  Put(s, uint32_t(rate), 4);
  Put(s, uint32_t(rate * 4), 4);
  Put(s, 4, 2);
  Put(s, 16, 2);
  s += "data";
  Put(s, uint32_t(data.size()), 4);
  return s + data;
}

void MixSecond(kw::TMixer& mixer, std::vector<float>& block) {
  for (int done = 0; done < 44100; done += 512) {
    int n = std::min(512, 44100 - done);
    mixer.FeedStreams();
    mixer.Render(block.data(), n);
  }
  benchmark::DoNotOptimize(block.data());
}

// Args: streams (the rest of the 32 are samples), and how many of every
// two streams run at 22050 Hz (0: none, 1: half).
void BM_Mix32Channels(benchmark::State& state) {
  const int streams = int(state.range(0));
  const bool resampled = state.range(1) != 0;
  const int samples = 32 - streams;
  kw::TMixer mixer;
  const std::string sampleWav = SineWav(44100, 30, 330);
  const std::string stream44 = SineWav(44100, 3, 440);
  const std::string stream22 = SineWav(22050, 3, 550);
  std::vector<int> sampleChannels;
  for (int i = 0; i < samples; ++i) {
    auto data = kw::DecodeSample(kw::MakeMemoryAudioBytes(sampleWav.data(), sampleWav.size()));
    int id = mixer.AddSample(std::move(data), 3, true);
    int channel = mixer.GetSampleChannel(id, false);
    mixer.SetVolumePan(channel, 20 + i, (i * 13) % 200 - 100);
    mixer.Play(channel, false);
    sampleChannels.push_back(channel);
  }
  for (int i = 0; i < streams; ++i) {
    const std::string& wav = resampled && i % 2 ? stream22 : stream44;
    auto pipeline = std::make_unique<kw::TAudioPipeline>(
        kw::OpenAudioDecoder(kw::MakeMemoryAudioBytes(wav.data(), wav.size())), true);
    int channel = mixer.AddStream(std::move(pipeline));
    mixer.SetVolumePan(channel, 30, 0);
    mixer.Play(channel, true);
  }
  std::vector<float> block(512 * 2);
  for (auto _ : state) {
    // Samples end; keep all 32 sounding (outside the measured time).
    state.PauseTiming();
    for (int channel : sampleChannels)
      if (!mixer.IsPlaying(channel)) mixer.Play(channel, true);
    state.ResumeTiming();
    MixSecond(mixer, block);
  }
  state.counters["underruns"] = double(mixer.Underruns());
  state.SetLabel(std::to_string(samples) + " samples + " + std::to_string(streams) + " streams" +
                 (resampled && streams ? ", half resampled" : ""));
}
BENCHMARK(BM_Mix32Channels)
    ->Args({16, 1})
    ->Args({16, 0})
    ->Args({0, 0})
    ->Args({32, 0})
    ->Args({32, 1})
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
