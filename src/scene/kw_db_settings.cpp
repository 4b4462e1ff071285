// The root's per-user files: the user folder, the record file (FileRS) and
// the player's settings (IniFile) with the volumes, display mode and cursor
// they hold.
#include <system_error>

#include "media/sound.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/log.h"
#include "platform/user_folder.h"
#include "scene/kw_db.h"
#include "scene/shell_state.h"
#include "scriptlib/text_rules.h"

namespace kw {

namespace {

// A file named by the game below the user folder (the current folder when
// there is none). Names that would leave it ("..", absolute paths) are
// refused. The file's folder is made when missing.
std::optional<fs::path> UserFile(const std::string& name, const fs::path& folder) {
  std::optional<fs::path> file = ResolveGamePathForWrite(name, folder);
  if (!file) {
    KwLog("\"%s\" does not name a file inside the user folder", name.c_str());
    return std::nullopt;
  }
  std::error_code ec;
  if (file->has_parent_path() && fs::create_directories(file->parent_path(), ec)) ForgetAllFolderListings();
  return file;
}

}  // namespace

const fs::path& TKwDB::UserFolder() {
  if (!userFolderFixed_) {
    userFolder_ = UserDataFolder(Id);
    userFolderFixed_ = true;
  }
  return userFolder_;
}

void TKwDB::SetFileRS(std::string value) {
  FileRS = std::move(value);
  recordFile_.reset();
  // The user folder follows the game's Id, which the game file sets first.
  // It is made only when a file is to live in it.
  userFolderFixed_ = false;
  if (FileRS.empty()) return;
  if (std::optional<fs::path> file = UserFile(FileRS, UserFolder())) recordFile_ = TRecordFile::Open(*file);
}

void TKwDB::SetIniFile(std::string value) {
  if (value == IniFile) return;
  IniFile = std::move(value);
  Settings.reset();
  // An empty name leaves the game without a settings file: nothing to read.
  if (IniFile.empty()) return;
  std::optional<fs::path> file = UserFile(IniFile, UserFolder());
  if (!file) return;
  Settings = std::make_unique<TIniFile>(*file);
  ApplySettings();
}

void TKwDB::ApplySettings() {
  TShellState& shell = Shell();
  // Each value must be a whole number; the first that is not ends the
  // reading, and what was applied before it stays.
  auto read = [this](const char* key, const char* fallback, int32_t& out) {
    const std::string text = Settings->ReadString("Def", key, fallback);
    if (ParseInteger(text, out)) return true;
    KwLog("%s: \"%s\" of [Def] is not a whole number (\"%s\"); the remaining settings are not read",
          Settings->FileName().string().c_str(), key, text.c_str());
    return false;
  };
  int32_t v = 0;
  if (!read("Snd", "100", v)) return;
  SoundVolume = v;
  if (shell.Sound) shell.Sound->SetSoundVolume(v);
  if (!read("Muz", "50", v)) return;
  MusicVolume = v;
  if (shell.Sound) shell.Sound->SetMusicVolume(v);
  if (!read("FS", "1", v)) return;
  shell.FullScreen = v != 0;
  if (!read("SysCursor", "0", v)) return;
  shell.SysCursor = v != 0;
  if (shell.ShowSystemCursor) shell.ShowSystemCursor(shell.SysCursor);

  if (shell.ForceFullScreen) shell.FullScreen = true;
  if (shell.TestMode) shell.FullScreen = false;
  if (shell.ApplyDisplayMode) shell.ApplyDisplayMode(shell.FullScreen);
}

}  // namespace kw
