// The game database root: the top of the element tree and the one element
// that stands for the game as a whole. It reads the game file, opens the
// resource pack and holds the game-wide settings the author gave it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "media/glyph_font.h"
#include "scene/element.h"

namespace kw {

class TDevice;
class TKwStore;
class TTexture;
class TMemIniFile;
class TIniFile;

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
  // the resource pack named after the game file is opened and the whole
  // game file is read into the tree.
  void LoadGame();
  // The resource pack's file name for a game file: its file part without
  // its last four characters, plus ".kst" (demo.kwf gives demo.kst).
  static std::string PackNameFor(std::string_view gameFileName);

  // The resource pack; none before LoadGame.
  TKwStore* Store() const { return store_.get(); }
  // True while the game file is being read.
  bool LoadingFile() const { return loadingFile_; }

  void RunExit() { RunScript("Exit", exExit); }
  // Runs exSetScreen (event "SetScreen"): the variables it creates join the
  // root's Vars, while those the root already has keep their values.
  void RunSetScreen() { RunScript("SetScreen", exSetScreen, &Vars); }

  // After the base: VOLMUZ, VOLSND, FULLSCREEN, SYSCURSOR, CHEAT, UNICODE
  // for reading; the first four for writing.
  bool GetValue(const std::string& name, TValue& value) override;
  bool SetValue(const std::string& name, const TValue& value) override;

  // The text of a language key: "Section.Key", or a key of the section
  // "Default". Empty when the key is absent or no language file is open.
  std::string LookupText(std::string_view id) const;

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

  std::string gameFileName_;
  std::unique_ptr<TKwStore> store_;
  bool loadingFile_ = false;
};

}  // namespace kw
