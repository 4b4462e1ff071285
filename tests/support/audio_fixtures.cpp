#include "support/audio_fixtures.h"

#include <cmath>
#include <cstring>
#include <random>

#if KW_HAVE_AUDIO_ENCODERS
#include <lame/lame.h>
#include <vorbis/vorbisenc.h>
#endif

namespace kw::test {

namespace {

void Put(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s.push_back(char(uint8_t(v >> (8 * i))));
}

std::vector<float> ToneFrames(const TToneSpec& tone) {
  int64_t frames = int64_t(tone.Seconds * tone.Rate);
  std::vector<float> out(size_t(frames * tone.Channels));
  for (int64_t i = 0; i < frames; ++i)
    for (int c = 0; c < tone.Channels; ++c) out[size_t(i * tone.Channels + c)] = float(ToneValue(tone, i));
  return out;
}

}  // namespace

double ToneValue(const TToneSpec& tone, int64_t i) {
  return tone.Amplitude * std::sin(2 * M_PI * tone.Frequency * double(i) / tone.Rate);
}

std::string SineWav(const TToneSpec& tone) {
  std::vector<float> frames = ToneFrames(tone);
  const int bytesPer = tone.Bits / 8;
  std::string data;
  for (float v : frames) {
    switch (tone.Bits) {
      case 8: data.push_back(char(uint8_t(std::lrint(v * 127) + 128))); break;
      case 16: Put(data, uint32_t(int32_t(std::lrint(v * 32767))), 2); break;
      case 24: Put(data, uint32_t(int32_t(std::lrint(v * 8388607))), 3); break;
      default: {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        Put(data, u, 4);
      }
    }
  }
  std::string s = "RIFF";
  Put(s, uint32_t(36 + data.size()), 4);
  s += "WAVEfmt ";
  Put(s, 16, 4);
  Put(s, tone.Bits == 32 ? 3 : 1, 2);
  Put(s, uint32_t(tone.Channels), 2);
  Put(s, uint32_t(tone.Rate), 4);
  Put(s, uint32_t(tone.Rate * tone.Channels * bytesPer), 4);
  Put(s, uint32_t(tone.Channels * bytesPer), 2);
  Put(s, uint32_t(tone.Bits), 2);
  s += "data";
  Put(s, uint32_t(data.size()), 4);
  return s + data;
}

bool HaveAudioEncoders() { return KW_HAVE_AUDIO_ENCODERS != 0; }

#if KW_HAVE_AUDIO_ENCODERS

std::string SineOgg(const TToneSpec& tone) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, tone.Channels, tone.Rate, 0.6f) != 0) {
    vorbis_info_clear(&info);
    return {};
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1234);
  std::string out;
  ogg_page page;
  auto flushPages = [&](bool force) {
    while (force ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
      out.append(reinterpret_cast<char*>(page.header), size_t(page.header_len));
      out.append(reinterpret_cast<char*>(page.body), size_t(page.body_len));
    }
  };
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  flushPages(true);
  std::vector<float> frames = ToneFrames(tone);
  const int64_t total = int64_t(frames.size()) / tone.Channels;
  int64_t done = 0;
  ogg_packet packet;
  for (;;) {
    int64_t n = std::min<int64_t>(1024, total - done);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, int(n));
      for (int64_t i = 0; i < n; ++i)
        for (int c = 0; c < tone.Channels; ++c) buffer[c][i] = frames[size_t((done + i) * tone.Channels + c)];
      vorbis_analysis_wrote(&dsp, int(n));
      done += n;
    } else {
      vorbis_analysis_wrote(&dsp, 0);
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        flushPages(false);
      }
    }
    if (n <= 0) break;
  }
  flushPages(true);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::string SineMp3(const TToneSpec& tone) {
  lame_global_flags* lame = lame_init();
  if (!lame) return {};
  lame_set_in_samplerate(lame, tone.Rate);
  lame_set_out_samplerate(lame, tone.Rate);
  lame_set_num_channels(lame, tone.Channels);
  lame_set_mode(lame, tone.Channels == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(lame, 128);
  lame_set_quality(lame, 5);
  lame_set_bWriteVbrTag(lame, 1);  // the Xing/LAME header carries the gapless delays
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    return {};
  }
  std::vector<float> frames = ToneFrames(tone);
  const int total = int(frames.size()) / tone.Channels;
  std::vector<float> left(static_cast<size_t>(total)), right(static_cast<size_t>(total));
  for (int i = 0; i < total; ++i) {
    left[size_t(i)] = frames[size_t(i * tone.Channels)];
    right[size_t(i)] = frames[size_t(i * tone.Channels + (tone.Channels - 1))];
  }
  std::vector<unsigned char> buffer(size_t(1.25 * total + 7200));
  int n = lame_encode_buffer_ieee_float(lame, left.data(), right.data(), total, buffer.data(), int(buffer.size()));
  std::string out;
  if (n > 0) out.append(reinterpret_cast<char*>(buffer.data()), size_t(n));
  n = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
  if (n > 0) out.append(reinterpret_cast<char*>(buffer.data()), size_t(n));
  // The info frame written at the start, now with the true counts.
  size_t tagSize = lame_get_lametag_frame(lame, buffer.data(), buffer.size());
  if (tagSize > 0 && tagSize <= out.size()) std::memcpy(out.data(), buffer.data(), tagSize);
  lame_close(lame);
  return out;
}

#else

std::string SineOgg(const TToneSpec&) { return {}; }
std::string SineMp3(const TToneSpec&) { return {}; }

#endif

bool ReadWav16(const std::string& bytes, TWavContents& out) {
  auto u16 = [&](size_t at) { return uint32_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return false;
  if (bytes.compare(12, 4, "fmt ") != 0 || u16(20) != 1 || u16(34) != 16) return false;
  if (bytes.compare(36, 4, "data") != 0) return false;
  out.Channels = int(u16(22));
  out.Rate = int(u32(24));
  size_t size = std::min<size_t>(u32(40), bytes.size() - 44);
  out.Samples.resize(size / 2);
  for (size_t i = 0; i < out.Samples.size(); ++i) out.Samples[i] = int16_t(u16(44 + 2 * i));
  return true;
}

double ToneAmplitude(const std::vector<float>& interleaved, int channels, int channel, int rate,
                     double frequency, size_t first, size_t count) {
  double s = 0, c = 0;
  for (size_t i = 0; i < count; ++i) {
    double v = interleaved[(first + i) * size_t(channels) + size_t(channel)];
    double phase = 2 * M_PI * frequency * double(first + i) / rate;
    s += v * std::sin(phase);
    c += v * std::cos(phase);
  }
  return 2 * std::sqrt(s * s + c * c) / double(count);
}

double RmsLevel(const std::vector<float>& interleaved, int channels, int channel, size_t first, size_t count) {
  double sum = 0;
  for (size_t i = 0; i < count; ++i) {
    double v = interleaved[(first + i) * size_t(channels) + size_t(channel)];
    sum += v * v;
  }
  return count ? std::sqrt(sum / double(count)) : 0;
}

}  // namespace kw::test
