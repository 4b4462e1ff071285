// Records everything the mixer renders to a WAV file (16-bit stereo,
// 44100 Hz). The output thread pushes frames into a lock-free ring; Drain,
// run by the feed thread or the game thread, writes them to disk, so the
// output thread never touches a file. Frames that find the ring full (the
// disk fell behind by seconds) are dropped and counted.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio_ring.h"
#include "platform/audio_wav_writer.h"

namespace kw {

class TAudioRecorder {
 public:
  TAudioRecorder();
  bool Open(const std::string& path);
  // Output thread: converts to 16 bits and queues.
  void Push(const float* frames, int count);
  // Writes what is queued; the header is brought up to date about once a
  // second of audio.
  void Drain();
  // Drains, then finishes the file.
  void Close();
  uint64_t Dropped() const { return dropped_.load(); }
  uint64_t FramesWritten() const;

 private:
  TFrameRing<int16_t, 2> ring_;
  std::atomic<uint64_t> dropped_{0};
  std::vector<int16_t> convert_;  // output thread
  mutable std::mutex writeLock_;
  TWavWriter writer_;             // under writeLock_
  std::vector<int16_t> block_;    // under writeLock_
  uint64_t sinceFlush_ = 0;       // under writeLock_
};

}  // namespace kw
