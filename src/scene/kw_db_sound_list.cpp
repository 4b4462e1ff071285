// The root's sound list (SoundFile): logical sound names of the form
// "Section.Key" mapped to a file name and a volume.
#include "platform/ini.h"
#include "platform/log.h"
#include "scene/kw_db.h"
#include "scene/kw_db_names.h"
#include "scriptlib/text_rules.h"

namespace kw {

void TKwDB::SetSoundFile(std::string value) {
  if (value == SoundFile) return;
  SoundFile = std::move(value);
  SoundList.reset();
  if (auto file = ExistingGameFile(SoundFile)) SoundList = std::make_unique<TMemIniFile>(*file);
  else if (!SoundFile.empty()) KwLog("sound list \"%s\" not found: sounds named by it stay silent", SoundFile.c_str());
}

void TKwDB::ResolveSoundName(std::string_view id, std::string& fileName, int32_t& volume) const {
  const TTextKey k = SplitTextKey(id);
  if (!k.Valid()) {
    fileName.clear();
    volume = 0;
    return;
  }
  if (!SoundList) return;
  const std::string value = SoundList->ReadString(k.Section, k.Key, "");
  const size_t colon = value.find(':');
  if (colon == std::string::npos) {
    fileName = value;
    volume = 100;
    return;
  }
  int32_t v = 0;
  if (ParseInteger(std::string_view(value).substr(0, colon), v)) volume = v;
  fileName = value.substr(colon + 1);
}

}  // namespace kw
