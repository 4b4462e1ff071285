// RIFF WAVE reader: integer PCM of 8, 16, 24 and 32 bits and IEEE float of 32
// and 64 bits, plain or in the extensible layout. Every chunk size is checked
// against what remains; a data chunk that runs past the end of the file is
// played as far as it goes (a truncated recording still sounds).
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/audio_decoder.h"
#include "platform/log.h"

namespace kw {

namespace {

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24); }

enum class TWavSampleKind { Int, Float };

class TWavDecoder final : public TAudioDecoder {
 public:
  TWavDecoder(std::unique_ptr<TAudioBytes> bytes, int rate, int channels, int bits,
              TWavSampleKind kind, int64_t dataStart, int64_t dataFrames)
      : bytes_(std::move(bytes)), bits_(bits), kind_(kind), dataStart_(dataStart),
        dataFrames_(dataFrames) {
    rate_ = rate;
    channels_ = channels;
    frameBytes_ = channels * (bits / 8);
  }

  long Read(float* out, long frames) override {
    if (failed_) return -1;
    long want = long(std::min<int64_t>(frames, dataFrames_ - frame_));
    if (want <= 0) return 0;
    if (!positioned_) {
      if (!bytes_->Seek(dataStart_ + frame_ * frameBytes_, SEEK_SET)) return Fail();
      positioned_ = true;
    }
    raw_.resize(size_t(want) * frameBytes_);
    size_t got = bytes_->Read(raw_.data(), raw_.size());
    long n = long(got / size_t(frameBytes_));
    if (n == 0) return Fail();
    if (got % size_t(frameBytes_)) positioned_ = false;
    Convert(raw_.data(), out, size_t(n) * channels_);
    frame_ += n;
    return n;
  }

  bool Rewind() override {
    failed_ = false;
    frame_ = 0;
    positioned_ = false;
    return true;
  }

 private:
  long Fail() {
    KwLog("audio: %s: read error in the sample data", bytes_->Label().c_str());
    failed_ = true;
    return -1;
  }

  void Convert(const uint8_t* in, float* out, size_t count) const {
    if (kind_ == TWavSampleKind::Float) {
      for (size_t i = 0; i < count; ++i) {
        double v;
        if (bits_ == 32) {
          uint32_t u = Le32(in + i * 4);
          float f;
          std::memcpy(&f, &u, 4);
          v = f;
        } else {
          uint64_t u = uint64_t(Le32(in + i * 8)) | uint64_t(Le32(in + i * 8 + 4)) << 32;
          std::memcpy(&v, &u, 8);
        }
        // NaN and infinities in a broken file become silence / full scale.
        if (!(v == v)) v = 0;
        out[i] = float(std::clamp(v, -1.0, 1.0));
      }
      return;
    }
    switch (bits_) {
      case 8:
        for (size_t i = 0; i < count; ++i) out[i] = (int(in[i]) - 128) / 128.0f;
        break;
      case 16:
        for (size_t i = 0; i < count; ++i) out[i] = int16_t(Le16(in + i * 2)) / 32768.0f;
        break;
      case 24:
        for (size_t i = 0; i < count; ++i) {
          const uint8_t* p = in + i * 3;
          int32_t v = int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24) >> 8;
          out[i] = v / 8388608.0f;
        }
        break;
      default:
        for (size_t i = 0; i < count; ++i) out[i] = float(int32_t(Le32(in + i * 4)) / 2147483648.0);
        break;
    }
  }

  std::unique_ptr<TAudioBytes> bytes_;
  int bits_;
  TWavSampleKind kind_;
  int64_t dataStart_;
  int64_t dataFrames_;
  int frameBytes_ = 0;
  int64_t frame_ = 0;
  bool positioned_ = false;
  bool failed_ = false;
  std::vector<uint8_t> raw_;
};

}  // namespace

std::unique_ptr<TAudioDecoder> OpenWavDecoder(std::unique_ptr<TAudioBytes> bytes) {
  if (!bytes || !bytes->Seek(0, SEEK_SET)) return nullptr;
  const std::string label = bytes->Label();
  uint8_t riff[12];
  if (bytes->Read(riff, 12) != 12 || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0)
    return nullptr;
  const int64_t size = bytes->Size();
  bool haveFormat = false;
  int rate = 0, channels = 0, bits = 0;
  TWavSampleKind kind = TWavSampleKind::Int;
  int64_t pos = 12;
  // A RIFF file is a list of chunks; walk them until the data chunk, with
  // the format chunk required before it.
  for (int guard = 0; guard < 4096 && pos + 8 <= size; ++guard) {
    uint8_t head[8];
    if (!bytes->Seek(pos, SEEK_SET) || bytes->Read(head, 8) != 8) break;
    uint32_t chunkSize = Le32(head + 4);
    int64_t body = pos + 8;
    if (std::memcmp(head, "fmt ", 4) == 0) {
      if (chunkSize < 16 || body + 16 > size) {
        KwLog("audio: %s: format chunk too short", label.c_str());
        return nullptr;
      }
      uint8_t fmt[40] = {};
      size_t want = std::min<size_t>(chunkSize, sizeof fmt);
      if (bytes->Read(fmt, want) < 16) return nullptr;
      int tag = Le16(fmt);
      channels = Le16(fmt + 2);
      rate = int(std::min<uint32_t>(Le32(fmt + 4), uint32_t(kMaxDecoderRate) + 1));
      int blockAlign = Le16(fmt + 12);
      bits = Le16(fmt + 14);
      if (tag == 0xFFFE && want >= 26) tag = Le16(fmt + 24);  // sub-format GUID's first field
      if (tag == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32))
        kind = TWavSampleKind::Int;
      else if (tag == 3 && (bits == 32 || bits == 64))
        kind = TWavSampleKind::Float;
      else {
        KwLog("audio: %s: WAV sample format %d with %d bits is not supported", label.c_str(), tag, bits);
        return nullptr;
      }
      if (channels < 1 || channels > kMaxDecoderChannels || rate < kMinDecoderRate ||
          rate > kMaxDecoderRate || blockAlign != channels * bits / 8) {
        KwLog("audio: %s: bad WAV format (%d channels, %d Hz, block %d)", label.c_str(), channels,
              rate, blockAlign);
        return nullptr;
      }
      haveFormat = true;
    } else if (std::memcmp(head, "data", 4) == 0) {
      if (!haveFormat) {
        KwLog("audio: %s: WAV data before its format", label.c_str());
        return nullptr;
      }
      int64_t available = std::min<int64_t>(chunkSize, size - body);
      int64_t frames = available / (channels * (bits / 8));
      if (frames <= 0) {
        KwLog("audio: %s: WAV holds no sample data", label.c_str());
        return nullptr;
      }
      if (available < int64_t(chunkSize))
        KwLog("audio: %s: WAV data cut short (%lld of %u bytes)", label.c_str(),
              static_cast<long long>(available), chunkSize);
      return std::make_unique<TWavDecoder>(std::move(bytes), rate, channels, bits, kind, body, frames);
    }
    pos = body + int64_t(chunkSize) + (chunkSize & 1);
  }
  KwLog("audio: %s: WAV without a data chunk", label.c_str());
  return nullptr;
}

}  // namespace kw
