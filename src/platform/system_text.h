// The operating system's text drawing, for Unicode games: TrueType faces
// registered for the run (the game's "unicode\unicode.ttf") drawn with
// FreeType, white on black, into a bitmap the size of the text's measured
// extent. The text element turns such a bitmap into a keyed texture.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/bitmap32.h"

namespace kw {

// Registers the faces of a TrueType file until the program ends, under
// their family names. False when the file holds no face FreeType can read.
bool RegisterFontFile(const std::filesystem::path& file);

// Draws a line of 16-bit characters in the face named `face` (compared
// without regard to ASCII case among the registered families) at a pixel
// size of `size`: white coverage on opaque black, in a bitmap whose size is
// the text's measured extent (advance width by the face's line height).
// A face that is not registered falls back to the first registered face,
// then to a system face; false (and an empty bitmap) when there is none or
// the text is empty.
bool DrawSystemText(std::string_view face, std::u16string_view text, int size, TBitmap32& out);

// Forgets every registered face (tests).
void ForgetRegisteredFonts();

// The file of the system face that serves when no face is registered
// (DejaVu Sans, where the build found it or where distributions keep it);
// empty when there is none.
std::filesystem::path SystemFontFile();

}  // namespace kw
