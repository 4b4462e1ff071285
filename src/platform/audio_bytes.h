// Random-access byte input for the audio decoders: a file on disk or a block
// of memory the caller keeps alive. Decoders read, seek and ask the size
// through this one interface, so every format decodes from files and from
// memory alike.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace kw {

class TAudioBytes {
 public:
  virtual ~TAudioBytes() = default;
  // Reads up to `count` bytes at the position; fewer only at the end or on a
  // read error. Returns the number read.
  virtual size_t Read(void* out, size_t count) = 0;
  // Moves to `offset` counted as fseek's `whence` says; false when the
  // position would leave [0, Size()].
  virtual bool Seek(int64_t offset, int whence) = 0;
  virtual int64_t Tell() const = 0;
  virtual int64_t Size() const = 0;
  // For log messages: the file name or "memory".
  virtual const std::string& Label() const = 0;
};

// Reads `size` bytes at `data`, which the caller keeps alive (and unchanged)
// for as long as this object lives.
std::unique_ptr<TAudioBytes> MakeMemoryAudioBytes(const void* data, size_t size,
                                                  std::string label = "memory");

// Opens a file on disk for reading; none when it cannot be opened. `offset`
// and `length` select part of the file (length 0: to the end).
std::unique_ptr<TAudioBytes> OpenFileAudioBytes(const std::string& path, uint64_t offset = 0,
                                                uint64_t length = 0);

}  // namespace kw
