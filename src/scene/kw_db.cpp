#include "scene/kw_db.h"

#include <system_error>

#include "media/kw_im.h"
#include "media/kw_store.h"
#include "platform/device.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/log.h"
#include "platform/system_text.h"
#include "scene/class_registry.h"
#include "scene/kw_db_names.h"
#include "scene/kw_screen.h"
#include "scene/prop_fields.h"
#include "scene/shell_state.h"

namespace kw {

TKwDB::TKwDB() : TKwElement(nullptr) {
  MakeRoot();
  ConnectScripts();
}

TKwDB::~TKwDB() {
  DisconnectScripts();
  DisconnectPictures();
}

namespace {

// Process-wide: the root whose game the picture resources load from (the
// last one that connected them). A root that is not it has nothing of its
// own there to take back when it goes.
const TKwDB* picturesRoot = nullptr;

}  // namespace

void TKwDB::ConnectPictures() {
  picturesRoot = this;
  TKwImages& images = KwImages();
  if (Device) images.ConnectImages(Device->Images());
  images.Store = store_.get();
  images.MaxMem = MaxMem;
  images.AlwaysLoadIm = AlwaysLoadIm != 0;
  // A picture loaded while a screen switch loads shows the progress.
  images.OnLoadProgress = [this] {
    if (Shell().Loading) RunLoadImProcess();
  };
}

void TKwDB::DisconnectPictures() {
  if (picturesRoot != this) return;
  picturesRoot = nullptr;
  TKwImages& images = KwImages();
  images.OnLoadProgress = nullptr;
  images.Store = nullptr;
  // The textures live in the device's image list: hand them back while the
  // device still exists.
  if (Device) images.DisconnectImages();
}

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
  ConnectPictures();
  // The particle picture is the first picture of the run; stars (and the
  // particle systems) draw from it.
  if (Device && !particlesEntry_) particlesEntry_ = &KwImages().RequestImage("particles.bmp", true);

  std::string bytes;
  if (ReadWholeFile(file, bytes)) {
    LoadFromData(bytes);
  } else {
    KwLog("game file \"%s\" cannot be read", gameFileName_.c_str());
  }
  loadingFile_ = false;
  LoadUnicodeFont();
}

void TKwDB::LoadUnicodeFont() {
  std::optional<fs::path> table = ExistingGameFile("unicode\\unicode.fnt");
  if (!table) return;
  if (std::optional<fs::path> face = ExistingGameFile("unicode\\unicode.ttf")) {
    if (!RegisterFontFile(*face)) KwLog("%s holds no font face", face->string().c_str());
  }
  if (std::optional<fs::path> texts = ExistingGameFile("unicode\\unicode.lng"))
    UnicodeTexts = std::make_unique<TMemIniFile>(*texts);
  else
    UnicodeTexts = std::make_unique<TMemIniFile>();
  UnicodeMode = true;
  glyphEntry_ = &KwImages().RequestImage("unicode\\unicode.png", true);
  std::string text, error;
  if (!ReadWholeFile(*table, text)) {
    KwLog("%s cannot be read: no glyphs", table->string().c_str());
  } else if (!Glyphs.ReadTable(text, &error)) {
    KwLog("%s: %s", table->string().c_str(), error.c_str());
  }
}

void TKwDB::Process() { RunScript("Process", Script(esProcess)); }

void TKwDB::InitPr() {
  struct TClear {
    static void Tree(TKwElement& e) {
      e.Initialised = false;
      for (const auto& child : e.Children()) Tree(*child);
    }
  };
  TClear::Tree(*this);
  Init();
}

void TKwDB::RunLoadImProcess() {
  RunScript("LIProcess", exLoadImProcess);
  // One frame at once, drawn and presented as the frame loop does it.
  if (Device) {
    Device->Render(0x00000000, true);
    Device->Present();
  }
}

void TKwDB::PreloadScreens() {
  for (const auto& child : Children()) {
    if (!IsClass(child.get(), TKwClass::Screen)) continue;
    auto& screen = static_cast<TKwScreen&>(*child);
    screen.Needed = screen.AllwaysLoad != 0;
    if (screen.Needed) screen.LoadResources();
  }
}

namespace {

TKwDB& Db(TKwElement& e) { return static_cast<TKwDB&>(e); }

// A string property whose setter has effects: the value goes to
// TKwDB::*Setter, which stores it.
template <void (TKwDB::*Setter)(std::string)>
void SetWithEffect(TKwElement& e, const TPropValue& v) { (Db(e).*Setter)(PropString(v)); }

// The picture budget and reload-on-draw go to the picture resources too.
void SetMaxMem(TKwElement& e, const TPropValue& v) {
  Db(e).MaxMem = int32_t(PropInt(v));
  KwImages().MaxMem = Db(e).MaxMem;
}
void SetAlwaysLoadIm(TKwElement& e, const TPropValue& v) {
  Db(e).AlwaysLoadIm = TBool8(PropInt(v));
  KwImages().AlwaysLoadIm = Db(e).AlwaysLoadIm != 0;
}

#define KW_DB_SETTER(Name, member, setter) \
  {Name, TPropType::String, props::GetField<TKwDB, &TKwDB::member>, SetWithEffect<&TKwDB::setter>}

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
    KW_DB_SETTER("FileRS", FileRS, SetFileRS),
    KW_DB_SETTER("FileFonts", FileFonts, SetFileFonts),
    KW_FIELD(TKwDB, "hxTransLev", Byte, hxTransLev),
    KW_DB_SETTER("DefLang", DefLang, SetDefLang),
    KW_DB_SETTER("Lang", Lang, SetLang),
    KW_FIELD(TKwDB, "LoadingScreen", Int, LoadingScreen),
    KW_FIELD(TKwDB, "NotSave", Bool, NotSave),
    KW_SCRIPT(TKwDB, "exLoadImProcess", exLoadImProcess),
    KW_DB_SETTER("IniFile", IniFile, SetIniFile),
    KW_DB_SETTER("SoundFile", SoundFile, SetSoundFile),
    KW_SCRIPT(TKwDB, "exKeyDown", exKeyDown),
    KW_SCRIPT(TKwDB, "exExit", exExit),
    KW_BASE_SCRIPT("exMouseMove", esMouseMove),
    {"MaxMem", TPropType::Int, props::GetField<TKwDB, &TKwDB::MaxMem>, SetMaxMem},
    KW_SCRIPT(TKwDB, "exCheat", exCheat),
    KW_FIELD(TKwDB, "Cheats", String, Cheats),
    KW_FIELD(TKwDB, "SaveErr", Bool, SaveErr),
    KW_SCRIPT(TKwDB, "exSetScreen", exSetScreen),
    {"AlwaysLoadIm", TPropType::Bool, props::GetField<TKwDB, &TKwDB::AlwaysLoadIm>, SetAlwaysLoadIm},
    KW_FIELD(TKwDB, "Version", Int, Version),
    KW_BASE_SCRIPT("exMouseIn", esMouseIn),
    KW_BASE_SCRIPT("exMouseOut", esMouseOut),
    KW_FIELD(TKwDB, "Tag", String, Tag),
};
static_assert(std::size(kDBProps) == 37);

#undef KW_DB_SETTER

}  // namespace

TPropTable DBProperties() { return kDBProps; }

const TTexture* TKwDB::GlyphPicture() const { return glyphEntry_ ? KwImages().TextureOf(*glyphEntry_) : nullptr; }

}  // namespace kw
