#include "platform/audio_mixer.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/audio_recorder.h"
#include "platform/log.h"

namespace kw {

namespace {
// A volume or pan change glides over this many frames (about 3 ms): at once
// to the ear, without the click of a step.
constexpr int kRampFrames = 128;
// Frames a stream has decoded before its first block plays.
constexpr size_t kPrimeFrames = 8192;
}  // namespace

TMixer::TMixer() = default;

TMixer::~TMixer() { StopFeedThread(); }

int TMixer::AddSample(std::unique_ptr<TSampleData> data, int maxPlaybacks, bool overrideLongest) {
  TSample sample;
  sample.overrideLongest = overrideLongest;
  const int sampleId = int(samples_.size());
  for (int i = 0; i < std::clamp(maxPlaybacks, 1, 64); ++i) {
    auto channel = std::make_unique<TChannel>();
    channel->sample = data.get();
    channel->sampleId = sampleId;
    channel->frequency = data->SourceRate;
    sample.channels.push_back(int(channels_.size()));
    std::lock_guard lock(mixLock_);
    channels_.push_back(std::move(channel));
  }
  sample.data = std::move(data);
  samples_.push_back(std::move(sample));
  return sampleId;
}

int TMixer::GetSampleChannel(int sampleId, bool onlyNew) {
  if (sampleId < 0 || sampleId >= int(samples_.size())) return -1;
  const TSample& sample = samples_[size_t(sampleId)];
  std::lock_guard lock(mixLock_);
  TChannel* chosen = nullptr;
  int chosenId = -1;
  for (int id : sample.channels) {
    if (!channels_[size_t(id)]->playing) {
      chosen = channels_[size_t(id)].get();
      chosenId = id;
      break;
    }
  }
  if (!chosen) {
    if (onlyNew || !sample.overrideLongest) return -1;
    for (int id : sample.channels) {
      TChannel* c = channels_[size_t(id)].get();
      if (!chosen || c->startOrder < chosen->startOrder) {
        chosen = c;
        chosenId = id;
      }
    }
    Deactivate(*chosen);
  }
  chosen->generation++;
  chosen->pos = 0;
  chosen->volume = 100;
  chosen->pan = 0;
  chosen->frequency = chosen->sample->SourceRate;
  TargetGains(*chosen, false);
  return chosenId;
}

int TMixer::AddStream(std::unique_ptr<TAudioPipeline> pipeline) {
  auto channel = std::make_unique<TChannel>();
  channel->frequency = pipeline->SourceRate();
  auto stream = std::make_unique<TStream>(std::move(pipeline));
  channel->stream = stream.get();
  {
    std::lock_guard lock(registryLock_);
    streams_.push_back(std::move(stream));
  }
  std::lock_guard lock(mixLock_);
  channels_.push_back(std::move(channel));
  return int(channels_.size()) - 1;
}

bool TMixer::ChannelExists(int channel) const { return channel >= 0 && channel < int(channels_.size()); }

uint32_t TMixer::ChannelGeneration(int channel) const { return channels_[size_t(channel)]->generation; }

bool TMixer::IsStream(int channel) const { return channels_[size_t(channel)]->stream != nullptr; }

bool TMixer::Play(int channelId, bool restart) {
  TChannel& channel = *channels_[size_t(channelId)];
  if (TStream* stream = channel.stream) {
    std::lock_guard decode(stream->decodeLock);
    // A stream that has handed out its last frame starts over; one stopped
    // before its end goes on from where it was.
    bool fromStart = restart || (stream->ended.load() && stream->ring.Available() == 0);
    if (fromStart) {
      {
        std::lock_guard lock(mixLock_);
        stream->ring.Reset();
        stream->ended = false;
      }
      if (!stream->pipeline->Rewind()) stream->ended = true;
    }
    // Decode a little before the first block so that the start is not
    // lost to an empty ring.
    while (!stream->ended && stream->ring.Available() < kPrimeFrames) {
      size_t run = 0;
      float* target = stream->ring.WriteRun(kPrimeFrames - stream->ring.Available(), run);
      if (run == 0) break;
      long n = stream->pipeline->Read(target, long(run));
      stream->ring.Commit(size_t(n));
      if (n < long(run)) stream->ended = true;
    }
    std::lock_guard lock(mixLock_);
    if (!channel.playing) {
      if (activeCount_ >= kMaxActive) return false;
      TargetGains(channel, false);
      Activate(channel);
    }
    stream->feeding = true;
    return true;
  }
  std::lock_guard lock(mixLock_);
  if (restart || channel.pos >= channel.sample->FrameCount()) channel.pos = 0;
  if (!channel.playing) {
    if (activeCount_ >= kMaxActive) {
      KwLog("audio: more than %d sounds at once; one stays silent", kMaxActive);
      return false;
    }
    TargetGains(channel, false);
    Activate(channel);
  }
  return true;
}

void TMixer::Stop(int channelId) {
  TChannel& channel = *channels_[size_t(channelId)];
  std::lock_guard lock(mixLock_);
  Deactivate(channel);
}

bool TMixer::IsPlaying(int channelId) const {
  std::lock_guard lock(mixLock_);
  return channels_[size_t(channelId)]->playing;
}

int TMixer::Frequency(int channelId) const {
  std::lock_guard lock(mixLock_);
  return channels_[size_t(channelId)]->frequency;
}

int TMixer::Volume(int channelId) const {
  std::lock_guard lock(mixLock_);
  return channels_[size_t(channelId)]->volume;
}

int TMixer::Pan(int channelId) const {
  std::lock_guard lock(mixLock_);
  return channels_[size_t(channelId)]->pan;
}

void TMixer::SetVolumePan(int channelId, int volume, int pan) {
  TChannel& channel = *channels_[size_t(channelId)];
  std::lock_guard lock(mixLock_);
  channel.volume = std::clamp(volume, 0, 100);
  channel.pan = std::clamp(pan, -100, 100);
  TargetGains(channel, channel.playing);
}

void TMixer::SetPaused(bool paused) { paused_ = paused; }

void TMixer::SetRecorder(TAudioRecorder* recorder) {
  std::lock_guard drain(recorderLock_);
  std::lock_guard lock(mixLock_);
  recorder_ = recorder;
}

void TMixer::TargetGains(TChannel& channel, bool glide) {
  const float gain = channel.volume / 100.0f;
  channel.targetL = gain * (channel.pan > 0 ? (100 - channel.pan) / 100.0f : 1.0f);
  channel.targetR = gain * (channel.pan < 0 ? (100 + channel.pan) / 100.0f : 1.0f);
  if (!glide) {
    channel.gainL = channel.targetL;
    channel.gainR = channel.targetR;
    channel.rampLeft = 0;
    return;
  }
  channel.rampLeft = kRampFrames;
  channel.stepL = (channel.targetL - channel.gainL) / kRampFrames;
  channel.stepR = (channel.targetR - channel.gainR) / kRampFrames;
}

void TMixer::Activate(TChannel& channel) {
  channel.playing = true;
  channel.startOrder = ++startCounter_;
  channel.activeIndex = activeCount_;
  active_[size_t(activeCount_++)] = &channel;
}

void TMixer::Deactivate(TChannel& channel) {
  if (channel.stream) channel.stream->feeding = false;
  if (!channel.playing) return;
  channel.playing = false;
  int index = channel.activeIndex;
  TChannel* last = active_[size_t(--activeCount_)];
  active_[size_t(index)] = last;
  last->activeIndex = index;
  channel.activeIndex = -1;
}

// ---- feeding ----

void TMixer::FeedStream(TStream& stream) {
  // Top up in large pieces: a ring still three quarters full waits.
  if (stream.ring.Space() < stream.ring.Capacity() / 4) return;
  std::lock_guard decode(stream.decodeLock);
  while (stream.feeding.load(std::memory_order_relaxed) && !stream.ended.load(std::memory_order_relaxed)) {
    // Decode straight into the ring, one contiguous run at a time.
    size_t run = 0;
    float* target = stream.ring.WriteRun(stream.ring.Capacity(), run);
    if (run == 0) break;
    long n = stream.pipeline->Read(target, long(run));
    stream.ring.Commit(size_t(n));
    if (n < long(run)) stream.ended.store(true, std::memory_order_release);
  }
}

void TMixer::FeedStreams() {
  // Streams are only ever added, and live as long as the mixer, so the
  // pointers stay valid once read.
  size_t count;
  {
    std::lock_guard lock(registryLock_);
    count = streams_.size();
  }
  for (size_t i = 0; i < count; ++i) {
    TStream* stream;
    {
      std::lock_guard lock(registryLock_);
      stream = streams_[i].get();
    }
    if (stream->feeding.load(std::memory_order_relaxed)) FeedStream(*stream);
  }
}

void TMixer::StartFeedThread() {
  if (feedThread_.joinable()) return;
  feedStop_ = false;
  feedThread_ = std::thread([this] { FeedLoop(); });
}

void TMixer::StopFeedThread() {
  if (!feedThread_.joinable()) return;
  {
    std::lock_guard lock(feedWake_);
    feedStop_ = true;
  }
  feedCv_.notify_all();
  feedThread_.join();
}

void TMixer::FeedLoop() {
  std::unique_lock lock(feedWake_);
  while (!feedStop_) {
    lock.unlock();
    FeedStreams();
    {
      std::lock_guard drain(recorderLock_);
      if (recorder_) recorder_->Drain();
    }
    lock.lock();
    feedCv_.wait_for(lock, std::chrono::milliseconds(10), [this] { return feedStop_; });
  }
}

// ---- mixing (output thread) ----

template <typename T>
void TMixer::MixRun(TChannel& channel, const T* in, float scale, float* out, int frames) {
  int i = 0;
  for (; i < frames && channel.rampLeft > 0; ++i) {
    channel.gainL += channel.stepL;
    channel.gainR += channel.stepR;
    if (--channel.rampLeft == 0) {
      channel.gainL = channel.targetL;
      channel.gainR = channel.targetR;
    }
    out[2 * i] += float(in[2 * i]) * scale * channel.gainL;
    out[2 * i + 1] += float(in[2 * i + 1]) * scale * channel.gainR;
  }
  const float left = scale * channel.gainL, right = scale * channel.gainR;
  if (left == 0 && right == 0) return;
  for (; i < frames; ++i) {
    out[2 * i] += float(in[2 * i]) * left;
    out[2 * i + 1] += float(in[2 * i + 1]) * right;
  }
}

bool TMixer::MixSample(TChannel& channel, float* out, int frames) {
  const TSampleData& data = *channel.sample;
  int n = int(std::min<int64_t>(frames, data.FrameCount() - channel.pos));
  if (n > 0) MixRun(channel, data.Frames.data() + channel.pos * 2, 1.0f / 32768.0f, out, n);
  channel.pos += n;
  return channel.pos < data.FrameCount();
}

bool TMixer::MixStream(TChannel& channel, float* out, int frames) {
  TStream& stream = *channel.stream;
  // Read `ended` before the ring: frames written before the flag was set
  // are then visible too.
  bool ended = stream.ended.load(std::memory_order_acquire);
  auto runs = stream.ring.Peek(size_t(frames));
  MixRun(channel, runs.First, 1.0f, out, int(runs.FirstFrames));
  MixRun(channel, runs.Second, 1.0f, out + runs.FirstFrames * 2, int(runs.SecondFrames));
  size_t got = runs.FirstFrames + runs.SecondFrames;
  stream.ring.Consume(got);
  if (got < size_t(frames)) {
    if (ended) return false;
    underruns_.fetch_add(1, std::memory_order_relaxed);
  }
  return true;
}

void TMixer::Render(float* out, int frames) {
  std::memset(out, 0, sizeof(float) * size_t(frames) * 2);
  if (paused_.load(std::memory_order_relaxed)) return;
  std::lock_guard lock(mixLock_);
  for (int i = activeCount_ - 1; i >= 0; --i) {
    TChannel& channel = *active_[size_t(i)];
    bool more = channel.stream ? MixStream(channel, out, frames) : MixSample(channel, out, frames);
    if (!more) Deactivate(channel);
  }
  for (int i = 0; i < frames * 2; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
  if (recorder_) recorder_->Push(out, frames);
}

}  // namespace kw
