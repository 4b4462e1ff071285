#include "scene/kw_db.h"

#include <system_error>

#include "media/kw_store.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/log.h"
#include "scene/class_registry.h"
#include "scene/prop_fields.h"

namespace kw {

TKwDB::TKwDB() : TKwElement(nullptr) {
  MakeRoot();
  ConnectScripts();
}

TKwDB::~TKwDB() { DisconnectScripts(); }

std::string TKwDB::PackNameFor(std::string_view gameFileName) {
  std::string name = ExtractFileName(gameFileName);
  name.resize(name.size() >= 4 ? name.size() - 4 : 0);
  return name + ".kst";
}

void TKwDB::LoadGame() {
  std::error_code ec;
  const fs::path file(gameFileName_);
  if (gameFileName_.empty() || !fs::is_regular_file(file, ec)) {
    KwLog("game file \"%s\" not found: the game is empty", gameFileName_.c_str());
    return;
  }
  loadingFile_ = true;

  store_ = std::make_unique<TKwStore>();
  store_->Open(PackNameFor(gameFileName_));
  try {
    store_->ReadDirectory();
  } catch (const EKwStoreError& error) {
    KwLog("resource pack \"%s\": %s", store_->FileName().c_str(), error.what());
  }

  std::string bytes;
  if (ReadWholeFile(file, bytes)) {
    LoadFromData(bytes);
  } else {
    KwLog("game file \"%s\" cannot be read", gameFileName_.c_str());
  }
  loadingFile_ = false;
}

namespace {

const TPropInfo kDBProps[] = {
    KW_BASE_PROPS,
    KW_FIELD(TKwDB, "CurKey", Int, CurKey),
    KW_FIELD(TKwDB, "InitScreen", Int, InitScreen),
    KW_BASE_SCRIPT("exVarRS", esVarRS),
    KW_BASE_SCRIPT("exInit", esInit),
    KW_BASE_SCRIPT("exAfterLoad", esAfterLoad),
    KW_BASE_SCRIPT("exMouseDown", esMouseDown),
    KW_BASE_SCRIPT("exMouseUp", esMouseUp),
    KW_BASE_SCRIPT("exUpdate", esUpdate),
    KW_BASE_SCRIPT("exProcess", esProcess),
    KW_FIELD(TKwDB, "FileRS", String, FileRS),
    KW_FIELD(TKwDB, "FileFonts", String, FileFonts),
    KW_FIELD(TKwDB, "hxTransLev", Byte, hxTransLev),
    KW_FIELD(TKwDB, "DefLang", String, DefLang),
    KW_FIELD(TKwDB, "Lang", String, Lang),
    KW_FIELD(TKwDB, "LoadingScreen", Int, LoadingScreen),
    KW_FIELD(TKwDB, "NotSave", Bool, NotSave),
    KW_SCRIPT(TKwDB, "exLoadImProcess", exLoadImProcess),
    KW_FIELD(TKwDB, "IniFile", String, IniFile),
    KW_FIELD(TKwDB, "SoundFile", String, SoundFile),
    KW_SCRIPT(TKwDB, "exKeyDown", exKeyDown),
    KW_SCRIPT(TKwDB, "exExit", exExit),
    KW_BASE_SCRIPT("exMouseMove", esMouseMove),
    KW_FIELD(TKwDB, "MaxMem", Int, MaxMem),
    KW_SCRIPT(TKwDB, "exCheat", exCheat),
    KW_FIELD(TKwDB, "Cheats", String, Cheats),
    KW_FIELD(TKwDB, "SaveErr", Bool, SaveErr),
    KW_SCRIPT(TKwDB, "exSetScreen", exSetScreen),
    KW_FIELD(TKwDB, "AlwaysLoadIm", Bool, AlwaysLoadIm),
    KW_FIELD(TKwDB, "Version", Int, Version),
    KW_BASE_SCRIPT("exMouseIn", esMouseIn),
    KW_BASE_SCRIPT("exMouseOut", esMouseOut),
    KW_FIELD(TKwDB, "Tag", String, Tag),
};
static_assert(std::size(kDBProps) == 37);

}  // namespace

TPropTable DBProperties() { return kDBProps; }

// Until pictures can be requested by name the glyph picture is never loaded.
const TTexture* TKwDB::GlyphPicture() const { return nullptr; }

}  // namespace kw
