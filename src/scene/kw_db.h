// The game database root: the top of the element tree and the one element
// that stands for the game as a whole. It reads the game file, opens the
// resource pack and holds the game-wide settings the author gave it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "scene/element.h"

namespace kw {

class TKwStore;

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

 private:
  std::string gameFileName_;
  std::unique_ptr<TKwStore> store_;
  bool loadingFile_ = false;
};

}  // namespace kw
