// The game database root: the top of the element tree and the one element
// that stands for the game as a whole. It reads the game file, opens the
// resource pack and holds the game-wide settings the author gave it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media/glyph_font.h"
#include "scene/element.h"
#include "scene/kw_db_record_file.h"

namespace kw {

class TDevice;
class TKwIm;
class TKwStore;
class TTexture;
class TMemIniFile;
class TIniFile;

// One sprite of the star pool: scripts scatter these over the screen; each
// moves by its steps every process tick and is drawn after its layer.
struct TStar {
  int32_t Pattern = 0;  // pattern of the particle picture
  int32_t Layer = 0;    // drawn after this layer's pass
  int32_t DrawFx = 0;   // stored only: stars are always drawn in mode 260
  bool Active = false;
  uint32_t Colour = 0;  // 24-bit tint
  double Angle = 0;     // degrees
  double X = 0, Y = 0;  // frame pixels, the centre
  double Scale = 0;
  double AngleStep = 0, ScaleStep = 0, XStep = 0, YStep = 0;
};

class TKwDB : public TKwElement {
 public:
  TKwDB();
  ~TKwDB() override;
  TKwClass ClassId() const override { return TKwClass::DB; }

  // The game file name, as start-up found it (relative to the current
  // folder, which is the game's folder).
  void SetGameFileName(std::string name) { gameFileName_ = std::move(name); }
  const std::string& GameFileName() const { return gameFileName_; }

  // Reads the game: a missing game file leaves the root empty; otherwise
  // the resource pack named after the game file is opened, the whole game
  // file is read into the tree and, when "unicode\unicode.fnt" exists, the
  // Unicode glyph font is loaded and Unicode mode set.
  void LoadGame();
  // The resource pack's file name for a game file: its file part without
  // its last four characters, plus ".kst" (demo.kwf gives demo.kst).
  static std::string PackNameFor(std::string_view gameFileName);

  // The resource pack; none before LoadGame.
  TKwStore* Store() const { return store_.get(); }
  // True while the game file is being read.
  bool LoadingFile() const { return loadingFile_; }

  // Runs exProcess under "Process". Unlike the base it leaves the children
  // alone: the frame loop processes the current screen itself.
  void Process() override;
  // Clears Initialised on the whole tree, then initialises it again from
  // the root (screens with AutoInit off excepted).
  void InitPr() override;

  void RunExit() { RunScript("Exit", exExit); }
  // Runs exLoadImProcess (event "LIProcess"), then draws and presents one
  // frame at once, so a progress display updates while pictures load.
  void RunLoadImProcess();
  // For every direct child that is exactly a screen: Needed := AllwaysLoad,
  // and when set its pictures are acquired.
  void PreloadScreens();

  // --- Typing (kw_db_typing.cpp).
  // KeyDowned := key, then exKeyDown runs under "key_Down".
  void KeyDown(int32_t key);
  // A typed character: it edits the Text of the text element that takes
  // typing (Shell().EntryText), or else feeds the cheat detector.
  void TypeChar(uint32_t code);
  // The last characters typed outside text entry, at most kCheatBufferSize.
  const std::string& CheatBuffer() const { return cheatBuffer_; }
  static constexpr size_t kCheatBufferSize = 10;

  // --- The star pool (kw_db_stars.cpp).
  static constexpr size_t kStarCount = 5001;
  // Activates the first inactive star with these values; nothing when all
  // are active. An empty colour text gives a random colour; otherwise it is
  // read as a whole number (decimal or "$" hexadecimal), and a text that is
  // not one leaves the slot's colour as it was.
  void AddStar(int32_t pattern, std::string_view colourText, double angle, double x, double y, double scale,
               double angleStep, double scaleStep, double xStep, double yStep, int32_t layer, int32_t drawFx);
  // One process tick: every active star moves by its steps; a star whose
  // scale is no longer above 0 goes out.
  void UpdateStars();
  // Draws the active stars of one layer from the particle picture.
  void RenderStars(int32_t layer);
  // Every star goes out (a screen switch empties the pool).
  void ClearStars();
  const std::vector<TStar>& Stars() const { return stars_; }

  // --- Property setters with effects. The game file and scripts reach them
  // through the property table, so every value passes here.
  // The record file: the user folder is fixed from Id, the old file closed,
  // and user folder + value opened for reading and writing (created when
  // missing, never truncated). Empty: no record file.
  void SetFileRS(std::string value);
  // The settings file, when the name changes: user folder + value; volumes,
  // display mode and cursor are read from section "Def" and applied.
  void SetIniFile(std::string value);
  // The language file, when the name changes; a missing file falls back to
  // "eng.lng", "rus.lng", "deu.lng" (the first that exists).
  void SetLang(std::string value);
  void SetDefLang(std::string value);
  // The sound list, when the name changes.
  void SetSoundFile(std::string value);
  // The fonts archive, when the name changes: its fonts replace those of
  // the device's font list. Nothing is loaded without a device.
  void SetFileFonts(std::string value);

