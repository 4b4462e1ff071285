// Kept apart from device.cpp so that the device links without the PNG
// codec where only drawing is needed.
#include "platform/device.h"
#include "platform/png_codec.h"

namespace kw {

bool WriteFramePng(const TDevice& device, const std::filesystem::path& file) {
  return WritePngFile(file, device.Frame());
}

}  // namespace kw
