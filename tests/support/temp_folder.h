// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <optional>
#include <string_view>

namespace kw::test {

class TTempFolder {
 public:
  TTempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kwtest-XXXXXX").string();
    char* made = ::mkdtemp(tmpl.data());
    path_ = made ? std::filesystem::path(made) : std::filesystem::path();
  }
  ~TTempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }

  // Writes a file (raw bytes for its name, below the folder), making folders.
  std::filesystem::path Write(std::string_view relative, std::string_view bytes) const {
    std::filesystem::path p = path_ / std::string(relative);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return p;
  }
  static std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

// Sets the current folder for a scope and puts the old one back.
class TCurrentFolder {
 public:
  explicit TCurrentFolder(const std::filesystem::path& p) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(p);
  }
  ~TCurrentFolder() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
  }

 private:
  std::filesystem::path old_;
};

// The user's data folder (XDG_DATA_HOME) moved into a fresh temporary
// folder for a scope, so that user folders, settings and record files a
// test makes are its own; the old setting comes back afterwards.
class TDataHome {
 public:
  TDataHome() {
    if (const char* old = std::getenv("XDG_DATA_HOME")) old_ = old;
    ::setenv("XDG_DATA_HOME", home_.Path().c_str(), 1);
  }
  ~TDataHome() {
    if (old_) ::setenv("XDG_DATA_HOME", old_->c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
  }
  TDataHome(const TDataHome&) = delete;
  TDataHome& operator=(const TDataHome&) = delete;

  const std::filesystem::path& Path() const { return home_.Path(); }
  std::filesystem::path Write(std::string_view relative, std::string_view bytes) const {
    return home_.Write(relative, bytes);
  }

 private:
  TTempFolder home_;
  std::optional<std::string> old_;
};

}  // namespace kw::test
