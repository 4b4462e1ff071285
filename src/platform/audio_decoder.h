// Decoders of compressed and plain audio files into interleaved float frames
// at the file's own rate and channel count. The format is told by content,
// not by name: "RIFF....WAVE" is PCM WAV, "OggS" is Ogg Vorbis, anything else
// is tried as MP3. Bad input never crashes or hangs a decoder: a file that
// does not open gives no decoder, and a decoding error mid-file is reported
// by Read as an error, which ends that sound.
#pragma once

#include <memory>

#include "platform/audio_bytes.h"

namespace kw {

class TAudioDecoder {
 public:
  virtual ~TAudioDecoder() = default;
  int Rate() const { return rate_; }
  int Channels() const { return channels_; }
  // Decodes up to `frames` frames (Channels() floats each, nominally in
  // [-1, 1]) into `out`. Returns the frame count, 0 at the end of the data,
  // or -1 on a decoding error (the decoder is then finished).
  virtual long Read(float* out, long frames) = 0;
  // Back to the first frame; false when the input cannot seek back.
  virtual bool Rewind() = 0;

 protected:
  int rate_ = 0;
  int channels_ = 0;
};

// Channel counts and rates a decoder may report; files outside are refused.
inline constexpr int kMaxDecoderChannels = 8;
inline constexpr int kMinDecoderRate = 1000;
inline constexpr int kMaxDecoderRate = 384000;

// Opens a decoder over `bytes` (which it then owns); none for input that is
// empty, truncated before the first frame, or in no format we read.
std::unique_ptr<TAudioDecoder> OpenAudioDecoder(std::unique_ptr<TAudioBytes> bytes);

// The format readers, for tests and the fuzz target.
std::unique_ptr<TAudioDecoder> OpenWavDecoder(std::unique_ptr<TAudioBytes> bytes);
std::unique_ptr<TAudioDecoder> OpenOggDecoder(std::unique_ptr<TAudioBytes> bytes);
std::unique_ptr<TAudioDecoder> OpenMp3Decoder(std::unique_ptr<TAudioBytes> bytes);

}  // namespace kw
