// JPEG through libjpeg-turbo. The library reports fatal errors by calling
// an error handler that must not return; ours jumps back with longjmp. All
// state that lives across that jump (the library's structures, the picture
// being filled) sits in one heap object that the jumping function only
// reaches through its unchanged `this`, so nothing the jump skips over
// needs destroying and no local variable changes between setjmp and
// longjmp.
#include "platform/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <bit>
#include <memory>
#include <vector>

#include "platform/log.h"
#include "platform/picture_limits.h"

namespace kw {

namespace {

// A progressive file may hold any number of scans, each a pass over the
// whole picture; real encoders write about ten. More than this is refused
// so a crafted file cannot keep the decoder busy for minutes.
constexpr int kMaxScans = 1000;
// What the library may allocate for one picture (progressive pictures keep
// every coefficient in memory).
constexpr long kMaxLibraryMemory = 1536L * 1024 * 1024;
// A JPEG of one flat colour needs a few bits an 8×8 block; this is the
// most pixels a byte of file may claim.
constexpr uint64_t kPixelsPerByte = 1024;

struct TErrorManager {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, message);
  KwLog("jpeg: %s", message);
  std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->Jump, 1);
}

// Warnings (corrupt data the library works around) go to the log.
void OutputMessage(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, message);
  KwLog("jpeg: %s", message);
}

void CountScans(j_common_ptr info) {
  if (!info->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
    KwLog("jpeg: more than %d scans", kMaxScans);
    std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->Jump, 1);
  }
}

TErrorManager* InstallErrors(TErrorManager& errors) {
  jpeg_std_error(&errors.Manager);
  errors.Manager.error_exit = ErrorExit;
  errors.Manager.output_message = OutputMessage;
  return &errors;
}

class TJpegDecoder {
 public:
  bool Run(const uint8_t* data, size_t size, TBitmap32& out) {
    info_.err = &InstallErrors(errors_)->Manager;
    if (setjmp(errors_.Jump)) {
      jpeg_destroy_decompress(&info_);
      if (rowsDone_ == 0) return false;
      KwLog("jpeg: kept %d of %d rows", rowsDone_, picture_.Height);
      out = std::move(picture_);
      return true;
    }
    jpeg_create_decompress(&info_);
    progress_.progress_monitor = CountScans;
    info_.progress = &progress_;
    info_.mem->max_memory_to_use = kMaxLibraryMemory;
    jpeg_mem_src(&info_, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info_, TRUE);
    if (!PictureSizeAllowed("jpeg", info_.image_width, info_.image_height, size, kPixelsPerByte)) {
      jpeg_destroy_decompress(&info_);
      return false;
    }
    const bool cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
    info_.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info_);
    picture_ = TBitmap32(int(info_.output_width), int(info_.output_height), 0);
    const bool direct = !cmyk && std::endian::native == std::endian::little;
    row_.resize(size_t(info_.output_width) * 4);
    while (info_.output_scanline < info_.output_height) {
      const int y = int(info_.output_scanline);
      uint32_t* target = &picture_.Pixels[size_t(y) * size_t(picture_.Width)];
      // R, G, B, A bytes are already the colour word on a little-endian host.
      JSAMPROW rows[1] = {direct ? reinterpret_cast<JSAMPROW>(target) : row_.data()};
      if (jpeg_read_scanlines(&info_, rows, 1) != 1) break;
      if (!direct) StoreRow(target, cmyk);
      rowsDone_ = y + 1;
    }
    jpeg_finish_decompress(&info_);
    jpeg_destroy_decompress(&info_);
    out = std::move(picture_);
    return true;
  }

 private:
  void StoreRow(uint32_t* target, bool cmyk) const {
    const uint8_t* p = row_.data();
    for (int x = 0; x < picture_.Width; ++x, p += 4) {
      if (!cmyk) {
        target[x] = ColourRGBA(p[0], p[1], p[2], 0xFF);
        continue;
      }
      // Adobe writers store CMYK inverted (as nearly every CMYK JPEG is);
      // others store it as it is.
      uint32_t c = p[0], m = p[1], yy = p[2], k = p[3];
      if (!info_.saw_Adobe_marker) c = 255 - c, m = 255 - m, yy = 255 - yy, k = 255 - k;
      target[x] = ColourRGBA((c * k + 127) / 255, (m * k + 127) / 255, (yy * k + 127) / 255, 0xFF);
    }
  }

  jpeg_decompress_struct info_{};
  TErrorManager errors_{};
  jpeg_progress_mgr progress_{};
  TBitmap32 picture_;
  std::vector<uint8_t> row_;
  int rowsDone_ = 0;
};

class TJpegEncoder {
 public:
  ~TJpegEncoder() { std::free(buffer_); }

  bool Run(const TBitmap32& picture, int quality, std::string& out) {
    info_.err = &InstallErrors(errors_)->Manager;
    if (setjmp(errors_.Jump)) {
      jpeg_destroy_compress(&info_);
      return false;
    }
    jpeg_create_compress(&info_);
    jpeg_mem_dest(&info_, &buffer_, &length_);
    info_.image_width = JDIMENSION(picture.Width);
    info_.image_height = JDIMENSION(picture.Height);
    info_.input_components = 3;
    info_.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info_);
    jpeg_set_quality(&info_, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
    jpeg_start_compress(&info_, TRUE);
    row_.resize(size_t(picture.Width) * 3);
    while (info_.next_scanline < info_.image_height) {
      const uint32_t* src = &picture.Pixels[size_t(info_.next_scanline) * size_t(picture.Width)];
      for (int x = 0; x < picture.Width; ++x) {
        row_[size_t(x) * 3 + 0] = uint8_t(ColourRed(src[x]));
        row_[size_t(x) * 3 + 1] = uint8_t(ColourGreen(src[x]));
        row_[size_t(x) * 3 + 2] = uint8_t(ColourBlue(src[x]));
      }
      JSAMPROW rows[1] = {row_.data()};
      jpeg_write_scanlines(&info_, rows, 1);
    }
    jpeg_finish_compress(&info_);
    out.assign(reinterpret_cast<const char*>(buffer_), length_);
    jpeg_destroy_compress(&info_);
    return true;
  }

 private:
  jpeg_compress_struct info_{};
  TErrorManager errors_{};
  unsigned char* buffer_ = nullptr;
  unsigned long length_ = 0;
  std::vector<uint8_t> row_;
};

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, TBitmap32& out) {
  out = TBitmap32();
  if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  auto decoder = std::make_unique<TJpegDecoder>();
  return decoder->Run(data, size, out);
}

bool EncodeJpeg(const TBitmap32& picture, int quality, std::string& out) {
  out.clear();
  if (picture.Empty() || picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height) ||
      picture.Width > 65500 || picture.Height > 65500)
    return false;
  auto encoder = std::make_unique<TJpegEncoder>();
  return encoder->Run(picture, quality, out);
}

}  // namespace kw
