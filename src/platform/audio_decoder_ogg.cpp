// Ogg Vorbis through libvorbisfile, reading through our byte input (file or
// memory). A chained file whose later links change rate or channel count
// ends at that link; holes in the data are skipped, as players do.
#include <vorbis/vorbisfile.h>

#include <algorithm>

#include "platform/audio_decoder.h"
#include "platform/log.h"

namespace kw {

namespace {

size_t OggRead(void* ptr, size_t size, size_t count, void* source) {
  if (size == 0) return 0;
  return static_cast<TAudioBytes*>(source)->Read(ptr, size * count) / size;
}

int OggSeek(void* source, ogg_int64_t offset, int whence) {
  return static_cast<TAudioBytes*>(source)->Seek(int64_t(offset), whence) ? 0 : -1;
}

long OggTell(void* source) { return long(static_cast<TAudioBytes*>(source)->Tell()); }

class TOggDecoder final : public TAudioDecoder {
 public:
  explicit TOggDecoder(std::unique_ptr<TAudioBytes> bytes) : bytes_(std::move(bytes)) {}
  ~TOggDecoder() override {
    if (open_) ov_clear(&file_);
  }

  bool Open() {
    ov_callbacks callbacks{OggRead, OggSeek, nullptr, OggTell};
    if (ov_open_callbacks(bytes_.get(), &file_, nullptr, 0, callbacks) != 0) return false;
    open_ = true;
    vorbis_info* info = ov_info(&file_, -1);
    if (!info || info->channels < 1 || info->channels > kMaxDecoderChannels ||
        info->rate < kMinDecoderRate || info->rate > kMaxDecoderRate)
      return false;
    rate_ = int(info->rate);
    channels_ = info->channels;
    return true;
  }

  long Read(float* out, long frames) override {
    if (failed_) return -1;
    long total = 0;
    int holes = 0;
    while (total < frames && !done_) {
      float** pcm = nullptr;
      int link = 0;
      long n = ov_read_float(&file_, &pcm, int(std::min<long>(frames - total, 4096)), &link);
      if (n == OV_HOLE && ++holes < 64) continue;
      if (n < 0) {
        KwLog("audio: %s: Ogg Vorbis decoding error %ld", bytes_->Label().c_str(), n);
        if (total == 0) {
          failed_ = true;
          return -1;
        }
        done_ = true;
        break;
      }
      if (n == 0) {
        done_ = true;
        break;
      }
      vorbis_info* info = ov_info(&file_, link);
      if (!info || info->channels != channels_ || info->rate != rate_) {
        KwLog("audio: %s: Ogg link changes the format; stopping there", bytes_->Label().c_str());
        done_ = true;
        break;
      }
      for (long i = 0; i < n; ++i)
        for (int c = 0; c < channels_; ++c)
          out[(total + i) * channels_ + c] = std::clamp(pcm[c][i], -1.0f, 1.0f);
      total += n;
    }
    return total;
  }

  bool Rewind() override {
    failed_ = false;
    done_ = false;
    return ov_raw_seek(&file_, 0) == 0;
  }

 private:
  std::unique_ptr<TAudioBytes> bytes_;
  OggVorbis_File file_{};
  bool open_ = false;
  bool done_ = false;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<TAudioDecoder> OpenOggDecoder(std::unique_ptr<TAudioBytes> bytes) {
  if (!bytes || !bytes->Seek(0, SEEK_SET)) return nullptr;
  auto decoder = std::make_unique<TOggDecoder>(std::move(bytes));
  if (!decoder->Open()) return nullptr;
  return decoder;
}

}  // namespace kw
