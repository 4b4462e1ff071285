// The mixer: samples (decoded once, each with a few playback channels) and
// streams (decoded as they play) summed into 44100 Hz stereo float.
//
// Threads. Game-thread calls change channel state under one short lock
// (`mixLock_`) that the output thread also takes once per rendered block;
// neither side does heavy work while holding it (no decoding, no file
// access, no allocation on the output thread). Streams decode ahead into a
// lock-free ring each: FeedStreams fills them, on the feed thread when a
// real device pulls audio, or on the game thread right before each block
// when the null output renders, so headless runs stay exact. A stream's
// decoder is guarded by its own lock, taken by whoever feeds or rewinds it.
// Lock order: a stream's decode lock, then mixLock_.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "platform/audio_pipeline.h"
#include "platform/audio_ring.h"
#include "platform/audio_sample.h"

namespace kw {

class TAudioRecorder;

class TMixer final : public TAudioRenderSource {
 public:
  // Channels that can sound at once; a play beyond that fails.
  static constexpr int kMaxActive = 256;
  // Frames a stream decodes ahead (about 370 ms).
  static constexpr size_t kStreamAheadFrames = 16384;

  TMixer();
  ~TMixer() override;

  // ---- game thread ----
  // Adds a decoded sound with `maxPlaybacks` channels; returns its id.
  // `overrideLongest`: when all are busy, a new playback takes the channel
  // that has played longest.
  int AddSample(std::unique_ptr<TSampleData> data, int maxPlaybacks, bool overrideLongest);
  // A channel of the sample ready to play (reset to volume 100, centre pan,
  // the start). A free one if any; else, with override, the one playing
  // longest, which stops; else, or with `onlyNew`, -1.
  int GetSampleChannel(int sampleId, bool onlyNew);
  // Adds a stream over `pipeline`; returns its channel id.
  int AddStream(std::unique_ptr<TAudioPipeline> pipeline);

  bool ChannelExists(int channel) const;
  uint32_t ChannelGeneration(int channel) const;
  bool IsStream(int channel) const;
  int SampleCount() const { return int(samples_.size()); }
  int ChannelCount() const { return int(channels_.size()); }

  // Starts the channel: from the beginning with `restart` (or when it has
  // played to its end), else from where it stopped. False when too many
  // channels sound already.
  bool Play(int channel, bool restart);
  // Stops the channel where it is; it can be played again.
  void Stop(int channel);
  bool IsPlaying(int channel) const;
  int Frequency(int channel) const;
  int Volume(int channel) const;
  int Pan(int channel) const;
  // Volume 0-100 and pan -100 (left) to 100 (right), clamped. A playing
  // channel glides to the new gains within a few milliseconds, so a change
  // takes effect at once without a click.
  void SetVolumePan(int channel, int volume, int pan);

  // While paused every channel holds its place and the output is silent.
  void SetPaused(bool paused);
  bool Paused() const { return paused_.load(); }

  // Fills the rings of the playing streams.
  void FeedStreams();
  // Runs FeedStreams (and the recorder's disk writes) on a thread of its
  // own every few milliseconds, for devices that pull on their own thread.
  void StartFeedThread();
  void StopFeedThread();

  // Everything rendered (outside pauses) is also handed to `recorder`; null
  // detaches. The recorder must outlive its attachment.
  void SetRecorder(TAudioRecorder* recorder);

  // Number of blocks in which a stream had too little decoded audio.
  uint64_t Underruns() const { return underruns_.load(); }

  // ---- output thread ----
  void Render(float* out, int frames) override;

 private:
  struct TStream {
    explicit TStream(std::unique_ptr<TAudioPipeline> p)
        : pipeline(std::move(p)), ring(kStreamAheadFrames) {}
    std::mutex decodeLock;
    std::unique_ptr<TAudioPipeline> pipeline;  // under decodeLock
    TFrameRing<float, 2> ring;
    std::atomic<bool> feeding{false};  // playing: keep the ring filled
    std::atomic<bool> ended{false};    // the pipeline has handed out its last frame
  };
  struct TChannel {
    const TSampleData* sample = nullptr;
    int sampleId = -1;
    TStream* stream = nullptr;
    uint32_t generation = 0;
    // Under mixLock_:
    bool playing = false;
    int64_t pos = 0;  // sample frame; streams play from their ring
    int frequency = 44100;
    int volume = 100;
    int pan = 0;
    float gainL = 1, gainR = 1, targetL = 1, targetR = 1;
    float stepL = 0, stepR = 0;  // per frame while rampLeft > 0
    int rampLeft = 0;
    uint64_t startOrder = 0;
    int activeIndex = -1;
  };
  struct TSample {
    std::unique_ptr<TSampleData> data;
    std::vector<int> channels;
    bool overrideLongest = false;
  };

  void FeedStream(TStream& stream);
  void Activate(TChannel& channel);     // under mixLock_
  void Deactivate(TChannel& channel);   // under mixLock_
  // Sets the target gains from volume and pan; `glide` ramps to them.
  static void TargetGains(TChannel& channel, bool glide);
  // Adds `frames` frames of `in` (scaled by `scale`) at the channel's gains.
  template <typename T>
  static void MixRun(TChannel& channel, const T* in, float scale, float* out, int frames);
  // Each answers false when the channel has finished.
  bool MixSample(TChannel& channel, float* out, int frames);
  bool MixStream(TChannel& channel, float* out, int frames);
  void FeedLoop();

  mutable std::mutex mixLock_;
  std::vector<std::unique_ptr<TChannel>> channels_;  // game thread only
  std::vector<TSample> samples_;                     // game thread only
  std::mutex registryLock_;                          // guards streams_
  std::vector<std::unique_ptr<TStream>> streams_;
  std::array<TChannel*, kMaxActive> active_{};
  int activeCount_ = 0;
  uint64_t startCounter_ = 0;
  std::atomic<bool> paused_{false};
  std::mutex recorderLock_;             // held while draining; before mixLock_
  TAudioRecorder* recorder_ = nullptr;  // written under both locks
  std::atomic<uint64_t> underruns_{0};

  std::thread feedThread_;
  std::mutex feedWake_;
  std::condition_variable feedCv_;
  bool feedStop_ = false;
};

}  // namespace kw
