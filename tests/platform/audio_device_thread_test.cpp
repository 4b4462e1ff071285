// The library with a device that pulls audio on a thread of its own, as the
// SDL device does: the feed thread decodes ahead, the game thread changes
// state meanwhile, and nothing is lost, stuck or torn.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/bass.h"
#include "support/audio_fixtures.h"

namespace kw {
namespace {

// Pulls 512-frame blocks in real time on its own thread and keeps the
// loudest value it saw.
class TThreadedDevice final : public TAudioDevice {
 public:
  explicit TThreadedDevice(std::atomic<float>& peak, std::atomic<int64_t>& frames) : peak_(peak), frames_(frames) {}
  ~TThreadedDevice() override { Close(); }
  bool Open(TAudioRenderSource& source) override {
    running_ = true;
    thread_ = std::thread([this, &source] {
      std::vector<float> block(512 * 2);
      auto next = std::chrono::steady_clock::now();
      while (running_) {
        source.Render(block.data(), 512);
        for (float v : block)
          if (std::abs(v) > peak_) peak_ = std::abs(v);
        frames_ += 512;
        next += std::chrono::microseconds(11610);
        std::this_thread::sleep_until(next);
      }
    });
    return true;
  }
  void Close() override {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }
  const char* Name() const override { return "a test device"; }

 private:
  std::atomic<float>& peak_;
  std::atomic<int64_t>& frames_;
  std::atomic<bool> running_{false};
  std::thread thread_;
};

class TFailingDevice final : public TAudioDevice {
 public:
  bool Open(TAudioRenderSource&) override { return false; }
  void Close() override {}
  const char* Name() const override { return "a broken device"; }
};

TEST(AudioDevice, PlaysWhileTheGameThreadChangesState) {
  std::atomic<float> peak{0};
  std::atomic<int64_t> frames{0};
  KwAudioUseDevice(std::make_unique<TThreadedDevice>(peak, frames));
  ASSERT_EQ(BASS_Init(-1, 44100, 0, nullptr, nullptr), BASS_TRUE);
  EXPECT_TRUE(KwAudioHasDevice());
  test::TToneSpec tone;
  tone.Seconds = 0.3;
  tone.Amplitude = 0.2;
  const std::string wav = test::SineWav(tone);
  HSTREAM stream = BASS_StreamCreateFile(BASS_TRUE, wav.data(), 0, DWORD(wav.size()), BASS_SAMPLE_LOOP);
  HSAMPLE sample = BASS_SampleLoad(BASS_TRUE, wav.data(), 0, DWORD(wav.size()), 3, BASS_SAMPLE_OVER_POS);
  ASSERT_NE(stream, 0u);
  ASSERT_NE(sample, 0u);
  BASS_ChannelPlay(stream, BASS_TRUE);
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
  int round = 0;
  while (std::chrono::steady_clock::now() < end) {
    HCHANNEL channel = BASS_SampleGetChannel(sample, BASS_FALSE);
    BASS_ChannelSetAttributes(channel, -1, round % 100, (round % 201) - 100);
    BASS_ChannelPlay(channel, BASS_FALSE);
    BASS_ChannelSetAttributes(stream, -1, 100 - round % 100, -101);
    if (round % 7 == 0) BASS_ChannelPlay(stream, BASS_TRUE);
    if (round % 11 == 0) BASS_ChannelStop(stream);
    if (round % 13 == 0) BASS_ChannelPlay(stream, BASS_FALSE);
    if (round % 17 == 0) BASS_Pause();
    if (round % 17 == 1) BASS_Start();
    ++round;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  BASS_Start();
  BASS_ChannelPlay(stream, BASS_TRUE);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
  EXPECT_EQ(BASS_Free(), BASS_TRUE);
  EXPECT_GT(frames.load(), 44100 / 4);
  EXPECT_GT(peak.load(), 0.1f);  // sound reached the device
  EXPECT_LE(peak.load(), 1.0f);
}

TEST(AudioDevice, AFailingDeviceLeavesTheNullOutput) {
  TVirtualClock clock;
  KwAudioUseDevice(std::make_unique<TFailingDevice>());
  KwAudioSetClock(&clock);
  ASSERT_EQ(BASS_Init(-1, 44100, 0, nullptr, nullptr), BASS_TRUE);
  EXPECT_FALSE(KwAudioHasDevice());
  test::TToneSpec tone;
  tone.Seconds = 0.5;
  const std::string wav = test::SineWav(tone);
  HSAMPLE sample = BASS_SampleLoad(BASS_TRUE, wav.data(), 0, DWORD(wav.size()), 3, 0);
  HCHANNEL channel = BASS_SampleGetChannel(sample, BASS_FALSE);
  BASS_ChannelPlay(channel, BASS_FALSE);
  clock.AdvanceNs(400'000'000);
  EXPECT_EQ(BASS_ChannelIsActive(channel), 1u);
  clock.AdvanceNs(200'000'000);
  EXPECT_EQ(BASS_ChannelIsActive(channel), 0u);
  BASS_Free();
}

}  // namespace
}  // namespace kw
