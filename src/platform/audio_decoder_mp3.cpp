// MP3 through libmpg123, reading through our byte input (file or memory).
// Output is 32-bit float at the file's rate; gapless decoding drops the
// encoder's padding so that a looped MP3 joins without a gap.
#include <mpg123.h>

#include <algorithm>
#include <mutex>

#include "platform/audio_decoder.h"
#include "platform/log.h"

namespace kw {

namespace {

// mpg123_init is required once per process before the first handle (a
// no-op in recent versions, harmless to call).
void InitMpg123Once() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

ssize_t ReadCallback(void* handle, void* buf, size_t count) {
  return ssize_t(static_cast<TAudioBytes*>(handle)->Read(buf, count));
}

off_t SeekCallback(void* handle, off_t offset, int whence) {
  auto* bytes = static_cast<TAudioBytes*>(handle);
  if (!bytes->Seek(int64_t(offset), whence)) return off_t(-1);
  return off_t(bytes->Tell());
}

class TMp3Decoder final : public TAudioDecoder {
 public:
  TMp3Decoder(std::unique_ptr<TAudioBytes> bytes, mpg123_handle* handle, int rate, int channels)
      : bytes_(std::move(bytes)), handle_(handle) {
    rate_ = rate;
    channels_ = channels;
  }
  ~TMp3Decoder() override {
    mpg123_close(handle_);
    mpg123_delete(handle_);
  }

  long Read(float* out, long frames) override {
    if (failed_) return -1;
    if (done_ || frames <= 0) return 0;
    const size_t frameBytes = sizeof(float) * size_t(channels_);
    size_t total = 0;
    const size_t wanted = size_t(frames) * frameBytes;
    // mpg123 may answer with a few bytes at a time around frame boundaries;
    // keep asking until the request is full, the file ends, or it fails. The
    // guard bounds the loop on input that decodes to nothing forever.
    for (int guard = 0; total < wanted && guard < 1 << 16; ++guard) {
      size_t done = 0;
      int rc = mpg123_read(handle_, reinterpret_cast<unsigned char*>(out) + total, wanted - total, &done);
      total += done;
      if (rc == MPG123_OK) continue;
      if (rc == MPG123_DONE) {
        done_ = true;
        break;
      }
      if (rc == MPG123_NEW_FORMAT) {
        long rate;
        int channels, encoding;
        if (mpg123_getformat(handle_, &rate, &channels, &encoding) == MPG123_OK && rate == rate_ &&
            channels == channels_)
          continue;
        KwLog("audio: %s: MP3 changes its format mid-stream; stopping there", bytes_->Label().c_str());
        done_ = true;
        break;
      }
      KwLog("audio: %s: MP3 decoding error: %s", bytes_->Label().c_str(), mpg123_strerror(handle_));
      if (total < frameBytes) {
        failed_ = true;
        return -1;
      }
      done_ = true;  // hand out what decoded; the next call reports the end
      break;
    }
    const long got = long(total / frameBytes);
    // Clipped MP3s decode past full scale; NaN never reaches the mixer.
    for (long i = 0; i < got * channels_; ++i) {
      float v = out[i];
      out[i] = v != v ? 0.0f : std::clamp(v, -1.0f, 1.0f);
    }
    return got;
  }

  bool Rewind() override {
    failed_ = false;
    done_ = false;
    return mpg123_seek(handle_, 0, SEEK_SET) >= 0;
  }

 private:
  std::unique_ptr<TAudioBytes> bytes_;
  mpg123_handle* handle_;
  bool done_ = false;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<TAudioDecoder> OpenMp3Decoder(std::unique_ptr<TAudioBytes> bytes) {
  if (!bytes || bytes->Size() == 0 || !bytes->Seek(0, SEEK_SET)) return nullptr;
  InitMpg123Once();
  int err = MPG123_OK;
  mpg123_handle* handle = mpg123_new(nullptr, &err);
  if (!handle) return nullptr;
  auto fail = [&](const char* what) -> std::unique_ptr<TAudioDecoder> {
    KwLog("audio: %s: not an MP3 (%s)", bytes->Label().c_str(), what);
    mpg123_close(handle);
    mpg123_delete(handle);
    return nullptr;
  };
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
  mpg123_param(handle, MPG123_RESYNC_LIMIT, 4096, 0);
  mpg123_format_none(handle);
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (size_t i = 0; i < rateCount; ++i)
    mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
  if (mpg123_replace_reader_handle(handle, ReadCallback, SeekCallback, nullptr) != MPG123_OK)
    return fail("reader");
  if (mpg123_open_handle(handle, bytes.get()) != MPG123_OK) return fail("open");
  long rate = 0;
  int channels = 0, encoding = 0;
  if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK) return fail("no frame");
  if (channels < 1 || channels > 2 || rate < kMinDecoderRate || rate > kMaxDecoderRate)
    return fail("format");
  return std::make_unique<TMp3Decoder>(std::move(bytes), handle, int(rate), channels);
}

}  // namespace kw
