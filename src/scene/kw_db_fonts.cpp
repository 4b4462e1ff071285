// The root's fonts archive (FileFonts): its bitmap fonts fill the device's
// font list, each under its record name.
#include "media/fonts_archive.h"
#include "platform/device.h"
#include "platform/log.h"
#include "scene/kw_db.h"

namespace kw {

void TKwDB::SetFileFonts(std::string value) {
  if (value == FileFonts) return;
  FileFonts = std::move(value);
  if (!Device) return;
  TFontList& fonts = Device->Fonts();
  fonts.Clear();
  for (TBitmapFont& font : ReadFontsArchive(FileFonts)) fonts.Add(std::move(font));
  KwLog("fonts archive \"%s\": %d fonts", FileFonts.c_str(), fonts.Count());
  // Elements that hold a font of the old list acquire theirs anew.
  if (!loadingFile_) ClearLoaded();
}

}  // namespace kw