  // The user folder as FileRS last fixed it (fixed from Id on first use
  // otherwise); empty means the current folder, the game's.
  const std::filesystem::path& UserFolder();
  // The record file of saved progress; none when FileRS names none or it
  // could neither be opened nor created.
  TRecordFile* RecordFile() const { return recordFile_.get(); }
  // Runs exSetScreen (event "SetScreen"): the variables it creates join the
  // root's Vars, while those the root already has keep their values.
  void RunSetScreen() { RunScript("SetScreen", exSetScreen, &Vars); }

  // After the base: VOLMUZ, VOLSND, FULLSCREEN, SYSCURSOR, CHEAT, UNICODE
  // for reading; the first four for writing.
  bool GetValue(const std::string& name, TValue& value) override;
  bool SetValue(const std::string& name, const TValue& value) override;

  // The text of a language key: "Section.Key", or a key of the section
  // "Default". Empty when the key is absent or no language file is open.
  // In Unicode mode the Unicode texts answer first; otherwise the language
  // file is read as Unicode text and the result is escaped text.
  std::string LookupText(std::string_view id) const;
  // The longest value a Unicode lookup of the language file gives.
  static constexpr size_t kMaxWideText = 2000;
  // A sound-list key ("Section.Key" or a key of "Default") as a file name
  // and a volume percent. Callers start from "" and 0: an empty section or
  // key gives those; without a sound list both stay as given; a value
  // "80:click.mp3" gives click.mp3 at 80, one without ":" the whole value at
  // 100; a volume part that is no number leaves the volume as given.
  void ResolveSoundName(std::string_view id, std::string& fileName, int32_t& volume) const;

  int32_t CurKey = 0;
  int32_t InitScreen = 0;
  std::string FileRS;
  std::string FileFonts;
  uint8_t hxTransLev = 0;
  std::string DefLang;
  std::string Lang;
  int32_t LoadingScreen = 0;
  TEventScript exLoadImProcess;
  std::string IniFile;
  std::string SoundFile;
  TEventScript exKeyDown;
  TEventScript exExit;
  int32_t MaxMem = 0;
  TEventScript exCheat;
  std::string Cheats;
  TBool8 SaveErr = 0;
  TEventScript exSetScreen;
  TBool8 AlwaysLoadIm = 0;
  int32_t Version = 0;

  // Process-wide volumes kept with the root, read by sound and music.
  int32_t SoundVolume = 100;
  int32_t MusicVolume = 50;
  // The cheat code matched last (scripts read CHEAT).
  std::string CheatValue;
  // The game has a Unicode glyph font: strings may hold escaped characters.
  bool UnicodeMode = false;
  // The language file in use, read into memory; none until one is opened.
  std::unique_ptr<TMemIniFile> LanguageTexts;
  // The default-language file, read into memory; no texts are read from it.
  std::unique_ptr<TMemIniFile> DefaultLanguageTexts;
  // The sound list named by SoundFile, read into memory.
  std::unique_ptr<TMemIniFile> SoundList;
  // "unicode\unicode.lng", read into memory in Unicode mode.
  std::unique_ptr<TMemIniFile> UnicodeTexts;
  // The player's settings file; none until one is opened.
  std::unique_ptr<TIniFile> Settings;
  // The rendering device the game draws with (canvas, image list, bitmap
  // fonts); none in tools and tests that draw nothing. Set before LoadGame.
  TDevice* Device = nullptr;
  // The Unicode glyph font, read when the game file has been read (Unicode
  // mode only), and its picture's texture, fetched anew for every draw;
  // none while the picture is not loaded.
  TGlyphFont Glyphs;
  const TTexture* GlyphPicture() const;

 private:
  // The script layer reaches the game through this root (kw_db_scripts.cpp):
  // the KWDB path segment, element handles, language keys, SaveErr and the
  // Unicode mode. The latest root created is the one connected.
  void ConnectScripts();
  void DisconnectScripts();

  // The picture resources load from this game: the device's image list,
  // the pack, the budget and the loading progress (and back at the end).
  void ConnectPictures();
  void DisconnectPictures();
  // LoadGame's last step: the Unicode glyph font, when the game has one.
  void LoadUnicodeFont();
  // Reads the settings from section "Def" and applies them (kw_db_settings.cpp).
  void ApplySettings();
  // Runs exCheat for every suffix of the cheat buffer that is a cheat code.
  void DetectCheats();
  // Edits the text element that takes typing.
  void EditEntryText(uint32_t code);
  // The texture stars are drawn from (the particle picture); none while it
  // is not loaded.
  const TTexture* ParticlePicture() const;

  std::string gameFileName_;
  std::unique_ptr<TKwStore> store_;
  TKwIm* particlesEntry_ = nullptr;  // "particles.bmp", locked
  TKwIm* glyphEntry_ = nullptr;      // "unicode\unicode.png", locked
  bool loadingFile_ = false;
  std::filesystem::path userFolder_;
  bool userFolderFixed_ = false;
  std::unique_ptr<TRecordFile> recordFile_;
  std::string cheatBuffer_;
  std::vector<TStar> stars_ = std::vector<TStar>(kStarCount);  // on the heap: 5001 slots
};

}  // namespace kw
