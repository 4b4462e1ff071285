// Writes 16-bit PCM WAV files. The header's sizes are brought up to date at
// every flush, so a file cut short by a crash still opens with what it got.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace kw {

class TWavWriter {
 public:
  TWavWriter() = default;
  ~TWavWriter() { Close(); }
  TWavWriter(const TWavWriter&) = delete;
  TWavWriter& operator=(const TWavWriter&) = delete;

  // Creates (or truncates) the file; false when it cannot be written.
  bool Open(const std::string& path, int rate, int channels);
  bool IsOpen() const { return file_ != nullptr; }
  // Appends interleaved frames; false on a write error (the file is then
  // closed with what it holds).
  bool Write(const int16_t* frames, size_t frameCount);
  // Rewrites the header sizes and flushes to disk.
  void Flush();
  void Close();
  uint64_t FramesWritten() const { return frames_; }

 private:
  void WriteHeader();

  FILE* file_ = nullptr;
  int rate_ = 0;
  int channels_ = 0;
  uint64_t frames_ = 0;
};

}  // namespace kw
