#include "platform/audio_decoder.h"

#include <cstring>

#include "platform/log.h"

namespace kw {

std::unique_ptr<TAudioDecoder> OpenAudioDecoder(std::unique_ptr<TAudioBytes> bytes) {
  if (!bytes) return nullptr;
  if (bytes->Size() == 0) {
    KwLog("audio: %s: empty", bytes->Label().c_str());
    return nullptr;
  }
  uint8_t head[12] = {};
  size_t got = bytes->Read(head, sizeof head);
  if (!bytes->Seek(0, SEEK_SET)) return nullptr;
  std::unique_ptr<TAudioDecoder> decoder;
  std::string label = bytes->Label();
  if (got >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0)
    decoder = OpenWavDecoder(std::move(bytes));
  else if (got >= 4 && std::memcmp(head, "OggS", 4) == 0)
    decoder = OpenOggDecoder(std::move(bytes));
  else
    decoder = OpenMp3Decoder(std::move(bytes));
  if (!decoder) KwLog("audio: %s: not a sound file we can decode", label.c_str());
  return decoder;
}

}  // namespace kw
