// Single-producer, single-consumer ring of interleaved frames, lock-free:
// the producer (a decoder filling ahead, or the mixer handing recorded
// audio on) and the consumer (the mixer, or the WAV writer) each move their
// own index. Nothing allocates after construction.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace kw {

template <typename T, int Channels>
class TFrameRing {
 public:
  // Room for `frames` frames, rounded up to a power of two.
  explicit TFrameRing(size_t frames) {
    size_t size = 1;
    while (size < frames) size <<= 1;
    buffer_.resize(size * Channels);
    mask_ = size - 1;
  }

  size_t Capacity() const { return mask_ + 1; }
  // Consumer side: frames ready to read.
  size_t Available() const {
    return write_.load(std::memory_order_acquire) - read_.load(std::memory_order_relaxed);
  }
  // Producer side: frames that fit.
  size_t Space() const {
    return Capacity() - (write_.load(std::memory_order_relaxed) - read_.load(std::memory_order_acquire));
  }

  // Producer: copies up to `frames` frames in; returns how many fit.
  size_t Write(const T* in, size_t frames) {
    size_t w = write_.load(std::memory_order_relaxed);
    size_t n = std::min(frames, Space());
    size_t first = std::min(n, Capacity() - (w & mask_));
    std::memcpy(&buffer_[(w & mask_) * Channels], in, sizeof(T) * first * Channels);
    std::memcpy(&buffer_[0], in + first * Channels, sizeof(T) * (n - first) * Channels);
    write_.store(w + n, std::memory_order_release);
    return n;
  }

  // Producer: room to write in place, as one contiguous run of up to
  // `frames` frames (up to the buffer's end); Commit publishes what was written.
  T* WriteRun(size_t frames, size_t& runFrames) {
    size_t w = write_.load(std::memory_order_relaxed);
    runFrames = std::min(std::min(frames, Space()), Capacity() - (w & mask_));
    return &buffer_[(w & mask_) * Channels];
  }
  void Commit(size_t frames) {
    write_.store(write_.load(std::memory_order_relaxed) + frames, std::memory_order_release);
  }

  // Consumer: the readable frames as up to two contiguous runs.
  struct TRuns {
    const T* First;
    size_t FirstFrames;
    const T* Second;
    size_t SecondFrames;
  };
  TRuns Peek(size_t frames) const {
    size_t r = read_.load(std::memory_order_relaxed);
    size_t n = std::min(frames, Available());
    size_t first = std::min(n, Capacity() - (r & mask_));
    return {&buffer_[(r & mask_) * Channels], first, &buffer_[0], n - first};
  }
  void Consume(size_t frames) { read_.store(read_.load(std::memory_order_relaxed) + frames, std::memory_order_release); }

  // Consumer: copies up to `frames` frames out; returns the count.
  size_t Read(T* out, size_t frames) {
    TRuns runs = Peek(frames);
    std::memcpy(out, runs.First, sizeof(T) * runs.FirstFrames * Channels);
    std::memcpy(out + runs.FirstFrames * Channels, runs.Second, sizeof(T) * runs.SecondFrames * Channels);
    Consume(runs.FirstFrames + runs.SecondFrames);
    return runs.FirstFrames + runs.SecondFrames;
  }

  // Empties the ring. Only while neither side is running.
  void Reset() {
    read_.store(0, std::memory_order_relaxed);
    write_.store(0, std::memory_order_release);
  }

 private:
  std::vector<T> buffer_;
  size_t mask_ = 0;
  std::atomic<size_t> write_{0};
  std::atomic<size_t> read_{0};
};

}  // namespace kw
