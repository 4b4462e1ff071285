// Loading one picture: find it, read its frame file, decode it, merge its
// alpha mask, apply the name prefixes, measure its opaque rectangle and
// upload it as a texture cut into its frames; then account for its memory,
// keep the budget and let a loading screen show progress.
#include <vector>

#include "media/kw_im.h"
#include "media/picture_source.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/log.h"

namespace kw {

namespace {

// Frame files hold two short lines; anything longer is not one.
constexpr uint64_t kMaxFrameFileBytes = 64 * 1024;

std::string_view AsText(const std::vector<uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The grid from the frame file beside the picture. A frame file from the
// pack is first copied to "temp.an" in the user's folder, as the player
// always left it there. A frame file that says nothing readable counts as
// 1 × 1 wherever it came from.
TFrameGrid ReadFrameGrid(const TPictureSource& source, const std::filesystem::path& userFolder) {
  TFrameGrid grid;
  const std::string name = FrameFileName(source.Name());
  std::vector<uint8_t> bytes;
  if (!source.ReadCompanion(name, bytes, kMaxFrameFileBytes)) return grid;
  if (source.FromPack() && !userFolder.empty() &&
      !WriteFileAtomically(userFolder / "temp.an", AsText(bytes)))
    KwLog("picture %s: cannot copy its frame file to %s", source.Name().c_str(),
          (userFolder / "temp.an").string().c_str());
  if (!ParseFrameFile(AsText(bytes), grid))
    KwLog("frame file %s: not two numbers, read as %d x %d", name.c_str(), grid.Columns, grid.Rows);
  return grid;
}

// Pairs the picture with its mask partner, when it has one and the partner
// is there. A missing partner is no error; a mask of another size is not
// used.
void MergeAlphaPartner(const TPictureSource& source, const std::vector<uint8_t>& own, TBitmap32& picture) {
  const auto partner = AlphaPartnerOf(source.Name());
  if (!partner) return;
  std::vector<uint8_t> bytes;
  if (!source.ReadCompanion(partner->Name, bytes)) return;
  TIndexedPicture mask;
  TBitmap32 colours;
  bool read = false;
  if (partner->RequestedIsMask) {
    // The requested BMP is the mask; the partner JPEG gives the colours.
    if (!DecodePicture(TPictureFormat::Jpeg, bytes.data(), bytes.size(), colours)) return;
    read = ReadAlphaMask(own.data(), own.size(), mask);
  } else {
    colours = picture;
    read = ReadAlphaMask(bytes.data(), bytes.size(), mask);
  }
  if (!read) return;
  if (!MergeAlpha(colours, mask)) {
    KwLog("picture %s: mask %dx%d does not fit %dx%d, not used", source.Name().c_str(), mask.Width,
          mask.Height, colours.Width, colours.Height);
    return;
  }
  picture = std::move(colours);
}

}  // namespace

void TKwImages::Load(TKwIm& entry, const std::string& requested, const std::string& upper, bool silhouette,
                     bool grey) {
  ++ImForLoadPos;
  TTexture& texture = images_->Add();
  entry.Texture = &texture;

  TPictureSource source(GameFolder, Store);
  std::vector<uint8_t> bytes;
  if (!source.Locate(requested, upper, bytes)) {
    images_->Remove(&texture);
    entry.Texture = nullptr;
    entry.Failed = true;
    KwLog("picture %s: found neither as a file nor in the pack", requested.c_str());
    return;
  }
  texture.Name = upper;
  const TFrameGrid grid = ReadFrameGrid(source, UserFolder);

  TBitmap32 picture;
  if (!DecodePicture(PictureFormatOf(source.Name()), bytes.data(), bytes.size(), picture))
    KwLog("picture %s%s: the decoder cannot read it", source.Name().c_str(), source.FromPack() ? " (pack)" : "");
  const TFrameGeometry geometry = FrameGeometryOf(picture.Width, picture.Height, grid);

  MergeAlphaPartner(source, bytes, picture);
  bytes = {};
  if (AsciiUpperCase(PictureExtension(source.Name())) == ".BMP") {
    if (silhouette) MakeSilhouette(picture);
    if (grey) MakeGrey(picture);
  }
  entry.OpaqueRect = OpaqueRectOf(picture);

  // A frame grid finer than the picture leaves frames without pixels; the
  // renderer takes no such texture.
  const bool uploaded = geometry.Usable() && geometry.Count <= int64_t(1) << 28 &&
                        texture.LoadFromBitmap(picture, geometry.FrameWidth, geometry.FrameHeight,
                                               int(geometry.Count), geometry.TextureWidth,
                                               geometry.TextureHeight, int(geometry.Count), false);
  entry.MemSize = int32_t(int64_t(picture.Width) * picture.Height * 4);
  if (uploaded) {
    TotalTextureBytes += uint64_t(entry.MemSize);
  } else {
    images_->Remove(&texture);
    entry.Texture = nullptr;
    entry.Failed = true;
    KwLog("picture %s: no texture from a %dx%d picture cut %d x %d", source.Name().c_str(), picture.Width,
          picture.Height, grid.Columns, grid.Rows);
  }
  entry.LastUse = ProcessTick;

  if (MaxMem > 25'000'000 && double(TotalTextureBytes) / double(MaxMem) > 1.1) EnforceBudget();
  if (OnLoadProgress) OnLoadProgress();
}

}  // namespace kw
