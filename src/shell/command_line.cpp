#include "shell/command_line.h"

#include <charconv>

#include "platform/codepage.h"

namespace kw {

namespace {

bool ParseNumber(const std::string& text, uint64_t& out) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, TOptions& options, std::string& error) {
  options = TOptions{};
  size_t i = 0;
  // Only the first argument can be the test-mode switch, as in the original.
  if (!args.empty() && AsciiUpperCase(args[0]) == "/TESTMODE") {
    options.TestMode = true;
    i = 1;
  }
  for (; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool hasValue = false;
    if (arg.rfind("--", 0) == 0) {
      const size_t eq = arg.find('=');
      if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
        arg.resize(eq);
        hasValue = true;
      }
    }
    auto needValue = [&](const char* what) {
      if (hasValue) return true;
      if (i + 1 >= args.size()) {
        error = arg + " needs " + what;
        return false;
      }
      value = args[++i];
      return true;
    };
    auto noValue = [&] {
      if (hasValue) error = arg + " takes no value";
      return !hasValue;
    };

    if (arg == "--headless") {
      if (!noValue()) return false;
      options.Headless = true;
    } else if (arg == "--version") {
      if (!noValue()) return false;
      options.Version = true;
    } else if (arg == "--help" || arg == "-h") {
      if (!noValue()) return false;
      options.Help = true;
    } else if (arg == "--verbose") {
      if (!noValue()) return false;
      options.Verbose = true;
    } else if (arg == "--tell") {
      if (!noValue()) return false;
      options.Tell = true;
    } else if (arg == "--frames") {
      uint64_t n = 0;
      if (!needValue("a number of frames")) return false;
      if (!ParseNumber(value, n) || n > uint64_t(INT64_MAX)) {
        error = "--frames needs a whole number, not \"" + value + "\"";
        return false;
      }
      options.Frames = int64_t(n);
    } else if (arg == "--seed") {
      uint64_t n = 0;
      if (!needValue("a number")) return false;
      if (!ParseNumber(value, n)) {
        error = "--seed needs a whole number, not \"" + value + "\"";
        return false;
      }
      options.Seed = n;
    } else if (arg == "--audio-out") {
      if (!needValue("a WAV file name")) return false;
      options.AudioOut = value;
    } else if (arg == "--screenshot") {
      if (!needValue("a PNG file name")) return false;
      options.Screenshot = value;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg + " (see --help)";
      return false;
    } else if (AsciiUpperCase(arg) == "/TESTMODE") {
      // Not first: it does not count, as in the original player.
    } else if (options.Game.empty()) {
      options.Game = arg;
    } else {
      error = "more than one game given: \"" + options.Game + "\" and \"" + arg + "\"";
      return false;
    }
  }
  return true;
}

std::string HelpText() {
  return "usage: kwplay [/TESTMODE] [GAME] [options]\n"
         "\n"
         "Plays a game made with the DeVoduz game-maker. GAME is a .kwf game file or a\n"
         "folder holding one; without it the game is looked for beside the program\n"
         "(its name with .kwf, then the first *.kwf) and then in DeVoduz.ini [Main] Path.\n"
         "/TESTMODE (first argument) keeps the window from going full screen.\n"
         "\n"
         "  --headless         no window and no audio device; a virtual clock\n"
         "  --frames N         stop after N frames\n"
         "  --screenshot FILE  write the last frame to FILE (PNG)\n"
         "  --audio-out FILE   record all the sound the game makes to FILE (WAV)\n"
         "  --seed N           seed the random numbers so that a run repeats\n"
         "  --tell             print the game file, pack, user folder, settings file\n"
         "                     and error log in use, then exit\n"
         "  --verbose          log what the player does to stderr\n"
         "  --version          print the version and exit\n"
         "  --help             print this text and exit\n";
}

}  // namespace kw
