#include "platform/audio_recorder.h"

#include <algorithm>
#include <cmath>

#include "platform/audio_format.h"
#include "platform/log.h"

namespace kw {

namespace {
constexpr size_t kRingFrames = size_t(kMixRate) * 4;
constexpr size_t kConvertFrames = 4096;
}  // namespace

TAudioRecorder::TAudioRecorder()
    : ring_(kRingFrames), convert_(kConvertFrames * 2), block_(kConvertFrames * 2) {}

bool TAudioRecorder::Open(const std::string& path) {
  std::lock_guard lock(writeLock_);
  return writer_.Open(path, kMixRate, kMixChannels);
}

void TAudioRecorder::Push(const float* frames, int count) {
  while (count > 0) {
    int n = std::min<int>(count, int(kConvertFrames));
    for (int i = 0; i < n * 2; ++i) convert_[size_t(i)] = int16_t(std::lrint(frames[i] * 32767.0f));
    size_t written = ring_.Write(convert_.data(), size_t(n));
    if (written < size_t(n)) dropped_.fetch_add(size_t(n) - written, std::memory_order_relaxed);
    frames += n * 2;
    count -= n;
  }
}

void TAudioRecorder::Drain() {
  std::lock_guard lock(writeLock_);
  for (;;) {
    size_t n = ring_.Read(block_.data(), kConvertFrames);
    if (n == 0) break;
    writer_.Write(block_.data(), n);
    sinceFlush_ += n;
  }
  if (sinceFlush_ >= size_t(kMixRate)) {
    writer_.Flush();
    sinceFlush_ = 0;
  }
}

void TAudioRecorder::Close() {
  Drain();
  std::lock_guard lock(writeLock_);
  if (dropped_.load()) KwLog("audio: recording lost %llu frames", static_cast<unsigned long long>(dropped_.load()));
  writer_.Close();
}

uint64_t TAudioRecorder::FramesWritten() const {
  std::lock_guard lock(writeLock_);
  return writer_.FramesWritten();
}

}  // namespace kw
