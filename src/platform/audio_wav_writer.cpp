#include "platform/audio_wav_writer.h"

#include <algorithm>

#include "platform/log.h"

namespace kw {

namespace {
void Put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
}  // namespace

bool TWavWriter::Open(const std::string& path, int rate, int channels) {
  Close();
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    KwLog("audio: cannot write %s", path.c_str());
    return false;
  }
  rate_ = rate;
  channels_ = channels;
  frames_ = 0;
  WriteHeader();
  return true;
}

void TWavWriter::WriteHeader() {
  // A RIFF size field is 32 bits; past 4 GiB the sizes stay at their
  // largest value, which readers treat as "to the end of the file".
  uint64_t dataBytes = std::min<uint64_t>(frames_ * uint64_t(channels_) * 2, 0xFFFFFFFFull - 36);
  uint8_t h[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  Put32(h + 4, uint32_t(36 + dataBytes));
  Put32(h + 16, 16);
  Put16(h + 20, 1);
  Put16(h + 22, uint32_t(channels_));
  Put32(h + 24, uint32_t(rate_));
  Put32(h + 28, uint32_t(rate_ * channels_ * 2));
  Put16(h + 32, uint32_t(channels_ * 2));
  Put16(h + 34, 16);
  h[36] = 'd';
  h[37] = 'a';
  h[38] = 't';
  h[39] = 'a';
  Put32(h + 40, uint32_t(dataBytes));
  std::fseek(file_, 0, SEEK_SET);
  std::fwrite(h, 1, sizeof h, file_);
  std::fseek(file_, 0, SEEK_END);
}

bool TWavWriter::Write(const int16_t* frames, size_t frameCount) {
  if (!file_) return false;
  // The data is little-endian, as the machine is on every target we build.
  size_t count = frameCount * size_t(channels_);
  if (std::fwrite(frames, sizeof(int16_t), count, file_) != count) {
    KwLog("audio: write error in the recording; closing it");
    Close();
    return false;
  }
  frames_ += frameCount;
  return true;
}

void TWavWriter::Flush() {
  if (!file_) return;
  WriteHeader();
  std::fflush(file_);
}

void TWavWriter::Close() {
  if (!file_) return;
  WriteHeader();
  std::fclose(file_);
  file_ = nullptr;
}

}  // namespace kw
