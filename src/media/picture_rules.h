// The naming rules around a picture file: which decoder its extension
// picks, where its frame file is and what that file says, how the frames
// become texture patterns, and which file supplies its alpha mask.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kw {

enum class TPictureFormat { Bmp, Jpeg, Png, Tga };

// The extension of a picture name: from the last "." of its file part on
// ("" when there is none).
std::string PictureExtension(std::string_view name);

// ".tga" TGA, ".jpg" and ".jpeg" JPEG, ".png" PNG, in any case; anything
// else is read as a BMP.
TPictureFormat PictureFormatOf(std::string_view name);

// The frame file of a picture: its name with the last four characters
// replaced by ".an" (Hero.bmp gives Hero.an). A name of four characters or
// fewer gives ".an".
std::string FrameFileName(std::string_view pictureName);

// How a picture is cut into frames: columns and rows, each at least 1.
struct TFrameGrid {
  int Columns = 1;
  int Rows = 1;
};

// Reads a frame file's text: the number of columns, then the number of
// rows, each read as a decimal (or "$" hexadecimal) integer from the start
// of its line, blank lines before it skipped, the rest of the line ignored.
// A value that is missing, not a number, 0 or negative means 1. False when
// the text did not hold two readable numbers (for the log); the grid is
// usable either way.
bool ParseFrameFile(std::string_view text, TFrameGrid& grid);

// The texture layout of a W × H picture cut by a grid: each frame is
// (W div columns) × (H div rows) and is both the pattern and the visible
// size; the texture is the frame plus a one-texel border on every side,
// rounded up to even; there are columns × rows patterns and textures.
struct TFrameGeometry {
  int FrameWidth = 0;
  int FrameHeight = 0;
  int TextureWidth = 0;
  int TextureHeight = 0;
  int64_t Count = 0;

  // Every frame holds at least one pixel.
  bool Usable() const { return FrameWidth > 0 && FrameHeight > 0 && Count > 0; }
};
TFrameGeometry FrameGeometryOf(int width, int height, TFrameGrid grid);

// The file that pairs with a picture for an alpha merge, in the picture's
// own folder:
//   P_x.bmp (a BMP whose file name holds "_")  -> P.jpg, P up to the first "_"
//   S.bmp (any other BMP)                      -> S_.jpg
//   P_x.jpg (a ".jpg" whose file name holds "_") -> P.bmp
// The JPEG always gives the colours and the BMP the alpha. None for other
// pictures: a ".jpg" without "_", ".jpeg", PNG and TGA never look for a mask.
struct TAlphaPartner {
  std::string Name;             // folder of the picture + partner file name
  bool RequestedIsMask = false;  // the requested picture is the BMP mask
};
std::optional<TAlphaPartner> AlphaPartnerOf(std::string_view pictureName);

}  // namespace kw
